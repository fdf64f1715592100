#include "core/properties.h"

#include <map>

#include "core/text.h"

int TEnumInfo::IndexOf(const std::string& name) const {
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameTextAscii(Names[i], name)) return static_cast<int>(i);
    return -1;
}

std::string TEnumInfo::NameOf(int64_t ordinal) const {
    if (ordinal < 0 || ordinal >= static_cast<int64_t>(Names.size())) return {};
    return Names[static_cast<size_t>(ordinal)];
}

bool TPropInfo::IsOrdinal() const {
    switch (Kind) {
        case TTypeKind::tkInteger:
        case TTypeKind::tkInt64:
        case TTypeKind::tkChar:
        case TTypeKind::tkEnumeration:
        case TTypeKind::tkSet:
        case TTypeKind::tkBoolean: return true;
        default: return false;
    }
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
    std::vector<const TPropInfo*> out;
    if (Parent) out = Parent->AllProps();
    for (const auto& p : Props) {
        bool replaced = false;
        for (auto& q : out)
            if (SameTextAscii(q->Name, p.Name)) { q = &p; replaced = true; }
        if (!replaced) out.push_back(&p);
    }
    return out;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const auto& p : c->Props)
            if (SameTextAscii(p.Name, name)) return &p;
    return nullptr;
}

namespace {
std::map<std::string, const TClassInfo*>& ClassRegistry() {
    static std::map<std::string, const TClassInfo*> registry;
    return registry;
}
std::map<std::string, int64_t>& Constants() {
    static std::map<std::string, int64_t> constants;
    return constants;
}
}  // namespace

void RegisterClass(const TClassInfo& info) { ClassRegistry()[AsciiUpper(info.Name)] = &info; }

const TClassInfo* FindClass(const std::string& name) {
    auto it = ClassRegistry().find(AsciiUpper(name));
    return it == ClassRegistry().end() ? nullptr : it->second;
}

void RegisterIntegerConstant(const std::string& name, int64_t value) { Constants()[AsciiUpper(name)] = value; }

std::optional<int64_t> FindIntegerConstant(const std::string& name) {
    auto it = Constants().find(AsciiUpper(name));
    if (it == Constants().end()) return std::nullopt;
    return it->second;
}
