#include "toolkit/forms.h"

#include <algorithm>

#include "core/exceptions.h"
#include "toolkit/application.h"
#include "toolkit/density.h"
#include "toolkit/program_icon.h"

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    width_ = 320;
    height_ = 240;
}

TForm::~TForm() {
    MarkDestroying();
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            Application().HandleException(std::current_exception());
        }
    }
    DestroyComponents();
    // The window, destroyed right after this body, draws nothing in between.
    ReleaseIcons();
}

const TClassInfo& TForm::StaticClass() {
    static const TEnumInfo borders{{"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
    static const TEnumInfo positions{{"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                      "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
    static const TEnumInfo states{{"wsNormal", "wsMinimized", "wsMaximized"}};
    static const TEnumInfo styles{{"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
    using P = Published<TForm>;
    static const TClassInfo info = MakeClassInfo<TForm, TWinControl>("TForm", {
        P::Str("Caption", &TForm::Caption, &TForm::SetCaption),
        P::Enum("BorderStyle", borders, &TForm::BorderStyle, &TForm::SetBorderStyle,
                static_cast<int>(TFormBorderStyle::bsSizeable)),
        P::Int("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth),
        P::Int("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight),
        P::Enum("FormStyle", styles, &TForm::FormStyle, &TForm::SetFormStyle, 0),
        P::Bool("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview, false),
        P::Int("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch),
        P::Enum("Position", positions, &TForm::Position, &TForm::SetPosition, 0),
        P::Bool("Scaled", &TForm::Scaled, &TForm::SetScaled, true),
        P::Enum("WindowState", states, &TForm::WindowState, &TForm::SetWindowState, 0),
        P::Component(
            "ActiveControl", [](TForm& f) -> TComponent* { return f.ActiveControl(); },
            [](TForm& f, TComponent* c) { f.SetActiveControl(dynamic_cast<TWinControl*>(c)); }),
        P::Event("OnActivate", &TForm::OnActivate),
        P::Event("OnClose", &TForm::OnClose),
        P::Event("OnCloseQuery", &TForm::OnCloseQuery),
        P::Event("OnCreate", &TForm::OnCreate),
        P::Event("OnDeactivate", &TForm::OnDeactivate),
        P::Event("OnDestroy", &TForm::OnDestroy),
        P::Event("OnHide", &TForm::OnHide),
        P::Event("OnShow", &TForm::OnShow),
    });
    return info;
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}

void TForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    DWORD ex = WS_EX_CONTROLPARENT;
    DWORD style = WS_CLIPCHILDREN;
    switch (borderStyle_) {
        case TFormBorderStyle::bsNone: style |= WS_POPUP; break;
        case TFormBorderStyle::bsSingle: style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
        case TFormBorderStyle::bsSizeable: style |= WS_OVERLAPPEDWINDOW; break;
        case TFormBorderStyle::bsDialog:
            style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
            ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            break;
        case TFormBorderStyle::bsToolWindow:
            style |= WS_CAPTION | WS_SYSMENU;
            ex |= WS_EX_TOOLWINDOW;
            break;
        case TFormBorderStyle::bsSizeToolWin:
            style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
            ex |= WS_EX_TOOLWINDOW;
            break;
    }
    if (formStyle_ == TFormStyle::fsStayOnTop) ex |= WS_EX_TOPMOST;
    if (!Enabled()) style |= WS_DISABLED;
    p.Style = style;
    p.ExStyle = ex;
    if (clientWidth_ >= 0 || clientHeight_ >= 0) {
        RECT r{0, 0, clientWidth_ >= 0 ? clientWidth_ : width_, clientHeight_ >= 0 ? clientHeight_ : height_};
        AdjustWindowRectEx(&r, style, FALSE, ex);
        p.Width = r.right - r.left;
        p.Height = r.bottom - r.top;
    }
    // Forms other than the main form stay above it and share its taskbar button.
    if (!p.WndParent && !IsMainForm()) {
        if (TForm* main = Application().MainForm(); main && main->HandleAllocated()) p.WndParent = main->Handle();
    }
}

void TForm::CreateWnd() {
    TWinControl::CreateWnd();
    // From now on the window's size is the truth; a recreated window keeps it.
    clientWidth_ = clientHeight_ = -1;
    // On Windows 10 a window created on a monitor of another density than the system's is told
    // so only by asking.
    if (int ppi = WindowDensity(Handle()); ppi > 0 && ppi != Screen().PixelsPerInch()) ChangeDensity(ppi);
    ApplyIcons();
}

void TForm::ReleaseIcons() {
    if (smallIcon_) DestroyIcon(smallIcon_);
    if (largeIcon_) DestroyIcon(largeIcon_);
    smallIcon_ = largeIcon_ = nullptr;
}

void TForm::ApplyIcons() {
    // A dialog frame shows no icon in its caption unless it is given one.
    HWND h = Handle();
    const int ppi = pixelsPerInch_ > 0 ? pixelsPerInch_ : Screen().PixelsPerInch();
    HICON small = LoadProgramIcon(SystemMetricForDensity(SM_CXSMICON, ppi));
    HICON large = LoadProgramIcon(SystemMetricForDensity(SM_CXICON, ppi));
    SendMessageA(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageA(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    ReleaseIcons();
    smallIcon_ = small;
    largeIcon_ = large;
}

void TForm::ChangeDensity(int ppi, const RECT* suggested) {
    HWND h = Handle();
    if (ppi <= 0) return;
    // The program's leading form tells the density the popups and dialogs follow.
    if (IsMainForm() || !Application().MainForm()) Screen().SetPixelsPerInch(ppi);
    const int old = pixelsPerInch_;
    if (scaled_ && old > 0 && ppi != old) {
        RECT client;
        GetClientRect(h, &client);
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->ScaleBy(ppi, old);
        Font().SetHeight(MulDiv(Font().Height(), ppi, old));
        pixelsPerInch_ = ppi;
        DensityChanged();
        ApplyIcons();
        if (!suggested) {
            RECT wanted = WindowRectForClient({0, 0, MulDiv(client.right, ppi, old), MulDiv(client.bottom, ppi, old)},
                                              static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)),
                                              static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE)), ppi);
            SetWindowPos(h, nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (suggested)
        SetWindowPos(h, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

RECT TForm::ClientRect() const {
    if (HandleIfAllocated()) return TWinControl::ClientRect();
    return {0, 0, clientWidth_ >= 0 ? clientWidth_ : width_, clientHeight_ >= 0 ? clientHeight_ : height_};
}

void TForm::SetClientWidth(int v) {
    if (HWND h = HandleIfAllocated()) {
        RECT c, w;
        GetClientRect(h, &c);
        GetWindowRect(h, &w);
        SetBounds(left_, top_, (w.right - w.left) - c.right + v, height_);
    } else {
        clientWidth_ = v;
    }
}

void TForm::SetClientHeight(int v) {
    if (HWND h = HandleIfAllocated()) {
        RECT c, w;
        GetClientRect(h, &c);
        GetWindowRect(h, &w);
        SetBounds(left_, top_, width_, (w.bottom - w.top) - c.bottom + v);
    } else {
        clientHeight_ = v;
    }
}

TWindowState TForm::WindowState() const {
    if (HWND h = HandleIfAllocated(); h && IsWindowVisible(h)) {
        if (IsIconic(h)) return TWindowState::wsMinimized;
        if (IsZoomed(h)) return TWindowState::wsMaximized;
        return TWindowState::wsNormal;
    }
    return windowState_;
}

void TForm::SetWindowState(TWindowState v) {
    windowState_ = v;
    if (HWND h = HandleIfAllocated(); h && IsWindowVisible(h)) {
        switch (v) {
            case TWindowState::wsNormal: ShowWindow(h, SW_SHOWNORMAL); break;
            case TWindowState::wsMinimized: ShowWindow(h, SW_MINIMIZE); break;
            case TWindowState::wsMaximized: ShowWindow(h, SW_SHOWMAXIMIZED); break;
        }
    }
}

void TForm::Loaded() {
    TWinControl::Loaded();
    if (scaled_) ScaleToScreen();
}

void TForm::ScaleToScreen() {
    int ppi = Screen().PixelsPerInch();
    if (ppi == pixelsPerInch_ || pixelsPerInch_ <= 0) return;
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ScaleBy(ppi, pixelsPerInch_);
    if (clientWidth_ >= 0) clientWidth_ = MulDiv(clientWidth_, ppi, pixelsPerInch_);
    if (clientHeight_ >= 0) clientHeight_ = MulDiv(clientHeight_, ppi, pixelsPerInch_);
    Font().SetHeight(MulDiv(Font().Height(), ppi, pixelsPerInch_));
    pixelsPerInch_ = ppi;
}

void TForm::SetActiveControl(TWinControl* c) {
    activeControl_ = c;
    if (c && !Loading() && Visible() && HandleAllocated() && c->CanFocus()) c->SetFocus();
}

void TForm::FocusChanged(TWinControl* control) { activeControl_ = control; }

void TForm::ControlDestroying(TControl* c) {
    if (activeControl_ == c) activeControl_ = nullptr;
}

bool TForm::IsMainForm() const { return Application().MainForm() == this; }

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TForm::PlaceForShowing() {
    HWND h = Handle();
    RECT r;
    GetWindowRect(h, &r);
    int w = r.right - r.left, ht = r.bottom - r.top;
    RECT area{0, 0, Screen().Width(), Screen().Height()};
    switch (position_) {
        case TPosition::poScreenCenter:
        case TPosition::poDesktopCenter: break;
        case TPosition::poMainFormCenter:
        case TPosition::poOwnerFormCenter:
            if (TForm* main = Application().MainForm(); main && main != this && main->HandleAllocated())
                GetWindowRect(main->Handle(), &area);
            break;
        default: return;
    }
    int x = area.left + ((area.right - area.left) - w) / 2;
    int y = area.top + ((area.bottom - area.top) - ht) / 2;
    SetWindowPos(h, nullptr, std::max(x, 0), std::max(y, 0), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetVisible(bool v) {
    if (!v) {
        Hide();
        return;
    }
    HWND h = Handle();
    if (visible_ && IsWindowVisible(h)) {
        SetForegroundWindow(h);
        return;
    }
    closed_ = false;
    visible_ = true;
    DoShow();
    if (!visible_) return;  // the show handler hid or closed the form again
    PlaceForShowing();
    int cmd = SW_SHOWNORMAL;
    if (windowState_ == TWindowState::wsMaximized) cmd = SW_SHOWMAXIMIZED;
    if (windowState_ == TWindowState::wsMinimized) cmd = SW_SHOWMINNOACTIVE;
    ShowWindow(h, cmd);
    if (cmd != SW_SHOWMINNOACTIVE) {
        SetForegroundWindow(h);
        if (GetActiveWindow() == h && !activeControl_) SelectFirst();
    }
}

void TForm::Show() { SetVisible(true); }

void TForm::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (HWND h = HandleIfAllocated()) ShowWindow(h, SW_HIDE);
    if (OnHide) OnHide(this);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close() {
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    // Esc reaches both the key preview and the cancel button; the form closes once.
    if (closed_ || releasing_) return;
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone) return;
    closed_ = true;
    if (IsMainForm()) {
        Application().Terminate();
    } else if (action == TCloseAction::caHide) {
        Hide();
    } else if (action == TCloseAction::caMinimize) {
        SetWindowState(TWindowState::wsMinimized);
    } else {
        Release();
    }
}

void TForm::Release() {
    if (releasing_) return;
    releasing_ = true;
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

namespace {
struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND h, LPARAM data) {
    auto* d = reinterpret_cast<DisabledWindows*>(data);
    if (h != d->keep && IsWindowVisible(h) && IsWindowEnabled(h)) {
        d->windows.push_back(h);
        EnableWindow(h, FALSE);
    }
    return TRUE;
}
}  // namespace

TModalResult TForm::ShowModal() {
    if (modal_ || Visible()) throw Exception("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    DisabledWindows disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
    auto restore = [&] {
        for (HWND h : disabled.windows)
            if (IsWindow(h)) EnableWindow(h, TRUE);
        modal_ = false;
        Hide();
        if (previous && IsWindow(previous)) SetActiveWindow(previous);
    };
    modal_ = true;
    modalResult_ = mrNone;
    TCloseAction action = TCloseAction::caHide;
    try {
        Show();
        for (;;) {
            Application().HandleMessage();
            if (Application().Terminated()) {
                if (modalResult_ == mrNone) modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ == mrNone) continue;
            action = TCloseAction::caHide;
            if (CloseQuery()) {
                DoClose(action);
                if (action != TCloseAction::caNone) break;
            }
            modalResult_ = mrNone;
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    TModalResult result = modalResult_;
    if (action == TCloseAction::caFree) Release();
    return result;
}

void TForm::CollectTabList(const TWinControl* parent, std::vector<TWinControl*>& out) const {
    std::vector<TWinControl*> children;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (parent->Controls(i)->IsWindowed()) children.push_back(static_cast<TWinControl*>(parent->Controls(i)));
    std::stable_sort(children.begin(), children.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* c : children) {
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->TabStop()) out.push_back(c);
        CollectTabList(c, out);
    }
}

std::vector<TWinControl*> TForm::TabList() const {
    std::vector<TWinControl*> out;
    CollectTabList(this, out);
    return out;
}

void TForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list = TabList();
    if (list.empty()) return;
    auto it = std::find(list.begin(), list.end(), current);
    size_t n = list.size();
    size_t next;
    if (it == list.end()) {
        next = forward ? 0 : n - 1;
    } else {
        size_t i = static_cast<size_t>(it - list.begin());
        next = forward ? (i + 1) % n : (i + n - 1) % n;
    }
    if (list[next]->CanFocus()) list[next]->SetFocus();
}

void TForm::SelectFirst() {
    std::vector<TWinControl*> list = TabList();
    if (!list.empty() && list.front()->CanFocus()) list.front()->SetFocus();
}

bool TForm::BroadcastDialogKey(const TWinControl* parent, WORD key) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->DialogKeyBroadcast(key)) return true;
        if (c->IsWindowed() && BroadcastDialogKey(static_cast<TWinControl*>(c), key)) return true;
    }
    return false;
}

bool TForm::DialogKey(WORD key, TShiftState shift) {
    switch (key) {
        case VK_TAB:
            if (shift & (ssAlt | ssCtrl)) return false;
            SelectNext(activeControl_, !(shift & ssShift));
            return true;
        case VK_RETURN:
        case VK_ESCAPE:
            return BroadcastDialogKey(this, key);
        default:
            return false;
    }
}

bool TForm::FindAccelerator(const TWinControl* parent, char ch) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->DialogChar(ch)) return true;
        if (c->IsWindowed() && FindAccelerator(static_cast<TWinControl*>(c), ch)) return true;
    }
    return false;
}

bool TForm::DialogChar(char ch) { return FindAccelerator(this, ch); }

WINDOWPLACEMENT TForm::Placement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(Handle(), &wp);
    return wp;
}

namespace {

// The normal rectangle moved (never resized) to lie wholly in the work area of the monitor
// nearest to it. A placement stored on a larger screen, or on a second monitor since taken away
// (a laptop out of its dock), would otherwise open the form partly off the screen with its
// buttons out of reach: the platform only brings back a window that would be wholly lost.
RECT KeptOnNearestMonitor(RECT normal, bool workspaceCoordinates) {
    // A top-level window's placement counts from the primary monitor's work area, not from the
    // screen's corner, where a taskbar on the left or at the top makes a difference.
    POINT origin{0, 0};
    if (workspaceCoordinates) {
        RECT primaryWork;
        if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &primaryWork, 0)) origin = {primaryWork.left, primaryWork.top};
    }
    OffsetRect(&normal, origin.x, origin.y);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoA(MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor)) return normal;
    const RECT& work = monitor.rcWork;
    LONG dx = 0;
    LONG dy = 0;
    if (normal.right > work.right) dx = work.right - normal.right;
    if (normal.left + dx < work.left) dx = work.left - normal.left;  // wider than the area: its left edge shows
    if (normal.bottom > work.bottom) dy = work.bottom - normal.bottom;
    if (normal.top + dy < work.top) dy = work.top - normal.top;  // so does the caption of a taller one
    OffsetRect(&normal, dx - origin.x, dy - origin.y);
    return normal;
}

}  // namespace

void TForm::SetPlacement(const WINDOWPLACEMENT& placement) {
    WINDOWPLACEMENT wp = placement;
    wp.length = sizeof(wp);
    const bool toolWindow = (GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    wp.rcNormalPosition = KeptOnNearestMonitor(wp.rcNormalPosition, !toolWindow);
    SetWindowPlacement(Handle(), &wp);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsMainForm()) {
        LRESULT result = 0;
        if (Application().CallMainWindowHooks(msg, wParam, lParam, result)) return result;
    }
    switch (msg) {
        case WM_CLOSE:
            Close();
            return 0;
        case CM_RELEASE:
            delete this;
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                if (activeControl_ && activeControl_->CanFocus())
                    ::SetFocus(activeControl_->Handle());
                else
                    SelectFirst();
                if (!GetFocus()) ::SetFocus(HandleIfAllocated());
                if (OnActivate) OnActivate(this);
                return 0;
            }
            if (OnDeactivate) OnDeactivate(this);
            break;
        case WM_SIZE:
            if (IsMainForm()) Application().MainFormMinimizedChanged(wParam == SIZE_MINIMIZED);
            break;
        case WM_DPICHANGED:
            ChangeDensity(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE: {
            LRESULT r = TWinControl::WndProc(msg, wParam, lParam);
            if (IsMainForm() && Application().UpdateFormatSettings && Application().OnSettingsChanged)
                Application().OnSettingsChanged(&Application());
            return r;
        }
        default: break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
