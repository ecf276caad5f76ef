#!/usr/bin/env bash
# The Wine test bed of the end-to-end tests: one Wine prefix and one virtual X
# display per build folder, prepared once per test run and torn down after it.
#
#   winebed.sh setup <build-dir> [dual]      fresh prefix, Xvfb, persistent wineserver
#   winebed.sh teardown <build-dir> [dual]   wineserver -k, Xvfb stopped, env file and prefix removed
#   winebed.sh map <build-dir> <letter> <folder>   add a drive letter for a test
#
# "dual" is a second bed beside the first (winebed-dual/, e2e-work-dual/) with two
# monitors: one 1824 x 768 Xvfb screen without RandR, and twoheads/libXinerama.c,
# built here and first on Wine's LD_LIBRARY_PATH, which reports 1024 x 768 at 0,0
# and 800 x 600 at 1024,0. Its root is white, so a monitor left uncovered shows.
# It shares the first bed's template prefix.
#
# With LUMIVANE_BED_DISPLAY set (the demo on the user's screen), setup uses that
# X display instead of starting Xvfb.
#
# Setup writes <build-dir>/winebed/env, a shell file with DISPLAY, WINEPREFIX and
# the drive map; wine-run.sh and the Python harness read it. The prefix is copied
# from a template made once with wineboot (about 12 s) because a copy takes about
# 2 s. Drive Z: (the host's root) is removed so that a program listing drives
# sees only C: and the folders the bed maps: D: is the e2e work folder.
set -euo pipefail

usage() {
    echo "usage: $0 setup|teardown <build-dir> [dual] | map <build-dir> <letter> <folder>" >&2
    exit 2
}

[ $# -ge 2 ] || usage
command=$1
build=$(mkdir -p "$2" && cd "$2" && pwd)
mode=single
if [ "$command" != map ] && [ "${3:-}" = dual ]; then
    mode=dual
fi
suffix=${mode/single/}
suffix=${suffix:+-$suffix}
bed=$build/winebed$suffix
env_file=$bed/env
template=$build/winebed/template
prefix=$bed/prefix
work=$build/e2e-work$suffix
screen=1024x768x24

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

log() { echo "winebed: $*" >&2; }

# Everything the template depends on; a change rebuilds it.
template_stamp() {
    {
        wine --version 2>/dev/null || true
        echo "registry: Managed=N ShowCrashDialog=0; fonts: marlett"
    } | tr -d '\r'
}

make_template() {
    local stamp
    stamp=$(template_stamp)
    if [ -f "$template/.lumivane-stamp" ] && [ "$(cat "$template/.lumivane-stamp")" = "$stamp" ]; then
        return
    fi
    log "making the template prefix (wineboot, once per build folder)"
    rm -rf "$template"
    mkdir -p "$bed" "$(dirname "$template")"
    (
        export WINEPREFIX=$template
        # No display is needed to initialise a prefix; keep wineboot off the user's screen.
        unset DISPLAY
        wineboot --init </dev/null >"$bed/wineboot.log" 2>&1
        # Without a window manager every top-level close otherwise stalls about 2 s.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$bed/wineboot.log" 2>&1
        # A crash must end the program and fail the test, not wait on a dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >>"$bed/wineboot.log" 2>&1
        # Registry files are written when the server ends.
        wineserver -w
    )
    local font
    for font in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
        if [ -f "$font" ]; then
            mkdir -p "$template/drive_c/windows/Fonts"
            cp "$font" "$template/drive_c/windows/Fonts/"
            break
        fi
    done
    if ! grep -q '^"Managed"="N"' "$template/user.reg" 2>/dev/null ||
        ! grep -q '^"ShowCrashDialog"=dword:00000000' "$template/user.reg"; then
        log "the template prefix lacks its registry settings; see $bed/wineboot.log"
        exit 1
    fi
    echo "$stamp" >"$template/.lumivane-stamp"
}

start_xvfb() {
    # -displayfd lets Xvfb pick a free display itself, so parallel beds never race for one.
    local fdfile=$bed/xvfb.display
    rm -f "$fdfile"
    local extra=()
    if [ "$mode" = dual ]; then
        extra=(-extension RANDR -wr)
    fi
    setsid Xvfb -displayfd 3 -screen 0 "$screen" "${extra[@]}" -nolisten tcp -noreset \
        3>"$fdfile" </dev/null >"$bed/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$fdfile" ]; then
            display=":$(tr -dc '0-9' <"$fdfile")"
            return
        fi
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    log "Xvfb did not start; see $bed/xvfb.log"
    exit 1
}

teardown() {
    [ -f "$env_file" ] || return 0
    # shellcheck disable=SC1090
    (
        source "$env_file"
        if [ -d "${WINEPREFIX:-}" ]; then
            WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
        fi
        if [ -n "${LUMIVANE_KEEPER_PGID:-}" ]; then
            kill -- "-$LUMIVANE_KEEPER_PGID" 2>/dev/null || true
        fi
        if [ -n "${LUMIVANE_XVFB_PID:-}" ] && kill -0 "$LUMIVANE_XVFB_PID" 2>/dev/null; then
            kill "$LUMIVANE_XVFB_PID" 2>/dev/null || true
            for _ in $(seq 1 30); do
                kill -0 "$LUMIVANE_XVFB_PID" 2>/dev/null || break
                sleep 0.1
            done
        fi
    )
    rm -f "$env_file"
    # The prefix is rebuilt from the template at every setup; the work folder and
    # the artifacts stay for a look after the run.
    rm -rf "$prefix"
}

map_drive() {
    local letter=${1,,} folder=$2
    [[ $letter =~ ^[a-y]$ ]] || {
        log "drive letter must be one of a to y"
        exit 2
    }
    folder=$(mkdir -p "$folder" && cd "$folder" && pwd)
    ln -sfn "$folder" "$prefix/dosdevices/$letter:"
    echo "export LUMIVANE_DRIVE_${letter^^}='$folder'" >>"$env_file"
}

setup() {
    command -v wine >/dev/null || {
        log "wine is missing: run scripts/setup.sh"
        exit 1
    }
    command -v Xvfb >/dev/null || {
        log "Xvfb is missing: run scripts/setup.sh"
        exit 1
    }
    # A bed left behind by an interrupted run is cleared first.
    teardown
    make_template

    trap 'teardown_partial' EXIT
    rm -rf "$prefix" "$work"
    mkdir -p "$bed"
    cp -a "$template" "$prefix"
    rm -f "$prefix/dosdevices/z:"
    mkdir -p "$work"
    ln -sfn "$work" "$prefix/dosdevices/d:"

    if [ "$mode" = dual ]; then
        screen=1824x768x24
        mkdir -p "$bed/twoheads"
        cc -shared -fPIC -O2 -o "$bed/twoheads/libXinerama.so.1" "$(dirname "$0")/twoheads/libXinerama.c"
        export LD_LIBRARY_PATH=$bed/twoheads${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
    fi
    if [ -n "${LUMIVANE_BED_DISPLAY:-}" ] && [ "$mode" = single ]; then
        display=$LUMIVANE_BED_DISPLAY
        xvfb_pid=""
    else
        start_xvfb
    fi
    {
        echo "# Written by winebed.sh setup; removed by teardown."
        echo "export DISPLAY='$display'"
        echo "export WINEPREFIX='$prefix'"
        echo "export WINEDEBUG='$WINEDEBUG'"
        echo "export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'"
        echo "export LUMIVANE_XVFB_PID='$xvfb_pid'"
        echo "export LUMIVANE_E2E_WORK='$work'"
        echo "export LUMIVANE_ARTIFACTS='$build/e2e-artifacts'"
        echo "export LUMIVANE_DRIVE_C='$prefix/drive_c'"
        echo "export LUMIVANE_DRIVE_D='$work'"
        if [ "$mode" = dual ]; then
            echo "export LD_LIBRARY_PATH='$LD_LIBRARY_PATH'"
        fi
    } >"$env_file"

    # A persistent server keeps later starts fast; it must not hold this script's output open.
    WINEPREFIX=$prefix setsid wineserver -p </dev/null >"$bed/wineserver.log" 2>&1
    # Wine's desktop process (explorer.exe) starts with the first program that needs
    # it, inherits that program's output, and lives as long as any Wine process
    # does. Left to chance, it would be a test's driver call, whose caller would
    # then wait on the pipe until the run ends. So a keeper process holds the
    # desktop up for the whole run, started here with no output to inherit.
    WINEPREFIX=$prefix DISPLAY=$display setsid bash -c 'sleep infinity | wine cmd' \
        </dev/null >/dev/null 2>&1 &
    echo "export LUMIVANE_KEEPER_PGID='$!'" >>"$env_file"
    WINEPREFIX=$prefix DISPLAY=$display timeout 60 wine rundll32.exe user32.dll,GetDesktopWindow \
        </dev/null >/dev/null 2>&1 || true
    trap - EXIT
    mkdir -p "$build/e2e-artifacts"
    log "ready: DISPLAY=$display WINEPREFIX=$prefix (env in $env_file)"
}

teardown_partial() {
    local rc=$?
    if [ -n "${xvfb_pid:-}" ] && [ ! -f "$env_file" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
    fi
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    teardown
    exit "$rc"
}

case $command in
setup) setup ;;
teardown) teardown ;;
map)
    [ $# -eq 4 ] || usage
    [ -f "$env_file" ] || {
        log "no bed in $build: run setup first"
        exit 1
    }
    map_drive "$3" "$4"
    ;;
*) usage ;;
esac
