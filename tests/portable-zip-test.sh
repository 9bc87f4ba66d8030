#!/usr/bin/env bash
# The portable zip's writer (tools/portable-zip.py): Chinese folder and file
# names come back as written, empty folders have entries, every name beyond
# ASCII carries the UTF-8 name flag in its local and central headers, and the
# check refuses a zip where one does not.
set -euo pipefail
tool=$(cd "$(dirname "$0")/../tools" && pwd)/portable-zip.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Quobly/主持音效" "$work/Quobly/喊麦音效" "$work/Quobly/搞笑音效"
printf 'MZ' >"$work/Quobly/Quobly.exe"
printf 'ID3' >"$work/Quobly/主持音效/掌声.mp3"
python3 "$tool" "$work/Quobly" "$work/portable.zip"
python3 "$tool" --check "$work/portable.zip"
python3 - "$work/portable.zip" <<'PYTHON'
import sys, zipfile
names = sorted(info.filename for info in zipfile.ZipFile(sys.argv[1]).infolist())
expected = sorted(["Quobly/", "Quobly/Quobly.exe", "Quobly/主持音效/", "Quobly/主持音效/掌声.mp3",
                   "Quobly/喊麦音效/", "Quobly/搞笑音效/"])
if names != expected:
    sys.exit(f"entries {names}, not {expected}")
data = bytearray(open(sys.argv[1], "rb").read())
# The same zip with the flag cleared in every central header.
position = data.find(b"PK\x01\x02")
while position >= 0:
    data[position + 9] &= ~0x08
    position = data.find(b"PK\x01\x02", position + 4)
open(sys.argv[1] + ".unflagged", "wb").write(data)
PYTHON
if python3 "$tool" --check "$work/portable.zip.unflagged" 2>/dev/null; then
  echo "FAIL: the check passed a zip without the UTF-8 name flag" >&2
  exit 1
fi
echo "portable zip: passed"
