"""Several Lumivane processes at once under Wine: twenty saver starts at the same
moment leave exactly one screen window and one started saver, because the named
semaphore lets only the first through; a configuration window and a saver started
together both read "Lumivane.ini" whole, each in its own process."""

import time

from lumivane_e2e import LumivaneTestCase, main, split_command_line

# Control ids of the configuration window.
LS_SCREEN = 101

# A point of the black screen window that no help text covers.
FREE_X, FREE_Y = 950, 700


class TwentySaverStarts(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder(["Lumivane.scr", "OceanWaves.scr"])

    def test_leave_one_screen_window_and_one_started_saver(self):
        self.folder.write_screen_list([self.folder.dos_file("OceanWaves.scr")])
        starts = [self.start_lumivane("/s") for _ in range(20)]

        # Nineteen find the marker taken and end at once with exit code 0; one stays.
        deadline = time.monotonic() + 180
        while sum(p.running() for p in starts) > 1 and time.monotonic() < deadline:
            time.sleep(0.2)
        running = [p for p in starts if p.running()]
        self.assertEqual(len(running), 1, "%d saver processes still run" % len(running))
        self.assertEqual([p.process.returncode for p in starts if p is not running[0]], [0] * 19)

        saver = self.wait_window(cls="LumivaneSampleSaver", timeout=30)
        screens = self.driver.find(cls="TfrmScreen", all=True, timeout=10)
        self.snap("one-screen-window")
        self.assertEqual(len(screens), 1, screens)
        # Give a late second start time to show up in the log before counting.
        time.sleep(1.0)
        log = self.folder.saver_log("OceanWaves.scr")
        self.assertEqual(len(log), 1, log)
        self.assertEqual(split_command_line(log[0])[1:], ["s"])

        self.driver.close(saver["hwnd"])
        self.assertTrue(self.driver.gone(saver["hwnd"]))
        self.input.click(FREE_X, FREE_Y)
        self.assertEqual(running[0].wait(15), 0)
        self.assertEqual(self.driver.find(cls="TfrmScreen", all=True, timeout=0.5), [])


class ConfigurationAndSaverTogether(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder()

    def test_both_read_the_whole_file(self):
        savers = ["OceanWaves.scr", "Starfield.scr", "EmberGlow.scr"]
        self.folder.write_screen_list([self.folder.dos_file(name) for name in savers])
        configure = self.start_lumivane("/c")
        saver_mode = self.start_lumivane("/s")

        # The saver read the list and started one of its entries with "s".
        started = self.wait_window(cls="LumivaneSampleSaver", timeout=30)
        self.assertTrue(self.eventually(lambda: any(self.folder.saver_log(n) for n in savers), 10))
        logs = {name: self.folder.saver_log(name) for name in savers}
        self.assertEqual(sum(len(lines) for lines in logs.values()), 1, logs)
        self.assertIn(started["text"], ("Ocean Waves", "Starfield", "Ember Glow"))

        # The configuration window shows all three entries by their descriptions.
        window = self.wait_window(cls="TfrmMain", timeout=30)
        children = {c["id"]: c for c in self.driver.children(window["hwnd"])}
        rows = lambda: [r["text"] for r in self.driver.rows(children[LS_SCREEN]["hwnd"])]
        self.assertTrue(self.eventually(lambda: len(rows()) == 3, 10), rows())
        # The random lists show descriptions upper-cased.
        self.assertEqual(sorted(rows()), ["EMBER GLOW", "OCEAN WAVES", "STARFIELD"])
        self.snap("both-windows")

        self.driver.close(started["hwnd"])
        self.assertTrue(self.driver.gone(started["hwnd"]))
        screen = self.wait_window(cls="TfrmScreen")
        self.input.click(FREE_X, FREE_Y)
        self.assertEqual(saver_mode.wait(15), 0)
        self.assertTrue(self.driver.gone(screen["hwnd"]))

        # Closing the configuration window writes the three entries back.
        self.driver.close(window["hwnd"])
        self.assertEqual(configure.wait(20), 0)
        text = self.folder.read_ini().decode("cp1252")
        self.assertIn("Total=3", text.splitlines())
        for index, name in enumerate(savers):
            self.assertIn("File%d=%s" % (index, self.folder.dos_file(name)), text.splitlines())


if __name__ == "__main__":
    main()
