#!/usr/bin/env bash
# Checks what each build made: every program and library in build/bin is
# x86-64 and every one in build-i686/bin is x86, and none needs a MinGW
# runtime DLL (each runs alone on Windows). Prints one line a build.
#   tools/check-architectures.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
source "$root/tools/wine-env.sh"

status=0
check_build() {
  local dir=$1 want=$2 objdump=$3 count=0 file arch
  [ -d "$root/$dir/bin" ] || { echo "check-architectures: $dir/bin is missing" >&2; status=1; return; }
  for file in "$root/$dir"/bin/*.exe "$root/$dir"/bin/*.dll; do
    [ -e "$file" ] || continue
    count=$((count + 1))
    arch=$(wine_arch_of "$file") || { status=1; continue; }
    if [ "$arch" != "$want" ]; then
      echo "check-architectures: ${file#"$root"/} is $arch, not $want" >&2
      status=1
    fi
    if "$objdump" -p "$file" | grep -i -E 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)' >/dev/null; then
      echo "check-architectures: ${file#"$root"/} needs a MinGW runtime DLL" >&2
      status=1
    fi
  done
  echo "check-architectures: $dir: $count programs and libraries, all $want and static"
}
check_build build win64 x86_64-w64-mingw32-objdump
check_build build-i686 win32 i686-w64-mingw32-objdump
exit $status
