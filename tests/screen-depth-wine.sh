#!/usr/bin/env bash
# Runs a Windows program on a private Xvfb display of the given depth (bits a
# pixel): CTest's runner for the uninstaller's buffer tests on a 16-bit
# screen. Passes the exit code through.
# Usage: screen-depth-wine.sh DEPTH PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/../tools/wine-env.sh"

depth=$1
shift
wine_select_arch_of "$1" || exit 1
xvfb_start "$depth" || exit 1
trap xvfb_stop EXIT
wine "$@"
