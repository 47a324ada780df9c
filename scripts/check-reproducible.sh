#!/usr/bin/env bash
# make test: one commit builds one cvfir.exe, byte for byte. The sources are copied to another folder
# (build/repro/src) and cvfir.exe alone is built there from nothing, in a build folder of its own and
# without a compiler cache, then compared with dist/cvfir.exe, which `make dist` built in the
# repository's own folders. Prints the SHA-256 of each; exits 1 when they differ, leaving the second
# build in place to be compared.
#   scripts/check-reproducible.sh [JOBS]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${1:-2}
work=$repo/build/repro
die() { printf 'reproducible: error: %s\n' "$*" >&2; exit 1; }

[ -f "$repo/dist/cvfir.exe" ] || die "no dist/cvfir.exe: run 'make dist' first"
rm -rf "$work"
mkdir -p "$work/src"
tar -C "$repo" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$work/src" -xf -
# A cached object would hide a compiler that writes something of its own folder or time.
env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER \
    cmake -S "$work/src" -B "$work/win32" -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/win32" -j"$jobs" --target cvfir >/dev/null

printf 'reproducible: %s\n' "$(cd "$repo" && sha256sum dist/cvfir.exe)" \
    "$(cd "$work" && sha256sum win32/cvfir.exe) (built again in ${work#"$repo"/})"
cmp "$repo/dist/cvfir.exe" "$work/win32/cvfir.exe" >/dev/null ||
    die "the two builds differ: $(cmp "$repo/dist/cvfir.exe" "$work/win32/cvfir.exe" || true)"
echo "reproducible: the same bytes"
rm -rf "$work"
