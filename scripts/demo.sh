#!/usr/bin/env bash
# Lumivane's demo: installs what is missing, cross-builds Lumivane.scr and the
# sample screensavers, lays out build/demo/Lumivane with a Lumivane.ini that lists
# the samples, and runs "Lumivane.scr /s" under Wine, the way Windows starts a
# screensaver. On your X display (when $DISPLAY answers) it runs until you close
# it; without one it runs on a virtual display, saves build/demo/screenshot.png
# after a few seconds and closes the saver itself.
#
# LUMIVANE_DEMO_BUILD_DIR builds in another folder instead of the windows preset's.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh

build=${LUMIVANE_DEMO_BUILD_DIR:-}
if [ -z "$build" ]; then
    cmake --preset windows
    cmake --build --preset windows
    build=$root/build/windows
else
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel
    cmake --build "$build"
    build=$(cd "$build" && pwd)
fi
tools=$build/tests/tools

demo=${LUMIVANE_DEMO_DIR:-$root/build/demo}
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
folder=$demo/Lumivane
rm -rf "$folder"
mkdir -p "$folder"
cp "$build/Lumivane.scr" "$folder/"
savers=(OceanWaves.scr Starfield.scr EmberGlow.scr)
for saver in "${savers[@]}"; do
    cp "$tools/$saver" "$folder/"
done

# The folder is drive E: inside Wine; the list names the samples there.
{
    printf '[Amount]\r\nTotal=%d\r\nFlashTotal=0\r\n[ScreenList]\r\n' "${#savers[@]}"
    for i in "${!savers[@]}"; do
        printf 'File%d=E:\\%s\r\n' "$i" "${savers[$i]}"
    done
    printf '[RandomWhat]\r\nType=0\r\n[Misc]\r\nFlashSize=1\r\n'
} >"$folder/Lumivane.ini"

on_screen=""
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    on_screen=$DISPLAY
fi

bed() { bash tests/e2e/winebed.sh "$@"; }
trap 'bed teardown "$demo"' EXIT
LUMIVANE_BED_DISPLAY=$on_screen bed setup "$demo"
bed map "$demo" e "$folder"
# shellcheck disable=SC1091
source "$demo/winebed/env"

if [ -n "$on_screen" ]; then
    echo "demo: Lumivane starts one of the sample savers on $on_screen."
    echo "demo: a key or a click closes the sample saver; another one closes Lumivane's black screen."
    (cd "$folder" && wine 'E:\Lumivane.scr' /s)
    echo "demo: Lumivane ended with exit code $?"
    exit 0
fi

echo "demo: no display; running on a virtual one ($DISPLAY)"
(cd "$folder" && exec wine 'E:\Lumivane.scr' /s) </dev/null >"$demo/lumivane.log" 2>&1 &
lumivane=$!
driver() { wine "$tools/lvdriver.exe" "$@" </dev/null 2>/dev/null; }
if ! driver find --class LumivaneSampleSaver --timeout 30000 >/dev/null; then
    echo "demo: no sample saver appeared; the screenshot shows what did" >&2
fi
sleep 3
import -window root "$demo/screenshot.png"

# Close it as a user would: the first click ends the sample saver, the next one
# reaches Lumivane's own black window.
for _ in 1 2 3; do
    kill -0 "$lumivane" 2>/dev/null || break
    xdotool mousemove 1000 740 click 1
    sleep 1
done
if kill -0 "$lumivane" 2>/dev/null; then
    echo "demo: Lumivane did not close on a click" >&2
    kill "$lumivane" 2>/dev/null || true
fi
wait "$lumivane" || true
echo "demo: screenshot saved to $demo/screenshot.png"
