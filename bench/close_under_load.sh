#!/usr/bin/env bash
# Closing under load: three busy loops hold the machine's cores while the window-gestures
# acceptance test runs N times in a row; each run closes the window during a walk of 105,000
# files. Prints each run's verdict and its close-to-exit time (from the X server taking the
# close message to the end of the process), then min, median and max, and the load average.
#
#   bench/close_under_load.sh BUILD-DIR [N]
#
# BUILD-DIR is a configured build folder with the program and the acceptance helpers built;
# N defaults to 20. The busy loops are stopped however the script ends.
set -uo pipefail

build=${1:?usage: bench/close_under_load.sh BUILD-DIR [N]}
runs=${2:-20}
readonly test_name=acceptance.window_gestures
[[ $(ctest --test-dir "$build" -N -R "^${test_name}\$") == *"$test_name"* ]] ||
    { echo "no test $test_name in $build" >&2; exit 2; }
logs=$(mktemp -d "${TMPDIR:-/tmp}/close-under-load-XXXXXX")

loops=()
stop_loops() {
    [ ${#loops[@]} -gt 0 ] && kill "${loops[@]}" 2>/dev/null
    wait "${loops[@]}" 2>/dev/null
    loops=()
}
trap stop_loops EXIT
trap 'exit 130' INT TERM
for _ in 1 2 3; do
    sh -c 'while :; do :; done' &
    loops+=($!)
done
echo "three busy loops on $(nproc) cores; logs in $logs"

times=()
passed=0
for run in $(seq "$runs"); do
    log="$logs/run-$run.log"
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$build" -R "^${test_name}\$" -V --output-on-failure >"$log" 2>&1
    status=$?
    verdict=fail
    if grep -q "Test #[0-9]*: $test_name .*\*\*\*Skipped" "$log"; then
        verdict=skipped
    elif [ $status -eq 0 ]; then
        verdict=pass
        passed=$((passed + 1))
    fi
    ms=$(sed -n 's/.*close-to-exit: \([0-9]*\) ms$/\1/p' "$log" | tail -n1)
    shown=none
    [ -n "$ms" ] && times+=("$ms") && shown="$ms ms"
    reason=
    [ $verdict = fail ] && reason=" ($(grep -m1 'FAIL:' "$log" || echo "see $log"))"
    printf 'run %2d: %-7s close-to-exit: %s  load %s%s\n' "$run" "$verdict" "$shown" \
        "$(cut -d' ' -f1-3 /proc/loadavg)" "$reason"
done
stop_loops

echo "passed $passed of $runs"
if [ ${#times[@]} -gt 0 ]; then
    mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
    count=${#sorted[@]}
    if [ $((count % 2)) -eq 1 ]; then
        median=${sorted[$((count / 2))]}
    else
        median=$(((sorted[count / 2 - 1] + sorted[count / 2]) / 2))
    fi
    echo "close-to-exit over $count runs: min ${sorted[0]} ms, median $median ms, max ${sorted[count - 1]} ms"
fi
[ "$passed" -eq "$runs" ]
