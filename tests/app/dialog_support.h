#pragma once
// What the tests that drive the dialog share: a probe that sees the dialog freed, and the
// dialog's settings file.
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
