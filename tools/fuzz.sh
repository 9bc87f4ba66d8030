#!/usr/bin/env bash
# Fuzzes every reader of untrusted bytes with libFuzzer, one target after
# the other, at the lowest CPU priority:
#   tools/fuzz.sh [seconds per target (default 600)] [target...]
# Targets: bindings gzip_decode install_record mp3_frames proxy_record
# settings_text skin_package text_buffer url_encode (default: all). What a run finds new is kept in
# build-native/fuzz/corpus/<target>, so later runs go on from there; a crash
# leaves its input in build-native/fuzz/crashes/ and fails the run. Inputs
# that once crashed a target are kept in fuzz/regressions/<target> and run
# first. An input that takes over 10 s counts as a hang and fails the run too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true

# Longest input per target: a few records, entries or frames.
declare -A max_len=(
  [bindings]=2048 [gzip_decode]=4096 [install_record]=4096 [mp3_frames]=8192
  [proxy_record]=1024 [settings_text]=2048 [skin_package]=4096 [text_buffer]=2048 [url_encode]=2048
)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(printf '%s\n' "${!max_len[@]}" | sort))

"$root/tools/build-native.sh"
fuzz=$root/build-native/fuzz
"$root/tools/make-fuzz-seeds.sh" "$fuzz/seeds"
mkdir -p "$fuzz/crashes"

summary=()
failed=0
for target in "${targets[@]}"; do
  [ -n "${max_len[$target]:-}" ] || { echo "fuzz: no target $target" >&2; exit 2; }
  mkdir -p "$fuzz/corpus/$target"
  corpora=("$fuzz/corpus/$target" "$fuzz/seeds/$target")
  [ -d "$root/fuzz/regressions/$target" ] && corpora+=("$root/fuzz/regressions/$target")
  log=$fuzz/$target.log
  echo "== fuzz_$target: $seconds s"
  status=0
  nice -n 19 "$root/build-native/fuzz_$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
    -artifact_prefix="$fuzz/crashes/$target-" -timeout=10 -print_final_stats=1 \
    "${corpora[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$status" -ne 0 ]; then
    failed=1
    tail -n 40 "$log"
    summary+=("fuzz_$target: FAILED after ${runs:-?} executions (see $log)")
  else
    summary+=("fuzz_$target: ${runs:-?} executions, corpus $(ls "$fuzz/corpus/$target" | wc -l) inputs, no crash")
  fi
done
printf '%s\n' "${summary[@]}"
exit "$failed"
