#!/usr/bin/env python3
"""What the shipped programs carry, read back from the built files rather than from their
sources: the manifest (density awareness per monitor, version 2, with the older forms as
fallbacks; the systems from Windows 7 to 11; the project's version), the version resource and
--version, the icon of Snimanje.exe in every size, the symbols stripped into PROGRAM.exe.debug,
and imports that Windows 7 has (windows7_imports.txt, a reviewed list).

Usage: shipped_programs_test.py VERSION BUILD_TYPE OBJDUMP Snimanje.exe vorbex.exe snimanje_backup.exe
(--version is run under Wine, as the environment of the test sets it.)"""
import os
import re
import struct
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET

VERSION = BUILD_TYPE = OBJDUMP = None
PROGRAMS = []
HERE = os.path.dirname(os.path.abspath(__file__))

ASM1, ASM3 = "urn:schemas-microsoft-com:asm.v1", "urn:schemas-microsoft-com:asm.v3"
WS2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
WS2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"
COMPAT = "urn:schemas-microsoft-com:compatibility.v1"
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
ICON_SIZES = {16, 20, 24, 32, 40, 48, 256}


class PortableExecutable:
    """The parts of a Windows program the checks read: its resources (kind, name) -> bytes, and
    the COFF symbol count, which stripping makes 0. Read here rather than with 7z, whose reader
    cannot open a stripped program."""

    def __init__(self, path, with_resources=True):
        with open(path, "rb") as f:
            self.data = data = f.read()
        pe, = struct.unpack_from("<I", data, 0x3C)
        assert data[pe:pe + 4] == b"PE\0\0", path
        sections, _, _, self.symbols, optional = struct.unpack_from("<HIIIH", data, pe + 6)
        opt = pe + 24
        magic, = struct.unpack_from("<H", data, opt)
        directories = opt + (96 if magic == 0x10B else 112)
        self.rsrc_rva, _ = struct.unpack_from("<II", data, directories + 8 * 2)
        self.sections = []
        for i in range(sections):
            at = opt + optional + 40 * i
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((rva, max(size, raw_size), raw))
        self.resources = {}
        if self.rsrc_rva and with_resources:  # a file of symbols alone has the headers only
            self._walk(self.offset(self.rsrc_rva), 0, [])

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address %#x in no section" % rva)

    def _name(self, entry):
        if entry & 0x80000000:
            at = self.offset(self.rsrc_rva) + (entry & 0x7FFFFFFF)
            length, = struct.unpack_from("<H", self.data, at)
            return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        return entry

    def _walk(self, table, depth, path):
        base = self.offset(self.rsrc_rva)
        named, ids = struct.unpack_from("<HH", self.data, table + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
            key = path + [self._name(name)]
            if target & 0x80000000:
                self._walk(base + (target & 0x7FFFFFFF), depth + 1, key)
            else:
                rva, size = struct.unpack_from("<II", self.data, base + target)
                at = self.offset(rva)
                self.resources[(key[0], key[1])] = self.data[at:at + size]

    def of_kind(self, kind):
        return {name: data for (k, name), data in self.resources.items() if k == kind}


RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


def fixed_version(data):
    """FILEVERSION and PRODUCTVERSION of a VS_VERSION_INFO, as dotted texts."""
    at = data.index(struct.pack("<I", 0xFEEF04BD))
    fms, fls, pms, pls = struct.unpack_from("<IIII", data, at + 8)
    dotted = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    return dotted(fms, fls), dotted(pms, pls)


def icon_sizes(group):
    """(width, height) of each image of an icon group (0 stands for 256)."""
    count, = struct.unpack_from("<H", group, 4)
    return {(group[6 + 14 * i] or 256, group[7 + 14 * i] or 256) for i in range(count)}


def imports(program):
    """(dll, function) pairs of the program's import table, the dll in lower case."""
    out = subprocess.run([OBJDUMP, "-p", program], capture_output=True, text=True, check=True).stdout
    pairs, dll = set(), None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
            continue
        m = re.match(r"\s+[0-9a-f]+\s+\d+\s+(\w+)$", line)
        if dll and m:
            pairs.add((dll, m.group(1)))
    return pairs


def reviewed_imports():
    allowed = set()
    with open(os.path.join(HERE, "windows7_imports.txt")) as f:
        for line in f:
            line = line.split("#")[0].split()
            if line:
                allowed.add((line[0].lower(), line[1]))
    return allowed


class ShippedPrograms(unittest.TestCase):
    def test_manifest_declares_density_awareness_systems_and_version(self):
        for program in PROGRAMS:
            with self.subTest(program=os.path.basename(program)):
                manifests = PortableExecutable(program).of_kind(RT_MANIFEST)
                self.assertEqual([1], list(manifests))
                root = ET.fromstring(manifests[1])
                identity = root.find("{%s}assemblyIdentity" % ASM1)
                self.assertEqual(VERSION + ".0", identity.get("version"))
                settings = root.find("{%s}application/{%s}windowsSettings" % (ASM3, ASM3))
                self.assertEqual("true/pm", settings.find("{%s}dpiAware" % WS2005).text.strip())
                awareness = [a.strip() for a in settings.find("{%s}dpiAwareness" % WS2016).text.split(",")]
                self.assertEqual(["PerMonitorV2", "PerMonitor"], awareness)
                declared = {e.get("Id") for e in root.iterfind("{%s}compatibility/{%s}application/{%s}supportedOS" % ((COMPAT,) * 3))}
                self.assertEqual(set(SUPPORTED_OS), declared)

    def test_version_resource_and_version_option_show_the_project_version(self):
        for program in PROGRAMS:
            name = os.path.basename(program)
            with self.subTest(program=name):
                versions = PortableExecutable(program).of_kind(RT_VERSION)
                self.assertEqual((VERSION + ".0",) * 2, fixed_version(versions[1]))
                if name != "Snimanje.exe":
                    # Minutes where Wine's 32-bit loader runs under emulation.
                    out = subprocess.run(["wine", program, "--version"], capture_output=True, text=True,
                                         timeout=900).stdout
                    self.assertEqual("%s %s" % (name[:-4], VERSION), out.strip())

    def test_stripped_with_symbols_beside(self):
        if BUILD_TYPE != "Release":
            self.skipTest("only the release build is stripped")
        for program in PROGRAMS:
            with self.subTest(program=os.path.basename(program)):
                self.assertEqual(0, PortableExecutable(program).symbols)
                self.assertGreater(PortableExecutable(program + ".debug", with_resources=False).symbols, 1000)

    def test_program_icon_has_every_size(self):
        snimanje = PortableExecutable(next(p for p in PROGRAMS if os.path.basename(p) == "Snimanje.exe"))
        # The first group is the one Explorer and the caption show.
        groups = sorted(snimanje.of_kind(RT_GROUP_ICON).items(), key=lambda g: (isinstance(g[0], int), g[0]))
        self.assertTrue(groups, "no icon in Snimanje.exe")
        self.assertEqual({(n, n) for n in ICON_SIZES}, icon_sizes(groups[0][1]))
        self.assertEqual(len(ICON_SIZES), len(snimanje.of_kind(RT_ICON)))

    def test_imports_are_on_the_reviewed_windows7_list(self):
        allowed = reviewed_imports()
        for program in PROGRAMS:
            with self.subTest(program=os.path.basename(program)):
                found = imports(program)
                self.assertTrue(found, "no imports read")
                self.assertEqual([], sorted("%s %s" % p for p in found - allowed),
                                 "imports not on tests/tools/windows7_imports.txt: check each against its "
                                 "documented minimum system, or look it up at run time")


if __name__ == "__main__":
    VERSION, BUILD_TYPE, OBJDUMP, PROGRAMS = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
