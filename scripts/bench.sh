#!/usr/bin/env bash
# make bench: the start-up time of cvfir.exe until the wizard shows inside the background, against a
# bare Win32 program of ours that shows one window (tools/cvfloor.cpp), measured side by side under Wine
# by a timer that runs inside the prefix. Prints every run, the medians and their ratio.
#   scripts/bench.sh [RUNS]    (default 25)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../tests/e2e/lib.sh
source "$repo/tests/e2e/lib.sh"

runs=${1:-25}
build=$repo/build
prefix=$build/bench/prefix
[ -f "$repo/dist/cvfir.exe" ] || e2e_die "no dist/cvfir.exe: run 'make dist' first"
e2e_prepare_base "$build" "$build/win32/tools"
e2e_new_prefix "$prefix"
trap 'e2e_kill_prefix "$prefix"' EXIT
e2e_set_profile "$prefix" winxp >/dev/null
e2e_layout_disk "$prefix" "$repo/dist" 'C:\cvdisk'
mkdir -p "$prefix/drive_c/cvfloor"
cp "$build/win32/tools/cvfloor.exe" "$prefix/drive_c/cvfloor/"
E2E_WINE_TIMEOUT=$((runs * 30 + 60)) e2e_tool "$prefix" cvstartbench "$runs" \
    cvfir 'C:\cvdisk\cvfir.exe' 'Corvane Electronics Corp. FIR driver Installation' 'Next >' \
    floor 'C:\cvfloor\cvfloor.exe' cvfloor 'Next >'
