#pragma once
// The one-line edit box (a subclassed EDIT window).
#include "toolkit/controls.h"

enum class TBorderStyle { bsNone, bsSingle };

// An edit window's selection as EM_GETSEL reports it: the first selected character and the one
// after the last (both the caret position when nothing is selected).
struct TEditSelection {
    DWORD Start = 0;
    DWORD End = 0;
};
TEditSelection EditSelection(HWND edit);

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return maxLength_; }  // 0: no limit
    void SetMaxLength(int v);
    // Select the whole text when the focus arrives by keyboard.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    // Typed characters go through the OEM code page and back (file names on FAT volumes).
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v) { autoSize_ = v; }
    // bsNone: no frame (the edit sits inside another control's frame).
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    void SelectAll();
    void Clear() { SetText(""); }
    void CopyToClipboard();
    bool Modified() const;
    void SetModified(bool v);

    TNotifyEvent OnChange;

    void DoEnter() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // After every change of the text, by typing or by SetText.
    virtual void Change();
    void TextChanged() override;

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool autoSelect_ = true;
    bool oemConvert_ = false;
    bool autoSize_ = true;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    int selStart_ = 0, selLength_ = 0;  // kept while there is no window
};
