#!/usr/bin/env bash
# make bench, under Wine:
# - the start-up time of cvfir.exe until the wizard shows inside the background, against the installer
#   that a vendor would make instead (a three-page NSIS wizard, tests/bench/wizard.nsi, until its
#   welcome page shows) and against a bare Win32 program of ours that shows one window
#   (tools/cvfloor.cpp), measured side by side in the same rounds by a timer that runs inside the
#   prefix;
# - the folder tree's first expansion of a folder of 1,000 and of 5,000 subfolders, in its test host
#   (tools/cvtreehost.cpp), from the before-expansion event until the children are sorted,
#   against a bare enumeration of the same folder in the same run.
# Prints every run, the medians and their ratios, and ends with the start-up's four lines: time and
# peak memory (the process's working set at its highest once the window shows), each program's median,
# against the bare window and against the NSIS wizard.
#   scripts/bench.sh [RUNS [TREE_RUNS]]    (default 25 and 11)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../tests/e2e/lib.sh
source "$repo/tests/e2e/lib.sh"

runs=${1:-25}
tree_runs=${2:-11}
build=$repo/build
prefix=$build/bench/prefix
[ -f "$repo/dist/cvfir.exe" ] || e2e_die "no dist/cvfir.exe: run 'make dist' first"
e2e_prepare_base "$build" "$build/win32/tools"
e2e_new_prefix "$prefix"
trap 'e2e_kill_prefix "$prefix"' EXIT
# As on a Windows, the shell lists no drive and no desktop folder of the host's whole file system; Wine
# starts its programs from a folder of the prefix.
e2e_hide_host "$prefix"
cd "$prefix/drive_c"
# The folders to expand, on a drive T: of their own; the shell lists a drive that is there when the
# prefix's server starts.
folders=$build/bench/folders
rm -rf "$folders"
for count in 1000 5000; do
    mkdir -p "$folders/b$count"
    (cd "$folders/b$count" && seq -f 'folder%04g' 1 "$count" | xargs mkdir)
done
ln -s "$folders" "$prefix/dosdevices/t:"
e2e_set_profile "$prefix" winxp >/dev/null
e2e_layout_disk "$prefix" "$repo/dist" 'C:\cvdisk'
mkdir -p "$prefix/drive_c/cvfloor" "$prefix/drive_c/nsiswizard"
cp "$build/win32/tools/cvfloor.exe" "$prefix/drive_c/cvfloor/"
makensis -V2 -DOUTFILE="$prefix/drive_c/nsiswizard/nsiswizard.exe" -DDISK="$repo/disk" "$repo/tests/bench/wizard.nsi"
startup=$build/bench/startup.txt
E2E_WINE_TIMEOUT=$((runs * 45 + 60)) e2e_tool "$prefix" cvstartbench "$runs" \
    cvfir.exe 'C:\cvdisk\cvfir.exe' 'Corvane Electronics Corp. FIR driver Installation' 'Next >' \
    'NSIS wizard' 'C:\nsiswizard\nsiswizard.exe' 'Corvane FIR driver Setup' '&Install' \
    'bare window' 'C:\cvfloor\cvfloor.exe' cvfloor 'Next >' |
    tee "$startup" | grep --line-buffered -v -e '^start-up:' -e '^peak memory:' -e '^medians:'
E2E_WINE_TIMEOUT=$((tree_runs * 20 + 60)) e2e_tool "$prefix" cvtreehost \
    bench 'T:\b1000' "$tree_runs" bench 'T:\b5000' "$tree_runs" 2> >(grep -v 'Read access denied' >&2) | grep '^bench:'
grep -e '^start-up:' -e '^peak memory:' "$startup"
# cvfir.exe against the NSIS wizard, from the medians of each that the timer printed.
awk -F': ' '$1 == "medians" { split($3, median, " "); ms[$2] = median[1]; mb[$2] = median[2] }
    END {
        printf "start-up against an NSIS wizard: cvfir.exe %.0f ms, NSIS wizard %.0f ms, ratio %.2f\n",
            ms["cvfir.exe"], ms["NSIS wizard"], ms["cvfir.exe"] / ms["NSIS wizard"]
        printf "peak memory against an NSIS wizard: cvfir.exe %.1f MB, NSIS wizard %.1f MB, difference %.1f MB\n",
            mb["cvfir.exe"], mb["NSIS wizard"], mb["cvfir.exe"] - mb["NSIS wizard"]
    }' "$startup"
