"""Configure mode end to end under Wine: the configuration window opened on a
prepared "Lumivane.ini" (rows of both random lists, a language-neutral saver by
the name in its language file, the active tab and the two options as the file
says) with its controls at their places, rows deleted with the Del key and from
the list's menu and the file that Close leaves, the full-path view and Reset, the
first start without a file, the warnings of Config and Preview and the sample
savers that they start, a close while the file cannot be written, Enter and Esc,
tooltips, and screenshots of the window and of the about box."""

import os
import subprocess
import unittest

from lumivane_e2e import (LANGUAGE_FILE, LANGUAGE_NEUTRAL_SAVER, SAMPLE_SAVERS, LumivaneTestCase, main,
                          split_command_line)

# Control ids of the configuration window; Close is the dialog's default button (IDOK).
LS_SCREEN = 101
LS_FLASH = 102
CHK_SUB = 105
PAGE = 106
RBF_ORIGIN = 107
RBF_FULL = 108
LS_SEARCH = 103
CBOX_DRIVER = 104
BT_SEARCH = 109
BT_STOP = 110
BT_CHECK = 111
BT_SAVE = 112
BT_SETUP = 113
BT_ABOUT = 114
STATUS_BAR = 115
PROGRESS_BAR = 116
BT_CLOSE = 1
LS_VIDEO = 117

# Places of the items in the lists' popup menu.
MNU_RESET = 2
MNU_DELETE = 3
MNU_VIEW_NAME = 5
MNU_VIEW_PATH = 6

MAIN_CAPTION = "Lumivane Standard V1.6"
ERROR_CAPTION = "Lumivane Standard V1.5 Configuration"  # the application title

ROW_HEIGHT = 13  # the bed's display runs at 96 DPI
TAB_FLASH_X = 110  # a point on the "Flash" tab, from the tab control's left edge


def parse_ini(data):
    """Sections and keys in file order: [(section, [(key, value), ...]), ...]."""
    sections = []
    for line in data.decode("cp1252").splitlines():
        if line.startswith("[") and line.endswith("]"):
            sections.append((line[1:-1], []))
        elif "=" in line:
            key, _, value = line.partition("=")
            sections[-1][1].append((key, value))
    return sections


class ConfigureTestCase(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder(["Lumivane.scr"] + list(SAMPLE_SAVERS) + [LANGUAGE_NEUTRAL_SAVER, LANGUAGE_FILE])
        with open(self.folder.file("intro.swf"), "wb") as movie:
            movie.write(b"FWS\x06\x40\x00\x00\x00\x50\x00\x0f\xa0\x00\x00\x0b\xb8\x00\x00\x18\x01\x00")
        self.ocean = self.folder.dos_file("OceanWaves.scr")
        self.starfield = self.folder.dos_file("Starfield.scr")
        self.ember = self.folder.dos_file("EmberGlow.scr")
        self.aurora = self.folder.dos_file(LANGUAGE_NEUTRAL_SAVER)  # "Aurora Drift" only in its language file
        self.gone = self.folder.dos_file("Gone.scr")
        self.movie = self.folder.dos_file("intro.swf")
        self.gone_movie = self.folder.dos_file("gone.swf")

    def write_lists(self, screens, flashes, extra="", videos=()):
        lines = ["[Amount]", "Total=%d" % len(screens), "FlashTotal=%d" % len(flashes)]
        lines += ["VideoTotal=%d" % len(videos), "[VideoList]"] if videos else []
        lines += ["File%d=%s" % (i, path) for i, path in enumerate(videos)] + ["[ScreenList]"]
        lines += ["File%d=%s" % (i, path) for i, path in enumerate(screens)]
        lines += ["[FlashList]"] + ["File%d=%s" % (i, path) for i, path in enumerate(flashes)]
        self.folder.write_ini("\n".join(lines) + "\n" + extra)

    def open_window(self):
        self.program = self.start_lumivane("/c")
        self.window = self.wait_window(cls="TfrmMain", timeout=20)
        self.hwnd = self.window["hwnd"]
        self.controls = {c["id"]: c for c in self.driver.children(self.hwnd)}
        return self.window

    def control(self, control_id):
        return self.controls[control_id]["hwnd"]

    def rows(self, control_id):
        return [r["text"] for r in self.driver.rows(self.control(control_id))]

    def selected(self, control_id):
        return [r["index"] for r in self.driver.rows(self.control(control_id)) if r["selected"]]

    def state(self, control_id):
        return self.driver.run("state", self.control(control_id))[0]

    def visible(self, control_id):
        return [c for c in self.driver.children(self.hwnd) if c["id"] == control_id][0]["visible"]

    def row_point(self, control_id, row):
        client = self.controls[control_id]["client"]
        return client[0] + 60, client[1] + row * ROW_HEIGHT + ROW_HEIGHT // 2

    def click_row(self, control_id, row):
        """A real click on a row: it selects the row and gives its list the focus."""
        self.input.click(*self.row_point(control_id, row))
        self.assertTrue(self.eventually(lambda: self.selected(control_id) == [row]), self.selected(control_id))
        self.assertTrue(self.eventually(lambda: self.state(control_id)["focusId"] == control_id))

    def double_click(self, x, y):
        self.input.click(x, y)
        self.input.click(x, y)

    def show_flash_tab(self):
        rect = self.controls[PAGE]["rect"]
        self.input.click(rect[0] + TAB_FLASH_X, rect[1] + 10)
        self.assertTrue(self.eventually(lambda: self.state(PAGE)["tab"] == 1))
        self.assertTrue(self.eventually(lambda: self.visible(LS_FLASH)))

    def pick_from_menu(self, control_id, row, item):
        """Right-clicks a row and picks the item'th entry of the list's menu with the arrow
        keys: Wine's menus cannot be read from another process, so the test counts
        (Setup, Preview, Reset, Delete, Clear All, View in file name, View in full path;
        the arrow keys stop on disabled items too and skip the separators)."""
        self.input.click(*self.row_point(control_id, row), button=3)
        self.assertTrue(self.eventually(lambda: self.driver.find(cls="#32768", timeout=0) is not None))
        for _ in range(item + 1):
            self.input.key("Down")
        self.input.key("Return")
        self.assertTrue(self.eventually(lambda: self.driver.find(cls="#32768", timeout=0) is None))

    def expect_warning(self, text):
        """The warning box with the text, answered with its OK button."""
        box = self.driver.msgbox(caption="Warning", timeout=10)
        self.assertIsNotNone(box, "no warning %r" % text)
        self.assertEqual(box["text"], text)
        self.assertEqual(box["buttons"], ["OK"])
        self.assertEqual(box["pid"], self.window["pid"])
        self.driver.press(box["hwnd"], "OK")
        self.assertTrue(self.driver.gone(box["hwnd"]))

    def close_with_button(self):
        self.driver.press(self.hwnd, "Close")
        self.assertEqual(self.program.wait(20), 0)

    def ini(self):
        data = self.folder.read_ini()
        self.assertIsNotNone(data, "no Lumivane.ini")
        return parse_ini(data)


class OpensOnStoredFile(ConfigureTestCase):
    def test_rows_tab_and_options_come_from_the_file(self):
        screens = [self.ocean, self.gone, self.starfield, self.ember, self.aurora]
        flashes = [self.movie, self.gone_movie]
        self.write_lists(screens, flashes, "[RandomWhat]\nType=1\n[Misc]\nFlashSize=0\nSub=0\n")
        window = self.open_window()
        self.assertEqual(window["text"], MAIN_CAPTION)

        self.assertEqual(self.rows(LS_SCREEN),
                         ["OCEAN WAVES", "FILE NOT FOUND!", "STARFIELD", "EMBER GLOW", "AURORA DRIFT"])
        self.assertEqual(self.rows(LS_FLASH), ["INTRO.SWF", "FILE NOT FOUND!"])
        self.assertEqual(self.selected(LS_SCREEN), [])
        self.assertEqual(self.selected(LS_FLASH), [])
        # Type=1: the Flash tab is active and only its list shows.
        self.assertEqual(self.state(PAGE)["tab"], 1)
        self.assertTrue(self.visible(LS_FLASH))
        self.assertFalse(self.visible(LS_SCREEN))
        # FlashSize=0 chooses "Full Screen", Sub=0 clears "Include sub-folder".
        self.assertEqual(self.state(RBF_ORIGIN)["checked"], 0)
        self.assertEqual(self.state(RBF_FULL)["checked"], 1)
        self.assertEqual(self.state(CHK_SUB)["checked"], 0)
        self.snap("configuration-window", window["rect"])

        # Closing unchanged writes the same lists and options back.
        self.close_with_button()
        ini = dict(self.ini())
        self.assertEqual(ini["ScreenList"], [("File%d" % i, p) for i, p in enumerate(screens)])
        self.assertEqual(ini["FlashList"], [("File%d" % i, p) for i, p in enumerate(flashes)])
        self.assertEqual(ini["Amount"], [("Total", "5"), ("FlashTotal", "2")])
        self.assertEqual(ini["RandomWhat"], [("Type", "1")])
        self.assertEqual(ini["Misc"], [("FlashSize", "0"), ("Sub", "0")])


    def test_type_outside_the_three_lists_leaves_no_tab_active_and_close_stores_minus_one(self):
        self.write_lists([self.ocean], [self.movie], "[RandomWhat]\nType=3\n")
        self.open_window()
        self.assertEqual(self.state(PAGE)["tab"], -1)
        self.assertFalse(self.visible(LS_SCREEN))
        self.assertFalse(self.visible(LS_FLASH))
        self.assertEqual(self.rows(LS_SCREEN), ["OCEAN WAVES"])
        self.close_with_button()
        ini = dict(self.ini())
        self.assertEqual(ini["RandomWhat"], [("Type", "-1")])
        self.assertEqual(ini["ScreenList"], [("File0", self.ocean)])


    def client_place(self, control_id):
        """A control's left, top, width and height in the window's client coordinates."""
        rect, client = self.controls[control_id]["rect"], self.window["client"]
        return [rect[0] - client[0], rect[1] - client[1], rect[2] - rect[0], rect[3] - rect[1]]

    def test_window_and_controls_stand_at_their_places(self):
        window = self.open_window()
        client = window["client"]
        self.assertEqual(window["rect"][:2], [266, 158])
        self.assertEqual([client[2] - client[0], client[3] - client[1]], [572, 346])
        places = {
            LS_SEARCH: [242, 112, 175, 197],  # 199 fitted down to whole 13-pixel rows
            CBOX_DRIVER: [242, 48, 175, 21],
            CHK_SUB: [240, 76, 129, 17],
            PAGE: [10, 32, 213, 287],
            RBF_ORIGIN: [448, 32, 97, 17],
            RBF_FULL: [448, 48, 89, 17],
            BT_SEARCH: [432, 88, 137, 25],
            BT_STOP: [432, 88, 137, 25],
            BT_CHECK: [432, 128, 137, 25],
            BT_SAVE: [432, 168, 137, 25],
            BT_SETUP: [432, 208, 137, 25],
            BT_ABOUT: [432, 248, 137, 25],
            BT_CLOSE: [432, 288, 137, 25],
            PROGRESS_BAR: [0, 322, 100, 22],
        }
        for control_id, place in places.items():
            self.assertEqual(self.client_place(control_id), place, control_id)
        groups = {c["text"]: c for c in self.driver.children(self.hwnd) if c["class"] == "Button" and c["id"] == -1}
        for caption, place in (("Random List", [8, 8, 217, 313]), ("Search List", [232, 8, 193, 313]),
                               ("Flash Size", [432, 8, 137, 65])):
            rect = groups[caption]["rect"]
            self.assertEqual([rect[0] - client[0], rect[1] - client[1], rect[2] - rect[0], rect[3] - rect[1]], place,
                             caption)
        # The lists fill the tab page, inside the tab control.
        page = self.controls[PAGE]["rect"]
        for control_id in (LS_SCREEN, LS_FLASH):
            rect = self.controls[control_id]["rect"]
            self.assertTrue(page[0] < rect[0] and rect[2] < page[2] and page[1] < rect[1] and rect[3] < page[3], rect)

    # The status bar keeps its laid-out place rather than sizing itself to its font.
    def test_status_bar_fills_the_bottom_of_the_window(self):
        self.open_window()
        self.assertEqual(self.client_place(STATUS_BAR), [0, 322, 572, 24])

    def dark_pixels(self, rect):
        """How many pixels of the screen's rect are as dark as text."""
        width, height = rect[2] - rect[0], rect[3] - rect[1]
        data = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, rect[0], rect[1]),
                               "+repage", "-depth", "8", "rgb:-"], env=self.bed.env, timeout=20,
                              stdin=subprocess.DEVNULL, capture_output=True).stdout
        self.assertEqual(len(data), width * height * 3)
        return sum(1 for i in range(0, len(data), 3) if max(data[i:i + 3]) < 0x50)

    # The progress bar lies over the first panel and hides its "Message".
    def test_progress_bar_hides_the_first_status_panel(self):
        self.open_window()
        progress = self.controls[PROGRESS_BAR]["rect"]
        status = self.controls[STATUS_BAR]["rect"]
        self.assertEqual(progress[0], status[0])
        self.assertEqual(progress[2] - progress[0], 100)
        # An empty progress bar holds no text: no pixel as dark as the panel's "Message".
        self.assertTrue(self.eventually(lambda: self.dark_pixels(progress) == 0), self.snap("status-bar"))


class DeleteAndClose(ConfigureTestCase):
    def test_del_key_removes_the_selected_row_and_close_stores_the_shorter_list(self):
        self.write_lists([self.ocean, self.gone, self.starfield, self.ember], [self.movie])
        self.open_window()
        self.assertEqual(self.state(PAGE)["tab"], 0)
        self.click_row(LS_SCREEN, 1)
        self.input.key("Delete")
        self.assertTrue(self.eventually(lambda: len(self.rows(LS_SCREEN)) == 3), self.rows(LS_SCREEN))
        self.assertEqual(self.rows(LS_SCREEN), ["OCEAN WAVES", "STARFIELD", "EMBER GLOW"])
        self.assertEqual(self.rows(LS_FLASH), ["INTRO.SWF"])
        # Nothing reaches the file before the close.
        self.assertEqual(dict(self.ini())["Amount"], [("Total", "4"), ("FlashTotal", "1")])

        self.close_with_button()
        # Sections keep their places, the options' sections come after them in the
        # order of their first write, and the old last key stays, unread beyond Total.
        self.assertEqual(self.ini(), [
            ("Amount", [("Total", "3"), ("FlashTotal", "1")]),
            ("ScreenList", [("File0", self.ocean), ("File1", self.starfield), ("File2", self.ember),
                            ("File3", self.ember)]),
            ("FlashList", [("File0", self.movie)]),
            ("RandomWhat", [("Type", "0")]),
            ("Misc", [("FlashSize", "1"), ("Sub", "1")]),
        ])

    def test_right_click_delete_on_the_flash_tab_leaves_the_screensaver_list(self):
        self.write_lists([self.ocean], [self.movie, self.gone_movie])
        self.open_window()
        self.show_flash_tab()
        # The right button selects the row under it, so "Delete" is enabled and acts on it.
        self.pick_from_menu(LS_FLASH, 0, MNU_DELETE)
        self.assertTrue(self.eventually(lambda: self.rows(LS_FLASH) == ["FILE NOT FOUND!"]), self.rows(LS_FLASH))
        self.assertEqual(self.rows(LS_SCREEN), ["OCEAN WAVES"])
        self.close_with_button()
        ini = dict(self.ini())
        self.assertEqual(ini["Amount"], [("Total", "1"), ("FlashTotal", "1")])
        self.assertEqual(ini["FlashList"], [("File0", self.gone_movie), ("File1", self.gone_movie)])
        self.assertEqual(ini["RandomWhat"], [("Type", "1")])


    def test_ctrl_a_clears_the_active_list_only_while_the_list_has_the_focus(self):
        self.write_lists([self.ocean, self.starfield], [self.movie])
        self.open_window()
        # With the focus on "Include sub-folder" the list's shortcut does not act.
        rect = self.controls[CHK_SUB]["rect"]
        self.input.click(rect[0] + 6, (rect[1] + rect[3]) // 2)
        self.assertTrue(self.eventually(lambda: self.state(CHK_SUB)["focusId"] == CHK_SUB))
        self.assertEqual(self.state(CHK_SUB)["checked"], 0)
        self.input.key("ctrl+a")
        self.assert_stays(self.program, 0.5)
        self.assertEqual(self.rows(LS_SCREEN), ["OCEAN WAVES", "STARFIELD"])

        self.click_row(LS_SCREEN, 0)
        self.input.key("ctrl+a")
        self.assertTrue(self.eventually(lambda: self.rows(LS_SCREEN) == []), self.rows(LS_SCREEN))
        self.assertEqual(self.rows(LS_FLASH), ["INTRO.SWF"])
        self.close_with_button()
        ini = dict(self.ini())
        self.assertEqual(ini["Amount"], [("Total", "0"), ("FlashTotal", "1")])
        self.assertEqual(ini["Misc"], [("FlashSize", "1"), ("Sub", "0")])


    def test_full_path_view_survives_delete_and_reset_brings_back_the_stored_list(self):
        screens = [self.ocean, self.gone, self.starfield]
        self.write_lists(screens, [self.movie])
        self.open_window()
        self.pick_from_menu(LS_SCREEN, 0, MNU_VIEW_PATH)
        self.assertTrue(self.eventually(lambda: self.rows(LS_SCREEN) == screens), self.rows(LS_SCREEN))
        self.assertEqual(self.rows(LS_FLASH), [self.movie])

        self.click_row(LS_SCREEN, 1)
        self.input.key("Delete")
        self.assertTrue(self.eventually(lambda: self.rows(LS_SCREEN) == [self.ocean, self.starfield]),
                        self.rows(LS_SCREEN))
        # Reset, enabled by the Delete, reloads the file and keeps the view.
        self.pick_from_menu(LS_SCREEN, 0, MNU_RESET)
        self.assertTrue(self.eventually(lambda: self.rows(LS_SCREEN) == screens), self.rows(LS_SCREEN))
        self.pick_from_menu(LS_SCREEN, 0, MNU_VIEW_NAME)
        names = ["OCEAN WAVES", "FILE NOT FOUND!", "STARFIELD"]
        self.assertTrue(self.eventually(lambda: self.rows(LS_SCREEN) == names), self.rows(LS_SCREEN))
        self.assertEqual(self.rows(LS_FLASH), ["INTRO.SWF"])
        self.close_with_button()
        self.assertEqual(dict(self.ini())["ScreenList"], [("File%d" % i, p) for i, p in enumerate(screens)])


class VideoTab(ConfigureTestCase):
    def test_three_tabs_show_whole_and_type_2_opens_the_video_list(self):
        open(self.folder.file("clip.mp4"), "wb").close()
        videos = [self.folder.dos_file("clip.mp4"), self.folder.dos_file("gone.avi")]
        self.write_lists([self.ocean], [self.movie], "[RandomWhat]\nType=2\n", videos)
        window = self.open_window()
        self.snap("video-tab", window["rect"])
        # No scroll arrow over the tabs: the three captions show whole.
        arrows = [c for c in self.driver.children(self.hwnd) if c["class"] == "msctls_updown32" and c["visible"]]
        self.assertEqual(arrows, [])
        self.assertEqual(self.state(PAGE)["tab"], 2)
        self.assertEqual([self.visible(i) for i in (LS_SCREEN, LS_FLASH, LS_VIDEO)], [False, False, True])
        self.assertEqual(self.rows(LS_VIDEO), ["CLIP.MP4", "FILE NOT FOUND!"])
        self.close_with_button()
        ini = dict(self.ini())
        self.assertEqual(ini["Amount"], [("Total", "1"), ("FlashTotal", "1"), ("VideoTotal", "2")])
        self.assertEqual(ini["VideoList"], [("File0", videos[0]), ("File1", videos[1])])
        self.assertEqual(ini["RandomWhat"], [("Type", "2")])


class FirstStart(ConfigureTestCase):
    def test_without_a_file_the_window_shows_defaults_and_close_creates_the_file(self):
        self.open_window()
        self.assertEqual(self.rows(LS_SCREEN), [])
        self.assertEqual(self.rows(LS_FLASH), [])
        self.assertEqual(self.state(PAGE)["tab"], 0)
        self.assertTrue(self.visible(LS_SCREEN))
        self.assertFalse(self.visible(LS_FLASH))
        self.assertEqual(self.state(RBF_ORIGIN)["checked"], 1)
        self.assertEqual(self.state(RBF_FULL)["checked"], 0)
        self.assertEqual(self.state(CHK_SUB)["checked"], 1)
        # Reading a missing file creates nothing.
        self.assertIsNone(self.folder.read_ini())

        self.close_with_button()
        # Empty lists write no list sections: the file holds its sections in the order of first write.
        self.assertEqual(self.ini(), [
            ("Amount", [("Total", "0"), ("FlashTotal", "0")]),
            ("RandomWhat", [("Type", "0")]),
            ("Misc", [("FlashSize", "1"), ("Sub", "1")]),
        ])


class ConfigAndPreview(ConfigureTestCase):
    def test_warnings_without_a_usable_selection(self):
        self.write_lists([], [self.movie, self.gone_movie])
        self.open_window()

        self.driver.press(self.hwnd, "Config")
        self.expect_warning("You must select a screensaver file to config.")
        # A double click in the empty screensaver list previews no file.
        self.double_click(*self.row_point(LS_SCREEN, 2))
        self.expect_warning("You have to select a file before you preview it.")

        self.show_flash_tab()
        self.click_row(LS_FLASH, 0)
        self.driver.press(self.hwnd, "Config")
        self.expect_warning("Only screensaver can config.")
        # The first click of the double click selects the missing movie.
        self.double_click(*self.row_point(LS_FLASH, 1))
        self.expect_warning("This selected file does not exist!")

        self.assertTrue(self.program.running())
        self.assertIsNone(self.driver.msgbox(timeout=0.5))
        self.assertEqual(self.rows(LS_FLASH), ["INTRO.SWF", "FILE NOT FOUND!"])

    def test_config_and_preview_start_the_selected_saver(self):
        self.write_lists([self.ocean, self.starfield], [])
        self.open_window()

        # A row picked as the arrow keys pick it makes its file the one to configure.
        self.driver.run("select", self.control(LS_SCREEN), 0)
        self.assertTrue(self.eventually(lambda: self.selected(LS_SCREEN) == [0]))
        self.driver.press(self.hwnd, "Config")
        self.assertTrue(self.eventually(lambda: len(self.folder.saver_log("OceanWaves.scr")) == 1, 15))
        args = split_command_line(self.folder.saver_log("OceanWaves.scr")[0])
        self.assertEqual(args[0].lower(), self.ocean.lower())
        self.assertEqual(args[1:], ["\\c"])

        # Ctrl+V on the focused list previews the selected saver: no parameters.
        self.click_row(LS_SCREEN, 1)
        self.input.key("ctrl+v")
        self.assertTrue(self.eventually(lambda: len(self.folder.saver_log("Starfield.scr")) == 1, 15))
        args = split_command_line(self.folder.saver_log("Starfield.scr")[0])
        self.assertEqual(args[0].lower(), self.starfield.lower())
        self.assertEqual(args[1:], [])

        # A double click previews the row that its first click selects.
        self.double_click(*self.row_point(LS_SCREEN, 0))
        self.assertTrue(self.eventually(lambda: len(self.folder.saver_log("OceanWaves.scr")) == 2, 15))
        self.assertEqual(split_command_line(self.folder.saver_log("OceanWaves.scr")[1])[1:], [])
        self.assertIsNone(self.driver.msgbox(timeout=0.5))
        self.assertEqual(self.folder.saver_log("EmberGlow.scr"), [])
        self.close_with_button()


class UnwritableFile(ConfigureTestCase):
    QUESTION = "Unable to write to %s.\r\n\r\nClose without saving?"

    def make_unwritable(self):
        # Running as root, a read-only file would still be written; a folder of that name cannot be.
        os.remove(self.folder.ini_path)
        os.mkdir(self.folder.ini_path)

    def close_meets_the_write_error(self, close):
        close()
        box = self.driver.msgbox(caption=ERROR_CAPTION, timeout=10)
        self.assertIsNotNone(box, "no write error")
        self.assertEqual(box["text"], "Unable to write to %s." % self.folder.dos_file("Lumivane.ini"))
        self.assertEqual(box["buttons"], ["OK"])
        self.driver.press(box["hwnd"], "OK")
        self.assertTrue(self.driver.gone(box["hwnd"]))
        self.assert_stays(self.program, 1.0)

    def close_asks(self, close, answer):
        close()
        box = self.driver.msgbox(caption="Warning", timeout=10)
        self.assertIsNotNone(box, "no question at the second failed close")
        self.assertEqual(box["text"], self.QUESTION % self.folder.dos_file("Lumivane.ini"))
        self.assertEqual(box["buttons"], ["Yes", "No"])
        self.snap("close-without-saving")
        self.driver.press(box["hwnd"], answer)
        self.assertTrue(self.driver.gone(box["hwnd"]))

    def test_close_fails_while_a_folder_stands_in_for_the_file_asks_the_second_time_and_succeeds_after(self):
        self.write_lists([self.ocean, self.gone], [self.movie], "[RandomWhat]\nType=1\n[Misc]\nFlashSize=0\nSub=1\n")
        self.open_window()
        self.assertEqual(self.rows(LS_SCREEN), ["OCEAN WAVES", "FILE NOT FOUND!"])
        self.make_unwritable()

        self.close_meets_the_write_error(lambda: self.driver.press(self.hwnd, "Close"))
        self.snap("write-error")
        # The caption's close box meets the same failure, and now asks; No keeps the window.
        self.close_asks(lambda: self.driver.close(self.hwnd), "No")
        self.assert_stays(self.program, 0.5)
        self.assertIsNotNone(self.driver.find(cls="TfrmMain", timeout=1))
        self.assertEqual(os.listdir(self.folder.ini_path), [])
        self.assertEqual(self.rows(LS_SCREEN), ["OCEAN WAVES", "FILE NOT FOUND!"])

        os.rmdir(self.folder.ini_path)
        self.close_with_button()
        self.assertEqual(self.ini(), [
            ("ScreenList", [("File0", self.ocean), ("File1", self.gone)]),
            ("Amount", [("Total", "2"), ("FlashTotal", "1")]),
            ("FlashList", [("File0", self.movie)]),
            ("RandomWhat", [("Type", "1")]),
            ("Misc", [("FlashSize", "0"), ("Sub", "1")]),
        ])

    def test_yes_at_the_second_failed_close_ends_the_program(self):
        self.write_lists([self.ocean], [])
        self.open_window()
        self.make_unwritable()
        self.close_meets_the_write_error(lambda: self.input.key("alt+F4"))
        self.close_asks(lambda: self.driver.press(self.hwnd, "Close"), "Yes")
        self.assertEqual(self.program.wait(20), 0)
        self.assertEqual(os.listdir(self.folder.ini_path), [])


class Keyboard(ConfigureTestCase):
    def test_esc_leaves_the_window_open_and_enter_closes_it_storing_everything(self):
        self.write_lists([self.ocean, self.starfield], [])
        self.open_window()
        before = self.folder.read_ini()
        # A real click on "Full Screen", then the focus into the list.
        rect = self.controls[RBF_FULL]["rect"]
        self.input.click(rect[0] + 6, (rect[1] + rect[3]) // 2)
        self.assertTrue(self.eventually(lambda: self.state(RBF_FULL)["checked"] == 1))
        self.click_row(LS_SCREEN, 1)

        self.input.key("Escape")
        self.assert_stays(self.program, 1.5)
        self.assertIsNone(self.driver.msgbox(timeout=0.2))
        self.assertEqual(self.folder.read_ini(), before)

        self.input.key("Return")
        self.assertEqual(self.program.wait(20), 0)
        ini = dict(self.ini())
        self.assertEqual(ini["ScreenList"], [("File0", self.ocean), ("File1", self.starfield)])
        self.assertEqual(ini["RandomWhat"], [("Type", "0")])
        self.assertEqual(ini["Misc"], [("FlashSize", "0"), ("Sub", "1")])


    def test_tab_order_and_the_focus_after_each_box(self):
        self.write_lists([self.ocean], [])
        self.open_window()

        def focus():
            return self.state(PAGE)["focusId"]  # the focused control of the window's thread

        def key(name):
            before = focus()
            self.input.key(name)
            self.assertTrue(self.eventually(lambda: focus() != before), (name, before))
            return focus()

        def key_until(name, control_id):
            for _ in range(16):
                if focus() == control_id:
                    return
                key(name)
            self.fail("%s never reached control %d" % (name, control_id))

        # The window opens with the focus on the first control of the tab order:
        # the search group, the random-list group (tabs, then the active tab's
        # list), Config, Close, About, the Flash Size pair (its ticked button),
        # Search, Stop (under Search, still a stop), Check All, Save, and round.
        self.assertTrue(self.eventually(lambda: focus() == LS_SEARCH), focus())
        order = [CBOX_DRIVER, CHK_SUB, PAGE, LS_SCREEN, BT_SETUP, BT_CLOSE, BT_ABOUT, RBF_ORIGIN, BT_SEARCH, BT_STOP,
                 BT_CHECK, BT_SAVE, LS_SEARCH]
        self.assertEqual([key("Tab") for _ in order], order)
        self.assertEqual(key("shift+Tab"), BT_SAVE)

        # After a warning box the focus is back on the button that opened it.
        key_until("shift+Tab", BT_SETUP)
        self.input.key("space")
        self.expect_warning("You must select a screensaver file to config.")
        self.assertTrue(self.eventually(lambda: focus() == BT_SETUP), focus())
        # A focused button takes the Enter itself: About opens instead of Close closing.
        key_until("Tab", BT_ABOUT)
        self.input.key("Return")
        about = self.wait_window(cls="TfrmAbout", timeout=10)
        self.driver.press(about["hwnd"], "&OK")
        self.assertTrue(self.eventually(lambda: self.driver.find(cls="TfrmAbout", timeout=0) is None))
        self.assertTrue(self.eventually(lambda: focus() == BT_ABOUT), focus())
        # The folder browser, opened from the combo with the keyboard, once.
        key_until("shift+Tab", CBOX_DRIVER)
        self.input.key("End")
        browser = self.wait_window(cls="#32770", timeout=10)
        self.driver.press(browser["hwnd"], "Cancel")
        self.assertTrue(self.eventually(lambda: self.driver.find(cls="#32770", timeout=0) is None))
        self.assertTrue(self.eventually(lambda: focus() == CBOX_DRIVER), focus())
        self.assertIsNone(self.driver.find(cls="#32770", timeout=1), "a second folder browser")
        self.assertTrue(self.program.running())
        self.close_with_button()


class Title(ConfigureTestCase):
    def test_the_taskbar_entry_reads_the_application_title(self):
        self.open_window()
        self.assertEqual(self.window["text"], MAIN_CAPTION)
        # The shell's rule: a visible top-level window that is unowned (and no tool
        # window) or marked as an application window. One entry, with the title.
        entries = self.driver.run("taskbar", "--pid", self.window["pid"])
        self.assertEqual([e["text"] for e in entries], [ERROR_CAPTION])
        self.close_with_button()
        self.assertEqual(self.driver.run("taskbar", "--pid", self.window["pid"]), [])


class Tooltips(ConfigureTestCase):
    def tooltip(self):
        shown = [w["text"] for w in self.driver.windows() if w["class"] == "tooltips_class32"]
        return shown[0] if shown else None

    def hover(self, control_id):
        rect = self.controls[control_id]["rect"]
        x, y = (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2
        # Two moves: the tooltip starts its timer on a move inside the control.
        self.input.move(x - 3, y)
        self.input.move(x, y)

    def test_lists_show_the_selected_path_and_buttons_their_hints(self):
        self.write_lists([self.ocean, self.gone], [])
        self.open_window()
        self.click_row(LS_SCREEN, 1)
        self.hover(LS_SCREEN)
        self.assertTrue(self.eventually(lambda: self.tooltip() == self.gone, 5), self.tooltip())
        for control_id, hint in ((BT_SETUP, "Config the selected screensaver"),
                                 (BT_ABOUT, "Read the information about Lumivane"),
                                 (BT_CLOSE, "Close Lumivane config")):
            self.hover(control_id)
            self.assertTrue(self.eventually(lambda: self.tooltip() == hint, 5), (hint, self.tooltip()))
        self.snap("tooltip")
        # Search has no hint: whatever tooltip showed goes and none comes.
        self.hover(BT_SEARCH)
        self.assertTrue(self.eventually(lambda: self.tooltip() is None, 5), self.tooltip())
        self.input.move(*self.row_point(LS_SCREEN, 0))
        self.hover(BT_SEARCH)
        self.assertFalse(self.eventually(lambda: self.tooltip() is not None, 1.5), self.tooltip())
        self.close_with_button()


class AboutBox(ConfigureTestCase):
    def test_about_opens_modally_and_its_ok_button_closes_it(self):
        self.open_window()
        for shown in range(2):
            self.driver.press(self.hwnd, "About")
            about = self.wait_window(cls="TfrmAbout", timeout=10)
            self.assertEqual(about["text"], "About")
            client = about["client"]
            self.assertEqual(about["rect"][:2], [276, 206])
            self.assertEqual([client[2] - client[0], client[3] - client[1]], [474, 349])
            self.assertEqual(about["pid"], self.window["pid"])
            # Modal: the configuration window takes no input while the box shows.
            self.assertTrue(self.eventually(lambda: not self.driver.find(cls="TfrmMain", timeout=0)["enabled"]))
            if shown == 0:
                self.snap("about-box", about["rect"])
            buttons = [c["text"] for c in self.driver.children(about["hwnd"]) if c["class"] == "Button"]
            self.assertIn("&OK", buttons)
            self.driver.press(about["hwnd"], "&OK")
            self.assertTrue(self.eventually(lambda: self.driver.find(cls="TfrmAbout", timeout=0) is None))
            self.assertTrue(self.eventually(lambda: self.driver.find(cls="TfrmMain", timeout=0)["enabled"]))
        self.assertTrue(self.program.running())
        self.close_with_button()


if __name__ == "__main__":
    main()
