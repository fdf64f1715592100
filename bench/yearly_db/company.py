"""The words a small Croatian wholesale and retail company's books are made of: towns, people,
streets, goods, accounts. Fixed lists; the row generator draws from them with its seeded random."""

# (postal code, town, county)
TOWNS = [
    ("10000", "Zagreb", "Grad Zagreb"), ("21000", "Split", "Splitsko-dalmatinska"),
    ("51000", "Rijeka", "Primorsko-goranska"), ("31000", "Osijek", "Osječko-baranjska"),
    ("23000", "Zadar", "Zadarska"), ("10410", "Velika Gorica", "Zagrebačka"),
    ("35000", "Slavonski Brod", "Brodsko-posavska"), ("52100", "Pula", "Istarska"),
    ("47000", "Karlovac", "Karlovačka"), ("42000", "Varaždin", "Varaždinska"),
    ("22000", "Šibenik", "Šibensko-kninska"), ("44000", "Sisak", "Sisačko-moslavačka"),
    ("32100", "Vinkovci", "Vukovarsko-srijemska"), ("32000", "Vukovar", "Vukovarsko-srijemska"),
    ("20000", "Dubrovnik", "Dubrovačko-neretvanska"), ("43000", "Bjelovar", "Bjelovarsko-bilogorska"),
    ("48000", "Koprivnica", "Koprivničko-križevačka"), ("34000", "Požega", "Požeško-slavonska"),
    ("31400", "Đakovo", "Osječko-baranjska"), ("40000", "Čakovec", "Međimurska"),
    ("10430", "Samobor", "Zagrebačka"), ("21212", "Kaštel Sućurac", "Splitsko-dalmatinska"),
    ("21300", "Makarska", "Splitsko-dalmatinska"), ("48350", "Đurđevac", "Koprivničko-križevačka"),
    ("53000", "Gospić", "Ličko-senjska"), ("33000", "Virovitica", "Virovitičko-podravska"),
    ("49000", "Krapina", "Krapinsko-zagorska"), ("52440", "Poreč", "Istarska"),
    ("52210", "Rovinj", "Istarska"), ("20350", "Metković", "Dubrovačko-neretvanska"),
    ("22300", "Knin", "Šibensko-kninska"), ("51410", "Opatija", "Primorsko-goranska"),
    ("10290", "Zaprešić", "Zagrebačka"), ("44320", "Kutina", "Sisačko-moslavačka"),
    ("35400", "Nova Gradiška", "Brodsko-posavska"), ("21260", "Imotski", "Splitsko-dalmatinska"),
]

FIRST_NAMES = [
    "Ivan", "Marko", "Josip", "Luka", "Tomislav", "Stjepan", "Nikola", "Željko", "Dražen", "Krešimir",
    "Ante", "Mate", "Zvonimir", "Goran", "Dario", "Ana", "Marija", "Ivana", "Petra", "Katarina",
    "Mateja", "Snježana", "Đurđica", "Zrinka", "Vesna", "Gordana", "Lucija", "Nives", "Božena", "Jasna",
]

SURNAMES = [
    "Horvat", "Kovačević", "Babić", "Marić", "Jurić", "Novak", "Knežević", "Vuković", "Marković",
    "Petrović", "Matić", "Tomić", "Pavlović", "Božić", "Blažević", "Grgić", "Pavić", "Radić", "Perić",
    "Kovačić", "Šarić", "Lovrić", "Vidović", "Perković", "Popović", "Đurić", "Živković", "Čović",
    "Barišić", "Filipović", "Šimić", "Bošnjak", "Mikulić", "Vrdoljak", "Žanić", "Čulić", "Brkić",
]

TRADES = [
    "Trgovina", "Trgovački obrt", "Ugostiteljski obrt", "Pekara", "Mesnica", "Caffe bar", "Restoran",
    "Konoba", "Prijevoz", "Građevinarstvo", "Vinarija", "Poljoprivredni obrt", "Ljekarna", "Hotel",
    "Market", "Distribucija", "Servis", "Uljara", "Mljekara", "Trgovina mješovitom robom",
]

FANCY = ["Sunce", "Jadran", "Maslina", "Lipa", "Dubrava", "Lastavica", "Galeb", "Vidikovac",
         "Zlatni klas", "Kod Mate", "Stari grad", "Kamenjar", "Bura", "Jugo", "Zora", "Plavi val"]

LEGAL_FORMS = ["d.o.o.", "j.d.o.o.", "d.d.", "obrt"]

STREETS = [
    "Ulica kralja Tomislava", "Ilica", "Vukovarska ulica", "Zagrebačka cesta", "Ulica Ante Starčevića",
    "Trg bana Josipa Jelačića", "Ulica Stjepana Radića", "Ulica hrvatskih branitelja", "Frankopanska",
    "Ulica Matije Gupca", "Savska cesta", "Ulica Petra Zrinskog", "Obala kneza Branimira",
    "Šetalište Vladimira Nazora", "Ulica bana Josipa Šokčevića", "Put Supavla", "Ulica Kneza Domagoja",
    "Ulica Andrije Hebranga", "Trg slobode", "Ulica Ivana Gorana Kovačića", "Čakovečka ulica",
    "Ulica grada Vukovara", "Ulica Franje Tuđmana", "Riva", "Ulica Eugena Kumičića",
]

# Bank codes of Croatian IBANs (HRkk + 7-digit bank code + 10-digit account).
BANK_CODES = ["2360000", "2340009", "2484008", "2402006", "2390001", "2407000", "2500009", "2330003"]

# Goods by group: the group's VAT rate (5, 13 or 25 %), unit, and (name, package, base price EUR).
GOODS = {
    "Osnovne namirnice": (5, "kom", [
        ("Brašno pšenično T-550", "1 kg", 0.89), ("Brašno kukuruzno", "1 kg", 1.19),
        ("Šećer kristal", "1 kg", 1.05), ("Jaja svježa L", "10 kom", 2.79), ("Kruh polubijeli", "0,7 kg", 1.45),
        ("Mlijeko svježe 3,2% m.m.", "1 l", 1.19), ("Mlijeko trajno 2,8% m.m.", "1 l", 1.09),
        ("Riža dugo zrno", "1 kg", 2.15), ("Tjestenina špageti", "0,5 kg", 1.29), ("Sol morska", "1 kg", 0.59),
    ]),
    "Ulja i masti": (13, "kom", [
        ("Ulje suncokretovo", "1 l", 1.99), ("Ulje maslinovo ekstra djevičansko", "0,75 l", 9.49),
        ("Ulje bučino", "0,5 l", 8.99), ("Margarin", "0,5 kg", 1.79), ("Mast svinjska", "1 kg", 3.29),
    ]),
    "Konzervirana hrana": (25, "kom", [
        ("Pašteta jetrena", "100 g", 0.89), ("Sardine u ulju", "125 g", 1.39), ("Tunjevina u komadima", "160 g", 2.49),
        ("Grah trešnjevac", "400 g", 1.09), ("Kukuruz šećerac", "340 g", 1.15), ("Ajvar blagi", "680 g", 3.49),
        ("Rajčica pelati", "400 g", 0.99), ("Kiseli krastavci", "670 g", 1.99),
    ]),
    "Slatkiši": (25, "kom", [
        ("Čokolada mliječna", "100 g", 1.39), ("Keksi čokoladni", "300 g", 2.29), ("Vafli lješnjak", "250 g", 1.89),
        ("Bomboni voćni", "1 kg", 6.49), ("Krem namaz lješnjak", "400 g", 3.99),
    ]),
    "Pića": (25, "kom", [
        ("Mineralna voda gazirana", "1,5 l", 0.79), ("Sok od naranče 100%", "1 l", 1.89),
        ("Pivo svijetlo", "0,5 l", 1.09), ("Vino graševina kvalitetno", "0,75 l", 6.99),
        ("Vino plavac mali", "0,75 l", 9.99), ("Rakija šljivovica", "0,7 l", 14.99), ("Pelinkovac", "1 l", 12.49),
        ("Kava mljevena", "250 g", 3.79), ("Čaj kamilica", "20 vrećica", 1.29),
    ]),
    "Kućanstvo": (25, "kom", [
        ("Deterdžent za rublje", "3 kg", 9.99), ("Sredstvo za pranje posuđa", "1 l", 2.19),
        ("Omekšivač rublja", "2 l", 4.49), ("Vrećice za smeće 60 l", "20 kom", 1.99),
        ("Aluminijska folija", "20 m", 2.49), ("Baterije AA alkalne", "4 kom", 3.99), ("Žarulja LED E27 9 W", "1 kom", 2.29),
    ]),
    "Higijena": (25, "kom", [
        ("Toaletni papir troslojni", "10 rola", 4.99), ("Papirnati ručnici", "2 role", 2.39),
        ("Sapun tekući", "500 ml", 1.99), ("Šampon za kosu", "400 ml", 3.49), ("Zubna pasta", "75 ml", 1.79),
    ]),
    "Voće i povrće": (5, "kg", [
        ("Jabuke idared", "", 1.29), ("Krumpir mladi", "", 0.99), ("Luk crveni", "", 1.19), ("Mandarine neretvanske", "", 1.49),
        ("Rajčica", "", 2.49), ("Paprika babura", "", 2.99), ("Kupus bijeli", "", 0.89),
    ]),
}

BRANDS = ["Podravska", "Slavonska", "Zagorska", "Istarska", "Dalmatinska", "Ličko", "Međimurska",
          "Bjelovarska", "Neretvanska", "Kvarnerska"]

OPERATORS = ["Ana K.", "Ivana M.", "Marko P.", "Snježana B.", "Tomislav Đ.", "Petra Č.", "blagajna 1",
             "blagajna 2", "veleprodaja"]

NOTES_SALE = [
    "", "", "", "",
    "Plaćanje u roku od 15 dana od dana izdavanja računa. Reklamacije se uvažavaju u roku od 8 dana.",
    "Oslobođeno plaćanja PDV-a za povratnu ambalažu. Povratna naknada uračunata.",
    "Roba preuzeta u skladištu Zagreb, Savska cesta. Prijevoz o trošku kupca.",
    "Račun izdan temeljem ponude i narudžbenice kupca.",
    "Molimo pri plaćanju navesti poziv na broj. Zatezne kamate obračunavamo od dana dospijeća.",
]

NOTES_PURCHASE = ["", "", "Primka u skladište", "Dostava u dva dijela, ostatak robe slijedi",
                  "Obračunat rabat za količinu", "Povrat ambalaže odobren knjižnim odobrenjem"]

PAYMENT = ["gotovina", "kartica", "transakcijski račun", "transakcijski račun", "transakcijski račun"]

# Chart of accounts, the ones the bookings below use.
ACCOUNTS = [
    ("1000", "Žiro račun"), ("1020", "Blagajna"), ("1200", "Kupci u zemlji"),
    ("1400", "Pretporez"), ("2200", "Dobavljači u zemlji"), ("2400", "Obveza za PDV"),
    ("6600", "Roba na skladištu"), ("7100", "Nabavna vrijednost prodane robe"),
    ("7600", "Prihodi od prodaje robe"), ("4100", "Troškovi usluga"),
]
