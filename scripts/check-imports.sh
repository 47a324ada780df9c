#!/usr/bin/env bash
# Checks the import table of a built Windows program: it may import only from modules that Windows
# keeps as known modules and always takes from its system folder. Every other module is loaded at run
# time by its full path, so a module of that name beside the program (on the driver disk) never runs.
#
#   scripts/check-imports.sh [EXE]   default: dist/cvfir.exe
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${1:-$repo/dist/cvfir.exe}
objdump=i686-w64-mingw32-objdump

# The C run-time (msvcrt) cannot be loaded late: it is needed before the program's first line runs.
allowed_modules="KERNEL32 USER32 GDI32 ADVAPI32 SHELL32 OLE32 MSVCRT"

[ -f "$exe" ] || { echo "check-imports: no $exe" >&2; exit 2; }

# The modules named in the import table, upper case, without ".DLL".
imported_modules() {
    "$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:lower:]' '[:upper:]' | sed 's/\.DLL$//'
}

failures=0
modules=$(imported_modules)
[ -n "$modules" ] || { echo "check-imports: no import table in $exe" >&2; exit 2; }
for module in $modules; do
    if [[ " $allowed_modules " == *" $module "* ]]; then
        echo "ok    $module"
    else
        echo "FAIL  $module is imported: load it from the system folder at run time instead"
        failures=$((failures + 1))
    fi
done
echo "check-imports: $(basename "$exe"): $failures module(s) not allowed"
[ "$failures" -eq 0 ]
