#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on a private Xvfb display; each
# prints its own figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
trap 'wine_session_end; xvfb_stop' EXIT
xvfb_start
wine_session_begin
wine "$root/build/bin/compose_bench.exe"
