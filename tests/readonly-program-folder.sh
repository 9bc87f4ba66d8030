#!/usr/bin/env bash
# Lays the crashing test build of pvUninstall into a program folder that
# nothing can write to, not even root, runs one case of the end-to-end tests
# with that folder named in PVUNINSTALL_READONLY_FOLDER, and undoes it all.
# The tests run in the sandbox prefix, which has no drive but C:, so the
# folder lies on its C:.
# Exits 77 (a skip) when the folder cannot be made read-only here.
# Usage: readonly-program-folder.sh BIN_DIR GTEST_CASE
set -u
bin=$1
case=$2
source "$(dirname "$0")/../tools/wine-env.sh"
wine_select_arch_of "$bin/uninstaller_e2e_tests.exe" || exit 1
wine_sandbox_ensure || exit 1
mkdir -p "$QUOBLY_SANDBOX_PREFIX/drive_c/quobly-tests"
folder=$(mktemp -d "$QUOBLY_SANDBOX_PREFIX/drive_c/quobly-tests/pvuninstall-readonly.XXXXXX")
mode=

undo() {
  case $mode in
    immutable) chattr -i "$folder" ;;
    mount) umount "$folder" ;;
  esac
  rm -rf "$folder" "$folder.source"
}
trap undo EXIT

cp "$bin/pvUninstall_crash.exe" "$folder/pvUninstall.exe"
if chattr +i "$folder" 2>/dev/null; then
  mode=immutable
else
  mv "$folder" "$folder.source" && mkdir "$folder"
  mount --bind "$folder.source" "$folder" 2>/dev/null && mode=mount
  if [ "$mode" != mount ] || ! mount -o remount,bind,ro "$folder" 2>/dev/null; then
    echo "cannot make a read-only folder here (needs root on a file system with chattr, or bind mounts)"
    exit 77
  fi
fi

export PVUNINSTALL_READONLY_FOLDER="C:\\quobly-tests\\${folder##*/}"
"$(dirname "$0")/sandbox-wine.sh" "$bin/uninstaller_e2e_tests.exe" --gtest_filter="$case"
