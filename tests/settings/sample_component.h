#pragma once
// A component publishing one property of every kind the settings store handles.
#include <cstdint>
#include <string>

#include "core/component.h"

enum class TSampleColour { scRed, scGreen, scBlue };

class TSampleComponent : public TComponent {
public:
    using TComponent::TComponent;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    std::string Text = "initial";
    int Count = 7;
    int64_t Big = 5;
    char Letter = 'q';
    TSampleColour Colour = TSampleColour::scGreen;
    int Colours = 0;  // set of TSampleColour
    double Ratio = 1.5;
    bool Enabled = true;
    TNotifyEvent OnPing;

    static const TEnumInfo& ColourNames();
};
