#pragma once
// Push buttons: TButton (a subclassed BUTTON) and TBitBtn (the same, drawn with a glyph).
#include "toolkit/controls.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Enter presses the default button (unless another button has the focus); Esc presses the
    // cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    // Given to the form when pressed; a modal form then ends with it.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int v) { modalResult_ = v; }

    void Click() override;
    bool DialogChar(char ch) override;
    bool DialogKeyBroadcast(WORD key) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
};

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Name of a bitmap resource of the program holding NumGlyphs images side by side: normal,
    // disabled, pressed, down. The bottom-left pixel's colour is transparent.
    const std::string& Glyph() const { return glyph_; }
    void SetGlyph(const std::string& resourceName);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Spacing() const { return spacing_; }  // between glyph and caption
    void SetSpacing(int v);
    int Margin() const { return margin_; }  // -1: glyph and caption centred together
    void SetMargin(int v);
    // Size of one image of the glyph; 0 x 0 without one. The glyph is drawn for the screen's
    // density (LoadGlyphBitmap).
    SIZE GlyphSize() const;

    // Where the glyph and the caption go: on the face inside the focus frame and the raised
    // edge, next to each other (or one above the other) and centred together, or Margin pixels
    // from the face's edge. The caption is measured in the button's font on dc.
    struct TFaceLayout {
        RECT Face;
        RECT Glyph;
        RECT Caption;
    };
    TFaceLayout FaceLayout(HDC dc);

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DensityChanged() override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& di);
    void DrawGlyph(HDC dc, int x, int y, int index);
    void ReleaseBitmap();

    std::string glyph_;
    HBITMAP bitmap_ = nullptr;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int spacing_ = 4;
    int margin_ = -1;
};
