#!/usr/bin/env bash
# Builds the Windows packages into dist/:
#   Quobly-Setup-<version>.exe      the installer (NSIS), 32-bit, for administrators
#   Quobly-<version>-portable.zip   the soundboard, bass.dll and the empty
#                                   category folders, no uninstaller
# By default from a release build of its own in build-release/, whose
# uninstaller reports to the host in $PVUNINSTALL_REPORT_HOST, and sends no
# reports at all when that is empty or unset (the default). It says which.
#   tools/package.sh [--build DIR] [--out DIR]
# --build packages an already configured build folder (the tests package
# build/ this way) instead; --out writes somewhere other than dist/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=
out=$root/dist
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$(realpath "$2") && shift 2 ;;
    --out) out=$2 && shift 2 ;;
    *) echo "usage: tools/package.sh [--build DIR] [--out DIR]" >&2 && exit 2 ;;
  esac
done

"$root/tools/setup-debian.sh"
programs=(Quobly pvUninstall bass pvuninstall_zlib)
if [ -z "$build" ]; then
  build=$root/build-release
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPVUNINSTALL_REPORT_HOST="${PVUNINSTALL_REPORT_HOST:-}" >/dev/null
fi
cmake --build "$build" --target "${programs[@]}" >/dev/null
bin=$build/bin
version=$(cat "$build/product-version.txt")
host=$(sed -n 's/^PVUNINSTALL_REPORT_HOST:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ -z "$host" ]; then
  echo "package: this build's pvUninstall sends no reports (no PVUNINSTALL_REPORT_HOST)"
else
  echo "package: this build's pvUninstall reports to http://$host/report.asp and http://$host/api.ashx"
fi

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

installer=$out/Quobly-Setup-$version.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DBIN="$bin" -DICON="$root/assets/soundboard/Quobly.ico" \
  -DDEMO="$demo_list" -DOUTFILE="$installer" "$root/installer/Quobly.nsi" >"$stage/makensis.log" ||
  { cat "$stage/makensis.log" >&2 && exit 1; }
echo "package: $installer"

portable=$stage/Quobly
mkdir -p "$portable"
cp "$bin/Quobly.exe" "$bin/bass.dll" "$portable/"
for category in "${categories[@]}"; do mkdir "$portable/$category"; done
zip=$out/Quobly-$version-portable.zip
rm -f "$zip"
python3 "$root/tools/portable-zip.py" "$portable" "$zip"
python3 "$root/tools/portable-zip.py" --check "$zip"
echo "package: $zip"
