#include "app/backup_progress_view.h"

#include <windows.h>

#include "app/backup_texts.h"
#include "app/restore_texts.h"
#include "toolkit/application.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"

namespace {

const char* PhaseText(TBackupPhase phase) {
    switch (phase) {
        case TBackupPhase::Packing: return kPackingText;
        case TBackupPhase::Verifying: return kVerifyingText;
        case TBackupPhase::Restoring: return kRestoringText;
        case TBackupPhase::Copying: break;
    }
    return kCopyingText;
}

}  // namespace

TBackupProgressView::TBackupProgressView(TLabel& label, TProgressBar& bar, std::function<void()> pump,
                                         std::function<uint64_t()> ticks)
    : label_(label), bar_(bar), pump_(std::move(pump)), ticks_(std::move(ticks)) {
    if (!pump_) pump_ = [] { Application().ProcessMessages(); };
    if (!ticks_) ticks_ = [] { return static_cast<uint64_t>(GetTickCount64()); };
}

void TBackupProgressView::Show() {
    phase_.reset();
    lastPump_.reset();
    stopRequested_ = false;
    label_.SetCaption("");
    bar_.SetPosition(bar_.Min());
    label_.Show();
    bar_.Show();
}

void TBackupProgressView::Hide() {
    label_.Hide();
    bar_.Hide();
}

bool TBackupProgressView::Progress(TBackupPhase phase, uint64_t done, uint64_t total) {
    const int position = PositionOf(done, total);
    if (position != bar_.Position()) bar_.SetPosition(position);
    if (phase != phase_) {
        // Each phase fills the bar anew; its text is up before its first bytes move, even when
        // the loop's next turn is not due yet.
        phase_ = phase;
        label_.SetCaption(PhaseText(phase));
        label_.Repaint();
        bar_.Repaint();
    }
    const uint64_t now = ticks_();
    if (!lastPump_ || now - *lastPump_ >= kPumpInterval) {
        lastPump_ = now;
        pump_();
    }
    return stopRequested_;
}

int TBackupProgressView::PositionOf(uint64_t done, uint64_t total) const {
    const uint64_t range = static_cast<uint64_t>(bar_.Max() - bar_.Min());
    if (total == 0 || done >= total) return bar_.Max();
    // A database of terabytes times the bar's range still fits in 64 bits.
    return bar_.Min() + static_cast<int>(done * range / total);
}
