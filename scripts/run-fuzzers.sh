#!/usr/bin/env bash
# Runs every fuzz target of a build for the given number of seconds, each with its own corpus folder
# under the build, so that later runs start from what earlier ones found.
set -euo pipefail
build=${1:?build folder}
seconds=${2:?seconds}
shopt -s nullglob
for source in tests/fuzz/*.cpp; do
    name=$(basename "$source" .cpp)
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    echo "fuzz $name: ${seconds}s"
    "$build/$name" -max_total_time="$seconds" -print_final_stats=0 "$corpus" 2>"$build/$name.log" || {
        tail -n 40 "$build/$name.log"
        exit 1
    }
done
