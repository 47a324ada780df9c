#!/usr/bin/env bash
# A Windows version that cvfir does not serve: the install step says so and ends with 1. A missing
# setup.dat is reported first, even there, and leaves only Cancel.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup unsupported
cv_start
cv_past_ready_page
e2e_expect_eq "the install step refuses the version" \
    "$(printf '%s\n' 'caption: cvfir' "text: Corvane FIR driver setup program does't suport this Windows Version" \
        'pressed: OK')" "$(cv_ui msgbox 20)"
e2e_expect_eq "and the program ends with 1" 1 "$(cv_exit)"

rm "$(cv_disk setup.dat)"
cv_start
cv_past_ready_page
e2e_expect_eq "without setup.dat: its message" \
    "$(printf '%s\n' 'caption: cvfir' 'text: File Setup.dat Open Error!!' 'pressed: OK')" "$(cv_ui msgbox 20)"
listing=$(cv_ui list)
e2e_expect_eq "the wizard stays on the ready page with Back and Next disabled" "1 0 0" \
    "$([ -n "$(cv_control 'Start to Setup!' "$listing")" ] && echo 1 || echo 0) $(cv_enabled '< Back' "$listing") $(cv_enabled 'Next >' "$listing")"
e2e_expect_eq "the program goes on" running "$(e2e_is_running "$cv_out" && echo running || echo ended)"
cv_click Cancel
e2e_expect_eq "Cancel ends it with 1" 1 "$(cv_exit)"
e2e_summary
