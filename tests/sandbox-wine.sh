#!/usr/bin/env bash
# Runs a test executable of build/bin in the sandbox prefix (CTest's emulator
# for the tests that let the uninstaller delete): the prefix has no link to
# the home folder and no drive but C:, so the test runs from a copy of its
# folder on C:. Passes the exit code through and copies back what the test
# left in its folder (e2e-shots\, dumps).
# Usage: sandbox-wine.sh BIN_DIR/NAME.exe [ARGS...]
set -u
source "$(dirname "$0")/../tools/wine-env.sh"

exe=$(realpath "$1")
wine_select_arch_of "$exe" || exit 1
export WINEPREFIX=$QUOBLY_SANDBOX_PREFIX
shift
name=${exe##*/}
source_dir=${exe%/*}
sandbox_win='C:\quobly-tests\bin'
sandbox_dir=$WINEPREFIX/drive_c/quobly-tests/bin

# Replaces each top-level program and library that differs (by size or time)
# from the build's, through a rename: another test may be running the old one.
sync_programs() {
  mkdir -p "$sandbox_dir" || return 1
  local -A have=()
  local line path
  while IFS= read -r -d '' line; do
    have[${line#* }]=${line%% *}
  done < <(find "$sandbox_dir" -maxdepth 1 -type f \( -name '*.exe' -o -name '*.dll' \) -printf '%s.%T@ %f\0')
  while IFS= read -r -d '' line; do
    path=${line#* }
    if [ "${have[${path##*/}]:-}" != "${line%% *}" ]; then
      cp -p "$path" "$sandbox_dir/.${path##*/}.new" && mv -f "$sandbox_dir/.${path##*/}.new" "$sandbox_dir/${path##*/}" ||
        return 1
    fi
  done < <(find "$source_dir" -maxdepth 1 -type f \( -name '*.exe' -o -name '*.dll' \) -printf '%s.%T@ %p\0')
}

wine_sandbox_join || exit 1
sync_programs || {
  echo "sandbox-wine: cannot copy the programs of $source_dir into $sandbox_dir" >&2
  exit 1
}
wine_sandbox_release

cd "$sandbox_dir" || exit 1
wine "$sandbox_win\\$name" "$@"
status=$?

# What the tests left beside themselves, back beside the build's programs.
while IFS= read -r -d '' path; do
  cp -a -u "$path" "$source_dir/" || echo "sandbox-wine: cannot copy back $path" >&2
done < <(find "$sandbox_dir" -mindepth 1 -maxdepth 1 ! -name '*.exe' ! -name '*.dll' ! -name '.*.new' -print0)
exit $status
