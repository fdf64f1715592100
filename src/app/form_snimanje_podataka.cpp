#include "app/form_snimanje_podataka.h"

#include <windows.h>

#include "app/archive_replacement.h"
#include "app/backup_names.h"
#include "app/name_helpers.h"
#include "archiver/vorbex.h"
#include "core/exceptions.h"
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
// Every kind of file: read-only, hidden, system, volume label, folder and archive bits.
constexpr uint16_t kAnyFile = 63;
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

void TFSnimanjePodataka::BitBtn1Click(TObject*) {
    ForceDirectories(kStagingFolder);
    // An empty or uncreatable relative folder raises here and reaches the failure display.
    ForceDirectories(DirectoryEdit1->Text());
    std::string programFolder = AddTrailingBackslash(ExtractFilePath(ProgramFileName));
    TBackupNames names =
        MakeBackupNames(DirectoryEdit1->Text(), programFolder, EditGodina->Text(), DateEdit1->DateValue());

    // Archiving whatever the staging folder held from an earlier run would report an old or
    // empty backup as a success.
    if (!CopyFileA(names.Source.c_str(), names.Staging.c_str(), FALSE)) {
        ShowMessage(kFailureMessage);
        return;
    }

    // Creating the archive in place would empty an earlier backup of the same day before the
    // new one is known to be good.
    TArchiveReplacement replacement(names.Archive);
    Screen().SetCursor(crHourGlass);
    try {
        Vorbex1->SetFileName(replacement.TemporaryName());
        Vorbex1->Open(fmCreate);
        Vorbex1->SetBaseDir(kStagingFolder);
        Vorbex1->AddMatchingFiles(names.Staging, kAnyFile, "");
        Vorbex1->Flush();
        Vorbex1->Close();
        replacement.PutInPlace();
    } catch (...) {
        // The half-written file must be released before it can be removed.
        Vorbex1->Close();
        replacement.Discard();
        Screen().SetCursor(crDefault);
        ShowMessage(kFailureMessage);
        return;
    }
    Screen().SetCursor(crDefault);
    ShowMessage(kSuccessMessage);
    Close();
}

void TFSnimanjePodataka::BitBtn2Click(TObject*) { Close(); }

void TFSnimanjePodataka::FormKeyDown(TObject*, WORD& key, TShiftState) {
    if (key == VK_ESCAPE) Close();
}

void TFSnimanjePodataka::FormClose(TObject*, TCloseAction& action) { action = TCloseAction::caFree; }
