#!/usr/bin/env bash
# Builds and runs every benchmark under Wine and prints their figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
trap 'wine_session_end; xvfb_stop' EXIT
xvfb_start
wine_session_begin

for bench in "$root"/build/bin/*_bench.exe; do
  echo "== $(basename "$bench" .exe)"
  wine "$bench"
done
