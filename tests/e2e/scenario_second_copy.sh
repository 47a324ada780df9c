#!/usr/bin/env bash
# One copy at a time. While the first cvfir.exe shows its wizard, and another program's window has been
# activated meanwhile, a second cvfir.exe is started, as a double-click on a slow CD or autorun beside a
# click would start it. The second ends by itself with 1, having shown no window, and brings the first
# one's windows back to the front; its log says why. The first then installs to the end.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

fixture='cvuidrv fixture'
backgrounds() {
    grep -c "^hwnd=[^ ]* depth=0 .*exe=cvfir.exe class=\"CvfirForm\" text=\"$CV_TITLE\" .* visible=1 " \
        <<<"$(cv_ui list)" || true
}

# cv_device_install's start: the first copy, then the second beside it.
start_two_copies() {
    cv_start
    local first=$cv_out
    cv_wait_wizard
    mkdir -p "$(cv_c cvfixture)"
    cp "$E2E_TOOLS/cvfixture.exe" "$(cv_c cvfixture)/"
    e2e_run "$cv_prefix" 'C:\cvfixture\cvfixture.exe' "$E2E_WORK/fixture.out" window
    cv_ui wait "$fixture" 20 >/dev/null
    cv_expect_focus "another program's window has the keyboard" second "$fixture"

    cv_start
    e2e_expect_eq "the second copy ends by itself with 1" 1 "$(cv_exit 30)"
    e2e_expect_eq "it wrote nothing to standard output" "" "$(cv_stdout)"
    e2e_expect_eq "its log says why, and its exit code" \
        "$(printf '%s\n' 'another copy of the setup program is running: its windows come to the front, and this one ends' \
            'exit code 1')" "$(cv_log | tail -n +2)"
    e2e_expect_eq "one background is shown" 1 "$(backgrounds)"
    e2e_expect_match "the first copy's wizard is in front again, Next focused" \
        "^foreground .*exe=cvfir.exe class=\"CvfirForm\" text=\"$CV_TITLE\" " "$(cv_ui focus 'Next >' 10 2>&1 || true)"
    cv_out=$first
}

cv_setup winxp
cv_device_install "the first copy" 2 start_two_copies
e2e_summary
