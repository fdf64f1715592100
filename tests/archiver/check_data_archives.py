#!/usr/bin/env python3
"""Real readers check the archives the data-step and selection tests write.

  check_data_archives.py check DIR
      Every NAME.zip below DIR that has a NAME.zip.sources manifest (first line "password<TAB>pw",
      then "stored name<TAB>source path" per entry, an empty source for a folder) must pass
      `unzip -t`, `7z t`, Python's zipfile and bsdtar, hold exactly the listed entries in that
      order, and give back the source bytes when extracted by each of the four.
  check_data_archives.py zip64 VORBEX_EXE WORKDIR
      Packs a generated sparse file of more than 4 GiB with vorbex.exe under Wine and checks the
      ZIP64 archive with the same readers; also checks vorbex.exe's listing and exit codes.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile


def linux_path(windows_path):
    if windows_path[:2].upper() != "Z:":
        raise ValueError("source outside Z: %s" % windows_path)
    return windows_path[2:].replace("\\", "/")


def run(cmd, **kw):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kw)


def read_manifest(path):
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").splitlines()
    password = lines[0].split("\t", 1)[1]
    entries = [tuple(line.split("\t", 1)) for line in lines[1:] if line]
    return password, entries


def compare_tree(tool, root, entries, problems):
    for name, source in entries:
        target = os.path.join(root, name)
        if not source:
            if not os.path.isdir(target):
                problems.append("%s: folder %s not extracted" % (tool, name))
            continue
        if not os.path.isfile(target):
            problems.append("%s: %s not extracted" % (tool, name))
            continue
        with open(target, "rb") as a, open(linux_path(source), "rb") as b:
            if a.read() != b.read():
                problems.append("%s: %s differs from %s" % (tool, name, source))


def check_archive(path, password, entries, extract=True):
    problems = []
    pw = ["-P", password] if password else []
    r = run(["unzip", "-tq"] + pw + [path])
    if not (r.returncode == 0 or (r.returncode == 1 and b"zipfile is empty" in r.stdout)):
        problems.append("unzip -t: %s" % r.stdout.decode("latin-1").strip())
    r = run(["7z", "t", "-p" + password, path])
    if r.returncode != 0:
        problems.append("7z t: %s" % r.stdout.decode("latin-1").strip()[-400:])
    r = run(["bsdtar", "-tf", path])
    if r.returncode != 0:
        problems.append("bsdtar -t: %s" % r.stdout.decode("latin-1").strip())
    try:
        with zipfile.ZipFile(path) as z:
            if password:
                z.setpassword(password.encode("latin-1"))
            names = [i.filename for i in z.infolist()]
            if names != [n for n, _ in entries]:
                problems.append("zipfile: entries %r, expected %r" % (names, [n for n, _ in entries]))
            bad = z.testzip()
            if bad is not None:
                problems.append("zipfile: bad entry %s" % bad)
            for name, source in entries:
                if source and extract:
                    with open(linux_path(source), "rb") as f:
                        if z.read(name) != f.read():
                            problems.append("zipfile: %s differs from %s" % (name, source))
    except Exception as e:  # any refusal is a finding
        problems.append("zipfile: %r" % e)
    if extract and entries:
        for tool, cmd in (("unzip", lambda d: ["unzip", "-qo"] + pw + [path, "-d", d]),
                          ("7z", lambda d: ["7z", "x", "-y", "-p" + password, "-o" + d, path]),
                          ("bsdtar", lambda d: ["bsdtar", "-xf", path, "-C", d]
                           + (["--passphrase", password] if password else []))):
            with tempfile.TemporaryDirectory() as d:
                r = run(cmd(d))
                if r.returncode != 0:
                    problems.append("%s extract: %s" % (tool, r.stdout.decode("latin-1").strip()[-400:]))
                else:
                    compare_tree(tool, d, entries, problems)
    return problems


def check_dir(top):
    manifests = sorted(glob.glob(os.path.join(top, "**", "*.zip.sources"), recursive=True))
    if not manifests:
        print("no archives with manifests below %s" % top)
        return 1
    failed = 0
    for manifest in manifests:
        archive = manifest[: -len(".sources")]
        password, entries = read_manifest(manifest)
        problems = check_archive(archive, password, entries)
        print("%s %s" % ("FAIL" if problems else "ok  ", os.path.relpath(archive, top)))
        for p in problems:
            print("     " + p)
        failed += bool(problems)
    print("%d archives, %d failed" % (len(manifests), failed))
    return 1 if failed else 0


def windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def check_zip64(vorbex, work):
    shutil.rmtree(work, ignore_errors=True)
    src = os.path.join(work, "src")
    os.makedirs(src)
    big = os.path.join(src, "big.bin")
    size = (1 << 32) + 4096
    with open(big, "wb") as f:  # sparse: only a few blocks are real
        for offset, data in ((0, b"start of a big file\n" * 100), ((1 << 32) - 50, b"across the 4 GiB line" * 5),
                             (size - 11, b"end of file")):
            f.seek(offset)
            f.write(data)
        f.truncate(size)
    with open(os.path.join(src, "small.txt"), "wb") as f:
        f.write(b"small file after the big one\n" * 50)
    archive = os.path.join(work, "big.zip")
    problems = []
    wine = ["wine", vorbex]
    r = run(wine + [windows(archive), windows(src), "big.bin"])
    if r.returncode != 0:
        problems.append("vorbex create: %s" % r.stdout.decode("latin-1"))
    r = run(wine + ["-u", windows(archive), windows(src), "small.txt"])
    if r.returncode != 0:
        problems.append("vorbex -u: %s" % r.stdout.decode("latin-1"))
    r = run(wine + ["-l", windows(archive)])
    listing = r.stdout.decode("latin-1")
    if r.returncode != 0 or "big.bin" not in listing or str(size) not in listing or "2 entries" not in listing:
        problems.append("vorbex -l: %s" % listing)
    # The readers verify the CRC of all 4 GiB; extracting it three more times adds nothing.
    problems += check_archive(archive, "", [("big.bin", windows(big)), ("small.txt", windows(os.path.join(src, "small.txt")))],
                              extract=False)
    with zipfile.ZipFile(archive) as z:
        info = z.getinfo("big.bin")
        if info.file_size != size:
            problems.append("zipfile: big.bin has size %d, expected %d" % (info.file_size, size))
        with z.open("big.bin") as f:
            f.seek(size - 11)
            if f.read() != b"end of file":
                problems.append("zipfile: last bytes of big.bin differ")
        if z.read("small.txt") != b"small file after the big one\n" * 50:
            problems.append("zipfile: small.txt differs")
    # bsdtar -t reads no data; extracting to nowhere makes it check the CRC of all 4 GiB.
    r = subprocess.run(["bsdtar", "-xOf", archive, "big.bin"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if r.returncode != 0:
        problems.append("bsdtar -x: %s" % r.stderr.decode("latin-1"))
    for bad_cmd, code in ((["-m", "x", windows(archive), windows(src), "*"], 2),
                          (["-l", windows(os.path.join(work, "missing.zip"))], 1)):
        r = run(wine + bad_cmd)
        if r.returncode != code or b"vorbex: " not in r.stdout:
            problems.append("vorbex %s: exit %d, expected %d: %s" % (bad_cmd, r.returncode, code, r.stdout))
    for p in problems:
        print(p)
    print("zip64: %s" % ("FAIL" if problems else "ok"))
    if not problems:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "check":
        sys.exit(check_dir(sys.argv[2]))
    if len(sys.argv) == 4 and sys.argv[1] == "zip64":
        sys.exit(check_zip64(sys.argv[2], sys.argv[3]))
    print(__doc__)
    sys.exit(2)
