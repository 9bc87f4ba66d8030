#!/usr/bin/env bash
# Makes MP3 sound effects from nothing but espeak-ng speech and sox tones and
# noise, encoded with lame:
#   tools/make-sounds.sh demo [folder]  the demo library: a few effects in each of
#                                       the soundboard's three category folders
#                                       (default: build/bin, beside Quobly.exe)
#   tools/make-sounds.sh test <folder>  the test media of the audio library's
#                                       tests, with reference decodes
#   tools/make-sounds.sh tone <seconds> <file.mp3> [lame options]
#                                       one 440 Hz tone, for any test that needs
#                                       a sound of a given length
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# encode <wav> <mp3> [lame options]: quiet, 44.1 kHz joint stereo unless told otherwise.
encode() {
  local wav=$1 mp3=$2
  shift 2
  lame --quiet "$@" "$wav" "$mp3"
}

# speak <voice> <text> <wav> [sox effects]: speech, made louder and stereo at 44.1 kHz.
speak() {
  local voice=$1 text=$2 wav=$3
  shift 3
  espeak-ng -v "$voice" -s 150 -w "$work/speech.wav" "$text"
  sox "$work/speech.wav" -r 44100 -c 2 "$wav" norm -1 "$@"
}

# synth <wav> <sox synth arguments...>: a made sound at 44.1 kHz stereo.
synth() {
  local wav=$1
  shift
  sox -R -n -r 44100 -c 2 "$wav" synth "$@"
}

make_demo() {
  local out=$1
  local host=$out/主持音效 shout=$out/喊麦音效 comic=$out/搞笑音效
  mkdir -p "$host" "$shout" "$comic"

  # Host effects: greetings, applause, a drum roll, a fanfare, a chime.
  speak cmn "欢迎光临" "$work/a.wav" reverb 30
  encode "$work/a.wav" "$host/欢迎光临.mp3"
  speak cmn "下面有请" "$work/a.wav"
  encode "$work/a.wav" "$host/下面有请.mp3"
  synth "$work/a.wav" 3 pinknoise tremolo 17 90 fade q 0.2 3 1 gain -6
  encode "$work/a.wav" "$host/掌声.mp3"
  synth "$work/a.wav" 2.5 brownnoise tremolo 24 100 fade h 1.5 2.5 0.3 gain -3
  encode "$work/a.wav" "$host/鼓声.mp3"
  synth "$work/f1.wav" 0.18 square 523 fade 0 0.18 0.03 gain -12
  synth "$work/f2.wav" 0.18 square 659 fade 0 0.18 0.03 gain -12
  synth "$work/f3.wav" 0.18 square 784 fade 0 0.18 0.03 gain -12
  synth "$work/f4.wav" 0.8 square 1047 fade 0 0.8 0.3 gain -12
  sox "$work/f1.wav" "$work/f2.wav" "$work/f3.wav" "$work/f4.wav" "$work/a.wav"
  encode "$work/a.wav" "$host/开场号角.mp3"
  synth "$work/a.wav" 1.5 sine 1319 sine 1568 fade 0 1.5 1.4 gain -8
  encode "$work/a.wav" "$host/叮咚.mp3"

  # Shout effects: announcer calls with echo, an air horn, a siren.
  speak cmn "大家好" "$work/a.wav" gain -2 echo 0.8 0.8 120 0.5
  encode "$work/a.wav" "$shout/大家好.mp3"
  speak cmn "掌声响起来" "$work/a.wav" gain -2 echo 0.8 0.7 150 0.4
  encode "$work/a.wav" "$shout/掌声响起来.mp3"
  speak cmn "来吧" "$work/a.wav" pitch -200 echos 0.8 0.7 100 0.4 200 0.25
  encode "$work/a.wav" "$shout/来吧.mp3"
  synth "$work/a.wav" 1.2 sawtooth 466 sawtooth 554 fade 0.02 1.2 0.1 gain -10
  encode "$work/a.wav" "$shout/气笛.mp3"
  synth "$work/a.wav" 2 sine 600-1200 sine 600-1200 tremolo 2 50 gain -8 fade 0 2 0.2
  encode "$work/a.wav" "$shout/警报.mp3"

  # Comic effects: laughter, a slide whistle, a boing, a sad trombone, a pop.
  speak cmn "哈哈哈哈" "$work/a.wav" pitch 500 tempo 1.3
  encode "$work/a.wav" "$comic/哈哈哈.mp3"
  synth "$work/a.wav" 1 sine 400-2000 fade 0 1 0.1 gain -8
  encode "$work/a.wav" "$comic/滑哨.mp3"
  synth "$work/a.wav" 0.8 sine 180-90 tremolo 12 60 fade 0 0.8 0.3 gain -4
  encode "$work/a.wav" "$comic/弹簧.mp3"
  synth "$work/t1.wav" 0.4 sawtooth 392 fade 0 0.4 0.05 gain -14
  synth "$work/t2.wav" 0.4 sawtooth 370 fade 0 0.4 0.05 gain -14
  synth "$work/t3.wav" 0.4 sawtooth 349 fade 0 0.4 0.05 gain -14
  synth "$work/t4.wav" 1.2 sawtooth 330 tremolo 6 40 fade 0 1.2 0.5 gain -14
  sox "$work/t1.wav" "$work/t2.wav" "$work/t3.wav" "$work/t4.wav" "$work/a.wav"
  encode "$work/a.wav" "$comic/失落长号.mp3"
  synth "$work/a.wav" 0.15 sine 1200-300 fade 0 0.15 0.1 gain -4
  encode "$work/a.wav" "$comic/啵.mp3"
}

make_tone() {
  local seconds=$1 mp3=$2
  shift 2
  synth "$work/tone.wav" "$seconds" sine 440 gain -6
  encode "$work/tone.wav" "$mp3" "$@"
}

make_test_media() {
  local out=$1
  mkdir -p "$out"
  # A two-second sweep with a little noise: every stretch differs, so a decode
  # that drops or repeats frames cannot match its reference.
  synth "$work/sweep.wav" 2 sine 200-4000 sine 330 whitenoise remix 1v0.4,2v0.4,3v0.05 1v0.3,2v0.5,3v0.05 gain -3
  encode "$work/sweep.wav" "$out/cbr.mp3" -b 128
  encode "$work/sweep.wav" "$out/cbr-bare.mp3" -b 128 -t
  encode "$work/sweep.wav" "$out/vbr.mp3" -V 2
  encode "$work/sweep.wav" "$out/vbr-bare.mp3" -V 2 -t
  encode "$work/sweep.wav" "$out/id3v2.mp3" -b 128 --id3v2-only --pad-id3v2-size 5000 --tt "测试" --ta "Quobly"
  encode "$work/sweep.wav" "$out/mpeg2-mono.mp3" -m m --resample 22.05 -b 48
  encode "$work/sweep.wav" "$out/mpeg25-mono.mp3" -m m --resample 8 -b 16
  # Reference decodes by lame's own decoder (16-bit, no header).
  for name in cbr vbr mpeg2-mono; do
    lame --quiet --decode -t "$out/$name.mp3" "$out/$name.pcm"
  done
  make_tone 10 "$out/tone-10s.mp3" -b 64

  # Damaged files: cut in the middle, garbage in the middle, not MP3 at all.
  # The garbage is repeatable noise, so every run tests the same bytes.
  sox -R -n -t raw -r 8000 -b 8 -e signed -c 1 "$work/noise.raw" synth 3 whitenoise
  head -c 15000 "$out/cbr.mp3" >"$out/truncated.mp3"
  { head -c 12000 "$out/cbr.mp3"; head -c 4000 "$work/noise.raw"; tail -c +16001 "$out/cbr.mp3"; } >"$out/garbage-inside.mp3"
  head -c 20000 "$work/noise.raw" >"$out/noise.mp3"
  sox "$work/sweep.wav" "$out/wave.mp3.wav" && mv "$out/wave.mp3.wav" "$out/wave.mp3"
  printf 'ID3\x04\x00\x00\x7f\x7f\x7f\x7f' >"$out/tag-only.mp3"
  : >"$out/empty.mp3"
}

case "${1:-}" in
  demo) make_demo "${2:-$root/build/bin}" ;;
  test) make_test_media "$2" ;;
  tone) shift; make_tone "$@" ;;
  *)
    sed -n '2,11s/^# \{0,1\}//p' "$0" >&2
    exit 2
    ;;
esac
