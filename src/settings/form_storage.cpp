#include "settings/form_storage.h"

TFormStorage::TFormStorage(TComponent* owner) : TFormPlacement(owner) {}

// The list's components may already be gone; nothing of the list is touched after this.
TFormStorage::~TFormStorage() = default;

const TClassInfo& TFormStorage::StaticClass() {
    using P = Published<TFormStorage>;
    static const TClassInfo info = MakeCreatableClassInfo<TFormStorage, TFormPlacement>("TFormStorage", {
        P::Object("StoredProps", [](TFormStorage& f) -> TPersistent* { return &f.StoredProps(); }),
        P::Object("StoredValues", [](TFormStorage& f) -> TPersistent* { return &f.StoredValues(); }),
    });
    return info;
}

void TFormStorage::Loaded() {
    if (Owner()) binding_.Bind(*Owner());
    TFormPlacement::Loaded();
}

void TFormStorage::Notification(TComponent* component, TOperation operation) {
    TFormPlacement::Notification(component, operation);
    if (operation == TOperation::opRemove && component != this) binding_.Remove(component);
}

TPropsStorage TFormStorage::MakePropsStorage() {
    TPropsStorage storage;
    storage.Section = IniSectionInUse();
    storage.OnReadString = [this](const std::string& section, const std::string& key, const std::string& def) {
        return ReadSetting(section, key, def);
    };
    storage.OnWriteString = [this](const std::string& section, const std::string& key, const std::string& value) {
        WriteSetting(section, key, value);
    };
    return storage;
}

void TFormStorage::StorePlacement() {
    TFormPlacement::StorePlacement();
    StoreListedProps();
    storedValues_.SaveValues(IniSectionInUse(),
                             [this](const std::string& s, const std::string& k, const std::string& v) {
                                 WriteSetting(s, k, v);
                             });
}

void TFormStorage::LoadPlacement() {
    TFormPlacement::LoadPlacement();
    LoadListedProps();
    storedValues_.RestoreValues(IniSectionInUse(),
                                [this](const std::string& s, const std::string& k, const std::string& d) {
                                    return ReadSetting(s, k, d);
                                });
}

void TFormStorage::StoreListedProps() {
    if (!Owner()) return;
    MakePropsStorage().StoreObjectsProps(binding_.Refresh(*Owner()));
}

void TFormStorage::LoadListedProps() {
    try {
        if (Owner()) MakePropsStorage().LoadObjectsProps(binding_.Refresh(*Owner()));
    } catch (...) {
        // A stored property never stops the restore; what could not be read keeps its value.
    }
}
