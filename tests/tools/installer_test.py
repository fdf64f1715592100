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


# Each Wine process may take minutes where the 32-bit loader runs under emulation: few of them.
def wine(*args, timeout=900):
    return subprocess.run(["wine", *args], capture_output=True, timeout=timeout)


def drive_c():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c")


def unix_paths(*windows_paths):
    out = subprocess.run(["winepath", "-u", *windows_paths], capture_output=True, text=True, timeout=900)
    return out.stdout.splitlines()


def shortcut_places_and_settings():
    """Where the installer may put its two shortcuts (for everyone, or for the user), and the
    folder of the settings file, from one look at the environment."""
    names = ("ProgramData", "PUBLIC", "APPDATA", "USERPROFILE")
    out = wine("cmd", "/c", "echo", ";".join("%" + n + "%" for n in names))
    value = dict(zip(names, out.stdout.decode("cp1250").strip().split(";")))
    programs = "\\Microsoft\\Windows\\Start Menu\\Programs"
    paths = unix_paths(value["ProgramData"] + programs, value["PUBLIC"] + "\\Desktop",
                       value["APPDATA"] + programs, value["USERPROFILE"] + "\\Desktop",
                       value["APPDATA"] + "\\Snimanje")
    return paths[:4], paths[4]


def shortcuts(places):
    return [os.path.join(p, SHORTCUT) for p in places if os.path.isfile(os.path.join(p, SHORTCUT))]


def shortcut_target(path, expected):
    """The local path a shell link points to: its LinkInfo's LocalBasePath, or else expected
    where the link holds that path in another of its blocks."""
    with open(path, "rb") as f:
        data = f.read()
    flags, = struct.unpack_from("<I", data, 0x14)
    at = 0x4C
    if flags & 1:  # HasLinkTargetIDList
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & 2:  # HasLinkInfo
        base, = struct.unpack_from("<I", data, at + 16)
        return data[at + base:data.index(b"\0", at + base)].decode("cp1250")
    lowered = data.lower()
    for encoded in (expected.lower().encode("cp1250"), expected.lower().encode("utf-16-le")):
        if encoded in lowered:
            return expected
    return None


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
        version = os.path.basename(setup)[len("Snimanje-"):-len("-setup.exe")]
        self.assertEqual(
            ["Snimanje.exe", "snimanje_backup.exe", "vorbex.exe"],
            sorted(subprocess.run(["zipinfo", "-1", portable], capture_output=True, text=True).stdout.split()))

        # The folder of the accounting program's databases, with what the program and the
        # operator keep there; the staging folder and the settings file beside (a year of its
        # own in the staging folder, which other tests use as well).
        folder = os.path.join(drive_c(), FOLDER)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        staging = os.path.join(drive_c(), "temp_backup")
        os.makedirs(staging, exist_ok=True)
        places, settings_dir = shortcut_places_and_settings()
        os.makedirs(settings_dir, exist_ok=True)
        settings = os.path.join(settings_dir, "Snimanje.INI")
        theirs = [os.path.join(folder, n) for n in
                  ("BRODANIKVESTRA_G1901.fdb", "BRODANIKVESTRA_G1901_05_03_2024.zip", "BRODANIKVESTRA_G1900.fdb.bak")]
        theirs.append(os.path.join(staging, "BRODANIKVESTRA_G1901.fdb"))
        for path in theirs:
            with open(path, "wb") as f:
                f.write(os.path.basename(path).encode() * 100)
        if not os.path.exists(settings):
            with open(settings, "w") as f:
                f.write("[TFSnimanjePodataka]\r\n")
        theirs.append(settings)

        installed = wine(setup, "/S", "/D=C:\\" + FOLDER)
        self.assertEqual(0, installed.returncode, installed.stderr[-2000:])
        ours = ["Snimanje.exe", "vorbex.exe", "snimanje_backup.exe", "Snimanje-uninstall.exe"]
        for name in ours:
            self.assertTrue(os.path.isfile(os.path.join(folder, name)), name)
        links = shortcuts(places)
        self.assertEqual(2, len(links), links)  # the Start menu's and the desktop's
        program_path = "C:\\%s\\Snimanje.exe" % FOLDER
        for link in links:
            self.assertEqual(program_path.lower(), (shortcut_target(link, program_path) or "").lower(), link)
        key, values = registered()
        self.assertTrue(key, "no Programs and Features entry")
        self.assertEqual("Snimanje podataka", values.get("DisplayName"))
        self.assertEqual(version, values.get("DisplayVersion"))
        self.assertIn("Snimanje.exe", values.get("DisplayIcon", ""))
        self.assertIn("Snimanje-uninstall.exe", values.get("UninstallString", ""))
        self.assertTrue(values.get("Publisher"))
        self.assertGreater(int(values.get("EstimatedSize", "0"), 0), 0)

        # The shortcut's target starts: its dialog comes up and closes on Esc.
        target = unix_paths(shortcut_target(links[0], program_path))[0]
        program = subprocess.Popen(["wine", target], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = subprocess.run(["timeout", "900", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                     "^Snimanje podataka$"], capture_output=True, text=True).stdout.split()
            self.assertTrue(window, "Snimanje.exe showed no dialog")
            subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], timeout=30)
            subprocess.run(["xdotool", "key", "Escape"], timeout=30)
            self.assertEqual(0, program.wait(timeout=900))
        finally:
            if program.poll() is None:
                program.kill()
        kept = {path: digest(path) for path in theirs}  # the settings as the program left them

        uninstaller = os.path.join(folder, "Snimanje-uninstall.exe")
        self.assertEqual(0, wine(uninstaller, "/S").returncode)
        # The uninstaller runs on from a copy of itself, which removes the original at the end.
        self.assertTrue(wait_for(lambda: not os.path.exists(uninstaller), 900), "the uninstaller is still there")
        # Its last step; the entry went before it.
        self.assertIsNone(registered()[0], "the Programs and Features entry is still there")
        self.assertEqual([], [n for n in ours if os.path.exists(os.path.join(folder, n))])
        self.assertEqual([], shortcuts(places))
        for path, before in kept.items():
            self.assertEqual(before, digest(path), path)
        self.assertEqual(sorted(os.path.basename(p) for p in theirs if p.startswith(folder)), sorted(os.listdir(folder)))
        shutil.rmtree(folder, ignore_errors=True)
        os.remove(theirs[3])


if __name__ == "__main__":
    SOURCE_DIR, BUILD_DIR = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
