#pragma once
// What the tests of the backup and its dialog share: a probe that sees the dialog freed, the
// dialog's settings file, and the keeping of archives for the real readers.
#include <windows.h>

#include <string>

#include "core/component.h"
#include "core/paths.h"
#include "support/files.h"

// Owned by the dialog: sets the flag when the dialog frees its components.
class DestroyProbe : public TComponent {
public:
    DestroyProbe(TComponent* owner, bool& destroyed) : TComponent(owner), destroyed_(destroyed) {}
    ~DestroyProbe() override { destroyed_ = true; }

private:
    bool& destroyed_;
};

// The dialog keeps its settings per user: Snimanje\<program>.INI in the application-data
// folder, the program being the test program.
inline std::string DialogSettingsFile() {
    char appData[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("APPDATA", appData, sizeof appData);
    return JoinPath(JoinPath(std::string(appData, n), "Snimanje"), "app_tests.INI");
}

// The file an earlier version kept in the Windows folder, which the dialog takes over once.
inline std::string EarlierSettingsFile() { return support::WindowsFolderFile("app_tests.INI"); }

// Both, after the platform wrote out what it may still cache of them.
inline void DeleteDialogSettings() {
    for (const std::string& file : {DialogSettingsFile(), EarlierSettingsFile()}) {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    }
}

// A path the build gave with forward slashes, as Windows writes it.
inline std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Copies an archive a test wrote to where real readers check it after the run.
inline void KeepForReaders(const std::string& archive, const std::string& name) {
    std::string results = WindowsPath(APP_RESULTS_DIR);
    CreateDirectoryA(results.c_str(), nullptr);
    CopyFileA(archive.c_str(), JoinPath(results, name).c_str(), FALSE);
    support::WriteBytes(JoinPath(results, name + ".expect"), "BRODANIKVESTRA_G2024.fdb\n");
}
