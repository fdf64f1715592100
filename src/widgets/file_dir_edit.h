#pragma once
// The edit-with-button for file-system names: typed text goes through the OEM character set,
// the dialog the button opens is wrapped in before/after events, and names may be dropped on
// the edit from the system shell.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "widgets/combo_edit.h"

// Name and Action may be changed by the handler; Action False stops (before) or rejects (after).
using TExecOpenDialogEvent = std::function<void(TObject* Sender, std::string& Name, bool& Action)>;

class TFileDirEdit : public TCustomComboEdit {
public:
    explicit TFileDirEdit(TComponent* owner);
    ~TFileDirEdit() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Register the edit as a drop target of the shell while its window exists.
    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool value);

    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;
    // After dropped names were taken into the text.
    TNotifyEvent OnDropFiles;

    // The names dropped on the edit, in order; then OnDropFiles.
    void DropNames(const std::vector<std::string>& names);

    void KeyPress(char& key) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    std::string DefaultGlyphResource() const override { return "FEDITBMP"; }
    // What a descendant makes of dropped names.
    virtual void TakeDroppedNames(const std::vector<std::string>& names) {}
    void CreateWnd() override;

private:
    void ReceiveDrop(HDROP drop);
    bool acceptFiles_ = false;
};

// A typed character as it comes back from the OEM character set (one without an OEM equivalent
// comes back as another character).
char ThroughOemCharset(char ch);
