#!/usr/bin/env python3
"""Builds the archives the archiver tests load: written by real tools (Info-ZIP zip, 7z, bsdtar,
Python's zipfile) with comments, extra fields, backslash names, prefixed data, stored and
deflated entries, data descriptors, ZIP64 records and the traditional encryption (password
"tajna"), and one year's database packed by three of them for the restore. Usage:
make_corpus.py OUTPUT_DIR"""
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

FIXED_TIME = (2024, 3, 5, 10, 20, 30)
FIXED_EPOCH = 1709630430  # 2024-03-05 09:20:30 UTC


def text_block(seed, size):
    words = [b"snimanje", b"arhiva", b"podataka", b"kvestra", b"zip", b"direktorij"]
    out = bytearray()
    i = seed
    while len(out) < size:
        out += words[i % len(words)] + b" "
        i = (i * 7 + 3) % 101
    return bytes(out[:size])


def make_tree(root):
    os.makedirs(os.path.join(root, "sub"), exist_ok=True)
    files = {"alpha.txt": text_block(1, 3000), "beta.bin": bytes(range(256)) * 8,
             os.path.join("sub", "gamma.txt"): text_block(5, 700)}
    for name, data in files.items():
        path = os.path.join(root, name)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (FIXED_EPOCH, FIXED_EPOCH))
    os.utime(os.path.join(root, "sub"), (FIXED_EPOCH, FIXED_EPOCH))


def run(args, cwd, stdin=None):
    subprocess.run(args, cwd=cwd, check=True, input=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def python_archive():
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as z:
        z.comment = b"python archive comment"
        a = zipfile.ZipInfo("first.txt", FIXED_TIME)
        a.compress_type = zipfile.ZIP_DEFLATED
        a.comment = b"entry comment one"
        a.extra = b"\x99\x99\x04\x00abcd"  # a private extra field of 4 data bytes
        z.writestr(a, text_block(2, 5000))
        b = zipfile.ZipInfo("dir\\file.txt", FIXED_TIME)
        b.compress_type = zipfile.ZIP_STORED
        z.writestr(b, b"backslash name, stored\n")
        c = zipfile.ZipInfo("folder/", FIXED_TIME)
        c.external_attr = 0x10
        z.writestr(c, b"")
    return buf.getvalue()


def zip64_field_archive():
    """One stored entry whose central header keeps its small sizes and offset in a ZIP64 field
    while the local header has them plain, as some writers do."""
    data = b"kept in a ZIP64 field\r\n"
    crc, name = zlib.crc32(data), b"wide.txt"
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 45, 0, 0, 0x5294, 0x5865, crc, len(data), len(data), len(name), 0)
    extra = struct.pack("<HHQQQ", 1, 24, len(data), len(data), 0)
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 45, 45, 0, 0, 0x5294, 0x5865, crc, 0xFFFFFFFF,
                          0xFFFFFFFF, len(name), len(extra), 0, 0, 0, 0x20, 0xFFFFFFFF) + name + extra
    body = local + name + data
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 1, len(central), len(body), 0)
    return body + central + end


def inner_zip_last_archive():
    # The last entry is a stored archive: its own end record lies in the outer one's last bytes.
    inner = io.BytesIO()
    with zipfile.ZipFile(inner, "w") as z:
        z.writestr(zipfile.ZipInfo("inner.txt", FIXED_TIME), b"inside")
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as z:
        z.writestr(zipfile.ZipInfo("readme.txt", FIXED_TIME), b"outer")
        z.writestr(zipfile.ZipInfo("inner.zip", FIXED_TIME), inner.getvalue())
    return buf.getvalue()


def many_entries_archive(count):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", allowZip64=True) as z:
        for i in range(count):
            z.writestr(zipfile.ZipInfo("e%05d" % i, FIXED_TIME), b"")
    return buf.getvalue()


RESTORE_DATABASE = "BRODANIKVESTRA_G2024.fdb"


def restore_database():
    """A database of 700,000 bytes: text that deflates, and a stretch of bytes that does not."""
    noise, x = bytearray(), 12345
    for _ in range(100000):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        noise.append(x >> 16 & 0xFF)
    return text_block(11, 600000) + bytes(noise)


def restore_archives(out, work):
    """restore_G2024.fdb and the archives of it by zip -1, 7z and Python (restore_*.zip)."""
    folder = os.path.join(work, "restore")
    os.makedirs(folder)
    data = restore_database()
    for path in (os.path.join(folder, RESTORE_DATABASE), os.path.join(out, "restore_G2024.fdb")):
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (FIXED_EPOCH, FIXED_EPOCH))
    for name, args in (("restore_zip1.zip", ["zip", "-q", "-1"]), ("restore_7z.zip", ["7z", "a", "-tzip"])):
        target = os.path.join(out, name)
        if os.path.exists(target):
            os.remove(target)
        run(args + [target, RESTORE_DATABASE], folder)
    with zipfile.ZipFile(os.path.join(out, "restore_python.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr(zipfile.ZipInfo(RESTORE_DATABASE, FIXED_TIME), data, zipfile.ZIP_DEFLATED)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    work = tempfile.mkdtemp()
    try:
        src = os.path.join(work, "src")
        make_tree(src)

        def zip_tool(name, *options):
            target = os.path.join(out, name)
            if os.path.exists(target):
                os.remove(target)
            run(["zip", "-q", *options, target, "alpha.txt", "beta.bin", "sub/gamma.txt"], src)
            return target

        # Info-ZIP with its UT/ux extra fields (local and central lengths differ) and a comment.
        infozip = zip_tool("infozip.zip")
        run(["zip", "-q", "-z", infozip], src, stdin=b"Info-ZIP archive comment\n")
        zip_tool("infozip_stored.zip", "-0")
        # Info-ZIP streams encrypted entries (data descriptors, the time as the check byte).
        zip_tool("infozip_crypt.zip", "-P", "tajna")
        target = os.path.join(out, "sevenzip.zip")
        if os.path.exists(target):
            os.remove(target)
        run(["7z", "a", "-tzip", "-mx=5", target, "alpha.txt", "beta.bin", "sub/gamma.txt"], src)
        target = os.path.join(out, "sevenzip_crypt.zip")
        if os.path.exists(target):
            os.remove(target)
        run(["7z", "a", "-tzip", "-ptajna", "-mem=ZipCrypto", target, "alpha.txt", "beta.bin", "sub/gamma.txt"], src)
        # bsdtar streams its entries with data descriptors (flag bit 3).
        run(["bsdtar", "--format", "zip", "-cf", os.path.join(out, "bsdtar.zip"),
             "alpha.txt", "beta.bin", "sub/gamma.txt"], src)

        python = python_archive()
        with open(os.path.join(out, "python.zip"), "wb") as f:
            f.write(python)
        # 100 bytes of other data in front; offsets still count from the archive's own start.
        with open(os.path.join(out, "prefix100.zip"), "wb") as f:
            f.write(bytes((i * 37) & 0xFF for i in range(100)) + python)
        with open(os.path.join(out, "wide_prefixed.zip"), "wb") as f:
            f.write(b"P" * 100 + zip64_field_archive())
        with open(os.path.join(out, "inner_last.zip"), "wb") as f:
            f.write(inner_zip_last_archive())
        with open(os.path.join(out, "empty_commented.zip"), "wb") as f:
            f.write(b"PK\x05\x06" + bytes(16) + b"\x05\x00" + b"hello")
        with open(os.path.join(out, "many.zip"), "wb") as f:
            f.write(many_entries_archive(65536 + 10))
        with open(os.path.join(out, "not_a_zip.bin"), "wb") as f:
            f.write(text_block(9, 4000))
        restore_archives(out, work)
    finally:
        shutil.rmtree(work)
    with open(os.path.join(out, "stamp"), "w") as f:
        f.write("ok\n")


if __name__ == "__main__":
    main()
