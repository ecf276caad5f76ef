"""Preview mode end to end: the real Lumivane.scr started by previewhost.exe, a
stand-in for the Display Settings dialog whose 152 x 112 monitor picture is the
pane. previewhost reports the exit code, how long the saver took, every window
the saver's process showed, and the pane's pixels afterwards.

Wine 8 does not put GDI drawing into another process's window on the screen, so
the three lines never show in the pane here; their pixels are checked by the
unit tests and by the Win32 contract tests on a pane of the test's own. What is
checked here: the exit code, that no window of Lumivane's own appears, that a
pane shown late is waited for, and the bounds of the wait."""

from lumivane_e2e import LumivaneTestCase, main

# The wait for a pane that exists but stays hidden, in the program (PreviewPane.h).
HIDDEN_PANE_WAIT_MS = 15000


class PreviewPane(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder(["Lumivane.scr", "previewhost.exe"])

    def host(self, *options, timeout=60):
        """Runs previewhost with the options and Lumivane.scr; its report as a dict."""
        program = self.start("previewhost.exe", *options, self.folder.dos_file("Lumivane.scr"))
        self.assertEqual(program.wait(timeout), 0, "previewhost failed; see %s" % program.stderr_path)
        with open(program.stdout_path, "rb") as out:
            lines = out.read().decode("cp1252").splitlines()
        report = dict(line.split("=", 1) for line in lines if "=" in line)
        print("%s %s: %s" % (self.name, " ".join(options), report))
        return report

    def assert_no_window_of_its_own(self, report):
        self.assertEqual(report["own_windows"], "0", report["own_window_classes"])
        self.assertEqual(report["pane_children"], "0")

    def test_visible_pane_ends_with_zero_and_opens_no_window(self):
        report = self.host()
        self.assertEqual(report["exit_code"], "0")
        self.assert_no_window_of_its_own(report)
        # Whatever reaches the screen, nothing outside the three text bands changes.
        self.assertEqual(report["pane_outside_changed_pixels"], "0")
        # Drawn at once: nowhere near the bound of a hidden pane.
        self.assertLess(int(report["elapsed_ms"]), HIDDEN_PANE_WAIT_MS // 2)

    def test_pane_shown_later_is_waited_for(self):
        # The hexadecimal forms of the handle must name the same pane: were the
        # handle read wrongly, it would name no window and the wait would end at once.
        for args in ["/p %h", "/P $%x", "-p 0x%x"]:
            with self.subTest(args=args):
                report = self.host("--show-after", "2500", "--args", args)
                self.assertEqual(report["exit_code"], "0")
                self.assert_no_window_of_its_own(report)
                shown, elapsed = int(report["pane_shown_ms"]), int(report["elapsed_ms"])
                self.assertGreaterEqual(shown, 2500)
                self.assertGreaterEqual(elapsed, shown, "ended before the pane was shown")
                # Ended soon after the pane showed, not at the hidden-pane bound.
                self.assertLess(elapsed - shown, 3000)
                self.assertEqual(report["pane_outside_changed_pixels"], "0")

    def test_handle_of_a_closed_window_ends_at_once(self):
        report = self.host("--closed")
        self.assertEqual(report["exit_code"], "0")
        self.assert_no_window_of_its_own(report)
        # A handle that names no window is not waited for at all.
        self.assertLess(int(report["elapsed_ms"]), 5000)

    def test_pane_that_stays_hidden_is_given_up_after_the_bound(self):
        report = self.host("--never-show")
        self.assertEqual(report["exit_code"], "0")
        self.assert_no_window_of_its_own(report)
        elapsed = int(report["elapsed_ms"])
        self.assertGreaterEqual(elapsed, HIDDEN_PANE_WAIT_MS)
        self.assertLess(elapsed, HIDDEN_PANE_WAIT_MS + 10000)

    def test_window_census_sees_a_window_when_there_is_one(self):
        # The census that finds no window above must find the error box of a
        # handle that is no number (it stays open until previewhost ends the saver).
        report = self.host("--args", "/p %hx", "--timeout", "6000")
        self.assertEqual(report["exit_code"], "timeout")
        self.assertGreaterEqual(int(report["visible_own_windows"]), 1)
        self.assertIn("#32770", report["own_window_classes"].split(","))


if __name__ == "__main__":
    main()
