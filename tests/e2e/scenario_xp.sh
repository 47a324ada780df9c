#!/usr/bin/env bash
# Windows XP with the FIR controller present, from start to restart.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_install_with_device winxp 3

# The run's log, in the Windows folder: its header, each step and its outcome, standard output line for
# line, and the exit code.
e2e_expect_match "the log's header names the time, the program, the Windows version and the code page" \
    '^==== [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} C:\\cvdisk\\cvfir\.exe, Windows XP \(6\), code page 1252$' \
    "$(cv_log | head -1)"
update='step: update the driver of *CVN0510 with C:\cvdisk\winxp\cvfirdma.inf'
e2e_expect_eq "the log's steps, each with its outcome, and the exit code" \
    "$(printf '%s\n' 'step: check that the user may install drivers' 'outcome: done' \
        'step: get the Windows folder' 'outcome: done' 'step: load newdev.dll' 'outcome: done' \
        'step: wait for the device installs of Windows in progress' 'outcome: done' "$update" 'outcome: done' \
        'step: write InfraredTransceiverType 3 under \SYSTEM\ControlSet001\Control\Class\{6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\0000' \
        'outcome: done' "$update" 'outcome: done' 'exit code 0')" \
    "$(cv_log_own_lines | tail -n +2)"
e2e_expect_eq "the log holds standard output as it was written" "$(cv_stdout)" "$(cv_log_output_lines)"
e2e_summary
