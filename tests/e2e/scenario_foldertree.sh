#!/usr/bin/env bash
# The folder tree under the real shell, in the test host (tools/cvtreehost.cpp): the roots and
# My Computer's drives as the shell lists them, a test folder's subfolders sorted with the hidden ones
# and without the files, and the tree keeping up with folders made, removed and renamed, announced with
# SHChangeNotify from inside the host (Wine delivers them only there), the desktop's own folder among
# them; SetDirectory and GetDirectory on
# a deep path of a mapped drive; the selection, a double click and the session-end question worked
# through the windows. Every listing is read from the tree view control and compared with the nodes.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
: "${E2E_BASE:?run the scenarios through scripts/run-e2e.sh}" "${E2E_TOOLS:?}" "${E2E_WORK:?}"

prefix=$E2E_WORK/prefix
trap 'e2e_kill_prefix "$prefix"' EXIT
e2e_new_prefix "$prefix"
# T: is a test folder. The prefix's server learns of a new drive only when it starts again.
drive=$E2E_WORK/tdrive
# Names on both sides of where the letters fold (@ [ ` {), so that the order shows which way they fold.
mkdir -p "$drive"/tree/{beta,Alpha,alpha2,Zeta,_under,10,.hidden,@at,[bracket,\`tick,\{brace} \
    "$drive/tree/Alpha/deep/deeper/deepest"
echo 'a file, never a node' >"$drive/tree/readme.txt"
ln -s "$drive" "$prefix/dosdevices/t:"

# Wine's heap warnings show a block freed twice: the lists of each notification are the shell's, which
# frees them once the notification returns, and the tree must only read them (checked below).
out=$(WINEDEBUG=-all,warn+heap e2e_tool "$prefix" cvtreehost \
    drives hidden 'T:\tree' regid echo activated show \
    expand 'T:\tree' echo expanded show \
    mkdir 'T:\tree\Beta2' echo made show \
    rmdir 'T:\tree\Zeta' echo removed show \
    rename 'T:\tree\alpha2' 'T:\tree\Aardvark' echo renamed show \
    echo setdir setdir 't:\TREE\alpha\DEEP\deeper\deepest\' show \
    echo picked select 'T:\tree\beta' dblclick 'T:\tree\Alpha' show \
    echo desktop mkdir 'DESKTOP\Zebra' mkdir 'DESKTOP\apple' show \
    echo endsession endsession refuse-end endsession 2>"$E2E_WORK/host.err")
printf '%s\n' "$out" >"$E2E_WORK/host.out"

# section NAME: the host's output from "== NAME" to the next section.
section() { awk -v name="== $1" '$0 == name { on = 1; next } /^== / { on = 0 } on' <<<"$out"; }
# children LISTING LEVEL: the texts of the shown items at LEVEL, in order, one line.
children() { sed -n "s/^tree: $2 \"\\([^\"]*\\)\".*/\\1/p" <<<"$1" | paste -sd '|'; }
differences() { grep '^differs: ' <<<"$1" || true; }

activated=$(section activated)
e2e_expect_match "the registration with the shell has an id" '^regid: [1-9][0-9]*$' "$out"
e2e_expect_match "one desktop node, open" '^tree: 0 "Desktop" image=[0-9]+ selected=[0-9]+ overlay=-1 children=1 expanded=1$' \
    "$activated"
e2e_expect_eq "and nothing else at the top" "Desktop" "$(children "$activated" 0)"
e2e_expect_match "My Computer open below it" '^tree: 1 "My Computer" .* children=1 expanded=1$' "$activated"
e2e_expect_eq "My Computer's drives in the shell's order, C: and T: among them" \
    "$(sed -n 's/^shell-folder: "\(.*\)"$/\1/p' <<<"$out" | paste -sd '|')" "$(children "$activated" 2)"
e2e_expect_match "the drives are C: and T: and the root" '^ \(C:\)\| \(T:\)\| \(Z:\)$' "$(children "$activated" 2)"
e2e_expect_line "the shell has a Control Panel in My Computer" 'shell-other: "Control Panel"' "$out"
e2e_expect_eq "the tree has no node for it" "" "$(grep -F 'Control Panel' <<<"$activated" || true)"
e2e_expect_eq "every shown picture is the system's, asked for when drawn" "" "$(grep -E 'image=-|selected=-' <<<"$out" || true)"
e2e_expect_eq "the control shows the nodes as they are" "" "$(differences "$activated")"

expanded=$(section expanded)
e2e_expect_line "the shell hides .hidden" 'shell-hidden: ".hidden"' "$out"
e2e_expect_eq "the test folder's subfolders sorted, the hidden one with them, the file not" \
    ".hidden|10|@at|Alpha|alpha2|beta|Zeta|[bracket|_under|\`tick|{brace" "$(children "$expanded" 4)"
pictures=$(sed -n 's/^tree: 4 "beta" image=\([0-9]*\) selected=\([0-9]*\) overlay=-1 children=1 expanded=0$/\1 \2/p' \
    <<<"$expanded")
e2e_expect_eq "a folder shows another picture (the open folder) while selected" yes \
    "$([ -n "$pictures" ] && [ "${pictures% *}" != "${pictures#* }" ] && echo yes || echo "no: $pictures")"
e2e_expect_eq "the control shows the opened level as the nodes are" "" "$(differences "$expanded")"

made=$(section made)
e2e_expect_eq "a new folder appears at its sorted place" \
    ".hidden|10|@at|Alpha|alpha2|beta|Beta2|Zeta|[bracket|_under|\`tick|{brace" \
    "$(children "$made" 4)"
e2e_expect_match "its parent stays open" '^tree: 3 "tree" .* expanded=1$' "$made"
e2e_expect_eq "a removed folder goes" ".hidden|10|@at|Alpha|alpha2|beta|Beta2|[bracket|_under|\`tick|{brace" \
    "$(children "$(section removed)" 4)"
e2e_expect_eq "a renamed folder shows its new name at its place" \
    ".hidden|10|@at|Aardvark|Alpha|beta|Beta2|[bracket|_under|\`tick|{brace" \
    "$(children "$(section renamed)" 4)"
e2e_expect_eq "the control kept up with every change" "" \
    "$(differences "$(printf '%s\n' "$made" "$(section removed)" "$(section renamed)")")"

setdir=$(section setdir)
e2e_expect_line "SetDirectory of a deep path, in another case, and GetDirectory" \
    'getdir: T:\tree\Alpha\deep\deeper\deepest' "$setdir"
e2e_expect_eq "the levels on the way opened" "deep|deeper|deepest" \
    "$(children "$setdir" 5)|$(children "$setdir" 6)|$(children "$setdir" 7)"

picked=$(section picked)
e2e_expect_eq "a pick in the control, then a double click on another item" \
    "$(printf '%s\n' 'change: T:\tree\beta' click 'change: T:\tree\Alpha' dblclick)" \
    "$(grep -E '^(change|click|dblclick)' <<<"$picked")"
e2e_expect_match "the double click closed the open folder" '^tree: 4 "Alpha" .* expanded=0$' "$picked"

# The desktop's own level: My Computer first, then its folders by the tree's order (ASCII letters
# folded, then the bytes: what sort -f does in the C locale).
desktop=$(section desktop)
e2e_expect_eq "folders made on the desktop: its level reloaded, My Computer kept first" \
    "My Computer|$({ children "$activated" 1 | tr '|' '\n' | grep -vx 'My Computer'; printf '%s\n' Zebra apple; } |
        LC_ALL=C sort -f | paste -sd '|')" \
    "$(children "$desktop" 1)"
e2e_expect_eq "the control shows the reloaded desktop as the nodes are" "" "$(differences "$desktop")"

e2e_expect_eq "the session may end, and the registration ends with it; then the owner says no" \
    "$(printf '%s\n' "$(sed -n 's/^regid: /deregistered: /p' <<<"$out")" 'endsession: 1' 'endsession: 0')" \
    "$(section endsession)"

e2e_expect_eq "no notification list is freed twice" 0 "$(grep -c 'delayed freed block' "$E2E_WORK/host.err" || true)"
# And the warning that this looks for is the one a list freed twice gives.
WINEDEBUG=-all,warn+heap e2e_tool "$prefix" cvtreehost freetwice >/dev/null 2>"$E2E_WORK/control.err"
e2e_expect_match "a list freed twice on purpose shows in the same warnings" 'delayed freed block' \
    "$(cat "$E2E_WORK/control.err")"
e2e_summary
