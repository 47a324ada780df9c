#!/usr/bin/env bash
# Windows XP on a screen of 640 x 480 with a task bar, where the wizard cannot fit the blue background:
# at every step each button a person needs lies whole inside the work area and inside the windows
# around it, from start to restart.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
cv_device '*CVN0510' >/dev/null
cv_use_display 640x480 0,0,640,452

cv_start
cv_wait_wizard
e2e_expect_eq "the screen is 640 x 480, its work area 28 pixels less high" \
    "screen=0,0,640,480 workarea=0,0,640,452" "$(cv_ui screen)"
cv_expect_on_screen "the welcome page's buttons are on the screen" "$CV_TITLE" '< Back' 'Next >' Cancel
cv_click 'Next >'
cv_wait_text 'Start to Setup!'
cv_expect_on_screen "the ready page's buttons" "$CV_TITLE" '< Back' 'Next >' Cancel
cv_click 'Next >'
cv_expect_finished_page "640 x 480"
cv_expect_on_screen "the finished page's buttons" "$CV_TITLE" '< Back' Finish Cancel

cv_expect_prompt_after_finish "640 x 480"
cv_expect_on_screen "the restart prompt's buttons" "$CV_PROMPT" Restart Cancel
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
