""""Lumivane.ini" under Wine is never lost or torn: two configuration windows
closed at the same moment, with equal and with different lists, leave one of the
two lists whole; a close ended at a random moment leaves the old file or the new
one; a file that a backup program holds for a few seconds at start is read once
it is free and not written over; one held for longer is said to be unreadable,
and closing then leaves it as it was; one that a sync client holds for a moment
as the close renames onto it is waited out."""

import os
import random
import time

from lumivane_e2e import Program, main
from test_configure import LS_SCREEN, ConfigureTestCase

UNREADABLE = "Unable to read %s.\r\nThe lists stored in it are not shown, and nothing is written over them."
RUNS = int(os.environ.get("LUMIVANE_STRESS_RUNS", "20"))


def first_values(data):
    """{(section, key): value} as the profile functions read them: the first of each name, any case.
    Empty when the file does not end whole (the close writes the options last)."""
    values, section = {}, None
    for line in data.decode("cp1252").split("\r\n"):
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].lower()
        elif "=" in line and section is not None:
            key, _, value = line.partition("=")
            values.setdefault((section, key.lower()), value)
    return values if data.endswith(b"\r\n") and ("misc", "sub") in values else {}


class ConfigFileTestCase(ConfigureTestCase):
    def entries(self, count):
        return ["%s\\Saver%05d.scr" % (self.folder.dos, n) for n in range(count)]

    def write_entries(self, entries):
        self.write_lists(entries, [], "[RandomWhat]\nType=0\n[Misc]\nFlashSize=1\nSub=1\n")

    def stored_list(self):
        values = first_values(self.folder.read_ini())
        total = int(values.get(("amount", "total"), -1))
        return [values.get(("screenlist", "file%d" % n)) for n in range(total)] if values else None

    def hold(self, milliseconds, *share):
        """lvdriver holds Lumivane.ini without sharing (or, with "nodelete", sharing all but
        deleting and renaming); returns once it holds it."""
        stem = os.path.join(self.artifacts, "hold-%d" % len(self.programs))
        holder = Program(self.bed, [self.bed.tool("lvdriver.exe"), "hold", self.folder.dos_file("Lumivane.ini"),
                                    str(milliseconds), *share], self.folder.path, stem)
        self.programs.append(holder)

        def said():
            with open(holder.stdout_path, "rb") as out:
                return out.read()

        self.assertTrue(self.eventually(lambda: b"held" in said(), 20), said())
        return holder


class TwoClosesAtOnce(ConfigFileTestCase):
    def test_twenty_times_with_equal_and_with_different_lists(self):
        entries = self.entries(20)
        for run in range(RUNS):
            for different in (False, True):
                with self.subTest(run=run, different=different):
                    self.write_entries(entries)
                    first = self.open_window()
                    first_program = self.program
                    if different:
                        self.click_row(LS_SCREEN, 0)
                        self.input.key("Delete")
                        self.assertTrue(self.eventually(lambda: len(self.rows(LS_SCREEN)) == 19))
                    second_program = self.start_lumivane("/c")
                    others = lambda: [w for w in self.driver.find(cls="TfrmMain", all=True, timeout=0)
                                      if w["hwnd"] != first["hwnd"]]
                    self.assertTrue(self.eventually(others, 30))
                    self.driver.close(first["hwnd"])
                    self.driver.close(others()[0]["hwnd"])
                    self.assertEqual(first_program.wait(30), 0)
                    self.assertEqual(second_program.wait(30), 0)
                    self.assertIn(self.stored_list(), [entries, entries[1:]] if different else [entries])


class ClosesEndedAtRandomMoments(ConfigFileTestCase):
    def test_the_old_file_or_the_new_never_a_mix(self):
        # An empty first entry is skipped on reading, so the close moves every entry
        # up one key: the whole list changes, as after deleting the first row.
        entries = self.entries(10000)
        old = {("screenlist", "file%d" % (n + 1)): path for n, path in enumerate(entries)}
        old.update({("amount", "total"): "10001", ("screenlist", "file0"): ""})
        new = dict(old)
        new.update({("screenlist", "file%d" % n): path for n, path in enumerate(entries)})
        new[("amount", "total")] = "10000"
        rng = random.Random(15)
        outcomes = {"old": 0, "new": 0}
        for run in range(RUNS):
            with self.subTest(run=run):
                self.write_entries([""] + entries)
                self.open_window()
                # The close of the moved list takes about 0.1 s under Wine.
                delay = rng.uniform(0, 0.15)
                self.driver.close(self.hwnd)
                time.sleep(delay)
                self.driver.kill(self.window["pid"])
                self.program.wait(30)
                values = first_values(self.folder.read_ini())
                found = [name for name, want in (("old", old), ("new", new))
                         if all(values.get(k) == v for k, v in want.items())]
                self.assertEqual(len(found), 1, "a torn file after %.3f s" % delay)
                outcomes[found[0]] += 1
        # A close ended inside its write leaves the new file's draft beside the old file.
        drafts = lambda: sorted(name for name in os.listdir(self.folder.path) if name.endswith(".tmp"))
        outcomes["ended inside the write"] = len(drafts())
        print("closes ended at random moments: %s" % outcomes)
        # The next write removes the drafts of ended processes, and nothing else.
        for name in ("Lumivane.ini.4000000-1.tmp", "Lumivane.ini.old.tmp"):
            open(os.path.join(self.folder.path, name), "wb").close()
        self.write_entries([""] + entries[:10])
        self.open_window()
        self.close_with_button()
        self.assertEqual(drafts(), ["Lumivane.ini.old.tmp"])


class HeldFile(ConfigFileTestCase):
    def test_held_for_three_seconds_at_start_is_read_once_free_and_not_written_over(self):
        self.write_lists([self.ocean, self.starfield, self.ember], [],
                         "[RandomWhat]\nType=0\n[Misc]\nFlashSize=1\nSub=1\n")
        before = self.folder.read_ini()
        self.hold(3000)
        self.open_window()
        self.assertTrue(self.eventually(lambda: len(self.rows(LS_SCREEN)) == 3, 15), self.rows(LS_SCREEN))
        self.assertEqual(self.rows(LS_SCREEN), ["OCEAN WAVES", "STARFIELD", "EMBER GLOW"])
        self.assertIsNone(self.driver.msgbox(caption="Warning", timeout=0.5))
        self.close_with_button()
        # The lists as they were read: nothing to change, so nothing written.
        self.assertEqual(self.folder.read_ini(), before)

    def test_a_sync_client_holding_it_for_a_second_at_close_is_waited_out(self):
        self.write_lists([self.ocean, self.starfield], [])  # no options yet: the close writes them
        self.open_window()
        self.hold(1000, "nodelete")
        self.close_with_button()  # no box: the program ends
        self.assertEqual(self.stored_list(), [self.ocean, self.starfield])
        self.assertEqual(first_values(self.folder.read_ini()).get(("randomwhat", "type")), "0")
        self.assertEqual([name for name in os.listdir(self.folder.path) if name.endswith(".tmp")], [])

    def test_held_past_the_retries_warns_and_close_leaves_the_file(self):
        self.write_lists([self.ocean, self.starfield], [])
        before = self.folder.read_ini()
        holder = self.hold(30000)
        self.program = self.start_lumivane("/c")
        box = self.driver.msgbox(caption="Warning", timeout=30)
        self.assertIsNotNone(box, "no warning about the held file")
        self.assertEqual(box["text"], UNREADABLE % self.folder.dos_file("Lumivane.ini"))
        self.snap("unreadable-warning")
        self.driver.press(box["hwnd"], "OK")
        self.window = self.wait_window(cls="TfrmMain", timeout=20)
        self.hwnd = self.window["hwnd"]
        self.controls = {c["id"]: c for c in self.driver.children(self.hwnd)}
        self.assertEqual(self.rows(LS_SCREEN), [])
        self.close_with_button()
        holder.kill()
        self.assertEqual(self.folder.read_ini(), before)


if __name__ == "__main__":
    main()
