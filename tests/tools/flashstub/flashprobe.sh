#!/usr/bin/env bash
# Runs flashprobe in the Wine test bed of a build folder: first with no player
# registered (creation must fail with "Class not registered"), then with the
# stand-in registered through regsvr32, and unregisters it again afterwards so
# that later tests find the prefix as the bed made it.
#
#   flashprobe.sh <build-dir> <flashprobe.exe> <flashstub.dll> [--hold ms]
set -uo pipefail

[ $# -ge 3 ] || {
    echo "usage: $0 <build-dir> <flashprobe.exe> <flashstub.dll> [--hold ms]" >&2
    exit 2
}
build=$1 probe=$(realpath "$2") stub=$(realpath "$3")
shift 3
env_file=${LUMIVANE_WINEBED_ENV:-$build/winebed/env}
[ -f "$env_file" ] || {
    echo "flashprobe: no test bed ($env_file missing): run tests/e2e/winebed.sh setup $build" >&2
    exit 2
}
# shellcheck disable=SC1090
source "$env_file"

# The prefix loads the DLL from where it was registered; a copy on C: keeps the
# build folder's path out of the prefix's registry.
dll_dir=$WINEPREFIX/drive_c/lumivane-flashstub
mkdir -p "$dll_dir"
cp "$stub" "$dll_dir/flashstub.dll"
dll='C:\lumivane-flashstub\flashstub.dll'

# Wine cannot start in a Linux folder that no drive maps.
cd "$WINEPREFIX/drive_c" || exit 1
status=0
wine regsvr32 /s /u "$dll" >/dev/null 2>&1
echo "== without a player"
wine "$probe" missing </dev/null || status=1

echo "== with the stand-in"
if ! wine regsvr32 /s "$dll" </dev/null; then
    echo "flashprobe: regsvr32 could not register the stand-in" >&2
    exit 1
fi
wine "$probe" "$@" </dev/null || status=1
wine regsvr32 /s /u "$dll" </dev/null >/dev/null 2>&1 || status=1
exit $status
