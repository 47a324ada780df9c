#!/usr/bin/env bash
# A Traditional Chinese Windows (Big5, code page 950): the program in C:\許可\功能 as 名字.exe, where 許
# and 功 end in a backslash (B3 5C, A5 5C) and 名 in a W (A6 57). Its title on a message box, the XP
# and the 98 installations from start to restart, and on 98 the CD's folder 許可\功能 picked in the tree.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_east_asian_installs zh_TW.UTF-8 950 'C:\許可\功能' '名字.exe' '許可/功能'
e2e_summary
