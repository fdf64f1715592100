#include "settings/store/props_storage.h"

#include "core/text.h"
#include "settings/store/prop_info_list.h"
#include "settings/store/prop_values.h"

void TPropsStorage::StoreAnyProperty(const TPropInfo& prop) {
    std::string value = Trim(PropertyValueText(*AObject, prop));
    if (value.empty() && prop.Kind != TTypeKind::tkString) return;
    OnWriteString(Section, Prefix + prop.Name, value);
}

void TPropsStorage::LoadAnyProperty(const TPropInfo& prop) {
    try {
        std::string value = OnReadString(Section, Prefix + prop.Name, PropertyValueText(*AObject, prop));
        AssignPropertyText(*AObject, prop, Trim(value));
    } catch (...) {
        // A value that cannot be read or assigned leaves the property as it was.
    }
}

void TPropsStorage::StoreProperties(const std::vector<std::string>& propNames) {
    TPropInfoList props(*AObject);
    for (const std::string& name : propNames)
        if (const TPropInfo* p = props.Find(name)) StoreAnyProperty(*p);
}

void TPropsStorage::LoadProperties(const std::vector<std::string>& propNames) {
    TPropInfoList props(*AObject);
    for (const std::string& name : propNames)
        if (const TPropInfo* p = props.Find(name)) LoadAnyProperty(*p);
}

void TPropsStorage::StoreObjectsProps(const std::vector<TStoredPropLink>& links) {
    for (const TStoredPropLink& link : links) {
        AObject = link.Component;
        Prefix = link.Component->Name() + "_";
        StoreProperties({link.PropName});
    }
}

void TPropsStorage::LoadObjectsProps(const std::vector<TStoredPropLink>& links) {
    for (const TStoredPropLink& link : links) {
        AObject = link.Component;
        Prefix = link.Component->Name() + "_";
        LoadProperties({link.PropName});
    }
}
