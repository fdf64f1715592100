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
inline constexpr const char* kBackupRunningText =
    "Snimanje koje koristi %s ve\xe6 je u tijeku; pri\xe8" "ekajte da zavr\x9a" "i pa poku\x9a" "ajte ponovno.";
// The drive or share (its root) or the file the disk fails at.
inline constexpr const char* kDriveUnavailableText = "Disk %s nije dostupan; provjerite je li priklju\xe8" "en.";
inline constexpr const char* kNetworkUnavailableText =
    "Mre\x9e" "na mapa %s nije dostupna; provjerite vezu s mre\x9e" "om.";
inline constexpr const char* kMediumDamagedText =
    "\xc8" "itanje ili zapisivanje %s nije uspjelo: o\x9a" "te\xe6" "en medij.";
inline constexpr const char* kUnexpectedText = "Neo\xe8" "ekivana gre\x9a" "ka kod %s: %s";

// Input that stops the backup before anything is written.
inline constexpr const char* kDateInvalidText = "Datum nije ispravan. Upi\x9a" "ite datum snimanja.";
inline constexpr const char* kYearInvalidText = "Godina mora imati \xe8" "etiri znamenke (na primjer 2024).";
inline constexpr const char* kFolderMissingText = "Upi\x9a" "ite direktorij za snimanje.";
inline constexpr const char* kFolderTooLongText =
    "Direktorij za snimanje je preduga\xe8" "ak za ime arhive; odaberite kra\xe6" "i.";
