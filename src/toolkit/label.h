#pragma once
// A caption drawn by its parent; its accelerator focuses FocusControl.
#include "toolkit/controls.h"

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c) { focusControl_ = c; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // "&" marks the accelerator (shown underlined); false shows it as it is.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    // Kept for form descriptions; the given bounds are used as they are.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v) { autoSize_ = v; }

    void Paint(TCanvas& canvas) override;
    bool DialogChar(char ch) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TWinControl* focusControl_ = nullptr;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = true;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool autoSize_ = true;
};
