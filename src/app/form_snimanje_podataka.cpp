#include "app/form_snimanje_podataka.h"

#include <windows.h>

#include <algorithm>

#include "app/backup_job.h"
#include "app/backup_outcome.h"
#include "app/backup_progress_view.h"
#include "app/backup_texts.h"
#include "app/last_archive.h"
#include "app/name_helpers.h"
#include "app/retention.h"
#include "app/run_log.h"
#include "app/settings_location.h"
#include "archiver/vorbex.h"
#include "core/exceptions.h"
#include "core/ini_file.h"
#include "core/paths.h"
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

namespace {
// Posted by a look-up of the last archive when its answer is ready.
constexpr UINT kLastArchiveAnswered = WM_APP + 0x100;
}  // namespace

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
    LabelZadnja = Child<TLabel>("LabelZadnja");
    LabelFaza = Child<TLabel>("LabelFaza");
    ProgressBar1 = Child<TProgressBar>("ProgressBar1");
    FormStorage1 = Child<TFormStorage>("FormStorage1");
    Vorbex1 = Child<TVorbex>("Vorbex1");
    FormStorage1->SetIniFileName(UserSettingsFile(FormStorage1->IniFileNameInUse()));
    // The answer comes on another thread; the window's own takes it from the message.
    lastArchive_ = std::make_unique<TLastArchiveLookup>([this] {
        if (HWND window = HandleIfAllocated()) PostMessageA(window, kLastArchiveAnswered, 0, 0);
    });
    DirectoryEdit1->OnChange = [this](TObject*) { RequestLastArchive(); };
    EditGodina->OnChange = [this](TObject*) { RequestLastArchive(); };
}

TFSnimanjePodataka::~TFSnimanjePodataka() {
    // The fields outlive this body, and the look-up must not be asked for again without it.
    DirectoryEdit1->OnChange = nullptr;
    EditGodina->OnChange = nullptr;
}

void TFSnimanjePodataka::RequestLastArchive() {
    // Resolved here: the archiver changes the process's current folder while it runs.
    const std::string folder = DirectoryEdit1->Text();
    const std::string full = FullPathName(folder);
    LabelZadnja->Font().SetColor(clWindowText);
    LabelZadnja->SetCaption(kLookingUpText);
    lastArchive_->Request(full.empty() ? folder : full, EditGodina->Text());
}

void TFSnimanjePodataka::ShowLastArchive() {
    TYearArchives archives;
    if (!lastArchive_->Take(archives)) return;
    const TLastArchiveLine line = LastArchiveLine(archives, Today());
    LabelZadnja->Font().SetColor(line.Warning ? clRed : clWindowText);
    LabelZadnja->SetCaption(line.Text);
}

LRESULT TFSnimanjePodataka::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kLastArchiveAnswered) {
        ShowLastArchive();
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
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
    RequestLastArchive();
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
                                 EditGodina->Text(), DateEdit1->DateValue(), KeptArchives()};
    std::string archive;
    TPrunedArchives pruned;
    try {
        // Refused input leaves the dialog as it is, the focus where it was.
        CheckBackupRequest(request);
        TBackupProgressView view(*LabelFaza, *ProgressBar1);
        TRunningBackup running(*this, view);
        TBackupJob job(*Vorbex1, view);
        job.LogTo(RunLogFile(FormStorage1->IniFileNameInUse()));
        archive = job.Run(request);
        pruned = job.Pruned();
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
        RequestLastArchive();
        return;
    }
    ShowMessage(SavedMessage(archive, pruned));
    Close();
}

int TFSnimanjePodataka::KeptArchives() const {
    const TIniFile settings(FormStorage1->IniFileNameInUse());
    return std::max(0, settings.ReadInteger(FormStorage1->IniSectionInUse(), kKeepArchivesKey, 0));
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
