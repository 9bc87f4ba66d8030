#!/usr/bin/env bash
# Builds and runs every benchmark under Wine and prints their figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
wine_headless_session

for bench in "$root"/build/bin/*_bench.exe; do
  echo "== $(basename "$bench" .exe)"
  wine "$bench"
done
