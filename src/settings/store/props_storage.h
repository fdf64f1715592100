#pragma once
// Walks lists of published properties and keeps their values, as text, under keys of one
// section: key = Prefix + the property's declared name. Reading and writing go through the
// two callbacks, so the same walk serves any store.
#include <functional>
#include <string>
#include <vector>

#include "core/component.h"

using TReadStringEvent =
    std::function<std::string(const std::string& section, const std::string& key, const std::string& def)>;
using TWriteStringEvent =
    std::function<void(const std::string& section, const std::string& key, const std::string& value)>;

// One bound entry of a stored-property list: the component and the property part of the entry.
struct TStoredPropLink {
    TComponent* Component = nullptr;
    std::string PropName;
};

class TPropsStorage {
public:
    TPersistent* AObject = nullptr;
    std::string Prefix;
    std::string Section;
    TReadStringEvent OnReadString;
    TWriteStringEvent OnWriteString;

    // The named properties of AObject; names that AObject does not publish are passed over.
    // Writing stops at the first error, which is raised; an empty value is written only for
    // text properties.
    void StoreProperties(const std::vector<std::string>& propNames);
    // A missing key keeps the property's value; errors of single properties are dropped.
    void LoadProperties(const std::vector<std::string>& propNames);

    // The same for entries of several components, each under the prefix "<component name>_".
    void StoreObjectsProps(const std::vector<TStoredPropLink>& links);
    void LoadObjectsProps(const std::vector<TStoredPropLink>& links);

    void StoreAnyProperty(const TPropInfo& prop);
    void LoadAnyProperty(const TPropInfo& prop);
};
