#!/usr/bin/env bash
# Windows XP from start to restart with a module of ours beside cvfir.exe under the name of every
# module it loads at run time, and Windows' search order for those names: the install completes and
# none of them is ever loaded.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_setup winxp
cv_plant_modules
cv_expect_planted_module_loads
cv_device_install winxp 3 cv_start_planted
cv_expect_no_planted_module_loaded winxp
e2e_summary
