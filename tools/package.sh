#!/usr/bin/env bash
# Builds the Windows packages into dist/, for each architecture (<arch> x64
# or x86):
#   Quobly-Setup-<version>-<arch>.exe     the installer (NSIS) of that
#                                         architecture, for administrators
#   Quobly-<version>-<arch>-portable.zip  the soundboard, bass.dll and the
#                                         empty category folders, no uninstaller
# By default from release builds of their own, build-release-x64/ and
# build-release-i686/, whose uninstallers report to the host in
# $PVUNINSTALL_REPORT_HOST, and send no reports at all when that is empty or
# unset (the default). It says which.
#   tools/package.sh [--build DIR]... [--out DIR]
# --build packages an already configured build folder instead (the tests
# package build/ this way); given twice, one build of each architecture,
# which is read from the build's programs. --out writes somewhere other than
# dist/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
builds=()
out=$root/dist
while [ $# -gt 0 ]; do
  case $1 in
    --build) builds+=("$(realpath "$2")") && shift 2 ;;
    --out) out=$2 && shift 2 ;;
    *) echo "usage: tools/package.sh [--build DIR]... [--out DIR]" >&2 && exit 2 ;;
  esac
done

"$root/tools/setup-debian.sh"
programs=(Quobly pvUninstall bass)
if [ ${#builds[@]} -eq 0 ]; then
  declare -A toolchains=([x64]=mingw-x86_64.cmake [i686]=mingw-i686.cmake)
  for name in x64 i686; do
    build=$root/build-release-$name
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/${toolchains[$name]}" \
      -DPVUNINSTALL_REPORT_HOST="${PVUNINSTALL_REPORT_HOST:-}" >/dev/null
    builds+=("$build")
  done
fi

# Each build's architecture, from its programs: one build each at most.
declare -A build_of=()
for build in "${builds[@]}"; do
  cmake --build "$build" --target "${programs[@]}" >/dev/null
  case $(source "$root/tools/wine-env.sh" && wine_arch_of "$build/bin/Quobly.exe") in
    win64) arch=x64 ;;
    win32) arch=x86 ;;
    *) exit 1 ;;
  esac
  [ -z "${build_of[$arch]:-}" ] || { echo "package: two builds for $arch: ${build_of[$arch]} and $build" >&2 && exit 2; }
  build_of[$arch]=$build
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"
categories=(主持音效 喊麦音效 搞笑音效)

# The demo library, an optional component: one recorded install line a sound.
"$root/tools/make-sounds.sh" demo "$stage/demo" >/dev/null
demo_list=$stage/demo.nsh
for category in "${categories[@]}"; do
  printf 'SetOutPath "$INSTDIR\\%s"\n' "$category"
  for sound in "$stage/demo/$category"/*.mp3; do
    printf '!insertmacro InstallRecorded "%s" "%s"\n' "$sound" "${sound##*/}"
  done
done >"$demo_list"

for arch in $(printf '%s\n' "${!build_of[@]}" | sort); do
  build=${build_of[$arch]}
  bin=$build/bin
  version=$(cat "$build/product-version.txt")
  host=$(sed -n 's/^PVUNINSTALL_REPORT_HOST:[A-Z]*=//p' "$build/CMakeCache.txt")
  if [ -z "$host" ]; then
    echo "package: the $arch build's pvUninstall sends no reports (no PVUNINSTALL_REPORT_HOST)"
  else
    echo "package: the $arch build's pvUninstall reports to http://$host/report.asp and http://$host/api.ashx"
  fi

  installer=$out/Quobly-Setup-$version-$arch.exe
  makensis -V2 -INPUTCHARSET UTF8 -DARCH="$arch" -DVERSION="$version" -DBIN="$bin" \
    -DICON="$root/assets/soundboard/Quobly.ico" -DDEMO="$demo_list" -DOUTFILE="$installer" \
    "$root/installer/Quobly.nsi" >"$stage/makensis.log" || { cat "$stage/makensis.log" >&2 && exit 1; }
  echo "package: $installer"

  portable=$stage/$arch/Quobly
  mkdir -p "$portable"
  cp "$bin/Quobly.exe" "$bin/bass.dll" "$portable/"
  for category in "${categories[@]}"; do mkdir "$portable/$category"; done
  zip=$out/Quobly-$version-$arch-portable.zip
  rm -f "$zip"
  python3 "$root/tools/portable-zip.py" "$portable" "$zip"
  python3 "$root/tools/portable-zip.py" --check "$zip"
  echo "package: $zip"
done
