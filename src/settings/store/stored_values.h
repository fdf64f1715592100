#pragma once
// Named values that a settings component keeps beside the form's placement, each under its
// own key of the same section. In a form description the list is given as entries
// "Name=Value":  StoredValues.Items = ('LastYear=2024')
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/persistent.h"
#include "settings/store/props_storage.h"

class TStoredValue;
// The handler may change the text that is about to be written or has just been read.
using TStoredValueEvent = std::function<void(TStoredValue* Sender, std::string& Value)>;

class TStoredValue {
public:
    std::string Name;
    std::string Value;
    TStoredValueEvent OnSave;
    TStoredValueEvent OnRestore;

    // The key the value is kept under.
    const std::string& KeyString() const { return Name; }
};

class TStoredValues : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    int Count() const { return static_cast<int>(items_.size()); }
    TStoredValue& Items(int i) { return *items_.at(static_cast<size_t>(i)); }
    TStoredValue& Add(const std::string& name, const std::string& value = "");
    void Clear() { items_.clear(); }

    void SaveValues(const std::string& section, const TWriteStringEvent& write);
    void RestoreValues(const std::string& section, const TReadStringEvent& read);

private:
    std::vector<std::string> Entries() const;
    void SetEntries(const std::vector<std::string>& entries);

    std::vector<std::unique_ptr<TStoredValue>> items_;
};
