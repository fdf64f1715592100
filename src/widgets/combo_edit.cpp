#include "widgets/combo_edit.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "toolkit/forms.h"
#include "toolkit/glyph_bitmaps.h"
#include "toolkit/graphics.h"

TShortCut ShortCut(WORD key, TShiftState shift) {
    TShortCut result = static_cast<TShortCut>(key & 0xFF);
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

POINT PopupOrigin(const RECT& editScreen, SIZE popup, SIZE screen, TPopupAlign align) {
    int editWidth = editScreen.right - editScreen.left;
    int editHeight = editScreen.bottom - editScreen.top;
    POINT p{editScreen.left, editScreen.top + editHeight};
    if (p.y + popup.cy > screen.cy) p.y = editScreen.top - popup.cy;
    if (align == epaRight) {
        p.x = editScreen.left + editWidth - popup.cx;
        if (p.x < 0) p.x = editScreen.left;
    } else if (p.x + popup.cx > screen.cx) {
        p.x = editScreen.left + editWidth - popup.cx;
    }
    if (p.x < 0) p.x = 0;
    else if (p.x + popup.cx > screen.cx) p.x = screen.cx - popup.cx;
    return p;
}

HBITMAP SharedGlyph(const std::string& resourceName) {
    // Pictures are process-wide resources: loaded once per density, shared, released when the
    // process ends (a density met once is usually met again: the window moves back).
    static std::map<std::pair<std::string, int>, HBITMAP> loaded;
    if (resourceName.empty()) return nullptr;
    const std::pair<std::string, int> key{resourceName, Screen().PixelsPerInch()};
    auto it = loaded.find(key);
    if (it != loaded.end()) return it->second;
    HBITMAP bitmap = LoadGlyphBitmap(resourceName, LR_CREATEDIBSECTION);
    loaded[key] = bitmap;
    return bitmap;
}

// ---- TEditButton ---------------------------------------------------------------------------

TEditButton::TEditButton(TCustomComboEdit* edit) : TCustomControl(edit), edit_(edit) {
    SetTabStop(false);
    SetParent(edit);
}

TEditButton::~TEditButton() = default;

void TEditButton::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_CLIPSIBLINGS;
    params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TEditButton::SetPicture(HBITMAP bitmap, int numGlyphs) {
    picture_ = bitmap;
    numGlyphs_ = std::clamp(numGlyphs, 1, 4);
    Invalidate();
}

void TEditButton::SetKind(TGlyphKind kind) {
    kind_ = kind;
    Invalidate();
}

void TEditButton::SetDown(bool down) {
    if (down_ == down) return;
    down_ = down;
    Invalidate();
}

void TEditButton::SetPressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    Invalidate();
}

LRESULT TEditButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            HWND self = Handle();
            edit_->ButtonPressed();
            if (!IsWindow(self)) return 0;
            SetCapture(self);
            tracking_ = true;
            SetPressed(true);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (tracking_) {
                POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                RECT r = ClientRect();
                SetPressed(PtInRect(&r, p) != 0);
            }
            return 0;
        case WM_LBUTTONUP:
            if (tracking_) {
                POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                RECT r = ClientRect();
                tracking_ = false;
                ReleaseCapture();
                SetPressed(false);
                edit_->ButtonReleased(PtInRect(&r, p) != 0);
            }
            return 0;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            if (tracking_) {
                tracking_ = false;
                SetPressed(false);
            }
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
    }
    return TCustomControl::WndProc(msg, wParam, lParam);
}

void TEditButton::Paint() {
    HDC dc = Canvas().Handle();
    RECT r = ClientRect();
    bool in = pressed_ || down_;
    UINT state = (in ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE);
    if (kind_ == gkDropDown) {
        DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | state);
        return;
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | state);
    if (in) OffsetRect(&r, 1, 1);
    DrawPicture(dc, r);
}

void TEditButton::DrawPicture(HDC dc, const RECT& face) {
    int cx = (face.left + face.right) / 2;
    int cy = (face.top + face.bottom) / 2;
    if (kind_ == gkEllipsis) {
        HBRUSH brush = GetSysColorBrush(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        for (int i = -1; i <= 1; ++i) {
            RECT dot{cx - 1 + i * 4, cy - 1, cx + 1 + i * 4, cy + 1};
            FillRect(dc, &dot, brush);
        }
        return;
    }
    if (!picture_) return;
    BITMAP info{};
    GetObjectA(picture_, sizeof info, &info);
    int width = info.bmWidth / numGlyphs_;
    int height = info.bmHeight;
    int index = 0;
    if (!Enabled() && numGlyphs_ > 1) index = 1;
    else if (pressed_ && numGlyphs_ > 2) index = 2;
    else if (down_ && numGlyphs_ > 3) index = 3;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_);
    COLORREF transparent = GetPixel(source, index * width, height - 1);
    GdiTransparentBlt(dc, cx - width / 2, cy - height / 2, width, height, source, index * width, 0, width, height,
                      transparent);
    SelectObject(source, old);
    DeleteDC(source);
}

// ---- TCustomComboEdit ----------------------------------------------------------------------

const TEnumInfo& GlyphKindNames() {
    static const TEnumInfo names{{"gkCustom", "gkDefault", "gkDropDown", "gkEllipsis"}};
    return names;
}

namespace {
const TEnumInfo PopupAlignInfo{{"epaRight", "epaLeft"}};
}  // namespace

TCustomComboEdit::TCustomComboEdit(TComponent* owner) : TEdit(owner) {
    TEdit::SetAutoSelect(false);  // selecting on entry also depends on DirectInput, decided here
    button_ = new TEditButton(this);
    button_->SetBounds(0, 0, buttonWidth_, 17);
}

TCustomComboEdit::~TCustomComboEdit() { DestroyComponents(); }

const TClassInfo& TCustomComboEdit::StaticClass() {
    using P = Published<TCustomComboEdit>;
    static const TClassInfo info = MakeClassInfo<TCustomComboEdit, TEdit>("TCustomComboEdit", {
        P::Int("ClickKey", &TCustomComboEdit::ClickKey, &TCustomComboEdit::SetClickKey, scAlt | VK_DOWN),
        P::Bool("DirectInput", &TCustomComboEdit::DirectInput, &TCustomComboEdit::SetDirectInput, true),
        P::Bool("ReadOnly", &TCustomComboEdit::ReadOnly, &TCustomComboEdit::SetReadOnly, false),
        P::Bool("AutoSelect", &TCustomComboEdit::AutoSelect, &TCustomComboEdit::SetAutoSelect, true),
        P::Enum("GlyphKind", GlyphKindNames(), &TCustomComboEdit::GlyphKind, &TCustomComboEdit::SetGlyphKind,
                gkCustom),
        P::Str("Glyph", &TCustomComboEdit::Glyph, &TCustomComboEdit::SetGlyph),
        P::Int("NumGlyphs", &TCustomComboEdit::NumGlyphs, &TCustomComboEdit::SetNumGlyphs, 1),
        P::Int("ButtonWidth", &TCustomComboEdit::ButtonWidth, &TCustomComboEdit::SetButtonWidth, 21),
        P::Str("ButtonHint", &TCustomComboEdit::ButtonHint, &TCustomComboEdit::SetButtonHint),
        P::Enum("PopupAlign", PopupAlignInfo, &TCustomComboEdit::PopupAlign, &TCustomComboEdit::SetPopupAlign,
                epaRight),
        P::Event("OnButtonClick", &TCustomComboEdit::OnButtonClick),
    });
    return info;
}

void TCustomComboEdit::SetDirectInput(bool value) {
    directInput_ = value;
    UpdateTextReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    UpdateTextReadOnly();
}

void TCustomComboEdit::UpdateTextReadOnly() { TEdit::SetReadOnly(!directInput_ || readOnly_); }

void TCustomComboEdit::SetGlyphKind(TGlyphKind kind) {
    glyphKind_ = kind;
    ApplyGlyph();
}

void TCustomComboEdit::SetGlyph(const std::string& resourceName) {
    glyph_ = resourceName;
    glyphKind_ = gkCustom;
    ApplyGlyph();
}

void TCustomComboEdit::SetNumGlyphs(int n) {
    numGlyphs_ = std::clamp(n, 1, 4);
    ApplyGlyph();
}

void TCustomComboEdit::SetButtonWidth(int width) {
    buttonWidth_ = buttonWidthSet_ = std::max(width, 0);
    UpdateButtonLayout();
}

void TCustomComboEdit::SetButtonHint(const std::string& hint) {
    buttonHint_ = hint;
    button_->SetHint(hint);
    button_->SetShowHint(!hint.empty());
}

void TCustomComboEdit::ApplyGlyph() {
    HBITMAP picture = nullptr;
    switch (glyphKind_) {
        case gkCustom:
            picture = SharedGlyph(glyph_);
            break;
        case gkDefault:
            picture = SharedGlyph(DefaultGlyphResource());
            if (picture) {
                BITMAP info{};
                GetObjectA(picture, sizeof info, &info);
                buttonWidth_ = std::max(static_cast<int>(info.bmWidth) / numGlyphs_ + 6, buttonWidthSet_);
            }
            break;
        case gkDropDown:
            buttonWidth_ = GetSystemMetrics(SM_CXVSCROLL);
            break;
        case gkEllipsis:
            break;
    }
    button_->SetKind(glyphKind_);
    button_->SetPicture(picture, numGlyphs_);
    UpdateButtonLayout();
}

int TCustomComboEdit::TextHeight() {
    HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics{};
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetricsA(dc, &metrics);
    int systemHeight = metrics.tmHeight;
    SelectObject(dc, Font().Handle());
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return std::min(systemHeight, static_cast<int>(metrics.tmHeight));
}

int TCustomComboEdit::MinimumHeight() { return TextHeight() + 4 * GetSystemMetrics(SM_CYBORDER) + 1; }

void TCustomComboEdit::SetBounds(int left, int top, int width, int height) {
    TEdit::SetBounds(left, top, width, std::max(height, MinimumHeight()));
    UpdateButtonLayout();
}

void TCustomComboEdit::FontChanged() {
    TEdit::FontChanged();
    if (Height() < MinimumHeight()) SetHeight(MinimumHeight());
    UpdateButtonLayout();
}

void TCustomComboEdit::UpdateButtonLayout() {
    if (!button_) return;
    int width = buttonWidth_ > 1 ? buttonWidth_ : 0;
    button_->SetVisible(width > 0);
    if (BorderStyle() == TBorderStyle::bsSingle)
        button_->SetBounds(Width() - width - 4, 0, width, std::max(Height() - 4, 0));
    else
        button_->SetBounds(Width() - width, 0, width, Height());
    if (HWND h = HandleIfAllocated())
        SendMessageA(h, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width > 0 ? width + 2 : 0));
}

void TCustomComboEdit::CreateParams(TCreateParams& params) {
    TEdit::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;  // the text never paints over the button
}

void TCustomComboEdit::CreateWnd() {
    TEdit::CreateWnd();
    UpdateTextReadOnly();
    UpdateButtonLayout();
}

void TCustomComboEdit::DensityChanged() {
    TEdit::DensityChanged();
    ApplyGlyph();
    if (popup_) popup_->DensityChanged();
}

void TCustomComboEdit::EnabledChanged() {
    TEdit::EnabledChanged();
    button_->SetEnabled(Enabled());
}

void TCustomComboEdit::ShowEditCaret() {
    HWND h = HandleIfAllocated();
    if (!h || GetFocus() != h) return;
    int width = (Font().Style() & FontStyleBit(fsBold)) ? 2 : 1;
    CreateCaret(h, nullptr, width, TextHeight());
    ShowCaret(h);
}

void TCustomComboEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
}

void TCustomComboEdit::ActivateButton() {
    if (readOnly_) return;
    ButtonClick();
    if (!popup_) return;
    if (popupVisible_)
        ClosePopup(true);
    else
        OpenPopup(true);
}

void TCustomComboEdit::SetPopupVisible(bool visible) { popupVisible_ = visible; }

void TCustomComboEdit::OpenPopup(bool lock) {
    if (!popup_ || readOnly_ || popupVisible_) return;
    RECT edit;
    GetWindowRect(Handle(), &edit);
    POINT at = PopupOrigin(edit, SIZE{popup_->Width(), popup_->Height()}, SIZE{Screen().Width(), Screen().Height()},
                           popupAlign_);
    if (CanFocus()) SetFocus();
    SetWindowPos(popup_->Handle(), HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetPopupVisible(true);
    if (lock) {
        TEdit::SetReadOnly(true);
        HideCaret(Handle());
    }
}

void TCustomComboEdit::ClosePopup(bool accept) {
    if (!popupVisible_) return;
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    if (HWND popup = popup_ ? popup_->HandleIfAllocated() : nullptr)
        SetWindowPos(popup, nullptr, 0, 0, 0, 0,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetPopupVisible(false);
    if (!losingFocus_ && CanFocus()) SetFocus();
    ShowEditCaret();
    UpdateTextReadOnly();
    Invalidate();
}

bool TCustomComboEdit::OfferDialogKey(WORD key, TShiftState shift) {
    TForm* form = GetParentForm(this);
    return form && form->DialogKey(key, shift);
}

bool TCustomComboEdit::WantsKey(WORD key, TShiftState shift) const {
    // Enter and Esc are offered to the form from KeyDown, before the edit's own handling.
    return key == VK_RETURN || key == VK_ESCAPE || TEdit::WantsKey(key, shift);
}

void TCustomComboEdit::KeyDown(WORD& key, TShiftState shift) {
    TEdit::KeyDown(key, shift);
    if (key == 0) return;
    if (buttonWidth_ > 0 && ShortCut(key, shift) == clickKey_) {
        key = 0;
        ActivateButton();
        return;
    }
    if (key != VK_RETURN && key != VK_ESCAPE) return;
    if (popupVisible_) {
        bool accept = key == VK_RETURN;
        key = 0;
        ClosePopup(accept);
        return;
    }
    OfferDialogKey(key, shift);
}

void TCustomComboEdit::KeyPress(char& key) {
    TEdit::KeyPress(key);
    if (key == '\r') key = 0;  // Enter has had its turn in KeyDown; the text box would only beep
}

void TCustomComboEdit::DoEnter() {
    TEdit::DoEnter();
    // Only moving into the edit from elsewhere on its form counts as entering it; the focus
    // coming back after a dialog or another program must leave the selection alone.
    HWND own = HandleIfAllocated();
    bool fromOwnForm = focusFrom_ && own && GetAncestor(focusFrom_, GA_ROOT) == GetAncestor(own, GA_ROOT);
    bool byMouse = GetKeyState(VK_LBUTTON) < 0;
    if (autoSelect_ && directInput_ && fromOwnForm && !byMouse) SelectAll();
}

void TCustomComboEdit::ButtonPressed() {
    if (TabStop() && CanFocus() && !Focused()) SetFocus();
    if (popupVisible_) {
        ClosePopup(true);
        ButtonNoAction = true;
    }
}

void TCustomComboEdit::ButtonReleased(bool over) {
    if (ButtonNoAction) {
        ButtonNoAction = false;
        return;
    }
    if (over) ActivateButton();
}

LRESULT TCustomComboEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
            if (!directInput_ || readOnly_) return 0;
            break;
        case WM_SETFOCUS: {
            focusFrom_ = reinterpret_cast<HWND>(wParam);
            LRESULT result = TEdit::WndProc(msg, wParam, lParam);
            focusFrom_ = nullptr;
            if (!popupVisible_) ShowEditCaret();
            return result;
        }
        case WM_KILLFOCUS: {
            LRESULT result = TEdit::WndProc(msg, wParam, lParam);
            if (popupVisible_) {
                losingFocus_ = true;
                ClosePopup(false);
                losingFocus_ = false;
            }
            return result;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (popupVisible_) ClosePopup(false);
            break;
        case WM_SETFONT:
        case WM_SIZE: {
            LRESULT result = TEdit::WndProc(msg, wParam, lParam);
            UpdateButtonLayout();
            return result;
        }
        case WM_NCPAINT: {
            // The themed text box draws its frame for the focus over the whole window, its
            // children included: the button is drawn again on top.
            LRESULT result = TEdit::WndProc(msg, wParam, lParam);
            if (HWND button = button_->HandleIfAllocated(); button && IsWindowVisible(button))
                RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            return result;
        }
    }
    return TEdit::WndProc(msg, wParam, lParam);
}
