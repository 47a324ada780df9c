#!/usr/bin/env bash
# An exception raised inside a click handler is shown by the message loop in the exception box, and the
# program goes on: on Windows Me, a DeviceVxDs value that is not a string stops the install step
# inside Next's handler. The wizard stays at that step, and Cancel still ends the program with 1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winme
cv_reg_add 'HKLM\SYSTEM\CurrentControlSet\Services\Class\Net\0000' DeviceVxDs 1 REG_DWORD
cv_start
cv_past_ready_page
e2e_expect_eq "the exception box, with the registry layer's message" \
    "$(printf '%s\n' 'caption: cvfir' "text: Invalid data type for 'DeviceVxDs'" 'pressed: OK')" "$(cv_ui msgbox 20)"
listing=$(cv_ui list)
e2e_expect_eq "no finished page: the ready page stays, Back and Next disabled" "1 0 0" \
    "$([ -n "$(cv_control 'Start to Setup!' "$listing")" ] && echo 1 || echo 0) $(cv_enabled '< Back' "$listing") $(cv_enabled 'Next >' "$listing")"
e2e_expect_eq "the program goes on" running "$(e2e_is_running "$cv_out" && echo running || echo ended)"
cv_click Cancel
e2e_expect_eq "and Cancel ends it with 1" 1 "$(cv_exit)"
e2e_summary
