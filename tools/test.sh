#!/usr/bin/env bash
# The whole test run on a fresh Debian 12 machine: installs what is missing;
# builds the platform-free code natively and runs its unit tests under the
# sanitizers and each fuzz target for a short while ($QUOBLY_FUZZ_SECONDS,
# default 30 s a target); then builds both programs for x86-64 (build/) and
# x86 (build-i686/) and runs every test under Wine on a private Xvfb display:
# the 64-bit build's on every machine, the 32-bit build's too where the
# kernel runs 32-bit programs. Extra arguments go to both Wine runs' ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build-native.sh"
ctest --test-dir "$root/build-native" --output-on-failure --no-tests=error
"$root/tools/fuzz.sh" "${QUOBLY_FUZZ_SECONDS:-30}"

"$root/tools/build.sh"
"$root/tools/check-architectures.sh"

# One architecture's Wine suite, in a shell of its own: its display, prefix
# and wineserver end with it.
wine_suite() (
  export QUOBLY_WINE_ARCH=$1
  local dir=$2
  shift 2
  source "$root/tools/wine-env.sh"
  wine_headless_session
  cd "$root/$dir"
  # A run that executes no test is a failure, not a pass.
  ctest --output-on-failure --no-tests=error "$@"
)

echo "test: the 64-bit build's Wine suite (build/, 64-bit Wine)"
wine_suite win64 build "$@"

if reason=$(QUOBLY_WINE_ARCH=win32 bash -c "source '$root/tools/wine-env.sh' && wine_runs_natively"); then
  echo "test: the 32-bit build's Wine suite (build-i686/, 32-bit Wine)"
  wine_suite win32 build-i686 "$@"
else
  # The 32-bit executables are built and checked above; what only they
  # would show here is said by name.
  echo "test: not run: the 32-bit build's Wine suite (build-i686/): $reason." >&2
  echo "test: it is the same tree as the 64-bit suite that ran; what differs by architecture is run natively (ThunkCodeTest: the x86 window thunk's code) or only on 32-bit Windows (the registry's WOW64 views of RegTest and SystemIdentityTest)." >&2
fi
