// The window menu's test of an archive and restore, in the real dialog: both items are there,
// each picks an archive in the target folder; the test reports a sound and a damaged archive;
// the restore asks first (naming the archive, its date and the database), does nothing when
// told no, says why a foreign archive cannot be restored, and otherwise restores, keeps the
// earlier database as a .bak and says so.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/form_snimanje_podataka.h"
#include "app/restore_commands.h"
#include "app/restore_outcome.h"
#include "app/restore_texts.h"
#include "core/paths.h"
#include "core/text.h"
#include "dialog_support.h"
#include "support/files.h"
#include "support/message_box_capture.h"
#include "toolkit/application.h"
#include "toolkit/buttons.h"
#include "toolkit/edit.h"
#include "toolkit/label.h"
#include "toolkit/open_file_dialog.h"
#include "toolkit/progress_bar.h"
#include "widgets/directory_edit.h"

namespace {
using support::ReadBytes;

const std::string kRoot = "c:\\dialog_restore_test";
const std::string kProgramFolder = kRoot + "\\prog\\";
const std::string kDatabase = kProgramFolder + "BRODANIKVESTRA_G2024.fdb";
const std::string kTarget = kRoot + "\\arhiva";
const std::string kArchive = kTarget + "\\BRODANIKVESTRA_G2024_05_03_2024.zip";

std::string Corpus(const std::string& name) { return WindowsPath(ARCHIVER_CORPUS_DIR) + "\\" + name; }

class DialogRestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDialogClasses();
        DeleteDialogSettings();
        support::FreshFolder(kProgramFolder);
        support::FreshFolder(kTarget);
        support::WriteBytes(kDatabase, "the current database");
        // Python's archive: its entry's time is the same in every time zone.
        support::CopyFileTo(Corpus("restore_python.zip"), kArchive);
        previousPicker = SetOpenFileHandler(
            [this](const std::string& folder, const std::string&, const std::string& pattern) {
                Picks.push_back(folder + "|" + pattern);
                return Picked;
            });
        dialog = new TFSnimanjePodataka(nullptr);
        dialog->ProgramFileName = kProgramFolder + "Snimanje.exe";
        dialog->Show();
        Application().ProcessMessages();
        dialog->DirectoryEdit1->SetText(kTarget);
    }
    void TearDown() override {
        delete dialog;
        Application().ProcessMessages();
        SetOpenFileHandler(previousPicker);
        DeleteDialogSettings();
        support::RemoveTree(kRoot);
    }

    // The item chosen in the window menu, as the system tells the window.
    void Choose(unsigned command) {
        SendMessageA(dialog->Handle(), WM_SYSCOMMAND, command, 0);
        Application().ProcessMessages();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.Boxes) texts.push_back(box.Text);
        return texts;
    }

    TFSnimanjePodataka* dialog = nullptr;
    std::string Picked = kArchive;
    std::vector<std::string> Picks;
    TOpenFileHandler previousPicker;
    support::MessageBoxCapture boxes;
};

}  // namespace

TEST_F(DialogRestoreTest, TestsThePickedArchiveAndSaysWhatItFound) {
    HMENU menu = GetSystemMenu(dialog->Handle(), FALSE);
    char text[128] = "";
    GetMenuStringA(menu, kTestArchiveCommand, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, kTestArchiveMenuText);
    GetMenuStringA(menu, kRestoreCommand, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, kRestoreMenuText);

    Choose(kTestArchiveCommand);
    EXPECT_EQ(Picks, std::vector<std::string>{kTarget + "|" + kArchiveFilterPattern});
    std::string bytes = ReadBytes(kArchive);
    bytes[bytes.size() / 2] ^= 0x10;
    support::WriteBytes(kArchive, bytes);
    Choose(kTestArchiveCommand);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Text, ArchiveSoundMessage(kArchive));
    EXPECT_EQ(boxes.Boxes[1].Text.rfind(std::string(kArchiveUnsoundMessage) + "\n", 0), 0u) << boxes.Boxes[1].Text;
    // A pick cancelled does nothing.
    Picked = "";
    Choose(kTestArchiveCommand);
    EXPECT_EQ(boxes.Boxes.size(), 2u);
}

TEST_F(DialogRestoreTest, RestoresOnlyWhenTheOperatorSaysYes) {
    const std::string question = Format(kConfirmRestoreText, kArchive.c_str(), "05.03.2024. 10:20", kDatabase.c_str());
    boxes.Answer = IDNO;
    Choose(kRestoreCommand);
    EXPECT_EQ(Texts(), std::vector<std::string>{question});
    EXPECT_EQ(boxes.Boxes[0].Flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(ReadBytes(kDatabase), "the current database");

    // Told yes: a failure says why and that the database is unchanged; a good archive restores.
    boxes.Boxes.clear();
    boxes.Answer = IDYES;
    support::CopyFileTo(Corpus("infozip.zip"), kRoot + "\\foreign.zip");
    Picked = kRoot + "\\foreign.zip";
    Choose(kRestoreCommand);
    const ERestoreFailure foreign(TRestoreCause::NotADatabaseArchive, Picked);
    EXPECT_EQ(Texts(), std::vector<std::string>{RestoreFailedMessage(foreign)});
    EXPECT_EQ(ReadBytes(kDatabase), "the current database");

    boxes.Boxes.clear();
    Picked = kArchive;
    Choose(kRestoreCommand);
    EXPECT_TRUE(ReadBytes(kDatabase) == ReadBytes(Corpus("restore_G2024.fdb")));
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    const std::string& outcome = boxes.Boxes[1].Text;
    const size_t kept = outcome.find(kDatabase + ".");
    ASSERT_NE(kept, std::string::npos) << outcome;
    const std::string backup = outcome.substr(kept, outcome.find(".bak", kept) + 4 - kept);
    EXPECT_EQ(outcome, RestoredMessage({kDatabase, backup}));
    EXPECT_EQ(ReadBytes(backup), "the current database");
    // The dialog is as before, ready for a backup.
    EXPECT_TRUE(IsWindowEnabled(dialog->BitBtn1->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->ProgressBar1->Handle()));
}
