#!/usr/bin/env python3
"""build.py OUT_DIR SIZE_MIB [SEED]: prints the path of a yearly database of at least SIZE_MIB
MiB for SEED (default 1), building it first unless OUT_DIR already holds it.

The database is made by the Firebird 3 engine itself, embedded in isql-fb (a local file path,
no server): page size 8 KiB, character set WIN1250. The rows come from rows.py and go in
through isql-fb in large transactions, as EXECUTE BLOCKs of 50 inserts (one parse per block,
not per row), chunk after chunk, until the file has grown to the size asked for. The
cache key holds the size, the seed and a digest of these sources, so a changed generator
builds anew; a build in progress has a .part name and is never taken for a finished one."""
import hashlib
import itertools
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import rows  # noqa: E402

YEAR = 2024
# About what one document (an invoice with its items and bookings) takes in the file; only
# spreads the documents over the year and sizes the chunks, the file size decides the end.
BYTES_PER_DOCUMENT = 2900
STATEMENTS_PER_BLOCK = 50  # at most 255 table contexts in a block; smaller ones parse no slower
ISQL = ["isql-fb", "-q", "-b", "-ch", "UTF8", "-user", "SYSDBA"]


def sources_digest():
    h = hashlib.sha256()
    for name in ("build.py", "rows.py", "company.py", "schema.sql"):
        with open(os.path.join(HERE, name), "rb") as f:
            h.update(f.read())
    return h.hexdigest()[:10]


class Isql:
    """isql-fb running a script on DB (None: the script creates its database). It reads a file,
    not a pipe: from a pipe it reads byte by byte, which costs more than the inserts."""

    def __init__(self, db, script):
        self.out = tempfile.TemporaryFile()
        self.process = subprocess.Popen(ISQL + ["-i", script] + ([db] if db else []), stdin=subprocess.DEVNULL,
                                        stdout=self.out, stderr=subprocess.STDOUT)

    def wait(self):
        code = self.process.wait()
        self.out.seek(0)
        text = self.out.read().decode("utf-8", "replace")
        self.out.close()
        if code != 0 or "Statement failed" in text:
            raise RuntimeError("isql-fb failed (%d): %s" % (code, text.strip()[:2000]))


def write_script(path, pieces):
    with open(path, "w", encoding="utf-8") as f:
        for piece in pieces:
            f.write(piece)
    return path


def transaction(statements):
    """Yields the SQL text of one transaction of STATEMENTS, in blocks."""
    yield "SET TERM ^ ;\n"
    block = []
    for s in statements:
        block.append(s)
        if len(block) == STATEMENTS_PER_BLOCK:
            yield "EXECUTE BLOCK AS BEGIN\n" + ";\n".join(block) + ";\nEND^\n"
            block = []
    if block:
        yield "EXECUTE BLOCK AS BEGIN\n" + ";\n".join(block) + ";\nEND^\n"
    yield "COMMIT^\nSET TERM ; ^\n"


def gfix(db, *args):
    subprocess.run(["gfix", "-user", "SYSDBA"] + list(args) + [db], check=True)


def build(path, mib, seed, scratch):
    target = mib * 1048576
    expected = max(1, target // BYTES_PER_DOCUMENT)
    books = rows.YearlyBooks(seed, YEAR, expected)
    if os.path.exists(path):
        os.remove(path)
    with open(os.path.join(HERE, "schema.sql"), encoding="utf-8") as f:
        schema = f.read()
    create = "CREATE DATABASE '%s' USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1250;\n" % path
    Isql(None, write_script(os.path.join(scratch, "schema.sql"), [create, schema])).wait()
    # Building with synchronous writes would wait on the disk for every page; the finished
    # file gets them back, as the company's server has them.
    gfix(path, "-write", "async")
    Isql(path, write_script(os.path.join(scratch, "master.sql"), transaction(books.master_data()))).wait()

    # The next chunk is written while isql-fb takes the one before; it is dropped unused when
    # that one brought the file to the size, so the rows in the file depend on seed and size only.
    documents = books.documents()
    chunk = max(200, expected // 64)
    started = time.monotonic()
    running = None
    for n in itertools.count():
        script = write_script(os.path.join(scratch, "chunk%d.sql" % (n % 2)),
                              transaction(s for _ in range(chunk) for s in next(documents)))
        if running:
            running.wait()
            done = os.path.getsize(path)
            print("  %d of %d MiB, %.0f s" % (done // 1048576, mib, time.monotonic() - started), file=sys.stderr)
            if done >= target:
                break
        running = Isql(path, script)
    gfix(path, "-write", "sync")


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    out_dir, mib = sys.argv[1], int(sys.argv[2])
    seed = int(sys.argv[3]) if len(sys.argv) == 4 else 1
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.abspath(os.path.join(out_dir, "BRODANIKVESTRA_G%d-%dMiB-seed%d-%s.fdb" % (
        YEAR, mib, seed, sources_digest())))
    if not os.path.exists(path):
        print("building %s" % path, file=sys.stderr)
        part = path[:-len(".fdb")] + ".part.fdb"
        with tempfile.TemporaryDirectory() as scratch:
            build(part, mib, seed, scratch)
        os.replace(part, path)
    print(path)


if __name__ == "__main__":
    main()
