#!/usr/bin/env bash
# Builds the Windows test tools, prepares the base Wine prefix, and proves
# under Wine that the tools and lib.sh do what the scenarios rely on: the
# ControlSet001 link, the version profiles, a present *CVN0510 device, the
# sample disk's XP INF installing for it, and the UI driver working a window
# and its message boxes. Prints the time of each step on stderr.
#
#   tests/e2e/smoke_tools.sh [BUILD_DIR]      (default: build)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=lib.sh
source "$repo/tests/e2e/lib.sh"

build=$(realpath -m "${1:-$repo/build}")
tools_build="$build/tools-smoke"
work="$build/e2e-smoke"
prefix="$work/prefix"
infrared_class='{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}'
fixture='cvuidrv fixture'

# timed NAME COMMAND...: runs the command and prints how long it took on
# stderr, so that the command's own output can still be captured.
timed() {
    local name=$1 start
    shift
    start=$(e2e_now_ms)
    "$@"
    printf 'time %-28s %6ss\n' "$name" "$(e2e_since "$start")" >&2
}

tool() { e2e_tool "$prefix" "$@"; }
ui() { e2e_tool "$prefix" cvuidrv "$@"; }

# rc_of COMMAND...: prints the command's exit code; its output is dropped.
rc_of() {
    local rc=0
    "$@" >/dev/null 2>&1 || rc=$?
    echo "$rc"
}

# reg_value KEY NAME: the value's text, or "-" when it is not there.
reg_value() {
    local text
    text=$(e2e_wine "$prefix" 30 reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $2    REG_[A-Z_]*    //p") || true
    printf '%s\n' "${text:--}"
}

build_tools() {
    local log="$build/tools-smoke.log"
    mkdir -p "$build"
    if ! { cmake -S "$repo/tools" -B "$tools_build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake" &&
        cmake --build "$tools_build" -j2; } >"$log" 2>&1; then
        cat "$log" >&2
        return 1
    fi
}

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
        timed "set profile $profile" e2e_set_profile "$prefix" "$profile"
        actual="$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion' Version)"
        actual+="|$(reg_value 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' CurrentVersion)"
        actual+="|$(reg_value 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' ProductName)"
        e2e_expect_eq "profile $profile: Version|CurrentVersion|ProductName" "${expected[$profile]}" "$actual"
    done
    e2e_expect_eq "an unknown profile is refused" 1 "$(rc_of e2e_set_profile "$prefix" win95)"
}

check_devices() {
    local made second
    made=$(timed "cvdevmake *CVN0510" tool cvdevmake '*CVN0510')
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
    timed "lay out the disk" e2e_layout_disk "$prefix" "$repo/disk" 'C:\cvdisk'
    timed "cvpnpupdate winxp INF" tool cvpnpupdate 'C:\cvdisk\winxp\cvfirdma.inf' '*CVN0510' >/dev/null
    e2e_expect_eq "the driver update records InfPath" cvfirdma.inf "$(reg_value "$key" InfPath)"
    e2e_expect_eq "and the INF's settings under Ndi\\params" 0 \
        "$(reg_value "$key\\Ndi\\params\\InfraredTransceiverType" default)"
    e2e_expect_eq "and the device's driver key" \
        "$device class=$infrared_class hardware=*CVN0510 driver=$infrared_class\\0000" "$(tool cvdevlist '*CVN0510')"
}

install_fixture() {
    mkdir -p "$prefix/drive_c/cvfixture"
    cp "$tools_build/cvfixture.exe" "$prefix/drive_c/cvfixture/"
}

# A message box of a program with no window: its caption and text are read,
# OK (or the button asked for) is pressed, and the program sees that button.
check_message_boxes() {
    local out="$work/msgbox.out"
    e2e_run "$prefix" 'C:\cvfixture\cvfixture.exe' "$out" msgbox 'Smoke box' 'Hello from the box'
    e2e_expect_eq "msgbox prints the caption and text and presses OK" \
        "$(printf 'caption: Smoke box\ntext: Hello from the box\npressed: OK')" \
        "$(timed "cvuidrv msgbox" ui msgbox 10)"
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

    listing=$(timed "cvuidrv list" ui list)
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
    timed "cvuidrv click" ui click "$fixture" Greet >/dev/null
    ui click "$fixture" Off >/dev/null
    ui click "$fixture" Ask >/dev/null
    e2e_expect_eq "a window under a modal box cannot be clicked" 2 "$(rc_of ui click "$fixture" Greet 0.3)"
    e2e_expect_line "the owned box is found" 'text: Second line' "$(ui msgbox 10)"
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
    timed "cvuidrv wait" ui wait "$fixture" >/dev/null
    check_window_listing
    check_window_refusals
    check_window_actions "$out"
}

main() {
    local start
    start=$(e2e_now_ms)
    timed "packages" e2e_ensure_packages
    timed "build tools" build_tools
    timed "prepare base prefix" e2e_prepare_base "$build" "$tools_build"
    mkdir -p "$work"
    timed "copy prefix" e2e_new_prefix "$prefix"

    timed "registry link checks" check_registry_link
    timed "profile checks" check_profiles
    timed "device checks" check_devices
    timed "driver update checks" check_driver_update
    install_fixture
    timed "message box checks" check_message_boxes
    timed "window checks" check_window

    e2e_kill_prefix "$prefix"
    printf 'time %-28s %6ss\n' "whole smoke" "$(e2e_since "$start")" >&2
    e2e_summary
}

main "$@"
