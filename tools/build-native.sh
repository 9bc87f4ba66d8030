#!/usr/bin/env bash
# Installs what is missing, then configures and builds the native (Linux,
# clang, AddressSanitizer and UndefinedBehaviorSanitizer) build of the
# platform-free code into build-native/: its unit tests and fuzz targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"
cmake -S "$root/native" -B "$root/build-native" -G Ninja >/dev/null
cmake --build "$root/build-native"
