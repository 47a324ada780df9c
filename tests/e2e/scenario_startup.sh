#!/usr/bin/env bash
# Start-up on Windows XP: the wizard comes up inside the blue background, laid out as designed, with the
# keyboard where a person expects it; a close request on the background ends the program with 1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
cv_start
cv_wait_wizard
listing=$(cv_ui list)

# The null display is 1024 x 768 with no task bar: the background fills it, and the wizard keeps the
# place its centring gave it, now counted from the background's client area.
e2e_expect_match "the background fills the work area" \
    "depth=0 .* class=\"CvfirForm\" text=\"$CV_TITLE\" .* visible=1 parent=\"\" rect=0,0,1024,768$" "$listing"
e2e_expect_match "the wizard is a child of the background, at its centred place" \
    "depth=1 .* class=\"CvfirForm\" text=\"$CV_TITLE\" .* visible=1 parent=\"$CV_TITLE\" rect=186,165,838,602$" \
    "$listing"
e2e_expect_eq "the four title lines, where the layout puts them" \
    "$(printf '%s\n' 'Corvane Electronics Corp.|48,37' 'FIR driver setup program|118,74' \
        'Version 1.0|48,112' 'For Microsoft Windows|48,149')" \
    "$(grep 'class="Static" text="[A-Z]' <<<"$listing" | sed 's/.* text="\([^"]*\)" .* rect=\([0-9]*,[0-9]*\),.*/\1|\2/')"
cv_expect_shows "the welcome page's title" 'Welcome!' "$listing"
cv_expect_shows "its body" "$CV_WELCOME_BODY" "$listing"
cv_expect_shows "its hint" "$CV_WELCOME_HINT" "$listing"
e2e_expect_eq "Back disabled, Next and Cancel enabled" "0 1 1" \
    "$(cv_enabled '< Back' "$listing") $(cv_enabled 'Next >' "$listing") $(cv_enabled Cancel "$listing")"
e2e_expect_match "the picture is on the left, stretched to the layout's size" \
    'class="Static" text="" .* parent=".*" rect=0,0,154,327$' "$listing"

# The keys reach the focused control; each answer names it.
e2e_expect_match "the focus starts on Next, and Enter presses it" 'text="Next >"' "$(cv_ui key "$CV_TITLE" RETURN)"
cv_wait_text 'Start to Setup!'
e2e_expect_match "Tab goes from Next to Cancel" 'text="Next >"' "$(cv_ui key "$CV_TITLE" TAB)"
e2e_expect_match "and round to Back" 'text="Cancel"' "$(cv_ui key "$CV_TITLE" TAB)"
e2e_expect_match "Space presses Back" 'text="< Back"' "$(cv_ui key "$CV_TITLE" SPACE)"
cv_wait_text 'Welcome!'
e2e_expect_eq "which is disabled again on the welcome page" 0 "$(cv_enabled '< Back')"

cv_ui close "$CV_TITLE" >/dev/null
e2e_expect_eq "a close request on the background ends the program with 1" 1 "$(cv_exit)"
e2e_summary
