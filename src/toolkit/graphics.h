#pragma once
// Colours, fonts, the screen and a small drawing surface over a device context.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/persistent.h"

// A colour: an RGB value (0x00BBGGRR) or, with the top bit set, a system colour index.
using TColor = int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// "No colour" (clNone in form descriptions; the archiver owns that name in code).
constexpr TColor clColorNone = 0x1FFFFFFF;

// The RGB value of a colour, system colours looked up now.
COLORREF ColorToRGB(TColor color);

// Font styles, one bit each (fsBold = bit 0 ...).
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint8_t;
constexpr TFontStyles FontStyleBit(TFontStyle s) { return static_cast<TFontStyles>(1u << s); }

// A logical font. Height is in pixels (negative: character height without internal leading, as
// CreateFont takes it); Size is in points at the screen's density.
class TFont : public TPersistent {
public:
    TFont();
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    void Assign(const TPersistent& source) override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& v);
    int Height() const { return height_; }
    void SetHeight(int v);
    int Size() const;
    void SetSize(int points);
    int Charset() const { return charset_; }
    void SetCharset(int v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v);

    // The font object, made on first use and remade after a change; owned by this TFont.
    HFONT Handle();

    // After every change of a member.
    TNotifyEvent OnChange;

private:
    void Changed();
    void ReleaseHandle();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    int charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    HFONT handle_ = nullptr;
};

// A device context with the current font, brush and pen colours applied before each drawing call.
class TCanvas {
public:
    explicit TCanvas(HDC dc = nullptr) : dc_(dc) {}
    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc) { dc_ = dc; }

    TFont& Font() { return font_; }
    TColor BrushColor = clWindow;
    TColor PenColor = clBlack;
    bool TransparentText = false;  // text drawn without filling its background

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(const RECT& r);  // pen outline filled with the brush
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // DrawTextA with the given DT_* format.
    void TextRect(RECT r, const std::string& text, UINT format);
    SIZE TextExtent(const std::string& text);
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

private:
    void ApplyFont();
    HDC dc_;
    TFont font_;
};

// The screen as the program sees it: density, size and the application-wide cursor.
enum TCursor : int { crDefault = 0, crArrow = -2, crHourGlass = -11, crIBeam = -4, crHandPoint = -21 };

class TScreen {
public:
    // The density the program's windows are laid out for: the system's, until the main form has
    // learnt that of its monitor (at its creation, or when it moved to another or the scaling
    // changed); the glyphs, the popups and the folder dialog follow it.
    int PixelsPerInch() const;
    void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

    TCursor Cursor() const { return cursor_; }
    // Every window of the program shows this cursor while it is not crDefault.
    void SetCursor(TCursor cursor);
    // The platform cursor for a toolkit cursor value.
    static HCURSOR CursorHandle(TCursor cursor);

private:
    TCursor cursor_ = crDefault;
    int pixelsPerInch_ = 0;  // 0: the system's
};

TScreen& Screen();
