#!/usr/bin/env bash
# A log-off while the Windows 98 source dialog is open. Windows asks whether the session may end, the
# program says yes, and as Windows then tells it that the session ends, it removes the driver files that
# it took off the disk before it answers: Windows may end the process at any moment after that answer.
# `wineboot --end-session` ends the session as Windows does, and then every process of the prefix.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

staged() { find "$cv_prefix/drive_c" -iname cvfir98 2>/dev/null | head -1; }

cv_setup_win98_with_cd
cv_start
cv_past_ready_page
cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
e2e_expect_match "at the source dialog the driver's files are in the program's own folder" '/cvfir98$' "$(staged)"

e2e_wine "$cv_prefix" "$E2E_WINE_TIMEOUT" wineboot --end-session >/dev/null 2>&1 || true
e2e_expect_eq "the log-off ends the program with 0" 0 "$(cv_exit 30)"
e2e_expect_eq "it leaves no cvfir98 folder" "" "$(staged)"
e2e_expect_eq "its log ends with the exit code" "exit code 0" "$(cv_log | tail -1)"
e2e_expect_eq "nothing is installed" "absent absent" \
    "$(for file in 'windows\inf\cvfirdma.inf' 'windows\system\cvfirdma.sys'; do
        [ -e "$(cv_c "$file")" ] && echo present || echo absent
    done | paste -sd ' ')"
e2e_summary
