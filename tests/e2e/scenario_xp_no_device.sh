#!/usr/bin/env bash
# Windows XP without the FIR controller (switched off in the BIOS, say): no device is updated, the
# driver package is stored with Windows as an oemN.inf for when the controller appears, the transceiver
# type still goes where the class instance key exists, the search says it found nothing, and Cancel on
# the prompt ends with 1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
cv_reg_add "$CV_INSTANCE_KEY" ''
cv_setup_dat 4
cv_start
cv_past_ready_page
cv_expect_finished_page "no device"

e2e_expect_eq "no driver is installed" "-" "$(cv_reg "$CV_INSTANCE_KEY" InfPath)"
stored=$(cd "$(cv_c 'windows\inf')" && for inf in oem*.inf; do
    if cmp -s "$inf" "$(cv_disk 'winxp\cvfirdma.inf')"; then echo "$inf"; fi
done)
e2e_expect_match "the disk's winxp INF is stored in the INF folder as an oemN.inf" '^oem[0-9]+\.inf$' "$stored"
e2e_expect_line "the log names it" "outcome: done, as C:\windows\inf\\$stored" "$(cv_log)"
e2e_expect_eq "InfraredTransceiverType is written all the same" 4 \
    "$(cv_reg "$CV_INSTANCE_KEY" InfraredTransceiverType)"
out=$(cv_stdout)
# In the system's words for ERROR_NO_MORE_ITEMS, which Wine words differently from Windows.
e2e_expect_eq "each search ends with the EnumDeviceInfo failure line" 2 \
    "$(grep -cE '^EnumDeviceInfo FAILURE: No more data (is )?available\.$' <<<"$out")"
e2e_expect_eq "and nothing was found" "" "$(grep '^Found!' <<<"$out" || true)"

cv_expect_prompt_after_finish "no device"
cv_click Cancel "$CV_PROMPT"
e2e_expect_eq "Cancel on the prompt ends the program with 1" 1 "$(cv_exit)"
e2e_summary
