#pragma once
// The common-controls progress bar: filled from Min to Max as far as Position.
#include "toolkit/controls.h"

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    // Kept within Min..Max.
    int Position() const { return position_; }
    void SetPosition(int v);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    // Brings the position into the range and gives both to the window.
    void ApplyRange();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};
