// Where the dialog keeps its folder and position: per user, so that a standard user on Windows
// Vista and later (who cannot write to the Windows folder) has them kept, and closing never
// shows an error. StandardUserDesk runs apart, with the prefix's Windows folder mounted
// read-only (readonly_windows.sh).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <thread>

#include "app/form_snimanje_podataka.h"
#include "dialog_support.h"
#include "file_holder.h"
#include "settings/form_storage.h"
#include "support/fixed_clock.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "toolkit/application.h"
#include "widgets/directory_edit.h"

namespace {

const char* kSection = "TFSnimanjePodataka";

std::string ReadSetting(const std::string& file, const char* key) {
    char value[256];
    DWORD n = GetPrivateProfileStringA(kSection, key, "(none)", value, sizeof value, file.c_str());
    return std::string(value, n);
}

POINT WindowOrigin(TForm& form) {
    RECT r;
    GetWindowRect(form.Handle(), &r);
    return {r.left, r.top};
}

class DialogSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDialogClasses();
        DeleteDialogSettings();
    }
    void TearDown() override {
        CloseDialog();
        DeleteDialogSettings();
    }

    void OpenDialog() {
        destroyed = false;
        dialog = new TFSnimanjePodataka(nullptr);
        new DestroyProbe(dialog, destroyed);
        dialog->Show();
        Application().ProcessMessages();
    }

    // As the operator closes it: "&Odustani".
    void CloseDialog() {
        if (!dialog) return;
        if (!destroyed) support::PressAltChar('o');
        Application().ProcessMessages();
        if (!destroyed) delete dialog;
        dialog = nullptr;
    }

    // One run that moves the dialog and types a folder.
    void RunAndLeave(int left, int top, const std::string& folder) {
        OpenDialog();
        SetWindowPos(dialog->Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        dialog->DirectoryEdit1->SetText(folder);
        CloseDialog();
    }

    // The next run opens where the last one was left, with its folder, and closes quietly.
    void ExpectKept(int left, int top, const std::string& folder) {
        OpenDialog();
        EXPECT_EQ(dialog->DirectoryEdit1->Text(), folder);
        EXPECT_EQ(WindowOrigin(*dialog).x, left);
        EXPECT_EQ(WindowOrigin(*dialog).y, top);
        CloseDialog();
        EXPECT_TRUE(boxes.Boxes.empty());
    }

    TFSnimanjePodataka* dialog = nullptr;
    bool destroyed = false;
    support::FixedClock clock{2024, 3, 5};
    support::MessageBoxCapture boxes;
};

class StandardUserDesk : public DialogSettingsTest {};

// The user's application-data folder somewhere else, as a redirected folder or a profile under
// another name has it: Windows keeps where it is in the user's shell folders. The earlier value
// is put back when the object goes.
class RedirectedAppData {
public:
    explicit RedirectedAppData(const std::wstring& folder) {
        RegOpenKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
        DWORD size = sizeof earlier_;
        had_ = RegQueryValueExW(key_, L"AppData", nullptr, &type_, reinterpret_cast<BYTE*>(earlier_), &size) ==
               ERROR_SUCCESS;
        earlierSize_ = size;
        Set(REG_EXPAND_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    ~RedirectedAppData() {
        if (had_) Set(type_, earlier_, earlierSize_);
        else RegDeleteValueW(key_, L"AppData");
        RegCloseKey(key_);
    }
    RedirectedAppData(const RedirectedAppData&) = delete;
    RedirectedAppData& operator=(const RedirectedAppData&) = delete;

private:
    static constexpr const wchar_t* kShellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    void Set(DWORD type, const void* data, DWORD size) {
        RegSetValueExW(key_, L"AppData", 0, type, static_cast<const BYTE*>(data), size);
    }
    HKEY key_ = nullptr;
    bool had_ = false;
    DWORD type_ = REG_EXPAND_SZ;
    wchar_t earlier_[MAX_PATH * 2] = {};
    DWORD earlierSize_ = 0;
};

bool ExistsW(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Where profiles under other names are made, and removed again; its own name is plain letters.
const char* kProfiles = "c:\\snimanje_profili";

void RemoveProfiles(const std::wstring& user) {
    // The folder of a name outside the code page is reached by its short name.
    wchar_t shortName[MAX_PATH];
    const std::wstring folder = L"c:\\snimanje_profili\\" + user;
    DWORD n = GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    if (n && n < MAX_PATH) {
        char narrow[MAX_PATH];
        if (WideCharToMultiByte(CP_ACP, 0, shortName, -1, narrow, sizeof narrow, nullptr, nullptr))
            support::RemoveTree(narrow);
    }
    support::RemoveTree(kProfiles);
}

}  // namespace

TEST_F(DialogSettingsTest, TheFileIsTheUsersOwnAndKeepsFolderAndPosition) {
    OpenDialog();
    EXPECT_EQ(dialog->FormStorage1->IniFileNameInUse(), DialogSettingsFile());
    CloseDialog();
    RunAndLeave(123, 77, "c:\\arhiva korisnika");
    EXPECT_EQ(ReadSetting(DialogSettingsFile(), "DirectoryEdit1_Text"), "c:\\arhiva korisnika");
    EXPECT_FALSE(support::Exists(EarlierSettingsFile()));

    OpenDialog();
    EXPECT_EQ(dialog->DirectoryEdit1->Text(), "c:\\arhiva korisnika");
    EXPECT_EQ(WindowOrigin(*dialog).x, 123);
    EXPECT_EQ(WindowOrigin(*dialog).y, 77);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(DialogSettingsTest, AnEarlierVersionsFileInTheWindowsFolderIsTakenOverOnce) {
    // As an earlier version left it; the operator may even have protected it.
    WritePrivateProfileStringA(kSection, "DirectoryEdit1_Text", "e:\\stara arhiva", EarlierSettingsFile().c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, EarlierSettingsFile().c_str());
    SetFileAttributesA(EarlierSettingsFile().c_str(), FILE_ATTRIBUTE_READONLY);

    OpenDialog();
    EXPECT_EQ(dialog->DirectoryEdit1->Text(), "e:\\stara arhiva");
    dialog->DirectoryEdit1->SetText("e:\\nova arhiva");
    CloseDialog();
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(ReadSetting(DialogSettingsFile(), "DirectoryEdit1_Text"), "e:\\nova arhiva");
    EXPECT_EQ(ReadSetting(EarlierSettingsFile(), "DirectoryEdit1_Text"), "e:\\stara arhiva");

    // From now on the user's own file counts, the earlier one is not read again.
    OpenDialog();
    EXPECT_EQ(dialog->DirectoryEdit1->Text(), "e:\\nova arhiva");
}

// The earlier version asked for no execution level: on Windows Vista and later its writes to the
// Windows folder went, for a user without elevation, to the user's virtual store, and it read that copy
// in place of the Windows folder's. That copy holds the folder the operator last used.
TEST_F(DialogSettingsTest, AnEarlierVersionsFileInTheVirtualStoreIsTakenOverFirst) {
    char local[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)));
    const std::string windows = ExtractFilePath(EarlierSettingsFile());
    const std::string store = JoinPath(local, "VirtualStore") + windows.substr(DrivePartOf(windows).size());
    const std::string virtualFile = JoinPath(store, "app_tests.INI");
    ASSERT_TRUE(ForceDirectories(store));
    WritePrivateProfileStringA(kSection, "DirectoryEdit1_Text", "e:\\virtualna arhiva", virtualFile.c_str());
    WritePrivateProfileStringA(kSection, "DirectoryEdit1_Text", "e:\\stara arhiva", EarlierSettingsFile().c_str());
    for (const std::string& file : {virtualFile, EarlierSettingsFile()})
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());

    OpenDialog();
    EXPECT_EQ(dialog->DirectoryEdit1->Text(), "e:\\virtualna arhiva");
    dialog->DirectoryEdit1->SetText("e:\\nova arhiva");
    CloseDialog();
    EXPECT_EQ(ReadSetting(DialogSettingsFile(), "DirectoryEdit1_Text"), "e:\\nova arhiva");
    EXPECT_EQ(ReadSetting(virtualFile, "DirectoryEdit1_Text"), "e:\\virtualna arhiva");
    EXPECT_TRUE(boxes.Boxes.empty());
    support::RemoveTree(JoinPath(local, "VirtualStore"));
}

TEST_F(StandardUserDesk, FolderAndPositionAreKeptAndClosingShowsNoError) {
    HANDLE probe = CreateFileA(support::WindowsFolderFile("standard_user_probe.tmp").c_str(), GENERIC_WRITE, 0,
                               nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "the Windows folder is writable here (run through readonly_windows.sh as root)";
    }
    RunAndLeave(140, 90, "d:\\arhiva");
    EXPECT_TRUE(boxes.Boxes.empty());
    ExpectKept(140, 90, "d:\\arhiva");
}

// A user name in another script (or with a letter the code page lacks) names the profile
// folder: the code page's functions see "?" or a look-alike letter there, which names no folder
// the user may write to, and the settings went to the Windows folder.
TEST_F(DialogSettingsTest, AProfileFolderNamedOutsideTheCodePageKeepsTheSettings) {
    const struct {
        std::wstring user;
        const char* what;
    } profiles[] = {
        {L"\x0421\x0440\x0452\x0430\x043d", "Srdjan in Cyrillic: the code page has no such letters"},
        {L"\x00d1uria", "N with a tilde: its nearest letter, N, names another folder"},
    };
    for (const auto& [user, what] : profiles) {
        SCOPED_TRACE(what);
        const std::wstring appData = L"c:\\snimanje_profili\\" + user + L"\\AppData\\Roaming";
        {
            RedirectedAppData redirected(appData);
            RunAndLeave(150, 60, "d:\\arhiva");
            EXPECT_TRUE(boxes.Boxes.empty());
            EXPECT_TRUE(ExistsW(appData + L"\\Snimanje\\app_tests.INI"));
            EXPECT_FALSE(support::Exists(EarlierSettingsFile()));
            ExpectKept(150, 60, "d:\\arhiva");
        }
        DeleteDialogSettings();
        RemoveProfiles(user);
    }
}

// A sync client or a virus scanner that reads the file just written and shuts writers out for
// that moment: the dialog waits for it rather than lose the folder with an error box.
TEST_F(DialogSettingsTest, AProgramReadingTheFileAsTheDialogClosesIsWaitedFor) {
    RunAndLeave(100, 100, "c:\\prva");
    OpenDialog();
    dialog->DirectoryEdit1->SetText("d:\\druga");
    auto reader = std::make_unique<FileHolder>(DialogSettingsFile(), "r", "r");
    ASSERT_TRUE(reader->Held());
    std::thread done([&reader] {
        Sleep(500);
        reader.reset();
    });
    CloseDialog();
    done.join();
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(ReadSetting(DialogSettingsFile(), "DirectoryEdit1_Text"), "d:\\druga");
}
