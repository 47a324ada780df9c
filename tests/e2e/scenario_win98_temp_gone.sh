#!/usr/bin/env bash
# Windows 98 whose TMP and TEMP name a folder that a disk cleaner took, with the Windows folder's TEMP
# gone as well: the driver's files are taken into that TEMP, made for them, the driver installs, and
# nothing is left beside the program nor of the folder made for the files.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup_win98_with_cd
for name in TMP TEMP; do
    cv_reg_add 'HKCU\Environment' "$name" 'C:\gone'
done
rm -rf "$(cv_c 'windows\temp')"
program_folder=$(dirname "$(cv_disk cvfir.exe)")
listing() { (cd "$program_folder" && find . | sort); }
before=$(listing)

cv_start
cv_past_ready_page
cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
cv_ui settext "$CV_TITLE" Edit 2 'D:\win98' >/dev/null
cv_click Ok
cv_expect_finished_page "98 without its temporary folder"
e2e_expect_eq "the driver's files are installed" "same same" \
    "$(cv_installed_98 cvfirdma.inf) $(cv_installed_98 cvfirdma.sys)"
e2e_expect_line "taken into the Windows folder's TEMP" \
    'step: copy C:\cvdisk\win98\cvfirdma.sys to C:\windows\TEMP\cvfir98\cvfirdma.sys' "$(cv_log)"
e2e_expect_eq "which is gone again" "" "$(find "$cv_prefix/drive_c" -iname cvfir98 | head -1)"
e2e_expect_eq "nothing is left beside the program" "$before" "$(listing)"

cv_expect_prompt_after_finish "98 without its temporary folder"
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
