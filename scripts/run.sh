#!/usr/bin/env bash
# make run: cvfir.exe from the sample driver disk, in a Wine prefix of its own under build/run/, made
# to look like one Windows version, with a simulated FIR controller (hardware ID *CVN0510) present.
#
#   scripts/run.sh [OS] [--walk] [--shots DIR] [--work DIR] [--screen WIDTHxHEIGHT]
#                  [--work-area L,T,WIDTH,HEIGHT] [--locale LOCALE]
#     OS          winxp (default), win2000, winme, win98 or unsupported
#     --walk      walk the wizard under Xvfb even when there is a display
#     --shots     where the walk's screenshots go (default build/screenshots)
#     --work      where the sandbox prefix, the Windows 98 CD and the X server's files go (default
#                 build/run), so that a test can walk in a folder of its own
#     --screen    the size of the Xvfb screen (default 1024x768)
#     --work-area the screen less a task bar, as Wine's X11 driver gives it to Windows (default the
#                 whole screen)
#     --locale    an East Asian Windows: zh_TW.UTF-8 (Big5) or ja_JP.UTF-8 (Shift-JIS), with a font of
#                 its characters in the prefix and the Windows 98 CD's folder named in them
#
# With a DISPLAY, the program runs there for a person to click through. Without one (or with --walk)
# it runs under Xvfb, at 1024 x 768 unless told, the UI driver and the X server's keyboard walk it from
# start to restart as a person does, and a screenshot of each step is saved. Either way, what the
# program did is printed at the end: its exit code, its standard output, and what it wrote. A walk
# ends non-zero when it cannot finish or the program ends with another code than the walk's own (0
# after Restart, 1 after the refusal of an unsupported Windows). The host's own Wine prefix and home
# are never touched.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../tests/e2e/lib.sh
source "$repo/tests/e2e/lib.sh"

os=winxp
walk=0
shots=$repo/build/screenshots
work=$repo/build/run
screen=1024x768
work_area=
locale=
while [ $# -gt 0 ]; do
    case $1 in
        --walk) walk=1 ;;
        --shots) shots=$(realpath -m "$2"); shift ;;
        --work) work=$(realpath -m "$2"); shift ;;
        --screen) screen=$2; shift ;;
        --work-area) work_area=$2; shift ;;
        --locale) locale=$2; shift ;;
        win98 | winme | win2000 | winxp | unsupported) os=$1 ;;
        *) e2e_die "usage: scripts/run.sh [win98|winme|win2000|winxp|unsupported] [--walk] [--shots DIR]" \
            "[--work DIR] [--screen WIDTHxHEIGHT] [--work-area L,T,WIDTH,HEIGHT] [--locale LOCALE]" ;;
    esac
    shift
done

title='Corvane Electronics Corp. FIR driver Installation'
instance_key='HKLM\SYSTEM\ControlSet001\Control\Class\{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\0000'
net_key='HKLM\SYSTEM\CurrentControlSet\Services\Class\Net\0000'
setup_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Setup'
build=$repo/build
# The sandbox's name, and its screenshots', with the locale's language and country when there is one.
name=$os${locale:+-${locale%%.*}}
prefix=$work/$name
out=$work/$name.out
# The folder of the Windows 98 CD that holds NET8.CAB, and the font of the locale's characters.
case $locale in
    '') cd_folder=win98 font= ;;
    zh_TW.*) cd_folder='許可/功能' font=/usr/share/fonts/truetype/arphic/uming.ttc ;;
    ja_JP.*) cd_folder='ソフト/表' font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf ;;
    *) e2e_die "no such locale here: $locale (zh_TW.UTF-8 or ja_JP.UTF-8)" ;;
esac

[ -f "$repo/dist/cvfir.exe" ] || e2e_die "no dist/cvfir.exe: run 'make dist' first"
e2e_prepare_base "$build" "$build/win32/tools"
if [ -n "$locale" ]; then
    e2e_prepare_locales "$build"
    e2e_use_locale "$locale"
fi

ui() {
    local -
    set -o pipefail
    e2e_tool "$prefix" cvuidrv "$@" | e2e_from_ansi
}
wine_quiet() { e2e_wine "$prefix" "$E2E_WINE_TIMEOUT" "$@" >/dev/null 2>&1; }
step() { printf 'run: %s\n' "$*"; }

# reg_value KEY NAME: a value's text, "-" when missing; NAME "" for the key's default value.
reg_value() { e2e_reg_value "$prefix" "$1" "$2"; }

cleanup() {
    e2e_kill_prefix "$prefix"
    e2e_stop_xvfb
}
trap cleanup EXIT

# ---- the sandbox ------------------------------------------------------------------------------------

# A real display instead of the null one, and Windows' classic "Windows Standard" colours, so that the
# system colours of the layouts look as the users of those releases saw them (Wine's own scheme is
# nearly all white). Under Xvfb, Wine draws the windows' frames itself: there is no window manager.
display_settings() {
    local managed=Y
    [ "$1" -eq 0 ] || managed=N
    cat <<EOF
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"=-

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="$managed"

[HKEY_CURRENT_USER\Control Panel\Colors]
"ActiveBorder"="212 208 200"
"ActiveTitle"="10 36 106"
"AppWorkSpace"="128 128 128"
"Background"="58 110 165"
"ButtonAlternateFace"="181 181 181"
"ButtonDkShadow"="64 64 64"
"ButtonFace"="212 208 200"
"ButtonHilight"="255 255 255"
"ButtonLight"="212 208 200"
"ButtonShadow"="128 128 128"
"ButtonText"="0 0 0"
"GradientActiveTitle"="166 202 240"
"GradientInactiveTitle"="192 192 192"
"GrayText"="128 128 128"
"Hilight"="10 36 106"
"HilightText"="255 255 255"
"InactiveBorder"="212 208 200"
"InactiveTitle"="128 128 128"
"InactiveTitleText"="212 208 200"
"InfoText"="0 0 0"
"InfoWindow"="255 255 225"
"Menu"="212 208 200"
"MenuBar"="212 208 200"
"MenuText"="0 0 0"
"Scrollbar"="212 208 200"
"TitleText"="255 255 255"
"Window"="255 255 255"
"WindowFrame"="0 0 0"
"WindowText"="0 0 0"
EOF
}

prepare_sandbox() {
    step "preparing the $os sandbox in ${prefix#"$repo"/}"
    e2e_new_prefix "$prefix"
    # The sandbox holds what the Windows it names had: drive C: with the driver disk, on Windows 98 the
    # CD as D:, and empty user folders; nothing of the host. Wine starts a program in the folder that
    # it is itself started from, through the drive that holds it: with Z: gone, that must be C:.
    e2e_hide_host "$prefix"
    cd "$prefix/drive_c"
    e2e_set_profile "$prefix" "$os" >/dev/null
    e2e_layout_disk "$prefix" "$repo/dist" 'C:\cvdisk'
    step "simulated FIR controller: $(e2e_tool "$prefix" cvdevmake '*CVN0510')"
    case $os in
        winme)
            # Windows Me keeps the miniport's settings under its network class instance.
            wine_quiet reg add "$net_key" /v DeviceVxDs /d cvfirdma.sys /f
            wine_quiet reg add "$net_key\\Ndi\\params\\InfraredTransceiverType" /f
            mkdir -p "$prefix/drive_c/windows/Driver Cache/i386"
            echo 'the cached driver cabinet' >"$prefix/drive_c/windows/Driver Cache/i386/driver.cab"
            ;;
        win98)
            # The Windows 98 CD as drive D. SourcePath names the folder that Windows copied its
            # cabinets to, which lacks NET8.CAB: the source dialog's folder tree finds it on the CD.
            mkdir -p "$work/$name-cd/$cd_folder" "$prefix/drive_c/windows/options/cabs"
            echo 'a cabinet of the Windows 98 CD' >"$work/$name-cd/$cd_folder/NET8.CAB"
            rm -f "$prefix/dosdevices/d:"
            ln -s "$work/$name-cd" "$prefix/dosdevices/d:"
            wine_quiet reg add "$setup_key" /v SourcePath /d 'C:\WINDOWS\OPTIONS\CABS' /f
            echo 'an INF of the old driver' >"$prefix/drive_c/windows/inf/cvfirpio.inf"
            ;;
    esac
    display_settings "$1" >"$prefix/drive_c/windows/temp/cvfir-display.reg"
    wine_quiet regedit /S 'C:\windows\temp\cvfir-display.reg'
    # Wine draws the caption buttons with Marlett, which it finds only in the Windows fonts folder.
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    [ -z "$font" ] || cp "$font" "$prefix/drive_c/windows/Fonts/"
    e2e_settle_prefix "$prefix"
}

# ---- walking the wizard -----------------------------------------------------------------------------

shot_number=0
shot() {
    shot_number=$((shot_number + 1))
    local file
    file=$(printf '%s/%s-%02d-%s.png' "$shots" "$name" "$shot_number" "$1")
    sleep 0.5  # the last change painted
    import -display "$DISPLAY" -window root "$file"
    step "screenshot ${file#"$repo"/}"
}

# tree_top: the desktop, My Computer and the drives from the UI driver's tree listing, on one line:
# "Desktop > My Computer > (C:) (D:) > ..." (the desktop's other folders after the last ">").
tree_top() {
    sed -n 's/^item: \([0-2]\) "\(.*\)" expanded=.*/\1\2/p' | awk '
        { level = substr($0, 1, 1); name = substr($0, 2); sub(/^ /, "", name) }
        level != last { line = line (NR > 1 ? " > " : "") name; last = level; next }
        { line = line " " name }
        END { print line }'
}

walk() {
    mkdir -p "$shots"
    rm -f "$shots/$name"-[0-9]*.png
    ui waitchild "$title" 'Next >' 60 >/dev/null
    step "the wizard is up inside the blue background"
    shot welcome
    ui click "$title" 'Next >' >/dev/null
    ui waitchild "$title" 'Start to Setup!' >/dev/null
    shot ready
    ui click "$title" 'Next >' >/dev/null
    case $os in
        unsupported)
            ui wait cvfir >/dev/null
            shot unsupported-message
            ui msgbox | sed 's/^/run:   /'
            return
            ;;
        win98)
            ui waitchild "$title" Ok >/dev/null
            shot source-dialog
            step "the source dialog's tree: $(ui tree "$title" | tree_top)"
            step "picking D:\\${cd_folder//\//\\} in the source dialog's folder tree"
            ui treeselect "$title" "$(e2e_my_computer_path "$(ui tree "$title")")\\(D:)\\${cd_folder//\//\\}" >/dev/null
            shot source-dialog-picked
            ui click "$title" Ok >/dev/null
            ;;
    esac
    ui waitchild "$title" 'Setup complete!' 60 >/dev/null
    # The finished page gives the focus to Finish itself, whichever way the install went (Windows XP
    # disabled Next while the driver installed; on Windows 98 the source dialog had it), so a person's
    # Enter goes on to the restart prompt: pressed on the X server's keyboard, as a person does.
    ui focus Finish >/dev/null
    shot finished
    step "pressing Enter on Finish"
    timeout 10 xdotool key Return
    ui waitchild Install Restart >/dev/null
    shot restart-prompt
    step "pressing Restart"
    ui click Install Restart >/dev/null
}

# ---- what happened ----------------------------------------------------------------------------------

report() {
    local rc=$1
    step "cvfir.exe ended with exit code $rc"
    if [ -s "$out" ]; then
        step "its standard output:"
        e2e_output "$out" | sed 's/^/run:   /'
    fi
    report_log
    case $os in
        winxp | win2000)
            step "InfraredTransceiverType under the Infrared class instance 0000: $(reg_value "$instance_key" InfraredTransceiverType)"
            step "InfPath there (the installed driver): $(reg_value "$instance_key" InfPath)"
            ;;
        winme)
            step "InfraredTransceiverType under the network class instance 0000: $(reg_value "$net_key" InfraredTransceiverType)"
            step "and its Ndi\\params\\InfraredTransceiverType: $(reg_value "$net_key\\Ndi\\params\\InfraredTransceiverType" '')"
            step "the driver cabinet in Driver Cache\\i386: $([ -f "$prefix/drive_c/windows/Driver Cache/i386/driver.cab" ] && echo present || echo missing)"
            ;;
        win98)
            step "SourcePath: $(reg_value "$setup_key" SourcePath | e2e_from_ansi)"
            local file
            for file in inf/cvfirdma.inf system/cvfirdma.sys inf/cvfirpio.inf; do
                step "C:\\windows\\${file//\//\\}: $([ -f "$prefix/drive_c/windows/$file" ] && echo present || echo absent)"
            done
            ;;
    esac
}

# The run's log: in the Windows folder, or where that cannot be written in the user's temporary folder.
report_log() {
    local log=$prefix/drive_c/windows/cvfir.log
    [ -f "$log" ] || log=$(find "$prefix/drive_c/users" -name cvfir.log -print -quit 2>/dev/null)
    if [ -z "$log" ] || [ ! -f "$log" ]; then
        step "no log: cvfir.log is neither in C:\\windows nor in a temporary folder"
        return 0
    fi
    step "its log, $log, last run:"
    e2e_last_log_run "$log" | e2e_from_ansi | sed 's/^/run:   /'
}

# expect_exit RC WANTED: a walk that ends otherwise than the program should fails the run.
expect_exit() {
    [ "$1" = "$2" ] && return 0
    step "the walk expected exit code $2"
    return 1
}

[ -n "${DISPLAY:-}" ] || walk=1
prepare_sandbox "$walk"
if [ "$walk" -eq 0 ]; then
    step "cvfir.exe is running on $DISPLAY: click through it, it ends when you are done"
    E2E_RUN_TIMEOUT=3600 e2e_run "$prefix" 'C:\cvdisk\cvfir.exe' "$out"
    report "$(e2e_wait_exit "$out" 3600)"
else
    e2e_start_xvfb "$work" "$screen"
    [ -z "$work_area" ] || e2e_set_work_area "$work_area"
    step "cvfir.exe is running under Xvfb on $DISPLAY; the UI driver walks it"
    e2e_run "$prefix" 'C:\cvdisk\cvfir.exe' "$out"
    walk
    rc=$(e2e_wait_exit "$out" 60) || rc="none (still running)"
    report "$rc"
    expect_exit "$rc" "$([ "$os" = unsupported ] && echo 1 || echo 0)"
fi
