#!/usr/bin/env bash
# The platform layer's contract on the real API: the cases that the unit tests run on the in-memory
# Windows, here in a fresh prefix under Wine; then the text services' cases again in a Big5 and in a
# Shift-JIS locale, each in a prefix prepared in it. Their summary lines are printed by the runner
# beside the scenarios' own.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

: "${E2E_BASE:?run the scenarios through scripts/run-e2e.sh}" "${E2E_TOOLS:?}" "${E2E_WORK:?}"

prefixes=()
trap 'for prefix in "${prefixes[@]}"; do e2e_kill_prefix "$prefix"; done' EXIT

# contract_run NAME LOCALE SUMMARY ARGS...: cvcontract with ARGS in LOCALE ("" for the system's own),
# checked to end with 0 and to sum up as SUMMARY (a regular expression).
contract_run() {
    local name=$1 locale=$2 summary=$3 rc=0 out
    shift 3
    local prefix=$E2E_WORK/prefix-$name
    prefixes+=("$prefix")
    out=$(
        [ -z "$locale" ] || e2e_use_locale "$locale"
        e2e_new_prefix "$prefix"
        e2e_tool "$prefix" cvcontract -v "$@"
    ) || rc=$?
    printf '%s\n' "$out"
    e2e_expect_eq "$name: the contract program ends with 0" 0 "$rc"
    e2e_expect_match "$name: no case fails under Wine" "^$summary: [0-9]+ passed, 0 failed, [0-9]+ known differences$" \
        "$out"
}

contract_run default '' 'contract \(Wine\)'
contract_run big5 zh_TW.UTF-8 'contract \(Wine, code page 950\)' --code-page 950 Compare CodePage Chars
contract_run shift-jis ja_JP.UTF-8 'contract \(Wine, code page 932\)' --code-page 932 Compare CodePage Chars
e2e_summary
