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
  ctest --preset "$preset" -L core -j2 --no-tests=error
done
cmake --preset fuzz
cmake --build --preset fuzz
# Every target that fuzz/CMakeLists.txt declares must have been built and must run; a missing
# one fails the job rather than being skipped.
targets=$(sed -n 's/^volt_add_fuzzer(\(fuzz_[A-Za-z0-9_]*\).*/\1/p' fuzz/CMakeLists.txt)
[ -n "$targets" ] || { echo "no fuzz targets declared in fuzz/CMakeLists.txt" >&2; exit 1; }
for name in $targets; do
  target="build/fuzz/bin/$name"
  [ -x "$target" ] || { echo "fuzz target $name was not built" >&2; exit 1; }
  corpus="fuzz/corpus/$name"
  mkdir -p "build/fuzz/corpus/$name"
  "$target" -max_total_time="${VOLT_FUZZ_SECONDS:-30}" -timeout=5 -rss_limit_mb=2048 \
    "build/fuzz/corpus/$name" $( [ -d "$corpus" ] && echo "$corpus" )
done
