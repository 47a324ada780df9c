#!/usr/bin/env bash
# A Japanese Windows (Shift-JIS, code page 932): the program in C:\ソフト\表 as セットアップ.exe, where ソ
# and 表 end in a backslash (83 5C, 95 5C) and every character of セットアップ in a letter. Its title on a
# message box, the XP and the 98 installations from start to restart, and on 98 the CD's folder
# ソフト\表 picked in the tree.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

cv_east_asian_installs ja_JP.UTF-8 932 'C:\ソフト\表' 'セットアップ.exe' 'ソフト/表'
e2e_summary
