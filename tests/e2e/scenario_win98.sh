#!/usr/bin/env bash
# Windows 98 from start to restart: the source location dialog, pre-filled from SourcePath, warns while
# NET8.CAB is not in the folder; a typed folder that has it records the folder, copies the driver's
# files into the Windows folders through SetupAPI, deletes the old INF, removes the old device
# instance, and finishes the wizard, its log telling no failure. TMP and TEMP name a folder that a disk
# cleaner took, with the Windows folder's TEMP gone as well: the driver's files are taken into that
# TEMP, made for them, and nothing is left beside the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup_win98_with_cd
echo 'an INF of the old driver' >"$(cv_c 'windows\inf\cvfirpio.inf')"
for name in TMP TEMP; do
    cv_reg_add 'HKCU\Environment' "$name" 'C:\gone'
done
rm -rf "$(cv_c 'windows\temp')"
program_folder=$(dirname "$(cv_disk cvfir.exe)")
beside_the_program=$(cd "$program_folder" && find . | sort)

cv_start
cv_past_ready_page
cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
listing=$(cv_ui list)
e2e_expect_match "the source dialog shows on its own, where the layout puts it" \
    "depth=0 .* class=\"CvfirForm\" text=\"$CV_TITLE\" .* visible=1 parent=\"$CV_TITLE\" rect=274,198," "$listing"
cv_expect_shows "its path box holds SourcePath" 'C:\w98cd' "$listing"
cv_expect_shows "its instructions" \
    "Please insert the disk labeled 'Windows 98 CD-ROM', and then click OK\\r\\nOr Click Cancel to exit setup program" \
    "$listing"
e2e_expect_eq "the wizard's Back and Next stay disabled" "0 0" \
    "$(cv_enabled '< Back' "$listing") $(cv_enabled 'Next >' "$listing")"

cv_click Ok
e2e_expect_eq "Ok without NET8.CAB: the warning" \
    "$(printf '%s\n' 'caption: Warning' 'text: OS source files can not be found!!' 'pressed: OK')" "$(cv_ui msgbox 20)"
cv_expect_shows "the dialog stays, its path box as it was" 'C:\w98cd'
e2e_expect_eq "nothing is copied yet" absent "$([ -e "$(cv_c 'windows\inf\cvfirdma.inf')" ] && echo present || echo absent)"

cv_ui settext "$CV_TITLE" Edit 2 'D:\win98' >/dev/null
cv_click Ok
cv_expect_finished_page "98"
e2e_expect_eq "the dialog is gone" "" "$(cv_control 'D:\win98')"
e2e_expect_eq "the typed folder is the new SourcePath" 'D:\win98' "$(cv_reg "$CV_SETUP_KEY" SourcePath)"
e2e_expect_eq "the INF is copied into the Windows INF folder" same \
    "$(cv_installed_98 cvfirdma.inf)"
e2e_expect_eq "the SYS file into the system folder" same \
    "$(cv_installed_98 cvfirdma.sys)"
e2e_expect_eq "the old INF is deleted" absent \
    "$([ -e "$(cv_c 'windows\inf\cvfirpio.inf')" ] && echo present || echo absent)"
e2e_expect_eq "the old device instance is removed" 'no device' "$(cv_fir_devices)"
e2e_expect_match "after the search found it" '^Found! \[\*CVN0510\]$' "$(cv_stdout)"
e2e_expect_eq "no line of the log says that something failed" "" "$(cv_log | grep -i fail || true)"
e2e_expect_line "the files were taken into the Windows folder's TEMP" \
    'step: copy C:\cvdisk\win98\cvfirdma.sys to C:\windows\TEMP\cvfir98\cvfirdma.sys' "$(cv_log)"
e2e_expect_eq "whose folder for them is gone again" "" "$(find "$cv_prefix/drive_c" -iname cvfir98)"
e2e_expect_eq "nothing is left beside the program" "$beside_the_program" "$(cd "$program_folder" && find . | sort)"

cv_expect_prompt_after_finish "98"
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
