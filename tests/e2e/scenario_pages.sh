#!/usr/bin/env bash
# Next and Back walk the wizard's pages, Cancel ends the program with 1; and a start-up that fails while
# the windows are made shows the exception box and ends with 1, no window shown.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
cv_start
cv_wait_wizard

cv_click 'Next >'
cv_wait_text 'Start to Setup!'
listing=$(cv_ui list)
cv_expect_shows "Next: the ready page's body" "$CV_READY_BODY" "$listing"
cv_expect_shows "and its hint" "$CV_READY_HINT" "$listing"
e2e_expect_eq "Back and Next enabled" "1 1" "$(cv_enabled '< Back' "$listing") $(cv_enabled 'Next >' "$listing")"

cv_click '< Back'
cv_wait_text 'Welcome!'
listing=$(cv_ui list)
cv_expect_shows "Back: the welcome page again" "$CV_WELCOME_BODY" "$listing"
e2e_expect_eq "with Back disabled" 0 "$(cv_enabled '< Back' "$listing")"

cv_click 'Next >'
cv_wait_text 'Start to Setup!'
cv_click Cancel
e2e_expect_eq "Cancel on the ready page ends the program with 1" 1 "$(cv_exit)"

# A SourcePath that is not a string fails the source dialog's construction at start-up. The message
# ends in a quote, below the full stop, so the box adds none.
cv_reg_add "$CV_SETUP_KEY" SourcePath 7 REG_DWORD
cv_start
cv_ui wait cvfir 30 >/dev/null
listing=$(cv_ui list)
e2e_expect_match "a bad SourcePath: the program's exception box is listed" \
    '^hwnd=.* exe=cvfir\.exe class="#32770" text="cvfir" .* visible=1 ' "$listing"
e2e_expect_eq "and no window of its own shows" "" \
    "$(grep -F 'class="CvfirForm"' <<<"$listing" | grep -F ' visible=1 ' || true)"
e2e_expect_eq "only the exception box, titled with the program's name" \
    "$(printf '%s\n' 'caption: cvfir' "text: Invalid data type for 'SourcePath'" 'pressed: OK')" "$(cv_ui msgbox 10)"
e2e_expect_eq "and the program ends with 1, as after every fatal error" 1 "$(cv_exit)"
e2e_summary
