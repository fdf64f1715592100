#include "core/persistent.h"

#include "core/exceptions.h"
#include "core/text.h"

const TClassInfo& TPersistent::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TPersistent, void>("TPersistent");
    return info;
}

void TPersistent::Assign(const TPersistent& source) {
    throw EConvertError(Format("Cannot assign a %s to a %s", source.ClassInfo().Name.c_str(),
                               ClassInfo().Name.c_str()));
}

const TClassInfo& TStringList::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TStringList, TPersistent>("TStringList", {
        Published<TStringList>::List("Strings", &TStringList::Items, &TStringList::SetItems),
    });
    return info;
}

void TStringList::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TStringList*>(&source)) {
        SetItems(other->items_);
        return;
    }
    TPersistent::Assign(source);
}

void TStringList::SetItems(const std::vector<std::string>& items) {
    items_.clear();
    for (const auto& s : items) Add(s);
    if (items.empty()) Changed();
}

void TStringList::Add(const std::string& s) {
    items_.push_back(s);
    Changed();
}

void TStringList::Put(int i, const std::string& s) {
    items_.at(static_cast<size_t>(i)) = s;
    Changed();
}

void TStringList::Delete(int i) {
    items_.erase(items_.begin() + i);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

int TStringList::IndexOf(const std::string& s) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == s) return static_cast<int>(i);
    return -1;
}

void TStringList::Changed() {
    if (OnChange) OnChange(this);
}
