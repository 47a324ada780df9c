#!/usr/bin/env bash
# Checks the import table of a built Windows program:
# - it may import only from modules that Windows keeps as known modules and always takes from its system
#   folder. Every other module is loaded at run time by its full path, so a module of that name beside
#   the program (on the driver disk) never runs;
# - every function it imports is listed in scripts/imports.txt as present on Windows 95 and on NT 4.0 (and
#   so on 98, Me, 2000 and XP): the program must start there too, to refuse those two in words.
#
#   scripts/check-imports.sh [EXE]               default: dist/cvfir.exe
#   scripts/check-imports.sh --candidate [EXE]   prints the function list for EXE, to review and commit as
#                                                scripts/imports.txt ("?" for a function not yet listed)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list=$repo/scripts/imports.txt
objdump=i686-w64-mingw32-objdump

candidate=0
if [ "${1:-}" = --candidate ]; then
    candidate=1
    shift
fi
exe=${1:-$repo/dist/cvfir.exe}

# The C run-time (msvcrt) cannot be loaded late: it is needed before the program's first line runs.
allowed_modules="KERNEL32 USER32 GDI32 ADVAPI32 SHELL32 OLE32 MSVCRT"

[ -f "$exe" ] || { echo "check-imports: no $exe" >&2; exit 2; }

# "MODULE.DLL FUNCTION" per import, the module in capitals; a function taken by ordinal reads "#N".
imports=$("$objdump" -p "$exe" | awk -F'\t' '
    /^\tDLL Name:/ { split($2, name, ": "); module = toupper(name[2]); next }
    module != "" && /^\t[0-9a-f]+\t/ {
        n = split($3, field, " ")
        print module, (n == 1 ? "#" field[1] : field[n])
    }' | sort -u)
[ -n "$imports" ] || { echo "check-imports: no import table in $exe" >&2; exit 2; }

if [ "$candidate" -eq 1 ]; then
    grep '^#' "$list"
    awk 'NR == FNR { if ($0 !~ /^#/ && NF >= 4) known[toupper($1) " " $2] = $0; next }
         { key = $1 " " $2; print (key in known ? known[key] : sprintf("%-13s %-33s ?   ?", $1, $2)) }' \
        "$list" - <<<"$imports"
    exit 0
fi

# The modules: known ones only.
failures=0
modules=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:lower:]' '[:upper:]' | sed 's/\.DLL$//')
for module in $modules; do
    if [[ " $allowed_modules " == *" $module "* ]]; then
        echo "ok    $module"
    else
        echo "FAIL  $module is imported: load it from the system folder at run time instead"
        failures=$((failures + 1))
    fi
done
echo "check-imports: $(basename "$exe"): $failures module(s) not allowed"

# The functions: each listed as present on Windows 95 and on NT 4.0 or before; "missing" when it is not
# listed at all.
report=$(awk 'NR == FNR { if ($0 !~ /^#/ && NF >= 4) release[toupper($1) " " $2] = $3 " " $4; next }
              { key = $1 " " $2; print key, (key in release ? release[key] : "missing") }' "$list" - <<<"$imports")
newer=$(awk '$3 != "95" || ($4 != "3.1" && $4 != "3.5" && $4 != "3.51" && $4 != "4.0")' <<<"$report")
if [ -n "$newer" ]; then
    echo "FAIL  these functions are not listed in scripts/imports.txt, or not as present on Windows 95 and NT 4.0:"
    sed 's/^/      /' <<<"$newer"
    echo "      (scripts/imports.txt says how to review an addition)"
    failures=$((failures + 1))
fi
stale=$(awk 'NR == FNR { imported[$1 " " $2] = 1; next }
             $0 !~ /^#/ && NF >= 4 && !((toupper($1) " " $2) in imported) { print "      " $1, $2 }' - "$list" <<<"$imports")
if [ -n "$stale" ]; then
    echo "note  listed in scripts/imports.txt but no longer imported (regenerate the list with --candidate):"
    echo "$stale"
fi
[ "$failures" -eq 0 ] || exit 1
functions=$(wc -l <<<"$imports")
dlls=$(cut -d' ' -f1 <<<"$imports" | sort -u | wc -l)
echo "imports: $functions functions from $dlls DLLs, all present on Windows 95, 98, Me, NT 4.0, 2000 and XP"
