#!/usr/bin/env bash
# Installs what is missing, then configures and builds both programs, their
# tests, benchmarks and tools for each architecture: x86-64 into build/ (the
# build this machine runs and tests under 64-bit Wine) and x86 into
# build-i686/ (the 32-bit programs, built from the same tree).
#   tools/build.sh            both
#   tools/build.sh x64|i686   one of them
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"

build_one() {
  local dir=$1 toolchain=$2
  # Development and test builds report to the local test server only.
  cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    -DPVUNINSTALL_REPORT_HOST=127.0.0.1 >/dev/null
  cmake --build "$root/$dir"
}

case ${1:-both} in
  x64) build_one build mingw-x86_64.cmake ;;
  i686) build_one build-i686 mingw-i686.cmake ;;
  both)
    build_one build mingw-x86_64.cmake
    build_one build-i686 mingw-i686.cmake
    ;;
  *) echo "usage: tools/build.sh [x64|i686|both]" >&2; exit 2 ;;
esac
