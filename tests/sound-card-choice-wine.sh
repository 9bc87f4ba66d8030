#!/usr/bin/env bash
# The stored sound card across starts, on two wave-out devices whose ALSA
# devices write what they play to files: Wine lists the devices named in
# the prefix's ALSAOutputDevices whose ALSA device opens, once a process, so
# a card "goes missing" for a start whose ALSA set-up leaves it out.
#   sound-card-choice-wine.sh BIN_DIR OUT_DIR
set -u
source "$(dirname "$0")/../tools/wine-env.sh"
bin=$(realpath "$1")
out=$2
probe=$bin/card_choice_probe.exe
wine_select_arch_of "$probe" || exit 1
rm -rf "$out" && mkdir -p "$out" || exit 1
out=$(realpath "$out")
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The two devices stay listed for this test's processes only: any other
# process in the prefix meanwhile has no ALSA device of these names, and Wine
# leaves a device out when it does not open.
drivers='HKCU\Software\Wine\Drivers\winealsa.drv'
wine reg add "$drivers" /v ALSAOutputDevices /t REG_MULTI_SZ /d 'quoblyA\0quoblyB' /f >/dev/null 2>&1 || exit 1
trap 'wine reg delete "$drivers" /v ALSAOutputDevices /f >/dev/null 2>&1' EXIT

# config <name> <device>...: an ALSA set-up where each device writes to
# <device>.raw in OUT_DIR; the default output discards.
config() {
  local file=$out/$1.conf device
  shift
  printf 'pcm.!default { type null }\n' >"$file"
  for device in "$@"; do
    printf 'pcm.%s { type file slave.pcm "null" file "%s/%s.raw" format "raw" }\n' "$device" "$out" "$device" >>"$file"
  done
}
config both quoblyA quoblyB
config without-b quoblyA

ini=$out/settings.ini
printf '[声卡]\r\n输出=Out: quoblyB\r\n' | iconv -f UTF-8 -t GBK >"$ini"
ini_win=$(winepath -w "$ini" 2>/dev/null)
sound_win=$(winepath -w "$bin/audio-media/cbr.mp3" 2>/dev/null)

# start <config>: one start of the probe; prints what it played on.
start() {
  rm -f "$out"/*.raw
  ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$out/$1.conf wine "$probe" "$ini_win" "$sound_win" 2>>"$out/wine.log" |
    tr -d '\r'
}
bytes() { stat -c %s "$out/$1.raw" 2>/dev/null || echo 0; }

got=$(start both)
[ "$got" = "device=3" ] || fail "the stored card, present: played on '$got', not device 3"
[ "$(bytes quoblyB)" -gt 0 ] || fail "the stored card, present: nothing reached it"
[ "$(bytes quoblyA)" -eq 0 ] || fail "the stored card, present: the other card played too"

got=$(start without-b)
[ "$got" = "device=-1" ] || fail "the stored card, missing: played on '$got', not the default output"
[ "$(bytes quoblyA)" -eq 0 ] || fail "the stored card, missing: another card played"
grep -q 'quoblyB' "$ini" || fail "the stored card, missing: the choice was not kept"

got=$(start both)
[ "$got" = "device=3" ] || fail "the stored card, back: played on '$got', not device 3"
[ "$(bytes quoblyB)" -gt 0 ] || fail "the stored card, back: nothing reached it"

[ $failures -eq 0 ] && echo "sound-card-choice: the stored card played where it was present, the default where not"
exit $((failures > 0))
