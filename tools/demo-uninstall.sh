#!/usr/bin/env bash
# Demo of pvUninstall: lays a fake installed "Quobly 音效板" into the Wine
# prefix (program folder with files and sub-folders, start-menu folder,
# desktop shortcut, uninstall registry key and the install record file) and
# starts the uninstaller from the program folder. Run it again for a fresh
# product. On the current X display when there is one; else on a private Xvfb
# display, where a screenshot of the dialog is saved as build/demo-uninstall.png.
# The uninstaller deletes for real: all of it happens in the sandbox prefix,
# whose shell folders and drives reach nothing outside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/bin

"$root/tools/build.sh"
source "$root/tools/wine-env.sh"
trap 'wine_session_end; xvfb_stop' EXIT
private_display=
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start
  private_display=1
  echo "demo: no X display set; pvUninstall runs on the private display $DISPLAY"
fi
# One wineserver for the whole demo, stopped by wine_session_end.
export QUOBLY_WINE_SESSION=demo.$$
wine_sandbox_start
export WINEPREFIX=$QUOBLY_SANDBOX_PREFIX

product="Quobly 音效板"
key=Quobly
menu=Quobly
# Windows folders as the prefix names them, and where they are on this machine.
win_folder() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
install_win="$(win_folder '%ProgramFiles%')\\Quobly\\"
programs_win="$(win_folder '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs"
desktop_win="$(win_folder '%PUBLIC%')\\Desktop"
install=$(winepath -u "$install_win")
programs=$(winepath -u "$programs_win")
desktop=$(winepath -u "$desktop_win")

echo "demo: installing $product into $install_win"
rm -rf "$install"
mkdir -p "$install/主持音效" "$install/喊麦音效" "$install/搞笑音效" "$programs/$menu" "$desktop"
cp "$bin/Quobly.exe" "$bin/bass.dll" "$bin/pvUninstall.exe" "$bin/zlib1.dll" "$install/"
for folder in 主持音效 喊麦音效 搞笑音效; do
  for n in 1 2 3 4; do printf 'ID3' >"$install/$folder/demo$n.mp3"; done
done
printf '[热键]\r\n' | iconv -f UTF-8 -t GBK >"$install/音效配置.ini"
printf 'shortcut' >"$programs/$menu/Quobly.lnk"
printf 'shortcut' >"$programs/$menu/卸载 Quobly.lnk"
printf 'shortcut' >"$desktop/$product.lnk"
wine reg add "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$key" /v DisplayName /d "$product" /f \
  >/dev/null 2>&1

# The sandbox has no drive for /tmp or build/: the record writer and its
# input go onto C: first.
work_win='C:\quobly-demo'
work=$(winepath -u "$work_win")
rm -rf "$work"
mkdir -p "$work"
cp "$bin/pvRecordWriter.exe" "$work/"
description=$work/product.txt
cat >"$description" <<DESCRIPTION
regkey = $key
product = $product
menu = $menu
installdir = $install_win
DESCRIPTION
wine "$work_win\\pvRecordWriter.exe" "$work_win\\product.txt" "${install_win}pvUninstall.dat"
rm -rf "$work"

echo "demo: starting ${install_win}pvUninstall.exe"
if [ -n "$private_display" ]; then
  (cd "$install" && wine "${install_win}pvUninstall.exe") &
  sleep 4
  import -window root -crop 450x230+415+397 "$root/build/demo-uninstall.png"
  echo "demo: the dialog is in build/demo-uninstall.png"
else
  cd "$install" && wine "${install_win}pvUninstall.exe"
  echo "demo: left behind, if anything: $(ls -A "$install" 2>/dev/null | tr '\n' ' ')"
fi
