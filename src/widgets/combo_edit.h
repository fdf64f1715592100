#pragma once
// The edit box with a button at its right end, base of the folder edit and the date edit.
// The button runs ActivateButton; a descendant may also hand the edit a popup window that the
// button drops down and closes again (OpenPopup / ClosePopup).
#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/controls.h"
#include "toolkit/edit.h"

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
// Their names in a form description, for every edit that publishes a GlyphKind.
const TEnumInfo& GlyphKindNames();
enum TPopupAlign { epaRight, epaLeft };

// A key code with shift flags, as menus and the click key write it.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(WORD key, TShiftState shift);

// Where a popup of the given size goes for an edit at editScreen (screen coordinates): below the
// edit, or above it when it would end below the screen; right- or left-aligned by align; kept
// inside the screen's width.
POINT PopupOrigin(const RECT& editScreen, SIZE popup, SIZE screen, TPopupAlign align);

class TCustomComboEdit;

// The button inside the edit's border. It draws itself and reports presses and a release over
// it to its edit.
class TEditButton : public TCustomControl {
public:
    explicit TEditButton(TCustomComboEdit* edit);
    ~TEditButton() override;

    // The picture: NumGlyphs images side by side (normal, disabled, pressed, down); the
    // bottom-left pixel's colour is transparent. The button does not own the bitmap.
    void SetPicture(HBITMAP bitmap, int numGlyphs);
    HBITMAP Picture() const { return picture_; }
    // Which picture to draw: the bitmap (gkCustom, gkDefault), the combo-box arrow or three dots.
    void SetKind(TGlyphKind kind);
    // Drawn pushed in without a mouse press.
    bool Down() const { return down_; }
    void SetDown(bool down);

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    void SetPressed(bool pressed);
    void DrawPicture(HDC dc, const RECT& face);
    TCustomComboEdit* edit_;
    HBITMAP picture_ = nullptr;
    int numGlyphs_ = 1;
    TGlyphKind kind_ = gkCustom;
    bool pressed_ = false;
    bool tracking_ = false;
    bool down_ = false;
};

class TCustomComboEdit : public TEdit {
public:
    explicit TCustomComboEdit(TComponent* owner);
    ~TCustomComboEdit() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TShortCut ClickKey() const { return clickKey_; }
    void SetClickKey(TShortCut key) { clickKey_ = key; }
    // False: the text cannot be typed, pasted or cut, but the button works.
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    // True: the text cannot be changed and the button does nothing.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // Entering by keyboard selects the whole text (only with DirectInput).
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }

    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind kind);
    // Name of a bitmap resource of the program; assigning one switches GlyphKind to gkCustom.
    const std::string& Glyph() const { return glyph_; }
    void SetGlyph(const std::string& resourceName);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);  // 1..4
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int width);  // 0 or 1 hides the button
    const std::string& ButtonHint() const { return buttonHint_; }
    void SetButtonHint(const std::string& hint);
    TPopupAlign PopupAlign() const { return popupAlign_; }
    void SetPopupAlign(TPopupAlign align) { popupAlign_ = align; }

    // A click on the button or the click key: nothing while ReadOnly; otherwise ButtonClick
    // (OnButtonClick), then the popup is opened or closed if there is one. Descendants add
    // their own action after calling this.
    virtual void ActivateButton();

    bool PopupVisible() const { return popupVisible_; }
    bool HasOpenPopup() const override { return popupVisible_; }
    TEditButton* Button() const { return button_; }

    // Raised at every button activation, before the class's own action.
    TNotifyEvent OnButtonClick;

    void SetBounds(int left, int top, int width, int height) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    bool WantsKey(WORD key, TShiftState shift) const override;
    void DoEnter() override;

protected:
    // The popup protocol. The base shows Popup() at PopupOrigin without activating it and, with
    // lock, makes the text read-only and hides the caret; ClosePopup hides it and undoes that.
    // Both do nothing without a popup, or when it is already open / already closed.
    virtual void OpenPopup(bool lock);
    virtual void ClosePopup(bool accept);
    // The window a descendant drops down; not owned by the edit. None by default.
    TWinControl* Popup() const { return popup_; }
    void SetPopup(TWinControl* popup) { popup_ = popup; }
    // Records the popup as open or closed (the button is drawn down while it is open).
    void SetPopupVisible(bool visible);

    // Raises OnButtonClick.
    virtual void ButtonClick();
    // The class picture for gkDefault: a bitmap resource name (none in the base) and its images.
    virtual std::string DefaultGlyphResource() const { return {}; }
    virtual int DefaultNumGlyphs() const { return 1; }

    // Offers Enter or Esc to the form that holds the edit; true when the form acted on it.
    bool OfferDialogKey(WORD key, TShiftState shift);
    // The text box is writable only while DirectInput is set and ReadOnly is not.
    void UpdateTextReadOnly();
    // Places the button and ends the text area 2 pixels before it.
    void UpdateButtonLayout();
    // The smaller of the system font's and the edit font's character heights.
    int TextHeight();
    // The smallest height that shows the text: text height + 4 border heights + 1.
    int MinimumHeight();
    // The edit's caret: 1 pixel wide (2 with a bold font), the text height high.
    void ShowEditCaret();

    // Set while a button press closed the popup, so that the click on release does nothing.
    bool ButtonNoAction = false;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void FontChanged() override;
    void EnabledChanged() override;

public:
    // The button's picture in the size for the new density, and the popup laid out for it.
    void DensityChanged() override;

private:
    friend class TEditButton;
    void ButtonPressed();
    void ButtonReleased(bool over);
    void ApplyGlyph();

    TEditButton* button_ = nullptr;
    TWinControl* popup_ = nullptr;
    TShortCut clickKey_ = scAlt | VK_DOWN;
    bool directInput_ = true;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    bool popupVisible_ = false;
    // True while the popup is closed because the focus is leaving the edit: the edit must not
    // take the focus back then.
    bool losingFocus_ = false;
    HWND focusFrom_ = nullptr;  // the window that lost the focus to the edit, while it arrives
    TGlyphKind glyphKind_ = gkCustom;
    std::string glyph_;
    int numGlyphs_ = 1;
    int buttonWidth_ = 21;
    int buttonWidthSet_ = 21;  // as set, before the class picture widened it
    std::string buttonHint_;
    TPopupAlign popupAlign_ = epaRight;
};

// The class pictures: loaded on first use of each size, in the size for the screen's density,
// and shared by every edit of the process.
HBITMAP SharedGlyph(const std::string& resourceName);
