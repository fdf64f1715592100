#!/usr/bin/env python3
"""check_archive.py INPUT ARCHIVE...: each ARCHIVE must pass Info-ZIP's `unzip -t`, and Python's
zipfile must find in it exactly one entry that reads back to INPUT's bytes (size and CRC-32)."""
import subprocess
import sys
import zipfile
import zlib


def crc_of(path):
    crc = 0
    with open(path, "rb") as f:
        while block := f.read(1 << 20):
            crc = zlib.crc32(block, crc)
    return crc


def main():
    source, archives = sys.argv[1], sys.argv[2:]
    crc, size = crc_of(source), None
    with open(source, "rb") as f:
        size = f.seek(0, 2)
    failed = False
    for path in archives:
        problems = []
        r = subprocess.run(["unzip", "-tq", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if r.returncode != 0:
            problems.append("unzip -t: " + r.stdout.strip())
        with zipfile.ZipFile(path) as z:
            entries = z.infolist()
            if len(entries) != 1:
                problems.append("%d entries" % len(entries))
            elif entries[0].file_size != size or entries[0].CRC != crc:
                problems.append("entry %s: %d bytes, CRC %08x; the input has %d, %08x" % (
                    entries[0].filename, entries[0].file_size, entries[0].CRC, size, crc))
            elif z.testzip() is not None:
                problems.append("zipfile: the data does not match its CRC")
        if problems:
            failed = True
            print("%s: %s" % (path, "; ".join(problems)), file=sys.stderr)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
