#!/usr/bin/env bash
# Windows XP by keyboard alone, the keys pressed on an X server's keyboard: Enter walks the welcome and
# ready pages from the focus that Next has as laid out; the install step disables Next while it runs,
# and the finished page gives the focus to Finish; Enter on Finish opens the restart prompt, whose Restart Tab reaches. Escape and the arrows end nothing; Cancel, reached by Tab,
# ends the program with 1 on the wizard and on the restart prompt. Presses of Next by the UI driver
# leave the focus as a person's do.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
device=$(cv_device '*CVN0510')
cv_use_keyboard

cv_start
cv_wait_wizard
cv_expect_focus "the welcome page opens with the focus on Next" 'Next >' "$CV_TITLE"
cv_keys Escape Left Down Return
cv_expect_appears "Escape and the arrows end nothing; Enter on Next shows the ready page" 'Start to Setup!'
cv_expect_focus "Next keeps the focus" 'Next >' "$CV_TITLE"
cv_keys Return
cv_expect_finished_page "keyboard"
e2e_expect_eq "the driver is installed for the device" \
    "cvfirdma.inf|$device class=$CV_INFRARED_CLASS hardware=*CVN0510 driver=$CV_INFRARED_CLASS\\0000" \
    "$(cv_reg "$CV_INSTANCE_KEY" InfPath)|$(e2e_tool "$cv_prefix" cvdevlist '*CVN0510')"
cv_expect_focus "the finished page gives the focus to Finish" Finish "$CV_TITLE"
cv_keys Tab
cv_expect_focus "Tab from Finish: Cancel" Cancel "$CV_TITLE"
cv_keys Tab
cv_expect_focus "Tab from Cancel round to Finish, past the disabled Back" Finish "$CV_TITLE"
cv_keys Return
cv_expect_appears "Enter on Finish opens the restart prompt" Restart "$CV_PROMPT"
cv_expect_focus "the prompt opens with the focus on its text, its first stop" Edit "$CV_PROMPT"
cv_keys Escape Tab
cv_expect_focus "Escape ends nothing there either; Tab: Restart" Restart "$CV_PROMPT"
cv_keys Return
e2e_expect_eq "Enter on Restart ends the program with 0" 0 "$(cv_exit 60)"

cv_start
cv_wait_wizard
cv_keys Tab
cv_expect_focus "Tab from Next: Cancel" Cancel "$CV_TITLE"
cv_keys Return
e2e_expect_eq "Enter on the wizard's Cancel ends the program with 1" 1 "$(cv_exit 30)"

# Next pressed by the UI driver while Cancel has the focus: the press focuses Next and clicks it in one
# message, and the form still sees Next take the focus and lose it.
cv_start
cv_wait_wizard
cv_keys Return
cv_wait_text 'Start to Setup!'
cv_keys Tab
cv_expect_focus "on the ready page, Tab from Next: Cancel" Cancel "$CV_TITLE"
cv_click 'Next >'
cv_wait_text 'Setup complete!'
cv_expect_focus "after the press of Next, Finish has the focus on the finished page" Finish "$CV_TITLE"
cv_keys Return
cv_ui waitchild "$CV_PROMPT" Restart 20 >/dev/null
cv_keys Tab Tab
cv_expect_focus "on the prompt, Tab twice: Cancel" Cancel "$CV_PROMPT"
cv_keys space
e2e_expect_eq "Space on the prompt's Cancel ends the program with 1" 1 "$(cv_exit 30)"
e2e_summary
