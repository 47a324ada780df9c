#!/usr/bin/env bash
# Windows 98 installations that cannot finish, each told in words and ended with 1, never with the
# finished page, each leaving the Windows folders and the device as a restart would have found them: a
# disk without cvfirdma.sys is told before the source dialog opens; a system folder where the SYS file
# cannot be written, and an INF destination that cannot be written, stop at that copy with the old INF,
# an earlier driver's INF and the device as they were.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup win98
cv_device '*CVN0510' >/dev/null
echo 'an INF of the old driver' >"$(cv_c 'windows\inf\cvfirpio.inf')"
cv_win98_cd

# Once the source dialog is open: the CD's folder, Ok, and the message that ends the run.
cv_install_from_cd() {
    cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
    cv_ui settext "$CV_TITLE" Edit 2 'D:\win98' >/dev/null
    cv_click Ok
    cv_ui msgbox 20
}

present() { [ -e "$1" ] && echo present || echo absent; }
staged() { find "$cv_prefix/drive_c" -iname cvfir98 2>/dev/null | head -1; }
expect_as_before() {
    e2e_expect_eq "$1: the old INF is still there" present "$(present "$(cv_c 'windows\inf\cvfirpio.inf')")"
    e2e_expect_match "$1: the old device is still there" 'hardware=\*CVN0510' "$(cv_fir_devices)"
    e2e_expect_eq "$1: nothing of the program's own folder is left" "" "$(staged)"
}

mv "$(cv_disk 'win98\cvfirdma.sys')" "$E2E_WORK/cvfirdma.sys"
cv_start
cv_past_ready_page
box=$(cv_ui msgbox 20)
e2e_expect_eq "a disk without the SYS file: the box names it before the source dialog opens" \
    "$(printf '%s\n' 'caption: cvfir' 'text: Can'\''t read driver file C:\cvdisk\win98\cvfirdma.sys')" \
    "$(head -2 <<<"$box")"
# In the system's words for ERROR_FILE_NOT_FOUND, which Wine words differently from Windows.
e2e_expect_match "with the system's reason" '^text: (File not found|The system cannot find the file specified)\.$' \
    "$box"
e2e_expect_eq "the program ends with 1" 1 "$(cv_exit)"
expect_as_before "no SYS file on the disk"
e2e_expect_eq "nothing is copied" absent "$(present "$(cv_c 'windows\inf\cvfirdma.inf')")"
e2e_expect_match "the log's header names Windows 98" '^==== .* C:\\cvdisk\\cvfir\.exe, Windows 98 \(1\), code page 1252$' \
    "$(cv_log | head -1)"
e2e_expect_eq "the log ends with the file that could not be read, the box and exit code 1" \
    "$(printf '%s\n' 'step: read C:\cvdisk\win98\cvfirdma.sys' \
        'message box: Can'\''t read driver file C:\cvdisk\win98\cvfirdma.sys')" \
    "$(cv_log | tail -4 | head -2)"
e2e_expect_match "with the system's reason under it" \
    '^             (File not found|The system cannot find the file specified)\.$' "$(cv_log | tail -2 | head -1)"
e2e_expect_eq "and exit code 1" 'exit code 1' "$(cv_log | tail -1)"

# A folder where the SYS file is to go: the copy cannot replace it. No cvfirdma.inf is left without
# its SYS file, and the earlier driver's INF is back as it was.
mv "$E2E_WORK/cvfirdma.sys" "$(cv_disk 'win98\cvfirdma.sys')"
mkdir "$(cv_c 'windows\system\cvfirdma.sys')"
cv_start
cv_past_ready_page
box=$(cv_install_from_cd)
e2e_expect_match "a SYS destination that cannot be written: the box names the file and its destination" \
    '^text: Can'\''t copy driver file C:\\.*\\cvfir98\\cvfirdma\.sys to C:\\windows\\system\\cvfirdma\.sys$' "$box"
e2e_expect_match "with the system's reason" '^text: Access (is )?denied\.$' "$box"
e2e_expect_eq "the program ends with 1" 1 "$(cv_exit)"
expect_as_before "SYS destination not writable"
e2e_expect_eq "no INF is left without its SYS file" absent "$(present "$(cv_c 'windows\inf\cvfirdma.inf')")"

echo 'the earlier driver' >"$(cv_c 'windows\inf\cvfirdma.inf')"
cv_start
cv_past_ready_page
cv_install_from_cd >/dev/null
e2e_expect_eq "the program ends with 1" 1 "$(cv_exit)"
e2e_expect_eq "an earlier driver's INF is put back" 'the earlier driver' "$(cat "$(cv_c 'windows\inf\cvfirdma.inf')")"
expect_as_before "SYS destination not writable, with an earlier driver"

# A folder where the INF is to go: the copy cannot replace it.
rm "$(cv_c 'windows\inf\cvfirdma.inf')"
rmdir "$(cv_c 'windows\system\cvfirdma.sys')"
mkdir "$(cv_c 'windows\inf\cvfirdma.inf')"
cv_start
cv_past_ready_page
box=$(cv_install_from_cd)
e2e_expect_match "an INF destination that cannot be written: the box names the file and its destination" \
    '^text: Can'\''t copy driver file C:\\.*\\cvfir98\\cvfirdma\.inf to C:\\windows\\inf\\cvfirdma\.inf$' "$box"
e2e_expect_match "with the system's reason" '^text: Access (is )?denied\.$' "$box"
e2e_expect_eq "the program ends with 1" 1 "$(cv_exit)"
e2e_expect_eq "the SYS file is not copied after it" absent "$(present "$(cv_c 'windows\system\cvfirdma.sys')")"
expect_as_before "INF destination not writable"
e2e_expect_eq "each of the four runs is appended to the log" 4 \
    "$(tr -d '\r' <"$(cv_c 'windows\cvfir.log')" | grep -c '^==== ')"
e2e_expect_match "its log ends with the copy that failed" \
    '^step: copy C:\\.*\\cvfir98\\cvfirdma\.inf to C:\\windows\\inf\\cvfirdma\.inf$' "$(cv_log | tail -5 | head -1)"
e2e_expect_match "and its outcome" '^outcome: failed: Access (is )?denied\.$' "$(cv_log | tail -4 | head -1)"
e2e_expect_match "then the box" '^message box: Can'\''t copy driver file C:\\.*\\cvfir98\\cvfirdma\.inf to ' \
    "$(cv_log | tail -3 | head -1)"
e2e_expect_eq "and exit code 1" 'exit code 1' "$(cv_log | tail -1)"
e2e_summary
