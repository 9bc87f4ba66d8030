#!/usr/bin/env bash
# The hotkeys end to end, as a user meets them: Quobly on the demo library in
# a program folder of its own, under the X display and Wine prefix of the
# test run. A right click on the first sound button opens the hotkey panel,
# F2 pressed in its edit box and "确定" bind it, and F2 pressed while another
# Wine program (notepad) has the focus plays that sound, as the audio
# library's trace shows. Screenshots of each stage stay in <out>/.
#   tests/hotkey-e2e.sh <bin folder> <out folder>
set -euo pipefail
bin=$1
out=$2
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env.sh"
wine_select_arch_of "$bin/Quobly.exe"

rm -rf "$out"
mkdir -p "$out/program"
cp "$bin/Quobly.exe" "$bin/bass.dll" "$out/program/"
"$root/tools/make-sounds.sh" demo "$out/program" >/dev/null
trace=$out/program/trace.txt
ini=$out/program/音效配置.ini  # Wine keeps file names in UTF-8; the contents are GBK
winpath() { echo "Z:${1//\//\\}"; }

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  import -window root "$out/failure.png" 2>/dev/null || true
  exit 1
}
shot() { import -window root "$out/$1.png"; }

source "$root/tests/wait-for.sh"
quobly_window() { xdotool search --onlyvisible --name '^Quobly$' 2>/dev/null | head -n1; }
window_width() { xwininfo -id "$(quobly_window)" 2>/dev/null | awk '/Width:/ { print $2 }'; }
width_is() { [ "$(window_width)" = "$1" ]; }
trace_has() { [ -f "$trace" ] && LC_ALL=C grep -q -F -- "$1" "$trace"; }
plays() { [ -f "$trace" ] && LC_ALL=C grep -c "BASS_ChannelPlay" "$trace" || echo 0; }
# click <button> <x> <y>: at a point of Quobly's window, placed at (50, 50).
click() { xdotool mousemove $((50 + $2)) $((50 + $3)) click "$1"; }

(cd "$out/program" && QUOBLY_BASS_TRACE=$(winpath "$trace") exec wine Quobly.exe) &
pids+=($!)
has_window() { [ -n "$(quobly_window)" ]; }
wait_for 30 has_window || fail "no Quobly window"
shot 1-start

# A sound button at its place: a click plays it (from the first category).
# The window ignores the mouse while its opening animation runs, so the
# click is repeated until it plays, within a limit: a board that never plays
# is broken.
played=no
for _ in $(seq 20); do
  click 1 55 125
  if wait_for 1 trace_has "BASS_ChannelPlay"; then played=yes && break; fi
done
[ $played = yes ] || fail "a click on the first sound button played nothing"
first=$(LC_ALL=C sed -n 's/.*BASS_StreamCreateFile(mem=0, file="\([^"]*\)".*/\1/p' "$trace" | head -n1)

click 3 55 125
wait_for 5 width_is 640 || fail "the panel did not slide out (width $(window_width))"
sleep 0.3
shot 2-panel-open

# F2 in the edit box. The key field takes every key, space included (space
# there says it is the stop key and drops the captured one), so nothing but
# F2 is pressed before "确定".
click 1 455 210
xdotool windowfocus --sync "$(quobly_window)" 2>/dev/null || true
xdotool key F2
sleep 0.3
shot 3-key-captured
click 1 585 212
wait_for 5 width_is 430 || fail "the panel did not slide shut"
[ -f "$ini" ] || fail "no binding file written"
LC_ALL=C grep -q -F "F2$(printf '\xbc\xfc')=$first" "$ini" || fail "F2 is not bound to $first: $(cat "$ini")"
sleep 0.3
shot 4-bound

# F2 pressed in another program plays the bound sound.
wine notepad >/dev/null 2>&1 &
pids+=($!)
wait_for 30 xdotool search --classname notepad.exe >/dev/null || fail "no notepad window"
notepad=$(xdotool search --classname notepad.exe | tail -n1)
sleep 1
xdotool windowfocus --sync "$notepad" 2>/dev/null || true
before=$(plays)
played_more() { [ "$(plays)" -gt "$before" ]; }
xdotool key F2
wait_for 5 played_more || fail "F2 in another program played nothing"
last=$(LC_ALL=C sed -n 's/.*BASS_StreamCreateFile(mem=0, file="\([^"]*\)".*/\1/p' "$trace" | tail -n1)
[ "$last" = "$first" ] || fail "F2 played $last, not $first"
shot 5-played-from-notepad

wine taskkill /im notepad.exe /f >/dev/null 2>&1 || true
wine taskkill /im Quobly.exe >/dev/null 2>&1 || true
echo "hotkey end to end: passed; screenshots in $out"
