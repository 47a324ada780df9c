#!/usr/bin/env bash
# Runs the end-to-end scenarios (tests/e2e/scenario_*.sh) against dist/cvfir.exe under Wine, a few at a
# time, each on its own copy of the prepared prefix; prints each scenario's checks and the total.
#
#   scripts/run-e2e.sh [-j JOBS] [SCENARIO...]   SCENARIO as in scenario_SCENARIO.sh; default: all
#
# Expects `make dist` to have built dist/ and the test tools (build/win32/tools).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../tests/e2e/lib.sh
source "$repo/tests/e2e/lib.sh"

jobs=2
if [ "${1:-}" = -j ]; then
    jobs=$2
    shift 2
fi
build=$repo/build
work=$build/e2e

[ -f "$repo/dist/cvfir.exe" ] || e2e_die "no dist/cvfir.exe: run 'make dist' first"
start=$(e2e_now_ms)
e2e_prepare_base "$build" "$build/win32/tools"
e2e_prepare_locales "$build"
export E2E_BASE E2E_TOOLS E2E_LOCPATH
export CVFIR_DIST=$repo/dist

if [ $# -eq 0 ]; then
    set -- $(cd "$repo/tests/e2e" && ls scenario_*.sh | sed 's/^scenario_//; s/\.sh$//')
fi

# Each scenario writes its log and, when done, "EXIT_CODE SECONDS" to its result file.
run_one() {
    local name=$1 begun rc=0
    begun=$(e2e_now_ms)
    rm -rf "$work/$name"
    mkdir -p "$work/$name"
    E2E_WORK=$work/$name bash "$repo/tests/e2e/scenario_$name.sh" >"$work/$name.log" 2>&1 || rc=$?
    # A copy of the prefix takes some 600 MB: it goes once the scenario has ended, its outputs stay.
    rm -rf "$work/$name"/prefix "$work/$name"/prefix-*
    echo "$rc $(e2e_since "$begun")" >"$work/$name.result"
}

mkdir -p "$work"
running=0
for name in "$@"; do
    [ -f "$repo/tests/e2e/scenario_$name.sh" ] || e2e_die "no scenario '$name'"
    rm -f "$work/$name.result"
    run_one "$name" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait || true

passed=0
failed=0
broken=()
for name in "$@"; do
    read -r rc seconds <"$work/$name.result"
    counts=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$work/$name.log" | tail -1 || true)
    printf '== %-18s %7ss  %s\n' "$name" "$seconds" "${counts:-no summary}"
    # A scenario that runs a suite of its own hands on that suite's summary.
    grep -E '^contract \(' "$work/$name.log" || true
    if [ -n "$counts" ]; then
        passed=$((passed + ${counts%% passed*}))
        rest=${counts#*, }
        failed=$((failed + ${rest%% failed}))
    fi
    if [ "$rc" -ne 0 ] || [ -z "$counts" ]; then
        broken+=("$name")
        # The failed checks, or the end of the log when the scenario itself broke off.
        if grep -q '^FAIL ' "$work/$name.log"; then
            grep -A3 '^FAIL ' "$work/$name.log" | sed 's/^/   /'
        else
            tail -20 "$work/$name.log" | sed 's/^/   /'
        fi
    fi
done
printf 'e2e: %d scenarios in %ss (logs in %s)\n' "$#" "$(e2e_since "$start")" "${work#"$repo"/}"
# The last line alone says how the checks went, in the form that test runners' readers know.
printf 'e2e: %d passed, %d failed\n' "$passed" "$failed"
[ "${#broken[@]}" -eq 0 ] || e2e_die "failing scenarios: ${broken[*]}"
