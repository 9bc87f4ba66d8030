#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets, one folder per target:
#   tools/make-fuzz-seeds.sh <folder>
# Install records, skin packages, proxy records, binding files, report values,
# compressed replies and edit-box operation streams come from
# build-native/fuzz_seed_maker (the project's own writers), MP3 files from the sound generator: short tones in each MPEG
# version, with and without their encoder's information frame and tags.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: make-fuzz-seeds.sh <folder>}

rm -rf "$out"
mkdir -p "$out/mp3_frames"
# The smallest of the uninstaller's pictures make up the skin packages.
"$root/build-native/fuzz_seed_maker" "$out" $(ls -S "$root"/assets/uninstaller/*.png | tail -3)

sounds=$root/tools/make-sounds.sh
mp3=$out/mp3_frames
"$sounds" tone 0.3 "$mp3/cbr-info.mp3" -b 32
"$sounds" tone 0.3 "$mp3/vbr-xing.mp3" -V 9
"$sounds" tone 0.3 "$mp3/mpeg2-mono-bare.mp3" -m m --resample 22.05 -b 8 -t
"$sounds" tone 0.5 "$mp3/mpeg25-mono-bare.mp3" -m m --resample 8 -b 8 -t
"$sounds" tone 0.2 "$mp3/tags.mp3" -b 32 --add-id3v2 --pad-id3v2-size 100 --tt "测试" --ta "Quobly"
head -c 1000 "$mp3/cbr-info.mp3" >"$mp3/truncated.mp3"
