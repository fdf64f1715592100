#!/usr/bin/env python3
"""The release as an administrator rolls it out, under Wine: tools/package builds the installer,
whose silent install (/S /D=FOLDER) puts the programs, the two shortcuts and the Programs and
Features entry in place; Snimanje.exe starts from the shortcut's target; the silent uninstall
then removes all of that and leaves the databases, archives, .bak files, the staging folder and
the settings file as they were.

Usage: installer_test.py SOURCE_DIR BUILD_DIR (the Wine environment set, an X display up)"""
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import time
import unittest

SOURCE_DIR = BUILD_DIR = None
FOLDER = "snimanje_install_test"
SHORTCUT = "Snimanje podataka.lnk"
KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Snimanje"
KEY_VIEWS = [r"HKLM\Software\WOW6432Node" + KEY[len("Software"):], "HKLM\\" + KEY, "HKCU\\" + KEY]


def wine(*args, timeout=120):
    return subprocess.run(["wine", *args], capture_output=True, timeout=timeout)


def drive_c():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c")


def unix_path(windows_path):
    out = subprocess.run(["winepath", "-u", windows_path], capture_output=True, text=True, timeout=60)
    return out.stdout.strip()


def shortcuts():
    found = []
    for top in ("users", "ProgramData"):
        for folder, _, files in os.walk(os.path.join(drive_c(), top)):
            found += [os.path.join(folder, f) for f in files if f == SHORTCUT]
    return sorted(found)


def shortcut_target(path):
    """The local path a shell link points to (its LinkInfo's LocalBasePath)."""
    with open(path, "rb") as f:
        data = f.read()
    flags, = struct.unpack_from("<I", data, 0x14)
    at = 0x4C
    if flags & 1:  # HasLinkTargetIDList
        at += 2 + struct.unpack_from("<H", data, at)[0]
    assert flags & 2, "no LinkInfo in " + path
    base, = struct.unpack_from("<I", data, at + 16)
    end = data.index(b"\0", at + base)
    return data[at + base:end].decode("cp1250")


def registered():
    """The values of our Programs and Features entry, from whichever view holds it."""
    for key in KEY_VIEWS:
        out = wine("reg", "query", key)
        if out.returncode == 0:
            values = {}
            for line in out.stdout.decode("cp1250", "replace").splitlines():
                parts = line.strip().split(None, 2)
                if len(parts) == 3 and parts[1].startswith("REG_"):
                    values[parts[0]] = parts[2]
            if values:
                return key, values
    return None, {}


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def wait_for(condition, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.5)
    return condition()


class Installer(unittest.TestCase):
    def test_silent_install_then_uninstall(self):
        out_dir = os.path.join(BUILD_DIR, "installer_test")
        made = subprocess.run([os.path.join(SOURCE_DIR, "tools", "package"), "--no-build", out_dir],
                              capture_output=True, text=True, timeout=300, cwd=SOURCE_DIR,
                              env=dict(os.environ, BUILD_DIR=BUILD_DIR))
        self.assertEqual(0, made.returncode, made.stderr)
        setup, portable = made.stdout.split()
        self.assertTrue(os.path.basename(setup).startswith("Snimanje-") and setup.endswith("-setup.exe"))
        self.assertEqual(
            ["Snimanje.exe", "snimanje_backup.exe", "vorbex.exe"],
            sorted(subprocess.run(["zipinfo", "-1", portable], capture_output=True, text=True).stdout.split()))

        # The folder of the accounting program's databases, with what the program and the
        # operator keep there; the staging folder and the settings file beside.
        folder = os.path.join(drive_c(), FOLDER)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        kept = {}
        for name in ("BRODANIKVESTRA_G2024.fdb", "BRODANIKVESTRA_G2024_05_03_2024.zip", "BRODANIKVESTRA_G2023.fdb.bak"):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(name.encode() * 100)
        staging = os.path.join(drive_c(), "temp_backup")
        os.makedirs(staging, exist_ok=True)
        with open(os.path.join(staging, "BRODANIKVESTRA_G2024.fdb"), "wb") as f:
            f.write(b"staging copy")
        settings_dir = unix_path(wine("cmd", "/c", "echo", "%APPDATA%").stdout.decode().strip() + "\\Snimanje")
        os.makedirs(settings_dir, exist_ok=True)
        settings = os.path.join(settings_dir, "Snimanje.INI")
        if not os.path.exists(settings):
            with open(settings, "w") as f:
                f.write("[TFSnimanjePodataka]\r\nDirectoryEdit1_Text=c:\\\r\n")
        for path in list(os.listdir(folder)):
            kept[os.path.join(folder, path)] = None
        kept[os.path.join(staging, "BRODANIKVESTRA_G2024.fdb")] = None

        installed = wine(setup, "/S", "/D=C:\\" + FOLDER, timeout=300)
        self.assertEqual(0, installed.returncode, installed.stderr[-2000:])
        ours = ["Snimanje.exe", "vorbex.exe", "snimanje_backup.exe", "Snimanje-uninstall.exe"]
        for name in ours:
            self.assertTrue(os.path.isfile(os.path.join(folder, name)), name)
        links = shortcuts()
        self.assertEqual(2, len(links), links)  # the Start menu's and the desktop's
        for link in links:
            self.assertEqual(("C:\\%s\\Snimanje.exe" % FOLDER).lower(), shortcut_target(link).lower())
        key, values = registered()
        self.assertTrue(key, "no Programs and Features entry")
        self.assertEqual("Snimanje podataka", values.get("DisplayName"))
        self.assertEqual(made.stdout.split("Snimanje-")[1].split("-setup")[0], values.get("DisplayVersion"))
        self.assertIn("Snimanje.exe", values.get("DisplayIcon", ""))
        self.assertIn("Snimanje-uninstall.exe", values.get("UninstallString", ""))
        self.assertTrue(values.get("Publisher"))
        self.assertGreater(int(values.get("EstimatedSize", "0"), 0), 0)

        # The shortcut's target starts: its dialog comes up and closes on Esc.
        program = subprocess.Popen(["wine", unix_path(shortcut_target(links[0]))], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            window = subprocess.run(["timeout", "60", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                     "^Snimanje podataka$"], capture_output=True, text=True).stdout.split()
            self.assertTrue(window, "Snimanje.exe showed no dialog")
            subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], timeout=30)
            subprocess.run(["xdotool", "key", "Escape"], timeout=30)
            self.assertEqual(0, program.wait(timeout=60))
        finally:
            if program.poll() is None:
                program.kill()
        kept[settings] = None
        for path in kept:
            kept[path] = digest(path)

        uninstaller = os.path.join(folder, "Snimanje-uninstall.exe")
        self.assertEqual(0, wine(uninstaller, "/S").returncode)
        # The uninstaller runs on from a copy of itself, which removes the original at the end.
        self.assertTrue(wait_for(lambda: not os.path.exists(uninstaller), 120), "the uninstaller is still there")
        self.assertTrue(wait_for(lambda: registered()[0] is None, 60), "the Programs and Features entry is still there")
        self.assertEqual([], [n for n in ours if os.path.exists(os.path.join(folder, n))])
        self.assertEqual([], shortcuts())
        for path, before in kept.items():
            self.assertEqual(before, digest(path), path)
        self.assertEqual(sorted(os.path.basename(p) for p in kept if p.startswith(folder)), sorted(os.listdir(folder)))
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    SOURCE_DIR, BUILD_DIR = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
