#!/usr/bin/env bash
# Installs the Debian packages that building and testing cvfir needs, and only those missing.
# Quiet and quick when everything is there already.
#   install-deps.sh native   compilers, CMake, GoogleTest, Google Benchmark, the sanitizer and fuzzer runtimes
#   install-deps.sh wine     the above, plus Wine (32-bit), the mingw-w64 cross compiler, Xvfb and ImageMagick
set -euo pipefail

native=(cmake make g++ clang clang-format libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev)
wine=(wine wine64 wine32:i386 g++-mingw-w64-i686 mingw-w64-tools xvfb xdotool imagemagick)

missing() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
    done
}

wanted=("${native[@]}")
if [ "${1:-native}" = wine ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    wanted+=("${wine[@]}")
fi

mapfile -t todo < <(missing "${wanted[@]}")
if [ "${#todo[@]}" -eq 0 ]; then
    exit 0
fi
echo "Installing: ${todo[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${todo[@]}" >/dev/null
