#pragma once
// The window layer: controls, windowed controls, graphic (parent-painted) controls and
// custom-drawn windowed controls. Every window of the program runs through one window
// procedure that finds the object bound to the window and calls its WndProc.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/component.h"
#include "toolkit/graphics.h"

// Notifications that a parent window reflects to the child control that sent them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
// The toolkit's own messages.
constexpr UINT CM_RELEASE = WM_APP + 0x3A00;  // a form frees itself

// Keyboard and mouse state, one bit each.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;
// The Shift, Alt and Ctrl keys as they are now.
TShiftState KeyboardShiftState();
// The shift state carried by a mouse message's wParam.
TShiftState MouseShiftState(WPARAM keys);

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// True when caption marks ch as its accelerator ("&S" matches s and S; "&&" is a plain "&").
bool IsAccel(char ch, const std::string& caption);

class TWinControl;
class TForm;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    virtual bool IsWindowed() const { return false; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    // Client coordinates of this control to screen coordinates.
    POINT ClientToScreen(POINT p) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    TFont& Font() { return font_; }
    TFont* FontObject() { return &font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);

    // Caption of labels, buttons and forms; the text of edits.
    virtual std::string Text() const { return text_; }
    virtual void SetText(const std::string& v);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& v) { SetText(v); }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& v) { hint_ = v; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }

    // Marks the control for repainting; Repaint paints it now.
    virtual void Invalidate();
    void Repaint();

    // Accelerator key typed with Alt; true when this control took it.
    virtual bool DialogChar(char ch) { return false; }
    // Enter or Esc offered to every control of a form; true when the control acted on it.
    virtual bool DialogKeyBroadcast(WORD key) { return false; }

    // Multiplies position, size and (unless inherited) the font height by m/d.
    virtual void ScaleBy(int m, int d);
    // The screen's density changed (Screen().PixelsPerInch() is the new one) and the form has
    // scaled the bounds and fonts: what is drawn for a density (glyphs, popups) is made anew.
    virtual void DensityChanged() {}

    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // Hooks after a change of the named setting.
    virtual void BoundsChanged() {}
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void VisibleChanged();
    // Records bounds that the platform already applied (no window move).
    void UpdateBounds(int left, int top, int width, int height);
    void SyncParentFont();
    void SyncParentColor();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;

private:
    friend class TWinControl;
    TFont font_;
    bool parentFont_ = true;
    bool syncingFont_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    std::string hint_;
    bool showHint_ = false;
    int tag_ = 0;
};

// A control without a window of its own, painted by its parent (labels, bevels).
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    // Drawn by the parent with the origin at this control's top-left corner, clipped to it.
    virtual void Paint(TCanvas& canvas) {}
};

// What a windowed control's window is created from. A descendant adjusts it in CreateParams.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;        // parent of a child window, owner of a top-level one
    std::string WinClassName;        // the class registered for this control
    UINT ClassStyle = CS_DBLCLKS;    // e.g. CS_SAVEBITS for popups
    std::string SubclassOf;          // a system class (EDIT, BUTTON, STATIC) to create and subclass
    DWORD CommonControls = 0;        // ICC_* flags: a common-controls class that must be loaded first
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    bool IsWindowed() const override { return true; }

    // The window, created (with those of the parents) on first use.
    HWND Handle();
    HWND HandleIfAllocated() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window; a later Handle() makes a new one with the same settings.
    void DestroyHandle();
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int v) { helpContext_ = v; }

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void SetText(const std::string& v) override;
    std::string Text() const override;
    void Invalidate() override;
    void ScaleBy(int m, int d) override;
    void DensityChanged() override;

    // Message handling: descendants override WndProc for any message and pass the rest on.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The platform's handling: the subclassed system class, or DefWindowProc.
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

    // The object bound to a window; nullptr for windows that are not the program's.
    static TWinControl* FromHandle(HWND window);
    // The object bound to window or to its nearest ancestor that has one.
    static TWinControl* FindControl(HWND window);

    // Keyboard messages of the message loop come here before they are translated and
    // dispatched: key preview by the form, the control's own key handlers, then the form's
    // navigation keys. True when the message is consumed. WM_CHAR's wParam may be replaced.
    virtual bool PreTranslateKey(MSG& msg);
    // Keys (Tab, Enter, Esc, arrows) that the control handles itself instead of the form.
    virtual bool WantsKey(WORD key, TShiftState shift) const { return false; }
    // While a control's popup is open (a dropped-down calendar) its keys belong to the popup:
    // the control sees them before the form's key preview, so that Esc closes the popup only.
    virtual bool HasOpenPopup() const { return false; }

    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter();
    virtual void DoExit();

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    virtual void CreateParams(TCreateParams& params);
    // Makes the window from CreateParams, applies the font and makes the children's windows.
    // Descendants that need more set-up call it first.
    virtual void CreateWnd();
    // Custom drawing of the client area (the base draws nothing).
    virtual void PaintWindow(HDC dc) {}
    void PaintControls(HDC dc);
    // The brush WM_CTLCOLOR* answers with: the control's colour.
    HBRUSH ColorBrush();
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    // A child (this control's or a deeper one's) got the focus.
    virtual void FocusChanged(TWinControl* control) {}

private:
    friend class TControl;
    static LRESULT CALLBACK BridgeProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Bind(HWND window);
    void Unbind();
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    LRESULT ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
    void BoundsFromWindow();

    HWND handle_ = nullptr;
    WNDPROC oldProc_ = nullptr;
    std::vector<TControl*> controls_;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    int helpContext_ = 0;
    HBRUSH brush_ = nullptr;
};

// A windowed control that draws itself (calendar grid, popup window).
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // The drawing surface; it has a device context only while Paint runs.
    TCanvas& Canvas() { return canvas_; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    // What it draws shows whether it is enabled.
    void EnabledChanged() override;

private:
    TCanvas canvas_;
};

// The form a control sits on (walking up the parents); nullptr when it is on none.
TForm* GetParentForm(const TControl* control);
