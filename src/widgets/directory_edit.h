#pragma once
// The folder edit: its button opens a folder dialog at the folder in the text and writes the
// chosen folder back.
#include <string>

#include "widgets/file_dir_edit.h"
#include "widgets/folder_select_dialog.h"

enum TDirDialogKind { dkBuiltin, dkWin32 };

class TDirectoryEdit : public TFileDirEdit {
public:
    explicit TDirectoryEdit(TComponent* owner);
    ~TDirectoryEdit() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TDirDialogKind DialogKind() const { return dialogKind_; }
    void SetDialogKind(TDirDialogKind kind) { dialogKind_ = kind; }
    // Shown above the folder tree of the system folder browser.
    const std::string& DialogText() const { return dialogText_; }
    void SetDialogText(const std::string& text) { dialogText_ = text; }
    TSelectDirOpts DialogOptions() const { return dialogOptions_; }
    void SetDialogOptions(TSelectDirOpts options) { dialogOptions_ = options; }
    // Start folder for an empty text; follows every accepted choice.
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& folder) { initialDir_ = folder; }
    // The text is a ";"-separated list of folders.
    bool MultipleDirs() const { return multipleDirs_; }
    void SetMultipleDirs(bool value) { multipleDirs_ = value; }

    // Held only (kept for callers of the widget; nothing in this program reads them): the text
    // with every element after the drive in its long, or short, name.
    std::string LongPathForm() const;
    std::string ShortPathForm() const;

    // The browse procedure: OnButtonClick, OnBeforeDialog, the dialog, OnAfterDialog, write-back.
    void ActivateButton() override;

protected:
    void TakeDroppedNames(const std::vector<std::string>& names) override;
    // Runs the dialog for the kind chosen; Name is the start folder in and the choice out.
    virtual bool RunDialog(std::string& name);

private:
    TDirDialogKind dialogKind_ = dkBuiltin;
    std::string dialogText_;
    TSelectDirOpts dialogOptions_ = 0;
    std::string initialDir_;
    bool multipleDirs_ = false;
};

// The shell's folder browser rooted at the desktop, file-system folders only; false when the
// system has none (then nothing was shown) or it was cancelled. See ShellFolderBrowserAvailable.
bool ShellFolderBrowser(HWND owner, const std::string& text, std::string& folder);
bool ShellFolderBrowserAvailable();

// Makes TDirectoryEdit known to the form description reader.
void RegisterDirectoryEditClasses();
