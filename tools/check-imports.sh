#!/usr/bin/env bash
# Checks what pvUninstall of each build imports when it starts. It runs
# elevated from the product's folder, which a standard user may be able to
# write, and Windows looks in a program's folder first for any DLL that is
# not a known DLL (HKLM\SYSTEM\CurrentControlSet\Control\Session
# Manager\KnownDLLs), before the program can limit the search; a known DLL
# and the DLLs it imports come from System32. So it may import at start only
# DLLs that every supported Windows, 7 to 11, lists there; it delay-loads
# the others from System32 (see uninstaller/CMakeLists.txt). Prints one
# line a build.
#   tools/check-imports.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

# Known DLLs on Windows 7 and on Windows 10 and 11 alike. Not here, among
# others: wininet and urlmon (known on 7, not on 10), gdiplus and combase
# (known on 10, not on 7), and dbghelp, bcrypt, version, uxtheme, winmm and
# comctl32 (never known; comctl32 6 comes from WinSxS only through the
# manifest).
known=(advapi32 comdlg32 gdi32 imagehlp imm32 kernel32 msvcrt ole32 oleaut32 psapi rpcrt4 setupapi shell32 shlwapi
  user32 ws2_32)

status=0
check_build() {
  local program=$root/$1/bin/pvUninstall.exe objdump=$2 dll count=0
  [ -f "$program" ] || { echo "check-imports: ${program#"$root"/} is missing" >&2; status=1; return; }
  while read -r dll; do
    count=$((count + 1))
    if [[ " ${known[*]} " != *" ${dll%.dll} "* ]]; then
      echo "check-imports: ${program#"$root"/} imports $dll at start, which not every supported Windows knows" >&2
      status=1
    fi
  done < <("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
  echo "check-imports: ${program#"$root"/}: $count DLLs imported at start"
}

# Every delay-loaded function the program links must be called through its
# thunk, which hands the first call to the delay-load helper. A call made
# straight through the import table (a dllimport declaration) is left
# unbound by the 32-bit linker: its table entry stays 0, the thunk is not
# linked in, and the call jumps to address 0.
check_delay_binding() {
  local program=$root/$1/bin/pvUninstall.exe nm=$2 symbol unbound=0 bound=0
  local -A thunks=() linked=()
  [ -f "$program" ] || return 0  # reported missing above
  while read -r symbol; do thunks[$symbol]=1; done < <("$nm" "$root/$1/uninstaller/delay-imports"/lib*.a 2>/dev/null |
    sed -n 's/^[0-9a-f]* T //p')
  while read -r kind symbol; do
    if [ "$kind" = T ]; then linked[$symbol]=1; fi
  done < <("$nm" "$program" | awk '{print $(NF-1), $NF}')
  while read -r symbol; do
    [ -n "${thunks[$symbol]:-}" ] || continue
    if [ -n "${linked[$symbol]:-}" ]; then
      bound=$((bound + 1))
    else
      echo "check-imports: ${program#"$root"/} calls the delay-loaded $symbol past its thunk" >&2
      unbound=1
    fi
  done < <("$nm" "$program" | sed -n 's/^[0-9a-f]* I __imp_//p')
  if [ $unbound -ne 0 ]; then status=1; fi
  echo "check-imports: ${program#"$root"/}: $bound delay-loaded functions, each through its thunk"
}

check_build build x86_64-w64-mingw32-objdump
check_build build-i686 i686-w64-mingw32-objdump
check_delay_binding build x86_64-w64-mingw32-nm
check_delay_binding build-i686 i686-w64-mingw32-nm
exit $status
