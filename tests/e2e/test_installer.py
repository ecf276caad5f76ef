"""The per-user installer under Wine: a silent install puts Lumivane.scr and the
uninstaller into %LOCALAPPDATA%\\Programs\\Lumivane, registers the uninstaller and
makes Lumivane the screensaver; the installed copy keeps its settings beside
itself; the silent uninstall removes what the install made and keeps the user's
settings unless asked not to.

CTest passes LUMIVANE_INSTALLER, the built LumivaneSetup.exe."""

import filecmp
import os
import shutil
import subprocess

from lumivane_e2e import LumivaneTestCase, Program, main

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane"


class InstallerTestCase(LumivaneTestCase):
    """Runs the installer and the uninstaller and reads what they leave in the prefix."""

    def setUp(self):
        super().setUp()
        self.installer = os.environ.get("LUMIVANE_INSTALLER", "")
        if not os.path.isfile(self.installer):
            raise RuntimeError("installer not built: LUMIVANE_INSTALLER=%r" % self.installer)
        self.make_folder([])
        shutil.copy(self.installer, self.folder.file("LumivaneSetup.exe"))
        self.local_app_data = self.wine_output("cmd", "/c", "echo %LOCALAPPDATA%").strip()
        self.assertRegex(self.local_app_data, r"^C:\\")
        self.install_dos = self.local_app_data + r"\Programs\Lumivane"
        self.install_dir = self.unix_path(self.install_dos)
        self.forget_install()
        self.addCleanup(self.forget_install)

    def wine_output(self, *argv):
        done = subprocess.run(["wine"] + list(argv), env=self.bed.env, cwd=self.bed.work, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=60)
        return done.stdout.decode("cp1252", "replace")

    def unix_path(self, dos_path):
        self.assertEqual(dos_path[:3].upper(), "C:\\")
        parts = [p for p in dos_path[3:].split("\\") if p]
        return os.path.join(self.bed.values["LUMIVANE_DRIVE_C"], *parts)

    def installed(self, name):
        return os.path.join(self.install_dir, name)

    def reg_value(self, key, name):
        """The data of a registry value, or None when it is missing."""
        out = self.wine_output("reg", "query", key, "/v", name)
        for line in out.splitlines():
            fields = line.strip().split(None, 2)
            if len(fields) >= 2 and fields[0].lower() == name.lower() and fields[1].startswith("REG_"):
                return fields[2] if len(fields) == 3 else ""
        return None

    def reg_key_exists(self, key):
        done = subprocess.run(["wine", "reg", "query", key], env=self.bed.env, cwd=self.bed.work,
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return done.returncode == 0

    def set_reg(self, key, name, data):
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/d", data, "/f"], env=self.bed.env,
                       cwd=self.bed.work, stdin=subprocess.DEVNULL, capture_output=True, timeout=60, check=True)

    def forget_install(self):
        """No installed copy and none of the installer's registry values, whatever a test left."""
        shutil.rmtree(self.install_dir, ignore_errors=True)
        for argv in (["reg", "delete", UNINSTALL_KEY, "/f"], ["reg", "delete", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/f"]):
            subprocess.run(["wine"] + argv, env=self.bed.env, cwd=self.bed.work, stdin=subprocess.DEVNULL,
                           capture_output=True, timeout=60)

    def install(self, *switches):
        setup = self.start("LumivaneSetup.exe", "/S", *switches)
        self.assertEqual(setup.wait(120), 0)

    def uninstall(self, *switches):
        # The uninstaller copies itself to the temporary folder and runs from there, so
        # that it can delete its own file; the copy we start ends at once.
        argv = [self.install_dos + r"\Uninstall.exe", "/S"] + list(switches)
        stem = os.path.join(self.artifacts, "Uninstall-%d" % len(self.programs))
        started = Program(self.bed, argv, self.folder.path, stem)
        self.programs.append(started)
        self.assertEqual(started.wait(120), 0)
        self.assertTrue(self.eventually(lambda: not os.path.exists(self.installed("Uninstall.exe")), 30),
                        "the uninstaller did not remove itself")
        # The copy in the temporary folder removes the registration last.
        self.assertTrue(self.eventually(lambda: not self.reg_key_exists(UNINSTALL_KEY), 30))

    def assert_names_installed_copy(self, value):
        """SCRNSAVE.EXE names the installed program, in its long or its short (8.3) form."""
        self.assertIsNotNone(value, "SCRNSAVE.EXE is not set")
        long_form = self.install_dos + r"\Lumivane.scr"
        if value.lower() != long_form.lower():
            short_form = self.wine_output("cmd", "/c", 'for %I in ("' + long_form + '") do @echo %~sI').strip()
            self.assertEqual(value.lower(), short_form.lower())


class SilentInstall(InstallerTestCase):
    def test_puts_the_program_and_uninstaller_in_local_app_data_and_sets_the_screensaver(self):
        self.install()
        self.assertTrue(filecmp.cmp(self.installed("Lumivane.scr"), self.bed.scr, shallow=False))
        self.assertTrue(os.path.isfile(self.installed("Uninstall.exe")))
        # No settings file is shipped: the program writes its own on the first close.
        self.assertFalse(os.path.exists(self.installed("Lumivane.ini")))
        self.assert_names_installed_copy(self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"))
        self.assertEqual(self.reg_value(DESKTOP_KEY, "ScreenSaveActive"), "1")
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "DisplayName"), "Lumivane")
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "UninstallString").lower(),
                         ('"' + self.install_dos + r'\Uninstall.exe"').lower())
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "InstallLocation").lower(), self.install_dos.lower())

    def test_no_screensaver_switch_keeps_the_current_one(self):
        self.set_reg(DESKTOP_KEY, "SCRNSAVE.EXE", r"C:\windows\system32\other.scr")
        self.install("/NOSCREENSAVER")
        self.assertTrue(os.path.isfile(self.installed("Lumivane.scr")))
        self.assertEqual(self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"), r"C:\windows\system32\other.scr")

    def test_reinstall_over_an_install_keeps_the_settings(self):
        self.install()
        with open(self.installed("Lumivane.ini"), "wb") as ini:
            ini.write(b"[Amount]\r\nTotal=1\r\n[ScreenList]\r\nFile0=C:\\a.scr\r\n")
        self.install()
        with open(self.installed("Lumivane.ini"), "rb") as ini:
            self.assertIn(b"File0=C:\\a.scr", ini.read())


class InstalledCopy(InstallerTestCase):
    def test_configure_mode_writes_its_settings_beside_itself_on_close(self):
        self.install()
        stem = os.path.join(self.artifacts, "installed-configure")
        # Started from another folder: the file goes beside the program, not into the current one.
        program = Program(self.bed, [self.install_dos + r"\Lumivane.scr", "/c"], self.folder.path, stem)
        self.programs.append(program)
        window = self.wait_window(cls="TfrmMain", timeout=20)
        self.snap("configuration")
        self.driver.close(window["hwnd"])
        self.assertEqual(program.wait(20), 0)
        self.assertFalse(os.path.exists(self.folder.ini_path))
        with open(self.installed("Lumivane.ini"), "rb") as ini:
            text = ini.read().decode("cp1252")
        lines = [line.strip() for line in text.splitlines() if line.strip()]
        for expected in ("[Amount]", "Total=0", "FlashTotal=0", "[RandomWhat]", "Type=0", "[Misc]", "FlashSize=1",
                         "Sub=1"):
            self.assertIn(expected, lines)
        self.assertLess(lines.index("FlashSize=1"), lines.index("Sub=1"))


class SilentUninstall(InstallerTestCase):
    def test_removes_program_registration_and_screensaver_but_keeps_the_settings(self):
        self.install()
        with open(self.installed("Lumivane.ini"), "wb") as ini:
            ini.write(b"[Amount]\r\nTotal=0\r\n")
        self.uninstall()
        self.assertFalse(os.path.exists(self.installed("Lumivane.scr")))
        self.assertIsNone(self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"))
        with open(self.installed("Lumivane.ini"), "rb") as ini:
            self.assertEqual(ini.read(), b"[Amount]\r\nTotal=0\r\n")
        self.assertEqual(os.listdir(self.install_dir), ["Lumivane.ini"])

    def test_remove_settings_switch_leaves_no_folder(self):
        self.install()
        with open(self.installed("Lumivane.ini"), "wb") as ini:
            ini.write(b"[Misc]\r\nSub=0\r\n")
        self.uninstall("/REMOVESETTINGS")
        self.assertTrue(self.eventually(lambda: not os.path.exists(self.install_dir), 10),
                        "left behind: %s" % (os.listdir(self.install_dir) if os.path.isdir(self.install_dir) else ""))

    def test_keeps_a_screensaver_chosen_since_and_files_of_the_user(self):
        self.install()
        self.set_reg(DESKTOP_KEY, "SCRNSAVE.EXE", r"C:\windows\system32\other.scr")
        with open(self.installed("notes.txt"), "wb") as notes:
            notes.write(b"mine")
        self.uninstall()
        self.assertEqual(self.reg_value(DESKTOP_KEY, "SCRNSAVE.EXE"), r"C:\windows\system32\other.scr")
        self.assertEqual(sorted(os.listdir(self.install_dir)), ["notes.txt"])


if __name__ == "__main__":
    main()
