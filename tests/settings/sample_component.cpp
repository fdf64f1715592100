#include "sample_component.h"

const TEnumInfo& TSampleComponent::ColourNames() {
    static const TEnumInfo names{{"scRed", "scGreen", "scBlue"}};
    return names;
}

const TClassInfo& TSampleComponent::StaticClass() {
    using P = Published<TSampleComponent>;
    static const TClassInfo info = MakeCreatableClassInfo<TSampleComponent, TComponent>("TSampleComponent", {
        P::Str("Text", [](TSampleComponent& c) { return c.Text; },
               [](TSampleComponent& c, const std::string& v) { c.Text = v; }),
        P::Int("Count", [](TSampleComponent& c) { return c.Count; }, [](TSampleComponent& c, int v) { c.Count = v; }),
        P::Int64("Big", [](TSampleComponent& c) { return c.Big; }, [](TSampleComponent& c, int64_t v) { c.Big = v; }),
        P::Char("Letter", [](TSampleComponent& c) { return c.Letter; },
                [](TSampleComponent& c, char v) { c.Letter = v; }),
        P::Enum("Colour", ColourNames(), [](TSampleComponent& c) { return c.Colour; },
                [](TSampleComponent& c, TSampleColour v) { c.Colour = v; }),
        P::Set("Colours", ColourNames(), [](TSampleComponent& c) { return c.Colours; },
               [](TSampleComponent& c, int v) { c.Colours = v; }),
        P::Float("Ratio", [](TSampleComponent& c) { return c.Ratio; },
                 [](TSampleComponent& c, double v) { c.Ratio = v; }),
        P::Bool("Enabled", [](TSampleComponent& c) { return c.Enabled; },
                [](TSampleComponent& c, bool v) { c.Enabled = v; }),
        P::Event("OnPing", &TSampleComponent::OnPing),
    });
    return info;
}
