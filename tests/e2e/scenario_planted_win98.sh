#!/usr/bin/env bash
# Windows 98 from start to restart, the source folder picked in the dialog's folder tree, with a
# module of ours beside cvfir.exe under the name of every module it loads at run time and Windows'
# search order for those names: the install completes and none of them is ever loaded.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup win98
cv_device '*CVN0510' >/dev/null
cv_win98_cd
e2e_kill_prefix "$cv_prefix"  # the shell lists a new drive once the prefix's server starts again
cv_plant_modules

cv_start_planted
cv_past_ready_page
cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
cv_ui treeselect "$CV_TITLE" 'Desktop\My Computer\(D:)\win98' >/dev/null
cv_expect_shows "the folder picked in the tree fills the path box" 'D:\win98'
cv_click Ok
cv_expect_finished_page "98 from the tree"
e2e_expect_eq "the driver's files are in the Windows folders" "same same" \
    "$(cv_installed_98 cvfirdma.inf) $(cv_installed_98 cvfirdma.sys)"
cv_expect_prompt_after_finish "98 from the tree"
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
cv_expect_no_planted_module_loaded win98
e2e_summary
