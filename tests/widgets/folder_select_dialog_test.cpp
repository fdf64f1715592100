#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "folder_dialog_driver.h"
#include "toolkit/message_box.h"
#include "widgets/folder_select_dialog.h"

namespace {

struct Opened {
    std::string shownPath;
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

// Opens the dialog at start, records what it shows, then confirms it at once.
bool ConfirmAtOnce(const std::string& start, std::string& result, Opened* seen = nullptr) {
    WhenDialogOpens driver([&](HWND dialog) {
        if (seen) {
            seen->shownPath = WindowText(GetDlgItem(dialog, fdiPathDisplay));
            seen->folders = ListLines(GetDlgItem(dialog, fdiFolderList));
            seen->files = ListLines(GetDlgItem(dialog, fdiFileList));
        }
        PressButton(dialog, IDOK);
    });
    bool ok = FolderSelectDialog(result, start, 0, 0);
    EXPECT_TRUE(driver.Opened());
    return ok;
}

// The dialog itself becomes visible only when its loop first runs idle; its controls' own flag counts.
bool Shown(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }

RECT ChildRect(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST(FolderSelectDialog, OpensAtTheStartFolderOrTheCurrentOne) {
    FolderTree tree;
    struct Case {
        const char* start;
        const char* opensAt;
    } cases[] = {
        {"c:\\", FolderTree::Program},       // a drive root means that drive's current folder
        {"\\", FolderTree::Program},         // the current drive's current folder
        {FolderTree::Arhiva, FolderTree::Arhiva},
        {"C:\\FolderEditTest\\arhiva\\", FolderTree::Arhiva},
        {"c:\\no\\such\\folder", FolderTree::Program},
        {"..\\arhiva", FolderTree::Arhiva},  // relative to the current folder
    };
    for (const Case& c : cases) {
        SetCurrentDirectoryA(FolderTree::Program);
        std::string result = "untouched";
        EXPECT_TRUE(ConfirmAtOnce(c.start, result)) << c.start;
        EXPECT_STRCASEEQ(result.c_str(), c.opensAt) << c.start;
    }
}

TEST(FolderSelectDialog, ListsLevelsThenSortedSubfoldersAndEveryFile) {
    FolderTree tree;
    const std::string hidden = std::string(FolderTree::Arhiva) + "\\hidden.dat";
    const std::string system = std::string(FolderTree::Arhiva) + "\\system.dat";
    CloseHandle(CreateFileA(hidden.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
    CloseHandle(CreateFileA(system.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_SYSTEM, nullptr));
    std::string result;
    Opened seen;
    const bool confirmed = ConfirmAtOnce(FolderTree::Arhiva, result, &seen);
    DeleteFileA(hidden.c_str());
    DeleteFileA(system.c_str());
    ASSERT_TRUE(confirmed);
    ASSERT_EQ(seen.folders.size(), 5u);
    EXPECT_STRCASEEQ(seen.folders[0].c_str(), "C:\\");
    EXPECT_STRCASEEQ(seen.folders[1].c_str(), "FolderEditTest");
    EXPECT_STRCASEEQ(seen.folders[2].c_str(), "arhiva");
    EXPECT_EQ(seen.folders[3], "2023");
    EXPECT_EQ(seen.folders[4], "2024");
    EXPECT_EQ(seen.files, (std::vector<std::string>{"hidden.dat", "notes.txt", "system.dat"}));
    EXPECT_STRCASEEQ(seen.shownPath.c_str(), FolderTree::Arhiva);
}

TEST(FolderSelectDialog, ConfirmsTheFolderOpenedInTheList) {
    FolderTree tree;
    struct Case {
        const char* line;  // empty: the drive root
        const char* result;
    } cases[] = {{"2024", FolderTree::Arhiva2024}, {"", "C:\\"}};
    for (const Case& c : cases) {
        std::string result;
        WhenDialogOpens driver([&](HWND dialog) {
            OpenFolderLine(dialog, c.line);
            PressButton(dialog, IDOK);
        });
        ASSERT_TRUE(FolderSelectDialog(result, FolderTree::Arhiva, 0, 0));
        EXPECT_STRCASEEQ(result.c_str(), c.result);
        EXPECT_STRCASEEQ(CurrentDirectory().c_str(), c.result);
    }
}

TEST(FolderSelectDialog, EnterAndDoubleClickInTheFolderListOpenTheLineAndOnlyOkEnds) {
    FolderTree tree;
    struct Step {
        const char* what;
        std::function<void(HWND dialog, HWND list)> act;
        const char* shown;
    } steps[] = {
        // The dialog opens with the focus on the list and the current line selected.
        {"Enter at once", [](HWND dialog, HWND) { TypeIntoDialog(dialog, VK_RETURN); }, FolderTree::Arhiva},
        {"Enter on 2023",
         [](HWND dialog, HWND list) {
             SendMessageA(list, LB_SETCURSEL, 3, 0);
             TypeIntoDialog(dialog, VK_RETURN);
         },
         FolderTree::Arhiva2023},
        {"Enter on the current line again", [](HWND dialog, HWND) { TypeIntoDialog(dialog, VK_RETURN); },
         FolderTree::Arhiva2023},
        {"double-click on arhiva", [](HWND dialog, HWND) { OpenFolderLine(dialog, "arhiva"); }, FolderTree::Arhiva},
        {"Enter in the file list",
         [](HWND dialog, HWND) {
             SetFocus(GetDlgItem(dialog, fdiFileList));
             TypeIntoDialog(dialog, VK_RETURN);
         },
         FolderTree::Arhiva},
    };
    std::string result;
    WhenDialogOpens driver([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, fdiFolderList);
        ShowWindow(dialog, SW_SHOW);  // ending the dialog hides it
        EXPECT_EQ(GetFocus(), list);
        for (const Step& step : steps) {
            step.act(dialog, list);
            EXPECT_TRUE(IsWindowVisible(dialog)) << step.what;
            EXPECT_STRCASEEQ(WindowText(GetDlgItem(dialog, fdiPathDisplay)).c_str(), step.shown) << step.what;
            SetFocus(list);
        }
        SetFocus(GetDlgItem(dialog, IDOK));
        TypeIntoDialog(dialog, VK_RETURN);  // Enter on OK ends it
    });
    ASSERT_TRUE(FolderSelectDialog(result, FolderTree::Arhiva, 0, 0));
    EXPECT_STRCASEEQ(result.c_str(), FolderTree::Arhiva);
}

TEST(FolderSelectDialog, CancelKeepsTheFolderButLeavesTheCurrentFolderWhereTheListWas) {
    FolderTree tree;
    std::string result = "kept";
    WhenDialogOpens driver([&](HWND dialog) {
        OpenFolderLine(dialog, "2024");
        PressButton(dialog, IDCANCEL);
    });
    EXPECT_FALSE(FolderSelectDialog(result, FolderTree::Arhiva, 0, 0));
    EXPECT_EQ(result, "kept");
    EXPECT_STRCASEEQ(CurrentDirectory().c_str(), FolderTree::Arhiva2024);
}

TEST(FolderSelectDialog, HelpButtonOnlyWithAHelpContext) {
    FolderTree tree;
    struct Case {
        int helpContext;
        bool helpVisible;
        int okLeft, cancelLeft;
    } cases[] = {{0, false, 256, 340}, {12, true, 172, 256}};
    for (const Case& c : cases) {
        RECT ok{}, cancel{}, client{};
        bool helpVisible = !c.helpVisible, networkVisible = true;
        std::string title;
        WhenDialogOpens driver([&](HWND dialog) {
            ok = ChildRect(dialog, IDOK);
            cancel = ChildRect(dialog, IDCANCEL);
            GetClientRect(dialog, &client);
            helpVisible = Shown(dialog, fdiHelp);
            networkVisible = Shown(dialog, fdiNetwork);
            title = WindowText(dialog);
            PressButton(dialog, IDCANCEL);
        });
        std::string result;
        FolderSelectDialog(result, FolderTree::Arhiva, 0, c.helpContext);
        HDC screen = GetDC(nullptr);
        int ppi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(title, "Select Directory");
        EXPECT_EQ(client.right, MulDiv(424, ppi, 96));
        EXPECT_EQ(client.bottom, MulDiv(255, ppi, 96));
        EXPECT_EQ(helpVisible, c.helpVisible);
        EXPECT_EQ(ok.left, MulDiv(c.okLeft, ppi, 96));
        EXPECT_EQ(cancel.left, MulDiv(c.cancelLeft, ppi, 96));
        HMODULE user32 = GetModuleHandleA("user32.dll");
        if (!GetProcAddress(user32, "WNetGetCaps")) {
            EXPECT_FALSE(networkVisible);
        }
    }
}

TEST(FolderSelectDialog, AllowCreateTakesTheTypedNameAndPromptsForAMissingOne) {
    FolderTree tree;
    const std::string missing = std::string(FolderTree::Arhiva) + "\\new\\deeper";
    std::vector<std::string> prompts;
    int answer = IDNO;
    TMessageBoxHandler saved = SetMessageBoxHandler([&](HWND, const std::string& text, const std::string&, UINT) {
        prompts.push_back(text);
        int given = answer;
        answer = IDYES;  // the second OK goes through
        return given;
    });
    std::string result;
    bool nameBoxVisible = false, pathVisible = true;
    WhenDialogOpens driver([&](HWND dialog) {
        nameBoxVisible = Shown(dialog, fdiFolderName);
        pathVisible = Shown(dialog, fdiPathDisplay);
        SetWindowTextA(GetDlgItem(dialog, fdiFolderName), "new\\deeper\\");
        PressButton(dialog, IDOK);  // answered No: stays open
        PressButton(dialog, IDOK);  // answered Yes
    });
    bool ok = FolderSelectDialog(result, FolderTree::Arhiva,
                                 SelectDirOpt(sdAllowCreate) | SelectDirOpt(sdPrompt) | SelectDirOpt(sdPerformCreate), 0);
    SetMessageBoxHandler(saved);
    EXPECT_TRUE(nameBoxVisible);
    EXPECT_FALSE(pathVisible);
    ASSERT_TRUE(ok);
    EXPECT_STRCASEEQ(result.c_str(), missing.c_str());
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0], "The specified directory does not exist. Create it?");
    EXPECT_TRUE(GetFileAttributesA(missing.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryA(missing.c_str());
    RemoveDirectoryA((std::string(FolderTree::Arhiva) + "\\new").c_str());
}

TEST(FolderSelectDialog, LongPathsAreShortenedInTheDisplayOnly) {
    FolderTree tree;
    std::string deep = FolderTree::Arhiva;
    for (const char* level : {"\\a_rather_long_folder_name", "\\another_rather_long_folder_name",
                              "\\yet_another_long_folder_name", "\\Data"}) {
        deep += level;
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    std::string result;
    Opened seen;
    ASSERT_TRUE(ConfirmAtOnce(deep, result, &seen));
    EXPECT_STRCASEEQ(result.c_str(), deep.c_str());
    EXPECT_EQ(seen.shownPath.rfind("C:\\...\\", 0), 0u) << seen.shownPath;
    EXPECT_NE(seen.shownPath.find("\\Data"), std::string::npos) << seen.shownPath;
    SetCurrentDirectoryA(FolderTree::Program);
    while (deep.size() > std::string(FolderTree::Arhiva).size()) {
        RemoveDirectoryA(deep.c_str());
        deep.erase(deep.find_last_of('\\'));
    }
}

TEST(FolderSelectDialog, ChoosingADriveOpensThatDrivesCurrentFolder) {
    FolderTree tree;
    std::string result;
    std::string driveShown;
    WhenDialogOpens driver([&](HWND dialog) {
        HWND drives = GetDlgItem(dialog, fdiDriveList);
        LRESULT z = SendMessageA(drives, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("z:"));
        SendMessageA(drives, CB_SETCURSEL, static_cast<WPARAM>(z), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(fdiDriveList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(drives));
        char caption[MAX_PATH] = "";
        SendMessageA(drives, CB_GETLBTEXT, SendMessageA(drives, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(caption));
        driveShown = caption;
        PressButton(dialog, IDOK);
    });
    ASSERT_TRUE(FolderSelectDialog(result, FolderTree::Arhiva, 0, 0));
    ASSERT_FALSE(driveShown.empty());
    EXPECT_EQ(driveShown.substr(0, 2), "z:");
    EXPECT_EQ(toupper(static_cast<unsigned char>(result[0])), 'Z');
    EXPECT_EQ(toupper(static_cast<unsigned char>(CurrentDirectory()[0])), 'Z');
}
