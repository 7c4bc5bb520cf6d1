#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it.
#   scripts/fuzz-rtf.sh [SECONDS] [LOG]     defaults: 1800 s, /tmp/fuzz-rtf.log
# The working corpus lives outside the repository (FUZZ_CORPUS, default /tmp/fuzz-rtf-corpus)
# and starts from the small seed corpus in tests/fuzz/corpus/rtf; findings go to
# FUZZ_ARTIFACTS (default /tmp/fuzz-rtf-artifacts).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-1800}"
log="${2:-/tmp/fuzz-rtf.log}"
build="${FUZZ_BUILD:-build-fuzz}"
corpus="${FUZZ_CORPUS:-/tmp/fuzz-rtf-corpus}"
artifacts="${FUZZ_ARTIFACTS:-/tmp/fuzz-rtf-artifacts}"

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLANE_FUZZ=ON -DQUILLANE_TESTS=OFF -DQUILLANE_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target rtf_reader_fuzzer

mkdir -p "$corpus" "$artifacts"
cp -n tests/fuzz/corpus/rtf/* "$corpus"/
status=0
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/bin/rtf_reader_fuzzer" "$corpus" \
  -dict=tests/fuzz/rtf.dict -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" \
  >"$log" 2>&1 || status=$?
echo "fuzzing ended with status $status; log in $log"
tail -n 20 "$log"
exit "$status"
