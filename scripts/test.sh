#!/usr/bin/env bash
# Runs every test of Lumivane: installs what is missing, then the host unit and
# contract tests, the sanitizer build, the fuzz targets' short runs, and the
# Windows build's contract and end-to-end tests under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

run_preset() {
    local preset=$1
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
}

run_preset host
run_preset asan
run_preset fuzz
run_preset windows
