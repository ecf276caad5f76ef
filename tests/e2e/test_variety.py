"""The variety options of saver mode, end to end under Wine: with NoRepeat three
runs start the three sample savers once each, and with ChangeEvery=1 a second
saver replaces the first within about a minute, and closing the saver ends the
one that runs."""

import os

from lumivane_e2e import SAMPLE_SAVERS, LumivaneTestCase, main


class Variety(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder()
        self.paths = [self.folder.dos_file(name) for name in SAMPLE_SAVERS]

    def write_list(self, options):
        self.folder.write_screen_list(self.paths)
        with open(self.folder.ini_path, "ab") as ini:
            ini.write(options.encode("ascii"))

    def starts(self):
        return {name: len(self.folder.saver_log(name)) for name in SAMPLE_SAVERS}

    def test_no_repeat_runs_every_saver_once_and_keeps_the_round_beside_the_ini(self):
        self.write_list("NoRepeat=1\r\n")
        ini_before = self.folder.read_ini()
        for run in range(3):
            program = self.start_lumivane("/s")
            saver = self.wait_window(cls="LumivaneSampleSaver", timeout=15)
            self.assertTrue(self.eventually(lambda: sum(self.starts().values()) == run + 1, 5), self.starts())
            self.driver.close(saver["hwnd"])
            self.assertTrue(self.driver.gone(saver["hwnd"]))
            window = self.wait_window(cls="TfrmScreen")
            self.driver.close(window["hwnd"])
            self.assertEqual(program.wait(10), 0)
        self.assertEqual(self.starts(), {name: 1 for name in SAMPLE_SAVERS})
        self.assertEqual(self.folder.read_ini(), ini_before, "the saver wrote Lumivane.ini")
        self.assertTrue(os.path.isfile(self.folder.file("LumivaneRound.ini")))

    def test_change_every_minute_starts_another_saver_and_closing_ends_it(self):
        self.write_list("ChangeEvery=1\r\n")
        program = self.start_lumivane("/s")
        first = self.wait_window(cls="LumivaneSampleSaver", timeout=15)
        self.assertTrue(self.eventually(lambda: sum(self.starts().values()) == 2, 75), self.starts())
        started = [name for name, count in self.starts().items() if count]
        self.assertEqual(len(started), 2, self.starts())  # another saver, not the same one again
        self.assertTrue(self.driver.gone(first["hwnd"], timeout=5))
        second = self.wait_window(cls="LumivaneSampleSaver", timeout=10)
        self.assertTrue(program.running())

        window = self.wait_window(cls="TfrmScreen")
        self.driver.close(window["hwnd"])
        self.assertEqual(program.wait(10), 0)
        self.assertTrue(self.driver.gone(second["hwnd"], timeout=5), "the started saver outlived Lumivane")


if __name__ == "__main__":
    main()
