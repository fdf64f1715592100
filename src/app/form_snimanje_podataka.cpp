#include "app/form_snimanje_podataka.h"

#include <windows.h>

#include "app/backup_job.h"
#include "app/backup_outcome.h"
#include "app/backup_progress_view.h"
#include "app/name_helpers.h"
#include "app/restore_commands.h"
#include "app/restore_outcome.h"
#include "app/restore_texts.h"
#include "app/settings_location.h"
#include "archiver/vorbex.h"
#include "core/exceptions.h"
#include "core/paths.h"
#include "core/text.h"
#include "settings/form_storage.h"
#include "settings/settings_classes.h"
#include "toolkit/application.h"
#include "toolkit/bevel.h"
#include "toolkit/buttons.h"
#include "toolkit/edit.h"
#include "toolkit/form_resource.h"
#include "toolkit/label.h"
#include "toolkit/message_box.h"
#include "toolkit/progress_bar.h"
#include "toolkit/toolkit_classes.h"
#include "widgets/date_edit.h"
#include "widgets/directory_edit.h"

void RegisterDialogClasses() {
    RegisterToolkitClasses();
    RegisterDirectoryEditClasses();
    RegisterDateEditClasses();
    RegisterSettingsClasses();
    RegisterArchiverClasses();
}

TFSnimanjePodataka::TFSnimanjePodataka(TComponent* owner) : TForm(owner), ProgramFileName(Application().ExeName()) {
    RegisterMethod("FormShow", TNotifyEvent([this](TObject* s) { FormShow(s); }));
    RegisterMethod("BitBtn1Click", TNotifyEvent([this](TObject* s) { BitBtn1Click(s); }));
    RegisterMethod("BitBtn2Click", TNotifyEvent([this](TObject* s) { BitBtn2Click(s); }));
    RegisterMethod("FormKeyDown",
                   TKeyEvent([this](TObject* s, WORD& key, TShiftState shift) { FormKeyDown(s, key, shift); }));
    RegisterMethod("FormCloseQuery",
                   TCloseQueryEvent([this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); }));
    RegisterMethod("FormClose", TCloseEvent([this](TObject* s, TCloseAction& a) { FormClose(s, a); }));
    ReadFormResource(*this, "TFSNIMANJEPODATAKA");
    BitBtn1 = Child<TBitBtn>("BitBtn1");
    BitBtn2 = Child<TBitBtn>("BitBtn2");
    DirectoryEdit1 = Child<TDirectoryEdit>("DirectoryEdit1");
    DateEdit1 = Child<TDateEdit>("DateEdit1");
    EditGodina = Child<TEdit>("EditGodina");
    Label1 = Child<TLabel>("Label1");
    Label4 = Child<TLabel>("Label4");
    Label2 = Child<TLabel>("Label2");
    Bevel1 = Child<TBevel>("Bevel1");
    LabelFaza = Child<TLabel>("LabelFaza");
    ProgressBar1 = Child<TProgressBar>("ProgressBar1");
    FormStorage1 = Child<TFormStorage>("FormStorage1");
    Vorbex1 = Child<TVorbex>("Vorbex1");
    FormStorage1->SetIniFileName(UserSettingsFile(FormStorage1->IniFileNameInUse()));
}

template <class T>
T* TFSnimanjePodataka::Child(const char* name) {
    T* c = dynamic_cast<T*>(FindComponent(name));
    if (!c) throw EReadError(std::string("The dialog's description lacks ") + name);
    return c;
}

const TClassInfo& TFSnimanjePodataka::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TFSnimanjePodataka, TForm>("TFSnimanjePodataka");
    return info;
}

void TFSnimanjePodataka::FormShow(TObject*) {
    TDateTime today = Today();
    DateEdit1->SetDateValue(today);
    EditGodina->SetText(std::to_string(YearOfDate(today)));
}

// While a backup runs the operator can only watch it or stop it: the fields and "&Snimi" are
// disabled, the focus is on "&Odustani" (so that Enter and Esc stop it too) and the hourglass
// is up; on every way out the dialog is as it was, ready for another try.
class TFSnimanjePodataka::TRunningBackup {
public:
    TRunningBackup(TFSnimanjePodataka& dialog, TBackupProgressView& view)
        : dialog_(dialog), view_(view), focused_(dialog.ActiveControl()) {
        if (dialog_.BitBtn2->CanFocus()) dialog_.BitBtn2->SetFocus();
        SetFieldsEnabled(false);
        Screen().SetCursor(crHourGlass);
        view_.Show();
        dialog_.running_ = &view_;
    }
    ~TRunningBackup() {
        dialog_.running_ = nullptr;
        view_.Hide();
        Screen().SetCursor(crDefault);
        SetFieldsEnabled(true);
        if (focused_ && focused_->CanFocus()) focused_->SetFocus();
    }
    TRunningBackup(const TRunningBackup&) = delete;
    TRunningBackup& operator=(const TRunningBackup&) = delete;

private:
    void SetFieldsEnabled(bool enabled) {
        TWinControl* const fields[] = {dialog_.BitBtn1, dialog_.DateEdit1, dialog_.DirectoryEdit1, dialog_.EditGodina};
        for (TWinControl* c : fields) c->SetEnabled(enabled);
    }

    TFSnimanjePodataka& dialog_;
    TBackupProgressView& view_;
    TWinControl* focused_;
};

void TFSnimanjePodataka::BitBtn1Click(TObject*) {
    // The messages handled while a backup runs may still carry a press of "&Snimi" (its
    // accelerator, say): the backup that runs goes on alone.
    if (running_) return;
    startPressTime_ = static_cast<DWORD>(GetMessageTime());
    startKeyHeld_ = GetKeyState(VK_RETURN) < 0 ? VK_RETURN : 0;
    const TBackupRequest request{DirectoryEdit1->Text(), AddTrailingBackslash(ExtractFilePath(ProgramFileName)),
                                 EditGodina->Text(), DateEdit1->DateValue()};
    std::string archive;
    try {
        // Refused input leaves the dialog as it is, the focus where it was.
        CheckBackupRequest(request);
        TBackupProgressView view(*LabelFaza, *ProgressBar1);
        TRunningBackup running(*this, view);
        TBackupJob job(*Vorbex1, view);
        archive = job.Run(request);
    } catch (const EBackupInput& e) {
        ShowMessage(e.Message());
        FieldControl(e.Field)->SetFocus();
        return;
    } catch (const EBackupCancelled& e) {
        // The operator asked for it: told on its own, without the failure's line.
        ShowMessage(e.Message());
        return;
    } catch (const EBackupFailure& e) {
        // The fields stay as they were, for another try.
        ShowMessage(FailedMessage(e));
        return;
    }
    ShowMessage(SavedMessage(archive));
    Close();
}

TWinControl* TFSnimanjePodataka::FieldControl(TBackupField field) const {
    switch (field) {
        case TBackupField::Folder: return DirectoryEdit1;
        case TBackupField::Year: return EditGodina;
        case TBackupField::Date: break;
    }
    return DateEdit1;
}

void TFSnimanjePodataka::BitBtn2Click(TObject*) { Close(); }

void TFSnimanjePodataka::FormKeyDown(TObject*, WORD& key, TShiftState) {
    if (key == VK_ESCAPE) Close();
    if (running_ && RepeatsTheStartingPress(key)) key = 0;
}

bool TFSnimanjePodataka::RepeatsTheStartingPress(WORD key) const {
    if (key != VK_RETURN && key != VK_SPACE) return false;
    return key == startKeyHeld_ || static_cast<DWORD>(GetMessageTime()) - startPressTime_ < GetDoubleClickTime();
}

void TFSnimanjePodataka::KeyUp(WORD& key, TShiftState shift) {
    if (key == startKeyHeld_) startKeyHeld_ = 0;
    TForm::KeyUp(key, shift);
}

void TFSnimanjePodataka::FormCloseQuery(TObject*, bool& canClose) {
    // "&Odustani", Esc and the close box stop a running backup; the dialog stays, and the next
    // one closes it.
    if (!running_) return;
    running_->RequestStop();
    canClose = false;
}

void TFSnimanjePodataka::FormClose(TObject*, TCloseAction& action) { action = TCloseAction::caFree; }

void TFSnimanjePodataka::CreateWnd() {
    TForm::CreateWnd();
    AddRestoreMenuItems(Handle());
}

LRESULT TFSnimanjePodataka::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOMMAND) {
        // The low four bits are the system's own.
        const unsigned command = static_cast<unsigned>(wParam) & 0xFFF0u;
        if (command == kTestArchiveCommand) {
            TestArchiveClick();
            return 0;
        }
        if (command == kRestoreCommand) {
            RestoreClick();
            return 0;
        }
    }
    return TForm::WndProc(msg, wParam, lParam);
}

void TFSnimanjePodataka::TestArchiveClick() {
    if (running_) return;
    const std::string archive = PickArchive(DirectoryEdit1->Text());
    if (archive.empty()) return;
    try {
        TBackupProgressView view(*LabelFaza, *ProgressBar1);
        TRunningBackup running(*this, view);
        TRestoreProgress progress(view);
        TestArchiveFile(archive, progress);
    } catch (const ERestoreFailure& e) {
        ShowMessage(e.Cause == TRestoreCause::Cancelled ? Format(kTestCancelledText, archive.c_str())
                                                        : ArchiveUnsoundMessage(e));
        return;
    }
    ShowMessage(ArchiveSoundMessage(archive));
}

void TFSnimanjePodataka::RestoreClick() {
    if (running_) return;
    const std::string archive = PickArchive(DirectoryEdit1->Text());
    if (archive.empty()) return;
    TRestoreResult result;
    try {
        const std::string folder = AddTrailingBackslash(ExtractFilePath(ProgramFileName));
        if (!ConfirmRestore(archive, ReadRestoreCandidate(archive, folder))) return;
        TBackupProgressView view(*LabelFaza, *ProgressBar1);
        TRunningBackup running(*this, view);
        TRestoreProgress progress(view);
        result = TRestoreJob(progress).Run(archive, folder);
    } catch (const ERestoreFailure& e) {
        // The dialog stays, the current database as it was.
        ShowMessage(RestoreFailedMessage(e));
        return;
    }
    ShowMessage(RestoredMessage(result));
}
