#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build and test both
# programs. Safe to run again: it does nothing when all is present, and asks
# for root (through sudo) only when something must be installed.
set -euo pipefail

packages=(
  # cross toolchain (posix thread model: std::thread, std::mutex, magic statics)
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev
  cmake ninja-build googletest clang-format
  # the native build of the platform-free code: clang, its sanitizer and
  # libFuzzer runtimes, zlib (tools/build-native.sh, tools/fuzz.sh)
  clang libclang-rt-14-dev zlib1g-dev
  # running and driving the programs under Wine: 64-bit Wine everywhere,
  # 32-bit Wine for the 32-bit build where the kernel runs 32-bit programs
  wine wine64 wine32:i386 xvfb xdotool x11-utils imagemagick fonts-wqy-microhei locales
  # each Wine's way to a desktop's PulseAudio server (tools/run.sh)
  libasound2-plugins:amd64 libasound2-plugins:i386
  # test media
  lame sox espeak-ng
  # the local HTTP server of the network tests
  python3
  # the Windows installer (makensis, tools/package.sh)
  nsis
  # regenerating the uninstaller's art (tools/make-uninstaller-art.py)
  librsvg2-bin fonts-dejavu-core
)

has_i386() { dpkg --print-foreign-architectures | grep -qx i386; }
# Wine takes its Unix-side character set (file names, command lines, console
# output) from the C library's locale, so the Chinese locale must exist.
has_locale() { locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }

is_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${packages[@]}"; do
  is_installed "$p" || missing+=("$p")
done

if has_i386 && has_locale && [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  exec sudo "$0" "$@"
fi

if ! has_i386; then
  dpkg --add-architecture i386
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  update_log=$(mktemp)
  trap 'rm -f "$update_log"' EXIT
  # An index that fails to download is often one the install does not need
  # (another architecture's security list, a mirror in mid-sync): name it and
  # go on; only a failed install is fatal.
  if ! apt-get update -qq 2>"$update_log"; then
    echo "setup: apt-get update failed; trying the install anyway" >&2
  fi
  sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/setup: package index not updated: \1/p' "$update_log" >&2
  apt_install() { apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}" >/dev/null; }
  # With one architecture's update index missing, the other architecture's
  # updates would pull multi-arch libraries apart in version: then install
  # from the release's own suite alone.
  retry_from_release() {
    [ -s "$update_log" ] || return 1
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "setup: retrying from $codename alone" >&2
    apt_install -t "$codename"
  }
  if ! apt_install && ! retry_from_release; then
    still_missing=()
    for p in "${missing[@]}"; do
      is_installed "$p" || still_missing+=("$p")
    done
    echo "setup: could not install: ${still_missing[*]}" >&2
    exit 1
  fi
fi
if ! has_locale; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
