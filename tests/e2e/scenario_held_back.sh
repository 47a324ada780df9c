#!/usr/bin/env bash
# Nothing cuts the install off half-way, and its end comes to the front, on Windows XP and Me. The
# driver update is made slow on purpose: cvslowpnp.dll stands in the system folder as newdev.dll and
# takes the program's messages, as the system's own dialogs do during an update, until the scenario
# lets it hand the call to the system's module. Meanwhile close requests are posted to the background
# and to the wizard (as End Task and a close box send them), a log-off's query is sent to both, and
# another program's window is activated. The program goes on: both say "not now" to the log-off, and
# on Me the driver cabinet stays parked until the update is over and is back after it. When the update
# returns, the background asks to come back to the front, which Wine grants (Windows refuses it to a
# program the user has left, unit-tested), with the focus on Finish, so that Enter opens the restart
# prompt; a close request there ends the program with 1 again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

fixture='cvuidrv fixture'

# The system's newdev.dll moved aside, and the slow one in its place.
slow_update() {
    local system
    system=$(cv_c 'windows\system32')
    mv "$system/newdev.dll" "$system/cvrealpnp.dll"
    cp "$E2E_TOOLS/cvslowpnp.dll" "$system/newdev.dll"
    mkdir -p "$(cv_c cvfixture)"
    cp "$E2E_TOOLS/cvfixture.exe" "$(cv_c cvfixture)/"
}

# wait_for FILE: true once FILE exists, false after 30 s.
wait_for() {
    local _
    for _ in $(seq 300); do
        [ ! -e "$1" ] || return 0
        sleep 0.1
    done
    return 1
}

still_running() { e2e_is_running "$cv_out" && echo running || echo "ended with $(cat "$cv_out.rc")"; }

# held_back PROFILE CHECK: the run, with CHECK called while the update waits (its argument "during")
# and once the finished page is up ("after").
held_back() {
    local profile=$1 check=$2 running go answers
    running=$(cv_c 'windows\system32\cvslowpnp.running')
    go=$(cv_c 'windows\system32\cvslowpnp.go')
    WINEDLLOVERRIDES=newdev=n cv_start
    cv_past_ready_page
    if ! wait_for "$running"; then
        e2e_fail "$profile: the slow update runs" "no $running; on the screen:" "$(cv_ui msgbox 1 2>&1)"
        e2e_kill_prefix "$cv_prefix"
        return
    fi

    e2e_expect_eq "$profile: a close request goes to the background and to the wizard" \
        "closing depth=0|closing depth=1" \
        "$(cv_ui closeeach "$CV_TITLE" | sed 's/ hwnd=[^ ]* \(depth=[0-9]\).*/ \1/' | paste -sd '|')"
    answers=$(cv_ui queryend "$CV_TITLE" | sed 's/ hwnd=[^ ]* \(depth=[0-9]\).*/ \1/' | paste -sd '|')
    e2e_expect_eq "$profile: both say \"not now\" to a log-off" "answer=0 depth=0|answer=0 depth=1" "$answers"
    e2e_run "$cv_prefix" 'C:\cvfixture\cvfixture.exe' "$E2E_WORK/fixture-$profile.out" window
    cv_ui wait "$fixture" 20 >/dev/null
    cv_expect_focus "$profile: another program's window has the keyboard meanwhile" second "$fixture"
    "$check" during
    sleep 1  # what was posted has been taken by now
    e2e_expect_eq "$profile: the program goes on" running "$(still_running)"

    touch "$go"
    cv_expect_finished_page "$profile"
    e2e_expect_eq "$profile: the program still runs at the finished page" running "$(still_running)"
    local focus
    focus=$(cv_ui focus Finish 10 2>&1 || true)
    e2e_expect_match "$profile: Finish has the focus" '^focus .* text="Finish" ' "$focus"
    e2e_expect_match "$profile: in the background, the foreground window" \
        "^foreground .*exe=cvfir.exe class=\"CvfirForm\" text=\"$CV_TITLE\" " "$focus"
    "$check" after
    cv_ui key "$CV_TITLE" RETURN >/dev/null
    cv_expect_appears "$profile: Enter, where the focus is, opens the restart prompt" Restart "$CV_PROMPT"
    cv_ui close "$CV_PROMPT" >/dev/null
    e2e_expect_eq "$profile: a close request ends the program with 1 again" 1 "$(cv_exit 30)"
    e2e_kill_prefix "$cv_prefix"
}

installed_on_xp() {
    [ "$1" = after ] || return 0
    e2e_expect_eq "XP: the driver is installed for the device" "cvfirdma.inf|3" \
        "$(cv_reg "$CV_INSTANCE_KEY" InfPath)|$(cv_reg "$CV_INSTANCE_KEY" InfraredTransceiverType)"
}

cabinet_on_me() {
    local cabinet
    cabinet=$(cv_c 'windows\Driver Cache\i386\driver.cab')
    if [ "$1" = during ]; then
        e2e_expect_eq "Me: the cabinet is parked while the update runs" absent \
            "$([ -e "$cabinet" ] && echo present || echo absent)"
    else
        e2e_expect_eq "Me: the cabinet is back in its place" "the cached driver cabinet" "$(cat "$cabinet")"
    fi
}

cv_setup winxp
cv_device '*CVN0510' >/dev/null
cv_setup_dat 3
slow_update
held_back XP installed_on_xp

cv_setup winme
cv_device '*CVN0510' >/dev/null
cv_setup_dat 2
cabinet=$(cv_c 'windows\Driver Cache\i386\driver.cab')
mkdir -p "$(dirname "$cabinet")"
echo 'the cached driver cabinet' >"$cabinet"
slow_update
held_back Me cabinet_on_me
e2e_summary
