#!/usr/bin/env bash
# Installs what is missing, builds every test twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs them through CTest. Warnings are errors here. Each phase
# reports its time; the plain run comes last, so the output ends with its summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs="$(nproc)"
phase_start=$SECONDS
phase_done() {
    echo "== $1 took $((SECONDS - phase_start)) s"
    phase_start=$SECONDS
}

# Ninja keeps both cores busy to the last link, where make leaves one idle at each folder's end.
# Line tables (-g1) are all the sanitizers' reports need, and cost less to compile than -g.
scripts/configure.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLANE_SANITIZE=ON -DQUILLANE_BENCH=OFF \
    -DQUILLANE_WERROR=ON -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1
cmake --build build-asan -j"$jobs"
phase_done "Building with the sanitizers"
echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# The real-window acceptance run drives the same code as the widget tests; it runs once, in the
# plain build, where it is not slowed down by the sanitizers.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 900 -LE acceptance
phase_done "Testing with the sanitizers"

# The optimised build the program ships as, without debug information: no one reads it here,
# and leaving it out saves a quarter of the compile time.
scripts/configure.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLANE_WERROR=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG"
cmake --build build -j"$jobs"
phase_done "Building"
echo "== Tests"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 900
