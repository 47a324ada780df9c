#!/usr/bin/env bash
# Windows XP installations that cannot finish, each told in words: a user who is not an administrator
# is stopped before anything is written; a driver update that fails prints its diagnostic line, shows
# the system's reason and ends with 6.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
cv_reg_add "$CV_INSTANCE_KEY" ''
cv_device 'PNP0510' '*CVN0510' >/dev/null
cv_setup_dat 3

cv_start_as_user
cv_past_ready_page
e2e_expect_eq "a user who is not an administrator is told so, and what to do" \
    "$(printf '%s\n' 'caption: cvfir' 'text: Only an administrator can install FIR driver.' \
        'text: Please log on as an administrator and run Setup again.' 'pressed: OK')" "$(cv_ui msgbox 20)"
e2e_expect_eq "the program ends with 1" 1 "$(cv_exit)"
e2e_expect_eq "nothing is written: no driver, no transceiver type" "- -" \
    "$(cv_reg "$CV_INSTANCE_KEY" InfPath) $(cv_reg "$CV_INSTANCE_KEY" InfraredTransceiverType)"
e2e_expect_eq "and no device was searched for" "" "$(cv_stdout)"

# A disk in a folder of 90 characters: the INF path ("winxp\cvfirdma.inf" below it) does not fit its
# 100 bytes, and the update fails as Windows fails a path that is too long.
CV_DISK="C:\\$(printf 'a driver disk copied into a folder of a long name %.0s' 1 2)"
CV_DISK=${CV_DISK:0:90}
e2e_layout_disk "$cv_prefix" "$CVFIR_DIST" "$CV_DISK"
cv_setup_dat 3
cv_start
cv_past_ready_page
box=$(cv_ui msgbox 20)
e2e_expect_eq "the update fails: the program ends with 6" 6 "$(cv_exit)"
reason=$(cv_stdout | sed -n 's/^UpdateDriverForPlugAndPlayDevices FAILURE: //p')
e2e_expect_match "the diagnostic line gives the system's reason" '^[^(].*\.$' "$reason"
e2e_expect_eq "and the box, after it, the same reason" \
    "$(printf '%s\n' 'caption: cvfir' 'text: Can'\''t install FIR driver' "text: $reason" 'pressed: OK')" "$box"
e2e_expect_eq "no transceiver type is written" - "$(cv_reg "$CV_INSTANCE_KEY" InfraredTransceiverType)"
e2e_summary
