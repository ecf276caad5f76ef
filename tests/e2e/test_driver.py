"""The test bed's own check: lvdriver reads a window with known controls right,
presses its buttons, reads and answers a message box, and Wine passes exit codes
through. The saver-mode tests trust the driver only because of these."""

import json
import os

from lumivane_e2e import LumivaneTestCase, SAMPLE_SAVERS, main, split_command_line

# These checks need no Lumivane.scr.
HELPERS = ["DriverFixture.exe"] + list(SAMPLE_SAVERS)


class DriverReadsControls(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder(HELPERS)

    def open_fixture(self):
        program = self.start("DriverFixture.exe")
        window = self.wait_window(cls="LumivaneDriverFixture")
        children = {c["id"]: c for c in self.driver.children(window["hwnd"])}
        return program, window, children

    def test_children_carry_class_text_rect_and_state(self):
        program, window, children = self.open_fixture()
        self.assertEqual(window["text"], "Driver Fixture")
        self.assertEqual(children[101]["class"].lower(), "listbox")
        self.assertEqual(children[103]["text"], "&Save")
        self.assertTrue(children[103]["enabled"])
        self.assertFalse(children[105]["enabled"])
        self.assertEqual(children[104]["text"], "line one\r\nline two")
        # Child rects are in screen coordinates: the list box sits 10 px into the client area.
        self.assertEqual(children[101]["rect"][0], window["client"][0] + 10)
        self.assertEqual(children[101]["rect"][1], window["client"][1] + 10)
        self.assertEqual(children[101]["rect"][2] - children[101]["rect"][0], 200)
        self.driver.close(window["hwnd"])
        self.assertEqual(program.wait(10), 0)

    def test_a_one_off_driver_process_answers_like_the_served_one(self):
        _, window, _ = self.open_fixture()
        served = self.driver.children(window["hwnd"])
        returncode, out = self.driver._run_once(["children", window["hwnd"]], 20)
        self.assertEqual(returncode, 0)
        self.assertEqual([json.loads(line) for line in out], served)

    def test_rows_come_back_whole_with_their_selection(self):
        _, _, children = self.open_fixture()
        rows = self.driver.rows(children[101]["hwnd"])
        self.assertEqual([r["text"] for r in rows], ["Ocean Waves", "Starfield", "C:\\Savers\\Ember Glow.scr"])
        self.assertEqual([r["selected"] for r in rows], [False, True, False])
        combo = self.driver.rows(children[102]["hwnd"])
        self.assertEqual([r["text"] for r in combo], ["C:\\", "D:\\", "My Documents"])
        self.assertEqual([r["selected"] for r in combo], [False, False, True])

    def test_press_reaches_the_button_and_a_disabled_one_refuses(self):
        _, window, children = self.open_fixture()
        self.driver.press(window["hwnd"], "Save")
        self.driver.press(window["hwnd"], "&Save")
        self.assertTrue(self.eventually(lambda: self.driver.text(children[104]["hwnd"]) == "Saved 2"))
        self.assertIsNone(self.driver.run("press", window["hwnd"], "Locked", check=False))

    def test_message_box_text_and_exit_code(self):
        program = self.start("DriverFixture.exe", "msgbox")
        box = self.driver.msgbox(caption="Fixture", timeout=10)
        self.assertIsNotNone(box, "no message box")
        self.assertEqual(box["text"], "Fixture message\r\nsecond line")
        self.assertEqual(box["buttons"], ["OK"])
        self.assertEqual(box["count"], 1)
        self.driver.press(box["hwnd"], "OK")
        self.assertEqual(program.wait(10), 7)
        self.assertTrue(self.driver.gone(box["hwnd"]))


class SampleSaverLogsItsStart(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder(HELPERS)

    def test_saver_switch_shows_its_window_until_a_key(self):
        program = self.start("Starfield.scr", "s")
        window = self.wait_window(cls="LumivaneSampleSaver")
        self.assertEqual(window["text"], "Starfield")
        self.assertEqual(window["rect"], [0, 0, 1024, 768])
        self.snap("starfield")
        self.input.key("space")
        self.assertEqual(program.wait(10), 0)
        log = self.folder.saver_log("Starfield.scr")
        self.assertEqual(len(log), 1)
        self.assertEqual(split_command_line(log[0])[1:], ["s"])

    def test_other_switches_only_log(self):
        program = self.start("EmberGlow.scr", "/c", "2884")
        self.assertEqual(program.wait(10), 0)
        self.assertIsNone(self.driver.find(cls="LumivaneSampleSaver", timeout=0.2))
        self.assertEqual(split_command_line(self.folder.saver_log("EmberGlow.scr")[0])[1:], ["/c", "2884"])


class DriveMap(LumivaneTestCase):
    def tearDown(self):
        self.bed.unmap_drive("E")
        super().tearDown()

    def test_a_mapped_folder_is_a_drive_and_the_host_root_is_not(self):
        self.make_folder(["OceanWaves.scr"])
        self.bed.map_drive("E", self.folder.path)
        program = self.start("OceanWaves.scr", "/c", dos_path="E:\\OceanWaves.scr")
        self.assertEqual(program.wait(10), 0)
        # The sample saver logs the path it was started by: E: reached the folder.
        self.assertEqual(split_command_line(self.folder.saver_log("OceanWaves.scr")[0]), ["E:\\OceanWaves.scr", "/c"])
        self.assertFalse(os.path.lexists(os.path.join(self.bed.values["WINEPREFIX"], "dosdevices", "z:")))


if __name__ == "__main__":
    main()
