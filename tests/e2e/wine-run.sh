#!/usr/bin/env bash
# Runs one Windows program of the cross build under Wine inside the test bed
# (winebed.sh) and passes its exit code through. CMake uses it as the
# cross-compiling emulator, so `add_test(... COMMAND <target>)` runs here.
#
# The bed's env file is found through LUMIVANE_WINEBED_ENV, which the e2e tests
# set; otherwise in the build folder that holds the program (the nearest parent
# folder with a CMakeCache.txt), so tests declared elsewhere find it too.
set -uo pipefail

[ $# -ge 1 ] || {
    echo "usage: $0 <program.exe> [arguments...]" >&2
    exit 2
}

env_file=${LUMIVANE_WINEBED_ENV:-}
if [ -z "$env_file" ]; then
    dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd) || dir=$PWD
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do
        dir=$(dirname "$dir")
    done
    env_file=$dir/winebed/env
fi
if [ ! -f "$env_file" ]; then
    echo "wine-run: no test bed ($env_file missing): run tests/e2e/winebed.sh setup <build-dir>" >&2
    exit 2
fi
# shellcheck disable=SC1090
source "$env_file"

# wine returns the program's own exit code; its output goes where ours goes.
wine "$@"
