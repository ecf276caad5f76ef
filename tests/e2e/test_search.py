"""The configuration window's file search, end to end under Wine: a prepared tree
on a drive letter of its own (S:, never the host's root), a search of it with the
rows, count and status texts it shows (read-only and archive folders entered;
hidden, system and linked ones not), ticking rows by their box, by the space
bar and by Check All, Save and Close with the "Lumivane.ini" they leave; Stop
during the search of a deep tree; a close that arrives while a search runs,
which must still end the program normally and store everything; and savers with
Cyrillic and Japanese names and ones 30 folders deep (a path past 260
characters): found, named by their descriptions, stored and shown after
reopening; the saver starts the first, and says so when it can start neither
of the deep ones."""

import ntpath
import os
import shutil
import subprocess
import time

from lumivane_e2e import LumivaneTestCase, main, split_command_line

HERE = os.path.dirname(os.path.abspath(__file__))

# Control ids of the configuration window.
LS_SEARCH = 103
CBOX_DRIVER = 104
BT_SEARCH = 109
BT_STOP = 110
STATUS_BAR = 115

ROW_HEIGHT = 13  # the bed's display runs at 96 DPI


class SearchTestCase(LumivaneTestCase):
    def setUp(self):
        self.tree = os.path.join(os.path.dirname(self.bed.work), "e2e-search",
                                 type(self).__name__ + "_" + self.id().split(".")[-1])
        # Registered first, so it runs last: after the harness has ended the programs.
        self.addCleanup(self.drop_tree)
        super().setUp()
        self.make_folder(["Lumivane.scr", "OceanWaves.scr", "Starfield.scr", "EmberGlow.scr"])
        shutil.rmtree(self.tree, ignore_errors=True)
        os.makedirs(self.tree)
        self.map_drive("s", self.tree)

    def drop_tree(self):
        # Later tests of the run see only the bed's own drives again.
        link = os.path.join(self.bed.values["WINEPREFIX"], "dosdevices", "s:")
        if os.path.islink(link):
            os.remove(link)
        self.bed.values.pop("LUMIVANE_DRIVE_S", None)
        for folder, _, _ in os.walk(self.tree):
            os.chmod(folder, 0o755)  # read-only folders, so that their files can go
        shutil.rmtree(self.tree, ignore_errors=True)

    def mark(self, relative, attributes):
        """Gives a file or folder of the tree DOS attributes. Wine keeps them in the extended
        attribute user.DOSATTRIB, as Samba does; a read-only folder is one without write bits."""
        path = os.path.join(self.tree, *relative.split("\\"))
        if "R" in attributes:
            os.chmod(path, 0o555)
        bits = sum(value for letter, value in (("H", 0x2), ("S", 0x4), ("A", 0x20)) if letter in attributes)
        if bits:
            os.setxattr(path, "user.DOSATTRIB", b"0x%x" % bits)

    def map_drive(self, letter, folder):
        env_file = os.environ["LUMIVANE_WINEBED_ENV"]
        build = os.path.dirname(os.path.dirname(env_file))
        subprocess.run(["bash", os.path.join(HERE, "winebed.sh"), "map", build, letter, folder], check=True,
                       timeout=30, stdin=subprocess.DEVNULL, capture_output=True)
        self.bed.values["LUMIVANE_DRIVE_" + letter.upper()] = folder

    def put(self, relative, source=None, content=b"x"):
        """A file of the tree: a copy of a sample saver or a few bytes."""
        path = os.path.join(self.tree, *relative.split("\\"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if source:
            shutil.copy(self.folder.file(source), path)
        else:
            with open(path, "wb") as out:
                out.write(content)
        return "S:\\" + relative

    def open_window(self, recent_folder, extra=""):
        """The configuration window with the tree's folder among the recent ones, picked in the combo."""
        self.folder.write_ini("[RecentFolder]\nFolderName4=%s\n%s" % (recent_folder, extra))
        self.program = self.start_lumivane("/c")
        self.window = self.wait_window(cls="TfrmMain", timeout=20)
        self.controls = {c["id"]: c for c in self.driver.children(self.window["hwnd"])}
        combo = self.controls[CBOX_DRIVER]["hwnd"]
        items = [r["text"] for r in self.driver.rows(combo)]
        self.assertIn(recent_folder, items)
        self.driver.run("pick", combo, items.index(recent_folder))
        self.assertTrue(self.eventually(lambda: self.selected_base() == recent_folder), items)

    def selected_base(self):
        return [r["text"] for r in self.driver.rows(self.controls[CBOX_DRIVER]["hwnd"]) if r["selected"]][0]

    # While the search reads one folder, or names all its results at its end, the
    # window answers no messages; a look that times out then gives None and the
    # polling asks again.
    def panels(self):
        found = self.driver.run("panels", self.controls[STATUS_BAR]["hwnd"], check=False)
        return [p["text"] for p in found] if found else None

    def panel(self, index):
        panels = self.panels()
        return panels[index] if panels else None

    def rows(self):
        return self.driver.rows(self.controls[LS_SEARCH]["hwnd"])

    def rows_or_none(self):
        return self.driver.run("rows", self.controls[LS_SEARCH]["hwnd"], check=False)

    def visible(self, control_id):
        return [c for c in self.driver.children(self.window["hwnd"]) if c["id"] == control_id][0]["visible"]

    def search(self, seconds=30):
        self.driver.press(self.window["hwnd"], "Search")
        self.assertTrue(self.eventually(lambda: self.panel(2) == "Search done", seconds), self.panels())

    def wait_until_searching(self):
        self.assertTrue(self.eventually(lambda: (self.panel(2) or "").startswith("Searching:S:\\"), 15),
                        self.panels())
        self.assertFalse(self.visible(BT_SEARCH))
        self.assertTrue(self.visible(BT_STOP))

    def deep_tree(self, top=30, below=8):
        """top folders with `below` sub-folders each, one saver per sub-folder: several seconds of pauses."""
        for i in range(top):
            for j in range(below):
                self.put("Deep\\t%02d\\s%02d\\x%02d_%02d.scr" % (i, j, i, j))
        return top * below

    def ini_text(self):
        """Lumivane.ini as the profile functions read it: UTF-16 behind its mark, else the ANSI code page."""
        data = self.folder.read_ini()
        if data is None:
            return ""
        return data.decode("utf-16") if data[:2] in (b"\xff\xfe", b"\xfe\xff") else data.decode("cp1252")

    def saver_starts(self, relative_stem):
        """The command lines that a sample saver of the tree logged."""
        try:
            with open(os.path.join(self.tree, *relative_stem.split("\\")) + ".log", "rb") as log:
                return [line for line in log.read().decode("utf-8").split("\r\n") if line]
        except FileNotFoundError:
            return []

    def end_sample_savers(self):
        for window in self.driver.windows():
            if window["class"] == "LumivaneSampleSaver":
                self.driver.kill(window["pid"])


class SearchTickSaveClose(SearchTestCase):
    def test_search_tick_save_and_close_store_the_ticked_files(self):
        found = {
            self.put("Savers\\OceanWaves.scr", "OceanWaves.scr"): "OCEAN WAVES",
            # An extension in capitals is a screensaver's too: its description shows.
            self.put("Savers\\LUMIVANE.SCR", "Starfield.scr"): "STARFIELD",
            self.put("Savers\\.shy.scr", "Starfield.scr"): "STARFIELD",  # hidden under Wine, found all the same
            self.put("Savers\\b\\EmberGlow.scr", "EmberGlow.scr"): "EMBER GLOW",
            self.put("Savers\\old.scr\\inner.scr", "OceanWaves.scr"): "OCEAN WAVES",
            "S:\\Savers\\old.scr": "FILE NOT FOUND!",
        }
        self.put("Savers\\Lumivane.scr", "Starfield.scr")
        self.put("Savers\\MyLumivane.scr", "Starfield.scr")
        self.put("Savers\\readme.txt")
        self.put("Savers\\.hidden\\skipped.scr", "Starfield.scr")  # a hidden folder is not entered
        # Folders users keep files in are entered whatever else they carry (Documents
        # is read-only); hidden, system and linked ones are not: a link would find its
        # target's files twice, or loop.
        found[self.put("Savers\\Documents\\Ember.scr", "EmberGlow.scr")] = "EMBER GLOW"
        found[self.put("Savers\\Kept\\Ocean.scr", "OceanWaves.scr")] = "OCEAN WAVES"
        self.put("Savers\\Hid\\skipped.scr", "Starfield.scr")
        self.put("Savers\\Sys\\skipped.scr", "Starfield.scr")
        self.put("Elsewhere\\Linked.scr", "Starfield.scr")  # reachable only through the link
        os.symlink(os.path.join(self.tree, "Elsewhere"), os.path.join(self.tree, "Savers", "Link"))
        self.mark("Savers\\Documents", "R")
        self.mark("Savers\\Kept", "A")
        self.mark("Savers\\Hid", "H")
        self.mark("Savers\\Sys", "S")

        self.open_window("S:\\Savers\\")
        self.assertEqual(self.panels(), ["Message", "Found:0", ""])
        self.search()
        self.snap("searched")
        rows = self.rows()
        self.assertEqual(self.panels()[1], "Found:%d" % len(found))
        self.assertEqual(sorted(r["text"] for r in rows), sorted(found.values()))
        self.assertEqual([r["data"] for r in rows], [0] * len(found))
        self.assertTrue(self.visible(BT_SEARCH))
        self.assertFalse(self.visible(BT_STOP))
        # Depth first: the folder's own four matches come before anything below it.
        self.assertEqual(sorted(r["text"] for r in rows[:4]),
                         sorted(["OCEAN WAVES", "STARFIELD", "STARFIELD", "FILE NOT FOUND!"]))

        # Tick the first row by its box, the last one with the space bar.
        box = self.controls[LS_SEARCH]["client"]
        self.input.click(box[0] + 5, box[1] + ROW_HEIGHT // 2)
        last = len(rows) - 1
        self.input.click(box[0] + 60, box[1] + last * ROW_HEIGHT + ROW_HEIGHT // 2)
        self.input.key("space")
        self.assertTrue(self.eventually(lambda: [r["data"] for r in self.rows()][0] == 1))
        self.assertTrue(self.eventually(lambda: [r["data"] for r in self.rows()][last] == 1))
        self.assertEqual(sum(r["data"] for r in self.rows()), 2)
        self.snap("ticked")

        self.driver.press(self.window["hwnd"], "Save")
        self.assertTrue(self.eventually(lambda: "Total=2" in self.ini_text(), 10), self.ini_text())
        self.assertEqual(sum(r["data"] for r in self.rows()), 0)
        ini = self.ini_text()
        stored = [line.split("=", 1)[1] for line in ini.splitlines() if line.startswith("File")]
        self.assertEqual(len(stored), 2)
        self.assertEqual(sorted(found[p] for p in stored), sorted([rows[0]["text"], rows[last]["text"]]))
        self.assertNotIn("[RandomWhat]", ini)  # only the close stores the options

        self.driver.press(self.window["hwnd"], "Close")
        self.assertEqual(self.program.wait(15), 0)
        ini = self.ini_text()
        for section in ("[ScreenList]", "[Amount]", "[RandomWhat]", "[Misc]"):
            self.assertIn(section, ini)
        self.assertIn("Total=2", ini)
        self.assertIn("FlashTotal=0", ini)
        self.assertIn("Type=0", ini)
        self.assertIn("Sub=1", ini)
        self.assertEqual(stored, [line.split("=", 1)[1] for line in ini.splitlines() if line.startswith("File")])

    def test_check_all_then_save_on_the_flash_tab(self):
        self.put("Savers\\OceanWaves.scr", "OceanWaves.scr")
        self.put("Savers\\Starfield.scr", "Starfield.scr")
        self.open_window("S:\\Savers\\")
        self.search()
        self.driver.press(self.window["hwnd"], "Check All")
        self.assertTrue(self.eventually(lambda: [r["data"] for r in self.rows()] == [1, 1]))
        # The tab at Save time chooses the list: a click on the "Flash" tab.
        tabs = [c for c in self.driver.children(self.window["hwnd"]) if c["class"] == "SysTabControl32"][0]
        rect = tabs["rect"]
        self.input.click(rect[0] + 110, rect[1] + 10)
        self.driver.press(self.window["hwnd"], "Save")
        self.assertTrue(self.eventually(lambda: "FlashTotal=2" in self.ini_text(), 10), self.ini_text())
        self.assertIn("Total=0", self.ini_text())
        self.assertIn("[FlashList]", self.ini_text())
        self.driver.close(self.window["hwnd"])
        self.assertEqual(self.program.wait(15), 0)
        self.assertIn("Type=1", self.ini_text())


    def test_the_video_tab_finds_the_videos_in_any_case_and_close_stores_them_with_type_2(self):
        videos = [self.put("Videos\\" + name) for name in ("a.mp4", "B.M4V", "c.Mov", "d.wmv", "E.ASF", "sub\\f.avi",
                                                            "sub\\G.mkv")]
        for name in ("song.mp3", "a.mp4.txt", "mp4", "intro.swf", "Lumivane.mp4"):
            self.put("Videos\\" + name)
        self.put("Videos\\OceanWaves.scr", "OceanWaves.scr")
        self.open_window("S:\\Videos\\", "[RandomWhat]\nType=2\n")
        self.search()
        self.assertEqual(sorted(r["text"] for r in self.rows()), sorted(ntpath.basename(v).upper() for v in videos))
        self.driver.press(self.window["hwnd"], "Check All")
        self.assertTrue(self.eventually(lambda: all(r["data"] == 1 for r in self.rows())))
        self.driver.press(self.window["hwnd"], "Save")
        self.assertTrue(self.eventually(lambda: "VideoTotal=7" in self.ini_text(), 10), self.ini_text())
        self.driver.press(self.window["hwnd"], "Close")
        self.assertEqual(self.program.wait(15), 0)
        lines = self.ini_text().splitlines()
        self.assertEqual(sorted(line.partition("=")[2] for line in lines if line.startswith("File")), sorted(videos))
        for line in ("Total=0", "FlashTotal=0", "[VideoList]", "Type=2"):
            self.assertIn(line, lines)


class SearchStopAndClose(SearchTestCase):
    def test_stop_during_a_deep_search_shows_what_was_found(self):
        total = self.deep_tree()
        self.open_window("S:\\Deep\\")
        self.driver.press(self.window["hwnd"], "Search")
        self.wait_until_searching()
        time.sleep(0.5)
        self.driver.press(self.window["hwnd"], "Stop")
        started = time.monotonic()
        self.assertTrue(self.eventually(lambda: self.visible(BT_SEARCH) and self.rows_or_none(), 10))
        # Unwinding costs one pause per level: well under a second here.
        self.assertLess(time.monotonic() - started, 5)
        # The matches found before Stop are still named, with the window answering
        # between rows; the count is shown once the last of them is.
        def counted():
            rows = len(self.rows_or_none() or [])
            return rows > 0 and self.panels()[1] == "Found:%d" % rows
        self.assertTrue(self.eventually(counted, 10), self.panels())
        self.snap("stopped")
        panels = self.panels()
        count = len(self.rows())
        self.assertEqual(panels[1], "Found:%d" % count)
        self.assertEqual(panels[2], "User stopped searching...")
        self.assertGreater(count, 0)
        self.assertLess(count, total)
        self.assertFalse(self.visible(BT_STOP))
        # A new search after Stop runs to its end.
        self.search(seconds=60)
        self.assertEqual(self.panels()[1], "Found:%d" % total)
        self.driver.close(self.window["hwnd"])
        self.assertEqual(self.program.wait(15), 0)

    def close_during_search(self, close):
        self.deep_tree()
        self.open_window("S:\\Deep\\")
        self.driver.press(self.window["hwnd"], "Search")
        self.wait_until_searching()
        close()
        # The search stops, returns, and the close then goes through and stores
        # everything: well before the rest of the tree (some 15 s of pauses) could
        # have been searched.
        self.assertEqual(self.program.wait(8), 0)
        ini = self.ini_text()
        for line in ("FolderName4=S:\\Deep\\", "Total=0", "FlashTotal=0", "Type=0", "FlashSize=1", "Sub=1"):
            self.assertIn(line, ini.splitlines())
        self.assertIsNone(self.driver.msgbox(timeout=0.5), "a message box after the close")

    def test_close_box_during_a_search_ends_the_program_normally(self):
        self.close_during_search(lambda: self.driver.close(self.window["hwnd"]))

    def test_close_button_during_a_search_ends_the_program_normally(self):
        self.close_during_search(lambda: self.driver.press(self.window["hwnd"], "Close"))


class ResultsListOpensFiles(SearchTestCase):
    def test_double_click_and_ctrl_v_open_the_selected_result(self):
        self.put("Savers\\OceanWaves.scr", "OceanWaves.scr")
        self.put("Savers\\b\\Starfield.scr", "Starfield.scr")
        self.open_window("S:\\Savers\\")
        self.search()
        texts = [r["text"] for r in self.rows()]
        self.assertEqual(sorted(texts), ["OCEAN WAVES", "STARFIELD"])
        box = self.controls[LS_SEARCH]["client"]

        def row_point(text):
            return box[0] + 60, box[1] + texts.index(text) * ROW_HEIGHT + ROW_HEIGHT // 2

        # A double click on a row's text hands its file to the shell.
        x, y = row_point("OCEAN WAVES")
        self.input.click(x, y)
        self.input.click(x, y)
        self.assertTrue(self.eventually(lambda: len(self.saver_starts("Savers\\OceanWaves")) == 1, 15))
        self.end_sample_savers()
        self.assertEqual(self.saver_starts("Savers\\b\\Starfield"), [])

        # Ctrl+V on the selected row of the focused results list: the popup's "Preview".
        self.input.click(*row_point("STARFIELD"))
        self.assertTrue(self.eventually(lambda: [r["selected"] for r in self.rows()][texts.index("STARFIELD")]))
        self.input.key("ctrl+v")
        self.assertTrue(self.eventually(lambda: len(self.saver_starts("Savers\\b\\Starfield")) == 1, 15))
        self.end_sample_savers()
        self.assertEqual(len(self.saver_starts("Savers\\OceanWaves")), 1)
        self.assertIsNotNone(self.driver.find(cls="TfrmMain", timeout=1))
        self.assertIsNone(self.driver.msgbox(timeout=0.5), "a message box from the results list")


class NamesOutsideTheCodePage(SearchTestCase):
    """A Western system (code page 1252): Cyrillic and Japanese names fit no ANSI text."""

    PRIVET = "\u041f\u0440\u0438\u0432\u0435\u0442"  # Привет
    NIHON = "\u65e5\u672c"  # 日本
    LONG_BASE = "S:\\Long\\"

    def save_all_and_close(self):
        self.search()
        self.assertEqual(sorted(r["text"] for r in self.rows()), ["OCEAN WAVES", "STARFIELD"])
        self.driver.press(self.window["hwnd"], "Check All")
        self.assertTrue(self.eventually(lambda: all(r["data"] == 1 for r in self.rows())))
        self.driver.press(self.window["hwnd"], "Save")
        self.assertTrue(self.eventually(lambda: "Total=" in self.ini_text(), 10), self.ini_text())
        self.driver.press(self.window["hwnd"], "Close")
        self.assertEqual(self.program.wait(15), 0)

    def reopened_rows(self):
        self.program = self.start_lumivane("/c")
        window = self.wait_window(cls="TfrmMain", timeout=20)
        screens = [c for c in self.driver.children(window["hwnd"]) if c["id"] == 101][0]
        rows = [r["text"] for r in self.driver.rows(screens["hwnd"])]
        self.driver.press(window["hwnd"], "Close")
        self.assertEqual(self.program.wait(15), 0)
        return rows

    def start_saver(self):
        """Saver mode on the stored list: the screen window, no warning of missing files."""
        saver = self.start_lumivane("/s")
        screen = self.wait_window(cls="TfrmScreen", timeout=20)
        return saver, screen

    def end_saver(self, saver):
        """Closes the started sample saver, then the screen window with a click, as a user would."""
        sample = self.driver.find(cls="LumivaneSampleSaver", timeout=0.5)
        if sample:
            self.driver.close(sample["hwnd"])
            self.assertTrue(self.driver.gone(sample["hwnd"]))
        self.wait_window(cls="TfrmScreen")
        self.input.click(950, 700)
        self.assertEqual(saver.wait(15), 0)

    def test_cyrillic_and_japanese_savers_are_found_named_stored_shown_and_started(self):
        privet = self.put("Names\\%s.scr" % self.PRIVET, "OceanWaves.scr")
        nihon = self.put("Names\\%s.scr" % self.NIHON, "Starfield.scr")
        self.open_window("S:\\Names\\")
        self.save_all_and_close()
        self.snap("unicode-names")
        # The file turned into UTF-16 with its mark, both names whole.
        self.assertEqual(self.folder.read_ini()[:2], b"\xff\xfe")
        lines = self.ini_text().splitlines()
        self.assertEqual(sorted(line for line in lines if line.startswith("File")),
                         sorted(["File0=" + privet, "File1=" + nihon]))
        self.assertEqual(sorted(self.reopened_rows()), ["OCEAN WAVES", "STARFIELD"])

        saver, _ = self.start_saver()
        started = lambda: self.saver_starts("Names\\" + self.PRIVET) + self.saver_starts("Names\\" + self.NIHON)
        self.assertTrue(self.eventually(lambda: len(started()) == 1, 20), started())
        self.assertIn(split_command_line(started()[0])[0], (privet, nihon))
        self.assertEqual(split_command_line(started()[0])[1:], ["s"])
        self.end_saver(saver)

    def test_savers_past_260_characters_are_found_named_stored_and_shown(self):
        deep = "\\".join("folder%03d" % i for i in range(30))
        path = self.put("Long\\%s\\OceanWaves.scr" % deep, "OceanWaves.scr")
        # No description, and the shell names nothing at such a path: its file name.
        plain = self.put("Long\\%s\\Plain Saver.scr" % deep)
        self.assertGreater(len(path), 300)
        self.open_window(self.LONG_BASE)
        self.search()
        names = ["OCEAN WAVES", "PLAIN SAVER.SCR"]
        self.assertEqual(sorted(r["text"] for r in self.rows()), names)
        self.driver.press(self.window["hwnd"], "Check All")
        self.driver.press(self.window["hwnd"], "Save")
        stored = lambda: {line.partition("=")[2] for line in self.ini_text().splitlines() if line.startswith("File")}
        self.assertTrue(self.eventually(lambda: stored() == {path, plain}, 10), self.ini_text())
        self.driver.press(self.window["hwnd"], "Close")
        self.assertEqual(self.program.wait(15), 0)
        self.assertEqual(sorted(self.reopened_rows()), names)
        # No short name fits 260 characters at this depth, so neither saver can be
        # started: each draw fails, and after five the saver says so.
        saver = self.start_lumivane("/s")
        box = self.driver.msgbox(caption="Warning", timeout=20)
        self.assertIsNotNone(box, "a saver that cannot start was passed over in silence")
        self.assertEqual(box["text"], "Too much files in the RandomList cannot be found!\r\nPlease fix it firstly")
        self.driver.press(box["hwnd"], "OK")
        self.end_saver(saver)


if __name__ == "__main__":
    main()
