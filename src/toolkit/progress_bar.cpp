#include "toolkit/progress_bar.h"

#include <commctrl.h>

#include <algorithm>

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    width_ = 150;
    height_ = 16;
}

const TClassInfo& TProgressBar::StaticClass() {
    using P = Published<TProgressBar>;
    static const TClassInfo info = MakeCreatableClassInfo<TProgressBar, TWinControl>("TProgressBar", {
        P::Int("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0),
        P::Int("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100),
        P::Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0),
    });
    return info;
}

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SubclassOf = PROGRESS_CLASSA;
    p.CommonControls = ICC_PROGRESS_CLASS;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
}

void TProgressBar::SetMin(int v) {
    min_ = v;
    max_ = std::max(max_, min_);
    ApplyRange();
}

void TProgressBar::SetMax(int v) {
    max_ = v;
    min_ = std::min(min_, max_);
    ApplyRange();
}

void TProgressBar::SetPosition(int v) {
    position_ = v;
    ApplyRange();
}

void TProgressBar::ApplyRange() {
    position_ = std::clamp(position_, min_, max_);
    HWND h = HandleIfAllocated();
    if (!h) return;
    SendMessageA(h, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(h, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}
