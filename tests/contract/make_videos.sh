#!/usr/bin/env bash
# The test videos of the video player suite, made with ffmpeg into one folder:
# one colour each, so that the window's pixels can be checked against it.
#   make_videos.sh <folder>
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
h264=(-c:v libx264 -pix_fmt yuv420p -preset veryfast -movflags +faststart)

ff -f lavfi -i color=c=0x2060C0:s=320x180:r=25:d=1 "${h264[@]}" wide.mp4
ff -f lavfi -i color=c=0xE08020:s=160x120:r=25:d=1 -f lavfi -i sine=frequency=440:duration=1 \
    "${h264[@]}" -c:a aac -b:a 64k -shortest sound.mp4
ff -f lavfi -i color=c=0x2060C0:s=8192x16:r=25:d=0.2 "${h264[@]}" huge.mp4
# Downloads cut short: one with its index at the end, lost with the cut, and one
# with the index in front, so that its first frames are still there.
ff -f lavfi -i testsrc=s=320x180:r=25:d=4 -c:v libx264 -pix_fmt yuv420p -preset veryfast long.mp4
head -c $(($(stat -c %s long.mp4) / 3)) long.mp4 >truncated.mp4
ff -f lavfi -i testsrc=s=320x180:r=25:d=4 "${h264[@]}" long.mp4
head -c $(($(stat -c %s long.mp4) / 3)) long.mp4 >cut.mp4
rm long.mp4
echo "This is a text file, not a video." >text.mp4
: >empty.mp4
ls -l
