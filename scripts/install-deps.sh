#!/usr/bin/env bash
# Installs the Debian packages that building and testing cvfir needs, and only those missing: the one
# list of packages in the project. Quiet and quick when everything is there already.
#   install-deps.sh native   compilers, CMake, GoogleTest, Google Benchmark, the sanitizer and fuzzer runtimes
#   install-deps.sh wine     the above, plus Wine (32-bit) with its fonts, the mingw-w64 cross compiler, Xvfb,
#                            the X utilities, ImageMagick, the locales' sources (compiled into the build for
#                            the East Asian scenarios) and fonts for their characters in the screenshots
#   install-deps.sh bench    the above, plus NSIS, which builds the installer that `make bench` measures
#                            cvfir.exe against
set -euo pipefail

native=(cmake make g++ clang clang-format libclang-rt-14-dev googletest libgtest-dev libgmock-dev libbenchmark-dev)
wine=(wine wine64 wine32:i386 fonts-wine g++-mingw-w64-i686 mingw-w64-tools xvfb x11-utils xdotool imagemagick
    locales fonts-arphic-uming fonts-ipafont-gothic)
bench=(nsis)

missing() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
    done
}

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

wanted=("${native[@]}")
if [ "${1:-native}" != native ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    wanted+=("${wine[@]}")
fi
[ "${1:-native}" != bench ] || wanted+=("${bench[@]}")

mapfile -t todo < <(missing "${wanted[@]}")
if [ "${#todo[@]}" -eq 0 ]; then
    exit 0
fi
echo "Installing: ${todo[*]}"
# apt's chatter goes to a log that is shown only if something fails. Another apt may hold the lock for
# a while (a machine's own updates): wait for it.
log=$(mktemp)
if ! { "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 -qq update &&
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${todo[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "install-deps: apt-get could not install: ${todo[*]}" >&2
    exit 1
fi
rm -f "$log"
