"""Saver mode and the other start-up paths of Lumivane.scr, end to end under Wine:
the password message, a preview handle that is no number, the start of a listed
screensaver, the help text of an empty list, the warning for a list of missing
files, the single-instance rule, and the input that closes the screen window."""

import shutil
import time

from lumivane_e2e import SAMPLE_SAVERS, LumivaneTestCase, main, split_command_line

HELP_TEXT = "\r\n".join([
    "If you can read this window, it is becuase you do not config Lumivane Standard correctly.",
    "",
    "How to add SCREENSAVER to random list:",
    'Select a folder or a disk to search your screensaver files, like " C:\\WINDOWS\\SYSTEM\\ ", ',
    "click the [Search] button , check the file you want to add , then click [Add] button.",
    "",
    "How to add FLASH to random list:",
    "In the random list, choose the random type is FLASH, then do the same search job above.",
    "",
    "How to save the configuration:",
    "When you close Lumivane Standard, it will be saved automatically.",
    "",
    "Tips:",
    "1. Double click the file you selected in the listview,you can preview it.",
    "2. Select the file and click the [Setup] button you can config that screensaver.",
    "",
    "Shortcuts:",
    "    When you select a file in the listview, you can use some shortcuts",
    "    Ctrl + S     Setup the selected screensaver",
    "    Ctrl + V     Preview the selected screensaver",
    "    Ctrl + A     Clear all the screensave in the list",
    "    DEL         Clear the selected file in the list",
])

MISSING_FILES_TEXT = "Too much files in the RandomList cannot be found!\r\nPlease fix it firstly"
PASSWORD_TEXT = "This screensaver doesnot support password in Windows9X."
SCREEN = (1024, 768)

# A row of the black surface below the help text, where pointer input reaches the window.
FREE_Y = 700
FREE_X = 950


def inside(rect, x, y):
    return rect[0] <= x < rect[2] and rect[1] <= y < rect[3]


class StartupMessages(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder(["Lumivane.scr"])

    def test_password_mode_shows_only_its_message_and_reads_no_file(self):
        program = self.start_lumivane("/a")
        box = self.driver.msgbox(timeout=15)
        self.assertIsNotNone(box, "no message box")
        self.snap("password")
        self.assertEqual(box["caption"], "Information")
        self.assertEqual(box["text"], PASSWORD_TEXT)
        self.assertEqual(box["buttons"], ["OK"])
        # The box is the process's one window, centred on the screen.
        own = [w for w in self.driver.windows() if w["pid"] == box["pid"]]
        self.assertEqual([w["class"] for w in own], ["#32770"])
        rect = own[0]["rect"]
        self.assertLessEqual(abs((rect[0] + rect[2]) - SCREEN[0]), 2, rect)
        self.assertLessEqual(abs((rect[1] + rect[3]) - SCREEN[1]), 2, rect)
        self.driver.press(box["hwnd"], "OK")
        self.assertEqual(program.wait(10), 0)
        self.assertIsNone(self.folder.read_ini(), "password mode created Lumivane.ini")

    def test_preview_handle_that_is_no_number_ends_with_application_error(self):
        program = self.start_lumivane("/p", "2884x")
        box = self.driver.msgbox(timeout=15)
        self.assertIsNotNone(box, "no message box")
        self.snap("application-error")
        self.assertEqual(box["caption"], "Application Error")
        self.assertRegex(box["text"], r"^Exception EConvertError in module Lumivane\.scr at [^\r\n]*\.\r\n"
                         r"'2884X' is not a valid integer value\.\r\n$")
        self.assertEqual(box["buttons"], ["OK"])
        self.driver.press(box["hwnd"], "OK")
        self.assertEqual(program.wait(10), 1)
        self.assertIsNone(self.folder.read_ini())


class SaverStart(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder()

    def screen_window(self, timeout=15):
        window = self.wait_window(cls="TfrmScreen", timeout=timeout)
        self.assertEqual(window["rect"], [0, 0, SCREEN[0], SCREEN[1]], "the screen window must cover the screen")
        return window

    def intro(self, window):
        statics = [c for c in self.driver.children(window["hwnd"]) if c["class"].lower() == "static"]
        self.assertEqual(len(statics), 1, statics)
        return statics[0]

    def close_by_click(self, program):
        self.input.click(FREE_X, FREE_Y)
        self.assertEqual(program.wait(10), 0)

    def test_listed_saver_is_started_with_s(self):
        paths = [self.folder.dos_file(name) for name in SAMPLE_SAVERS]
        self.folder.write_screen_list(paths)
        ini_before = self.folder.read_ini()
        program = self.start_lumivane("/s")
        saver = self.wait_window(cls="LumivaneSampleSaver", timeout=15)
        self.snap("sample-saver")
        self.assertIn(saver["text"], SAMPLE_SAVERS.values())
        self.assertTrue(self.eventually(lambda: sum(len(self.folder.saver_log(n)) for n in SAMPLE_SAVERS) > 0))
        logs = {name: self.folder.saver_log(name) for name in SAMPLE_SAVERS}
        started = [name for name, lines in logs.items() if lines]
        self.assertEqual(len(started), 1, logs)
        self.assertEqual(len(logs[started[0]]), 1, logs)
        args = split_command_line(logs[started[0]][0])
        self.assertEqual(args[0].lower(), self.folder.dos_file(started[0]).lower())
        self.assertEqual(args[1:], ["s"])
        self.assertEqual(SAMPLE_SAVERS[started[0]], saver["text"])

        # Behind the started saver the screen window stays up, black, without the help text.
        window = self.screen_window()
        self.assertEqual(self.intro(window)["text"], "")
        self.assertIsNone(self.driver.msgbox(timeout=0.3))
        self.driver.close(saver["hwnd"])
        self.assertTrue(self.driver.gone(saver["hwnd"]))
        self.assertTrue(program.running())
        self.close_by_click(program)
        self.assertEqual(self.folder.read_ini(), ini_before, "the screen window wrote Lumivane.ini")

    def test_saver_that_is_not_always_on_top_shows_above_the_window(self):
        shutil.copy(self.bed.tool("QuietMeadow.scr"), self.folder.file("QuietMeadow.scr"))
        self.folder.write_screen_list([self.folder.dos_file("QuietMeadow.scr")])
        program = self.start_lumivane("/s")
        self.wait_window(cls="LumivaneSampleSaver", timeout=15)
        window = self.screen_window()
        # The saver's own colour, not the black of the screen window, in a corner its waves leave plain.
        self.assertTrue(self.eventually(lambda: self.pixel(4, 4) == (0x2E, 0x8B, 0x57), 5), self.pixel(4, 4))
        self.snap("saver-above")
        # The first click lands on the saver, which ends; the black window under it stays for the second.
        self.input.click(FREE_X, FREE_Y)
        self.assertTrue(self.eventually(lambda: self.pixel(4, 4) == (0, 0, 0), 5))
        self.assertTrue(program.running())
        self.close_by_click(program)
        self.assertTrue(self.driver.gone(window["hwnd"]))

    def test_empty_list_shows_the_help_text(self):
        program = self.start_lumivane("/s")
        window = self.screen_window()
        self.snap("help-text")
        intro = self.intro(window)
        self.assertEqual(intro["text"], HELP_TEXT)
        self.assertEqual(intro["rect"][:2], [48, 64])
        self.assertTrue(intro["visible"])
        panels = [c for c in self.driver.children(window["hwnd"]) if c["class"] == "TPanel" and c["visible"]]
        self.assertIn([0, 0, SCREEN[0], 33], [p["rect"] for p in panels], "no 33-pixel strip along the top")
        self.assertEqual(self.folder.read_ini(), None)
        self.assertEqual([n for n in SAMPLE_SAVERS if self.folder.saver_log(n)], [])
        self.close_by_click(program)

    def test_list_of_missing_files_warns_once_before_the_window_shows(self):
        self.folder.write_screen_list([self.folder.dos_file("Gone%d.scr" % i) for i in range(3)])
        program = self.start_lumivane("/s")
        box = self.driver.msgbox(timeout=15)
        self.assertIsNotNone(box, "no warning")
        self.snap("warning")
        self.assertEqual(box["caption"], "Warning")
        self.assertEqual(box["text"], MISSING_FILES_TEXT)
        self.assertEqual(box["buttons"], ["OK"])
        self.assertEqual(box["count"], 1)
        self.assertIsNone(self.driver.find(cls="TfrmScreen", timeout=0.2), "the window showed before the warning")
        self.driver.press(box["hwnd"], "OK")
        window = self.screen_window()
        self.assertIsNone(self.driver.msgbox(timeout=1.0), "the warning came twice")
        self.assertEqual(self.intro(window)["text"], "")
        self.close_by_click(program)

    def test_unknown_switch_and_empty_quotes_before_s_run_the_saver(self):
        # Through Wine's real command line: an empty quoted pair is skipped, not an argument.
        for args in (["Hello"], ["", "/s"]):
            with self.subTest(args=args):
                program = self.start_lumivane(*args)
                self.screen_window()
                self.close_by_click(program)

    def test_second_saver_ends_at_once_and_shows_nothing(self):
        first = self.start_lumivane("/s")
        window = self.screen_window()
        before = sorted((w["class"], w["pid"]) for w in self.driver.windows())
        second = self.start_lumivane("/s")
        self.assertEqual(second.wait(10), 0)
        self.assertEqual(sorted((w["class"], w["pid"]) for w in self.driver.windows()), before)
        self.assertTrue(first.running())
        self.close_by_click(first)
        self.assertTrue(self.driver.gone(window["hwnd"]))
        # With the first saver gone, the next start runs normally.
        third = self.start_lumivane("/s")
        self.screen_window()
        self.close_by_click(third)


class BadConfiguration(LumivaneTestCase):
    """Lumivane.ini as users and other tools may leave it, read by the real profile functions."""

    def setUp(self):
        super().setUp()
        self.make_folder()

    def run_saver(self):
        program = self.start_lumivane("/s")
        window = self.wait_window(cls="TfrmScreen", timeout=15)
        return program, window

    def assert_help_text_and_close(self, data):
        self.folder.write_ini(data)
        program, window = self.run_saver()
        intro = [c for c in self.driver.children(window["hwnd"]) if c["class"].lower() == "static"][0]
        self.assertEqual(intro["text"], HELP_TEXT)
        self.assertIsNone(self.driver.msgbox(timeout=0))
        self.input.click(FREE_X, FREE_Y)
        self.assertEqual(program.wait(10), 0)
        self.assertEqual(self.folder.read_ini(), data, "the screen window changed Lumivane.ini")

    def assert_starts_a_saver(self):
        program = self.start_lumivane("/s")
        saver = self.wait_window(cls="LumivaneSampleSaver", timeout=20)
        self.assertIsNone(self.driver.msgbox(timeout=0))
        self.driver.close(saver["hwnd"])
        self.wait_window(cls="TfrmScreen")
        self.input.click(FREE_X, FREE_Y)
        self.assertEqual(program.wait(10), 0)

    def test_empty_file_shows_the_help_text(self):
        self.assert_help_text_and_close(b"")

    def test_binary_file_shows_the_help_text(self):
        # Bytes of every value except the section bracket and the key separator, which
        # could by chance form a key; no byte-order mark, which would make it UTF-16.
        noise = bytes(b for b in range(1, 256) if b not in b"[=") * 8
        self.assert_help_text_and_close(b"\x00\x01" + noise + b"\x00" + noise[::-1])

    def test_negative_count_shows_the_help_text(self):
        saver = self.folder.dos_file("OceanWaves.scr")
        self.assert_help_text_and_close(("[Amount]\r\nTotal=-1\r\n[ScreenList]\r\nFile0=%s\r\n" % saver).encode())

    def test_3000_character_entry_warns_like_a_missing_file(self):
        # Longer than the profile read (2047) and than any path: it names no file.
        long_path = self.folder.dos_file("OceanWaves.scr") + "\\" + "x" * 3000
        self.folder.write_screen_list([long_path])
        program = self.start_lumivane("/s")
        box = self.driver.msgbox(timeout=15)
        self.assertIsNotNone(box, "no warning")
        self.assertEqual(box["text"], MISSING_FILES_TEXT)
        self.driver.press(box["hwnd"], "OK")
        self.wait_window(cls="TfrmScreen")
        self.input.click(FREE_X, FREE_Y)
        self.assertEqual(program.wait(10), 0)

    def test_hexadecimal_count_and_odd_name_case_still_start_a_saver(self):
        self.folder.write_ini("[aMoUnT]\nTOTAL=$2\n[screenlist]\nfile0=%s\nFILE1=%s\n[RANDOMWHAT]\ntype=0\n" % (
            self.folder.dos_file("Starfield.scr"), self.folder.dos_file("EmberGlow.scr")))
        self.assert_starts_a_saver()

    def test_huge_count_reads_only_the_keys_that_exist(self):
        # 2147483647 reads, one per possible key, would keep the window from ever showing.
        self.folder.write_ini("[Amount]\nTotal=2147483647\n[ScreenList]\nFile0=%s\nFile1=%s\n" % (
            self.folder.dos_file("Starfield.scr"), self.folder.dos_file("EmberGlow.scr")))
        self.assert_starts_a_saver()


class ClosingInput(LumivaneTestCase):
    """The screen window of an empty list: which input closes it."""

    def setUp(self):
        super().setUp()
        self.make_folder(["Lumivane.scr"])
        self.program = self.start_lumivane("/s")
        self.window = self.wait_window(cls="TfrmScreen", timeout=15)
        children = self.driver.children(self.window["hwnd"])
        self.intro = [c for c in children if c["class"].lower() == "static"][0]["rect"]
        blocked = [c["rect"] for c in children if c["visible"] and c["rect"][1] > 0]
        self.assertFalse(any(inside(r, FREE_X, FREE_Y) for r in blocked), "the free spot is covered: %s" % blocked)

    def assert_open(self, seconds=0.5):
        self.assert_stays(self.program, seconds)

    def assert_closed(self):
        self.assertEqual(self.program.wait(10), 0)
        self.assertTrue(self.driver.gone(self.window["hwnd"]))

    def prime(self, axis):
        """Moves along one axis only until the skipped moves are used up and a position is recorded.
        The recorded position is exact on the other axis. Over twice the moves the window skips, spaced
        so that a busy machine does not fold them into fewer."""
        for i in range(14):
            if axis == "x":
                self.input.move(FREE_X + i % 2, FREE_Y, settle=0.06)
            else:
                self.input.move(FREE_X, FREE_Y + i % 2, settle=0.06)
        self.assert_open(0.2)

    def test_key_closes_but_tab_does_not(self):
        # Tab alone: with Shift+Tab the Shift key reaches the window first and closes it.
        self.input.key("Tab")
        self.input.key("Tab")
        self.assert_open()
        self.input.key("a")
        self.assert_closed()

    def test_click_closes_but_not_over_the_help_text(self):
        self.input.click((self.intro[0] + self.intro[2]) // 2, (self.intro[1] + self.intro[3]) // 2)
        self.assert_open()
        self.input.click(FREE_X, FREE_Y)
        self.assert_closed()

    def test_three_pixels_down_with_a_long_way_across_closes(self):
        self.prime("x")
        self.input.move(FREE_X + 8, FREE_Y + 2)
        self.assert_open()
        self.input.move(FREE_X + 8, FREE_Y + 3)
        self.assert_closed()

    def test_three_pixels_across_with_a_long_way_down_closes(self):
        self.prime("y")
        self.input.move(FREE_X + 2, FREE_Y + 8)
        self.assert_open()
        self.input.move(FREE_X + 3, FREE_Y + 8)
        self.assert_closed()

    def test_long_horizontal_move_does_not_close(self):
        self.prime("x")
        for x in range(FREE_X, 0, -30):
            self.input.move(x, FREE_Y, settle=0.01)
        for x in range(0, SCREEN[0], 30):
            self.input.move(x, FREE_Y, settle=0.01)
        self.assert_open(1.0)
        self.snap("after-horizontal-moves")
        # Still listening: a diagonal step from the recorded position closes it.
        self.input.move(FREE_X + 5, FREE_Y + 5)
        self.assert_closed()


if __name__ == "__main__":
    main()
