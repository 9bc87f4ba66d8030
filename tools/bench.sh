#!/usr/bin/env bash
# Builds and runs every benchmark of the 64-bit build (the one every machine
# here runs) under 64-bit Wine and prints their figures.
#   tools/bench.sh [--load N]
# The latency benchmarks print their figures quiet and, beside them, with N
# busy threads in another process (default: one per processor; 0: quiet only).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

load=()
if [[ ${1:-} == --load ]]; then
  [[ ${2:-} =~ ^[0-9]+$ ]] || { echo "usage: $0 [--load N]" >&2; exit 2; }
  load=(--load "$2")
fi

"$root/tools/build.sh" x64
source "$root/tools/wine-env.sh"
wine_headless_session

for bench in "$root"/build/bin/*_bench.exe; do
  name=$(basename "$bench" .exe)
  echo "== $name"
  case $name in
    audio_latency_bench | board_latency_bench | hotkey_latency_bench | thread_priority_bench)
      wine "$bench" "${load[@]}" ;;
    *) wine "$bench" ;;
  esac
done
