#!/usr/bin/env python3
"""Tests of the benchmark's yearly database generator (bench/yearly_db): the rows are the same
for the same seed, the books add up, the identifiers carry valid check digits, and a real
Firebird engine builds the same file contents twice and reuses its cache.

Usage: yearly_db_test.py PATH_TO_BENCH_YEARLY_DB"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

YEARLY_DB = None
rows = None

LITERAL = re.compile(r"'(?:[^']|'')*'|[^,\s()]+")


def values(statement):
    """The literals of an INSERT ... VALUES (...) statement, strings unquoted."""
    table = statement.split()[2]
    inner = statement[statement.index("VALUES (") + 8:-1]
    out = []
    for token in LITERAL.findall(inner):
        out.append(token[1:-1].replace("''", "'") if token.startswith("'") else token)
    return table, out


def cents(literal):
    return round(float(literal) * 100)


def oib_valid(number):
    """ISO 7064 MOD 11,10 run over all eleven digits ends on 1."""
    product = 10
    for i, d in enumerate(map(int, number)):
        total = (d + product) % 10
        if i == 10:
            return total == 1
        product = (total or 10) * 2 % 11


def iban_valid(iban):
    moved = iban[4:] + iban[:4]
    return int("".join(str(int(c, 36)) for c in moved)) % 97 == 1


def ean_valid(code):
    return sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(code)) % 10 == 0


def first_documents(seed, count, expected=5000):
    books = rows.YearlyBooks(seed, 2024, expected)
    master = books.master_data()
    documents = books.documents()
    return master, [next(documents) for _ in range(count)]


class Rows(unittest.TestCase):
    def test_same_seed_same_rows_other_seed_other_rows(self):
        a = first_documents(3, 300)
        self.assertEqual(a, first_documents(3, 300))
        b = first_documents(4, 300)
        self.assertNotEqual(a[0], b[0])
        self.assertNotEqual(a[1], b[1])

    def test_identifiers_carry_valid_check_digits(self):
        master, _ = first_documents(5, 0)
        partners = [values(s)[1] for s in master if s.startswith("INSERT INTO PARTNERI")]
        articles = [values(s)[1] for s in master if s.startswith("INSERT INTO ARTIKLI")]
        self.assertEqual(len(partners), rows.PARTNER_COUNT)
        self.assertEqual(len({p[3] for p in partners}), len(partners), "OIBs repeat")
        for p in partners:
            self.assertTrue(oib_valid(p[3]), p[3])
            self.assertTrue(iban_valid(p[8]) and p[8].startswith("HR") and len(p[8]) == 21, p[8])
        for a in articles:
            self.assertTrue(ean_valid(a[8]) and a[8].startswith("385"), a[8])

    def test_books_add_up(self):
        _, documents = first_documents(6, 2000)
        kinds = set()
        for statements in documents:
            by_table = {}
            for s in statements:
                table, vals = values(s)
                by_table.setdefault(table, []).append(vals)
            (invoice,) = by_table["RACUNI"]
            items, bookings = by_table["STAVKE"], by_table["GLAVNA_KNJIGA"]
            kinds.add((invoice[1], invoice[6]))
            self.assertEqual(cents(invoice[7]), sum(cents(i[9]) for i in items), invoice)
            self.assertEqual(cents(invoice[8]), sum(cents(i[10]) for i in items), invoice)
            self.assertEqual(cents(invoice[9]), cents(invoice[7]) + cents(invoice[8]), invoice)
            self.assertEqual(sum(cents(b[7]) for b in bookings), sum(cents(b[8]) for b in bookings), invoice)
            for i in items:
                self.assertIn(i[8], ("5.00", "13.00", "25.00"))
                self.assertLessEqual(abs(cents(i[10]) - cents(i[9]) * float(i[8]) / 100), 0.5)
            self.assertEqual(invoice[10] != "NULL", invoice[6] in ("gotovina", "kartica"), invoice)
            self.assertTrue(invoice[3].startswith("2024-"))
        self.assertEqual({k for k, _ in kinds}, {"IR", "UR"})
        self.assertEqual({p for _, p in kinds}, {"gotovina", "kartica", "transakcijski račun"})


@unittest.skipIf(shutil.which("isql-fb") is None, "Firebird's isql-fb is not installed")
class RealEngine(unittest.TestCase):
    SIZE_MIB = 3

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="yearly-db-")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def build(self, out_dir):
        r = subprocess.run([sys.executable, os.path.join(YEARLY_DB, "build.py"), out_dir, str(self.SIZE_MIB), "9"],
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
        self.assertEqual(r.returncode, 0, r.stderr)
        return r.stdout.strip()

    def query(self, db, sql):
        r = subprocess.run(["isql-fb", "-q", "-b", "-ch", "UTF8", "-user", "SYSDBA", db], input=sql,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=120)
        self.assertEqual(r.returncode, 0, r.stdout)
        return r.stdout

    def test_builds_the_same_rows_twice_and_reuses_its_cache(self):
        first = self.build(os.path.join(self.dir, "a"))
        self.assertGreaterEqual(os.path.getsize(first), self.SIZE_MIB * 1048576)
        built = os.stat(first).st_mtime_ns
        self.assertEqual(self.build(os.path.join(self.dir, "a")), first)
        self.assertEqual(os.stat(first).st_mtime_ns, built, "the cached database was built again")
        self.assertEqual(os.listdir(os.path.join(self.dir, "a")), [os.path.basename(first)])

        header = self.query(first, "SET LIST ON; SELECT MON$PAGE_SIZE, MON$FORCED_WRITES FROM MON$DATABASE;"
                                   "SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE;"
                                   "SELECT NAZIV FROM PARTNERI WHERE ID = 1;")
        self.assertRegex(header, r"MON\$PAGE_SIZE\s+8192")
        self.assertRegex(header, r"MON\$FORCED_WRITES\s+1")
        self.assertRegex(header, r"RDB\$CHARACTER_SET_NAME\s+WIN1250")
        self.assertIn("Kupac građanin", header)

        second = self.build(os.path.join(self.dir, "b"))
        dump = ("SELECT * FROM PARTNERI ORDER BY ID; SELECT * FROM ARTIKLI ORDER BY ID;"
                "SELECT * FROM RACUNI ORDER BY ID; SELECT * FROM STAVKE ORDER BY ID;"
                "SELECT * FROM GLAVNA_KNJIGA ORDER BY ID;")
        self.assertEqual(self.query(first, dump), self.query(second, dump))


if __name__ == "__main__":
    YEARLY_DB = os.path.abspath(sys.argv.pop(1))
    sys.path.insert(0, YEARLY_DB)
    import rows  # noqa: E402,F811
    unittest.main(verbosity=2)
