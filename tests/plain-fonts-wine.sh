#!/usr/bin/env bash
# Runs a Windows program in the plain-fonts prefix, which has none of the
# Chinese font names the programs ask for (wine_plain_fonts_ensure in
# tools/wine-env.sh): CTest's emulator for the soundboard's text tests there.
# Passes the exit code through.
# Usage: plain-fonts-wine.sh PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/../tools/wine-env.sh"
wine_select_arch_of "$1" || exit 1

# Set-up shared by parallel runs: one at a time.
mkdir -p "$(dirname "$QUOBLY_PLAIN_FONTS_PREFIX")"
exec 9>"$QUOBLY_PLAIN_FONTS_PREFIX.lock"
flock 9
wine_plain_fonts_ensure 9>&- >&2 || {
  echo "plain-fonts-wine: cannot set up $QUOBLY_PLAIN_FONTS_PREFIX" >&2
  exit 1
}
export WINEPREFIX=$QUOBLY_PLAIN_FONTS_PREFIX
session_marker=$WINEPREFIX/.quobly-session
if [ -n "${QUOBLY_WINE_SESSION:-}" ] && [ "$(cat "$session_marker" 2>/dev/null)" != "$QUOBLY_WINE_SESSION" ]; then
  # Once a run, detached from CTest's pipe, which the server and services
  # would otherwise hold open until the test's time-out.
  (wineserver -p && wine wineboot) 9>&- >/dev/null 2>&1 </dev/null
  echo "$QUOBLY_WINE_SESSION" >"$session_marker"
fi
flock -u 9
exec 9>&-

exec wine "$@"
