// The dialog's view of a running backup, on a clock the test moves: what the label and the bar
// show, how often the message loop gets a turn, and when a stop reaches the backup.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/backup_progress_view.h"
#include "app/backup_texts.h"
#include "toolkit/forms.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"

namespace {

class BackupProgressViewTest : public ::testing::Test {
protected:
    BackupProgressViewTest() {
        label.SetParent(&form);
        bar.SetParent(&form);
        bar.SetMax(1000);
        label.Hide();
        bar.Hide();
    }

    TForm form{nullptr};
    TLabel& label = *new TLabel(&form);
    TProgressBar& bar = *new TProgressBar(&form);
    uint64_t now = 1000;
    int pumps = 0;
    std::function<void()> onPump;
    TBackupProgressView view{label, bar,
                             [this] {
                                 ++pumps;
                                 if (onPump) onPump();
                             },
                             [this] { return now; }};
};

}  // namespace

TEST_F(BackupProgressViewTest, EachPhaseFillsTheBarByItsBytesUnderItsOwnText) {
    struct Step {
        TBackupPhase Phase;
        uint64_t Done, Total;
        const char* Text;
        int Position;
    } steps[] = {
        {TBackupPhase::Copying, 0, 3000, kCopyingText, 0},
        {TBackupPhase::Copying, 1000, 3000, kCopyingText, 333},
        {TBackupPhase::Copying, 3000, 3000, kCopyingText, 1000},
        {TBackupPhase::Packing, 0, 3000, kPackingText, 0},
        {TBackupPhase::Packing, 2999, 3000, kPackingText, 999},
        {TBackupPhase::Verifying, 1500, 3000, kVerifyingText, 500},
        // Gigabytes beyond what an int counts.
        {TBackupPhase::Verifying, 3ull << 31, 1ull << 33, kVerifyingText, 750},
        // An empty database is done at once.
        {TBackupPhase::Copying, 0, 0, kCopyingText, 1000},
    };
    view.Show();
    EXPECT_TRUE(label.Visible());
    EXPECT_TRUE(bar.Visible());
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Text + std::to_string(s.Done));
        EXPECT_FALSE(view.Progress(s.Phase, s.Done, s.Total));
        EXPECT_EQ(label.Caption(), s.Text);
        EXPECT_EQ(bar.Position(), s.Position);
    }
    view.Hide();
    EXPECT_FALSE(label.Visible());
    EXPECT_FALSE(bar.Visible());
}

TEST_F(BackupProgressViewTest, TheLoopTurnsAtTheFirstReportAndThenAtMostEveryFiftyMilliseconds) {
    view.Show();
    // A report every 10 ms for a quarter of a second, across a change of phase.
    for (int i = 0; i < 25; ++i) {
        view.Progress(i < 12 ? TBackupPhase::Copying : TBackupPhase::Packing, i, 100);
        now += 10;
    }
    EXPECT_EQ(pumps, 5);  // at 0, 50, 100, 150 and 200 ms
    // Reports further apart than that turn it every time.
    pumps = 0;
    for (int i = 0; i < 3; ++i) {
        now += 400;
        view.Progress(TBackupPhase::Packing, 50, 100);
    }
    EXPECT_EQ(pumps, 3);
}

TEST_F(BackupProgressViewTest, AStopAskedForWhileTheLoopTurnsEndsTheBackupAtThatReport) {
    view.Show();
    EXPECT_FALSE(view.Progress(TBackupPhase::Copying, 0, 100));
    onPump = [this] { view.RequestStop(); };
    now += 5;
    EXPECT_FALSE(view.Progress(TBackupPhase::Copying, 10, 100));  // no turn yet, nothing seen
    now += 50;
    EXPECT_TRUE(view.Progress(TBackupPhase::Copying, 20, 100));
    onPump = nullptr;
    EXPECT_TRUE(view.Progress(TBackupPhase::Packing, 0, 100));  // and every report after it
    // The next backup starts afresh, its loop turning at once.
    view.Show();
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(label.Caption(), "");
    pumps = 0;
    EXPECT_FALSE(view.Progress(TBackupPhase::Copying, 0, 100));
    EXPECT_EQ(pumps, 1);
}
