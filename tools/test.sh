#!/usr/bin/env bash
# The whole test run on a fresh Debian 12 machine: installs what is missing;
# builds the platform-free code natively and runs its unit tests under the
# sanitizers and each fuzz target for a short while ($QUOBLY_FUZZ_SECONDS,
# default 30 s a target); then builds both programs and runs every test
# under Wine on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build-native.sh"
ctest --test-dir "$root/build-native" --output-on-failure
"$root/tools/fuzz.sh" "${QUOBLY_FUZZ_SECONDS:-30}"

"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
if ! reason=$(wine_runs_natively); then
  # Say plainly what was not run, and why, rather than fail on the machine.
  echo "test: NOT RUN: every test under Wine (CTest in build/): $reason." >&2
  echo "test: run on a machine that runs 32-bit x86 programs to run them; what ran here passed." >&2
  exit 0
fi
wine_headless_session

cd "$root/build"
ctest --output-on-failure "$@"
