"""Harness of Lumivane's end-to-end tests: the real Lumivane.scr under Wine.

Each test gets a folder on drive D: of the bed (see winebed.sh) holding a copy of
Lumivane.scr, the sample savers and, when the test writes one, its own
"Lumivane.ini". The program is started there under Wine and watched from outside:
windows through lvdriver.exe (FindWindow, child controls, message boxes), real
input through xdotool, screenshots with ImageMagick kept in the build folder.
Every step has a hard timeout, so a hung program fails its test instead of the run.

CTest passes LUMIVANE_WINEBED_ENV (the bed's env file), LUMIVANE_SCR (the built
Lumivane.scr) and LUMIVANE_TOOLS_DIR (the helper programs).
Standard library only.
"""

import atexit
import json
import os
import re
import select
import shlex
import shutil
import subprocess
import time
import unittest

SAMPLE_SAVERS = {
    "OceanWaves.scr": "Ocean Waves",
    "Starfield.scr": "Starfield",
    "EmberGlow.scr": "Ember Glow",
}

# A language-neutral sample saver, as Windows ships its own: its description lives
# only in its language file.
LANGUAGE_NEUTRAL_SAVER = "AuroraDrift.scr"
LANGUAGE_FILE = "en-US\\AuroraDrift.scr.mui"

# Window classes a test may leave behind; cleanup ends their processes.
KNOWN_CLASSES = ("TfrmScreen", "TfrmMain", "TfrmAbout", "LumivaneTaskbar", "#32770", "LumivaneSampleSaver",
                 "LumivaneDriverFixture", "LumivaneStandInPlayer")


def _load_env_file(path):
    values = {}
    with open(path, encoding="utf-8") as env_file:
        for line in env_file:
            line = line.strip()
            if not line.startswith("export "):
                continue
            for token in shlex.split(line[len("export "):]):
                key, _, value = token.partition("=")
                values[key] = value
    return values


class Bed:
    """The prepared Wine prefix and display, as winebed.sh setup left them."""

    def __init__(self):
        env_path = os.environ.get("LUMIVANE_WINEBED_ENV", "")
        if not env_path or not os.path.isfile(env_path):
            raise RuntimeError("no Wine test bed: LUMIVANE_WINEBED_ENV=%r (run winebed.sh setup)" % env_path)
        self.values = _load_env_file(env_path)
        self.env = dict(os.environ)
        self.env.update(self.values)
        self.work = self.values["LUMIVANE_E2E_WORK"]
        self.artifacts = self.values["LUMIVANE_ARTIFACTS"]
        self.tools = os.environ.get("LUMIVANE_TOOLS_DIR", "")
        self.scr = os.environ.get("LUMIVANE_SCR", "")

    def tool(self, name):
        path = os.path.join(self.tools, name)
        if not os.path.isfile(path):
            raise RuntimeError("helper program missing: %s" % path)
        return path

    def map_drive(self, letter, unix_folder):
        """Makes a folder drive <letter>: for the programs started after this call. Wine reads the
        prefix's dosdevices afresh, so no restart is needed; unmap_drive undoes it."""
        letter = letter.upper()
        if letter in "CD" or not re.fullmatch(r"[A-Y]", letter):
            raise ValueError("drive %s: is not free for a test" % letter)
        os.makedirs(unix_folder, exist_ok=True)
        link = os.path.join(self.values["WINEPREFIX"], "dosdevices", letter.lower() + ":")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(os.path.abspath(unix_folder), link)
        self.values["LUMIVANE_DRIVE_" + letter] = os.path.abspath(unix_folder)

    def unmap_drive(self, letter):
        letter = letter.upper()
        if letter in "CD":
            raise ValueError("drive %s: belongs to the bed" % letter)
        link = os.path.join(self.values["WINEPREFIX"], "dosdevices", letter.lower() + ":")
        if os.path.lexists(link):
            os.remove(link)
        self.values.pop("LUMIVANE_DRIVE_" + letter, None)

    def dos_path(self, unix_path):
        """The path under the bed's drive letters; D: is the work folder."""
        for letter in "DEFGHIJKLMNOPQRSTUVWXY":
            root = self.values.get("LUMIVANE_DRIVE_" + letter)
            if root and (unix_path == root or unix_path.startswith(root + os.sep)):
                rest = unix_path[len(root):].strip(os.sep)
                return letter + ":\\" + rest.replace(os.sep, "\\")
        raise ValueError("%s lies on no drive of the bed" % unix_path)


class Program:
    """One Windows program started under Wine; its output goes to files."""

    def __init__(self, bed, argv, cwd, log_stem, env=None):
        self.argv = argv
        self.stdout_path = log_stem + ".out"
        self.stderr_path = log_stem + ".err"
        # Files, not pipes: Wine's helper processes may keep a pipe open long after
        # the program itself has ended.
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen(["wine"] + argv, cwd=cwd, env=dict(bed.env, **(env or {})),
                                            stdin=subprocess.DEVNULL,
                                            stdout=out, stderr=err)

    def wait(self, timeout):
        """Exit code; a program still running after timeout seconds is killed and fails the step."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError("%s did not end within %s s" % (" ".join(self.argv), timeout))

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass


class DriverError(AssertionError):
    pass


class Driver:
    """lvdriver.exe: each call answers with one JSON object per line.

    The calls go to one "lvdriver serve" process kept for the test file: starting a
    Wine process costs a fifth of a second or more on a busy machine, and a test
    looks at its windows dozens of times."""

    def __init__(self, bed):
        self.bed = bed
        self.exe = bed.tool("lvdriver.exe")
        self.server = None
        self.pending = b""
        atexit.register(self.stop)

    def run(self, *args, timeout_ms=None, check=True):
        argv = [str(a) for a in args]
        if timeout_ms is not None:
            argv += ["--timeout", str(timeout_ms)]
        else:
            timeout_ms = 0
        limit = timeout_ms / 1000 + 20
        if any(c in a for a in argv for c in "\t\r\n"):
            returncode, out = self._run_once(argv, limit)
        else:
            returncode, out = self._ask(argv, limit)
        lines = [json.loads(line) for line in out if line.startswith("{")]
        if check and returncode != 0:
            raise DriverError("lvdriver %s: exit %d %s" % (" ".join(argv), returncode, lines))
        return lines if returncode == 0 else None

    def _run_once(self, argv, limit):
        try:
            done = subprocess.run(["wine", self.exe] + argv, env=self.bed.env, cwd=self.bed.work,
                                  stdin=subprocess.DEVNULL, capture_output=True, timeout=limit)
        except subprocess.TimeoutExpired:
            raise DriverError("lvdriver %s hung" % " ".join(argv))
        return done.returncode, done.stdout.decode("utf-8").splitlines()

    def _ask(self, argv, limit):
        if self.server is None or self.server.poll() is not None:
            self.server = subprocess.Popen(["wine", self.exe, "serve"], env=self.bed.env, cwd=self.bed.work,
                                           stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                           stderr=subprocess.DEVNULL, bufsize=0)
            self.pending = b""
        try:
            self.server.stdin.write(("\t".join(argv) + "\n").encode("utf-8"))
            self.server.stdin.flush()
        except OSError:
            self.stop()
            raise DriverError("lvdriver serve ended before %s" % " ".join(argv))
        deadline = time.monotonic() + limit
        out = []
        while True:
            line = self._read_line(deadline)
            if line is None:
                self.stop()
                raise DriverError("lvdriver %s hung or ended" % " ".join(argv))
            if line.startswith('{"done": '):
                return int(json.loads(line)["done"]), out
            out.append(line)

    def _read_line(self, deadline):
        fd = self.server.stdout.fileno()
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                return None
            chunk = os.read(fd, 65536)
            if not chunk:
                return None
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode("utf-8").rstrip("\r")

    def stop(self):
        if self.server is None:
            return
        server, self.server = self.server, None
        try:
            server.stdin.close()
            server.wait(timeout=5)
        except (OSError, subprocess.TimeoutExpired):
            server.kill()
            server.wait(timeout=5)

    def find(self, cls=None, caption=None, pid=None, timeout=5.0, all=False):
        """The first (or every) visible top-level window that matches, waiting up to timeout seconds;
        None when there is none."""
        args = ["find"]
        if cls is not None:
            args += ["--class", cls]
        if caption is not None:
            args += ["--caption", caption]
        if pid is not None:
            args += ["--pid", pid]
        if all:
            args.append("--all")
        found = self.run(*args, timeout_ms=int(timeout * 1000), check=False)
        if found is None:
            return [] if all else None
        return found if all else found[0]

    def windows(self):
        return self.run("windows")

    def gone(self, hwnd, timeout=5.0):
        return self.run("gone", hwnd, timeout_ms=int(timeout * 1000), check=False) is not None

    def children(self, hwnd):
        return self.run("children", hwnd)

    def text(self, hwnd):
        return self.run("text", hwnd)[0]["text"]

    def rect(self, hwnd):
        return self.run("rect", hwnd)[0]

    def rows(self, hwnd):
        return self.run("rows", hwnd)

    def msgbox(self, caption=None, timeout=5.0):
        args = ["msgbox"]
        if caption is not None:
            args += ["--caption", caption]
        found = self.run(*args, timeout_ms=int(timeout * 1000), check=False)
        return found[0] if found else None

    def press(self, hwnd, caption):
        return self.run("press", hwnd, caption)[0]

    def close(self, hwnd):
        self.run("close", hwnd, check=False)

    def kill(self, pid):
        self.run("kill", pid, check=False)


class Input:
    """Real input at screen coordinates, as a user would give it."""

    def __init__(self, bed):
        self.bed = bed

    def _xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.bed.env, check=True, timeout=10,
                       stdin=subprocess.DEVNULL, capture_output=True)

    def move(self, x, y, settle=0.05):
        self._xdotool("mousemove", x, y)
        # Wine folds motion events that queue up unread into one mouse move.
        time.sleep(settle)

    def click(self, x, y, button=1):
        self._xdotool("mousemove", x, y)
        time.sleep(0.05)
        self._xdotool("click", button)

    def key(self, name):
        self._xdotool("key", name)

    def pointer(self):
        out = subprocess.run(["xdotool", "getmouselocation", "--shell"], env=self.bed.env, check=True, timeout=10,
                             capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"])


class TestFolder:
    """D:\\<name>: a copy of Lumivane.scr and the sample savers, and the test's own Lumivane.ini.
    A program named with its folder (LANGUAGE_FILE) lands in that folder."""

    def __init__(self, bed, name, programs=None):
        self.bed = bed
        self.path = os.path.join(bed.work, name)
        shutil.rmtree(self.path, ignore_errors=True)
        os.makedirs(self.path)
        for program in programs if programs is not None else ["Lumivane.scr"] + list(SAMPLE_SAVERS):
            if program == "Lumivane.scr":
                if not os.path.isfile(bed.scr):
                    raise RuntimeError("Lumivane.scr is not built: LUMIVANE_SCR=%r" % bed.scr)
                shutil.copy(bed.scr, self.file(program))
            else:
                target = self.file(program.replace("\\", os.sep))
                os.makedirs(os.path.dirname(target), exist_ok=True)
                shutil.copy(bed.tool(program.replace("\\", os.sep)), target)
        self.dos = bed.dos_path(self.path)

    def file(self, name):
        return os.path.join(self.path, name)

    def dos_file(self, name):
        return self.dos + "\\" + name

    @property
    def ini_path(self):
        return self.file("Lumivane.ini")

    def write_ini(self, text):
        """Writes Lumivane.ini with CR LF line ends, as Windows tools leave it."""
        data = text if isinstance(text, bytes) else text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252")
        with open(self.ini_path, "wb") as ini:
            ini.write(data)

    def write_screen_list(self, entries, list_kind=0):
        lines = ["[Amount]", "Total=%d" % len(entries), "FlashTotal=0", "[ScreenList]"]
        lines += ["File%d=%s" % (i, entry) for i, entry in enumerate(entries)]
        lines += ["[RandomWhat]", "Type=%d" % list_kind, "[Misc]", "FlashSize=1"]
        self.write_ini("\n".join(lines) + "\n")

    def read_ini(self):
        """Lumivane.ini as bytes, or None when there is none."""
        try:
            with open(self.ini_path, "rb") as ini:
                return ini.read()
        except FileNotFoundError:
            return None

    def saver_log(self, saver):
        """The command lines a sample saver logged (in UTF-8), one per start."""
        stem = os.path.splitext(saver)[0]
        try:
            with open(self.file(stem + ".log"), "rb") as log:
                return [line for line in log.read().decode("utf-8").split("\r\n") if line]
        except FileNotFoundError:
            return []


def split_command_line(line):
    """Arguments of a logged command line by the Windows quoting rule (enough for our paths)."""
    return [a.replace('"', "") for a in re.findall(r'(?:"[^"]*"|[^\s"])+', line)]


class LumivaneTestCase(unittest.TestCase):
    """A test with its own folder, its started programs, screenshots and cleanup."""

    bed = None
    driver = None
    input = None
    _clean = False

    @classmethod
    def setUpClass(cls):
        cls.bed = Bed()
        cls.driver = Driver(cls.bed)
        cls.input = Input(cls.bed)

    def setUp(self):
        self.name = self.id().split(".")[-1]
        self.artifacts = os.path.join(self.bed.artifacts, type(self).__name__, self.name)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        self.problems_before = self._problems()
        self.programs = []
        self.shots = 0
        self.folder = None
        # Each test cleans up after itself, also when a subclass's setUp fails (a
        # cleanup runs where tearDown would not); only when that did not finish does
        # the next test look for what was left.
        if not LumivaneTestCase._clean:
            self.leave_no_windows()
        LumivaneTestCase._clean = False
        self.addCleanup(self._finish)

    def _finish(self):
        # The screen as the failure left it; a passing test keeps only its own shots.
        problems = self._problems()
        if problems is None or problems != self.problems_before:
            self.snap("failed")
        for program in self.programs:
            program.kill()
        self.leave_no_windows()
        LumivaneTestCase._clean = True

    def _problems(self):
        """Failures and errors so far, or None where unittest does not tell."""
        result = getattr(getattr(self, "_outcome", None), "result", None)
        try:
            return len(result.failures) + len(result.errors)
        except AttributeError:
            return None

    def leave_no_windows(self):
        """Ends every process that shows one of our windows, so the next test starts clean
        (a saver left running would hold the single-instance marker)."""
        for _ in range(3):
            pids = {w["pid"] for w in self.driver.windows() if w["class"] in KNOWN_CLASSES}
            if not pids:
                return
            for pid in pids:
                self.driver.kill(pid)
            time.sleep(0.2)

    def make_folder(self, programs=None):
        """The test's folder; by default with Lumivane.scr and the sample savers."""
        self.folder = TestFolder(self.bed, type(self).__name__ + "_" + self.name, programs)
        return self.folder

    def start(self, program, *args, folder=None, dos_path=None, env=None):
        """Starts a program of the test folder (D:\\...) with the given arguments; dos_path names it
        by another path (a mapped drive, for instance); env adds to the bed's environment."""
        folder = folder or self.folder
        stem = os.path.join(self.artifacts, "%s-%d" % (os.path.basename(program), len(self.programs)))
        started = Program(self.bed, [dos_path or folder.dos_file(program)] + list(args), folder.path, stem, env)
        self.programs.append(started)
        return started

    def start_lumivane(self, *args, env=None):
        return self.start("Lumivane.scr", *args, env=env)

    def snap(self, label, rect=None):
        """A screenshot of the whole display, or of rect (left, top, right, bottom in screen
        coordinates, as the driver reports a window), kept with the test's artifacts."""
        self.shots += 1
        path = os.path.join(self.artifacts, "%02d-%s.png" % (self.shots, label))
        crop = []
        if rect is not None:
            crop = ["-crop", "%dx%d+%d+%d" % (rect[2] - rect[0], rect[3] - rect[1], rect[0], rect[1]), "+repage"]
        try:
            subprocess.run(["import", "-window", "root"] + crop + [path], env=self.bed.env, timeout=20,
                           stdin=subprocess.DEVNULL, capture_output=True)
        except subprocess.TimeoutExpired:
            pass
        return path

    def pixel(self, x, y):
        """The colour (r, g, b) of one pixel of the display."""
        done = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "rgb:-"],
                              env=self.bed.env, timeout=20, stdin=subprocess.DEVNULL, capture_output=True)
        return tuple(done.stdout[:3])

    def wait_window(self, cls=None, caption=None, pid=None, timeout=10.0):
        window = self.driver.find(cls=cls, caption=caption, pid=pid, timeout=timeout)
        if window is None:
            self.snap("missing-window")
            self.fail("no window class=%r caption=%r within %s s" % (cls, caption, timeout))
        return window

    def eventually(self, condition, seconds=3.0):
        """Whether condition() turns true within the given time."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if condition():
                return True
            time.sleep(0.05)
        return condition()

    def assert_stays(self, program, seconds):
        """The program is still running after the given time."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.assertTrue(program.running(), "%s ended early" % program.argv[0])
            time.sleep(0.05)


def main():
    unittest.main(verbosity=2)
