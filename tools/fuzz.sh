#!/usr/bin/env bash
# Fuzzes every reader of typed or stored text with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer: the settings file, the site values in it, decimals, the typed
# degrees, the orbital position at the end of a satellite's name and the dish trace format.
# The seconds are shared among the targets; each starts from its seeds in tests/fuzz/corpus/
# and from what earlier runs found. A finding fails the run and is shown with its input.
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
out=build/fuzz

declare -A sources=(
  [profile]="store/portable_profile.cpp store/portable_file_store.cpp store/profile_text.cpp"
  [settings_site]="store/settings_file.cpp store/profile_text.cpp store/factory_satellite_table.cpp
                   positioner/positioner_model.cpp positioner/decimal_text.cpp positioner/usals.cpp"
  [decimal]="positioner/decimal_text.cpp"
  [typed_angle]="positioner/decimal_text.cpp positioner/usals.cpp"
  [orbital_position]="positioner/decimal_text.cpp positioner/usals.cpp"
  [dish_trace]="simulator/dish_trace.cpp positioner/hex_byte.cpp"
)
targets=(profile settings_site decimal typed_angle orbital_position dish_trace)
share=$((seconds / ${#targets[@]}))
((share > 0)) || share=1

# Rebuilt only when a source, a header or this script is newer than the target.
build() {
  local target=$1 binary=$out/$1/fuzz
  local files=(tests/fuzz/${target}_fuzz.cpp ${sources[$target]})
  if [ -x "$binary" ] && [ -z "$(find "${files[@]}" tests/fuzz/*.h positioner/*.h store/*.h \
      simulator/*.h "$0" -newer "$binary" 2>/dev/null)" ]; then
    return 0
  fi
  # The compiler and its fuzzing runtime come as one pinned version.
  clang++-14 -std=c++20 -g -O1 -Wall -Wextra -Wpedantic -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I. "${files[@]}" -o "$binary"
}

# Two builds at a time: the machine has two cores.
building=()
for target in "${targets[@]}"; do
  mkdir -p "$out/$target/corpus"
  build "$target" &
  building+=($!)
  if ((${#building[@]} == 2)); then
    wait "${building[0]}"
    building=("${building[@]:1}")
  fi
done
for pid in "${building[@]}"; do wait "$pid"; done

[ -w /dev/shm ] && export TMPDIR=/dev/shm
found=0
for target in "${targets[@]}"; do
  log=$out/$target/fuzz.log
  dictionary=tests/fuzz/$target.dict
  options=(-max_total_time="$share" -timeout=10 -max_len=8192 -print_final_stats=1
    -artifact_prefix="$out/$target/")
  [ -f "$dictionary" ] && options+=(-dict="$dictionary")
  rm -f "$out/$target"/crash-* "$out/$target"/leak-* "$out/$target"/timeout-* "$out/$target"/oom-*
  if "$out/$target/fuzz" "${options[@]}" "$out/$target/corpus" "tests/fuzz/corpus/$target" \
      >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    printf '%-17s %9s runs in %s s, no findings\n' "$target:" "${runs:-?}" "$share"
    continue
  fi
  found=1
  echo "$target: FINDING"
  grep -E -m3 'invariant broken|runtime error|ERROR: (AddressSanitizer|LeakSanitizer)|^SUMMARY|ALARM' \
    "$log" || tail -n 20 "$log"
  for input in "$out/$target"/{crash,leak,timeout,oom}-*; do
    [ -f "$input" ] || continue
    echo "input ($(wc -c <"$input") bytes), kept as $input:"
    head -c 512 "$input" | od -An -c | head -n 12
    echo "run it again with: $out/$target/fuzz $input"
  done
done
if ((found)); then
  echo "fuzzing: findings above (full logs in $out/*/fuzz.log)"
  exit 1
fi
echo "fuzzing: no findings in ${seconds} s"
