#include "toolkit/controls.h"

#include <commctrl.h>

#include <algorithm>

#include "core/exceptions.h"
#include "core/text.h"
#include "toolkit/application.h"
#include "toolkit/forms.h"

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    return s;
}

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

bool IsAccel(char ch, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char a[2] = {caption[i + 1], 0};
        char b[2] = {ch, 0};
        CharUpperBuffA(a, 1);
        CharUpperBuffA(b, 1);
        return a[0] == b[0];
    }
    return false;
}

TForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

// ---- TControl ------------------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this](TObject*) {
        if (!syncingFont_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    DestroyComponents();
    if (TForm* form = GetParentForm(this)) form->ControlDestroying(this);
    if (parent_) parent_->RemoveControl(this);
}

const TClassInfo& TControl::StaticClass() {
    using P = Published<TControl>;
    static const TClassInfo info = MakeClassInfo<TControl, TComponent>("TControl", {
        P::Int("Left", &TControl::Left, &TControl::SetLeft),
        P::Int("Top", &TControl::Top, &TControl::SetTop),
        P::Int("Width", &TControl::Width, &TControl::SetWidth),
        P::Int("Height", &TControl::Height, &TControl::SetHeight),
        P::Int("Color", &TControl::Color, &TControl::SetColor),
        P::Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true),
        P::Object("Font", &TControl::FontObject),
        P::Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
        P::Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true),
        P::Str("Hint", &TControl::Hint, &TControl::SetHint),
        P::Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false),
        P::Int("Tag", &TControl::Tag, &TControl::SetTag, 0),
        P::Bool("Visible", &TControl::Visible, &TControl::SetVisible, true),
        P::Event("OnClick", &TControl::OnClick),
        P::Event("OnDblClick", &TControl::OnDblClick),
        P::Event("OnMouseDown", &TControl::OnMouseDown),
        P::Event("OnMouseUp", &TControl::OnMouseUp),
        P::Event("OnMouseMove", &TControl::OnMouseMove),
    });
    return info;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw Exception("A control cannot be its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
    if (parentFont_) SyncParentFont();
    if (parentColor_) SyncParentColor();
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    if (parent_ && visible_) parent_->Invalidate();
    UpdateBounds(left, top, width, height);
    if (parent_ && visible_) parent_->Invalidate();
}

void TControl::UpdateBounds(int left, int top, int width, int height) {
    bool changed = left != left_ || top != top_ || width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (changed) BoundsChanged();
}

POINT TControl::ClientToScreen(POINT p) const {
    if (IsWindowed()) {
        if (HWND h = static_cast<const TWinControl*>(this)->HandleIfAllocated()) {
            ::ClientToScreen(h, &p);
            return p;
        }
    }
    POINT q{p.x + left_, p.y + top_};
    return parent_ ? parent_->ClientToScreen(q) : q;
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    if (parent_) parent_->Invalidate();
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    EnabledChanged();
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v) SyncParentFont();
}

void TControl::SyncParentFont() {
    if (!parent_) return;
    syncingFont_ = true;
    font_.Assign(parent_->Font());
    syncingFont_ = false;
}

void TControl::SetColor(TColor v) {
    parentColor_ = false;
    if (v == color_) return;
    color_ = v;
    ColorChanged();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v) SyncParentColor();
}

void TControl::SyncParentColor() {
    if (!parent_ || parent_->Color() == color_) return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::SetText(const std::string& v) {
    if (v == text_) return;
    text_ = v;
    TextChanged();
}

void TControl::Invalidate() {
    if (!parent_ || !visible_) return;
    if (HWND h = parent_->HandleIfAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(h, &r, TRUE);
    }
}

void TControl::Repaint() {
    Invalidate();
    if (IsWindowed()) {
        if (HWND h = static_cast<TWinControl*>(this)->HandleIfAllocated()) UpdateWindow(h);
    } else if (parent_ && parent_->HandleIfAllocated()) {
        UpdateWindow(parent_->HandleIfAllocated());
    }
}

void TControl::ScaleBy(int m, int d) {
    SetBounds(MulDiv(left_, m, d), MulDiv(top_, m, d), MulDiv(width_, m, d), MulDiv(height_, m, d));
    if (!parentFont_) {
        font_.SetHeight(MulDiv(font_.Height(), m, d));
        parentFont_ = false;
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

const TClassInfo& TGraphicControl::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TGraphicControl, TControl>("TGraphicControl");
    return info;
}

// ---- TWinControl ---------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    DestroyComponents();
    for (TControl* c : controls_) c->parent_ = nullptr;
    controls_.clear();
    if (handle_) {
        HWND h = handle_;
        Unbind();
        DestroyWindow(h);
    }
    if (brush_) DeleteObject(brush_);
}

const TClassInfo& TWinControl::StaticClass() {
    using P = Published<TWinControl>;
    static const TClassInfo info = MakeClassInfo<TWinControl, TControl>("TWinControl", {
        P::Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder),
        P::Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
        P::Int("HelpContext", &TWinControl::HelpContext, &TWinControl::SetHelpContext, 0),
        P::Event("OnEnter", &TWinControl::OnEnter),
        P::Event("OnExit", &TWinControl::OnExit),
        P::Event("OnKeyDown", &TWinControl::OnKeyDown),
        P::Event("OnKeyPress", &TWinControl::OnKeyPress),
        P::Event("OnKeyUp", &TWinControl::OnKeyUp),
    });
    return info;
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (parent_) parent_->Handle();
        if (!handle_) CreateWnd();  // a parent's CreateWnd may have made it already
    }
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = text_;
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    p.WinClassName = ClassInfo().Name;
    if (parent_) {
        p.Style = WS_CHILD | WS_CLIPSIBLINGS;
        if (visible_) p.Style |= WS_VISIBLE;
        p.WndParent = parent_->Handle();
    } else {
        p.Style = WS_POPUP;
    }
    if (tabStop_) p.Style |= WS_TABSTOP;
    if (!enabled_) p.Style |= WS_DISABLED;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND h;
    if (p.CommonControls) {
        INITCOMMONCONTROLSEX init{sizeof init, p.CommonControls};
        InitCommonControlsEx(&init);
    }
    if (!p.SubclassOf.empty()) {
        h = CreateWindowExA(p.ExStyle, p.SubclassOf.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                            p.Height, p.WndParent, nullptr, instance, nullptr);
        if (!h) throw EOSError("Error creating window: " + SysErrorMessage(GetLastError()), GetLastError());
        Bind(h);
        oldProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::BridgeProc)));
    } else {
        WNDCLASSA existing;
        if (!GetClassInfoA(instance, p.WinClassName.c_str(), &existing)) {
            WNDCLASSA wc{};
            wc.style = p.ClassStyle;
            wc.lpfnWndProc = &TWinControl::BridgeProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.lpszClassName = p.WinClassName.c_str();
            if (!RegisterClassA(&wc))
                throw EOSError("Error registering window class: " + SysErrorMessage(GetLastError()), GetLastError());
        }
        h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                            p.Height, p.WndParent, nullptr, instance, this);
        if (!h) throw EOSError("Error creating window: " + SysErrorMessage(GetLastError()), GetLastError());
    }
    handle_ = h;
    BoundsFromWindow();
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    for (TControl* c : controls_)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    HWND h = handle_;
    DestroyWindow(h);  // WM_DESTROY keeps texts, WM_NCDESTROY unbinds this and the children
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    bool hadFocus = Focused();
    DestroyHandle();
    HandleNeeded();
    if (hadFocus) SetFocus();
}

void TWinControl::Bind(HWND window) {
    handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::Unbind() {
    if (!handle_) return;
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    if (oldProc_) SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    oldProc_ = nullptr;
    handle_ = nullptr;
}

TWinControl* TWinControl::FromHandle(HWND window) {
    if (!window || !IsWindow(window)) return nullptr;
    // Only windows running through the bridge carry an object pointer.
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TWinControl::BridgeProc))
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

TWinControl* TWinControl::FindControl(HWND window) {
    for (HWND h = window; h; h = GetParent(h))
        if (TWinControl* c = FromHandle(h)) return c;
    return nullptr;
}

LRESULT CALLBACK TWinControl::BridgeProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (auto* c = static_cast<TWinControl*>(cs->lpCreateParams)) c->Bind(window);
    }
    auto* c = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!c) return DefWindowProcA(window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        WNDPROC old = c->oldProc_;
        c->Unbind();
        return old ? CallWindowProcA(old, window, msg, wParam, lParam) : DefWindowProcA(window, msg, wParam, lParam);
    }
    try {
        return c->WndProc(msg, wParam, lParam);
    } catch (...) {
        Application().HandleException(std::current_exception());
        return 0;
    }
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= CN_BASE && msg < CN_BASE + 0x400) {
        // A reflected notice nobody handled: answer what the parent's default would.
        if (msg >= CN_CTLCOLORMSGBOX && msg <= CN_CTLCOLORSTATIC) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, ColorToRGB(Font().Color()));
            SetBkColor(dc, ColorToRGB(Color()));
            return reinterpret_cast<LRESULT>(ColorBrush());
        }
        return 0;
    }
    if (!handle_) return 0;
    if (oldProc_) return CallWindowProcA(oldProc_, handle_, msg, wParam, lParam);
    return DefWindowProcA(handle_, msg, wParam, lParam);
}

LRESULT TWinControl::ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (TWinControl* c = FromHandle(child); c && c != this) return c->WndProc(CN_BASE + msg, wParam, lParam);
    return DefaultHandler(msg, wParam, lParam);
}

void TWinControl::BoundsFromWindow() {
    if (!handle_) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (HWND parent = GetParent(handle_); parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    UpdateBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (lParam) return ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
            break;
        case WM_NOTIFY:
            return ReflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, msg, wParam, lParam);
        case WM_DRAWITEM:
            return ReflectToChild(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem, msg, wParam, lParam);
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam);
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            BoundsFromWindow();
            return r;
        }
        case WM_SETFOCUS: {
            if (TForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this))
                static_cast<TWinControl*>(form)->FocusChanged(this);
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            DoEnter();
            return r;
        }
        case WM_KILLFOCUS: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            DoExit();
            return r;
        }
        case WM_DESTROY:
            // Kept so that a window made again later shows the same text.
            if (handle_) {
                int n = GetWindowTextLengthA(handle_);
                std::string s(static_cast<size_t>(n) + 1, '\0');
                GetWindowTextA(handle_, s.data(), n + 1);
                s.resize(static_cast<size_t>(n));
                text_ = s;
            }
            break;
        case WM_SETCURSOR:
            if (Screen().Cursor() != crDefault) {
                ::SetCursor(TScreen::CursorHandle(Screen().Cursor()));
                return TRUE;
            }
            break;
        case WM_ERASEBKGND:
            if (!oldProc_) {
                RECT r;
                GetClientRect(handle_, &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, ColorBrush());
                return 1;
            }
            break;
        case WM_PAINT:
            if (!oldProc_) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(handle_, &ps);
                PaintWindow(dc);
                PaintControls(dc);
                EndPaint(handle_, &ps);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            TMouseButton b = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? TMouseButton::mbLeft
                             : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? TMouseButton::mbRight
                                                                                  : TMouseButton::mbMiddle;
            TShiftState s = MouseShiftState(wParam);
            bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
            if (dbl) s |= ssDouble;
            MouseDown(b, s, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            if (msg == WM_LBUTTONDBLCLK) DblClick();
            return r;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            TMouseButton b = msg == WM_LBUTTONUP   ? TMouseButton::mbLeft
                             : msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                                   : TMouseButton::mbMiddle;
            MouseUp(b, MouseShiftState(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return r;
        }
        case WM_MOUSEMOVE: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            MouseMove(MouseShiftState(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return r;
        }
        default:
            break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        if (c->IsWindowed() || !c->Visible()) continue;
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g) continue;
        int saved = SaveDC(dc);
        RECT r = g->BoundsRect();
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        SetViewportOrgEx(dc, r.left, r.top, nullptr);
        TCanvas canvas(dc);
        canvas.Font().Assign(g->Font());
        canvas.BrushColor = g->Color();
        g->Paint(canvas);
        RestoreDC(dc, saved);
    }
}

HBRUSH TWinControl::ColorBrush() {
    if (!brush_) brush_ = CreateSolidBrush(ColorToRGB(Color()));
    return brush_;
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
    if (c->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(c);
        if (w->tabOrder_ < 0) {
            int n = 0;
            for (TControl* o : controls_)
                if (o != c && o->IsWindowed()) ++n;
            w->tabOrder_ = n;
        }
        if (handle_) {
            if (w->handle_)
                ::SetParent(w->handle_, handle_);
            else
                w->HandleNeeded();
        }
    }
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    c->Invalidate();
    controls_.erase(it);
    c->parent_ = nullptr;
    if (c->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(c);
        if (w->handle_) w->DestroyHandle();
    }
}

void TWinControl::SetTabOrder(int v) { tabOrder_ = v; }

void TWinControl::SetTabStop(bool v) {
    if (v == tabStop_) return;
    tabStop_ = v;
    if (handle_) {
        LONG style = GetWindowLongA(handle_, GWL_STYLE);
        SetWindowLongA(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (handle_) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        BoundsFromWindow();
    } else {
        UpdateBounds(left, top, width, height);
    }
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, width_, height_};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

std::string TWinControl::Text() const {
    if (!handle_) return text_;
    int n = GetWindowTextLengthA(handle_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    int got = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(static_cast<size_t>(got));
    return s;
}

void TWinControl::SetText(const std::string& v) {
    if (handle_) {
        if (Text() == v) return;
        text_ = v;
        SetWindowTextA(handle_, v.c_str());
        TextChanged();
        return;
    }
    TControl::SetText(v);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::ScaleBy(int m, int d) {
    TControl::ScaleBy(m, d);
    for (TControl* c : controls_) c->ScaleBy(m, d);
}

void TWinControl::DensityChanged() {
    for (TControl* c : controls_) c->DensityChanged();
}

void TWinControl::FontChanged() {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    for (TControl* c : controls_)
        if (c->ParentFont()) c->SyncParentFont();
    Invalidate();
}

void TWinControl::ColorChanged() {
    if (brush_) DeleteObject(brush_);
    brush_ = nullptr;
    for (TControl* c : controls_)
        if (c->ParentColor()) c->SyncParentColor();
    Invalidate();
}

void TWinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
}

void TWinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

bool TWinControl::PreTranslateKey(MSG& msg) {
    TForm* form = GetParentForm(this);
    bool preview = form && static_cast<TControl*>(form) != this && form->KeyPreview();
    bool popupFirst = HasOpenPopup();
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(msg.wParam);
            TShiftState shift = KeyboardShiftState();
            if (popupFirst) KeyDown(key, shift);
            if (key != 0 && preview) form->KeyDown(key, shift);
            if (key != 0 && !popupFirst) KeyDown(key, shift);
            if (key == 0) return true;
            if (form && !WantsKey(key, shift)) return form->DialogKey(key, shift);
            return false;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            WORD key = static_cast<WORD>(msg.wParam);
            TShiftState shift = KeyboardShiftState();
            if (popupFirst) KeyUp(key, shift);
            if (key != 0 && preview) form->KeyUp(key, shift);
            if (key != 0 && !popupFirst) KeyUp(key, shift);
            return key == 0;
        }
        case WM_CHAR: {
            char ch = static_cast<char>(msg.wParam);
            if (popupFirst) KeyPress(ch);
            if (ch != 0 && preview) form->KeyPress(ch);
            if (ch != 0 && !popupFirst) KeyPress(ch);
            if (ch == 0) return true;
            msg.wParam = static_cast<unsigned char>(ch);
            return false;
        }
        case WM_SYSCHAR:
            return form && form->DialogChar(static_cast<char>(msg.wParam));
        default:
            return false;
    }
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- TCustomControl ------------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TCustomControl, TWinControl>("TCustomControl");
    return info;
}

void TCustomControl::EnabledChanged() {
    TWinControl::EnabledChanged();
    Invalidate();
}

void TCustomControl::PaintWindow(HDC dc) {
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(Font());
    canvas_.BrushColor = Color();
    try {
        Paint();
    } catch (...) {
        canvas_.SetHandle(nullptr);
        throw;
    }
    canvas_.SetHandle(nullptr);
}
