#pragma once
// Every text the backup shows the operator, in code page 1250. "%s" stands for the path the text
// is about (and, in the unexpected failure, for the system's own words after it).
//
// Both outcome messages keep their first line; the second says what happened.
inline constexpr const char* kSuccessMessage = "Baze je uspje\x9a" "no snimljena!";
inline constexpr const char* kFailureMessage = "Gre\x9a" "ka u izradi kopije podataka!";

inline constexpr const char* kArchiveWrittenText = "Arhiva: %s";

// What a running backup is doing, over its progress bar.
inline constexpr const char* kCopyingText = "Kopiranje baze\x85";
inline constexpr const char* kPackingText = "Pakiranje\x85";
inline constexpr const char* kVerifyingText = "Provjera arhive\x85";

// Why a backup failed.
inline constexpr const char* kDatabaseMissingText = "Baza %s nije prona\xf0" "ena; provjerite godinu.";
inline constexpr const char* kDatabaseInUseText =
    "Baza %s otvorena je u drugom programu; zatvorite ga i poku\x9a" "ajte ponovno.";
inline constexpr const char* kDatabaseUnreadableText = "Baza %s ne mo\x9e" "e se pro\xe8itati.";
inline constexpr const char* kFolderNotCreatedText = "Direktorij %s ne mo\x9e" "e se napraviti.";
inline constexpr const char* kNotWritableText = "Zapisivanje u %s nije dopu\x9a" "teno.";
inline constexpr const char* kDiskFullText = "Na disku nema dovoljno mjesta za %s.";
inline constexpr const char* kFileInUseText =
    "Datoteka %s otvorena je u drugom programu; zatvorite ga i poku\x9a" "ajte ponovno.";
inline constexpr const char* kVerificationFailedText =
    "Provjera arhive %s nije uspjela: zapisani podaci nisu ispravni.";
// A stop the operator asked for is told with this line alone: it is not a failure.
inline constexpr const char* kCancelledText = "Snimanje je prekinuto; arhiva %s nije promijenjena.";
inline constexpr const char* kUnexpectedText = "Neo\xe8" "ekivana gre\x9a" "ka kod %s: %s";

// Input that stops the backup before anything is written.
inline constexpr const char* kDateInvalidText = "Datum nije ispravan. Upi\x9a" "ite datum snimanja.";
inline constexpr const char* kYearInvalidText = "Godina mora imati \xe8" "etiri znamenke (na primjer 2024).";
inline constexpr const char* kFolderMissingText = "Upi\x9a" "ite direktorij za snimanje.";
inline constexpr const char* kFolderTooLongText =
    "Direktorij za snimanje je preduga\xe8" "ak za ime arhive; odaberite kra\xe6" "i.";

// A backup that would not fit, refused before anything is written: "Na disku <volume> nema
// dovoljno mjesta " and one of the two reasons after it. Sizes read as "320 MB" or "1,2 GB".
inline constexpr const char* kNoSpaceText = "Na disku %s nema dovoljno mjesta %s";
inline constexpr const char* kNoSpaceForCopyText = "za kopiju baze: potrebno je %s, slobodno %s.";
inline constexpr const char* kNoSpaceForArchiveText = "za arhivu: potrebno je oko %s, slobodno %s.";
inline constexpr const char* kOlderArchivesText = " Starijih arhiva te godine u %s: %d (%s).";
inline constexpr const char* kMegabytesText = "%s MB";
inline constexpr const char* kGigabytesText = "%s GB";

// The success message's part about the older archives the kept number let go.
inline constexpr const char* kPrunedText = "Uklonjene starije arhive: %d (%s).";
inline constexpr const char* kNotPrunedText = "Ne mo\x9e" "e se ukloniti: %s";

// The last archive of the chosen year in the chosen folder, right of the year.
inline constexpr const char* kLastArchiveText = "Zadnja arhiva: %s (%s)";
inline constexpr const char* kTodayText = "danas";
inline constexpr const char* kDayAgoText = "prije %d dan";    // 1, 21, 31 ...
inline constexpr const char* kDaysAgoText = "prije %d dana";  // every other number
inline constexpr const char* kNoArchiveText = "Zadnja arhiva: nema je";
inline constexpr const char* kNoFolderText = "Zadnja arhiva: direktorij ne postoji";
inline constexpr const char* kLookingUpText = "Zadnja arhiva: tra\x9eim\x85";

// How a run ended, in the history log.
inline constexpr const char* kOutcomeSavedText = "uspjelo";
inline constexpr const char* kOutcomeFailedText = "neuspjelo";
inline constexpr const char* kOutcomeRefusedText = "odbijeno";
inline constexpr const char* kOutcomeStoppedText = "prekinuto";
inline constexpr const char* kRemovedText = "uklonjeno: %s";

// snimanje_backup.exe --help.
inline constexpr const char* kBackupToolHelpText =
    "snimanje_backup [-n] [-v] [--keep N] DIREKTORIJ_BAZE DIREKTORIJ_ARHIVE GODINA\n"
    "Snima bazu BRODANIKVESTRA_G<GODINA>.fdb iz DIREKTORIJ_BAZE u arhivu s dana\x9anjim datumom\n"
    "u DIREKTORIJ_ARHIVE, kao \x9atio je snima dijalog \"Snimanje podataka\".\n"
    "  --keep N  nakon uspjeha ostavlja samo N najnovijih arhiva te godine (0: sve);\n"
    "            bez opcije vrijedi KeepArchives iz Snimanje.INI\n"
    "  -n        bez \xe8itanja zapisane arhive natrag\n"
    "  -v        trajanje svake faze na izlaz za gre\x9ake\n"
    "  --help    ovaj opis\n"
    "Izlazni kod: 0 uspjeh, 1 neuspjeh, 2 neispravan poziv ili unos.\n"
    "Svako snimanje upisuje se u Snimanje.log, uz Snimanje.INI (%APPDATA%\\Snimanje\\).\n";
