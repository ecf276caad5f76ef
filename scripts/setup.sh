#!/usr/bin/env bash
# Installs every Debian package that building and testing Lumivane needs.
# Idempotent: packages already present are skipped, and apt is only touched when
# something is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    # Wine's Media Foundation decodes through GStreamer: decodebin (base), the
    # MP4 demuxer (good), H.264 and AAC (libav). ffmpeg makes the test videos.
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav ffmpeg
    # Wine's ALSA driver; the sound test gives it a device that writes to a file.
    libasound2
    xvfb xauth xdotool x11-utils imagemagick
    python3
    nsis
    locales
)

# The locales the Wine tests run under: Wine takes its UI language from the
# process locale, and a locale the C library lacks leaves Wine in English.
locales=(en_US.UTF-8 de_DE.UTF-8)

ensure_locales() {
    local wanted=() l
    for l in "${locales[@]}"; do
        # locale -a spells them without the dash and in lower case: de_DE.utf8.
        if ! locale -a 2>/dev/null | grep -qx "${l%%.*}.utf8"; then
            wanted+=("$l")
        fi
    done
    [ ${#wanted[@]} -eq 0 ] && return
    echo "setup: generating locales ${wanted[*]}"
    for l in "${wanted[@]}"; do
        $SUDO sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
        grep -qx "${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    done
    $SUDO locale-gen >/dev/null
}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all ${#packages[@]} packages present"
else
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
ensure_locales
