#!/usr/bin/env bash
# Windows 2000 with the FIR controller present, from start to restart.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_install_with_device win2000 5
e2e_summary
