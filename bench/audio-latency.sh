#!/usr/bin/env bash
# Builds, then measures under Wine how quickly bass.dll starts a sound with a
# free and init before every play, as the soundboard does it.
#   bench/audio-latency.sh [file.mp3 as a Windows path] [plays]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
trap 'wine_session_end' EXIT
wine_session_begin
wine "$root/build/bin/audio_latency_bench.exe" "$@"
