#!/usr/bin/env bash
# Installs what is missing, then configures and builds both programs and
# their tests into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build"
