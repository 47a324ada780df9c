#!/usr/bin/env bash
# Windows 98, the source folder picked in the dialog's folder tree rather than typed: the tree shows
# the desktop, My Computer and the drives; its own first selection leaves the path box as SourcePath
# had it; the folder picked through the tree view's messages (from this process, as a person's clicks
# come) fills the box, and Ok installs from there and finishes the wizard.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup_win98_with_cd win98/drivers
e2e_kill_prefix "$cv_prefix"

cv_start
cv_past_ready_page
cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null

tree=$(cv_ui tree "$CV_TITLE")
e2e_expect_eq "the dialog's tree: the desktop, My Computer open with the drives, the desktop's folders" \
    "$(printf '%s\n' '0 Desktop' '1 My Computer' '2  (C:)' '2  (D:)' '2  (Z:)')" \
    "$(sed -n 's/^item: \([0-9]\) "\(.*\)" expanded=.*/\1 \2/p' <<<"$tree" | head -5)"
e2e_expect_line "the tree selected its first node when it took the focus" 'item: 0 "Desktop" expanded=1 selected=1' "$tree"
cv_expect_shows "that first selection leaves the path box as SourcePath had it" 'C:\w98cd'

cv_ui treeselect "$CV_TITLE" 'Desktop\My Computer\(D:)\win98' >/dev/null
tree=$(cv_ui tree "$CV_TITLE")
e2e_expect_eq "D: opened with its folder, which is selected" \
    "$(printf '%s\n' 'item: 2 " (D:)" expanded=1 selected=0' 'item: 3 "win98" expanded=0 selected=1')" \
    "$(grep -A1 -F '" (D:)"' <<<"$tree")"
cv_expect_shows "the picked folder fills the path box" 'D:\win98'

cv_click Ok
cv_expect_finished_page "98 from the tree"
e2e_expect_eq "the picked folder is the new SourcePath" 'D:\win98' "$(cv_reg "$CV_SETUP_KEY" SourcePath)"
e2e_expect_eq "the driver's files are in the Windows folders" "same same" \
    "$(cv_installed_98 cvfirdma.inf) $(cv_installed_98 cvfirdma.sys)"

cv_expect_prompt_after_finish "98 from the tree"
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
