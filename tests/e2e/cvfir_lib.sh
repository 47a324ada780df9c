# shellcheck shell=bash
# What the cvfir scenarios share, on top of lib.sh: a prefix of the scenario's
# own with a Windows profile and the driver disk, cvfir.exe started in it, its
# windows worked through their texts, and what it left behind read back.
#
# A scenario runs under scripts/run-e2e.sh, which exports:
#   E2E_BASE, E2E_TOOLS   the prepared prefix and the test tools (see lib.sh)
#   CVFIR_DIST            cvfir.exe beside the sample driver disk (make dist)
#   E2E_WORK              a folder of the scenario's own
#
#   cv_setup PROFILE            fresh prefix, profile, disk at CV_DISK (C:\cvdisk) with the program
#                               named CV_PROGRAM (cvfir.exe)
#   cv_disk FILE                the Linux path of a file of the laid-out disk
#   cv_c PATH                   the Linux path of C:\PATH
#   cv_start                    start cvfir.exe from the disk
#   cv_start_as_user            start it as a user who is not an administrator (see cvnonadmin)
#   cv_ui COMMAND ARGS          cvuidrv in the prefix
#   cv_click CAPTION [TITLE]    press a button; TITLE defaults to the wizard's
#   cv_wait_text TEXT [TITLE]   wait until a control shows TEXT
#   cv_control TEXT [LISTING]   the listing line of the visible control showing TEXT
#   cv_enabled TEXT [LISTING]   its enabled flag, 0 or 1
#   cv_expect_shows NAME TEXT   a check that a visible control shows TEXT
#   cv_exit [SECONDS]           wait for cvfir.exe to end; prints its exit code
#   cv_stdout                   what it printed
#   cv_reg KEY NAME             a registry value's text ("-" if missing; NAME "" for the default)
#   cv_log                      the last run's lines in cvfir.log in the Windows folder
#   cv_log_own_lines            those that the log writes itself: header, steps, boxes, exit code
#   cv_use_keyboard             an X server of the scenario's own and Wine's X11 display in the
#                               prefix, so that keys are pressed as a person presses them
#   cv_use_display SIZE [WORK_AREA]  the same on a screen of SIZE (640x480), whose work area
#                               (LEFT,TOP,WIDTH,HEIGHT) leaves room for a task bar
#   cv_keys KEY...              press keys there (xdotool's names: Return, Tab, shift+Tab, Down, ...)
#   cv_expect_on_screen NAME TITLE CAPTION...   a check that a person sees each of those controls
#                               of window TITLE whole: inside the windows around it and the work area
#   cv_expect_focus NAME WANTED [WINDOW]   a check that the keyboard focus comes to the control that
#                               shows WANTED (text, caption or class), inside WINDOW when given

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

: "${E2E_BASE:?run the scenarios through scripts/run-e2e.sh}" "${E2E_TOOLS:?}" "${CVFIR_DIST:?}" "${E2E_WORK:?}"

CV_TITLE='Corvane Electronics Corp. FIR driver Installation'
CV_PROMPT='Install'
CV_DISK='C:\cvdisk'
CV_PROGRAM='cvfir.exe'
CV_INFRARED_CLASS='{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}'
CV_INSTANCE_KEY="HKLM\\SYSTEM\\ControlSet001\\Control\\Class\\$CV_INFRARED_CLASS\\0000"
CV_SETUP_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Setup'

# The page texts, as the wizard shows them.
CV_WELCOME_BODY='Welcome to the Corvane FIR driver setup program. This program will install Corvane FIR driver on your computer. It is strongly recommand you exit all Windows programs before running this setup program.'
CV_WELCOME_HINT='Click Cancel to quit Setup and then close any program you have running. Click Next to continue with the Setup program.'
CV_READY_BODY='The setup program is ready to copying files on your computer.'
CV_READY_HINT='Click Back to return previous step. Click Next to begin copying files.'
CV_FINISHED_BODY='The setup program has finished copying files to your computer.'
CV_FINISHED_HINT='Click Finish to complete setup.Please restart your computer.'
CV_PROMPT_TEXT='Setup program has finished copying FIR driver on your computer and needs to restart your computer now. Click Reboot to resart your computer.'

cv_prefix=
cv_out=
cv_runs=0

cv_cleanup() {
    e2e_kill_prefix "$cv_prefix"
    e2e_stop_xvfb
}

cv_setup() {
    cv_prefix=$E2E_WORK/prefix
    mkdir -p "$E2E_WORK"
    e2e_new_prefix "$cv_prefix"
    trap cv_cleanup EXIT
    e2e_set_profile "$cv_prefix" "$1" >/dev/null
    e2e_layout_disk "$cv_prefix" "$CVFIR_DIST" "$CV_DISK"
    [ "$CV_PROGRAM" = cvfir.exe ] || mv "$(cv_disk cvfir.exe)" "$(cv_disk "$CV_PROGRAM")"
}

cv_disk() { e2e_unix_path "$cv_prefix" "$CV_DISK\\$1"; }
cv_c() { e2e_unix_path "$cv_prefix" "C:\\$1"; }

# cv_installed_98 NAME: "same" when the driver file NAME of the disk's win98 folder is the one in the
# Windows folder Windows 98 takes it in (the INF folder or the system folder), "different" otherwise.
cv_installed_98() {
    local folder='windows\system'
    if [[ $1 == *.inf ]]; then
        folder='windows\inf'
    fi
    cmp -s "$(cv_disk "win98\\$1")" "$(cv_c "$folder\\$1")" && echo same || echo different
}

# cv_wine ARGS: a Wine program (reg, regedit, ...) in the prefix, quiet.
cv_wine() { e2e_wine "$cv_prefix" "$E2E_WINE_TIMEOUT" "$@" >/dev/null 2>&1; }

cv_start() {
    cv_runs=$((cv_runs + 1))
    cv_out=$E2E_WORK/run$cv_runs.out
    e2e_run "$cv_prefix" "$CV_DISK\\$CV_PROGRAM" "$cv_out"
}

# Under Wine every process runs as an administrator: cvnonadmin starts cvfir.exe with a token whose
# Administrators group only denies, and ends with its exit code.
cv_start_as_user() {
    cp "$E2E_TOOLS/cvnonadmin.exe" "$(cv_c cvnonadmin.exe)"
    cv_runs=$((cv_runs + 1))
    cv_out=$E2E_WORK/run$cv_runs.out
    e2e_run "$cv_prefix" 'C:\cvnonadmin.exe' "$cv_out" "$CV_DISK\\$CV_PROGRAM"
}

cv_ui() {
    local -
    set -o pipefail
    e2e_tool "$cv_prefix" cvuidrv "$@" | e2e_from_ansi
}

# The welcome page is up inside the background once Next shows there.
cv_wait_wizard() { cv_ui waitchild "$CV_TITLE" 'Next >' 30 >/dev/null; }

cv_click() { cv_ui click "${2:-$CV_TITLE}" "$1" 20 >/dev/null; }
cv_wait_text() { cv_ui waitchild "${2:-$CV_TITLE}" "$1" 20 >/dev/null; }
# Next on the welcome page and on the ready page, by mouse, as soon as the wizard is there.
cv_past_ready_page() {
    cv_wait_wizard
    cv_click 'Next >'
    cv_wait_text 'Start to Setup!'
    cv_click 'Next >'
}

# The Windows 98 CD as drive D, NET8.CAB in its win98 folder, and the further folders named (relative
# to the CD). The shell lists a new drive once the prefix's server starts again.
cv_win98_cd() {
    local cdrom=$E2E_WORK/cdrom folder
    mkdir -p "$cdrom/win98"
    for folder in "$@"; do
        mkdir -p "$cdrom/$folder"
    done
    echo 'a cabinet of the Windows 98 CD' >"$cdrom/win98/NET8.CAB"
    rm -f "$cv_prefix/dosdevices/d:"
    ln -s "$cdrom" "$cv_prefix/dosdevices/d:"
}

# cv_setup_win98_with_cd [FOLDER...]: a Windows 98 with the FIR controller, SourcePath naming an empty
# C:\w98cd (no NET8.CAB there, so the dialog warns until another folder is chosen), and the CD as drive
# D with the further folders named.
cv_setup_win98_with_cd() {
    cv_setup win98
    cv_device '*CVN0510' >/dev/null
    cv_reg_add "$CV_SETUP_KEY" SourcePath 'C:\w98cd'
    mkdir -p "$(cv_c w98cd)"
    cv_win98_cd "$@"
}

# cv_control TEXT [LISTING]: the listing line of the visible control that shows TEXT.
cv_control() {
    local listing=${2-}
    [ -n "$listing" ] || listing=$(cv_ui list)
    grep -F -- " text=\"$1\" " <<<"$listing" | grep -F ' visible=1 ' | head -1
}

# cv_enabled TEXT [LISTING]: 1 or 0, the enabled flag of the control that shows TEXT.
cv_enabled() { cv_control "$@" | sed -n 's/.* enabled=\([01]\) .*/\1/p'; }

# cv_expect_shows NAME TEXT [LISTING]: a visible control shows TEXT, exactly.
cv_expect_shows() {
    if [ -n "$(cv_control "$2" "${3-}")" ]; then
        e2e_pass "$1"
    else
        e2e_fail "$1" "no visible control shows: $2"
    fi
}

cv_exit() { e2e_wait_exit "$cv_out" "${1:-30}"; }
cv_stdout() { e2e_output "$cv_out"; }

cv_log() { e2e_last_log_run "$(cv_c 'windows\cvfir.log')"; }
# A message box's later lines are indented under its first; every other line of the log is one that the
# program wrote to standard output.
CV_LOG_OWN='^(==== |step: |outcome: |message box: |             |exit code )'
cv_log_own_lines() { cv_log | grep -E "$CV_LOG_OWN" || true; }
cv_log_output_lines() { cv_log | grep -vE "$CV_LOG_OWN" || true; }

cv_reg() { e2e_reg_value "$cv_prefix" "$1" "$2"; }

# cv_reg_add KEY NAME VALUE [TYPE]: NAME "" for the key alone.
cv_reg_add() {
    if [ -z "$2" ]; then
        cv_wine reg add "$1" /f
    else
        cv_wine reg add "$1" /v "$2" /t "${4:-REG_SZ}" /d "$3" /f
    fi
}

# cv_setup_dat TEXT: the disk's setup.dat, one line as Windows writes it.
cv_setup_dat() { printf '%s\r\n' "$1" >"$(cv_disk setup.dat)"; }

# cv_device ID...: a present device with those hardware IDs; prints its instance ID.
cv_device() { e2e_tool "$cv_prefix" cvdevmake "$@"; }
# The present devices that hold the controller's ID, one line each as cvdevlist prints them; "no device"
# when the tool answers that none does, told apart from its failure, whose words are printed instead.
cv_fir_devices() {
    local out rc=0
    out=$(e2e_tool "$cv_prefix" cvdevlist '*CVN0510' 2>&1) || rc=$?
    if [ "$rc" = 1 ] && [ -z "$out" ]; then echo 'no device'; else printf '%s\n' "$out"; fi
}

# cv_expect_appears NAME TEXT [WINDOW]: a check that a control showing TEXT appears in WINDOW (the
# wizard's background by default) within 20 seconds.
cv_expect_appears() {
    if cv_wait_text "$2" "${3-}"; then e2e_pass "$1"; else e2e_fail "$1" "no \"$2\" in ${3:-$CV_TITLE}"; fi
}

# The finished page, as every install that returns leaves it.
cv_expect_finished_page() {
    cv_wait_text 'Setup complete!'
    local listing
    listing=$(cv_ui list)
    cv_expect_shows "$1: the finished page's body" "$CV_FINISHED_BODY" "$listing"
    cv_expect_shows "$1: and its hint" "$CV_FINISHED_HINT" "$listing"
    e2e_expect_eq "$1: Finish enabled, Back disabled" "1 0" \
        "$(cv_enabled Finish "$listing") $(cv_enabled '< Back' "$listing")"
}

# Finish opens the restart prompt with its text, and the wizard is gone.
cv_expect_prompt_after_finish() {
    cv_click Finish
    cv_ui waitchild "$CV_PROMPT" Restart 20 >/dev/null
    local listing
    listing=$(cv_ui list)
    cv_expect_shows "$1: the prompt shows its text" "$CV_PROMPT_TEXT" "$listing"
    e2e_expect_match "$1: the prompt is shown" "depth=0 .*class=\"CvfirForm\" text=\"$CV_PROMPT\" .* visible=1 " \
        "$listing"
    e2e_expect_eq "$1: the wizard is hidden" "" "$(cv_control "$CV_FINISHED_BODY" "$listing")"
}

# One install through Plug and Play with the FIR controller present, from start to restart: the
# driver installed for it, the transceiver type of setup.dat under the class instance, the search on
# standard output, and Restart ending the program with 0. PROFILE, DIGIT for setup.dat.
cv_install_with_device() {
    cv_setup "$1"
    cv_device_install "$1" "$2" cv_start
}

# cv_device_install PROFILE DIGIT START: as above in a prefix already set up, cvfir.exe started by
# the command START.
cv_device_install() {
    local profile=$1 digit=$2 device
    device=$(cv_device 'PNP0510' '*CVN0510')
    cv_setup_dat "$digit"
    "$3"
    cv_past_ready_page
    cv_expect_finished_page "$profile"

    e2e_expect_eq "$profile: the driver is installed for the device" \
        "cvfirdma.inf|$device class=$CV_INFRARED_CLASS hardware=PNP0510;*CVN0510 driver=$CV_INFRARED_CLASS\\0000" \
        "$(cv_reg "$CV_INSTANCE_KEY" InfPath)|$(e2e_tool "$cv_prefix" cvdevlist '*CVN0510')"
    e2e_expect_eq "$profile: InfraredTransceiverType is setup.dat's digit" "$digit" \
        "$(cv_reg "$CV_INSTANCE_KEY" InfraredTransceiverType)"
    # Wine has devices of its own (HID, monitor, PCI); their lines come between the searches.
    local search
    search=$(printf '%s\n' 'Search for Device ID: [*CVN0510]' 'Compare device ID: [PNP0510]' \
        'Compare device ID: [*CVN0510]' 'Found! [*CVN0510]')
    e2e_expect_eq "$profile: two searches, each finding the ID as the device's second entry" \
        "$search"$'\n'"$search" \
        "$(cv_stdout | grep -E '^(Search for|Found!|Compare device ID: \[(PNP0510|\*CVN0510)\])')"

    cv_expect_prompt_after_finish "$profile"
    cv_click Restart "$CV_PROMPT"
    e2e_expect_eq "$profile: Restart ends the program with 0" 0 "$(cv_exit 60)"
}

# ---- modules planted on the disk ----
# A copy of cvmark.dll beside cvfir.exe under the name of each module that cvfir.exe loads at run time:
# loaded, it leaves NAME.dll.loaded on the disk.
CV_PLANTED_MODULES='setupapi comctl32 newdev shell32'
# Windows' search order for the names it does not protect: the program's folder first. shell32 is one
# of Windows' known modules, which it takes from the system folder whatever lies beside the program, so
# Wine's own order (its built-in module first) is already Windows' for that name.
CV_PLANTED_OVERRIDES='setupapi,comctl32,newdev=n,b'

cv_plant_modules() {
    local name
    for name in $CV_PLANTED_MODULES; do
        cp "$E2E_TOOLS/cvmark.dll" "$(cv_disk "$name.dll")"
    done
}

# cvfir.exe started with Windows' search order for the planted names, for this run only, and Wine's
# record of every module loaded (with where it came from) in its standard error.
cv_start_planted() { WINEDLLOVERRIDES=$CV_PLANTED_OVERRIDES WINEDEBUG=+loaddll cv_start; }

# The marks that planted modules left on the disk, one file name a line, in lower case (a mark is named
# after the module as it was asked for).
cv_marks() { (cd "$(dirname "$(cv_disk cvfir.exe)")" && ls -- *.loaded 2>/dev/null | tr 'A-Z' 'a-z') || true; }

# A program of ours that imports setupapi.dll, run from the disk with the same search order, must load
# the planted one: the planting and the search order work, so no mark later means cvfir.exe asked for
# the system folder's module.
cv_expect_planted_module_loads() {
    cp "$E2E_TOOLS/cvdevmake.exe" "$(cv_disk cvdevmake.exe)"
    WINEDLLOVERRIDES=$CV_PLANTED_OVERRIDES e2e_wine "$cv_prefix" "$E2E_WINE_TIMEOUT" "$CV_DISK\\cvdevmake.exe" \
        >/dev/null 2>&1 || true
    e2e_expect_eq "a program that imports setupapi.dll loads the one planted beside it" setupapi.dll.loaded \
        "$(cv_marks)"
    rm -f "$(cv_disk cvdevmake.exe)" "$(dirname "$(cv_disk cvfir.exe)")"/*.loaded
}

# After a whole run: no mark, and no module from a file of the disk but cvfir.exe. Wine's record reads
# `Loaded L"PATH" at ADDRESS: native` for a module from a file; for one of its own it says `builtin`,
# and gives the path of any file of that name it came across first, the disk's included.
cv_expect_no_planted_module_loaded() {
    e2e_expect_eq "$1: no planted module left a mark" "" "$(cv_marks)"
    e2e_expect_eq "$1: the only module loaded from a file of the disk is cvfir.exe" 'c:\\cvdisk\\cvfir.exe' \
        "$(sed -n 's/.*Loaded L"\([^"]*\)" at [0-9A-F]*: native$/\1/p' "$cv_out.err" | tr 'A-Z' 'a-z' |
            grep -F 'c:\\cvdisk\\' | sort -u)"
}

# ---- the keyboard -------------------------------------------------------------------------------

# The other scenarios use Wine's null display, which has no keyboard. Here Wine draws on an X server
# of the scenario's own, whose keyboard xdotool presses through the server's test extension: the keys
# reach the program as they would from a person, through the X server, Wine's driver and the message
# loop. Without a window manager, Wine gives the X focus to the window it activates itself.
cv_use_keyboard() { cv_use_display 1024x768; }

cv_use_display() {
    e2e_start_xvfb "$E2E_WORK/x" "$1"
    [ -z "${2-}" ] || e2e_set_work_area "$2"
    printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Graphics"=-' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' \
        >"$cv_prefix/drive_c/windows/temp/cvfir-display.reg"
    cv_wine regedit /S 'C:\windows\temp\cvfir-display.reg'
    e2e_settle_prefix "$cv_prefix"
}

# cv_keys KEY...: one key after the other, each pressed and released.
cv_keys() { timeout 10 xdotool key --delay 40 "$@"; }

cv_expect_on_screen() {
    local name=$1 seen
    shift
    if seen=$(cv_ui onscreen "$@" 2>&1); then
        e2e_pass "$name"
    else
        mapfile -t seen <<<"$seen"
        e2e_fail "$name" "${seen[@]}"
    fi
}

cv_expect_focus() {
    local name=$1 wanted=$2 window=${3-} seen
    if ! seen=$(cv_ui focus "$wanted" 10 2>&1); then
        e2e_fail "$name" "$seen"
    elif [ -n "$window" ] && ! grep -qF "parent=\"$window\"" <<<"$(head -1 <<<"$seen")"; then
        e2e_fail "$name" "not inside \"$window\": $seen"
    else
        e2e_pass "$name"
    fi
}

# ---- East Asian code pages ----------------------------------------------------------------------

# In an East Asian locale of lib.sh (LOCALE, with its ANSI code page CODE_PAGE), the program laid out
# in the folder DISK under the file name PROGRAM, both holding characters whose second byte is a
# backslash or a letter (scenario_big5.sh, scenario_shiftjis.sh): its title on a message box, the
# Windows XP and the Windows 98 installations from start to restart, and on Windows 98 the source folder
# CD_FOLDER of the CD (holding such characters too) picked in the dialog's tree.
#   cv_east_asian_installs LOCALE CODE_PAGE DISK PROGRAM CD_FOLDER
cv_east_asian_installs() {
    local locale=$1 code_page=$2 cd_folder=$5
    e2e_use_locale "$locale"
    CV_DISK=$3
    CV_PROGRAM=$4
    cv_setup winxp
    e2e_expect_match "the prefix runs in code page $code_page" "^contract \\(Wine, code page $code_page\\): 1 passed" \
        "$(e2e_tool "$cv_prefix" cvcontract --code-page "$code_page" "CodePage${code_page}_LeadBytes" || true)"
    cv_expect_title "${CV_PROGRAM%.exe}"
    cv_device_install "XP from $CV_DISK" 2 cv_start
    e2e_expect_match "the log's header names code page $code_page" ", code page $code_page\$" "$(cv_log | head -1)"
    cv_east_asian_win98 "$cd_folder"
}

# Without setup.dat the install step stops at its message box, captioned with the application title:
# the program's file name without ".exe", as it is written. Cancel then ends the program.
cv_expect_title() {
    rm -f "$(cv_disk setup.dat)"
    cv_start
    cv_past_ready_page
    e2e_expect_eq "the title is the program's name: $1" \
        "$(printf '%s\n' "caption: $1" 'text: File Setup.dat Open Error!!')" "$(cv_ui msgbox 20 | head -2)"
    cv_click Cancel
    e2e_expect_eq "Cancel then ends the program with 1" 1 "$(cv_exit 30)"
}

# Windows 98, the CD's folder picked in the tree: its path fills the box, Ok records it and copies the
# driver's files from the program's folder.
cv_east_asian_win98() {
    local picked="D:\\${1//\//\\}"
    cv_setup_win98_with_cd "$1"
    echo 'a cabinet of the Windows 98 CD' >"$E2E_WORK/cdrom/$1/NET8.CAB"
    e2e_kill_prefix "$cv_prefix"
    cv_start
    cv_past_ready_page
    cv_ui waitchild "$CV_TITLE" Ok 20 >/dev/null
    cv_ui treeselect "$CV_TITLE" "$(e2e_my_computer_path "$(cv_ui tree "$CV_TITLE")")\\(D:)\\${1//\//\\}" >/dev/null
    cv_expect_shows "98: the folder picked in the tree fills the path box" "$picked"
    cv_click Ok
    cv_expect_finished_page "98 from $CV_DISK"
    e2e_expect_eq "98: the picked folder is the new SourcePath" "$picked" \
        "$(cv_reg "$CV_SETUP_KEY" SourcePath | e2e_from_ansi)"
    e2e_expect_eq "98: the driver's files are copied from the program's folder" "same same" \
        "$(cv_installed_98 cvfirdma.inf) $(cv_installed_98 cvfirdma.sys)"
    cv_expect_prompt_after_finish "98 from $CV_DISK"
    cv_click Restart "$CV_PROMPT"
    e2e_expect_eq "98: Restart ends the program with 0" 0 "$(cv_exit 60)"
}
