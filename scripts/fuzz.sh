#!/bin/sh
# Builds the native fuzz targets of fuzz/ (clang: libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build/fuzz/ and runs each for FUZZ_SECONDS
# (default 60) on a scratch copy of its seed corpus, so the committed corpus
# never grows. Prints the runs done per target; fails on any crash, leak,
# sanitizer report, failed property or hang.
# Usage: scripts/fuzz.sh [target...]   (default: every target)
set -u
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
case $seconds in
    '' | *[!0-9]* | 0) echo "fuzz: FUZZ_SECONDS must be a positive number of seconds" >&2; exit 2 ;;
esac
build=build/fuzz

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" >/dev/null || exit 1
cmake --build "$build" -j "${JOBS:-$(nproc)}" || exit 1

targets=${*:-$(cat "$build/targets.txt")}
scratch=$build/run
rm -rf "$scratch"
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
status=0
summary=""
for target in $targets; do
    dir=$scratch/$target
    mkdir -p "$dir/corpus"
    if [ -d "fuzz/corpus/$target" ]; then
        cp fuzz/corpus/"$target"/* "$dir/corpus/" 2>/dev/null
    else
        echo "fuzz: $target has no seed corpus in fuzz/corpus/$target" >&2
    fi
    # Inputs as large as it takes to reach a target's bounds.
    case $target in
        transfer_format) max_len=-max_len=65536 ;; # past 10,000 entries of "{}," and 32 levels
        *) max_len= ;; # libFuzzer's own choice
    esac
    echo "== fuzz $target (${seconds}s) =="
    "$build/bin/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 $max_len \
        -artifact_prefix="$dir/" "$dir/corpus" >"$dir/log" 2>&1
    code=$?
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$dir/log" | tail -n 1)
    [ -n "$runs" ] || runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$dir/log" | tail -n 1)
    result=ok
    if [ $code -ne 0 ] || grep -Eq 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|property failed' "$dir/log"; then
        result=FAILED
        status=1
        tail -n 40 "$dir/log"
        for artifact in "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-*; do
            [ -f "$artifact" ] && echo "reproduce: $build/bin/${target}_fuzzer $artifact"
        done
    fi
    summary="$summary$(printf '%-22s %12s  %s' "$target" "${runs:-?}" "$result")
"
done

printf '\n%-22s %12s  %s\n' target runs result
printf '%s' "$summary"
exit $status
