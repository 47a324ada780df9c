#!/usr/bin/env bash
# Windows 98 on a screen of 640 x 480 with a task bar: the source location dialog, laid out to reach
# below the screen, moves the least that brings it into the work area; the warning box and every
# button a person needs lie whole on the screen at every step, from start to restart.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup_win98_with_cd
cv_use_display 640x480 0,0,640,452

cv_start
cv_wait_wizard
cv_expect_on_screen "the welcome page's buttons are on the screen" "$CV_TITLE" '< Back' 'Next >' Cancel
cv_click 'Next >'
cv_wait_text 'Start to Setup!'
cv_expect_on_screen "the ready page's buttons" "$CV_TITLE" '< Back' 'Next >' Cancel
cv_click 'Next >'

cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
# 390 x 368 with its frame and caption: from 274,198 up and left into the work area, whose corner it meets.
e2e_expect_match "the source dialog moves the least that brings it into the work area" \
    "depth=0 .* class=\"CvfirForm\" text=\"$CV_TITLE\" .* visible=1 parent=\"$CV_TITLE\" rect=250,84,640,452$" \
    "$(cv_ui list)"
cv_expect_on_screen "the source dialog's buttons and path box" "$CV_TITLE" Ok Cancel 'C:\w98cd'

cv_click Ok
cv_expect_on_screen "the warning's button" Warning OK
e2e_expect_eq "Ok without NET8.CAB: the warning" \
    "$(printf '%s\n' 'caption: Warning' 'text: OS source files can not be found!!' 'pressed: OK')" "$(cv_ui msgbox 20)"

cv_ui settext "$CV_TITLE" Edit 2 'D:\win98' >/dev/null
cv_click Ok
cv_expect_finished_page "640 x 480"
cv_expect_on_screen "the finished page's buttons" "$CV_TITLE" '< Back' Finish Cancel

cv_expect_prompt_after_finish "640 x 480"
cv_expect_on_screen "the restart prompt's buttons" "$CV_PROMPT" Restart Cancel
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
