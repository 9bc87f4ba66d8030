#!/usr/bin/env bash
# Which sound output tools/run.sh gives Wine, judged on fake machines: their
# /proc/asound, ALSA configuration, 64-bit ALSA plugins and sound-server
# sockets live in a temporary folder, so neither this machine's hardware nor
# its set-up matters, and nothing of it changes.
#   tests/run-sound-output.sh
set -euo pipefail
run=$(cd "$(dirname "$0")/.." && pwd)/tools/run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A new, empty machine; the lines below furnish it.
machine() {
  machine=$work/$1
  mkdir -p "$machine/root/proc/asound" "$machine/home" "$machine/runtime"
}
cards() { printf '%s\n' "$@" >"$machine/root/proc/asound/cards"; }
pcms() { printf '%s\n' "$@" >"$machine/root/proc/asound/pcm"; }
alsa_conf() { mkdir -p "$machine/root/etc/alsa/conf.d" && printf '%s\n' "$2" >"$machine/root/etc/alsa/conf.d/$1"; }
plugin() {
  mkdir -p "$machine/root/usr/lib/x86_64-linux-gnu/alsa-lib"
  touch "$machine/root/usr/lib/x86_64-linux-gnu/alsa-lib/libasound_module_pcm_$1.so"
}
# A socket file as a running server leaves it.
server_socket() {
  mkdir -p "$(dirname "$machine/runtime/$1")"
  python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$machine/runtime/$1"
}

# expect <what> <"real: ..." or "null: ..." as run.sh prints it, or its start>
expect() {
  local got
  got=$(env -u PULSE_SERVER QUOBLY_AUDIO_ROOT="$machine/root" HOME="$machine/home" \
    XDG_RUNTIME_DIR="$machine/runtime" bash "$run" --check-audio)
  if [[ $got != "$2"* ]]; then
    echo "FAIL: $1: expected '$2...', got '$got'" >&2
    failures=$((failures + 1))
  fi
}

hda_card=(' 0 [PCH            ]: HDA-Intel - HDA Intel PCH' '                      HDA Intel PCH at 0xf7f10000 irq 32')
hda_pcm='00-00: ALC892 Analog : ALC892 Analog : playback 1 : capture 1'
pulse_hook='@hooks [ { func pulse_load_if_running files [ "/usr/share/alsa/pulse-alsa.conf" ] errors false } ]'

# Sound cards, with no sound server configured.
machine no-asound
rm -r "$machine/root/proc/asound"
expect "no /proc/asound (a container)" "null: the ALSA null sink"
machine no-cards
cards '--- no soundcards ---'
pcms
expect "no sound card" "null: the ALSA null sink"
machine virtual-cards
cards ' 0 [Dummy          ]: Dummy - Dummy' '                      Dummy 1' \
  ' 1 [Loopback       ]: Loopback - Loopback' '                      Loopback 1'
pcms '00-00: Dummy PCM : Dummy PCM : playback 8 : capture 8' '01-00: Loopback PCM : Loopback PCM : playback 8 : capture 8'
expect "only the dummy and loopback drivers" "null: the ALSA null sink"
machine microphone-only
cards ' 0 [Mic            ]: USB-Audio - USB Microphone' '                      USB Microphone at usb-0000:00:14.0-2'
pcms '00-00: USB Audio : USB Audio : capture 1'
expect "a card that only records" "null: the ALSA null sink"
machine hda
cards "${hda_card[@]}"
pcms "$hda_pcm"
expect "a card that plays" "real: the sound card HDA Intel PCH"
machine hdmi-after-loopback
cards ' 0 [Loopback       ]: Loopback - Loopback' '                      Loopback 1' \
  ' 1 [NVidia         ]: HDA-Intel - HDA NVidia' '                      HDA NVidia at 0xf7080000 irq 17'
pcms '00-00: Loopback PCM : Loopback PCM : playback 8 : capture 8' '01-03: HDMI 0 : HDMI 0 : playback 1'
expect "a real card after a virtual one" "real: the sound card HDA NVidia"

# ALSA's default led to a sound server.
machine pulse
cards "${hda_card[@]}"
pcms "$hda_pcm"
alsa_conf 99-pulse.conf "$pulse_hook"
server_socket pulse/native
plugin pulse
expect "a running PulseAudio with the 64-bit plugin" "real: the pulse server at $machine/runtime/pulse/native"
machine pulse-without-plugin
cards "${hda_card[@]}"
pcms "$hda_pcm"
alsa_conf 99-pulse.conf "$pulse_hook"
server_socket pulse/native
expect "a running PulseAudio holding the card, no 64-bit plugin" \
  "null: the ALSA null sink (the pulse server has no 64-bit ALSA plugin: install libasound2-plugins:amd64)"
machine pulse-stopped
cards "${hda_card[@]}"
pcms "$hda_pcm"
alsa_conf 99-pulse.conf "$pulse_hook"
plugin pulse
expect "PulseAudio configured but not running" "real: the sound card HDA Intel PCH"
machine pipewire-in-asoundrc
printf 'pcm.!default { type pipewire }\n' >"$machine/home/.asoundrc"
server_socket pipewire-0
plugin pipewire
expect "PipeWire named by the user's own configuration, no card visible" "real: the pipewire server at"
machine pipewire-without-plugin
alsa_conf 99-pipewire-default.conf 'pcm.!default { @func refer name { @func concat strings [ "pcm.pipewire" ] } }'
server_socket pipewire-0
plugin pulse
expect "PipeWire without its own 64-bit plugin" "null: the ALSA null sink (the pipewire server has no 64-bit ALSA plugin: install pipewire-alsa:amd64)"

if [ $failures -gt 0 ]; then
  echo "$failures case(s) failed" >&2
  exit 1
fi
echo "all cases passed"
