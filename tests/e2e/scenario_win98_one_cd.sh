#!/usr/bin/env bash
# Windows 98 on a computer with one CD drive: the program starts from the driver CD in D:; the source
# dialog asks for the Windows 98 CD, which the user puts in the same drive. Ok records the Windows 98
# CD's folder and installs the driver CD's files, which the program took off it before the dialog
# opened, and leaves nothing of that copy behind.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

headers=$(i686-w64-mingw32-objdump -p "$CVFIR_DIST/cvfir.exe")
e2e_expect_match "cvfir.exe asks to be run from the swap file when started from a CD" \
    'copy to swap file if on removable media' "$headers"
e2e_expect_match "its sections lie on 512-byte bounds in the file, not on the 4 KB pages that 98 runs from the cache" \
    $'FileAlignment\t+00000200$' "$headers"

cv_setup_win98_with_cd
sums=$(e2e_tool "$cv_prefix" cvchecksum "$CV_DISK\\cvfir.exe")  # "header 0x... computed 0x..."
read -r _ header _ computed <<<"$sums"
e2e_expect_eq "the checksum in its header is the one Windows computes from its bytes, flags included" \
    "$computed" "$header"
# The driver CD: the laid-out disk, moved to a folder of its own that the drive shows.
drivercd=$E2E_WORK/drivercd
mv "$(cv_c cvdisk)" "$drivercd"
rm -f "$cv_prefix/dosdevices/d:"
ln -s "$drivercd" "$cv_prefix/dosdevices/d:"
CV_DISK='D:'
echo 'an INF of the old driver' >"$(cv_c 'windows\inf\cvfirpio.inf')"
chmod a-w "$(cv_c 'windows\inf\cvfirpio.inf')"  # read-only, as copied from a CD

present() { [ -e "$1" ] && echo present || echo absent; }
staged() { find "$cv_prefix/drive_c" -iname cvfir98 2>/dev/null | head -1; }

cv_start
cv_past_ready_page
cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
e2e_expect_match "before the dialog opens the driver's files are in a folder of the program's own" \
    '/cvfir98$' "$(staged)"

# The driver CD comes out, the Windows 98 CD goes in.
rm -f "$cv_prefix/dosdevices/d:"
ln -s "$E2E_WORK/cdrom" "$cv_prefix/dosdevices/d:"
cv_ui settext "$CV_TITLE" Edit 2 'D:\win98' >/dev/null
cv_click Ok
cv_expect_finished_page "98"
e2e_expect_eq "the Windows 98 CD's folder is the new SourcePath" 'D:\win98' "$(cv_reg "$CV_SETUP_KEY" SourcePath)"
e2e_expect_eq "the driver CD's INF is in the Windows INF folder" same \
    "$(cmp -s "$drivercd/win98/cvfirdma.inf" "$(cv_c 'windows\inf\cvfirdma.inf')" && echo same || echo different)"
e2e_expect_eq "its SYS file in the system folder" same \
    "$(cmp -s "$drivercd/win98/cvfirdma.sys" "$(cv_c 'windows\system\cvfirdma.sys')" && echo same || echo different)"
e2e_expect_eq "the read-only old INF is gone" absent "$(present "$(cv_c 'windows\inf\cvfirpio.inf')")"
e2e_expect_eq "the old device instance is removed" 'no device' "$(cv_fir_devices)"
e2e_expect_eq "the program's own folder is gone" "" "$(staged)"

cv_expect_prompt_after_finish "98"
cv_click Restart "$CV_PROMPT"
e2e_expect_eq "Restart ends the program with 0" 0 "$(cv_exit 60)"
e2e_summary
