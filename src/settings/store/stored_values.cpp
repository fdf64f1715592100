#include "settings/store/stored_values.h"

#include "core/text.h"

const TClassInfo& TStoredValues::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TStoredValues, TPersistent>("TStoredValues", {
        Published<TStoredValues>::List("Items", &TStoredValues::Entries, &TStoredValues::SetEntries),
    });
    return info;
}

TStoredValue& TStoredValues::Add(const std::string& name, const std::string& value) {
    items_.push_back(std::make_unique<TStoredValue>());
    items_.back()->Name = name;
    items_.back()->Value = value;
    return *items_.back();
}

std::vector<std::string> TStoredValues::Entries() const {
    std::vector<std::string> out;
    for (const auto& v : items_) out.push_back(v->Name + "=" + v->Value);
    return out;
}

void TStoredValues::SetEntries(const std::vector<std::string>& entries) {
    items_.clear();
    for (const std::string& e : entries) {
        size_t eq = e.find('=');
        Add(Trim(e.substr(0, eq)), eq == std::string::npos ? std::string() : e.substr(eq + 1));
    }
}

void TStoredValues::SaveValues(const std::string& section, const TWriteStringEvent& write) {
    for (auto& v : items_) {
        if (v->KeyString().empty()) continue;
        std::string text = v->Value;
        if (v->OnSave) v->OnSave(v.get(), text);
        write(section, v->KeyString(), text);
    }
}

void TStoredValues::RestoreValues(const std::string& section, const TReadStringEvent& read) {
    for (auto& v : items_) {
        if (v->KeyString().empty()) continue;
        std::string text = read(section, v->KeyString(), v->Value);
        if (v->OnRestore) v->OnRestore(v.get(), text);
        v->Value = text;
    }
}
