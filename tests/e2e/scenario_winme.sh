#!/usr/bin/env bash
# Windows Me with the FIR controller present: the driver cabinet goes aside for the update and comes
# back, and the transceiver type goes to the first network class instance of our miniport that has the
# setting's own key; Restart ends with 0.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

net='HKLM\SYSTEM\CurrentControlSet\Services\Class\Net'
setting='Ndi\params\InfraredTransceiverType'

cv_setup winme
cv_device '*CVN0510' >/dev/null
cv_setup_dat 2
# 0000 another adapter; 0001 ours without the setting's key; 0002 ours with it; 0003 ours again.
cv_reg_add "$net\\0000" DeviceVxDs ndis.vxd
cv_reg_add "$net\\0001" DeviceVxDs cvfirdma.sys
cv_reg_add "$net\\0002" DeviceVxDs CVFIRDMA.SYS
cv_reg_add "$net\\0002\\$setting" '' 
cv_reg_add "$net\\0003" DeviceVxDs cvfirdma.sys
cv_reg_add "$net\\0003\\$setting" ''
cabinet=$(cv_c 'windows\Driver Cache\i386\driver.cab')
mkdir -p "$(dirname "$cabinet")"
echo 'the cached driver cabinet' >"$cabinet"

cv_start
cv_past_ready_page
cv_expect_finished_page "Me"

e2e_expect_eq "the type is written to 0001 and 0002 and their keys as they open, not to 0000 or 0003" \
    "-|2|-|2|2|-|-" \
    "$(cv_reg "$net\\0000" InfraredTransceiverType)|$(cv_reg "$net\\0001" InfraredTransceiverType)|$(cv_reg "$net\\0001\\$setting" '')|$(cv_reg "$net\\0002" InfraredTransceiverType)|$(cv_reg "$net\\0002\\$setting" '')|$(cv_reg "$net\\0003" InfraredTransceiverType)|$(cv_reg "$net\\0003\\$setting" '')"
e2e_expect_eq "the driver cabinet is back in its place, and only there" \
    "the cached driver cabinet|absent" \
    "$(cat "$cabinet")|$([ -e "$(cv_c 'windows\Driver Cache\driver.cab')" ] && echo present || echo absent)"
e2e_expect_match "the device was found" '^Found! \[\*CVN0510\]$' "$(cv_stdout)"

cv_expect_prompt_after_finish "Me"
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
