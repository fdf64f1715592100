#pragma once
// The backup dialog: date, target folder and year; "&Snimi" copies the year's database to the
// staging folder and packs it into a dated archive in the target folder.
#include <string>

#include "app/backup_request.h"
#include "toolkit/forms.h"

class TBackupProgressView;
class TBitBtn;
class TBevel;
class TDateEdit;
class TDirectoryEdit;
class TEdit;
class TFormStorage;
class TLabel;
class TProgressBar;
class TVorbex;

class TFSnimanjePodataka : public TForm {
public:
    explicit TFSnimanjePodataka(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    void FormShow(TObject* sender);
    void BitBtn1Click(TObject* sender);
    void BitBtn2Click(TObject* sender);
    void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender, TCloseAction& action);
    void KeyUp(WORD& key, TShiftState shift) override;
    // The window menu's "Provjeri arhivu..." and "Vrati bazu iz arhive...".
    void TestArchiveClick();
    void RestoreClick();
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TDirectoryEdit* DirectoryEdit1 = nullptr;
    TDateEdit* DateEdit1 = nullptr;
    TEdit* EditGodina = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label2 = nullptr;
    TBevel* Bevel1 = nullptr;
    // The phase of a running backup and how far it is, right of the buttons; hidden otherwise.
    TLabel* LabelFaza = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TFormStorage* FormStorage1 = nullptr;
    TVorbex* Vorbex1 = nullptr;

    // The program whose folder holds the databases (the running executable).
    std::string ProgramFileName;

protected:
    // Puts the restore's items into the window menu.
    void CreateWnd() override;

private:
    // The dialog while a backup runs, from its start to every way out.
    class TRunningBackup;

    template <class T>
    T* Child(const char* name);
    // The field a refused request is corrected in.
    TWinControl* FieldControl(TBackupField field) const;

    // Enter or Space that only repeats the press that started the running backup: that key
    // still held down, or pressed again within the system's double-click time. It goes to
    // "&Odustani", which has the focus by then, and must not stop the backup.
    bool RepeatsTheStartingPress(WORD key) const;

    // The view of the backup that runs now; none between backups.
    TBackupProgressView* running_ = nullptr;
    // When the press that started it came (the message time), and the key of it still held.
    DWORD startPressTime_ = 0;
    WORD startKeyHeld_ = 0;
};

// Makes the dialog's control classes known to the form description reader.
void RegisterDialogClasses();
