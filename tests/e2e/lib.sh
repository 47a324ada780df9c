# shellcheck shell=bash
# Shared functions for the end-to-end scenarios that run cvfir.exe under Wine.
# Source this file from a bash script that runs with `set -euo pipefail`.
#
#   e2e_ensure_packages                   install Wine, the cross compiler, Xvfb ... if missing
#   e2e_prepare_base BUILD_DIR TOOLS_DIR  the prepared prefix BUILD_DIR/wine/base, made once
#   e2e_prepare_locales BUILD_DIR TOOLS_DIR   the East Asian locales and a prepared prefix for each
#   e2e_use_locale LOCALE                 run every Wine call from now on in that locale, on its prefix
#   e2e_from_ansi                         a filter: a program's ANSI text, in the locale's code page,
#                                         as UTF-8
#   e2e_new_prefix DIR                    a fresh copy of the prepared prefix for one scenario
#   e2e_hide_host PREFIX                  no drive Z: and no desktop folder "/" of the host's files
#   e2e_kill_prefix DIR                   end every Wine process of a prefix
#   e2e_wine PREFIX SECONDS PROGRAM ARGS  run a program in a prefix, with a time limit
#   e2e_tool PREFIX TOOL ARGS             run one of our tools (cvuidrv, cvdevmake, ...)
#   e2e_set_profile PREFIX PROFILE        make the prefix look like Windows 98, Me, 2000, XP
#   e2e_layout_disk PREFIX DIST_DIR WIN_PATH   put a driver disk into the prefix
#   e2e_run PREFIX EXE_WIN_PATH OUT_FILE [ARGS]  start a program in the background
#   e2e_wait_exit OUT_FILE [SECONDS]      wait for it to end; prints its exit code
#   e2e_start_xvfb DIR [SIZE]             an X server of our own on a free display; sets DISPLAY
#   e2e_set_work_area L,T,WIDTH,HEIGHT    the work area that Wine's X11 driver reads from it
#   e2e_stop_xvfb                         end it
#
# Every Wine call runs under `timeout`, with a 32-bit prefix of our own: the
# host's ~/.wine is never used.

# Bump when the way the base prefix is prepared changes, so old ones get rebuilt.
E2E_BASE_RECIPE=3
E2E_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_WINE_TIMEOUT=${E2E_WINE_TIMEOUT:-60}
E2E_RUN_TIMEOUT=${E2E_RUN_TIMEOUT:-120}
# Set by e2e_prepare_base; may be set by hand to reuse a base made earlier.
E2E_BASE=${E2E_BASE:-}
# Set by e2e_prepare_locales: the folder of the compiled locales.
E2E_LOCPATH=${E2E_LOCPATH:-}
# The East Asian locales that scenarios may run in. Wine takes the ANSI code page of a process from its
# Unix locale: zh_TW.UTF-8 gives Big5 (950), ja_JP.UTF-8 Shift-JIS (932).
E2E_LOCALES='zh_TW.UTF-8 ja_JP.UTF-8'
# Set by e2e_use_locale: the locale of every Wine call; empty for the system's own.
E2E_LOCALE=

E2E_TOOLS=${E2E_TOOLS:-}
# Set by e2e_run: the process id of the background job, for scenarios that `wait` for it.
E2E_RUN_PID=

e2e_log() { printf 'e2e: %s\n' "$*" >&2; }
e2e_die() { printf 'e2e: error: %s\n' "$*" >&2; return 1; }

# Prints the time since the epoch in milliseconds, and the seconds since a
# start taken that way, for the timings that the scripts print.
e2e_now_ms() { date +%s%3N; }
e2e_since() {
    local elapsed=$(( $(e2e_now_ms) - $1 ))
    printf '%d.%03d' $(( elapsed / 1000 )) $(( elapsed % 1000 ))
}

# ---- packages ---------------------------------------------------------------

# Installs whatever of Wine, the cross compiler, Xvfb ... is missing. The list
# of packages lives in scripts/install-deps.sh, the one place that installs.
e2e_ensure_packages() {
    "$E2E_REPO/scripts/install-deps.sh" wine
}

# ---- running Wine -----------------------------------------------------------

# e2e_wine PREFIX SECONDS PROGRAM [ARGS...]: runs PROGRAM in PREFIX and
# returns its exit code (124 if it was stopped for taking too long).
e2e_wine() {
    local prefix=$1 seconds=$2 locale=()
    shift 2
    [ -z "$E2E_LOCALE" ] || locale=(LOCPATH="$E2E_LOCPATH" LC_ALL="$E2E_LOCALE")
    env "${locale[@]}" WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}" \
        timeout --kill-after=5 "$seconds" wine "$@"
}

# e2e_tool PREFIX TOOL [ARGS...]: runs one of our tools from E2E_TOOLS.
# The tools end their lines with CR LF; the CRs are taken out here.
e2e_tool() {
    local prefix=$1 tool=$2
    shift 2
    [ -n "$E2E_TOOLS" ] || e2e_die "E2E_TOOLS is not set (call e2e_prepare_base first)" || return
    local -
    set -o pipefail
    e2e_wine "$prefix" "$E2E_WINE_TIMEOUT" "$E2E_TOOLS/$tool.exe" "$@" | tr -d '\r'
}

# Waits until no Wine process of the prefix is left and its server has written
# the registry to disk.
e2e_settle_prefix() {
    WINEPREFIX=$1 timeout --kill-after=5 "$E2E_WINE_TIMEOUT" wineserver -w
}

e2e_kill_prefix() {
    [ -d "$1" ] || return 0
    WINEPREFIX=$1 timeout --kill-after=5 20 wineserver -k 2>/dev/null || true
}

# ---- the prepared prefix ----------------------------------------------------

# What a base prefix was made from; a base whose stamp differs is made again.
e2e_base_stamp() {
    printf 'recipe=%s wine=%s user=%s locale=%s\n' "$E2E_BASE_RECIPE" "$(wine --version)" "$(id -un)" \
        "$E2E_LOCALE"
}

# The user folders of a fresh prefix (Desktop, Documents, ...) are links to
# the host's home: replace them with empty folders, so that nothing of the
# host shows in the program's folder tree and no scenario can write there.
e2e_detach_user_folders() {
    local prefix=$1 link
    while IFS= read -r -d '' link; do
        rm -f "$link"
        mkdir "$link"
    done < <(find "$prefix/drive_c/users" -mindepth 2 -maxdepth 2 -type l -print0)
}

# e2e_hide_host PREFIX: the host's own file system leaves the prefix's shell: a fresh prefix maps it
# as drive Z: and shows its root as a desktop folder "/", which no Windows had. Both go; the shell
# reads the drives and the desktop's folders when the prefix's server starts.
E2E_UNIX_ROOT_FOLDER='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Desktop\Namespace\{9D20AAE8-0625-44B0-9CA7-71889C2254D9}'
e2e_hide_host() {
    local prefix=$1
    rm -f "$prefix/dosdevices/z:"
    e2e_wine "$prefix" "$E2E_WINE_TIMEOUT" reg delete "$E2E_UNIX_ROOT_FOLDER" /f >/dev/null 2>&1 || true
}

e2e_make_base() {
    local dir=$1 tools=$2
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    # No Mono or Gecko: cvfir needs neither, and with a display their install
    # prompts would wait for an answer. No menu builder: it writes desktop
    # entries into the host's home.
    WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d' e2e_wine "$dir" 180 wineboot -i >/dev/null 2>&1
    e2e_settle_prefix "$dir"
    e2e_detach_user_folders "$dir"
    # Windows need no display with the null graphics driver; it is read when the
    # prefix's server starts, so it is set before anything opens a window.
    e2e_wine "$dir" "$E2E_WINE_TIMEOUT" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    # The menu builder stays off in every copy of the prefix, whatever runs there.
    e2e_wine "$dir" "$E2E_WINE_TIMEOUT" reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f \
        >/dev/null
    # A program that crashes ends at once, with its fault on stderr, rather than
    # waiting in Wine's debugger until the scenario's time runs out.
    e2e_wine "$dir" "$E2E_WINE_TIMEOUT" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /f >/dev/null
    E2E_TOOLS=$tools e2e_tool "$dir" cvreglink >/dev/null
    e2e_settle_prefix "$dir"
}

# e2e_prepare_base BUILD_DIR TOOLS_DIR: makes BUILD_DIR/wine/base unless it is
# there with a current stamp. It is built beside and moved into place at the
# end, so an interrupted build never passes for a finished one.
e2e_prepare_base() {
    local build_dir=$1 tools=$2
    E2E_BASE=$(realpath -m "$build_dir/wine/base")
    E2E_TOOLS=$(realpath "$tools")
    e2e_ensure_base "$E2E_BASE"
}

# e2e_ensure_base DIR: makes the prepared prefix DIR, in the current locale, unless it is there with a
# current stamp.
e2e_ensure_base() {
    local base=$1 stamp
    stamp=$(e2e_base_stamp)
    if [ -f "$base/cvfir-base.stamp" ] && [ "$(cat "$base/cvfir-base.stamp")" = "$stamp" ]; then
        return 0
    fi
    e2e_log "preparing the base prefix $base"
    local building="$base.building"
    e2e_make_base "$building" "$E2E_TOOLS"
    printf '%s\n' "$stamp" >"$building/cvfir-base.stamp"
    rm -rf "$base"
    mv "$building" "$base"
}

# ---- East Asian locales -------------------------------------------------------

# e2e_prepare_locales BUILD_DIR: each locale of E2E_LOCALES compiled into BUILD_DIR/locales (nothing
# is installed on the system), and a prepared prefix booted in it beside the base prefix, made once:
# Wine's first boot writes the locale's code page, fonts and settings into the prefix. Call
# e2e_prepare_base first.
e2e_prepare_locales() {
    local build_dir=$1 locale
    E2E_LOCPATH=$(realpath -m "$build_dir/locales")
    mkdir -p "$E2E_LOCPATH"
    for locale in $E2E_LOCALES; do
        if [ ! -f "$E2E_LOCPATH/$locale/LC_CTYPE" ]; then
            e2e_log "compiling the locale $locale"
            localedef -i "${locale%%.*}" -f UTF-8 "$E2E_LOCPATH/$locale" ||
                e2e_die "localedef could not make $locale" || return
        fi
        (e2e_use_locale "$locale" && e2e_ensure_base "$E2E_BASE") || return
    done
}

# e2e_use_locale LOCALE: every Wine call of this shell from now on runs in LOCALE, and e2e_new_prefix
# copies the prefix prepared in it (a process started in another locale would rewrite the prefix's
# international settings). The shell itself stays in its own locale.
e2e_use_locale() {
    [ -n "$E2E_LOCPATH" ] || e2e_die "E2E_LOCPATH is not set (call e2e_prepare_locales first)" || return
    E2E_LOCALE=$1
    E2E_BASE=$E2E_BASE-$1
}

# e2e_my_computer_path TREE: the path of My Computer for the UI driver's treeselect, from the lines of
# its tree command: the desktop and My Computer have the names of the locale's language, and they are
# the first items of the first two levels.
e2e_my_computer_path() {
    printf '%s\\%s\n' "$(sed -n 's/^item: 0 "\(.*\)" expanded=.*/\1/p' <<<"$1" | head -1)" \
        "$(sed -n 's/^item: 1 "\(.*\)" expanded=.*/\1/p' <<<"$1" | head -1)"
}

# Texts that a program prints in the system's ANSI code page, as UTF-8, as the scripts write them.
e2e_from_ansi() {
    case $E2E_LOCALE in
        zh_TW.*) iconv -f CP950 -t UTF-8 ;;
        ja_JP.*) iconv -f CP932 -t UTF-8 ;;
        *) cat ;;
    esac
}

# e2e_new_prefix DIR: DIR becomes a fresh copy of the base prefix.
e2e_new_prefix() {
    local dir=$1
    [ -f "$E2E_BASE/cvfir-base.stamp" ] || e2e_die "no base prefix (call e2e_prepare_base first)" || return
    e2e_kill_prefix "$dir"
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    cp -a "$E2E_BASE" "$dir"
}

# ---- Windows version profiles -----------------------------------------------

# Prints the registry file that makes a prefix report one Windows version.
# "Version" is what Windows 98 and Me have; 2000 and later have only the NT key.
e2e_profile_reg() {
    local version current product
    case $1 in
        win98) version='"Windows 98"' current=- product=- ;;
        winme) version='"Windows Millennium Edition"' current=- product=- ;;
        win2000) version=- current='"5.0"' product='"Microsoft Windows 2000"' ;;
        winxp) version=- current='"5.1"' product='"Microsoft Windows XP"' ;;
        unsupported) version=- current='"6.1"' product='"Microsoft Windows 7"' ;;
        *)
            e2e_die "unknown profile '$1' (win98, winme, win2000, winxp, unsupported)"
            return
            ;;
    esac
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n'
    printf '"Version"=%s\r\n\r\n' "$version"
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n'
    printf '"CurrentVersion"=%s\r\n"ProductName"=%s\r\n' "$current" "$product"
}

# e2e_set_profile PREFIX win98|winme|win2000|winxp|unsupported
# One regedit call writes and deletes all the values at once.
e2e_set_profile() {
    local prefix=$1 profile=$2
    local reg="$prefix/drive_c/windows/temp/cvfir-profile.reg"
    e2e_profile_reg "$profile" >"$reg" || return
    e2e_wine "$prefix" "$E2E_WINE_TIMEOUT" regedit /S 'C:\windows\temp\cvfir-profile.reg'
    rm -f "$reg"
}

# ---- the driver disk and the program ----------------------------------------

# e2e_unix_path PREFIX WIN_PATH: the Linux path of a path inside the prefix,
# through the prefix's drive links (C: is drive_c).
e2e_unix_path() {
    local prefix=$1 win_path=$2
    local drive=${win_path:0:1}
    [[ $win_path =~ ^[A-Za-z]:(\\|$) ]] || e2e_die "not an absolute Windows path: $win_path" || return
    local rest=${win_path:2}
    rest=${rest//\\//}
    printf '%s%s\n' "$(realpath -m "$prefix/dosdevices/${drive,,}:")" "$rest"
}

# e2e_layout_disk PREFIX DIST_DIR WIN_PATH: copies the contents of DIST_DIR
# (cvfir.exe and the disk) to WIN_PATH, e.g. 'C:\cvdisk'.
e2e_layout_disk() {
    local prefix=$1 dist=$2 win_path=$3 dest
    dest=$(e2e_unix_path "$prefix" "$win_path") || return
    mkdir -p "$dest"
    cp -a "$dist/." "$dest/"
}

# e2e_run PREFIX EXE_WIN_PATH OUT_FILE [ARGS...]: starts the program in the
# background, from its own folder. Its stdout goes to OUT_FILE, its stderr to
# OUT_FILE.err and, when it ends, its exit code to OUT_FILE.rc (124 if it ran
# longer than E2E_RUN_TIMEOUT seconds). Sets E2E_RUN_PID.
e2e_run() {
    local prefix=$1 exe=$2 out=$3
    shift 3
    local exe_unix
    exe_unix=$(e2e_unix_path "$prefix" "$exe") || return
    [ -f "$exe_unix" ] || e2e_die "no program at $exe ($exe_unix)" || return
    rm -f "$out" "$out.err" "$out.rc"
    (
        cd "$(dirname "$exe_unix")" || exit
        rc=0
        e2e_wine "$prefix" "$E2E_RUN_TIMEOUT" "$exe" "$@" >"$out" 2>"$out.err" || rc=$?
        echo "$rc" >"$out.rc.tmp"
        mv "$out.rc.tmp" "$out.rc"
    ) &
    # shellcheck disable=SC2034  # read by the scenarios
    E2E_RUN_PID=$!
}

# e2e_wait_exit OUT_FILE [SECONDS]: waits for a program started by e2e_run to
# end and prints its exit code. Returns 2 if it is still running after SECONDS.
e2e_wait_exit() {
    local out=$1 seconds=${2:-30}
    local deadline=$(( $(e2e_now_ms) + seconds * 1000 ))
    while [ ! -f "$out.rc" ]; do
        if [ "$(e2e_now_ms)" -ge "$deadline" ]; then
            e2e_log "still running after ${seconds}s: ${out}"
            return 2
        fi
        sleep 0.1
    done
    cat "$out.rc"
}

# e2e_is_running OUT_FILE: true while the program started with OUT_FILE runs.
e2e_is_running() { [ ! -f "$1.rc" ]; }

# e2e_output OUT_FILE: the program's stdout with the CRs of its line ends removed.
e2e_output() { tr -d '\r' <"$1"; }

# e2e_last_log_run FILE: the lines of the last run in cvfir.log, from its "==== " header on, without
# their CRs; nothing when there is no such file.
e2e_last_log_run() {
    [ -f "$1" ] || return 0
    tr -d '\r' <"$1" | awk '/^==== /{run=""} {run=run $0 "\n"} END{printf "%s", run}'
}

# ---- an X display -------------------------------------------------------------

E2E_XVFB_PID=

# e2e_start_xvfb DIR [WIDTHxHEIGHT]: an X server at that size (1024x768 unless given) that only this
# process's children reach (no TCP), on a display number that Xvfb picks free itself and writes to
# DIR/display; exports DISPLAY. The host's own display is never used. It keeps what a client leaves on
# it, the work area among them, when the last client goes (no reset).
e2e_start_xvfb() {
    local dir=$1 size=${2:-1024x768} number=
    mkdir -p "$dir"
    rm -f "$dir/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$dir/display" >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    local deadline=$(( $(e2e_now_ms) + 10000 ))
    while [ -z "$number" ]; do
        if ! kill -0 "$E2E_XVFB_PID" 2>/dev/null || [ "$(e2e_now_ms)" -ge "$deadline" ]; then
            e2e_stop_xvfb
            e2e_die "Xvfb did not start"
            return
        fi
        sleep 0.05
        number=$(sed -n '1{/^[0-9][0-9]*$/p}' "$dir/display")
    done
    export DISPLAY=":$number"
}

# e2e_set_work_area LEFT,TOP,WIDTH,HEIGHT: the screen less a task bar, announced on the X server as a
# desktop announces it (the root window's _NET_WORKAREA). Wine's X11 driver reads it as the prefix's
# desktop starts on this display: set it before that.
e2e_set_work_area() {
    xprop -display "$DISPLAY" -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$1"
}

e2e_stop_xvfb() {
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null || true
        wait "$E2E_XVFB_PID" 2>/dev/null || true
        E2E_XVFB_PID=
    fi
}

# ---- checks -----------------------------------------------------------------

E2E_PASSED=0
E2E_FAILED=0

e2e_pass() { E2E_PASSED=$((E2E_PASSED + 1)); printf 'ok   %s\n' "$1"; }
e2e_fail() {
    E2E_FAILED=$((E2E_FAILED + 1))
    printf 'FAIL %s\n' "$1"
    shift
    [ $# -eq 0 ] || printf '     %s\n' "$@"
}

# e2e_expect_eq NAME EXPECTED ACTUAL
e2e_expect_eq() {
    if [ "$2" = "$3" ]; then e2e_pass "$1"; else e2e_fail "$1" "expected: $2" "actual:   $3"; fi
}

# e2e_expect_line NAME LINE TEXT: TEXT has LINE as one of its lines.
e2e_expect_line() {
    if grep -qxF -- "$2" <<<"$3"; then e2e_pass "$1"; else e2e_fail "$1" "no line: $2" "in:" "$3"; fi
}

# e2e_expect_match NAME REGEX TEXT: some line of TEXT matches the extended REGEX.
e2e_expect_match() {
    if grep -qE -- "$2" <<<"$3"; then e2e_pass "$1"; else e2e_fail "$1" "nothing matches: $2" "in:" "$3"; fi
}

# Prints the closing "N passed, N failed" line; fails if anything failed.
e2e_summary() {
    printf '%d passed, %d failed\n' "$E2E_PASSED" "$E2E_FAILED"
    [ "$E2E_FAILED" -eq 0 ]
}

# e2e_reg_value PREFIX KEY NAME: a registry value's text, "-" when missing; NAME "" for the key's default.
e2e_reg_value() {
    local prefix=$1 key=$2 name=$3 text
    if [ -z "$name" ]; then
        text=$(e2e_wine "$prefix" 30 reg query "$key" /ve 2>/dev/null | tr -d '\r' |
            sed -n 's/^    (Default)    REG_[A-Z_]*    //p') || true
    else
        text=$(e2e_wine "$prefix" 30 reg query "$key" /v "$name" 2>/dev/null | tr -d '\r' |
            sed -n "s/^    $name    REG_[A-Z_]*    //p") || true
    fi
    printf '%s\n' "${text:--}"
}
