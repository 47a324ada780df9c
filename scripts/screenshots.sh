#!/usr/bin/env bash
# make screenshots: every window of cvfir under Xvfb at 1024 x 768, in build/screenshots/, and again on a
# screen of 640 x 480 with a task bar of 28 pixels, in build/screenshots/640x480/. The Windows XP
# walk shows the background with the wizard on each page, the finished page with the focus on Finish,
# and the restart prompt; the Windows 98 walk adds the source location dialog; the unsupported walk the
# refusal. The Windows 98 walk again on a Traditional Chinese Windows (Big5), with the CD's folder
# named in its characters and a font for them. Last, the handful of them that the README shows are
# copied to docs/, made small.
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

# docs WALK STEP: the walk's picture of that step (build/screenshots/WALK-NN-STEP.png) as
# docs/WALK-STEP.png (a folder in WALK becomes part of the name), in a palette of its few colours,
# without dithering and without the time it was made, so that unchanged windows give unchanged files.
docs() {
    local from to
    from=$(compgen -G "$repo/build/screenshots/$1-[0-9][0-9]-$2.png") || { echo "screenshots: no $1 $2" >&2; return 1; }
    to=docs/${1//\//-}-$2.png
    convert "$from" +dither -colors 64 -strip -define png:exclude-chunks=date,time "$repo/$to"
    echo "screenshots: $to, $(($(stat -c %s "$repo/$to") / 1024)) KB"
}
mkdir -p "$repo/docs"
docs winxp welcome
docs winxp ready
docs winxp finished
docs winxp restart-prompt
docs win98 source-dialog
docs 640x480/win98 source-dialog
docs win98-zh_TW source-dialog-picked
