#pragma once
// TFormStorage: the form placement plus a list of the form's component properties and a set of
// named values, kept in the same section. A list entry is "Component.Property"; its key is
// "<Component>_<Property>" with the property's declared name.
#include "settings/form_placement.h"
#include "settings/store/stored_props.h"
#include "settings/store/stored_values.h"

class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(TComponent* owner);
    ~TFormStorage() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TStringList& StoredProps() { return storedProps_; }
    TStoredValues& StoredValues() { return storedValues_; }

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void StorePlacement() override;
    void LoadPlacement() override;
    // Raises the first refused write.
    virtual void StoreListedProps();
    // Never raises: a property that cannot be read or assigned keeps its value.
    virtual void LoadListedProps();

private:
    TPropsStorage MakePropsStorage();

    TStringList storedProps_;
    TStoredPropBinding binding_{storedProps_};
    TStoredValues storedValues_;
};
