#!/usr/bin/env bash
# The platform layer's contract on the real API: the cases that the unit tests run on the in-memory
# Windows, here in a fresh prefix under Wine. Its summary line is printed by the runner beside the
# scenarios' own.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

: "${E2E_BASE:?run the scenarios through scripts/run-e2e.sh}" "${E2E_TOOLS:?}" "${E2E_WORK:?}"

prefix=$E2E_WORK/prefix
e2e_new_prefix "$prefix"
trap 'e2e_kill_prefix "$prefix"' EXIT

rc=0
out=$(e2e_tool "$prefix" cvcontract -v) || rc=$?
printf '%s\n' "$out"
e2e_expect_eq "the contract program ends with 0" 0 "$rc"
e2e_expect_match "no case fails under Wine" '^contract \(Wine\): [0-9]+ passed, 0 failed, [0-9]+ known differences$' \
    "$out"
e2e_summary
