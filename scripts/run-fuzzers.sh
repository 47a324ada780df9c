#!/usr/bin/env bash
# Runs every fuzz target of a build in turn, each from the seed corpus kept in the repository
# (tests/fuzz/corpus/TARGET) and from what its earlier runs found (BUILD/corpus/TARGET, where new finds
# go). Each target runs until it has tried RUNS inputs or SECONDS have passed, whichever comes first, and
# ends with one line: "fuzz TARGET: N inputs, R per second, C crashes". A crash leaves its input in
# BUILD/fuzz-crashes/ and the tail of its log on the screen; the script goes on with the other targets
# and fails at the end.
#   scripts/run-fuzzers.sh BUILD SECONDS [RUNS]    (RUNS: no limit when left out)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:?build folder}
seconds=${2:?seconds}
runs=${3:--1}

# A figure of libFuzzer's final statistics ("stat::NAME: VALUE"); "?" when the run printed none.
stat() {
    local value
    value=$(sed -n "s/^stat::$1: *//p" "$2" | tail -n 1)
    echo "${value:-?}"
}

failed=0
for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    corpus=$build/corpus/$name
    seeds=tests/fuzz/corpus/$name
    log=$build/${name}_fuzz.log
    mkdir -p "$corpus" "$build/fuzz-crashes"
    folders=("$corpus")
    [ -d "$seeds" ] && folders+=("$seeds")
    crashes=0
    # Inputs of up to a kilobyte: longer than every buffer that outside bytes reach (the largest, a
    # device property's, holds 800), and short enough to keep each target's rate up.
    "$build/${name}_fuzz" -max_total_time="$seconds" -runs="$runs" -max_len=1024 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-crashes/$name-" "${folders[@]}" >"$log" 2>&1 || crashes=1
    echo "fuzz $name: $(stat number_of_executed_units "$log") inputs," \
        "$(stat average_exec_per_sec "$log") per second, $crashes crashes"
    if [ "$crashes" -ne 0 ]; then
        tail -n 40 "$log"
        failed=1
    fi
done
exit "$failed"
