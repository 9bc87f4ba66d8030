#!/usr/bin/env bash
# Demo of pvUninstall on a real install: packages this build
# (tools/package.sh), installs "Quobly 音效板" with the demo library into the
# Wine prefix through the installer, silently (program folder, start-menu
# folder, desktop shortcut, uninstall registry key and install record), and
# starts the uninstaller from the program folder. Run it again for a fresh
# product. On the current X display when there is one; else on a private Xvfb
# display, where a screenshot of the dialog is saved as build/demo-uninstall.png.
# The uninstaller deletes for real: all of it happens in the sandbox prefix,
# whose shell folders and drives reach nothing outside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/build.sh" x64
"$root/tools/package.sh" --build "$root/build" --out "$root/build/demo-package"
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

# The sandbox has no drive for build/: the installer goes onto C: first.
work_win='C:\quobly-demo'
work=$WINEPREFIX/drive_c/quobly-demo
rm -rf "$work"
mkdir -p "$work"
cp "$root"/build/demo-package/Quobly-Setup-*-x64.exe "$work/setup.exe"
install_win='C:\Program Files\Quobly\'
install=$WINEPREFIX/drive_c/Program\ Files/Quobly
echo "demo: installing into $install_win"
# /D= takes the rest of the line unquoted: Wine joins these two words with a space.
(cd "$work" && wine "$work_win\\setup.exe" /S /DEMO '/D=C:\Program' 'Files\Quobly')
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
