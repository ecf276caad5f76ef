#!/usr/bin/env python3
"""Video benchmarks of Lumivane.scr under Wine, reported as ratios to a floor.

In one run, on one Wine prefix and virtual display (tests/e2e/winebed.sh):
  first frame  /s with a one-video list (320 x 180, one colour): from the start
               of the process to the video's colour in the middle of the screen,
               against video_probe.exe (bench/VideoProbe.cpp), the least Media
               Foundation code that shows the same file's first frame, started and
               watched the same way; interleaved, --runs times each
  memory       /s looping a 1920 x 1080 video for --minutes: the resident memory
               of the process every 10 s once the engine has settled (after a
               minute); growth from the first sample to the last, and to the
               highest
Run from a built tree (cmake --build --preset windows):
  bench/video.py [--build build/windows] [--runs 5] [--minutes 10]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
COLOUR = (0x20, 0x60, 0xC0)  # wide.mp4 of tests/contract/make_videos.sh


def near(colour, expected, slack=24):
    return len(colour) == 3 and all(abs(a - b) <= slack for a, b in zip(colour, expected))


def pixel(env, x, y):
    done = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "rgb:-"],
                          env=env, timeout=20, stdin=subprocess.DEVNULL, capture_output=True)
    return tuple(done.stdout[:3])


def resident_kb(name):
    """The resident memory of the biggest process whose command line names the program."""
    found = subprocess.run(["pgrep", "-f", name], capture_output=True, text=True).stdout.split()
    sizes = []
    for pid in found:
        try:
            with open("/proc/%s/status" % pid) as status:
                sizes += [int(line.split()[1]) for line in status if line.startswith("VmRSS:")]
        except OSError:
            pass
    return max(sizes, default=0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--minutes", type=float, default=10)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    subprocess.run(["bash", os.path.join(ROOT, "tests", "e2e", "winebed.sh"), "setup", build], check=True,
                   stdout=subprocess.DEVNULL)
    os.environ["LUMIVANE_WINEBED_ENV"] = os.path.join(build, "winebed", "env")
    os.environ["LUMIVANE_SCR"] = os.path.join(build, "Lumivane.scr")
    from lumivane_e2e import Bed, Program

    bed = Bed()
    folder = os.path.join(bed.work, "videobench")
    shutil.rmtree(folder, ignore_errors=True)
    videos = os.path.join(folder, "videos")
    subprocess.run(["bash", os.path.join(ROOT, "tests", "contract", "make_videos.sh"), videos], check=True,
                   capture_output=True)
    subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    "testsrc2=s=1920x1080:r=30:d=10", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-preset",
                    "veryfast", os.path.join(videos, "hd.mp4")], check=True)
    shutil.copy(bed.scr, os.path.join(folder, "Lumivane.scr"))
    shutil.copy(os.path.join(build, "bench", "video_probe.exe"), os.path.join(folder, "video_probe.exe"))
    dos = bed.dos_path(folder)

    def saver(video):
        with open(os.path.join(folder, "Lumivane.ini"), "wb") as ini:
            ini.write(("[Amount]\r\nVideoTotal=1\r\n[VideoList]\r\nFile0=%s\\videos\\%s\r\n[RandomWhat]\r\nType=2\r\n"
                       % (dos, video)).encode("cp1252"))
        return Program(bed, [dos + "\\Lumivane.scr", "/s"], folder, os.path.join(bed.artifacts, "videobench"))

    def first_frame(start, point):
        began = time.monotonic()
        program = start()
        while not near(pixel(bed.env, *point), COLOUR):
            if time.monotonic() - began > 60:
                program.kill()
                raise RuntimeError("no first frame within 60 s")
        took = time.monotonic() - began
        program.kill()
        time.sleep(1)
        return took

    probe = lambda: Program(bed, [dos + "\\video_probe.exe", dos + "\\videos\\wide.mp4", "60000"], folder,
                            os.path.join(bed.artifacts, "videoprobe"))
    times = {"probe": [], "Lumivane": []}
    for run in range(args.runs + 1 if args.runs else 0):  # the first of each warms the prefix up
        for name, start, point in (("probe", probe, (160, 90)), ("Lumivane", lambda: saver("wide.mp4"), (512, 384))):
            took = first_frame(start, point)
            if run:
                times[name].append(took)
    if args.runs:
        floor = statistics.median(times["probe"])
        print("%-24s %10s %10s %8s" % ("first frame", "median s", "fastest s", "ratio"))
        for name in ("probe", "Lumivane"):
            median = statistics.median(times[name])
            print("%-24s %10.2f %10.2f %8.2f" % (name, median, min(times[name]), median / floor))

    program = saver("hd.mp4")
    samples = []
    began = time.monotonic()
    while time.monotonic() - began < 60 + args.minutes * 60:
        time.sleep(10)
        if time.monotonic() - began >= 60:
            samples.append(resident_kb("Lumivane.scr"))
    program.kill()
    subprocess.run(["bash", os.path.join(ROOT, "tests", "e2e", "winebed.sh"), "teardown", build],
                   stdout=subprocess.DEVNULL)
    print("%-24s %10s %10s %10s" % ("memory, 1080p loop", "first MB", "last MB", "highest MB"))
    print("%-24s %10.1f %10.1f %10.1f   (%d samples over %.1f min)" % (
        "Lumivane", samples[0] / 1024, samples[-1] / 1024, max(samples) / 1024, len(samples), args.minutes))
    print("each minute, MB: " + " ".join("%.1f" % (kb / 1024) for kb in samples[::6]))


if __name__ == "__main__":
    main()
