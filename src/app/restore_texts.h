#pragma once
// Every text the test of an archive and the restore of a database show the operator, in code
// page 1250, beside the backup's (backup_texts.h, whose causes they share). "%s" stands for the
// path the text is about.
//
// The window menu's two items.
inline constexpr const char* kTestArchiveMenuText = "Provjeri arhivu\x85";
inline constexpr const char* kRestoreMenuText = "Vrati bazu iz arhive\x85";
// The open-file dialog's filter: its name, then the pattern.
inline constexpr const char* kArchiveFilterName = "Arhive baze (BRODANIKVESTRA_G*.zip)";
inline constexpr const char* kArchiveFilterPattern = "BRODANIKVESTRA_G*.zip";

// What a running restore is doing, over its progress bar (the test of the archive shows the
// backup's "Provjera arhive...").
inline constexpr const char* kRestoringText = "Vra\xe6" "anje baze\x85";

// The test's outcome: the first line, then the archive (kArchiveWrittenText's "Arhiva: %s") or
// what is wrong with it.
inline constexpr const char* kArchiveSoundMessage = "Arhiva je ispravna.";
inline constexpr const char* kArchiveUnsoundMessage = "Arhiva nije ispravna!";
inline constexpr const char* kTestCancelledText = "Provjera arhive %s je prekinuta.";

// The restore's confirmation: the archive, the date of its database, the database it replaces.
inline constexpr const char* kConfirmRestoreText =
    "Vratiti bazu iz arhive %s (baza od %s)?\n"
    "Baza %s bit \xe6" "e zamijenjena; trenutna se \xe8" "uva kao datoteka .bak pokraj nje.";

// The restore's outcome: the fixed first line, then what happened.
inline constexpr const char* kRestoredMessage = "Baza je uspje\x9a" "no vra\xe6" "ena!";
inline constexpr const char* kRestoreFailedMessage = "Gre\x9a" "ka u vra\xe6" "anju baze!";
inline constexpr const char* kRestoredDatabaseText = "Baza: %s";
inline constexpr const char* kEarlierKeptText = "Prethodna baza sa\xe8" "uvana je kao %s.";
inline constexpr const char* kNoEarlierText = "Prethodne baze nije bilo.";
inline constexpr const char* kDatabaseUnchangedText = "Trenutna baza nije promijenjena.";

// Why a restore failed (or the test found the archive unsound), beside the backup's causes.
inline constexpr const char* kArchiveUnreadableText = "Arhiva %s ne mo\x9e" "e se pro\xe8itati.";
inline constexpr const char* kArchiveDamagedText = "Arhiva %s je o\x9a" "te\xe6" "ena (%s).";
inline constexpr const char* kNotADatabaseArchiveText =
    "Arhiva %s ne sadr\x9e" "i jednu bazu BRODANIKVESTRA_G<godina>.fdb.";
inline constexpr const char* kWrittenWrongText = "Vra\xe6" "ena baza %s nije ispravno zapisana na disk.";
inline constexpr const char* kRestoreCancelledText = "Vra\xe6" "anje je prekinuto; baza %s nije promijenjena.";
