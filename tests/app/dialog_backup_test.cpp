// The dialog through a backup that takes a while, in a real window: the bar moves while the
// window answers, nothing else can be started, and "&Odustani", Esc and the close box stop the
// backup, leave the earlier archive and keep the dialog open.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "app/backup_progress_view.h"
#include "app/backup_texts.h"
#include "app/form_snimanje_podataka.h"
#include "archiver/vorbex.h"
#include "core/text.h"
#include "dialog_support.h"
#include "support/files.h"
#include "support/fixed_clock.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "support/test_data.h"
#include "toolkit/application.h"
#include "toolkit/buttons.h"
#include "toolkit/edit.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"
#include "widgets/date_edit.h"
#include "widgets/directory_edit.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const char* kRoot = "c:\\dialog_backup_test";
const char* kProgramFolder = "c:\\dialog_backup_test\\prog\\";
const char* kDatabase = "c:\\dialog_backup_test\\prog\\BRODANIKVESTRA_G2024.fdb";
const char* kTarget = "c:\\dialog_backup_test\\arhiva";
const char* kArchive = "c:\\dialog_backup_test\\arhiva\\BRODANIKVESTRA_G2024_05_03_2024.zip";
const char* kStaging = "c:\\temp_backup\\BRODANIKVESTRA_G2024.fdb";

// Tens of packing reports (one per half MiB). Each is held a little through the archiver's
// per-file event, which the backup leaves to the dialog's owner, so that the backup lasts long
// enough to be watched however fast the machine packs.
constexpr size_t kDatabaseSize = 24u << 20;
constexpr DWORD kHoldPerReport = 10;

// Asks the dialog's windows from a second thread while a backup runs, as the system does to tell
// a program that hangs: the longest wait for an answer, the questions never answered within a
// second, and every position the bar showed.
class Watcher {
public:
    Watcher(HWND form, HWND bar) : thread_([this, form, bar] { Watch(form, bar); }) {}
    ~Watcher() { Stop(); }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // Asks no more questions (the backup is over).
    void Finish() { stop_ = true; }
    // The dialog's thread keeps answering until the watcher has asked its last question.
    void Stop() {
        Finish();
        while (!finished_) {
            Application().ProcessMessages();
            Sleep(1);
        }
        if (thread_.joinable()) thread_.join();
    }

    DWORD LongestWait = 0;
    int Unanswered = 0;
    std::set<int> Positions;

private:
    void Watch(HWND form, HWND bar) {
        while (!stop_) {
            DWORD_PTR answer = 0;
            const DWORD start = GetTickCount();
            // A window already gone (the dialog closes after a backup) is no hang.
            if (!SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer) && GetLastError() == ERROR_TIMEOUT)
                ++Unanswered;
            LongestWait = std::max(LongestWait, GetTickCount() - start);
            if (SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &answer))
                Positions.insert(static_cast<int>(answer));
            Sleep(15);
        }
        finished_ = true;
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;  // last: it starts when the rest is ready
};

// Whether Wine draws this program's window frames itself. With no window manager on the tests'
// screen a managed window's frame, close box included, is drawn by nobody.
bool FramesDrawn() {
    char value[8] = "";
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\app_tests.exe\\X11 Driver", "Managed",
                        RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
           (value[0] == 'N' || value[0] == 'n');
}

// The middle of the close box in the form's frame, found as the window itself tells it.
POINT CloseBoxPoint(HWND form) {
    RECT r;
    GetWindowRect(form, &r);
    const int y = r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    int first = -1, last = -1;
    for (int x = r.left; x < r.right; ++x) {
        if (SendMessageA(form, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCLOSE) continue;
        if (first < 0) first = x;
        last = x;
    }
    EXPECT_GE(first, 0) << "the frame shows no close box";
    return {(first + last) / 2, y};
}

POINT CentreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class DialogBackupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        support::FreshFolder(kProgramFolder);
        WriteBytes(kDatabase, support::NoiseBytes(kDatabaseSize));
    }
    static void TearDownTestSuite() { support::RemoveTree(kRoot); }

    void SetUp() override {
        RegisterDialogClasses();
        support::FreshFolder(kTarget);
        DeleteFileA(kStaging);
        DeleteDialogSettings();
    }
    void TearDown() override {
        CloseDialog();
        Screen().SetCursor(crDefault);
        DeleteFileA(kStaging);
        DeleteDialogSettings();
    }

    // The dialog shown, the target folder typed and the focus on "&Snimi", as after start-up.
    void OpenDialog() {
        destroyed = false;
        packingReports = 0;
        OnPackingReport = nullptr;
        dialog = new TFSnimanjePodataka(nullptr);
        dialog->ProgramFileName = std::string(kProgramFolder) + "Snimanje.exe";
        new DestroyProbe(dialog, destroyed);
        dialog->Vorbex1->OnFileProgress = [this](TObject*, const std::string&, double, TVXProcessOperation,
                                                 TVXProgressPhase phase, bool&) {
            if (phase != ppProcess) return;
            if (OnPackingReport) OnPackingReport(++packingReports);
            Sleep(kHoldPerReport);
        };
        dialog->Show();
        Application().ProcessMessages();
        dialog->DirectoryEdit1->SetText(kTarget);
        dialog->BitBtn1->SetFocus();
    }

    void CloseDialog() {
        Application().ProcessMessages();
        if (dialog && !destroyed) delete dialog;
        dialog = nullptr;
        Application().ProcessMessages();
    }

    // What the dialog looks like between backups, ready for another.
    void ExpectReadyForAnother() {
        TWinControl* const controls[] = {dialog->BitBtn1, dialog->BitBtn2, dialog->DateEdit1, dialog->DirectoryEdit1,
                                         dialog->EditGodina};
        for (TWinControl* c : controls) EXPECT_TRUE(IsWindowEnabled(c->Handle())) << c->Name();
        EXPECT_FALSE(IsWindowVisible(dialog->ProgressBar1->Handle()));
        EXPECT_FALSE(dialog->LabelFaza->Visible());
        EXPECT_EQ(Screen().Cursor(), crDefault);
        EXPECT_EQ(support::FocusedControl(), dialog->BitBtn1);
    }

    TFSnimanjePodataka* dialog = nullptr;
    bool destroyed = false;
    int packingReports = 0;
    // Runs inside the backup at each packing report (1, 2, ...), before the dialog sees it.
    std::function<void(int)> OnPackingReport;
    support::FixedClock clock{2024, 3, 5};
    support::MessageBoxCapture boxes;
};

}  // namespace

TEST_F(DialogBackupTest, TheBarMovesWhileTheWindowAnswersAndNothingElseStarts) {
    OpenDialog();
    struct {
        bool FieldsDisabled = false, OdustaniReady = false, Hourglass = false, PhaseShown = false;
        std::string Phase;
    } during;
    OnPackingReport = [&](int n) {
        if (n != 3) return;
        during.FieldsDisabled = !IsWindowEnabled(dialog->BitBtn1->Handle()) &&
                                !IsWindowEnabled(dialog->DateEdit1->Handle()) &&
                                !IsWindowEnabled(dialog->DirectoryEdit1->Handle()) &&
                                !IsWindowEnabled(dialog->EditGodina->Handle());
        during.OdustaniReady = IsWindowEnabled(dialog->BitBtn2->Handle()) && GetFocus() == dialog->BitBtn2->Handle();
        during.Hourglass = Screen().Cursor() == crHourGlass;
        during.PhaseShown = dialog->LabelFaza->Visible() && IsWindowVisible(dialog->ProgressBar1->Handle());
        during.Phase = dialog->LabelFaza->Caption();
        // Another "&Snimi" while this backup runs: by its accelerator and by a click.
        support::PostAltChar('s');
        PostMessageA(dialog->BitBtn1->Handle(), BM_CLICK, 0, 0);
    };
    {
        const int empty = dialog->ProgressBar1->Min(), full = dialog->ProgressBar1->Max();
        Watcher watcher(dialog->Handle(), dialog->ProgressBar1->Handle());
        boxes.OnShow = [&] { watcher.Finish(); };
        support::PressAltChar('s');
        watcher.Stop();
        EXPECT_EQ(watcher.Unanswered, 0);
        EXPECT_LT(watcher.LongestWait, 1000u);
        std::set<int> partWay;
        for (int p : watcher.Positions)
            if (p > empty && p < full) partWay.insert(p);
        EXPECT_GE(partWay.size(), 3u) << watcher.Positions.size() << " positions seen";
    }
    EXPECT_TRUE(during.FieldsDisabled);
    EXPECT_TRUE(during.OdustaniReady);
    EXPECT_TRUE(during.Hourglass);
    EXPECT_TRUE(during.PhaseShown);
    EXPECT_EQ(during.Phase, kPackingText);
    // One backup, whole, and the dialog closed after it as always.
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, std::string(kSuccessMessage) + "\nArhiva: " + kArchive);
    EXPECT_EQ(support::CountFiles(kTarget), 1);
    EXPECT_EQ(ReadBytes(kStaging).size(), kDatabaseSize);
    KeepForReaders(kArchive, "watched_backup.zip");
    Application().ProcessMessages();
    EXPECT_TRUE(destroyed);
}

TEST_F(DialogBackupTest, AStopLeavesTheEarlierBackupAndTheDialogOpen) {
    enum class Stop {
        OdustaniClicked,
        EnterOnOdustani,
        Esc,
        CloseBoxClicked,
        CloseFromTheWindowMenuAtTheCopy,
        EscAtTheCheck,
    };
    struct Case {
        const char* What;
        Stop How;
    } cases[] = {
        {"Odustani clicked while packing", Stop::OdustaniClicked},
        {"Enter on Odustani, which has the focus, while packing", Stop::EnterOnOdustani},
        {"Esc while packing", Stop::Esc},
        {"the close box clicked while packing", Stop::CloseBoxClicked},
        {"closed from the window menu as the copy starts", Stop::CloseFromTheWindowMenuAtTheCopy},
        {"Esc when the archive is written, before it is read back", Stop::EscAtTheCheck},
    };
    ASSERT_TRUE(FramesDrawn()) << "no close box to click: run the tests in a session of tools/wine-env";
    const std::string earlierArchive = "the morning's archive";
    const std::string earlierStaging = "the morning's staging copy";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        WriteBytes(kArchive, earlierArchive);
        WriteBytes(kStaging, earlierStaging);
        boxes.Boxes.clear();
        OpenDialog();
        OnPackingReport = [&](int n) {
            if (n != 2) return;
            switch (c.How) {
                case Stop::OdustaniClicked: support::InjectClick(CentreOf(dialog->BitBtn2->Handle())); break;
                case Stop::EnterOnOdustani:
                    // A press as late as a second click could come: no repeat of "&Snimi".
                    Sleep(GetDoubleClickTime());
                    support::PostKey(VK_RETURN);
                    break;
                case Stop::Esc: support::PostKey(VK_ESCAPE); break;
                case Stop::CloseBoxClicked: support::InjectClick(CloseBoxPoint(dialog->Handle())); break;
                case Stop::CloseFromTheWindowMenuAtTheCopy:
                case Stop::EscAtTheCheck: break;
            }
        };
        if (c.How == Stop::EscAtTheCheck) {
            dialog->Vorbex1->BeforeVerify = [](TStream&) {
                support::PostKey(VK_ESCAPE);
                // So that the dialog's loop is due at the next report, the packing's last.
                Sleep(TBackupProgressView::kPumpInterval + 20);
            };
        }
        support::PostAltChar('s');
        // Waiting in the queue behind "&Snimi", it is seen at the copy's first report.
        if (c.How == Stop::CloseFromTheWindowMenuAtTheCopy) PostMessageA(dialog->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        Application().ProcessMessages();

        ASSERT_EQ(boxes.Boxes.size(), 1u);
        // Told on its own: a stop is no failure.
        EXPECT_EQ(boxes.Boxes[0].Text, Format(kCancelledText, kArchive));
        EXPECT_EQ(boxes.Boxes[0].Flags, static_cast<UINT>(MB_OK));
        EXPECT_EQ(ReadBytes(kArchive), earlierArchive);
        EXPECT_EQ(support::CountFiles(kTarget), 1);
        EXPECT_FALSE(Exists(std::string(kStaging) + ".tmp"));
        if (c.How == Stop::CloseFromTheWindowMenuAtTheCopy) {
            EXPECT_EQ(packingReports, 0);
            EXPECT_EQ(ReadBytes(kStaging), earlierStaging);
        } else if (c.How == Stop::EscAtTheCheck) {
            // A whole archive that was not yet checked is no backup either.
            EXPECT_EQ(packingReports, static_cast<int>(kDatabaseSize >> 19));
        } else {
            EXPECT_LT(packingReports, 40);  // stopped soon after it was asked, not at the end
        }
        ASSERT_FALSE(destroyed);
        ExpectReadyForAnother();
        // The next "&Odustani" closes the dialog as before.
        support::PressAltChar('o');
        EXPECT_TRUE(destroyed);
        CloseDialog();
    }
}

// Enter or Space pressed twice quickly on "&Snimi": the second press reaches "&Odustani", which has
// the focus once the backup runs, and is the first one repeated, not a stop.
TEST_F(DialogBackupTest, SnimiPressedTwiceQuicklyMakesOneBackup) {
    for (WORD key : {VK_RETURN, VK_SPACE}) {
        SCOPED_TRACE(key);
        boxes.Boxes.clear();
        support::FreshFolder(kTarget);
        OpenDialog();
        support::InjectKey(key);
        support::InjectKey(key);
        Application().ProcessMessages();
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Text, std::string(kSuccessMessage) + "\nArhiva: " + kArchive);
        EXPECT_EQ(support::CountFiles(kTarget), 1);
        CloseDialog();
    }
}
