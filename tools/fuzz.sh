#!/usr/bin/env bash
# Fuzzes the portable settings-file reader and writer with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer for a bounded time.
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
out=build/fuzz
mkdir -p "$out/corpus"
# The compiler and its fuzzing runtime come as one pinned version.
clang++-14 -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I. tests/fuzz/profile_fuzz.cpp store/portable_profile.cpp store/portable_file_store.cpp \
  store/profile_text.cpp -o "$out/profile_fuzz"
"$out/profile_fuzz" -max_total_time="$seconds" -print_final_stats=1 "$out/corpus" \
  >"$out/fuzz.log" 2>&1 || { tail -n 60 "$out/fuzz.log"; exit 1; }
grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$out/fuzz.log" || true
echo "fuzzing: no findings in ${seconds} s"
