#pragma once
// The borderless window an edit-with-button drops down. It never becomes the active window, so
// the edit keeps the keyboard focus and hands it the navigation keys; the mouse works on the
// popup directly.
#include <functional>

#include "toolkit/controls.h"

class TPopupWindow : public TCustomControl {
public:
    // Owned by its edit, whose top-level window owns the popup's window.
    explicit TPopupWindow(TWinControl* edit);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TWinControl* Edit() const { return edit_; }
    // Asks the edit to close the popup, taking its value when accept is set.
    std::function<void(bool accept)> OnCloseRequest;
    void RequestClose(bool accept);

    // Keys the edit passes on while the popup is open.
    virtual void PopupKeyDown(WORD key, TShiftState shift) {}
    virtual void PopupKeyPress(char key) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TWinControl* edit_;
};
