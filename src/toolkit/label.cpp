#include "toolkit/label.h"

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    width_ = 65;
    height_ = 17;
    SetParentColor(true);
}

const TClassInfo& TLabel::StaticClass() {
    static const TEnumInfo alignments{{"taLeftJustify", "taRightJustify", "taCenter"}};
    using P = Published<TLabel>;
    static const TClassInfo info = MakeCreatableClassInfo<TLabel, TGraphicControl>("TLabel", {
        P::Enum("Alignment", alignments, &TLabel::Alignment, &TLabel::SetAlignment, 0),
        P::Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true),
        P::Str("Caption", &TLabel::Caption, &TLabel::SetCaption),
        P::Component(
            "FocusControl", [](TLabel& l) -> TComponent* { return l.FocusControl(); },
            [](TLabel& l, TComponent* c) { l.SetFocusControl(dynamic_cast<TWinControl*>(c)); }),
        P::Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar, true),
        P::Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, true),
        P::Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false),
    });
    return info;
}

void TLabel::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    wordWrap_ = v;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    showAccelChar_ = v;
    Invalidate();
}

void TLabel::Paint(TCanvas& canvas) {
    RECT r{0, 0, width_, height_};
    if (!transparent_) canvas.FillRect(r);
    canvas.TransparentText = true;
    UINT format = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
    format |= DT_NOCLIP;
    if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
    if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
    if (!showAccelChar_) format |= DT_NOPREFIX;
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    canvas.TextRect(r, Caption(), format);
}

bool TLabel::DialogChar(char ch) {
    if (!showAccelChar_ || !IsAccel(ch, Caption())) return false;
    if (!focusControl_ || !focusControl_->CanFocus()) return false;
    focusControl_->SetFocus();
    return true;
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}
