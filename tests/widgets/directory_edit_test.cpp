#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "core/form_reader.h"
#include "folder_dialog_driver.h"
#include "toolkit/buttons.h"
#include "toolkit/forms.h"
#include "widgets/directory_edit.h"

namespace {

// The backup dialog's arrangement: a form with the folder edit and its two buttons.
class EditOnForm {
public:
    EditOnForm() {
        form = new TForm(nullptr);
        form->SetBounds(50, 50, 640, 160);
        ok = new TButton(form);
        ok->SetParent(form);
        ok->SetBounds(1, 97, 130, 28);
        ok->SetDefault(true);
        ok->OnClick = [this](TObject*) { ++okClicks; };
        cancel = new TButton(form);
        cancel->SetParent(form);
        cancel->SetBounds(136, 97, 130, 28);
        cancel->SetCancel(true);
        cancel->OnClick = [this](TObject*) { ++cancelClicks; };
        edit = new TDirectoryEdit(form);
        edit->SetParent(form);
        edit->SetBounds(136, 34, 441, 24);
        form->Show();
        edit->SetFocus();
    }
    ~EditOnForm() { delete form; }
    EditOnForm(const EditOnForm&) = delete;
    EditOnForm& operator=(const EditOnForm&) = delete;

    TForm* form;
    TButton* ok;
    TButton* cancel;
    TDirectoryEdit* edit;
    int okClicks = 0;
    int cancelClicks = 0;
};

// One keyboard message through the message loop's path: the toolkit's key handling, then the
// window. Alt is held for the message when alt is set. True when the key handling consumed it.
bool Key(TWinControl& control, UINT message, WPARAM code, bool alt = false) {
    BYTE state[256];
    GetKeyboardState(state);
    BYTE saved = state[VK_MENU];
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
    MSG msg{control.Handle(), message, code, alt ? (1 << 29) : 0, 0, {}};
    bool consumed = control.PreTranslateKey(msg);
    if (!consumed) DispatchMessageA(&msg);
    state[VK_MENU] = saved;
    SetKeyboardState(state);
    return consumed;
}

void Type(TWinControl& control, const std::string& text) {
    for (char ch : text) Key(control, WM_CHAR, static_cast<unsigned char>(ch));
}

// Runs the browse procedure; the action decides what happens in the dialog.
bool Browse(TDirectoryEdit& edit, std::function<void(HWND)> action) {
    WhenDialogOpens driver(std::move(action));
    edit.ActivateButton();
    return driver.Opened();
}

void ConfirmAtOnce(HWND dialog) { PressButton(dialog, IDOK); }
void CancelAtOnce(HWND dialog) { PressButton(dialog, IDCANCEL); }

}  // namespace

TEST(DirectoryEdit, ConfirmWritesTheFolderTheListShows) {
    FolderTree tree;
    struct Case {
        const char* text;
        const char* line;  // opened before OK; nullptr: none, "": the drive root
        const char* written;
    } cases[] = {
        {"c:\\", nullptr, FolderTree::Program},  // a drive root opens at that drive's current folder
        {"c:\\", "", "C:\\"},
        {FolderTree::Arhiva, "2024", FolderTree::Arhiva2024},
        {"c:\\no\\such\\folder", nullptr, FolderTree::Program},
        {"", nullptr, FolderTree::Program},
    };
    for (const Case& c : cases) {
        SetCurrentDirectoryA(FolderTree::Program);
        EditOnForm f;
        f.edit->SetText(c.text);
        ASSERT_TRUE(Browse(*f.edit, [&](HWND dialog) {
            if (c.line) OpenFolderLine(dialog, c.line);
            PressButton(dialog, IDOK);
        })) << c.text;
        EXPECT_STRCASEEQ(f.edit->Text().c_str(), c.written) << c.text;
    }
}

TEST(DirectoryEdit, InitialDirFollowsAcceptedChoicesAndStartsAnEmptyText) {
    FolderTree tree;
    EditOnForm f;
    f.edit->SetText("");
    ASSERT_TRUE(Browse(*f.edit, [](HWND dialog) {
        OpenFolderLine(dialog, "");
        OpenFolderLine(dialog, "FolderEditTest");
        OpenFolderLine(dialog, "arhiva");
        OpenFolderLine(dialog, "2023");
        PressButton(dialog, IDOK);
    }));
    EXPECT_STRCASEEQ(f.edit->InitialDir().c_str(), FolderTree::Arhiva2023);

    SetCurrentDirectoryA(FolderTree::Program);
    f.edit->SetText("");
    ASSERT_TRUE(Browse(*f.edit, ConfirmAtOnce));
    EXPECT_STRCASEEQ(f.edit->Text().c_str(), FolderTree::Arhiva2023);

    f.edit->SetText("");
    f.edit->SetInitialDir("c:\\gone\\away");
    ASSERT_TRUE(Browse(*f.edit, ConfirmAtOnce));
    EXPECT_STRCASEEQ(f.edit->Text().c_str(), FolderTree::Arhiva2023);  // "\": where the list was last
}

TEST(DirectoryEdit, CancelKeepsTextSelectionAndInitialDir) {
    FolderTree tree;
    EditOnForm f;
    f.edit->SetText("c:\\no\\such\\folder");
    f.edit->SetInitialDir("c:\\init");
    f.edit->SetSelStart(3);
    f.edit->SetSelLength(2);
    std::string shown;
    ASSERT_TRUE(Browse(*f.edit, [&](HWND dialog) {
        shown = WindowText(GetDlgItem(dialog, fdiPathDisplay));
        PressButton(dialog, IDCANCEL);
    }));
    EXPECT_STRCASEEQ(shown.c_str(), FolderTree::Program);
    EXPECT_EQ(f.edit->Text(), "c:\\no\\such\\folder");
    EXPECT_EQ(f.edit->SelStart(), 3);
    EXPECT_EQ(f.edit->SelLength(), 2);
    EXPECT_EQ(f.edit->InitialDir(), "c:\\init");
    EXPECT_EQ(GetActiveWindow(), f.form->Handle());
    EXPECT_EQ(GetFocus(), f.edit->Handle());
}

TEST(DirectoryEdit, EventsRunInOrderAndMayStopOrChangeTheChoice) {
    FolderTree tree;
    EditOnForm f;
    std::vector<std::string> calls;
    bool stopBefore = false;
    f.edit->OnButtonClick = [&](TObject*) { calls.push_back("click"); };
    f.edit->OnBeforeDialog = [&](TObject*, std::string& name, bool& action) {
        calls.push_back("before:" + name);
        if (stopBefore) action = false;
        else name = FolderTree::Arhiva;
    };
    f.edit->OnAfterDialog = [&](TObject*, std::string& name, bool& action) {
        calls.push_back(std::string("after:") + (action ? "1" : "0"));
        name = "d:\\elsewhere";
    };
    f.edit->SetText("c:\\");
    std::string opened;
    ASSERT_TRUE(Browse(*f.edit, [&](HWND dialog) {
        opened = WindowText(GetDlgItem(dialog, fdiPathDisplay));
        PressButton(dialog, IDOK);
    }));
    EXPECT_STRCASEEQ(opened.c_str(), FolderTree::Arhiva);  // the name the handler gave
    EXPECT_EQ(calls, (std::vector<std::string>{"click", "before:c:\\", "after:1"}));
    EXPECT_EQ(f.edit->Text(), "d:\\elsewhere");
    EXPECT_EQ(f.edit->InitialDir(), "");  // not an existing folder

    calls.clear();
    stopBefore = true;
    EXPECT_FALSE(Browse(*f.edit, CancelAtOnce));
    EXPECT_EQ(calls, (std::vector<std::string>{"click", "before:d:\\elsewhere"}));
    EXPECT_EQ(f.edit->Text(), "d:\\elsewhere");
}

TEST(DirectoryEdit, MultipleDirsAppendsTheChoice) {
    FolderTree tree;
    EditOnForm f;
    f.edit->SetMultipleDirs(true);
    f.edit->SetText(FolderTree::Arhiva2023);
    f.edit->SetSelStart(0);
    ASSERT_TRUE(Browse(*f.edit, [](HWND dialog) {
        OpenFolderLine(dialog, "arhiva");
        OpenFolderLine(dialog, "2024");
        PressButton(dialog, IDOK);
    }));
    EXPECT_STRCASEEQ(f.edit->Text().c_str(),
                     (std::string(FolderTree::Arhiva2023) + ";" + FolderTree::Arhiva2024).c_str());
}

TEST(DirectoryEdit, ErrorModeSilencesDrivesOnlyWhileTheDialogIsOpen) {
    FolderTree tree;
    EditOnForm f;
    UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    UINT during = 0;
    ASSERT_TRUE(Browse(*f.edit, [&](HWND dialog) {
        during = GetErrorMode();
        PressButton(dialog, IDCANCEL);
    }));
    EXPECT_EQ(during, static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    SetErrorMode(before);
}

TEST(DirectoryEdit, ClickKeyOpensTheDialogButOtherKeysDoNot) {
    FolderTree tree;
    EditOnForm f;
    {
        WhenDialogOpens driver(CancelAtOnce);
        EXPECT_TRUE(Key(*f.edit, WM_SYSKEYDOWN, VK_DOWN, true));
        EXPECT_TRUE(driver.Opened());
    }
    {
        WhenDialogOpens driver(CancelAtOnce);
        Key(*f.edit, WM_KEYDOWN, VK_F4);
        Key(*f.edit, WM_KEYDOWN, VK_DOWN);
        EXPECT_FALSE(driver.Opened());
    }
    {
        f.edit->SetButtonWidth(0);  // no button, no click key
        WhenDialogOpens driver(CancelAtOnce);
        Key(*f.edit, WM_SYSKEYDOWN, VK_DOWN, true);
        EXPECT_FALSE(driver.Opened());
    }
}

TEST(DirectoryEdit, AClickOnTheButtonFocusesTheEditAndOpensTheDialogOnRelease) {
    FolderTree tree;
    EditOnForm f;
    f.ok->SetFocus();
    HWND button = f.edit->Button()->Handle();
    bool focusedBeforeDialog = false;
    WhenDialogOpens driver([&](HWND dialog) { PressButton(dialog, IDCANCEL); });
    f.edit->OnButtonClick = [&](TObject*) { focusedBeforeDialog = f.edit->Focused(); };
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(f.edit->Focused());
    EXPECT_FALSE(driver.Opened());
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(driver.Opened());
    EXPECT_TRUE(focusedBeforeDialog);

    WhenDialogOpens released([&](HWND dialog) { PressButton(dialog, IDCANCEL); });
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(-20, 5));  // released off the button
    EXPECT_FALSE(released.Opened());
}

TEST(DirectoryEdit, ReadOnlyStopsButtonAndTypingDirectInputOnlyTyping) {
    FolderTree tree;
    struct Case {
        bool readOnly, directInput;
        bool dialogOpens, typingChanges;
    } cases[] = {
        {false, true, true, true},
        {true, true, false, false},
        {false, false, true, false},
    };
    for (const Case& c : cases) {
        EditOnForm f;
        f.edit->SetReadOnly(c.readOnly);
        f.edit->SetDirectInput(c.directInput);
        f.edit->SetText("abc");
        int clicks = 0;
        f.edit->OnButtonClick = [&](TObject*) { ++clicks; };
        {
            WhenDialogOpens driver(CancelAtOnce);
            Key(*f.edit, WM_SYSKEYDOWN, VK_DOWN, true);
            EXPECT_EQ(driver.Opened(), c.dialogOpens);
        }
        EXPECT_EQ(clicks, c.dialogOpens ? 1 : 0);
        f.edit->SelectAll();
        SendMessageA(f.edit->Handle(), WM_CUT, 0, 0);
        EXPECT_EQ(f.edit->Text().empty(), c.typingChanges) << c.readOnly << c.directInput;
        f.edit->SetText("abc");
        f.edit->SetSelStart(3);
        Type(*f.edit, "x");
        EXPECT_EQ(f.edit->Text() == "abcx", c.typingChanges);
    }
}

TEST(DirectoryEdit, EnterAndEscReachTheFormsButtonsOnce) {
    EditOnForm f;
    EXPECT_FALSE(Key(*f.edit, WM_KEYDOWN, VK_RETURN));
    EXPECT_TRUE(Key(*f.edit, WM_CHAR, '\r'));  // consumed: no beep from the text box
    EXPECT_EQ(f.okClicks, 1);
    Key(*f.edit, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(f.cancelClicks, 1);
    EXPECT_EQ(f.okClicks, 1);
}

TEST(DirectoryEdit, TypedCharactersGoThroughTheOemCharacterSet) {
    EditOnForm f;
    f.edit->SetText("");
    Type(*f.edit, "ab\x80");  // the euro sign exists in no OEM code page
    std::string text = f.edit->Text();
    ASSERT_EQ(text.size(), 3u);
    EXPECT_EQ(text.substr(0, 2), "ab");
    EXPECT_NE(text[2], '\x80');
}

// Croatian folder names have an OEM equivalent in the Croatian desk's code pages (1250 and 852)
// and must come through the round trip whole.
TEST(DirectoryEdit, CroatianLettersSurviveTyping) {
    if (GetACP() != 1250) GTEST_SKIP() << "the Croatian code page is not the system's";
    EditOnForm f;
    f.edit->SetText("");
    const std::string letters = "\xe8\xe6\x9e\x9a\xf0\xc8\xc6\x8e\x8a\xd0";  // the five letters, small then capital
    Type(*f.edit, "c:\\" + letters);
    EXPECT_EQ(f.edit->Text(), "c:\\" + letters);
}

TEST(DirectoryEdit, ButtonSitsInsideTheBorderAndTheTextStopsBeforeIt) {
    EditOnForm f;
    TEditButton* button = f.edit->Button();
    EXPECT_EQ(f.edit->GlyphKind(), gkDefault);
    EXPECT_EQ(f.edit->ButtonWidth(), 21);
    EXPECT_EQ(button->Left(), 441 - 21 - 4);
    EXPECT_EQ(button->Top(), 0);
    EXPECT_EQ(button->Width(), 21);
    EXPECT_EQ(button->Height(), 24 - 4);
    LRESULT margins = SendMessageA(f.edit->Handle(), EM_GETMARGINS, 0, 0);
    EXPECT_EQ(HIWORD(margins), 21 + 2);

    f.edit->SetHeight(4);
    EXPECT_GT(f.edit->Height(), 4 + 4 * GetSystemMetrics(SM_CYBORDER));
    EXPECT_EQ(button->Height(), f.edit->Height() - 4);

    f.edit->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    f.edit->SetEnabled(true);
    EXPECT_TRUE(button->Enabled());
}

TEST(DirectoryEdit, DroppedNamesAreTakenWithTheirFullLength) {
    FolderTree tree;
    EditOnForm f;
    f.edit->SetAcceptFiles(true);
    EXPECT_TRUE(GetWindowLongA(f.edit->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    int drops = 0;
    f.edit->OnDropFiles = [&](TObject*) { ++drops; };

    std::string longName = "c:\\" + std::string(300, 'x');
    std::string names = std::string(FolderTree::Notes) + '\0' + longName + '\0' + '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);

    f.edit->SetMultipleDirs(true);
    f.edit->SetText("");
    SendMessageA(f.edit->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(f.edit->Text(), std::string(FolderTree::Arhiva) + "\\;" + longName);
}

TEST(DirectoryEdit, FormDescriptionMakesTheBackupDialogsEdit) {
    RegisterDirectoryEditClasses();
    TForm form(nullptr);
    ReadFormDescription(form, R"(object Form1: TForm
  object DirectoryEdit1: TDirectoryEdit
    Left = 136
    Top = 34
    Width = 441
    Height = 24
    NumGlyphs = 1
    TabOrder = 2
    Text = 'c:\'
  end
end
)");
    auto* edit = dynamic_cast<TDirectoryEdit*>(form.FindComponent("DirectoryEdit1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), "c:\\");
    EXPECT_EQ(edit->Width(), 441);
    EXPECT_EQ(edit->ClickKey(), 32808);
    EXPECT_EQ(edit->DialogKind(), dkBuiltin);
    EXPECT_EQ(edit->DialogOptions(), 0);
    EXPECT_EQ(edit->GlyphKind(), gkDefault);
    EXPECT_NE(edit->Button()->Picture(), nullptr);  // FEDITBMP from the resources
}

TEST(DirectoryEdit, SystemFolderBrowserPreselectsAnExistingFolder) {
    FolderTree tree;
    EditOnForm f;
    if (!ShellFolderBrowserAvailable()) GTEST_SKIP() << "no shell folder browser";
    f.edit->SetDialogKind(dkWin32);
    f.edit->SetDialogText("Folder for the archive");
    f.edit->SetText(FolderTree::Arhiva2024);
    std::string shownText;
    WhenDialogOpens driver(
        [&](HWND dialog) {
            for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (WindowText(child) == "Folder for the archive") shownText = WindowText(child);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        },
        nullptr);
    f.edit->ActivateButton();
    ASSERT_TRUE(driver.Opened());
    EXPECT_EQ(shownText, "Folder for the archive");
    EXPECT_STRCASEEQ(f.edit->Text().c_str(), FolderTree::Arhiva2024);
}
