#!/usr/bin/env bash
# Windows 98 installations that cannot finish, each told in words and ended with 1, never with the
# finished page: a disk without cvfirdma.sys stops before the old INF or the old device goes; an INF
# destination that cannot be written stops at that copy.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup win98
cv_device '*CVN0510' >/dev/null
echo 'an INF of the old driver' >"$(cv_c 'windows\inf\cvfirpio.inf')"
cv_win98_cd

# Once cvfir.exe is started: through the source dialog with the CD's folder, to the message that ends
# the run.
cv_install_from_cd() {
    cv_past_ready_page
    cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
    cv_ui settext "$CV_TITLE" Edit 2 'D:\win98' >/dev/null
    cv_click Ok
    cv_ui msgbox 20
}

present() { [ -e "$1" ] && echo present || echo absent; }

mv "$(cv_disk 'win98\cvfirdma.sys')" "$E2E_WORK/cvfirdma.sys"
cv_start
box=$(cv_install_from_cd)
e2e_expect_eq "a disk without the SYS file: the box names it" \
    "$(printf '%s\n' 'caption: cvfir' 'text: Can'\''t read driver file C:\cvdisk\win98\cvfirdma.sys')" \
    "$(head -2 <<<"$box")"
# In the system's words for ERROR_FILE_NOT_FOUND, which Wine words differently from Windows.
e2e_expect_match "with the system's reason" '^text: (File not found|The system cannot find the file specified)\.$' \
    "$box"
e2e_expect_eq "the program ends with 1" 1 "$(cv_exit)"
e2e_expect_eq "the old INF is still there" present "$(present "$(cv_c 'windows\inf\cvfirpio.inf')")"
e2e_expect_match "the old device is still there" 'hardware=\*CVN0510' \
    "$(e2e_tool "$cv_prefix" cvdevlist '*CVN0510' || true)"
e2e_expect_eq "nothing is copied" absent "$(present "$(cv_c 'windows\inf\cvfirdma.inf')")"
e2e_expect_match "the log's header names Windows 98" '^==== .* C:\\cvdisk\\cvfir\.exe, Windows 98 \(1\)$' \
    "$(cv_log | head -1)"
e2e_expect_eq "the log ends with the file that could not be read, the box and exit code 1" \
    "$(printf '%s\n' 'step: read C:\cvdisk\win98\cvfirdma.sys' \
        'message box: Can'\''t read driver file C:\cvdisk\win98\cvfirdma.sys')" \
    "$(cv_log | tail -4 | head -2)"
e2e_expect_match "with the system's reason under it" \
    '^             (File not found|The system cannot find the file specified)\.$' "$(cv_log | tail -2 | head -1)"
e2e_expect_eq "and exit code 1" 'exit code 1' "$(cv_log | tail -1)"

# A folder where the INF is to go: the copy cannot replace it.
mv "$E2E_WORK/cvfirdma.sys" "$(cv_disk 'win98\cvfirdma.sys')"
mkdir "$(cv_c 'windows\inf\cvfirdma.inf')"
cv_start
box=$(cv_install_from_cd)
e2e_expect_eq "an INF destination that cannot be written: the box names the file and its destination" \
    "$(printf '%s\n' 'caption: cvfir' \
        'text: Can'\''t copy driver file C:\cvdisk\win98\cvfirdma.inf to C:\windows\inf\cvfirdma.inf')" \
    "$(head -2 <<<"$box")"
e2e_expect_match "with the system's reason" '^text: Access (is )?denied\.$' "$box"
e2e_expect_eq "the program ends with 1" 1 "$(cv_exit)"
e2e_expect_eq "the SYS file is not copied after it" absent "$(present "$(cv_c 'windows\system\cvfirdma.sys')")"
e2e_expect_eq "the second run is appended to the log of the first" 2 \
    "$(tr -d '\r' <"$(cv_c 'windows\cvfir.log')" | grep -c '^==== ')"
e2e_expect_eq "its log ends with the copy that failed and exit code 1" \
    "$(printf '%s\n' 'step: copy C:\cvdisk\win98\cvfirdma.inf to C:\windows\inf\cvfirdma.inf' \
        'message box: Can'\''t copy driver file C:\cvdisk\win98\cvfirdma.inf to C:\windows\inf\cvfirdma.inf')" \
    "$(cv_log | tail -4 | head -2)"
e2e_expect_eq "and exit code 1" 'exit code 1' "$(cv_log | tail -1)"
e2e_summary
