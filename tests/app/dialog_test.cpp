#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/backup_texts.h"
#include "app/form_snimanje_podataka.h"
#include "app/last_archive.h"
#include "app/name_helpers.h"
#include "core/paths.h"
#include "core/text.h"
#include "dialog_support.h"
#include "support/files.h"
#include "support/fixed_clock.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "toolkit/application.h"
#include "toolkit/buttons.h"
#include "toolkit/edit.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"
#include "widgets/date_edit.h"
#include "widgets/directory_edit.h"

namespace {
using support::Exists;
using support::FocusedControl;
using support::PressAltChar;
using support::PressKey;
using support::ReadBytes;
using support::RemoveTree;

const char* kProgramFolder = "c:\\dialog_test\\prog\\";
const char* kTarget = "c:\\dialog_test\\arhiva\\2024";
const char* kStaging = "c:\\temp_backup\\BRODANIKVESTRA_G2024.fdb";
const char* kDatabase = "c:\\dialog_test\\prog\\BRODANIKVESTRA_G2024.fdb";
const char* kArchive = "c:\\dialog_test\\arhiva\\2024\\BRODANIKVESTRA_G2024_05_03_2024.zip";

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDialogClasses();
        RemoveTree("c:\\dialog_test");
        CreateDirectoryA("c:\\dialog_test", nullptr);
        CreateDirectoryA(kProgramFolder, nullptr);
        DeleteFileA(kStaging);
        DeleteDialogSettings();
        dialog = new TFSnimanjePodataka(nullptr);
        dialog->ProgramFileName = std::string(kProgramFolder) + "Snimanje.exe";
        new DestroyProbe(dialog, destroyed);
    }

    void TearDown() override {
        Application().ProcessMessages();
        if (!destroyed) delete dialog;
        Application().ProcessMessages();
        Screen().SetCursor(crDefault);
        RemoveTree("c:\\dialog_test");
        DeleteDialogSettings();
    }

    void Show() {
        dialog->Show();
        Application().ProcessMessages();
    }

    void WriteDatabase(const std::string& content) { support::WriteBytes(kDatabase, content); }

    void PressSnimi() { PressAltChar('s'); }

    // The last-archive line once the look-up of that folder has answered (within 5 s).
    std::string LastArchiveLineOf(const std::string& folder) {
        dialog->DirectoryEdit1->SetText(folder);
        for (int i = 0; i < 500 && dialog->LabelZadnja->Caption() == kLookingUpText; ++i) {
            Application().ProcessMessages();
            Sleep(10);
        }
        return dialog->LabelZadnja->Caption();
    }

    TFSnimanjePodataka* dialog = nullptr;
    bool destroyed = false;
    support::FixedClock clock{2024, 3, 5, 0.4};
    support::MessageBoxCapture boxes;
};

// An archive of the year named for the day that many days before the test's today.
std::string ArchiveDaysAgo(const std::string& folder, int days) {
    return JoinPath(folder, "BRODANIKVESTRA_G2024_" + DateStamp(EncodeDate(2024, 3, 5) - days) + ".zip");
}

struct LastArchiveCase {
    int DaysAgo;  // the newest archive's age; -1: none, -2: no such folder
    const char* Line;
    bool Red;
};

class LastArchiveTest : public DialogTest, public ::testing::WithParamInterface<LastArchiveCase> {};

}  // namespace

TEST_P(LastArchiveTest, ShowsTheNewestArchiveOfTheYearInRedWhenThereIsNoneOrItIsOld) {
    const LastArchiveCase& c = GetParam();
    const std::string folder = JoinPath(kProgramFolder, "arhiva");
    if (c.DaysAgo != -2) {
        CreateDirectoryA(folder.c_str(), nullptr);
        // Another year's, newer than all, and a look-alike name are not the year's.
        support::WriteBytes(JoinPath(folder, "BRODANIKVESTRA_G2023_05_03_2024.zip"), "");
        support::WriteBytes(JoinPath(folder, "BRODANIKVESTRA_G2024_05_03_2024 (1).zip"), "");
    }
    if (c.DaysAgo >= 0) {
        support::WriteBytes(ArchiveDaysAgo(folder, c.DaysAgo + 30), "");
        support::WriteBytes(ArchiveDaysAgo(folder, c.DaysAgo), "");
    }
    Show();
    EXPECT_EQ(LastArchiveLineOf(folder), c.Line);
    EXPECT_EQ(dialog->LabelZadnja->Font().Color() == clRed, c.Red);
}

INSTANTIATE_TEST_SUITE_P(Ages, LastArchiveTest,
                         ::testing::Values(LastArchiveCase{-1, kNoArchiveText, true},
                                           LastArchiveCase{0, "Zadnja arhiva: 05.03.2024. (danas)", false},
                                           LastArchiveCase{1, "Zadnja arhiva: 04.03.2024. (prije 1 dan)", false},
                                           LastArchiveCase{8, "Zadnja arhiva: 26.02.2024. (prije 8 dana)", true},
                                           LastArchiveCase{400, "Zadnja arhiva: 30.01.2023. (prije 400 dana)", true},
                                           LastArchiveCase{-2, kNoFolderText, true}));

TEST_F(DialogTest, ASlowFolderNeverHoldsTheWindowAndTheNewestRequestWins) {
    const std::string slow = JoinPath(kProgramFolder, "slow");
    CreateDirectoryA(slow.c_str(), nullptr);
    support::WriteBytes(ArchiveDaysAgo(slow, 1), "");
    dialog->LastArchiveLookup().List = [slow](const std::string& folder, const std::string& year) {
        if (SameTextAscii(folder, slow)) Sleep(1500);
        return ListYearArchives(folder, year);
    };
    Show();
    std::atomic<bool> done{false};
    std::atomic<int> pings{0}, missed{0};
    std::thread pinger([&, window = dialog->Handle()] {
        for (DWORD_PTR result; !done; ++pings, Sleep(20))
            if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 250, &result)) ++missed;
    });
    // The slow folder typed, then one that is there: the slow answer comes last and is dropped.
    dialog->DirectoryEdit1->SetText(slow);
    EXPECT_EQ(LastArchiveLineOf(kProgramFolder), kNoArchiveText);
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(5)) Application().ProcessMessages();
    done = true;
    pinger.join();
    EXPECT_GT(pings.load(), 20);
    EXPECT_EQ(missed.load(), 0);
    EXPECT_EQ(dialog->LabelZadnja->Caption(), kNoArchiveText);
}

TEST_F(DialogTest, ShowFillsTodaysDateAndYearAndFocusesSnimi) {
    Show();
    EXPECT_EQ(dialog->DateEdit1->DateValue(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(dialog->EditGodina->Text(), "2024");
    EXPECT_EQ(dialog->DirectoryEdit1->Text(), "c:\\");
    EXPECT_EQ(FocusedControl(), dialog->BitBtn1);
    char caption[64];
    GetWindowTextA(dialog->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Snimanje podataka");
    RECT client;
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, 589);
    EXPECT_EQ(client.bottom, 132);
    EXPECT_EQ(dialog->BitBtn1->GlyphSize().cx, 16);
    EXPECT_EQ(dialog->BitBtn2->GlyphSize().cy, 18);
    EXPECT_TRUE(dialog->BitBtn2->Cancel());
    EXPECT_FALSE(dialog->BitBtn1->Default());
    // The progress of a backup has its place right of the buttons and shows only then.
    EXPECT_FALSE(IsWindowVisible(dialog->ProgressBar1->Handle()));
    EXPECT_FALSE(dialog->LabelFaza->Visible());
    EXPECT_GT(dialog->ProgressBar1->Left(), dialog->BitBtn2->Left() + dialog->BitBtn2->Width());
    EXPECT_LE(dialog->ProgressBar1->Left() + dialog->ProgressBar1->Width(), client.right);
}

TEST_F(DialogTest, EscClosesFromAnyControlWhateverTheShiftState) {
    Show();
    dialog->EditGodina->SetFocus();
    PressKey(VK_ESCAPE, ssShift);
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(DialogTest, EscOnTheButtonsCloses) {
    Show();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(destroyed);
}

TEST_F(DialogTest, EscWithTheCalendarOpenClosesOnlyTheCalendar) {
    Show();
    dialog->DateEdit1->SetFocus();
    PressKey(VK_DOWN, ssAlt);
    ASSERT_TRUE(dialog->DateEdit1->PopupVisible());
    PressKey(VK_RIGHT);  // another day in the calendar, never taken
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(destroyed);
    EXPECT_FALSE(dialog->DateEdit1->PopupVisible());
    EXPECT_EQ(dialog->DateEdit1->DateValue(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(FocusedControl(), dialog->DateEdit1);
    PressKey(VK_ESCAPE);  // with the calendar closed Esc closes the dialog as before
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(DialogTest, OdustaniClosesByItsAccelerator) {
    Show();
    PressAltChar('o');
    EXPECT_TRUE(destroyed);
}

TEST_F(DialogTest, InputThatCannotNameABackupIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* What;
        const char* Date;  // nullptr: today's, as the dialog fills it
        const char* Folder;
        const char* Year;
        const char* Message;
        TBackupField Field;
    };
    // 222 characters: the archive's name takes 258, its temporary name 262.
    const std::string longFolder = "c:\\dialog_test\\arhiva\\" + std::string(200, 'd');
    const Case cases[] = {
        {"empty date", "", kTarget, "2024", kDateInvalidText, TBackupField::Date},
        {"no such day", "31.02.2024", kTarget, "2024", kDateInvalidText, TBackupField::Date},
        {"empty folder", nullptr, "", "2024", kFolderMissingText, TBackupField::Folder},
        {"empty year", nullptr, kTarget, "", kYearInvalidText, TBackupField::Year},
        {"two-digit year", nullptr, kTarget, "24", kYearInvalidText, TBackupField::Year},
        {"year with a wildcard", nullptr, kTarget, "20*4", kYearInvalidText, TBackupField::Year},
        {"year with a blank", nullptr, kTarget, "2024 ", kYearInvalidText, TBackupField::Year},
        // The archive's temporary name, four characters longer than its own, would not fit.
        {"folder too long for the archive's name", nullptr, longFolder.c_str(), "2024", kFolderTooLongText,
         TBackupField::Folder},
    };
    WriteDatabase("data");
    Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        boxes.Boxes.clear();
        dialog->BitBtn1->SetFocus();
        dialog->DateEdit1->SetDateValue(EncodeDate(2024, 3, 5));
        if (c.Date) {
            dialog->DateEdit1->SetText(c.Date);
            ASSERT_EQ(dialog->DateEdit1->DateValue(), NullDate);
        }
        dialog->DirectoryEdit1->SetText(c.Folder);
        dialog->EditGodina->SetText(c.Year);
        PressSnimi();
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Text, c.Message);
        EXPECT_EQ(boxes.Boxes[0].Flags, static_cast<UINT>(MB_OK));
        TWinControl* field = c.Field == TBackupField::Date     ? static_cast<TWinControl*>(dialog->DateEdit1)
                             : c.Field == TBackupField::Folder ? static_cast<TWinControl*>(dialog->DirectoryEdit1)
                                                               : static_cast<TWinControl*>(dialog->EditGodina);
        EXPECT_EQ(FocusedControl(), field);
        EXPECT_EQ(Screen().Cursor(), crDefault);
        EXPECT_FALSE(destroyed);
        EXPECT_FALSE(Exists(kStaging));
        EXPECT_FALSE(Exists("c:\\dialog_test\\arhiva"));
    }
}

TEST_F(DialogTest, MissingDatabaseShowsTheFailureMessageAndArchivesNothing) {
    Show();
    dialog->DirectoryEdit1->SetText(kTarget);
    // A copy from an earlier run must not pass for today's backup.
    CreateDirectoryA("c:\\temp_backup", nullptr);
    support::WriteBytes(kStaging, "old");
    PressSnimi();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, std::string(kFailureMessage) + "\n" + Format(kDatabaseMissingText, kDatabase));
    EXPECT_EQ(boxes.Boxes[0].Flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(ReadBytes(kStaging), "old");
    EXPECT_FALSE(Exists(kArchive));
    EXPECT_TRUE(Exists(kTarget));  // the target folder was made before the copy
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(Screen().Cursor(), crDefault);
    DeleteFileA(kStaging);
}

TEST_F(DialogTest, SuccessWritesTheDatedArchiveReportsItAndCloses) {
    WriteDatabase(std::string(5000, 'x') + "end of the year's data");
    Show();
    dialog->DirectoryEdit1->SetText(kTarget);
    TCursor cursorAtMessage = crHourGlass;
    boxes.OnShow = [&] { cursorAtMessage = Screen().Cursor(); };
    PressSnimi();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    // The first line as it always was, the archive's full name on the second.
    EXPECT_EQ(boxes.Boxes[0].Text, std::string("Baze je uspje\x9a" "no snimljena!\nArhiva: ") + kArchive);
    EXPECT_EQ(boxes.Boxes[0].Caption, Application().Title());
    EXPECT_EQ(cursorAtMessage, crDefault);
    ASSERT_TRUE(Exists(kArchive));
    std::string zip = ReadBytes(kArchive);
    EXPECT_EQ(zip.substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_NE(zip.find("BRODANIKVESTRA_G2024.fdb"), std::string::npos);
    EXPECT_EQ(zip.find("temp_backup"), std::string::npos);  // stored under the bare name
    EXPECT_EQ(ReadBytes(kStaging), ReadBytes(kDatabase));  // the staging copy stays
    Application().ProcessMessages();
    EXPECT_TRUE(destroyed);
    // Closing stored the folder for the next run.
    EXPECT_NE(ReadBytes(DialogSettingsFile()).find(kTarget), std::string::npos);
    DeleteFileA(kStaging);
}

TEST_F(DialogTest, TargetOnAMissingDriveEndsInTheFailureMessage) {
    WriteDatabase("data");
    Show();
    dialog->DirectoryEdit1->SetText("q:\\arhiva");
    PressSnimi();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, std::string("Gre\x9a" "ka u izradi kopije podataka!\nDirektorij q:\\arhiva ne mo\x9e"
                                               "e se napraviti."));
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(Screen().Cursor(), crDefault);
    EXPECT_EQ(dialog->DirectoryEdit1->Text(), "q:\\arhiva");  // fields stay for another try
    DeleteFileA(kStaging);
}
