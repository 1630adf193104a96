#!/usr/bin/env bash
# The core tests under AddressSanitizer + UndefinedBehaviorSanitizer and ThreadSanitizer, then each
# fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for preset in asan tsan; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" -L core -j2
done
cmake --preset fuzz
cmake --build --preset fuzz
for target in build/fuzz/bin/fuzz_*; do
  [ -x "$target" ] || continue
  corpus="fuzz/corpus/$(basename "$target")"
  mkdir -p "build/fuzz/corpus/$(basename "$target")"
  "$target" -max_total_time="${VOLT_FUZZ_SECONDS:-30}" -timeout=5 -rss_limit_mb=2048 \
    "build/fuzz/corpus/$(basename "$target")" $( [ -d "$corpus" ] && echo "$corpus" )
done
