#!/usr/bin/env bash
# Sets up the machine, builds, and runs the soundboard under Wine: on the
# current X display when there is one, else on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build.sh"
# A fresh machine has no sounds yet: make the demo library beside the program.
[ -d "$root/build/bin/主持音效" ] || "$root/tools/make-sounds.sh" demo "$root/build/bin"
source "$root/tools/wine-env.sh"
trap 'wine_session_end; xvfb_stop' EXIT
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start
  echo "run: no X display set; Quobly runs on the private display $DISPLAY"
fi
wine_session_begin
wine "$root/build/bin/Quobly.exe"
