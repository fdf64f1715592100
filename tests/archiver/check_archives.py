#!/usr/bin/env python3
"""Checks the archives the Wine tests left behind with independent readers: Info-ZIP's
`unzip -t`, 7-Zip's `7z t` and Python's zipfile must all accept every archive, and where NAME.zip.expect lists
entry names (one a line) the archive must hold exactly those, in that order.
Usage: check_archives.py DIR"""
import glob
import os
import subprocess
import sys
import zipfile


def check(path):
    problems = []
    r = subprocess.run(["unzip", "-tq", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                       errors="replace")
    # Exit code 1 is a warning (data in front of the archive, an empty archive) with the test passed.
    accepted = r.returncode == 0 or (r.returncode == 1 and ("No errors detected" in r.stdout
                                                            or "zipfile is empty" in r.stdout))
    if not accepted:
        problems.append("unzip -t failed (%d): %s" % (r.returncode, r.stdout.strip()))
    # 7-Zip refuses data in front of an archive whose offsets leave it out (unzip only warns), as
    # it refuses any such file; those archives are left to the other two readers.
    prefixed = "extra bytes at beginning" in r.stdout
    if not prefixed:
        # An empty password (-p) keeps 7z from asking for one.
        r = subprocess.run(["7z", "t", "-bd", "-p", path], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True, errors="replace")
        if r.returncode != 0:
            problems.append("7z t failed (%d): %s" % (r.returncode, r.stdout.strip()[-500:]))
    try:
        with zipfile.ZipFile(path) as z:
            bad = z.testzip()
            if bad is not None:
                problems.append("zipfile: bad entry %s" % bad)
            names = [i.filename for i in z.infolist()]
    except Exception as e:  # any refusal is a finding
        problems.append("zipfile: %s" % e)
        names = None
    expect = path + ".expect"
    if names is not None and os.path.exists(expect):
        with open(expect, encoding="latin-1") as f:
            wanted = [line.rstrip("\n") for line in f if line.strip()]
        if names != wanted:
            problems.append("names %r, expected %r" % (names[:20], wanted[:20]))
    return problems


def main():
    paths = sorted(glob.glob(os.path.join(sys.argv[1], "*.zip")))
    if not paths:
        print("no archives to check in", sys.argv[1])
        return 1
    failed = 0
    for path in paths:
        problems = check(path)
        status = "ok" if not problems else "FAILED"
        print("%-40s %s" % (os.path.basename(path), status))
        for p in problems:
            print("    " + p)
        failed += bool(problems)
    print("%d archives, %d failed" % (len(paths), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
