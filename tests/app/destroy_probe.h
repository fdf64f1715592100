#pragma once
// A component that tells when its owner frees it: owned by a dialog, it shows whether closing
// the dialog freed it.
#include "core/component.h"

class DestroyProbe : public TComponent {
public:
    DestroyProbe(TComponent* owner, bool& destroyed) : TComponent(owner), destroyed_(destroyed) {}
    ~DestroyProbe() override { destroyed_ = true; }

private:
    bool& destroyed_;
};
