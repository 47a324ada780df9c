#!/usr/bin/env bash
# The program file's version resource, read back as Explorer's Properties read it (cvverinfo, through
# GetFileVersionInfoA): the version that the build names, the company and product texts that the
# program shows, US English in code page 1252; and the background window shows that same version.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cvfir_lib.sh"

version=$(sed -n 's/^project(cvfir VERSION \([0-9.]*\) .*/\1/p' "$E2E_REPO/CMakeLists.txt")
[ -n "$version" ] || e2e_die "no version in project() of CMakeLists.txt"

cv_setup winxp
cp "$E2E_TOOLS/cvfloor.exe" "$(cv_c cvfloor.exe)"

e2e_expect_eq "cvfir.exe's version resource" \
    "$(printf '%s\n' "fixed: file $version.0.0 product $version.0.0 os 0x4 type 1" 'translation: 0409 04E4' \
        'CompanyName: Corvane Electronics Corp.' 'FileDescription: Corvane FIR driver setup program' \
        "FileVersion: $version" 'InternalName: cvfir' 'LegalCopyright: (none)' 'OriginalFilename: cvfir.exe' \
        'ProductName: Corvane FIR driver' "ProductVersion: $version")" \
    "$(e2e_tool "$cv_prefix" cvverinfo "$CV_DISK\\cvfir.exe")"

rc=0
e2e_tool "$cv_prefix" cvverinfo 'C:\cvfloor.exe' >/dev/null 2>&1 || rc=$?
e2e_expect_eq "the reader tells a program without a version resource by its exit code" 1 "$rc"

cv_start
cv_wait_wizard
cv_expect_shows "the background shows the version of the resource" "Version $version"
cv_click Cancel
e2e_expect_eq "Cancel ends the program with 1" 1 "$(cv_exit)"
e2e_summary
