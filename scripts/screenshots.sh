#!/usr/bin/env bash
# make screenshots: every window of cvfir under Xvfb at 1024 x 768, in build/screenshots/, and again on a
# screen of 640 x 480 with a task bar of 28 pixels, in build/screenshots/640x480/. The Windows XP
# walk shows the background with the wizard on each page, the finished page with the focus on Finish,
# and the restart prompt; the Windows 98 walk adds the source location dialog; the unsupported walk the
# refusal. The Windows 98 walk again on a Traditional Chinese Windows (Big5), with the CD's folder
# named in its characters and a font for them.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rm -rf "$repo/build/screenshots"
for os in winxp win98 unsupported; do
    "$repo/scripts/run.sh" "$os" --walk | grep -E '^run: (screenshot|cvfir.exe ended)'
done
for os in winxp win98 unsupported; do
    "$repo/scripts/run.sh" "$os" --walk --screen 640x480 --work-area 0,0,640,452 \
        --shots "$repo/build/screenshots/640x480" | grep -E '^run: (screenshot|cvfir.exe ended)'
done
"$repo/scripts/run.sh" win98 --walk --locale zh_TW.UTF-8 | grep -E '^run: (screenshot|cvfir.exe ended)'
