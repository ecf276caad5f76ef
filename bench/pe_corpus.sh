#!/usr/bin/env bash
# The string-table reader's time over every module of the Wine prefix against the
# system loader's (bench/PeCorpusBench.cpp), once in English and once in German.
# Sets up and tears down the build folder's Wine test bed, so do not run the
# Windows tests of the same folder at the same time.
#
#   bench/pe_corpus.sh [ROUNDS] [BUILD-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}
build=${2:-build/windows}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
fi
cmake --build "$build" --target pe_corpus_bench >/dev/null
bash tests/e2e/winebed.sh setup "$build"
trap 'bash tests/e2e/winebed.sh teardown "$build"' EXIT
for locale in en_US de_DE; do
    LC_ALL=$locale.UTF-8 LANG=$locale.UTF-8 LANGUAGE=$locale \
        bash tests/e2e/wine-run.sh "$build/bench/pe_corpus_bench.exe" "$rounds"
done
