#pragma once
// The stored-property list of a form's settings component: entries "Component.Property", each
// bound to the form's component that it names, so that the entry follows the component when
// it is renamed and leaves the list when the component goes.
#include <string>
#include <vector>

#include "core/component.h"
#include "settings/store/props_storage.h"

class TStoredPropBinding {
public:
    // Changes made to the list from outside are noticed and bound afresh on the next use.
    explicit TStoredPropBinding(TStringList& list);
    ~TStoredPropBinding();
    TStoredPropBinding(const TStoredPropBinding&) = delete;
    TStoredPropBinding& operator=(const TStoredPropBinding&) = delete;

    // Splits every entry at its first ".", trims both parts and links the entry to the
    // owner's component of that name; entries without both parts or without such a
    // component are removed.
    void Bind(const TComponent& owner);
    // Writes each entry anew from its component's current name; entries whose component has
    // gone are removed. Returns the bound entries in list order.
    std::vector<TStoredPropLink> Refresh(const TComponent& owner);
    // The component is being destroyed: its entries leave the list.
    void Remove(const TComponent* component);

private:
    struct TEntryEdit;  // marks the list's changes as the binding's own
    static bool SplitEntry(const std::string& entry, std::string& componentName, std::string& propName);

    TStringList& list_;
    std::vector<TComponent*> links_;  // parallel to the list's entries
    bool stale_ = true;
    bool editing_ = false;
};
