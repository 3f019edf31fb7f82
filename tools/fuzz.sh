#!/usr/bin/env bash
# Fuzzes every reader of typed or stored text with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer: the settings file, the site values in it, decimals, the typed
# degrees, the orbital position at the end of a satellite's name and the dish trace format.
# The seconds are shared among the targets, which run side by side on the
# machine's cores; each starts from its seeds in tests/fuzz/corpus/
# and from what earlier runs found. A finding fails the run and is shown with its input.
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
out=build/fuzz

# The preset builds the targets with clang, whose fuzzing runtime comes in the
# same pinned version; the build knows what is out of date.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
# Each target <name> of tests/fuzz/CMakeLists.txt is built as <name>_fuzz.
mapfile -t targets <"$out/fuzz_targets.txt"
share=$((seconds / ${#targets[@]}))
((share > 0)) || share=1

# profile_fuzz writes each input to a file there: in memory, a run tries many more.
[ -w /dev/shm ] && export TMPDIR=/dev/shm

# fuzz_target NAME: fuzzes one target for its share; on a finding, prints it
# with its inputs and fails.
fuzz_target() {
  local target=$1 log=$out/$1/fuzz.log dictionary=tests/fuzz/$1.dict runs input
  local options=(-max_total_time="$share" -timeout=10 -max_len=8192 -print_final_stats=1
    -artifact_prefix="$out/$target/")
  [ -f "$dictionary" ] && options+=(-dict="$dictionary")
  # A finding of an earlier run, fixed or not, is not this run's.
  rm -f "$out/$target"/crash-* "$out/$target"/leak-* "$out/$target"/timeout-* "$out/$target"/oom-*
  mkdir -p "$out/$target/corpus"
  if "$out/${target}_fuzz" "${options[@]}" "$out/$target/corpus" "tests/fuzz/corpus/$target" \
      >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf '%-17s %9s runs in %s s, no findings\n' "$target:" "${runs:-?}" "$share"
    return 0
  fi
  # One block of text, so that the lanes' reports do not interleave.
  local report
  report=$(
    echo "$target: FINDING"
    grep -E -m3 'invariant broken|runtime error|ERROR: (AddressSanitizer|LeakSanitizer)|^SUMMARY|ALARM' \
      "$log" || tail -n 20 "$log"
    for input in "$out/$target"/{crash,leak,timeout,oom}-*; do
      [ -f "$input" ] || continue
      echo "input ($(wc -c <"$input") bytes), kept as $input:"
      head -c 512 "$input" | od -An -c | head -n 12
      echo "run it again with: $out/${target}_fuzz $input"
    done
  ) || true
  printf '%s\n' "$report"
  return 1
}

# Each target runs on one core: as many run at once as there are cores, each
# for the same share as one after the other.
lanes=$(nproc)
found=0
running=0
# one_lane_ends: waits for a target to end, and keeps whether it found anything.
one_lane_ends() {
  wait -n || found=1
  running=$((running - 1))
}
for target in "${targets[@]}"; do
  ((running < lanes)) || one_lane_ends
  fuzz_target "$target" &
  running=$((running + 1))
done
while ((running > 0)); do one_lane_ends; done
if ((found)); then
  echo "fuzzing: findings above (full logs in $out/*/fuzz.log)"
  exit 1
fi
echo "fuzzing: no findings, ${share} s a target"
