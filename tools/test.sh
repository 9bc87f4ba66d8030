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
"$root/tools/check-imports.sh"

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

# The 32-bit suite runs where the kernel runs 32-bit programs.
win32_suite() {
  QUOBLY_WINE_ARCH=win32 bash -c "source '$root/tools/wine-env.sh' && wine_runs_natively"
}

if reason=$(win32_suite); then
  echo "test: the 32-bit build's Wine suite (build-i686/, 32-bit Wine)"
  wine_suite win32 build-i686 "$@"
else
  # The 32-bit executables are built and checked above. Their suite is the
  # same tree's: its cases are named from the 64-bit run's list.
  not_run=$root/build-i686/wine-tests-not-run.txt
  (cd "$root/build" && ctest -N "$@" | sed -n 's/^ *Test *#[0-9]*: //p') >"$not_run"
  echo "test: not run: the 32-bit build's Wine suite (build-i686/, $(wc -l <"$not_run") tests, named in $not_run): $reason." >&2
  echo "test: what differs by architecture in code is the x86 window thunk, checked natively (ThunkCodeTest); the registry's WOW64 views exist only for a 32-bit program on 64-bit Windows." >&2
fi
