#!/usr/bin/env bash
# Installs what is missing, then configures and builds both programs and
# their tests into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"
# Development and test builds report to the local test server only.
cmake -S "$root" -B "$root/build" -G Ninja -DPVUNINSTALL_REPORT_HOST=127.0.0.1 >/dev/null
cmake --build "$root/build"
