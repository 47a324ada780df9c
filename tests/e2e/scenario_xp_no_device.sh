#!/usr/bin/env bash
# Windows XP without the FIR controller (switched off in the BIOS, say): no device is updated, the
# driver package is stored with Windows for when the controller appears, the transceiver type still
# goes where the class instance key exists, the search says it found nothing, and Cancel on the prompt
# ends with 1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
cv_reg_add "$CV_INSTANCE_KEY" ''
cv_setup_dat 4
cv_start
cv_past_ready_page
cv_expect_finished_page "no device"

e2e_expect_eq "no driver is installed" "-" "$(cv_reg "$CV_INSTANCE_KEY" InfPath)"
# Windows names the stored INF oemN.inf; Wine 8 keeps the INF's own name. The log names it either way.
stored=$(cv_log | sed -n 's/^outcome: done, as C:\\windows\\inf\\\(.*\)$/\1/p')
e2e_expect_eq "the disk's winxp INF is stored in the INF folder, as the log names it" same \
    "$(cmp -s "$(cv_c "windows\\inf\\$stored")" "$(cv_disk 'winxp\cvfirdma.inf')" && echo same || echo different)"
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
