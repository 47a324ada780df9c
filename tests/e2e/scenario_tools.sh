#!/usr/bin/env bash
# The test tools and lib.sh themselves, since every other scenario trusts them: the ControlSet001
# link, the version profiles, a present *CVN0510 device, the sample disk's XP INF installing for it
# through the real driver update, and the UI driver working a window and its message boxes (on
# cvfixture, a window of known controls).
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

: "${E2E_BASE:?run the scenarios through scripts/run-e2e.sh}" "${E2E_TOOLS:?}" "${E2E_WORK:?}"

work=$E2E_WORK
prefix="$work/prefix"
infrared_class='{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}'
fixture='cvuidrv fixture'

tool() { e2e_tool "$prefix" "$@"; }
ui() { e2e_tool "$prefix" cvuidrv "$@"; }

# rc_of COMMAND...: prints the command's exit code; its output is dropped.
rc_of() {
    local rc=0
    "$@" >/dev/null 2>&1 || rc=$?
    echo "$rc"
}

reg_value() { e2e_reg_value "$prefix" "$1" "$2"; }

check_registry_link() {
    e2e_expect_eq "cvreglink keeps the link the base prefix has" \
        'HKLM\SYSTEM\ControlSet001 already links to CurrentControlSet' "$(tool cvreglink)"
    e2e_wine "$prefix" 30 reg add 'HKLM\SYSTEM\CurrentControlSet\Control\CvfirSmoke' /v Probe /d written /f \
        >/dev/null
    e2e_expect_eq "a value written in CurrentControlSet reads back through ControlSet001" \
        written "$(reg_value 'HKLM\SYSTEM\ControlSet001\Control\CvfirSmoke' Probe)"
}

# The profiles in an order that makes each one delete what the one before set.
check_profiles() {
    local profile actual
    local -A expected=(
        [win98]='Windows 98|-|-'
        [winme]='Windows Millennium Edition|-|-'
        [win2000]='-|5.0|Microsoft Windows 2000'
        [winxp]='-|5.1|Microsoft Windows XP'
        [unsupported]='-|6.1|Microsoft Windows 7'
    )
    for profile in winxp win98 win2000 winme unsupported; do
        e2e_set_profile "$prefix" "$profile" >/dev/null
        actual="$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion' Version)"
        actual+="|$(reg_value 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' CurrentVersion)"
        actual+="|$(reg_value 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' ProductName)"
        e2e_expect_eq "profile $profile: Version|CurrentVersion|ProductName" "${expected[$profile]}" "$actual"
    done
    e2e_expect_eq "an unknown profile is refused" 1 "$(rc_of e2e_set_profile "$prefix" win95)"
}

check_devices() {
    local made second
    made=$(tool cvdevmake '*CVN0510')
    e2e_expect_match "cvdevmake prints the new instance ID" '^ROOT\\INFRARED\\[0-9]{4}$' "$made"
    e2e_expect_eq "the device is present in the Infrared class with its hardware ID" \
        "$made class=$infrared_class hardware=*CVN0510 driver=" "$(tool cvdevlist '*CVN0510')"

    second=$(tool cvdevmake 'PNP0510' '*CVN0510')
    e2e_expect_match "a device keeps its hardware IDs in the order given" \
        "^${second//\\/\\\\} .* hardware=PNP0510;\\*CVN0510 " "$(tool cvdevlist)"
    tool cvdevmake -r "$second" >/dev/null
    e2e_expect_eq "cvdevmake -r removes the device" "" "$(tool cvdevlist PNP0510 || true)"
    e2e_expect_eq "cvdevlist fails when no device has the ID" 1 "$(rc_of tool cvdevlist NOSUCH)"
}

# The sample disk's XP INF installs for the device: the class key gains the
# INF, and the device gains its driver key.
check_driver_update() {
    local device key="HKLM\\SYSTEM\\ControlSet001\\Control\\Class\\$infrared_class\\0000"
    device=$(tool cvdevlist '*CVN0510' | cut -d' ' -f1)
    e2e_layout_disk "$prefix" "$E2E_REPO/disk" 'C:\cvdisk'
    tool cvpnpupdate 'C:\cvdisk\winxp\cvfirdma.inf' '*CVN0510' >/dev/null
    e2e_expect_eq "the driver update records InfPath" cvfirdma.inf "$(reg_value "$key" InfPath)"
    e2e_expect_eq "and the INF's settings under Ndi\\params" 0 \
        "$(reg_value "$key\\Ndi\\params\\InfraredTransceiverType" default)"
    e2e_expect_eq "and the device's driver key" \
        "$device class=$infrared_class hardware=*CVN0510 driver=$infrared_class\\0000" "$(tool cvdevlist '*CVN0510')"
}

install_fixture() {
    mkdir -p "$prefix/drive_c/cvfixture"
    cp "$E2E_TOOLS/cvfixture.exe" "$prefix/drive_c/cvfixture/"
}

# A message box of a program with no window: its caption and text are read,
# OK (or the button asked for) is pressed, and the program sees that button.
check_message_boxes() {
    local out="$work/msgbox.out"
    e2e_run "$prefix" 'C:\cvfixture\cvfixture.exe' "$out" msgbox 'Smoke box' 'Hello from the box'
    e2e_expect_eq "msgbox prints the caption and text and presses OK" \
        "$(printf 'caption: Smoke box\ntext: Hello from the box\npressed: OK')" \
        "$(ui msgbox 10)"
    e2e_expect_eq "the program ends with IDOK" 1 "$(e2e_wait_exit "$out" 10)"
    e2e_expect_eq "and printed its answer on stdout" 'answer 1' "$(e2e_output "$out")"

    e2e_run "$prefix" 'C:\cvfixture\cvfixture.exe' "$out" msgbox 'Smoke choice' 'Go on?' yesno
    e2e_expect_eq "a box without OK is not answered by default" 1 "$(rc_of ui msgbox 10)"
    ui msgbox 10 No >/dev/null
    e2e_expect_eq "the button asked for is pressed (mnemonic ignored)" 7 "$(e2e_wait_exit "$out" 10)"
    e2e_expect_eq "no box left: msgbox times out with 2" 2 "$(rc_of ui msgbox 0.3)"
}

check_window_listing() {
    local listing
    e2e_expect_match "waitchild waits for a control made after the window" \
        'class="Button" text="Late" id=108 enabled=1 visible=1' "$(ui waitchild "$fixture" Late)"

    listing=$(ui list)
    e2e_expect_eq "list shows the window and its 9 controls, nothing of Wine's" 10 "$(wc -l <<<"$listing")"
    e2e_expect_match "a top-level line" \
        '^hwnd=0x[0-9A-F]{8} depth=0 pid=[0-9]+ exe=cvfixture.exe class="CvFixtureWindow" text="cvuidrv fixture" id=0 enabled=1 visible=1 parent="" rect=40,30,360,290$' \
        "$listing"
    e2e_expect_match "a control line, rect in the parent's client area" \
        ' depth=1 .* class="Button" text="Off" id=104 enabled=0 visible=1 parent="cvuidrv fixture" rect=100,90,180,115$' \
        "$listing"
    e2e_expect_match "a control inside a control" ' depth=2 .* text="Inner" id=107 ' "$listing"
}

check_window_refusals() {
    e2e_expect_eq "click on a disabled button times out with 2" 2 "$(rc_of ui click "$fixture" Off 0.3)"
    e2e_expect_eq "click on a missing button times out with 2" 2 "$(rc_of ui click "$fixture" Nope 0.3)"
    e2e_expect_eq "wait matches the whole title" 2 "$(rc_of ui wait 'cvuidrv fixtur' 0.3)"
    e2e_expect_eq "a command short of arguments is a usage error" 3 "$(rc_of ui click "$fixture")"
}

# Each action reaches the program, in order: text, key, presses, the modal
# box, the close request.
check_window_actions() {
    local out=$1
    ui settext "$fixture" Edit 2 'typed text' >/dev/null
    e2e_expect_match "key goes to the focused control" ' class="Edit" text="typed text" id=102 ' \
        "$(ui key "$fixture" RETURN)"
    ui click "$fixture" Greet >/dev/null
    ui click "$fixture" Off >/dev/null
    ui click "$fixture" Ask >/dev/null
    e2e_expect_eq "a window under a modal box cannot be clicked" 2 "$(rc_of ui click "$fixture" Greet 0.3)"
    e2e_expect_line "the owned box is found" 'text: Second line' "$(ui msgbox 10)"
    e2e_expect_match "queryend prints the window's answer to a log-off's query" \
        '^answer=1 hwnd=0x[0-9A-F]{8} depth=0 .* text="cvuidrv fixture" ' "$(ui queryend "$fixture")"
    ui close "$fixture" >/dev/null
    e2e_expect_eq "the window closes and the program ends with 0" 0 "$(e2e_wait_exit "$out" 10)"
    e2e_expect_eq "the program saw each action, in order" \
        "$(printf '%s\n' shown 'edit2 changed to typed text' 'key 0x0D to 102' \
            'clicked Greet edit2=typed text' 'clicked Off' 'asked 1' closing ended)" \
        "$(e2e_output "$out")"
}

check_window() {
    local out="$work/window.out"
    e2e_run "$prefix" 'C:\cvfixture\cvfixture.exe' "$out" window
    ui wait "$fixture" >/dev/null
    check_window_listing
    check_window_refusals
    check_window_actions "$out"
}

main() {
    e2e_new_prefix "$prefix"
    trap 'e2e_kill_prefix "$prefix"' EXIT
    check_registry_link
    check_profiles
    check_devices
    check_driver_update
    install_fixture
    check_message_boxes
    check_window
    e2e_summary
}

main "$@"
