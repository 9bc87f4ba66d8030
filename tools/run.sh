#!/usr/bin/env bash
# Sets up the machine, builds, and runs the soundboard under Wine: on the
# current X display when there is one, else on a private Xvfb display. The
# sound goes to this machine's own output; only a machine without one gets
# the ALSA null sink that the tests play into.
#   tools/run.sh                  build and run
#   tools/run.sh --check-audio    only say which output a run would use
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The machine whose sound is judged: tests point it at a fake one.
audio_root=${QUOBLY_AUDIO_ROOT:-}
# The soundboard runs as the 64-bit build under 64-bit Wine, whose ALSA loads
# only the amd64 plugins.
alsa_plugins=$audio_root/usr/lib/x86_64-linux-gnu/alsa-lib

# Whether the ALSA configuration (the system's, or the user's own) leads the
# default device to a PulseAudio or PipeWire server, directly or (as
# Debian's pulseaudio package does) through a hook that does so while the
# server runs; prints "pulse" or "pipewire".
default_server_kind() {
  local file
  for file in "$audio_root"/etc/alsa/conf.d/*.conf "$audio_root/etc/asound.conf" "${HOME:-}/.asoundrc"; do
    [ -f "$file" ] && grep -qE '!default|load_if_running' "$file" || continue
    if grep -q pipewire "$file"; then
      echo pipewire
      return
    elif grep -q pulse "$file"; then
      echo pulse
      return
    fi
  done
  return 1
}

# The socket of the running server of that kind.
server_socket() {
  local runtime=${XDG_RUNTIME_DIR:-/run/user/$(id -u)} socket
  case $1 in
    pulse) socket=${PULSE_SERVER:-$runtime/pulse/native} socket=${socket#unix:} ;;
    pipewire) socket=$runtime/pipewire-0 ;;
  esac
  [ -S "$socket" ] && echo "$socket"
}

# The name of the first sound card that has a playback device and is a real
# one: the dummy and loopback drivers play into nothing anyone hears.
playback_card() {
  local asound=$audio_root/proc/asound
  [ -r "$asound/cards" ] && [ -r "$asound/pcm" ] || return 1
  awk '
    NR == FNR { if ($0 ~ /: playback [0-9]+/) { split($1, id, "-"); plays[id[1] + 0] = 1 }; next }
    $1 ~ /^[0-9]+$/ && $2 ~ /^\[/ {
      rest = substr($0, index($0, "]: ") + 3)
      driver = rest; sub(/ - .*/, "", driver)
      name = substr(rest, index(rest, " - ") + 3)
      if (plays[$1 + 0] && driver != "Dummy" && driver != "Loopback") { print name; found = 1; exit }
    }
    END { exit !found }
  ' "$asound/pcm" "$asound/cards"
}

# Prints "real: <what>" when the machine has a sound output that Wine's
# ALSA reaches, else "null: <why>"; fails in the second case.
sound_output() {
  local kind socket card
  local -A plugin_package=([pulse]=libasound2-plugins:amd64 [pipewire]=pipewire-alsa:amd64)
  # While the server runs, the cards are its own: only the server plays.
  if kind=$(default_server_kind) && socket=$(server_socket "$kind"); then
    if [ ! -e "$alsa_plugins/libasound_module_pcm_$kind.so" ]; then
      echo "null: the ALSA null sink (the $kind server has no 64-bit ALSA plugin: install ${plugin_package[$kind]})"
      return 1
    fi
    echo "real: the $kind server at $socket"
  elif card=$(playback_card); then
    echo "real: the sound card $card"
  else
    echo "null: the ALSA null sink (no sound card and no sound server)"
    return 1
  fi
}

if [ "${1:-}" = --check-audio ]; then
  sound_output || true
  exit 0
fi

"$root/tools/build.sh" x64
# A fresh machine has no sounds yet: make the demo library beside the program.
[ -d "$root/build/bin/主持音效" ] || "$root/tools/make-sounds.sh" demo "$root/build/bin"
source "$root/tools/wine-env.sh"
output=$(sound_output) || true
echo "run: sound goes to ${output#*: }"
# wine-env.sh chose the null sink; a named set-up still wins over the machine's own.
if [ "${output%%:*}" = real ] && [ -z "${QUOBLY_ALSA_CONFIG_PATH:-}" ]; then
  unset ALSA_CONFIG_PATH
fi
trap 'wine_session_end; xvfb_stop' EXIT
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start
  echo "run: no X display set; Quobly runs on the private display $DISPLAY"
fi
wine_session_begin
wine "$root/build/bin/Quobly.exe"
