#pragma once
// Top-level forms: frame, position, state, closing, keyboard navigation and modal showing.
#include <windows.h>

#include <functional>
#include <vector>

#include "toolkit/controls.h"

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    // Changing the position never recreates the window; it decides where the next Show puts it.
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState v);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v) { formStyle_ = v; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }

    // Client size; the values a form description gives are at its PixelsPerInch and are scaled
    // to the screen's density when the description has been read.
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    RECT ClientRect() const override;
    // Density the form's layout was made for (96 unless its description says otherwise).
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool v) { scaled_ = v; }
    // The form laid out anew for another density (WM_DPICHANGED: moved to another monitor, or
    // the scaling changed): controls, fonts, glyphs and icons follow, and the window takes the
    // suggested rectangle, else keeps its corner with the client area scaled.
    void ChangeDensity(int pixelsPerInch, const RECT* suggested = nullptr);

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* c);

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }

    // Shows the form (OnShow runs first, while the window is still hidden) and activates it.
    void Show();
    void Hide();
    void SetVisible(bool v) override;
    TModalResult ShowModal();
    // Asks OnCloseQuery, then runs OnClose; closing the main form ends the application.
    void Close();
    bool CloseQuery();
    // Frees the form once the messages now queued have been handled.
    void Release();

    bool IsMainForm() const;

    // Keyboard navigation.
    std::vector<TWinControl*> TabList() const;
    void SelectNext(TWinControl* current, bool forward);
    void SelectFirst();
    // Tab moves the focus; Enter and Esc are offered to the buttons. True when consumed.
    virtual bool DialogKey(WORD key, TShiftState shift);
    // Accelerators: the first control (labels and buttons) whose caption marks ch.
    bool DialogChar(char ch) override;

    // Window placement for settings storage. The normal rectangle set is moved, if need be, to
    // lie wholly on the monitor nearest to it.
    WINDOWPLACEMENT Placement();
    void SetPlacement(const WINDOWPLACEMENT& placement);

    void Loaded() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // A control of this form is being destroyed.
    void ControlDestroying(TControl* c);

    // Plain replaceable handlers (the settings component puts its own in front of them).
    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void FocusChanged(TWinControl* control) override;
    virtual void DoShow();
    virtual void DoClose(TCloseAction& action);

private:
    void PlaceForShowing();
    void ScaleToScreen();
    // The program's icon in the caption and the taskbar, at the form's density.
    void ApplyIcons();
    void ReleaseIcons();
    void CollectTabList(const TWinControl* parent, std::vector<TWinControl*>& out) const;
    bool BroadcastDialogKey(const TWinControl* parent, WORD key);
    bool FindAccelerator(const TWinControl* parent, char ch);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    bool keyPreview_ = false;
    int clientWidth_ = -1, clientHeight_ = -1;  // wanted before the window exists
    int pixelsPerInch_ = 96;
    bool scaled_ = true;
    TWinControl* activeControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool closed_ = false;  // closed since the last Show: a second Close does nothing
    bool releasing_ = false;
    HICON smallIcon_ = nullptr, largeIcon_ = nullptr;
};
