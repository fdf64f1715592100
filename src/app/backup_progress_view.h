#pragma once
// A running backup as the dialog shows it: the phase's text over a bar that fills with the
// phase's bytes. Between reports the dialog keeps painting and answering, and a stop the
// operator asks for meanwhile goes back to the backup at the next report.
#include <cstdint>
#include <functional>
#include <optional>

#include "app/backup_observer.h"

class TLabel;
class TProgressBar;

class TBackupProgressView : public TBackupObserver {
public:
    // The least time between two turns of the message loop, in milliseconds: often enough that
    // a click is answered at once, seldom enough that a fast copy is not slowed.
    static constexpr uint64_t kPumpInterval = 50;

    // pump handles the messages waiting (the application's loop when empty); ticks counts
    // milliseconds on a steady clock (the system's when empty).
    TBackupProgressView(TLabel& label, TProgressBar& bar, std::function<void()> pump = {},
                        std::function<uint64_t()> ticks = {});

    // Shows the label and the empty bar; Hide takes them away again.
    void Show();
    void Hide();
    // The backup stops at its next report.
    void RequestStop() { stopRequested_ = true; }

    bool Progress(TBackupPhase phase, uint64_t done, uint64_t total) override;

private:
    int PositionOf(uint64_t done, uint64_t total) const;

    TLabel& label_;
    TProgressBar& bar_;
    std::function<void()> pump_;
    std::function<uint64_t()> ticks_;
    std::optional<TBackupPhase> phase_;
    std::optional<uint64_t> lastPump_;
    bool stopRequested_ = false;
};
