#pragma once
// The files of a restore beside the current database: the database held so that no program can
// open it until the restored file has taken its name, the temporary file the entry is written
// to, and the .bak name the current database is kept under.
#include <cstdint>
#include <string>

// Whether name is a year's database, BRODANIKVESTRA_G<four digits>.fdb; year receives them.
bool IsDatabaseName(const std::string& name, std::string* year = nullptr);

// database + ".restore.tmp": where the entry is written until it takes the database's name.
std::string RestoreTemporaryName(const std::string& database);
// Removes what killed restores left in folder (every year's); one that another restore is
// writing is refused by the system and stays.
void RemoveRestoreLeftovers(const std::string& folder);

// database + "." + the local time as yyyy-mm-dd_hh-mm-ss + ".bak", the first such name from now
// on that no file has (a second later when that one is taken).
std::string FreeBackupName(const std::string& database);

// The current database opened so that no other program can open it at all, held until the
// object ends. Other programs that have it open (even only reading) make the opening fail with
// ERROR_SHARING_VIOLATION (raised as EOSError); a database that is not there is no failure.
// It may still be renamed (the handle shares deletion only), by MoveAside below.
class THeldDatabase {
public:
    explicit THeldDatabase(const std::string& path);
    ~THeldDatabase();
    THeldDatabase(const THeldDatabase&) = delete;
    THeldDatabase& operator=(const THeldDatabase&) = delete;

    bool Exists() const { return handle_ != nullptr; }
    // Renames the held database to to (which must not exist), written through; it stays held
    // under the new name. Raises EOSError.
    void MoveAside(const std::string& to);
    // Gives back the name after a failure further on.
    void MoveBack();

private:
    std::string path_;
    std::string movedTo_;
    void* handle_ = nullptr;
};

// Raises EOSError ERROR_DISK_FULL when folder's volume has fewer than bytes free for this user.
void CheckFreeSpace(const std::string& folder, uint64_t bytes);
// Sets the open file's last-write time to an MS-DOS date and time in local time.
void SetLastWriteTime(void* handle, uint16_t dosDate, uint16_t dosTime);
