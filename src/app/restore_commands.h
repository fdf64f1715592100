#pragma once
// What the dialog's window menu adds for the way back: its two items, the pick of an archive,
// the question before a restore, and the restore's reports shown on the backup's bar.
#include <windows.h>

#include <string>

#include "app/backup_observer.h"
#include "app/restore_job.h"

// Command numbers of the window menu's items (below the system's, in steps of 16).
inline constexpr unsigned kTestArchiveCommand = 0x0110;
inline constexpr unsigned kRestoreCommand = 0x0120;

// "Provjeri arhivu..." and "Vrati bazu iz arhive..." below a separator in form's window menu.
void AddRestoreMenuItems(HWND form);

// An archive picked in the open-file dialog, starting in folder and showing the databases'
// archives; "" when the operator cancelled.
std::string PickArchive(const std::string& folder);

// Asks whether to restore candidate from archive; true for yes.
bool ConfirmRestore(const std::string& archive, const TRestoreCandidate& candidate);

// The restore's reports on the backup's view: the test as its verifying, then the restoring.
class TRestoreProgress : public TRestoreObserver {
public:
    explicit TRestoreProgress(TBackupObserver& view) : view_(view) {}
    bool Progress(TRestorePhase phase, uint64_t done, uint64_t total) override {
        return view_.Progress(phase == TRestorePhase::Testing ? TBackupPhase::Verifying : TBackupPhase::Restoring, done,
                              total);
    }

private:
    TBackupObserver& view_;
};
