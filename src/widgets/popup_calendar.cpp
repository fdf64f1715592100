#include "widgets/popup_calendar.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "toolkit/density.h"
#include "toolkit/glyph_bitmaps.h"
#include "toolkit/graphics.h"
#include "widgets/date_util.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
// At 96 pixels per inch; the popup scales them with itself.
constexpr int kTitleHeight = 18;
constexpr int kButtonSize = 14;

// Draws one bitmap with its bottom-left pixel's colour left out.
void DrawTransparent(HDC dc, HBITMAP bitmap, int x, int y) {
    BITMAP info;
    if (!GetObjectA(bitmap, sizeof info, &info)) return;
    const int w = info.bmWidth, h = info.bmHeight;
    HDC image = CreateCompatibleDC(dc);
    HGDIOBJ oldImage = SelectObject(image, bitmap);
    HDC mask = CreateCompatibleDC(dc);
    HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(mask, maskBitmap);
    SetBkColor(image, GetPixel(image, 0, h - 1));
    BitBlt(mask, 0, 0, w, h, image, 0, 0, SRCCOPY);  // 1 where transparent
    COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, w, h, image, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, w, h, mask, 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, image, 0, 0, SRCINVERT);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
    SelectObject(mask, oldMask);
    DeleteObject(maskBitmap);
    DeleteDC(mask);
    SelectObject(image, oldImage);
    DeleteDC(image);
}

const char* const kButtonGlyphs[4] = {"PREV2", "PREV1", "NEXT1", "NEXT2"};
const char* const kButtonHints[4] = {"Previous Year|", "Previous Month|", "Next Month|", "Next Year|"};

}  // namespace

// ---- TRepeatButton ---------------------------------------------------------------------------

TRepeatButton::TRepeatButton(TComponent* owner, const char* glyphResource)
    : TCustomControl(owner), glyphResource_(glyphResource) {
    LoadGlyph();
    SetParentColor(true);
}

void TRepeatButton::LoadGlyph() {
    if (glyph_) DeleteObject(glyph_);
    glyph_ = LoadGlyphBitmap(glyphResource_);
    Invalidate();
}

void TRepeatButton::DensityChanged() {
    TCustomControl::DensityChanged();
    LoadGlyph();
}

TRepeatButton::~TRepeatButton() {
    if (glyph_) DeleteObject(glyph_);
}

SIZE TRepeatButton::GlyphSize() const {
    BITMAP info{};
    if (!glyph_ || !GetObjectA(glyph_, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

bool TRepeatButton::MouseOver(LPARAM lParam) const {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT r = ClientRect();
    return PtInRect(&r, p) != 0;
}

void TRepeatButton::Stop() {
    if (HandleAllocated()) KillTimer(HandleIfAllocated(), kRepeatTimer);
    pressed_ = down_ = false;
    Invalidate();
}

LRESULT TRepeatButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(Handle());
            pressed_ = down_ = true;
            SetTimer(Handle(), kRepeatTimer, kFirstDelay, nullptr);
            Invalidate();
            return 0;
        case WM_MOUSEMOVE:
            if (pressed_ && MouseOver(lParam) != down_) {
                down_ = !down_;
                Invalidate();
            }
            return 0;
        case WM_TIMER:
            if (wParam != kRepeatTimer) break;
            if (!pressed_) {
                KillTimer(Handle(), kRepeatTimer);
                return 0;
            }
            SetTimer(Handle(), kRepeatTimer, kRepeatDelay, nullptr);
            if (down_ && OnAction) OnAction();
            return 0;
        case WM_LBUTTONUP: {
            const bool run = pressed_ && MouseOver(lParam);
            Stop();
            if (GetCapture() == Handle()) ReleaseCapture();
            if (run && OnAction) OnAction();
            return 0;
        }
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            if (pressed_) Stop();
            break;
        case WM_ERASEBKGND:
            return 1;
        default:
            break;
    }
    return TCustomControl::WndProc(msg, wParam, lParam);
}

void TRepeatButton::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    canvas.BrushColor = Color();
    canvas.FillRect(r);
    if (down_) DrawEdge(canvas.Handle(), &r, BDR_SUNKENOUTER, BF_RECT);
    if (!glyph_) return;
    SIZE g = GlyphSize();
    int x = (r.right - g.cx) / 2 + (down_ ? 1 : 0);
    int y = (r.bottom - g.cy) / 2 + (down_ ? 1 : 0);
    DrawTransparent(canvas.Handle(), glyph_, x, y);
}

// ---- TCalendarTitle --------------------------------------------------------------------------

TCalendarTitle::TCalendarTitle(TComponent* owner) : TCustomControl(owner) { SetParentColor(true); }

void TCalendarTitle::SetTitle(const std::string& title) {
    title_ = title;
    Invalidate();
}

void TCalendarTitle::SetTitleRect(const RECT& r) {
    titleRect_ = r;
    Invalidate();
}

void TCalendarTitle::DblClick() {
    TCustomControl::DblClick();
    if (OnTitleDblClick) OnTitleDblClick(this);
}

LRESULT TCalendarTitle::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDBLCLK) {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT r = TitleRect();
        if (!PtInRect(&r, p)) return 0;
    }
    return TCustomControl::WndProc(msg, wParam, lParam);
}

void TCalendarTitle::Paint() {
    TCanvas& canvas = Canvas();
    canvas.BrushColor = Color();
    canvas.FillRect(ClientRect());
    canvas.TransparentText = true;
    canvas.TextRect(TitleRect(), title_, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// ---- TPopupCalendar --------------------------------------------------------------------------

TPopupCalendar::TPopupCalendar(TWinControl* edit) : TPopupWindow(edit) {
    SetColor(clBtnFace);
    Font().SetColor(clWindowText);
    ApplyDensity();

    title_ = new TCalendarTitle(this);
    title_->SetParent(this);
    for (int i = 0; i < 4; ++i) {
        buttons_[static_cast<size_t>(i)] = new TRepeatButton(this, kButtonGlyphs[i]);
        buttons_[static_cast<size_t>(i)]->SetParent(title_);
        buttons_[static_cast<size_t>(i)]->SetHint(kButtonHints[i]);
    }
    buttons_[0]->OnAction = [this] { PrevYear(); };
    buttons_[1]->OnAction = [this] { PrevMonth(); };
    buttons_[2]->OnAction = [this] { NextMonth(); };
    buttons_[3]->OnAction = [this] { NextYear(); };
    title_->OnTitleDblClick = [this](TObject*) { GoToToday(); };

    grid_ = new TLocCalendar(this);
    grid_->SetParent(this);
    grid_->OnChange = [this](TObject*) { UpdateTitle(); };
    grid_->OnDayClicked = [this](TObject*) { RequestClose(true); };
    Layout();
    UpdateTitle();
}

const TClassInfo& TPopupCalendar::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TPopupCalendar, TPopupWindow>("TPopupCalendar");
    return info;
}

int TPopupCalendar::Scaled(int pixels) { return MulDiv(pixels, Screen().PixelsPerInch(), 96); }

void TPopupCalendar::ApplyDensity() {
    SetBounds(0, 0, Scaled(std::max(187, 180)), Scaled(std::max(124, 120)));
    // The system's fonts are those of its own density; the popup's may be another monitor's.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        Font().SetName(metrics.lfStatusFont.lfFaceName);
        Font().SetHeight(MulDiv(metrics.lfStatusFont.lfHeight, Screen().PixelsPerInch(), SystemDensity()));
        Font().SetCharset(metrics.lfStatusFont.lfCharSet);
    } else {
        Font().SetName("MS Sans Serif");
        Font().SetSize(8);
    }
}

void TPopupCalendar::DensityChanged() {
    ApplyDensity();
    TPopupWindow::DensityChanged();
    Layout();
}

void TPopupCalendar::Layout() {
    // The window's border takes one pixel on each side. The buttons overlap their neighbours
    // and the title row's edges by one pixel, so that their flat faces meet without a seam.
    const int w = Width() - 2, h = Height() - 2;
    const int titleHeight = Scaled(kTitleHeight), button = Scaled(kButtonSize);
    title_->SetBounds(0, 0, w, titleHeight);
    const int lefts[4] = {-1, button - 2, w - 2 * button + 2, w - button + 1};
    for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetBounds(lefts[i], -1, button, button);
    const int titleLeft = 2 * button + 1;
    title_->SetTitleRect({titleLeft, 1, titleLeft + std::max(0, w - 2 * titleLeft), 1 + button});
    grid_->SetBounds(0, titleHeight, w, std::max(0, h - titleHeight));
}

void TPopupCalendar::UpdateTitle() { title_->SetTitle(grid_->Model().Title(RegionalSettings())); }

void TPopupCalendar::ShowValue(TDateTime value) {
    if (value == NullDate || !IsDateInRange(value)) value = Today();
    grid_->Model().SetCalendarDate(value);
    UpdateTitle();
}

void TPopupCalendar::SetHints(const std::vector<std::string>& hints) {
    for (size_t i = 0; i < hints.size() && i < buttons_.size(); ++i)
        if (!hints[i].empty()) buttons_[i]->SetHint(hints[i]);
}

void TPopupCalendar::ShowTips(bool show) {
    if (!show && !tips_) return;
    if (!tips_) {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&init);
        tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        if (!tips_) return;
        for (TRepeatButton* button : buttons_) {
            TTTOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = Handle();
            tool.uId = reinterpret_cast<UINT_PTR>(button->Handle());
            tool.lpszText = const_cast<char*>("");
            SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    for (TRepeatButton* button : buttons_) {
        const std::string shortTip = button->Hint().substr(0, button->Hint().find('|'));
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(button->Handle());
        tool.lpszText = const_cast<char*>(shortTip.c_str());
        SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageA(tips_, TTM_ACTIVATE, show, 0);
}

void TPopupCalendar::PopupKeyDown(WORD key, TShiftState shift) {
    const bool modified = shift & (ssShift | ssCtrl | ssAlt);
    switch (key) {
        case VK_PRIOR:
            if (shift & ssCtrl) PrevYear(); else PrevMonth();
            return;
        case VK_NEXT:
            if (shift & ssCtrl) NextYear(); else NextMonth();
            return;
        case VK_LEFT:
        case VK_SUBTRACT:
            if (!modified) {
                grid_->Model().PrevDay();
                return;
            }
            break;
        case VK_RIGHT:
        case VK_ADD:
            if (!modified) {
                grid_->Model().NextDay();
                return;
            }
            break;
        default:
            break;
    }
    grid_->CursorKey(key);
}

void TPopupCalendar::PopupKeyPress(char key) {
    if (key == 'T' || key == 't') GoToToday();
}
