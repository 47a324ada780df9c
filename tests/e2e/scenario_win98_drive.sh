#!/usr/bin/env bash
# Windows 98 with a drive typed alone in the source dialog: "C:" makes the check look for NET8.CAB in
# the root of C:, and that root is what SourcePath records, not the program's current folder on C:,
# where Windows would later look in vain.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup_win98_with_cd
echo 'a cabinet in the root of C:' >"$(cv_c NET8.CAB)"

cv_start
cv_past_ready_page
cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
cv_ui settext "$CV_TITLE" Edit 2 'C:' >/dev/null
cv_click Ok
cv_expect_finished_page "98"
e2e_expect_eq "the root of C:, where the cabinet was found, is the new SourcePath" 'C:\' \
    "$(cv_reg "$CV_SETUP_KEY" SourcePath)"
e2e_expect_eq "the driver's files are copied" "same same" \
    "$(cv_installed_98 cvfirdma.inf) $(cv_installed_98 cvfirdma.sys)"

cv_expect_prompt_after_finish "98"
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
