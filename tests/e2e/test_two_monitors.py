"""Saver mode on two monitors, in the second bed (winebed.sh setup <build> dual):
1024 x 768 at 0,0 (primary) and 800 x 600 at 1024,0. Every monitor goes black,
the help text stays on the primary, a click on the second monitor closes the
saver, and no window is left on either; with the Video list both monitors play
a video."""

import os
import subprocess

from lumivane_e2e import LumivaneTestCase, main
from test_video import ENDED, MAKE_VIDEOS, WIDE_COLOUR, near

MONITORS = [{"rect": [0, 0, 1024, 768], "primary": True}, {"rect": [1024, 0, 1824, 600], "primary": False}]
SECOND = (1400, 300)


class TwoMonitors(LumivaneTestCase):
    def test_every_monitor_black_and_a_click_on_the_second_closes(self):
        self.assertEqual(self.driver.run("monitors"), MONITORS, "Wine does not see the bed's two monitors")
        self.make_folder(["Lumivane.scr"])
        self.assertNotEqual(self.pixel(*SECOND), (0, 0, 0), "the second monitor is black before the saver starts")
        program = self.start_lumivane("/s")
        window = self.wait_window(cls="TfrmScreen", timeout=15)
        self.assertEqual(window["rect"], [0, 0, 1024, 768])
        intro = [c for c in self.driver.children(window["hwnd"]) if c["class"].lower() == "static"][0]
        self.assertEqual(intro["rect"][:2], [48, 64])
        self.assertTrue(intro["text"].startswith("If you can read this window"))
        covers = self.driver.find(cls="TfrmScreenCover", all=True)
        self.assertEqual([c["rect"] for c in covers], [MONITORS[1]["rect"]])
        self.snap("two-monitors")
        for x, y in (SECOND, (1025, 1), (1823, 599), (900, 700)):
            self.assertEqual(self.pixel(x, y), (0, 0, 0), (x, y))

        self.input.click(*SECOND)
        self.assertEqual(program.wait(10), 0)
        self.assertEqual([w for w in self.driver.windows() if w["pid"] == window["pid"]], [])

    def test_both_monitors_play_a_video_and_a_click_on_the_second_closes(self):
        self.make_folder(["Lumivane.scr"])
        subprocess.run(["bash", MAKE_VIDEOS, os.path.join(self.folder.path, "videos")], check=True,
                       capture_output=True, timeout=120)
        self.folder.write_ini("[Amount]\nVideoTotal=1\n[VideoList]\nFile0=%s\\videos\\wide.mp4\n"
                              "[RandomWhat]\nType=2\n" % self.folder.dos)
        program = self.start_lumivane("/s")
        window = self.wait_window(cls="TfrmScreen", timeout=15)
        for x, y in ((512, 384), (1424, 300)):
            self.assertTrue(self.eventually(lambda: near(self.pixel(x, y), WIDE_COLOUR), 15), (x, y))
        self.snap("two-monitors-video")
        self.input.click(*SECOND)
        self.assertIn(program.wait(10), ENDED)
        self.assertEqual([w for w in self.driver.windows() if w["pid"] == window["pid"]], [])


if __name__ == "__main__":
    main()
