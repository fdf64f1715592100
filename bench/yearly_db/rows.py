"""The rows of one business year, as SQL INSERT statements, drawn from a seeded random stream:
the same seed and the same expected number of documents give the same statements, in the same
order, on any machine (random.Random with a string seed does not depend on hash randomisation).

Master data first (towns, accounts, partners, articles), then an endless stream of documents:
sales invoices (wholesale on account, retail for cash or card with fiscalisation codes) and
purchase invoices, each with its items and its general-ledger bookings, payments included.
Money is kept in integer cents and rounded half up, as an accounting program does."""
import datetime
import random

import company

PARTNER_COUNT = 2500
RETAIL_CUSTOMER = 1  # the walk-in customer ("Kupac građanin") of every cash sale


def sql_text(s):
    return "'" + s.replace("'", "''") + "'" if s else "NULL"


def money(cents):
    """A non-negative amount in cents as a decimal literal."""
    return "%d.%02d" % divmod(cents, 100)


def scaled(value, places):
    """value: an integer count of 10**-places units, written as a decimal literal."""
    unit = 10 ** places
    return "%d.%0*d" % (value // unit, places, value % unit)


def percent_of(cents, percent_hundredths):
    """cents * percent / 100, percent given in hundredths of a percent, rounded half up."""
    return (cents * percent_hundredths + 5000) // 10000


def oib(rng):
    """Eleven digits whose last is the ISO 7064 MOD 11,10 check digit, as a Croatian OIB."""
    digits = [rng.randrange(10) for _ in range(10)]
    a = 10
    for d in digits:
        a = (a + d) % 10 or 10
        a = a * 2 % 11
    return "".join(map(str, digits)) + str((11 - a) % 10)


def iban(rng):
    bban = rng.choice(company.BANK_CODES) + "%010d" % rng.randrange(10 ** 10)
    check = 98 - int(bban + "172700") % 97  # "HR" -> 17 27, then "00"
    return "HR%02d%s" % (check, bban)


def ean13(body12):
    total = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(body12))
    return body12 + str((10 - total % 10) % 10)


class YearlyBooks:
    def __init__(self, seed, year, expected_documents):
        self.seed = seed
        self.year = year
        self.expected = max(1, expected_documents)
        self.first_day = datetime.date(year, 1, 1)
        self.days = (datetime.date(year + 1, 1, 1) - self.first_day).days
        self.partners = []   # (id, name, rabat hundredths, payment days, is supplier)
        # (id, name as SQL, price and cost in 1/10000 EUR, VAT in hundredths of a percent, and
        # the three as SQL literals)
        self.articles = []

    # --- master data -------------------------------------------------------------------------

    def master_data(self):
        rng = random.Random("master/%d" % self.seed)
        rows = []
        for i, (code, town, county) in enumerate(company.TOWNS, 1):
            rows.append("INSERT INTO MJESTA VALUES (%d, '%s', %s, %s)" % (i, code, sql_text(town), sql_text(county)))
        for number, name in company.ACCOUNTS:
            rows.append("INSERT INTO KONTA VALUES ('%s', %s)" % (number, sql_text(name)))
        rows.extend(self._partners(rng))
        rows.extend(self._articles(rng))
        return rows

    def _partners(self, rng):
        rows = []
        seen_oib = set()
        for pid in range(1, PARTNER_COUNT + 1):
            owner = "%s %s" % (rng.choice(company.FIRST_NAMES), rng.choice(company.SURNAMES))
            if pid == RETAIL_CUSTOMER:
                name, supplier, rabat, days = "Kupac građanin", False, 0, 0
            else:
                form = rng.choice(company.LEGAL_FORMS)
                trade = rng.choice(company.TRADES)
                if form == "obrt":
                    name = '%s "%s", vl. %s' % (trade, rng.choice(company.FANCY), owner)
                else:
                    name = "%s %s %s" % (trade, owner.split()[1], form)
                supplier = rng.random() < 0.15
                rabat = rng.choice((0, 0, 0, 200, 300, 500, 1000))
                days = rng.choice((0, 8, 15, 15, 30, 30, 60))
            while True:
                number = oib(rng)
                if number not in seen_oib:
                    seen_oib.add(number)
                    break
            town = rng.randrange(len(company.TOWNS)) + 1
            street = "%s %d" % (rng.choice(company.STREETS), rng.randrange(1, 180))
            phone = "0%d %03d %04d" % (rng.choice((1, 21, 51, 31, 23, 42, 20, 52)), rng.randrange(1000),
                                       rng.randrange(10000))
            mail = "info@%s.hr" % owner.split()[1].lower().translate(_ASCII) if rng.random() < 0.7 else ""
            note = rng.choice(("", "", "", "Dostava samo radnim danom do 14 h.", "Kupac traži e-račun.",
                               "Plaća predujmom.", "Blokiran za isporuke do podmirenja duga."))
            rows.append("INSERT INTO PARTNERI VALUES (%d, 'P%05d', %s, '%s', %s, %d, '%s', %s, '%s', '%s', '%s', %s, %d, %s, %s)" % (
                pid, pid, sql_text(name), number, sql_text(street), town, phone, sql_text(mail), iban(rng),
                "D", "D" if supplier else "N", scaled(rabat, 2), days, sql_text(owner), sql_text(note)))
            self.partners.append((pid, name, rabat, days, supplier))
        self.suppliers = [p for p in self.partners if p[4]] or self.partners[1:2]
        self.customers = [p for p in self.partners[1:] if not p[4]]
        return rows

    def _articles(self, rng):
        rows = []
        aid = 0
        for g, (group, (vat, unit, goods)) in enumerate(company.GOODS.items(), 1):
            for n, (name, package, base) in enumerate(goods, 1):
                for b, brand in enumerate(company.BRANDS, 1):
                    for pack in (1, 6, 12):
                        aid += 1
                        factor = rng.uniform(0.85, 1.25) * pack
                        price = int(base * factor * 100 + 0.5) * 100       # 1/10000 EUR, whole cents
                        cost = int(price * rng.uniform(0.68, 0.86))
                        full = "%s %s %s" % (name, brand, package) if package else "%s (%s)" % (name, brand)
                        if pack > 1:
                            full += " (%d/1)" % pack
                        code = "%02d%03d%02d%02d" % (g, n, b, pack)
                        supplier = rng.choice(self.suppliers)[0]
                        rows.append("INSERT INTO ARTIKLI VALUES (%d, '%s', %s, %s, '%s', %s, %s, %s, '%s', %d)" % (
                            aid, code, sql_text(full[:80]), sql_text(group), "pak" if pack > 1 else unit,
                            scaled(cost, 4), money(price // 100), scaled(vat * 100, 2),
                            ean13("385%09d" % (aid * 7919 % 10 ** 9)), supplier))
                        self.articles.append((aid, sql_text(full[:80]), price, cost, vat * 100,
                                              scaled(price, 4), scaled(cost, 4), scaled(vat * 100, 2)))
        return rows

    # --- documents -----------------------------------------------------------------------

    def documents(self):
        """Yields, per document, the list of its statements; without end."""
        rng = random.Random("documents/%d/%d" % (self.seed, self.expected))
        item_id = ledger_id = 0
        sale_no = {"VP1": 0, "MP1": 0, "MP2": 0}
        doc = 0
        while True:
            doc += 1
            day = min(self.days - 1, (doc - 1) * self.days // self.expected)
            date = self.first_day + datetime.timedelta(days=day)
            per_day = max(1, self.expected // self.days)
            seconds = 7 * 3600 + ((doc - 1) % per_day) * (12 * 3600) // per_day + rng.randrange(60)
            entered = "%s %02d:%02d:%02d" % (date.isoformat(), seconds // 3600, seconds // 60 % 60, seconds % 60)
            purchase = rng.random() < 0.15
            retail = not purchase and rng.random() < 0.45
            if purchase:
                partner = rng.choice(self.suppliers)
                number = rng.choice(("R-%d-%05d" % (self.year, rng.randrange(99999)),
                                     "%d-1-1" % rng.randrange(1, 20000), "%06d/%d" % (rng.randrange(999999), self.year)))
                count = rng.randrange(3, 30)
                payment = "transakcijski račun"
            elif retail:
                partner = self.partners[RETAIL_CUSTOMER - 1]
                place = rng.choice(("MP1", "MP2"))
                sale_no[place] += 1
                number = "%d/%s/%d" % (sale_no[place], place, rng.choice((1, 1, 2)))
                count = rng.randrange(1, 8)
                payment = rng.choice(("gotovina", "kartica"))
            else:
                partner = self.customers[int(len(self.customers) * rng.random() ** 2)]
                sale_no["VP1"] += 1
                number = "%d/VP1/1" % sale_no["VP1"]
                count = rng.randrange(2, 26)
                payment = "transakcijski račun"
            pid, pname, rabat, days, _ = partner
            rabat_sql = "0.00" if retail else scaled(rabat, 2)
            due = date + datetime.timedelta(days=days)

            items = []
            base_total = vat_total = cost_total = 0
            for rbr in range(1, count + 1):
                aid, aname, price, cost, vat, price_sql, cost_sql, vat_sql = \
                    self.articles[int(len(self.articles) * rng.random() ** 1.5)]
                qty = rng.randrange(1, 6) * 1000 if retail else rng.randrange(1, 60) * 1000
                if rng.random() < 0.1:
                    qty += rng.randrange(1000)
                unit_price = cost if purchase else price
                line_rabat = 0 if retail else rabat
                gross = (qty * unit_price + 50000) // 100000              # cents
                base = gross - percent_of(gross, line_rabat)
                vat_cents = percent_of(base, vat)
                base_total += base
                vat_total += vat_cents
                cost_total += (qty * cost + 50000) // 100000
                item_id += 1
                items.append("INSERT INTO STAVKE VALUES (%d, %d, %d, %d, %s, %d.%03d, %s, %s, %s, %s, %s)" % (
                    item_id, doc, rbr, aid, aname, qty // 1000, qty % 1000, cost_sql if purchase else price_sql,
                    rabat_sql, vat_sql, money(base), money(vat_cents)))
            total = base_total + vat_total

            fiscal = payment in ("gotovina", "kartica")
            zki = "'%032x'" % rng.getrandbits(128) if fiscal else "NULL"
            jir = "NULL"
            if fiscal:
                h = "%032x" % rng.getrandbits(128)
                jir = "'%s-%s-%s-%s-%s'" % (h[:8], h[8:12], h[12:16], h[16:20], h[20:])
            notes = company.NOTES_PURCHASE if purchase else ("",) if retail else company.NOTES_SALE
            statements = ["INSERT INTO RACUNI VALUES (%d, '%s', %s, '%s', '%s', %d, %s, %s, %s, %s, %s, %s, %s, %s, '%s')" % (
                doc, "UR" if purchase else "IR", sql_text(number), date.isoformat(), due.isoformat(), pid,
                sql_text(payment), money(base_total), money(vat_total), money(total), zki, jir,
                sql_text(rng.choice(company.OPERATORS)), sql_text(rng.choice(notes)), entered)]
            statements.extend(items)

            label = "%s %s - %s" % ("UR" if purchase else "IR", number, pname)
            journal = (500 if purchase else 100) + day
            if purchase:
                bookings = [("6600", base_total, 0), ("1400", vat_total, 0), ("2200", 0, total)]
            elif retail:
                bookings = [("1020", total, 0), ("7600", 0, base_total), ("2400", 0, vat_total),
                            ("7100", cost_total, 0), ("6600", 0, cost_total)]
            else:
                bookings = [("1200", total, 0), ("7600", 0, base_total), ("2400", 0, vat_total),
                            ("7100", cost_total, 0), ("6600", 0, cost_total)]
            paid = not retail and rng.random() < 0.8
            for account, debit, credit in bookings:
                ledger_id += 1
                statements.append(self._booking(ledger_id, journal, date, account, pid, doc, label, debit, credit))
            if paid:
                pay_date = min(due + datetime.timedelta(days=rng.randrange(-3, 20)), self.first_day.replace(month=12, day=31))
                pay_date = max(pay_date, date)
                text = ("Plaćanje " if purchase else "Naplata ") + label
                pairs = [("2200", total, 0), ("1000", 0, total)] if purchase else [("1000", total, 0), ("1200", 0, total)]
                for account, debit, credit in pairs:
                    ledger_id += 1
                    statements.append(self._booking(ledger_id, 900 + (pay_date - self.first_day).days, pay_date,
                                                    account, pid, doc, text, debit, credit))
            yield statements

    @staticmethod
    def _booking(lid, journal, date, account, pid, doc, text, debit, credit):
        return "INSERT INTO GLAVNA_KNJIGA VALUES (%d, %d, '%s', '%s', %d, %d, %s, %s, %s)" % (
            lid, journal, date.isoformat(), account, pid, doc, sql_text(text[:100]), money(debit), money(credit))


_ASCII = str.maketrans("čćžšđČĆŽŠĐ", "cczsdCCZSD")
