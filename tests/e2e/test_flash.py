"""Flash playback in saver mode, with the stand-in Flash control (flashstub.dll)
registered in the bed's prefix in place of a player: the own-size layout centred
on the 1024 x 768 screen, the stretched layout below the input strip, the loop
that plays a stopped movie again, and no control at all for the screensaver list.
Without the control: the movie in the stand-in standalone player registered for
.swf files in the prefix only, and with no player either, one warning.

The stand-in appends every call it gets to a log ("<ms since boot> <call>") and
draws a yellow frame exactly where it lies, so positions are read both from the
window tree and from the screen's pixels."""

import os
import re
import shutil
import struct
import subprocess
import time

from lumivane_e2e import LumivaneTestCase, main

STUB_CLASS = "LumivaneFlashStandIn"
STUB_DLL = "C:\\lumivane-flashstub\\flashstub.dll"
FRAME_YELLOW = (255, 200, 0)
SCREEN = (1024, 768)
PLAYER_CLASS = "LumivaneStandInPlayer"
PLAYER_DIR = "lumivane-player"
PLAYER_PINK = (0xC0, 0x40, 0xC0)
NO_PLAYER_TEXT = ("No Flash player is installed on this computer, so the movies of the Flash list cannot be shown.\r\n"
                  "Install a standalone Flash player that opens .swf files, or choose the ScreenSaver list in the "
                  "Lumivane configuration.")


def movie_header(width, height):
    """A 25-byte uncompressed movie whose frame rectangle is width x height pixels."""
    n = 16
    bits = format(n, "05b") + "".join(format(v, "0%db" % n) for v in (0, width * 20, 0, height * 20))
    bits += "0" * (-len(bits) % 8)
    rect = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    movie = b"FWS\x06" + struct.pack("<I", 25) + rect
    return movie + b"\0" * (25 - len(movie))


class FlashBed(LumivaneTestCase):
    """The stand-in control in the prefix and the helpers of every Flash test."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        prefix_dll = os.path.join(cls.bed.values["LUMIVANE_DRIVE_C"], "lumivane-flashstub")
        os.makedirs(prefix_dll, exist_ok=True)
        shutil.copy(cls.bed.tool("flashstub.dll"), os.path.join(prefix_dll, "flashstub.dll"))
        cls.base_env = dict(cls.bed.env)

    @classmethod
    def tearDownClass(cls):
        cls.regsvr32("/u")
        super().tearDownClass()

    @classmethod
    def regsvr32(cls, *switches):
        done = subprocess.run(["wine", "regsvr32", "/s"] + list(switches) + [STUB_DLL], env=cls.base_env,
                              cwd=cls.bed.work, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return done.returncode

    def setUp(self):
        super().setUp()
        self.assertEqual(self.regsvr32(), 0, "regsvr32 could not register the stand-in")
        self.make_folder(["Lumivane.scr", "OceanWaves.scr"])
        self.stub_log = self.folder.file("stub.log")
        self.use_stub(stop_ms=None)

    def tearDown(self):
        super().tearDown()
        self.bed.env = dict(self.base_env)

    def use_stub(self, stop_ms):
        env = dict(self.base_env)
        env["LUMIVANE_STUB_LOG"] = self.folder.dos_file("stub.log")
        if stop_ms is not None:
            env["LUMIVANE_STUB_STOP_MS"] = str(stop_ms)
        self.bed.env = env

    def stub_calls(self):
        """(milliseconds, call) pairs the stand-in logged so far."""
        try:
            with open(self.stub_log, "rb") as log:
                lines = log.read().decode("cp1252").splitlines()
        except FileNotFoundError:
            return []
        calls = []
        for line in lines:
            stamp, _, call = line.partition(" ")
            calls.append((int(stamp), call))
        return calls

    def call_names(self):
        return [call for _, call in self.stub_calls()]

    def write_flash_list(self, movie, flash_size):
        with open(self.folder.file("clip.swf"), "wb") as swf:
            swf.write(movie)
        self.folder.write_ini("\n".join([
            "[Amount]", "Total=0", "FlashTotal=1",
            "[FlashList]", "File0=" + self.folder.dos_file("clip.swf"),
            "[RandomWhat]", "Type=1",
            "[Misc]", "FlashSize=%d" % (1 if flash_size else 0),
        ]) + "\n")

    def screen_pixels(self):
        """The display as raw RGB bytes, row by row."""
        done = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.bed.env, timeout=20,
                              stdin=subprocess.DEVNULL, capture_output=True)
        self.assertEqual(len(done.stdout), SCREEN[0] * SCREEN[1] * 3, "screenshot failed")
        return done.stdout

    @staticmethod
    def pixel(pixels, x, y):
        i = (y * SCREEN[0] + x) * 3
        return tuple(pixels[i:i + 3])

    def start_saver(self):
        program = self.start_lumivane("/s")
        window = self.wait_window(cls="TfrmScreen", timeout=15)
        return program, window

    def stand_in(self, window):
        """The stand-in's window and its parent panel, as the driver reads them."""
        children = self.driver.children(window["hwnd"])
        stubs = [c for c in children if c["class"] == STUB_CLASS]
        self.assertEqual(len(stubs), 1, "expected one Flash control in the screen window: %s" % children)
        panel = [c for c in children if c["hwnd"] == stubs[0]["parent"]]
        self.assertEqual(len(panel), 1, "the Flash control has no panel")
        return stubs[0], panel[0]

    def close_by_click(self, program):
        # The input strip along the top edge always takes the click that closes the window.
        self.input.click(SCREEN[0] // 2, 10)
        self.assertEqual(program.wait(15), 0)


class FlashPlayback(FlashBed):
    def test_own_size_layout_centres_the_movie(self):
        self.write_flash_list(movie_header(550, 400), flash_size=True)
        program, window = self.start_saver()
        stub, panel = self.stand_in(window)
        # 1024 / 2 - 550 / 2 = 237, 768 / 2 - 400 / 2 = 184.
        self.assertEqual(panel["rect"], [237, 184, 787, 584])
        self.assertEqual(stub["rect"], [237, 184, 787, 584])
        self.assertTrue(stub["visible"] and panel["visible"])

        self.assertTrue(self.eventually(lambda: "Loop=-1" in self.call_names(), 5))
        calls = self.call_names()
        movie = "Movie=" + self.folder.dos_file("clip.swf")
        self.assertIn(movie, calls)
        for call in ("SetObjectRects(0,0,550,400)", "Zoom(0)", "Play"):
            self.assertIn(call, calls)
        self.assertNotIn("ScaleMode=0", calls)
        # The movie is set before it is sized and played; looping is set up last.
        self.assertLess(calls.index(movie), calls.index("Zoom(0)"))
        self.assertLess(calls.index("Zoom(0)"), calls.index("Play"))
        self.assertLess(calls.index("Play"), calls.index("Loop=-1"))

        time.sleep(0.5)
        self.snap("own-size")
        pixels = self.screen_pixels()
        # The stand-in's frame starts exactly at the panel's corner; outside it the window is black.
        self.assertEqual(self.pixel(pixels, 237, 184), FRAME_YELLOW)
        self.assertEqual(self.pixel(pixels, 786, 583), FRAME_YELLOW)
        self.assertEqual(self.pixel(pixels, 236, 184), (0, 0, 0))
        self.assertEqual(self.pixel(pixels, 787, 583), (0, 0, 0))
        self.assertEqual(self.pixel(pixels, 237, 585), (0, 0, 0))
        self.close_by_click(program)

    def test_stretched_layout_fills_the_window_below_the_strip(self):
        self.write_flash_list(movie_header(550, 400), flash_size=False)
        program, window = self.start_saver()
        stub, panel = self.stand_in(window)
        self.assertEqual(panel["rect"], [0, 33, 1024, 768])
        self.assertEqual(stub["rect"], [0, 33, 1024, 768])
        self.assertTrue(self.eventually(lambda: "Loop=-1" in self.call_names(), 5))
        calls = self.call_names()
        self.assertIn("ScaleMode=0", calls)
        self.assertIn("SetObjectRects(0,0,1024,735)", calls)
        self.assertNotIn("Zoom(0)", calls)
        self.assertLess(calls.index("ScaleMode=0"), calls.index("Play"))

        time.sleep(0.5)
        self.snap("stretched")
        pixels = self.screen_pixels()
        self.assertEqual(self.pixel(pixels, 0, 33), FRAME_YELLOW)
        self.assertEqual(self.pixel(pixels, 1023, 767), FRAME_YELLOW)
        self.assertEqual(self.pixel(pixels, 512, 32), (0, 0, 0))
        self.close_by_click(program)

    def test_movie_larger_than_the_screen_overhangs_every_edge(self):
        self.write_flash_list(movie_header(1200, 900), flash_size=True)
        program, window = self.start_saver()
        stub, panel = self.stand_in(window)
        # 512 - 600 = -88 and 384 - 450 = -66: equal overhangs left and right, top and bottom.
        self.assertEqual(panel["rect"], [-88, -66, 1112, 834])
        self.assertEqual(stub["rect"], [-88, -66, 1112, 834])
        self.assertTrue(self.eventually(lambda: "SetObjectRects(0,0,1200,900)" in self.call_names(), 5))
        self.assertTrue(program.running())

    def test_compressed_movie_takes_its_size_from_compressed_bytes(self):
        # "CWS": offset 8 holds zlib data, read as a rectangle all the same. With the
        # bytes 78 9C 0E 00 31 the fields are n = 15, Xmax = 0x7001 = 28673 twips
        # (1433 pixels) and Ymax = 0: a control 1433 wide and 0 high, centred at
        # 512 - 716.5 = -204.5, which rounds to the even -204.
        movie = b"CWS\x0a\x00\x10\x00\x00" + bytes([0x78, 0x9C, 0x0E, 0x00, 0x31]) + b"\0" * 27
        self.write_flash_list(movie, flash_size=True)
        program, window = self.start_saver()
        stub, panel = self.stand_in(window)
        self.assertEqual(panel["rect"], [-204, 384, 1229, 384])
        self.assertEqual(stub["rect"], [-204, 384, 1229, 384])
        # Nothing of it shows, but it was told to play and plays.
        self.assertTrue(self.eventually(lambda: "Playing?=true" in self.call_names(), 5))
        self.assertIn("SetObjectRects(0,0,1433,0)", self.call_names())
        self.close_by_click(program)

    def test_unreadable_header_shows_the_error_and_the_one_second_timer_plays_the_movie(self):
        stop_ms = 300
        self.use_stub(stop_ms)
        self.write_flash_list(movie_header(550, 400)[:24], flash_size=True)
        program = self.start_lumivane("/s")
        box = self.driver.msgbox(timeout=15)
        self.assertIsNotNone(box, "no error box")
        self.assertEqual(box["text"], "Stream read error.")
        self.driver.press(box["hwnd"], "OK")
        window = self.wait_window(cls="TfrmScreen", timeout=10)
        stub, _ = self.stand_in(window)
        # The control keeps its laid-out place: 64, 32 inside the panel at 624, 248.
        self.assertEqual(stub["rect"], [688, 280, 880, 472])

        def plays():
            return [stamp for stamp, call in self.stub_calls() if call == "Play"]

        self.assertTrue(self.eventually(lambda: len(plays()) >= 3, 10), "the timer did not play the movie: %s"
                        % self.call_names())
        calls = self.call_names()
        self.assertIn("Movie=" + self.folder.dos_file("clip.swf"), calls)
        # The rest of the start was skipped: no sizing, no looping; the timer stays at 1000 ms.
        self.assertNotIn("Zoom(0)", calls)
        self.assertNotIn("Loop=-1", calls)
        first, second, third = plays()[:3]
        for earlier, later in ((first, second), (second, third)):
            self.assertLessEqual(later - earlier, 1000 + stop_ms + 250, "plays %d ms apart" % (later - earlier))
        self.close_by_click(program)

    def test_stopped_movie_plays_again_within_2000_ms(self):
        stop_ms = 1200
        self.use_stub(stop_ms)
        self.write_flash_list(movie_header(320, 240), flash_size=True)
        program, _ = self.start_saver()

        def plays():
            return [stamp for stamp, call in self.stub_calls() if call == "Play"]

        self.assertTrue(self.eventually(lambda: len(plays()) >= 3, 12), "Play was not called again: %s"
                        % self.call_names())
        first, second, third = plays()[:3]
        # Each restart comes at the first 2000 ms tick after the movie stopped, not before it.
        for earlier, later in ((first, second), (second, third)):
            stopped_at = earlier + stop_ms
            self.assertGreaterEqual(later, stopped_at)
            self.assertLessEqual(later - stopped_at, 2000 + 250, "restart %d ms after the stop" % (later - stopped_at))
        calls = self.call_names()
        restart = calls.index("Play", calls.index("Play") + 1)
        self.assertEqual(calls[restart - 1], "Playing?=false")
        self.close_by_click(program)

    def test_without_control_or_player_one_warning_then_a_black_window_a_key_closes(self):
        self.assertEqual(self.regsvr32("/u"), 0)
        self.write_flash_list(movie_header(550, 400), flash_size=True)
        program = self.start_lumivane("/s")
        box = self.driver.msgbox(timeout=15)
        self.assertIsNotNone(box, "no warning")
        self.snap("no-player")
        self.assertEqual((box["caption"], box["text"], box["count"]), ("Warning", NO_PLAYER_TEXT, 1))
        self.driver.press(box["hwnd"], "OK")

        window = self.wait_window(cls="TfrmScreen", timeout=10)
        self.assertIsNone(self.driver.msgbox(timeout=0.5), "a second box")
        self.assertFalse([c for c in self.driver.children(window["hwnd"]) if c["visible"] and c["class"] != "TPanel"
                          and c["class"].lower() != "static"])
        pixels = self.screen_pixels()
        for x, y in ((512, 384), (300, 600), (900, 100), (700, 300)):
            self.assertEqual(self.pixel(pixels, x, y), (0, 0, 0))
        self.input.key("a")
        self.assertEqual(program.wait(10), 0)

    def test_screensaver_list_creates_no_control(self):
        self.folder.write_screen_list([self.folder.dos_file("OceanWaves.scr")])
        program, window = self.start_saver()
        self.wait_window(cls="LumivaneSampleSaver", timeout=15)
        # Several loop timer ticks go by without the control being made.
        self.assert_stays(program, 2.5)
        self.assertEqual(self.stub_calls(), [])
        children = self.driver.children(window["hwnd"])
        self.assertFalse([c for c in children if c["class"] == STUB_CLASS])


class StandalonePlayer(FlashBed):
    """No control registered; the stand-in player is the program of .swf files."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.regsvr32("/u")
        folder = os.path.join(cls.bed.values["LUMIVANE_DRIVE_C"], PLAYER_DIR)
        os.makedirs(folder, exist_ok=True)
        shutil.copy(cls.bed.tool("StandInPlayer.exe"), os.path.join(folder, "StandInPlayer.exe"))
        cls.player_log = os.path.join(folder, "StandInPlayer.log")
        command = '"C:\\%s\\StandInPlayer.exe" "%%1"' % PLAYER_DIR
        for key, value in (("HKCR\\.swf", "LumivaneTest.swf"), ("HKCR\\LumivaneTest.swf\\shell\\open\\command", command)):
            subprocess.run(["wine", "reg", "add", key, "/ve", "/d", value, "/f"], env=cls.base_env, cwd=cls.bed.work,
                           stdin=subprocess.DEVNULL, capture_output=True, timeout=60, check=True)

    @classmethod
    def tearDownClass(cls):
        for key in ("HKCR\\.swf", "HKCR\\LumivaneTest.swf"):
            subprocess.run(["wine", "reg", "delete", key, "/f"], env=cls.base_env, cwd=cls.bed.work,
                           stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        super().tearDownClass()

    def setUp(self):
        LumivaneTestCase.setUp(self)
        self.make_folder(["Lumivane.scr"])
        self.bed.env = dict(self.base_env)
        if os.path.exists(self.player_log):
            os.remove(self.player_log)

    def player_processes(self):
        """Linux pids of stand-in players of this bed's prefix."""
        prefix = ("WINEPREFIX=" + self.bed.values["WINEPREFIX"]).encode()
        pids = []
        for entry in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    cmdline = f.read()
                with open("/proc/%s/environ" % entry, "rb") as f:
                    environ = f.read().split(b"\0")
            except OSError:
                continue
            if b"StandInPlayer.exe" in cmdline and prefix in environ:
                pids.append(int(entry))
        return pids

    def started(self):
        try:
            with open(self.player_log, "rb") as log:
                return [line for line in log.read().decode("utf-8").split("\r\n") if line]
        except FileNotFoundError:
            return []

    def test_player_shows_the_movie_where_the_control_would_and_ends_with_the_saver(self):
        movie = None
        # Own size: centred, 1024 / 2 - 550 / 2 = 237; full screen: under the 33-pixel strip.
        for flash_size, client, close in ((True, [237, 184, 787, 584], "key"), (False, [0, 33, 1024, 768], "click")):
            with self.subTest(flash_size=flash_size):
                self.write_flash_list(movie_header(550, 400), flash_size)
                movie = self.folder.dos_file("clip.swf")
                program = self.start_lumivane("/s")
                player = self.wait_window(cls=PLAYER_CLASS, timeout=15)
                self.assertTrue(self.eventually(lambda: self.driver.rect(player["hwnd"])["client"] == client, 5),
                                self.driver.rect(player["hwnd"]))
                self.assertEqual(self.driver.rect(player["hwnd"])["rect"], client, "the player keeps a border")
                self.assertIsNone(self.driver.msgbox(timeout=0))
                self.assertEqual([re.findall(r'"([^"]*)"', line) for line in self.started()],
                                 [["C:\\%s\\StandInPlayer.exe" % PLAYER_DIR, movie]])
                time.sleep(0.3)
                self.snap("player-%s" % ("own-size" if flash_size else "full-screen"))
                pixels = self.screen_pixels()
                left, top, right, bottom = client
                for x, y in ((left, top), (right - 1, bottom - 1), ((left + right) // 2, (top + bottom) // 2)):
                    self.assertEqual(self.pixel(pixels, x, y), PLAYER_PINK, (x, y))
                for x, y in ((left - 1, top), (left, top - 1), (right, bottom - 1)):
                    if 0 <= x < SCREEN[0] and 0 <= y < SCREEN[1]:
                        self.assertEqual(self.pixel(pixels, x, y), (0, 0, 0), (x, y))
                self.assertTrue(self.player_processes())

                began = time.monotonic()
                if close == "key":
                    # The player has the focus: the key goes to it, and the hook passes it on.
                    self.assertEqual(self.driver.run("foreground")[0]["hwnd"], player["hwnd"])
                    self.input.key("a")
                else:
                    self.input.click((left + right) // 2, (top + bottom) // 2)
                self.assertEqual(program.wait(10), 0)
                self.assertTrue(self.eventually(lambda: not self.player_processes(), 5), "a player was left running")
                elapsed = time.monotonic() - began
                print("closed by a %s in %.2f s" % (close, elapsed))
                self.assertLess(elapsed, 5)
                self.assertTrue(self.driver.gone(player["hwnd"]))
                os.remove(self.player_log)

    def test_player_that_ends_by_itself_is_started_again(self):
        self.bed.env["LUMIVANE_PLAYER_EXIT_MS"] = "1000"
        self.write_flash_list(movie_header(320, 240), flash_size=True)
        program = self.start_lumivane("/s")
        self.assertTrue(self.eventually(lambda: len(self.started()) >= 3, 15), self.started())
        self.assertEqual({re.findall(r'"([^"]*)"', line)[1] for line in self.started()},
                         {self.folder.dos_file("clip.swf")})
        self.close_by_click(program)
        self.assertTrue(self.eventually(lambda: not self.player_processes(), 5))

    def test_change_every_a_key_while_the_next_movie_starts_closes_everything_within_a_second(self):
        # A player that takes a second to close: the change waits for it while our
        # input hooks are in place, and the key comes during that wait.
        self.bed.env["LUMIVANE_PLAYER_CLOSE_MS"] = "1000"
        movies = []
        for name in ("clip.swf", "other.swf"):
            with open(self.folder.file(name), "wb") as swf:
                swf.write(movie_header(320, 240))
            movies.append(self.folder.dos_file(name))
        self.folder.write_ini("\n".join([
            "[Amount]", "Total=0", "FlashTotal=2",
            "[FlashList]", "File0=" + movies[0], "File1=" + movies[1],
            "[RandomWhat]", "Type=1", "[Misc]", "ChangeEvery=1",
        ]) + "\n")
        program = self.start_lumivane("/s")
        self.wait_window(cls=PLAYER_CLASS, timeout=15)
        self.assertTrue(self.eventually(lambda: "close" in self.started(), 75), self.started())

        began = time.monotonic()
        self.input.key("a")
        self.assertEqual(program.wait(15), 0)
        self.assertTrue(self.eventually(lambda: not self.player_processes(), 10), "a player was left running")
        elapsed = time.monotonic() - began
        print("closed %.2f s after the key" % elapsed)
        self.assertLess(elapsed, 1.0)
        # The user came back: the next movie was not started.
        self.assertEqual(len([line for line in self.started() if line != "close"]), 1, self.started())


if __name__ == "__main__":
    main()
