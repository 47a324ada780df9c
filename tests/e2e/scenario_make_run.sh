#!/usr/bin/env bash
# `make run`, the README's first command, as a newcomer without a display runs it: scripts/run.sh walks
# the setup of each Windows it knows from start to its end under Xvfb, in a folder of this scenario's
# own, and each walk ends as it should: 0 after Restart, 1 after the refusal of an unsupported Windows.
# Its Windows 98 source dialog shows the sandbox's drives and desktop, and nothing of the host's.
# A change that breaks the walk turns `make test` red here.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
: "${E2E_WORK:?run the scenarios through scripts/run-e2e.sh}"

# walk OS: runs `make run OS=...` as make does; prints its output, and its exit status last.
walk() {
    local rc=0
    env -u DISPLAY "$E2E_REPO/scripts/run.sh" "$1" --work "$E2E_WORK/run" --shots "$E2E_WORK/shots" 2>&1 || rc=$?
    echo "status $rc"
}

# expect_walk OS EXIT_CODE LINE...: the walk ends well, the program with EXIT_CODE, and the report
# shows each LINE (the lines of the run's log among them).
expect_walk() {
    local os=$1 code=$2 output line
    shift 2
    output=$(walk "$os")
    rm -rf "${E2E_WORK:?}/run/$os"  # the walk's sandbox prefix, some 600 MB; its report is read
    if [ "$(tail -1 <<<"$output")" = "status 0" ]; then
        e2e_pass "make run OS=$os walks to its end"
    else
        e2e_fail "make run OS=$os walks to its end" "$(tail -8 <<<"$output")"
    fi
    for line in "run: cvfir.exe ended with exit code $code" "$@"; do
        e2e_expect_line "make run OS=$os reports: $line" "$line" "$output"
    done
}

expect_walk winxp 0 'run: InfraredTransceiverType under the Infrared class instance 0000: 0' \
    'run: InfPath there (the installed driver): cvfirdma.inf' \
    'run:   step: update the driver of *CVN0510 with C:\cvdisk\winxp\cvfirdma.inf' 'run:   exit code 0'
expect_walk win2000 0 'run: InfraredTransceiverType under the Infrared class instance 0000: 0'
expect_walk winme 0 'run: InfraredTransceiverType under the network class instance 0000: 0' \
    'run: the driver cabinet in Driver Cache\i386: present'
expect_walk win98 0 "run: the source dialog's tree: Desktop > My Computer > (C:) (D:) > Documents" \
    'run: SourcePath: D:\win98' 'run: C:\windows\inf\cvfirdma.inf: present' \
    'run: C:\windows\inf\cvfirpio.inf: absent'
expect_walk unsupported 1 \
    "run:   message box: Corvane FIR driver setup program does't suport this Windows Version" \
    'run:   exit code 1'
e2e_summary
