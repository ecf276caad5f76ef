#!/usr/bin/env bash
# Builds a release of Lumivane into build/release/:
#   Lumivane.scr, LumivaneSetup.exe (the per-user installer), README.md, LICENSE,
#   Lumivane-<version>.zip holding those four, and SHA256SUMS.
# It configures and builds the windows preset (MinGW-w64 cross build and makensis),
# installing missing Debian packages first through scripts/setup.sh.
#
#   bash scripts/package.sh [build-dir [release-dir]]
#
# By default the windows preset's folder (build/windows) and build/release; another
# build folder gets the same configuration as the preset.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/windows}
release=${2:-build/release}

bash scripts/setup.sh

if [ $# -eq 0 ]; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target installer
else
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
    cmake --build "$build" --target installer
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || {
    echo "package: no project version in $build/CMakeCache.txt" >&2
    exit 1
}

rm -rf "$release"
mkdir -p "$release"
cp "$build/Lumivane.scr" "$build/LumivaneSetup.exe" README.md LICENSE "$release/"

zip_name=Lumivane-$version.zip
# Python's zipfile, not zip(1): python3 is already needed by the tests.
(cd "$release" && python3 -m zipfile -c "$zip_name" Lumivane.scr LumivaneSetup.exe README.md LICENSE)
(cd "$release" && sha256sum Lumivane.scr LumivaneSetup.exe "$zip_name" >SHA256SUMS)

echo "package: $release/$zip_name"
ls -l "$release"
