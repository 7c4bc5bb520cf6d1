#!/usr/bin/env bash
# Installs what is missing, builds every test twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs them through CTest. The plain run comes last, so the
# output ends with its summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs="$(nproc)"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLANE_SANITIZE=ON -DQUILLANE_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# The real-window acceptance run drives the same code as the widget tests; it runs once, in the
# plain build, where it is not slowed down by the sanitizers.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 900 -LE acceptance

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== Tests"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 900
