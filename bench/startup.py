#!/usr/bin/env python3
"""Start-up benchmarks of Lumivane.scr under Wine, reported as ratios to a floor.

In one run, on one Wine prefix and virtual display (tests/e2e/winebed.sh):
  floor      Floor.exe, a trivial Win32 program of ours: start to its window shown
  launch floor  LaunchFloor.exe, a trivial program of ours that starts the sample
             saver through the shell: start to the saver launched. Every row that
             waits for a started program ("launched") is reported against it, as
             it holds the second process start that Floor.exe does not
  saver      /s with a 1,000-entry list: start to the chosen sample saver launched
             (its log file appears); also start to the screen window shown
  configure  /c with 1,000 entries (500 screensavers with descriptions, copies of
             the sample saver, and 500 movies): start to the window shown with
             both lists filled
  bigcount   /s with Total=2147483647 over the same list: start to the sample
             saver launched
  empty      /s and /c with an empty list: start to the window shown, Lumivane's
             own fixed cost (libraries, COM, controls) against the floor; for /c
             also to the rows answered, which waits, as "configure" does, for
             the window to be painted and its message loop to run, and the
             about box's first showing, from the press of "About" to the box shown
  one        /s with a one-entry list: start to the sample saver launched, so
             that the cost of the other 999 entries shows
  player     /s with a 500-movie Flash list, no Flash Player control and the
             stand-in player registered for .swf files: start to the player
             launched (its log file appears)
  long lists /c with 10,000 and with 100,000 screensaver entries (hard links of
             the sample saver, each named by its description): start to the window
             shown with its first rows, and to every row filled (the rows that
             do not fit the first moment are named while the window answers);
             WM_CLOSE as soon as the first rows show, to the program ended (how
             long a user who closes it meanwhile waits); and, once every row is
             there, WM_CLOSE to the program ended, once with the list as it was
             read (nothing to write) and once with every entry moved up one key
             (the file's first entry empty, as after deleting the first row), so
             that the whole list is written; the closes against the close floor
             (WM_CLOSE to Floor.exe ended)
Each runs --runs times (after one warm-up start of each), interleaved, timed
inside Wine by StartBench.exe from CreateProcess to the condition; the table
gives each as a ratio to the floor, by median and by fastest start.

    python3 bench/startup.py [--build DIR] [--runs N] [--scr FILE]

DIR is a windows build folder (default build/windows); it is configured and built
if needed, and its Wine test bed is set up and torn down here, so do not run the
end-to-end tests in the same folder at the same time. FILE measures another
Lumivane.scr (an older version, say) with the same tools and floor.
"""

import argparse
import json
import os
import shlex
import shutil
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ENTRIES = 1000
FLOORS = ("floor", "launch floor", "close floor")
LONG_LISTS = (10000, 100000)

# A 25-byte movie whose frame rectangle is 550 x 400.
MOVIE = b"FWS\x06" + b"\0" * 4 + b"\x78\x00\x05\x5F\x00\x00\x0F\xA0\x00" + b"\0" * 8


def run(argv, **kwargs):
    return subprocess.run(argv, check=True, stdin=subprocess.DEVNULL, **kwargs)


def build(build_dir):
    toolchain = os.path.join(ROOT, "cmake", "mingw-w64-x86_64.cmake")
    if not os.path.isfile(os.path.join(build_dir, "CMakeCache.txt")):
        run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja", "-DCMAKE_TOOLCHAIN_FILE=" + toolchain,
             "-DCMAKE_BUILD_TYPE=MinSizeRel"], stdout=subprocess.DEVNULL)
    # The installer too, so that a rebuilt Lumivane.scr never leaves a stale one behind.
    run(["cmake", "--build", build_dir, "--target", "Lumivane", "OceanWaves", "StandInPlayer", "installer"],
        stdout=subprocess.DEVNULL)
    tools = os.path.join(build_dir, "bench-startup")
    run(["cmake", "-S", os.path.join(ROOT, "bench", "startup"), "-B", tools, "-G", "Ninja",
         "-DCMAKE_TOOLCHAIN_FILE=" + toolchain, "-DCMAKE_BUILD_TYPE=MinSizeRel"], stdout=subprocess.DEVNULL)
    run(["cmake", "--build", tools], stdout=subprocess.DEVNULL)
    return {
        "scr": os.path.join(build_dir, "Lumivane.scr"),
        "saver": os.path.join(build_dir, "tests", "tools", "OceanWaves.scr"),
        "floor": os.path.join(tools, "Floor.exe"),
        "launchfloor": os.path.join(tools, "LaunchFloor.exe"),
        "player": os.path.join(build_dir, "tests", "tools", "StandInPlayer.exe"),
        "startbench": os.path.join(tools, "StartBench.exe"),
        "probe": os.path.join(tools, "ProfileProbe.exe"),
    }


def load_env(path):
    values = {}
    with open(path, encoding="utf-8") as env_file:
        for line in env_file:
            if line.startswith("export "):
                for token in shlex.split(line[len("export "):]):
                    key, _, value = token.partition("=")
                    values[key] = value
    return values


def long_list_ini(paths, shifted):
    """The list as the configuration window stores it; shifted puts an empty entry first, which
    reading skips, so that the next close moves every entry up one key."""
    entries = [""] + paths if shifted else paths
    return ini_text(entries, [])


def ini_text(screen, flash, total=None, kind=0):
    lines = ["[Amount]", "Total=%d" % (len(screen) if total is None else total), "FlashTotal=%d" % len(flash),
             "[ScreenList]"]
    lines += ["File%d=%s" % (i, path) for i, path in enumerate(screen)]
    lines += ["[FlashList]"] + ["File%d=%s" % (i, path) for i, path in enumerate(flash)]
    lines += ["[RandomWhat]", "Type=%d" % kind, "[Misc]", "FlashSize=1", "Sub=1"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def lay_out(work, programs):
    """D:\\bench: the floor, the savers and movies, and one folder per Lumivane scenario."""
    root = os.path.join(work, "bench")
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    shutil.copy(programs["floor"], os.path.join(root, "Floor.exe"))
    shutil.copy(programs["launchfloor"], os.path.join(root, "LaunchFloor.exe"))
    os.makedirs(os.path.join(root, "playerbin"))
    shutil.copy(programs["player"], os.path.join(root, "playerbin", "StandInPlayer.exe"))
    shutil.copy(programs["startbench"], os.path.join(root, "StartBench.exe"))
    shutil.copy(programs["probe"], os.path.join(root, "ProfileProbe.exe"))

    # Every saver entry is a file of its own name (hard links of one sample saver),
    # so the log that a start leaves names the entry that was picked.
    savers = os.path.join(root, "savers")
    os.makedirs(savers)
    master = os.path.join(savers, "master.bin")
    shutil.copy(programs["saver"], master)
    saver_paths = []
    for i in range(ENTRIES):
        name = "S%04d.scr" % i
        os.link(master, os.path.join(savers, name))
        saver_paths.append("D:\\bench\\savers\\" + name)
    movies = os.path.join(root, "movies")
    os.makedirs(movies)
    movie_paths = []
    for i in range(ENTRIES // 2):
        name = "M%04d.swf" % i
        with open(os.path.join(movies, name), "wb") as movie:
            movie.write(MOVIE)
        movie_paths.append("D:\\bench\\movies\\" + name)

    scenarios = {
        "empty": ini_text([], []),
        "one": ini_text(saver_paths[:1], []),
        "saver": ini_text(saver_paths, []),
        "bigcount": ini_text(saver_paths, [], total=2147483647),
        "configure": ini_text(saver_paths[:ENTRIES // 2], movie_paths),
        "player": ini_text([], movie_paths, kind=1),
    }
    many = os.path.join(root, "many")
    os.makedirs(many)
    many_paths = []
    for i in range(max(LONG_LISTS)):
        if i % 50000 == 0:  # a file takes at most 65,000 links
            source = os.path.join(many, "master%d.bin" % (i // 50000))
            shutil.copy(master, source)
        name = "L%06d.scr" % i
        os.link(source, os.path.join(many, name))
        many_paths.append("D:\\bench\\many\\" + name)
    for count in LONG_LISTS:
        scenarios["long%d" % count] = long_list_ini(many_paths[:count], False)
        scenarios["shift%d" % count] = long_list_ini(many_paths[:count], True)
    for name, ini in scenarios.items():
        folder = os.path.join(root, name)
        os.makedirs(folder)
        shutil.copy(programs["scr"], os.path.join(folder, "Lumivane.scr"))
        with open(os.path.join(folder, "Lumivane.ini"), "wb") as out:
            out.write(ini)
    return root, savers, scenarios


class Bench:
    def __init__(self, env, root, savers, inis):
        self.env = env
        self.root = root
        self.savers = savers
        self.inis = inis

    def start(self, condition, command, timeout_ms=60000):
        argv = ["wine", "D:\\bench\\StartBench.exe", str(timeout_ms)] + condition + ["--"] + command
        done = subprocess.run(argv, env=self.env, cwd=self.root, stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=timeout_ms / 1000 + 60)
        answers = [json.loads(line) for line in done.stdout.decode().splitlines() if line.startswith("{")]
        if done.returncode != 0 or not answers or "ms" not in answers[0]:
            raise RuntimeError("%s: exit %d %s %s" % (" ".join(command), done.returncode, answers,
                                                      done.stderr.decode(errors="replace")[-500:]))
        return answers[0]["ms"]

    def profile_probe(self):
        """The 1,000-entry list read key by key against in one section read."""
        done = subprocess.run(["wine", "D:\\bench\\ProfileProbe.exe", "D:\\bench\\saver\\Lumivane.ini", "ScreenList",
                               str(ENTRIES), "5"], env=self.env, cwd=self.root, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=300, check=True)
        return json.loads(done.stdout.decode().strip().splitlines()[-1])

    def register_player(self):
        """The stand-in player as the program of .swf files, in this bed's prefix only."""
        command = '"D:\\bench\\playerbin\\StandInPlayer.exe" "%1"'
        for key, value in (("HKCR\\.swf", "LumivaneBench.swf"), ("HKCR\\LumivaneBench.swf\\shell\\open\\command", command)):
            run(["wine", "reg", "add", key, "/ve", "/d", value, "/f"], env=self.env, cwd=self.root, capture_output=True)

    def clear_logs(self, folder=None):
        folder = folder or self.savers
        for name in os.listdir(folder):
            if name.endswith(".log"):
                os.remove(os.path.join(folder, name))

    def player_launched(self):
        self.clear_logs(os.path.join(self.root, "playerbin"))
        return self.start(["file", "D:\\bench\\playerbin\\*.log"], ["D:\\bench\\player\\Lumivane.scr", "/s"])

    def launch_floor(self):
        self.clear_logs()
        return self.start(["file", "D:\\bench\\savers\\*.log"], ["D:\\bench\\LaunchFloor.exe",
                                                                 "D:\\bench\\savers\\S0000.scr"])

    def saver_launched(self, folder):
        self.clear_logs()
        ms = self.start(["file", "D:\\bench\\savers\\*.log"], ["D:\\bench\\%s\\Lumivane.scr" % folder, "/s"])
        logs = [n for n in os.listdir(self.savers) if n.endswith(".log")]
        if len(logs) != 1:
            raise RuntimeError("expected one started saver, found logs %s" % logs)
        return ms

    def scenarios(self):
        scenarios = {
            "floor": lambda: self.start(["window", "LumivaneBenchFloor"], ["D:\\bench\\Floor.exe"]),
            "launch floor": self.launch_floor,
            "empty list, saver: screen window shown": lambda: self.start(["window", "TfrmScreen"],
                                                                         ["D:\\bench\\empty\\Lumivane.scr", "/s"]),
            "empty list, configure: window shown": lambda: self.start(["window", "TfrmMain"],
                                                                      ["D:\\bench\\empty\\Lumivane.scr", "/c"]),
            # As "rows filled" measures it: the window shown, painted and answering.
            "empty list, configure: rows answered": lambda: self.start(
                ["rows", "TfrmMain", "101", "0", "102", "0"], ["D:\\bench\\empty\\Lumivane.scr", "/c"]),
            "one-entry list, saver: sample saver launched": lambda: self.saver_launched("one"),
            "saver: screen window shown": lambda: self.start(["window", "TfrmScreen"],
                                                             ["D:\\bench\\saver\\Lumivane.scr", "/s"]),
            "saver: sample saver launched": lambda: self.saver_launched("saver"),
            "empty list, configure: about box shown, from the press": lambda: self.start(
                ["press", "TfrmMain", "114", "TfrmAbout"], ["D:\\bench\\empty\\Lumivane.scr", "/c"]),
            "configure: rows filled": lambda: self.start(
                ["rows", "TfrmMain", "101", str(ENTRIES // 2), "102", str(ENTRIES // 2)],
                ["D:\\bench\\configure\\Lumivane.scr", "/c"]),
            "Total=2147483647: sample saver launched": lambda: self.saver_launched("bigcount"),
            "saver mode, Flash list, no control: start to the player launched": self.player_launched,
            "close floor": lambda: self.start(["close", "LumivaneBenchFloor"], ["D:\\bench\\Floor.exe"]),
        }
        for count in LONG_LISTS:
            rows = ["TfrmMain", "101", str(count)]
            scenarios.update({
                "%d entries: first rows shown" % count: self.long_list(["rows", "TfrmMain", "101", "1"],
                                                                       "long%d" % count),
                "%d entries: rows filled" % count: self.long_list(["rows"] + rows, "long%d" % count),
                "%d entries: closed while naming" % count: self.long_list(["close", "TfrmMain", "101", "1"],
                                                                         "long%d" % count),
                "%d entries: closed as read" % count: self.long_list(["close"] + rows, "long%d" % count),
                "%d entries, all moved: closed" % count: self.long_list(["close"] + rows, "shift%d" % count),
            })
        return scenarios

    def long_list(self, condition, folder):
        def measure():
            # A close that moved the entries leaves them in place for the next start.
            with open(os.path.join(self.root, folder, "Lumivane.ini"), "wb") as out:
                out.write(self.inis[folder])
            return self.start(condition, ["D:\\bench\\%s\\Lumivane.scr" % folder, "/c"], timeout_ms=300000)
        return measure


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "windows"))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--only", action="append", default=[], help="run only scenarios whose name holds this text")
    parser.add_argument("--raw", action="store_true", help="print every start's time too")
    parser.add_argument("--scr", help="measure this Lumivane.scr (another version) with the build's tools")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build)

    programs = build(build_dir)
    if args.scr:
        programs["scr"] = os.path.abspath(args.scr)
    bed = os.path.join(ROOT, "tests", "e2e", "winebed.sh")
    run(["bash", bed, "setup", build_dir], stdout=subprocess.DEVNULL)
    try:
        values = load_env(os.path.join(build_dir, "winebed", "env"))
        env = dict(os.environ)
        env.update(values)
        root, savers, inis = lay_out(values["LUMIVANE_E2E_WORK"], programs)
        bench = Bench(env, root, savers, inis)
        bench.register_player()
        scenarios = {name: measure for name, measure in bench.scenarios().items()
                     if name in FLOORS or not args.only or any(text in name for text in args.only)}
        for measure in scenarios.values():  # warm-up: file cache, Wine's first-start costs
            measure()
        times = {name: [] for name in scenarios}
        for _ in range(args.runs):
            for name, measure in scenarios.items():
                times[name].append(measure())
        probe = bench.profile_probe()
    finally:
        subprocess.run(["bash", bed, "teardown", build_dir], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)

    # On a busy machine the median moves with the load; the fastest start shows
    # the cost of the start itself, so both ratios are printed.
    print("Lumivane start-up under Wine, %d starts each, %d-entry lists unless named" % (args.runs, ENTRIES))
    print("%-66s %9s %9s %9s %8s %8s  %s" % ("", "median ms", "min ms", "max ms", "x median", "x min", "against"))
    for name, values in times.items():
        median = statistics.median(values)
        floor = "launch floor" if "launched" in name else "close floor" if "closed" in name else "floor"
        print("%-66s %9.1f %9.1f %9.1f %8.2f %8.2f  %s" % (
            name, median, min(values), max(values), median / statistics.median(times[floor]),
            min(values) / min(times[floor]), floor))
        if args.raw:
            print("    " + " ".join("%.0f" % v for v in values))
    print("Reading the %d-entry list: %d calls of GetPrivateProfileStringA %.1f ms, one GetPrivateProfileSectionA "
          "%.1f ms (%d lines)" % (ENTRIES, ENTRIES, probe["per_key_ms"], probe["section_ms"], probe["lines"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
