#!/usr/bin/env bash
# Windows 98 by keyboard alone, the keys pressed on an X server's keyboard: the source dialog opens
# with the focus in its folder tree; Tab reaches Ok; Enter there, with no NET8.CAB in the folder of
# SourcePath, brings the warning, which Enter answers, and the focus is back on Ok. The arrow keys then
# walk the tree to the CD's folder, and the path box follows; Tab to Ok and Enter install. Finish has
# the focus then; Enter opens the restart prompt, Tab reaches its Restart. Cancel in the dialog,
# reached by Tab, ends the program with 1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup_win98_with_cd
cv_use_keyboard

# Enter on the welcome and the ready page: the source dialog.
keys_to_source_dialog() {
    cv_start
    cv_wait_wizard
    cv_keys Return
    cv_wait_text 'Start to Setup!'
    cv_keys Return
    cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
}

keys_to_source_dialog
cv_expect_focus "the source dialog opens with the focus in its folder tree" SysTreeView32 "$CV_TITLE"
cv_keys Escape Tab Tab
cv_expect_focus "Escape ends nothing; Tab past the instructions: Ok" Ok "$CV_TITLE"
cv_keys Return
cv_expect_focus "Enter on Ok without NET8.CAB: the warning, its OK focused" OK Warning
cv_keys Return
cv_expect_focus "Enter answers the warning and the focus is back on Ok" Ok "$CV_TITLE"
cv_expect_shows "the path box is as it was" 'C:\w98cd'
e2e_expect_eq "nothing is copied yet" absent "$([ -e "$(cv_c 'windows\inf\cvfirdma.inf')" ] && echo present || echo absent)"

cv_keys shift+Tab shift+Tab
cv_expect_focus "Shift+Tab twice: the tree" SysTreeView32 "$CV_TITLE"
# Desktop, My Computer, (C:), (D:); Right opens D:, Down its folder.
cv_keys Down Down Down Right Down
cv_expect_appears "the arrow keys walk the tree to the CD's folder, and the path box follows" 'D:\win98'
e2e_expect_line "the tree's selection is that folder" 'item: 3 "win98" expanded=0 selected=1' \
    "$(cv_ui tree "$CV_TITLE")"
cv_keys Tab Tab
cv_expect_focus "Tab twice: Ok again" Ok "$CV_TITLE"
cv_keys Return
cv_expect_finished_page "98 by keyboard"
e2e_expect_eq "the picked folder is the new SourcePath" 'D:\win98' "$(cv_reg "$CV_SETUP_KEY" SourcePath)"
e2e_expect_eq "the driver's files are in the Windows folders" "same same" \
    "$(cv_installed_98 cvfirdma.inf) $(cv_installed_98 cvfirdma.sys)"
cv_expect_focus "the finished page gives the focus to Finish" Finish "$CV_TITLE"
cv_keys Return
cv_ui waitchild "$CV_PROMPT" Restart 20 >/dev/null
cv_keys Tab
cv_expect_focus "Enter on Finish, then Tab on the restart prompt: Restart" Restart "$CV_PROMPT"
cv_keys Return
e2e_expect_eq "Enter on Restart ends the program with 0" 0 "$(cv_exit 60)"

keys_to_source_dialog
cv_expect_focus "the dialog again, the focus in the tree" SysTreeView32 "$CV_TITLE"
cv_keys Tab Tab Tab
cv_expect_focus "Tab three times: Cancel" Cancel "$CV_TITLE"
cv_keys Return
e2e_expect_eq "Enter on the dialog's Cancel ends the program with 1" 1 "$(cv_exit 30)"
e2e_summary
