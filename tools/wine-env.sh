# Sourced by the run and test scripts: the Wine environment both programs are
# run and tested in. Prefixes of the project's own (never ~/.wine), one set
# for each architecture; a Chinese system locale (ANSI code page 936) and an
# ALSA null sink that gives wave-out one device without a sound card
# (tools/run.sh trades it for the machine's own output where there is one).
#
# The architecture is 64-bit Wine (the build in build/) unless
# QUOBLY_WINE_ARCH=win32 says 32-bit (build-i686/); wine_select_arch_of
# takes it from an executable. Debian's own `wine` script takes the 32-bit
# loader whenever wine32 is installed, so both Wines are called by path
# through the functions `wine` and `wineserver` below.

tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Bump when the prefix set-up changes, so stale cached prefixes are rebuilt.
readonly QUOBLY_PREFIX_VERSION=4
# Where the prefixes live.
quobly_wine_cache=${QUOBLY_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quobly}

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompt; and no menu builder, which would turn a
# shortcut a program saves in the prefix into a menu entry in this machine's
# home folder, and reads the shortcut unshared while a test may remove it.
export WINEDLLOVERRIDES=${QUOBLY_WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
# A test may run in another locale (code page), as on a Western system.
export LC_ALL=${QUOBLY_LC_ALL:-zh_CN.UTF-8}
# A test may name its own ALSA set-up (for example one that records what is played).
export ALSA_CONFIG_PATH=${QUOBLY_ALSA_CONFIG_PATH:-/usr/share/alsa/alsa.conf:$tools_dir/alsa-null.conf}
# Tests talk to servers on 127.0.0.1; WinINet would route them through a proxy.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=localhost,127.0.0.1

wine() { "$WINELOADER" "$@"; }
wineserver() { "$WINESERVER" "$@"; }
export -f wine wineserver

# Selects 64-bit (win64) or 32-bit (win32) Wine and that architecture's
# prefixes: the project's prefix, the sandbox and the plain-fonts prefix.
wine_select_arch() {
  case $1 in
    win64)
      export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 ;;
    win32)
      export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 ;;
    *) echo "wine: unknown architecture '$1' (win64 or win32)" >&2; return 1 ;;
  esac
  export QUOBLY_WINE_ARCH=$1 WINEARCH=$1
  export WINEPREFIX=$quobly_wine_cache/wine-prefix-$1
  export QUOBLY_SANDBOX_PREFIX=$quobly_wine_cache/wine-sandbox-$1
  export QUOBLY_PLAIN_FONTS_PREFIX=$quobly_wine_cache/wine-plain-fonts-$1
}

# The Wine architecture an executable needs, from its PE header's machine
# field: win64 for x86-64, win32 for x86.
wine_arch_of() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ') || return 1
  case $machine in
    8664) echo win64 ;;
    014c) echo win32 ;;
    *) echo "wine: $1 is not an x86 or x86-64 Windows program" >&2; return 1 ;;
  esac
}

wine_select_arch_of() {
  local arch
  arch=$(wine_arch_of "$1") && wine_select_arch "$arch"
}

wine_select_arch "${QUOBLY_WINE_ARCH:-win64}" || return 1

# Whether this machine runs the selected Wine's loader natively. Some
# machines' kernels run no 32-bit x86 program at all (exec format error);
# emulated through qemu-user, Wine takes minutes a process, far too slow for
# the tests. Prints the reason when it cannot.
wine_runs_natively() {
  if [ "$QUOBLY_WINE_ARCH" = win32 ] && [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] &&
    grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    echo "32-bit x86 programs run here only emulated (binfmt_misc qemu-i386)"
    return 1
  fi
  if ! "$WINELOADER" --version >/dev/null 2>&1; then
    echo "this machine cannot start Wine's loader $WINELOADER (for $QUOBLY_WINE_ARCH programs)"
    return 1
  fi
}

# Sets up a new prefix in $WINEPREFIX: Wine's defaults, then the project's
# registry (fonts, sound driver, crash dialog, unmanaged windows).
wine_prefix_build() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # A 64-bit prefix says it cannot start syswow64\rundll32.exe where the
  # 32-bit side cannot run; the prefix works all the same.
  wine wineboot -i >/dev/null 2>&1
  wineserver -w
  # .reg files are UTF-16 so that the Chinese font names survive.
  local reg=$WINEPREFIX/quobly-setup.reg
  iconv -f UTF-8 -t UTF-16 "$tools_dir/wine-prefix.reg" >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
}

# Creates the prefix once and reuses it; rebuilds it when its set-up changed.
wine_prefix_ensure() {
  local stamp=$WINEPREFIX/.quobly-prefix-version
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$QUOBLY_PREFIX_VERSION" ]; then
    return 0
  fi
  echo "wine: creating prefix $WINEPREFIX"
  wine_prefix_build
  echo "$QUOBLY_PREFIX_VERSION" >"$stamp"
}

# The sandbox prefix, where tests let the uninstaller delete. A new prefix
# links the shell folders (Desktop, Documents, Music...) to the Unix home
# folder and maps Z: to /, so a deletion gone wrong would reach this
# machine's own files; the sandbox keeps neither.
readonly QUOBLY_SANDBOX_VERSION=2

# Creates the sandbox prefix once, set up as the main one, and seals it.
wine_sandbox_ensure() {
  local stamp=$QUOBLY_SANDBOX_PREFIX/.quobly-sandbox-version
  local version=$QUOBLY_PREFIX_VERSION.$QUOBLY_SANDBOX_VERSION
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
    return 0
  fi
  echo "wine: creating sandbox prefix $QUOBLY_SANDBOX_PREFIX"
  (export WINEPREFIX=$QUOBLY_SANDBOX_PREFIX && wine_prefix_build) || return 1
  if [ ! -d "$QUOBLY_SANDBOX_PREFIX/drive_c/windows/system32" ]; then
    echo "wine: could not create the sandbox prefix" >&2
    return 1
  fi
  wine_sandbox_seal || return 1
  echo "$version" >"$stamp"
}

# Cuts the sandbox's ways out: folders under the users' folders that are
# links become real, empty folders; every drive but C: goes. Run again after anything that may
# update the prefix: Wine's prefix update replaces an empty shell folder by
# a link to the home folder again.
wine_sandbox_seal() {
  local prefix=$QUOBLY_SANDBOX_PREFIX entry
  # At any depth: a 64-bit prefix also links AppData\Roaming\Microsoft\
  # Windows\Templates to the home folder. find does not enter the links.
  while IFS= read -r -d '' entry; do
    rm -f "$entry" && mkdir "$entry" || return 1
  done < <(find "$prefix/drive_c/users" -type l -print0)
  for entry in "$prefix"/dosdevices/?: "$prefix"/dosdevices/?::; do
    case ${entry##*/} in
      c:) ;;
      *) if [ -L "$entry" ] || [ -e "$entry" ]; then rm -f "$entry" || return 1; fi ;;
    esac
  done
  # A share inside the prefix, "\\quobly-host\share" to Windows programs:
  # the removal tests check that nothing on a share is taken.
  mkdir -p "$prefix/dosdevices/unc/quobly-host/share" || return 1
  local escapes
  escapes=$(wine_sandbox_escapes)
  if [ -n "$escapes" ]; then
    echo "wine: the sandbox prefix still leads outside itself:" >&2
    echo "$escapes" >&2
    return 1
  fi
}

# Lists each symbolic link in the sandbox prefix that leads outside it. Serial
# and parallel ports (dosdevices/com1 -> /dev/ttyS0, made by Wine's mount
# manager at every start) name devices, not files, and may stay.
wine_sandbox_escapes() {
  local prefix link name target
  prefix=$(realpath "$QUOBLY_SANDBOX_PREFIX")
  while IFS= read -r -d '' link; do
    target=$(realpath -m "$link")
    case $target in "$prefix" | "$prefix"/*) continue ;; esac
    name=${link#"$QUOBLY_SANDBOX_PREFIX"/}
    case $name:$target in dosdevices/com[0-9]*:/dev/* | dosdevices/lpt[0-9]*:/dev/*) continue ;; esac
    printf '%s -> %s\n' "$name" "$(readlink "$link")"
  done < <(find "$QUOBLY_SANDBOX_PREFIX" -type l -print0)
}

# Starts the sandbox's Wine services and checks it is still sealed: their
# start is where Wine updates a prefix after an upgrade. Within a session of
# wine_session_begin its wineserver stays up until wine_session_end.
wine_sandbox_start() {
  wine_sandbox_ensure || return 1
  (
    export WINEPREFIX=$QUOBLY_SANDBOX_PREFIX
    # Detached from the caller's output: started from a test, a server or
    # service holding CTest's pipe would keep that test open until its time-out.
    if [ -n "${QUOBLY_WINE_SESSION:-}" ]; then wineserver -p >/dev/null 2>&1 </dev/null; fi
    wine wineboot >/dev/null 2>&1 </dev/null
  )
  wine_sandbox_seal
}

# Joins the sandbox for one program run: starts its services once per
# session of wine_session_begin (at every call outside one) and returns
# holding its set-up lock on descriptor 9, which the caller releases with
# wine_sandbox_release once its own set-up is done. Callers in parallel take
# turns.
wine_sandbox_join() {
  mkdir -p "$(dirname "$QUOBLY_SANDBOX_PREFIX")"
  exec 9>"$QUOBLY_SANDBOX_PREFIX.lock"
  flock 9
  local marker=$QUOBLY_SANDBOX_PREFIX/.quobly-session
  if [ -z "${QUOBLY_WINE_SESSION:-}" ] || [ "$(cat "$marker" 2>/dev/null)" != "$QUOBLY_WINE_SESSION" ]; then
    # Its messages must not mix with a test list that discovery reads; the
    # server it starts must not hold the lock.
    wine_sandbox_start 9>&- >&2 || {
      echo "wine: the sandbox prefix $QUOBLY_SANDBOX_PREFIX is not safe to run in" >&2
      return 1
    }
    if [ -n "${QUOBLY_WINE_SESSION:-}" ]; then echo "$QUOBLY_WINE_SESSION" >"$marker"; fi
  fi
}

wine_sandbox_release() {
  flock -u 9
  exec 9>&-
}

# The plain-fonts prefix: the project's prefix without its font replacements,
# like a system that has none of the Chinese fonts the programs name but has
# the CJK font the set-up installs, under that font's own name. Wine reads the
# replacements when gdi32 starts in a process, so this is a prefix of its own
# rather than the shared one changed for a while. It is a copy of the
# project's prefix, which spares a prefix creation.
readonly QUOBLY_PLAIN_FONTS_VERSION=1

# Creates the plain-fonts prefix once; again when either set-up changed.
wine_plain_fonts_ensure() {
  local stamp=$QUOBLY_PLAIN_FONTS_PREFIX/.quobly-plain-fonts-version
  local version=$QUOBLY_PREFIX_VERSION.$QUOBLY_PLAIN_FONTS_VERSION
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
    return 0
  fi
  echo "wine: creating plain-fonts prefix $QUOBLY_PLAIN_FONTS_PREFIX"
  wine_prefix_ensure || return 1
  local building=$QUOBLY_PLAIN_FONTS_PREFIX.new
  rm -rf "$building" "$QUOBLY_PLAIN_FONTS_PREFIX"
  # The server writes its registry files whole (a new file renamed over the
  # old), so the copy is consistent while the project's prefix is in use.
  cp -a "$WINEPREFIX" "$building" || return 1
  awk '/^\[Software\\\\Wine\\\\Fonts\\\\Replacements\]/ { skip = 1; next }
       skip && /^$/ { skip = 0; next }
       !skip' "$building/user.reg" >"$building/user.reg.plain" || return 1
  mv "$building/user.reg.plain" "$building/user.reg" || return 1
  if grep -q 'Fonts\\\\Replacements' "$building/user.reg"; then
    echo "wine: the font replacements are still in $building" >&2
    return 1
  fi
  mv "$building" "$QUOBLY_PLAIN_FONTS_PREFIX" && echo "$version" >"$stamp"
}

# Starts a private Xvfb display and exports DISPLAY; xvfb_stop ends it. Xvfb
# picks a free display number itself, so parallel runs never collide.
# Usage: xvfb_start [depth]; 24 bits a pixel unless told (16 is what a
# remote desktop or some virtual machines give).
xvfb_start() {
  local depth=${1:-24}
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "1280x1024x$depth" -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  XVFB_PID=$!
  local tries=0
  until [ -s "$numberFile" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 $XVFB_PID 2>/dev/null; then
      echo "xvfb: no display started" >&2
      rm -f "$numberFile"
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=:$(head -n1 "$numberFile")
  rm -f "$numberFile"
}

xvfb_stop() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# Keeps one wineserver alive for the whole run, so that each test process
# starts quickly; wine_session_end stops it and everything it still runs.
wine_session_begin() {
  wine_prefix_ensure
  wineserver -p
  # Tells the sandbox runner (tests/sandbox-wine.sh) which run this is: it
  # starts the sandbox's own wineserver once per run.
  QUOBLY_WINE_SESSION=$$.$(date +%s%N)
  export QUOBLY_WINE_SESSION
  # Start the prefix's service processes now, detached from any output pipe:
  # started by the first test instead, they would inherit CTest's pipe and
  # keep it open, so CTest would wait for them until its time-out.
  wine wineboot >/dev/null 2>&1 </dev/null
}

wine_session_end() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ -d "$QUOBLY_SANDBOX_PREFIX" ]; then
    WINEPREFIX=$QUOBLY_SANDBOX_PREFIX wineserver -k 2>/dev/null || true
    WINEPREFIX=$QUOBLY_SANDBOX_PREFIX wineserver -w 2>/dev/null || true
    rm -f "$QUOBLY_SANDBOX_PREFIX/.quobly-session"
  fi
  if [ -d "$QUOBLY_PLAIN_FONTS_PREFIX" ]; then
    WINEPREFIX=$QUOBLY_PLAIN_FONTS_PREFIX wineserver -k 2>/dev/null || true
    WINEPREFIX=$QUOBLY_PLAIN_FONTS_PREFIX wineserver -w 2>/dev/null || true
    rm -f "$QUOBLY_PLAIN_FONTS_PREFIX/.quobly-session"
  fi
}

# Everything a run of Windows programs needs, undone when the script exits:
# a private display, the prefix and one wineserver.
wine_headless_session() {
  trap 'wine_session_end; xvfb_stop' EXIT
  xvfb_start
  wine_session_begin
}
