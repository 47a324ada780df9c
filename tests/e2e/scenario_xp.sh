#!/usr/bin/env bash
# Windows XP with the FIR controller present, from start to restart.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_install_with_device winxp 3
e2e_summary
