#!/usr/bin/env bash
# Runs a Windows program in the project's Wine prefix (CTest's emulator).
# Expects the prefix and the display to be set up by tools/test.sh; run alone
# it creates the prefix when missing and uses whatever DISPLAY is set.
set -eu
source "$(dirname "$0")/wine-env.sh"
# The Wine of the program's own architecture.
if [ -f "$1" ]; then wine_select_arch_of "$1"; fi
wine_prefix_ensure
exec wine "$@"
