#!/usr/bin/env python3
"""The search of one large folder by the real Lumivane.scr under Wine: how long it
takes and how long the window went without answering meanwhile.

The folder holds 100,000 files, 2,000 of them screensavers (hard links of the
sample saver, each with its description to read) and the rest empty files. The
configuration window is opened on it and "Search" pressed; while the search runs
the window is asked to answer a null message over and over, and the longest wait
for an answer is the longest time a user's click would have gone unanswered.
A floor is measured in the same run: the same pings to the idle window.

    python3 bench/search_wine.py [--build DIR] [--scr FILE] [--files N] [--savers N]

DIR is a windows build folder (default build/windows), already built; its Wine
test bed is set up and torn down here, so do not run the end-to-end tests in the
same folder at the same time. FILE is the Lumivane.scr to measure (default the
one of DIR), so that another version can be measured with the same tools.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from lumivane_e2e import Bed, Driver, Program  # noqa: E402

CBOX_DRIVER = 104
STATUS_BAR = 115


def make_folder(folder, files, savers, saver_source):
    os.makedirs(folder)
    master = os.path.join(folder, "master.bin")
    shutil.copy(saver_source, master)
    every = files // savers
    for i in range(files - 1):
        path = os.path.join(folder, ("s%06d.scr" if i % every == 0 else "f%06d.dat") % i)
        if i % every == 0:
            os.link(master, path)
        else:
            open(path, "wb").close()


class Run:
    def __init__(self, bed, driver, scr, work):
        self.bed = bed
        self.driver = driver
        self.scr = scr
        self.work = work

    def open(self, folder_dos):
        home = os.path.join(self.work, "searchbench")
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(home)
        shutil.copy(self.scr, os.path.join(home, "Lumivane.scr"))
        with open(os.path.join(home, "Lumivane.ini"), "wb") as ini:
            ini.write(("[RecentFolder]\r\nFolderName4=%s\r\n" % folder_dos).encode("cp1252"))
        self.program = Program(self.bed, [self.bed.dos_path(home) + "\\Lumivane.scr", "/c"], home,
                               os.path.join(home, "run"))
        window = self.driver.find(cls="TfrmMain", timeout=60)
        if window is None:
            sys.exit("the configuration window did not open")
        self.hwnd = window["hwnd"]
        controls = {c["id"]: c["hwnd"] for c in self.driver.children(self.hwnd)}
        self.status = controls[STATUS_BAR]
        combo = controls[CBOX_DRIVER]
        items = [r["text"] for r in self.driver.rows(combo)]
        self.driver.run("pick", combo, items.index(folder_dos))

    def ping(self):
        return self.driver.run("ping", self.hwnd, timeout_ms=600000)[0]["ms"]

    def panel(self):
        found = self.driver.run("panels", self.status, check=False)
        return [p["text"] for p in found] if found else None

    def idle_pings(self, count):
        return max(self.ping() for _ in range(count))

    def search(self, limit_s):
        self.driver.press(self.hwnd, "Search")
        start = time.monotonic()
        longest = 0.0
        pings = 0
        while time.monotonic() - start < limit_s:
            ms = self.ping()
            pings += 1
            longest = max(longest, ms)
            # Read the status only while the window answers at once, so that the read
            # never hides a wait that the pings would have measured.
            if ms < 50:
                panels = self.panel()
                if panels and panels[2] == "Search done":
                    return time.monotonic() - start, longest, pings, panels[1]
        sys.exit("the search did not end within %d s" % limit_s)

    def close(self):
        self.driver.close(self.hwnd)
        self.program.wait(60)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    parser.add_argument("--files", type=int, default=100000)
    parser.add_argument("--savers", type=int, default=2000)
    parser.add_argument("--scr", help="the Lumivane.scr to measure (default: the build's)")
    parser.add_argument("--limit", type=int, default=1200, help="seconds before the search counts as hung")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build)
    scr = os.path.abspath(args.scr) if args.scr else os.path.join(build_dir, "Lumivane.scr")
    tools = os.path.join(build_dir, "tests", "tools")
    winebed = os.path.join(ROOT, "tests", "e2e", "winebed.sh")

    subprocess.run(["bash", winebed, "setup", build_dir], check=True, stdout=subprocess.DEVNULL)
    tree = None
    try:
        os.environ["LUMIVANE_WINEBED_ENV"] = os.path.join(build_dir, "winebed", "env")
        os.environ["LUMIVANE_TOOLS_DIR"] = tools
        bed = Bed()
        tree = os.path.join(os.path.dirname(bed.work), "search-bench")
        shutil.rmtree(tree, ignore_errors=True)
        folder = os.path.join(tree, "Big")
        made = time.monotonic()
        make_folder(folder, args.files, args.savers, os.path.join(tools, "OceanWaves.scr"))
        print("folder: %d files, %d screensavers (made in %.0f s)" % (args.files, args.savers,
                                                                       time.monotonic() - made))
        subprocess.run(["bash", winebed, "map", build_dir, "s", tree], check=True, stdout=subprocess.DEVNULL)
        bed.values["LUMIVANE_DRIVE_S"] = tree
        driver = Driver(bed)
        run = Run(bed, driver, scr, bed.work)
        run.open("S:\\Big\\")
        floor = run.idle_pings(20)
        seconds, longest, pings, found = run.search(args.limit)
        run.close()
        driver.stop()
        print("search:                        %8.1f s   (%s)" % (seconds, found))
        print("longest unanswered, searching: %8.1f ms  (%d pings)" % (longest, pings))
        print("longest answer, idle (floor):  %8.1f ms" % floor)
        print("ratio unanswered / floor:      %8.1f" % (longest / max(floor, 0.01)))
    finally:
        if tree:
            shutil.rmtree(tree, ignore_errors=True)
        subprocess.run(["bash", winebed, "teardown", build_dir], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    return 0


if __name__ == "__main__":
    sys.exit(main())
