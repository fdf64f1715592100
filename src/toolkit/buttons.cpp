#include "toolkit/buttons.h"

#include "toolkit/forms.h"
#include "toolkit/glyph_bitmaps.h"

// ---- TButton -------------------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    width_ = 75;
    height_ = 25;
}

const TClassInfo& TButton::StaticClass() {
    using P = Published<TButton>;
    static const TClassInfo info = MakeCreatableClassInfo<TButton, TWinControl>("TButton", {
        P::Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false),
        P::Str("Caption", &TButton::Caption, &TButton::SetCaption),
        P::Bool("Default", &TButton::Default, &TButton::SetDefault, false),
        P::Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0),
    });
    return info;
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SubclassOf = "BUTTON";
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
    if (v == default_) return;
    default_ = v;
    if (HWND h = HandleIfAllocated())
        SendMessageA(h, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

LRESULT TButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CN_COMMAND) {
        if (HIWORD(wParam) == BN_CLICKED) Click();
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void TButton::Click() {
    if (modalResult_ != 0)
        if (TForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

bool TButton::DialogChar(char ch) {
    if (!IsAccel(ch, Caption()) || !CanFocus()) return false;
    Click();
    return true;
}

bool TButton::DialogKeyBroadcast(WORD key) {
    if (key == VK_ESCAPE) {
        if (!cancel_) return false;
        Click();
        return true;
    }
    if (key != VK_RETURN) return false;
    if (Focused()) {
        Click();
        return true;
    }
    if (!default_) return false;
    // Another button with the focus takes Enter itself.
    if (dynamic_cast<TButton*>(TWinControl::FindControl(GetFocus()))) return false;
    Click();
    return true;
}

// ---- TBitBtn -------------------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

TBitBtn::~TBitBtn() { ReleaseBitmap(); }

const TClassInfo& TBitBtn::StaticClass() {
    static const TEnumInfo layouts{{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
    using P = Published<TBitBtn>;
    static const TClassInfo info = MakeCreatableClassInfo<TBitBtn, TButton>("TBitBtn", {
        P::Str("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph),
        P::Enum("Layout", layouts, &TBitBtn::Layout, &TBitBtn::SetLayout, 0),
        P::Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin, -1),
        P::Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1),
        P::Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, 4),
    });
    return info;
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style = (p.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::ReleaseBitmap() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
}

void TBitBtn::SetGlyph(const std::string& resourceName) {
    ReleaseBitmap();
    glyph_ = resourceName;
    bitmap_ = LoadGlyphBitmap(glyph_);
    Invalidate();
}

void TBitBtn::DensityChanged() {
    TButton::DensityChanged();
    if (!glyph_.empty()) SetGlyph(glyph_);
}

void TBitBtn::SetNumGlyphs(int v) {
    numGlyphs_ = v < 1 ? 1 : (v > 4 ? 4 : v);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout v) {
    layout_ = v;
    Invalidate();
}

void TBitBtn::SetSpacing(int v) {
    spacing_ = v;
    Invalidate();
}

void TBitBtn::SetMargin(int v) {
    margin_ = v;
    Invalidate();
}

SIZE TBitBtn::GlyphSize() const {
    if (!bitmap_) return {0, 0};
    BITMAP bm{};
    GetObjectA(bitmap_, sizeof(bm), &bm);
    return {bm.bmWidth / numGlyphs_, bm.bmHeight};
}

LRESULT TBitBtn::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CN_DRAWITEM) {
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        // The focus frame is part of the owner-drawn face.
        LRESULT r = TButton::WndProc(msg, wParam, lParam);
        Invalidate();
        return r;
    }
    return TButton::WndProc(msg, wParam, lParam);
}

void TBitBtn::DrawGlyph(HDC dc, int x, int y, int index) {
    SIZE g = GlyphSize();
    if (!bitmap_ || g.cx <= 0) return;
    if (index >= numGlyphs_) index = 0;
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ oldSrc = SelectObject(src, bitmap_);
    int sx = index * g.cx;
    // Pixels of the bottom-left pixel's colour let the face show through.
    COLORREF transparent = GetPixel(src, sx, g.cy - 1);
    HDC maskDC = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(g.cx, g.cy, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    SetBkColor(src, transparent);
    BitBlt(maskDC, 0, 0, g.cx, g.cy, src, sx, 0, SRCCOPY);
    COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, g.cx, g.cy, src, sx, 0, SRCINVERT);
    BitBlt(dc, x, y, g.cx, g.cy, maskDC, 0, 0, SRCAND);
    BitBlt(dc, x, y, g.cx, g.cy, src, sx, 0, SRCINVERT);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
    SelectObject(maskDC, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDC);
    SelectObject(src, oldSrc);
    DeleteDC(src);
}

TBitBtn::TFaceLayout TBitBtn::FaceLayout(HDC dc) {
    TFaceLayout l{};
    l.Face = ClientRect();
    InflateRect(&l.Face, -3, -3);  // the focus frame and the two-pixel edge
    std::string caption = Caption();
    HGDIOBJ oldFont = SelectObject(dc, Font().Handle());
    RECT tr{0, 0, 0, 0};
    if (!caption.empty()) DrawTextA(dc, caption.c_str(), -1, &tr, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    int tw = tr.right, th = tr.bottom;
    SIZE g = GlyphSize();
    int gap = (g.cx > 0 && !caption.empty()) ? spacing_ : 0;
    bool horizontal = layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight;
    int total = horizontal ? g.cx + gap + tw : g.cy + gap + th;
    const RECT& r = l.Face;
    int extent = horizontal ? (r.right - r.left) : (r.bottom - r.top);
    int start = margin_ >= 0 ? margin_ : (extent - total) / 2;

    int gx, gy, tx, ty;
    if (horizontal) {
        gy = r.top + ((r.bottom - r.top) - g.cy) / 2;
        ty = r.top + ((r.bottom - r.top) - th) / 2;
        if (layout_ == TButtonLayout::blGlyphLeft) {
            gx = r.left + start;
            tx = gx + g.cx + gap;
        } else {
            tx = r.left + start;
            gx = tx + tw + gap;
        }
    } else {
        gx = r.left + ((r.right - r.left) - g.cx) / 2;
        tx = r.left + ((r.right - r.left) - tw) / 2;
        if (layout_ == TButtonLayout::blGlyphTop) {
            gy = r.top + start;
            ty = gy + g.cy + gap;
        } else {
            ty = r.top + start;
            gy = ty + th + gap;
        }
    }
    l.Glyph = {gx, gy, gx + g.cx, gy + g.cy};
    l.Caption = {tx, ty, tx + tw, ty + th};
    return l;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    bool pressed = di.itemState & ODS_SELECTED;
    bool focused = di.itemState & ODS_FOCUS;
    bool disabled = di.itemState & ODS_DISABLED;

    if (focused || Default()) {
        HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
        FrameRect(dc, &r, frame);
        DeleteObject(frame);
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    std::string caption = Caption();
    TFaceLayout layout = FaceLayout(dc);
    HGDIOBJ oldFont = SelectObject(dc, Font().Handle());
    UINT prefix = (di.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    int shift = pressed ? 1 : 0;
    DrawGlyph(dc, layout.Glyph.left + shift, layout.Glyph.top + shift, disabled && numGlyphs_ >= 2 ? 1 : 0);

    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        RECT text = layout.Caption;
        OffsetRect(&text, shift, shift);
        if (disabled) {
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            RECT emboss = text;
            OffsetRect(&emboss, 1, 1);
            DrawTextA(dc, caption.c_str(), -1, &emboss, DT_SINGLELINE | prefix);
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        } else {
            SetTextColor(dc, ColorToRGB(Font().Color()));
        }
        DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | prefix);
    }
    SelectObject(dc, oldFont);

    if (focused && !(di.itemState & ODS_NOFOCUSRECT)) {
        RECT fr = r;
        InflateRect(&fr, -3, -3);
        DrawFocusRect(dc, &fr);
    }
}
