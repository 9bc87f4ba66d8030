# Sourced by the run and test scripts: the Wine environment both programs are
# run and tested in. A 32-bit prefix of the project's own (never ~/.wine), a
# Chinese system locale (ANSI code page 936) and an ALSA null sink that gives
# wave-out one device without a sound card.

tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Bump when the prefix set-up changes, so stale cached prefixes are rebuilt.
readonly QUOBLY_PREFIX_VERSION=3

export WINEPREFIX=${QUOBLY_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quobly/wine-prefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
# A test may name its own ALSA set-up (for example one that records what is played).
export ALSA_CONFIG_PATH=${QUOBLY_ALSA_CONFIG_PATH:-/usr/share/alsa/alsa.conf:$tools_dir/alsa-null.conf}
# Tests talk to servers on 127.0.0.1; WinINet would route them through a proxy.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy=localhost,127.0.0.1

# Creates the prefix once and reuses it; rebuilds it when its set-up changed.
wine_prefix_ensure() {
  local stamp=$WINEPREFIX/.quobly-prefix-version
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$QUOBLY_PREFIX_VERSION" ]; then
    return 0
  fi
  echo "wine: creating prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # .reg files are UTF-16 so that the Chinese font names survive.
  local reg=$WINEPREFIX/quobly-setup.reg
  iconv -f UTF-8 -t UTF-16 "$tools_dir/wine-prefix.reg" >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  echo "$QUOBLY_PREFIX_VERSION" >"$stamp"
}

# Starts a private Xvfb display and exports DISPLAY; xvfb_stop ends it. Xvfb
# picks a free display number itself, so parallel runs never collide.
xvfb_start() {
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
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
  # Start the prefix's service processes now, detached from any output pipe:
  # started by the first test instead, they would inherit CTest's pipe and
  # keep it open, so CTest would wait for them until its time-out.
  wine wineboot >/dev/null 2>&1 </dev/null
}

wine_session_end() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Everything a run of Windows programs needs, undone when the script exits:
# a private display, the prefix and one wineserver.
wine_headless_session() {
  trap 'wine_session_end; xvfb_stop' EXIT
  xvfb_start
  wine_session_begin
}
