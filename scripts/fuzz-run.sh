#!/usr/bin/env bash
# Builds one libFuzzer target with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs it. Called by scripts/fuzz-rtf.sh, scripts/fuzz-text.sh and scripts/fuzz-markdown.sh.
#   scripts/fuzz-run.sh TARGET [SECONDS] [LOG]     defaults: 1800 s, /tmp/fuzz-TARGET.log
# The working corpus lives outside the repository (FUZZ_CORPUS, default /tmp/fuzz-TARGET-corpus)
# and starts from the saved corpus in tests/fuzz/corpus/TARGET; findings go to FUZZ_ARTIFACTS
# (default /tmp/fuzz-TARGET-artifacts). Extra libFuzzer flags: FUZZ_FLAGS.
set -euo pipefail
cd "$(dirname "$0")/.."
target="$1"
seconds="${2:-1800}"
log="${3:-/tmp/fuzz-$target.log}"
build="${FUZZ_BUILD:-build-fuzz}"
corpus="${FUZZ_CORPUS:-/tmp/fuzz-$target-corpus}"
artifacts="${FUZZ_ARTIFACTS:-/tmp/fuzz-$target-artifacts}"

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLANE_FUZZ=ON -DQUILLANE_TESTS=OFF -DQUILLANE_BENCH=OFF >/dev/null
# Both targets share one build folder; a lock keeps two scripts started together from
# compiling the same objects at once.
flock "$build/fuzz-build.lock" cmake --build "$build" -j2 --target "${target}_fuzzer"

mkdir -p "$corpus" "$artifacts"
cp -n "tests/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
dict=()
if [ -f "tests/fuzz/$target.dict" ]; then dict=(-dict="tests/fuzz/$target.dict"); fi
status=0
# shellcheck disable=SC2086
ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/bin/${target}_fuzzer" "$corpus" "${dict[@]}" \
  -max_len="${FUZZ_MAX_LEN:-16384}" -timeout=20 -rss_limit_mb=2048 \
  -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" \
  ${FUZZ_FLAGS:-} >"$log" 2>&1 || status=$?
echo "fuzzing ended with status $status; log in $log"
tail -n 20 "$log"
exit "$status"
