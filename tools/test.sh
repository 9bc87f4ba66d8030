#!/usr/bin/env bash
# The whole test run on a fresh Debian 12 machine: installs what is missing,
# builds, then runs every test under Wine on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
wine_headless_session

cd "$root/build"
ctest --output-on-failure "$@"
