#include "toolkit/graphics.h"

#include "toolkit/density.h"

COLORREF ColorToRGB(TColor color) {
    if (color & clSystemColor) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

// ---- TFont ---------------------------------------------------------------------------------

TFont::TFont() = default;

TFont::~TFont() { ReleaseHandle(); }

const TClassInfo& TFont::StaticClass() {
    static const TEnumInfo styles{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    static const TClassInfo info = MakeClassInfo<TFont, TPersistent>("TFont", {
        Published<TFont>::Int("Charset", &TFont::Charset, &TFont::SetCharset),
        Published<TFont>::Int("Color", &TFont::Color, &TFont::SetColor),
        Published<TFont>::Int("Height", &TFont::Height, &TFont::SetHeight),
        Published<TFont>::Str("Name", &TFont::Name, &TFont::SetName),
        Published<TFont>::Int("Size", &TFont::Size, &TFont::SetSize),
        Published<TFont>::Set("Style", styles, &TFont::Style, &TFont::SetStyle, 0),
    });
    return info;
}

void TFont::Assign(const TPersistent& source) {
    if (auto* f = dynamic_cast<const TFont*>(&source)) {
        if (f == this) return;
        name_ = f->name_;
        height_ = f->height_;
        charset_ = f->charset_;
        color_ = f->color_;
        style_ = f->style_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TFont::SetName(const std::string& v) {
    if (v.empty() || v == name_) return;
    name_ = v;
    Changed();
}

void TFont::SetHeight(int v) {
    if (v == height_) return;
    height_ = v;
    Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, Screen().PixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, Screen().PixelsPerInch(), 72)); }

void TFont::SetCharset(int v) {
    if (v == charset_) return;
    charset_ = v;
    Changed();
}

void TFont::SetColor(TColor v) {
    if (v == color_) return;
    color_ = v;
    Changed();
}

void TFont::SetStyle(TFontStyles v) {
    if (v == style_) return;
    style_ = v;
    Changed();
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & FontStyleBit(fsBold)) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & FontStyleBit(fsItalic)) ? 1 : 0;
        lf.lfUnderline = (style_ & FontStyleBit(fsUnderline)) ? 1 : 0;
        lf.lfStrikeOut = (style_ & FontStyleBit(fsStrikeOut)) ? 1 : 0;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_ = CreateFontIndirectA(&lf);
    }
    return handle_;
}

void TFont::Changed() {
    ReleaseHandle();
    if (OnChange) OnChange(this);
}

void TFont::ReleaseHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

// ---- TCanvas -------------------------------------------------------------------------------

void TCanvas::FillRect(const RECT& r) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(BrushColor));
    ::FillRect(dc_, &r, b);
    DeleteObject(b);
}

void TCanvas::FrameRect(const RECT& r) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(PenColor));
    ::FrameRect(dc_, &r, b);
    DeleteObject(b);
}

void TCanvas::Rectangle(const RECT& r) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(PenColor));
    HBRUSH brush = CreateSolidBrush(ColorToRGB(BrushColor));
    HGDIOBJ oldPen = SelectObject(dc_, pen);
    HGDIOBJ oldBrush = SelectObject(dc_, brush);
    ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
    SelectObject(dc_, oldPen);
    SelectObject(dc_, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(PenColor));
    HGDIOBJ old = SelectObject(dc_, pen);
    ::LineTo(dc_, x, y);
    SelectObject(dc_, old);
    DeleteObject(pen);
}

void TCanvas::ApplyFont() {
    SelectObject(dc_, font_.Handle());
    SetTextColor(dc_, ColorToRGB(font_.Color()));
    SetBkMode(dc_, TransparentText ? TRANSPARENT : OPAQUE);
    SetBkColor(dc_, ColorToRGB(BrushColor));
}

void TCanvas::TextRect(RECT r, const std::string& text, UINT format) {
    ApplyFont();
    DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, format);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    ApplyFont();
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return s;
}

// ---- TScreen -------------------------------------------------------------------------------

int TScreen::PixelsPerInch() const { return pixelsPerInch_ > 0 ? pixelsPerInch_ : SystemDensity(); }

HCURSOR TScreen::CursorHandle(TCursor cursor) {
    switch (cursor) {
        case crHourGlass: return LoadCursorA(nullptr, IDC_WAIT);
        case crIBeam: return LoadCursorA(nullptr, IDC_IBEAM);
        case crHandPoint: return LoadCursorA(nullptr, IDC_HAND);
        default: return LoadCursorA(nullptr, IDC_ARROW);
    }
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    // Show it at once rather than at the next mouse move: the caller is usually about to
    // keep the thread busy.
    if (cursor == crDefault) {
        POINT p;
        GetCursorPos(&p);
        SetCursorPos(p.x, p.y);
    } else {
        ::SetCursor(CursorHandle(cursor));
    }
}

TScreen& Screen() {
    static TScreen screen;
    return screen;
}
