#include "toolkit/bevel.h"

#include <utility>

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    width_ = 50;
    height_ = 50;
}

const TClassInfo& TBevel::StaticClass() {
    static const TEnumInfo shapes{{"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};
    static const TEnumInfo styles{{"bsLowered", "bsRaised"}};
    using P = Published<TBevel>;
    static const TClassInfo info = MakeCreatableClassInfo<TBevel, TGraphicControl>("TBevel", {
        P::Enum("Shape", shapes, &TBevel::Shape, &TBevel::SetShape, 0),
        P::Enum("Style", styles, &TBevel::Style, &TBevel::SetStyle, 0),
    });
    return info;
}

void TBevel::SetShape(TBevelShape v) {
    shape_ = v;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
    style_ = v;
    Invalidate();
}

void TBevel::Paint(TCanvas& canvas) {
    TColor dark = clBtnShadow, light = clBtnHighlight;
    if (style_ == TBevelStyle::bsRaised) std::swap(dark, light);
    int w = width_, h = height_;
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        canvas.PenColor = c;
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    switch (shape_) {
        case TBevelShape::bsBox:
            line(dark, 0, h - 1, 0, 0);
            line(dark, 0, 0, w - 1, 0);
            line(light, w - 1, 0, w - 1, h - 1);
            line(light, w - 1, h - 1, -1, h - 1);
            break;
        case TBevelShape::bsFrame:
            canvas.PenColor = dark;
            canvas.FrameRect(RECT{0, 0, w - 1, h - 1});
            canvas.PenColor = light;
            canvas.FrameRect(RECT{1, 1, w, h});
            break;
        case TBevelShape::bsTopLine:
            line(dark, 0, 0, w, 0);
            line(light, 0, 1, w, 1);
            break;
        case TBevelShape::bsBottomLine:
            line(dark, 0, h - 2, w, h - 2);
            line(light, 0, h - 1, w, h - 1);
            break;
        case TBevelShape::bsLeftLine:
            line(dark, 0, 0, 0, h);
            line(light, 1, 0, 1, h);
            break;
        case TBevelShape::bsRightLine:
            line(dark, w - 2, 0, w - 2, h);
            line(light, w - 1, 0, w - 1, h);
            break;
        case TBevelShape::bsSpacer: break;
    }
}
