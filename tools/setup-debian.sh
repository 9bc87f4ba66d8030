#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build and test both
# programs. Safe to run again: it does nothing when all is present, and asks
# for root (through sudo) only when something must be installed.
set -euo pipefail

packages=(
  # cross toolchain (posix thread model: std::thread, std::mutex, magic statics)
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev libz-mingw-w64-dev
  cmake ninja-build googletest clang-format
  # the native build of the platform-free code: clang, its sanitizer and
  # libFuzzer runtimes, zlib (tools/build-native.sh, tools/fuzz.sh)
  clang libclang-rt-14-dev zlib1g-dev
  # running and driving the programs under Wine
  wine wine32:i386 xvfb xdotool x11-utils imagemagick fonts-wqy-microhei locales
  # test media
  lame sox espeak-ng
  # the local HTTP server of the network tests
  python3
  # regenerating the uninstaller's art (tools/make-uninstaller-art.py)
  librsvg2-bin fonts-dejavu-core
)

has_i386() { dpkg --print-foreign-architectures | grep -qx i386; }
# Wine takes its Unix-side character set (file names, command lines, console
# output) from the C library's locale, so the Chinese locale must exist.
has_locale() { locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
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
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! has_locale; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
