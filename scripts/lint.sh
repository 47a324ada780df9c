#!/usr/bin/env bash
# make lint: the rules that keep the code base readable and its layers apart, checked in seconds on
# the sources alone. Each finding is printed as FILE:LINE: what is wrong; the exit code is 1 when
# there is one.
# - Layers: app may include foldertree, resources, framework and platform; foldertree and resources
#   may include framework and platform; framework may include platform; platform nothing of ours.
#   A backend folder (platform/sim, platform/win32, framework/headless, framework/win32, app/win32)
#   may include its own layer and what that layer may, and itself, never another backend.
# - The Windows headers only in the code that runs on the real API: platform/win32, framework/win32,
#   app/win32 and tools, and the platform contract's host on the real API, which sets up through
#   Windows itself what the cases need. Everything else must build on Linux against the in-memory
#   Windows.
# - Every C++ source as .clang-format lays it out (`make format` mends it).
# - Every picture that the README shows is in docs/, a PNG of at most 60 KB, and every picture in docs/
#   is shown (`make screenshots` refreshes them).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# The C++ sources in the tree, new ones not yet added to git included; build output is not ours.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
        while read -r file; do [ -f "$file" ] && echo "$file"; done)
else
    mapfile -t sources < <(find . -path ./build -prune -o -path ./dist -prune -o \
        \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
fi

status=0
awk -f - "${sources[@]}" <<'AWK' || status=1
# The layer and backend of a path under the repository: "framework win32", "app", or "" when the
# path lies outside the layers (tests, tools).
function place(path,    part) {
    split(path, part, "/")
    if (path ~ /^(platform\/(sim|win32)|framework\/(headless|win32)|app\/win32)\//)
        return part[1] " " part[2]
    if (path ~ /^(platform|framework|resources|foldertree|app)\//)
        return part[1]
    return ""
}
function layer_of(p) { return p == "" ? "" : substr(p " ", 1, index(p " ", " ") - 1) }
function backend_of(p) { return index(p, " ") ? substr(p, index(p, " ") + 1) : "" }
function report(message) {
    printf "%s:%d: %s\n", FILENAME, FNR, message
    failed = 1
}
BEGIN {
    may["platform"] = " platform "
    may["framework"] = " framework platform "
    may["resources"] = " resources framework platform "
    may["foldertree"] = " foldertree framework platform "
    may["app"] = " app foldertree resources framework platform "
    windows_header = "^(windows|windef|winbase|winuser|wingdi|winnt|winreg|winerror|winnls|winver|winsvc|" \
        "winsock2?|ws2tcpip|winioctl|windowsx|commctrl|commdlg|cderr|dlgs|prsht|richedit|shlobj|shlwapi|" \
        "shellapi|shobjidl|shtypes|shlguid|objbase|objidl|ole2|oleauto|olectl|unknwn|wtypes|basetsd|" \
        "guiddef|initguid|rpc|rpcdce|setupapi|cfgmgr32|newdev|devguid|regstr|dbt|tchar|mmsystem|psapi|" \
        "tlhelp32|lmcons|sddl|aclapi|accctrl|userenv|uxtheme|dwmapi|imagehlp|dbghelp|wincrypt|wintrust)\\.h$"
    windows_allowed = "^((platform/win32|framework/win32|app/win32|tools)/|tests/contract/Win32Host\\.cpp$)"
}
FNR == 1 {
    own = place(FILENAME)
    own_dir = FILENAME
    sub(/[^\/]*$/, "", own_dir)
}
/^[ \t]*#[ \t]*include[ \t]*</ {
    header = $0
    sub(/^[^<]*</, "", header)
    sub(/>.*$/, "", header)
    if (tolower(header) ~ windows_header && FILENAME !~ windows_allowed)
        report("<" header "> is a Windows header: only platform/win32, framework/win32, app/win32, tools and the contract's Win32 host include them")
    next
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    if (own == "")
        next
    header = $0
    sub(/^[^"]*"/, "", header)
    sub(/".*$/, "", header)
    target = place(header)
    if (target == "")
        target = place(own_dir header)
    if (target == "")
        next
    if (index(may[layer_of(own)], " " layer_of(target) " ") == 0)
        report("\"" header "\": " layer_of(own) " may not include " layer_of(target) ", a layer above it or beside it")
    else if (backend_of(target) != "" && (layer_of(target) != layer_of(own) || backend_of(target) != backend_of(own)))
        report("\"" header "\": only " layer_of(target) "/" backend_of(target) " itself includes its own headers")
}
END { exit failed }
AWK

# clang-format names the file, line and column of each difference; the lines it quotes are left out.
if ! formatting=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1); then
    grep -E '^[^ ]+:[0-9]+:[0-9]+: ' <<<"$formatting" | sed -E 's/^([^ ]+:[0-9]+):[0-9]+: .*/\1/' | uniq |
        sed 's/$/: not laid out as .clang-format says (make format mends it)/'
    status=1
fi

# The README's pictures, as FILE:LINE: PATH, from its ![text](path) links.
pictures=$(grep -noE '!\[[^]]*\]\([^)]+\)' README.md | sed -E 's/^([0-9]+):.*\((.*)\)$/README.md:\1: \2/' || true)
while IFS= read -r line; do
    [ -n "$line" ] || continue
    picture=${line#*: }
    if [ ! -f "$picture" ]; then
        echo "$line: no such picture"
        status=1
    elif [[ $picture != docs/*.png ]] || [ "$(head -c 8 "$picture" | od -An -tx1 | tr -d ' ')" != 89504e470d0a1a0a ]; then
        echo "$line: not a PNG under docs/"
        status=1
    elif [ "$(stat -c %s "$picture")" -gt 61440 ]; then
        echo "$line: $(($(stat -c %s "$picture") / 1024)) KB, more than 60 KB"
        status=1
    fi
done <<<"$pictures"
for picture in docs/*.png; do
    [ -f "$picture" ] || continue
    grep -qF "($picture)" README.md || { echo "$picture: not shown in README.md"; status=1; }
done

[ "$status" -eq 0 ] && echo "lint: ${#sources[@]} sources and $(grep -c . <<<"$pictures") pictures, nothing to mend"
exit "$status"
