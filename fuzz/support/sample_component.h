#pragma once
// A component with a published property of every kind that form descriptions and settings
// files carry, for the targets that read those texts.
#include <string>
#include <vector>

#include "core/component.h"
#include "core/persistent.h"

class TSampleComponent : public TComponent {
public:
    explicit TSampleComponent(TComponent* owner) : TComponent(owner) {}

    static const TEnumInfo& Kinds() {
        static const TEnumInfo info{{"skNone", "skFirst", "skSecond", "skThird"}};
        return info;
    }

    static const TClassInfo& StaticClass() {
        using C = TSampleComponent;
        using P = Published<C>;
        static const TClassInfo info = MakeCreatableClassInfo<C, TComponent>("TSampleComponent", {
            P::Str("Text", [](C& c) { return c.Text; }, [](C& c, const std::string& v) { c.Text = v; }),
            P::Int("Number", [](C& c) { return c.Number; }, [](C& c, int v) { c.Number = v; }),
            P::Int64("Big", [](C& c) { return c.Big; }, [](C& c, int64_t v) { c.Big = v; }),
            P::Char("Letter", [](C& c) { return c.Letter; }, [](C& c, char v) { c.Letter = v; }),
            P::Enum("Kind", Kinds(), [](C& c) { return c.Kind; }, [](C& c, int v) { c.Kind = v; }),
            P::Set("Kinds", Kinds(), [](C& c) { return c.KindSet; }, [](C& c, int64_t v) { c.KindSet = v; }),
            P::Float("Ratio", [](C& c) { return c.Ratio; }, [](C& c, double v) { c.Ratio = v; }),
            P::Bool("Flag", [](C& c) { return c.Flag; }, [](C& c, bool v) { c.Flag = v; }),
            P::Object("Lines", [](C& c) -> TPersistent* { return &c.Lines; }),
            P::List("Names", [](C& c) { return c.Names; },
                    [](C& c, const std::vector<std::string>& v) { c.Names = v; }),
            P::Component("Buddy", [](C& c) { return c.Buddy; }, [](C& c, TComponent* v) { c.Buddy = v; }),
            P::Event("OnChange", &C::OnChange),
        });
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    std::string Text;
    int Number = 0;
    int64_t Big = 0;
    char Letter = 0;
    int Kind = 0;
    int64_t KindSet = 0;
    double Ratio = 0;
    bool Flag = false;
    TStringList Lines;
    std::vector<std::string> Names;
    TComponent* Buddy = nullptr;
    TNotifyEvent OnChange;
};
