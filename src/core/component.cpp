#include "core/component.h"

#include <algorithm>

#include "core/text.h"

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    destroying_ = true;
    while (!components_.empty()) delete components_.back();  // each removes itself
}

void TComponent::InsertComponent(TComponent* c) {
    components_.push_back(c);
    for (TComponent* other : components_)
        if (other != c) other->Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it == components_.end()) return;
    components_.erase(it);
    c->owner_ = nullptr;
    Notification(c, TOperation::opRemove);
    for (TComponent* other : components_) other->Notification(c, TOperation::opRemove);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameTextAscii(c->Name(), name)) return c;
    return nullptr;
}

const std::any* TComponent::MethodAddress(const std::string& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

const TClassInfo& TComponent::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TComponent, TPersistent>("TComponent", {
        Published<TComponent>::Str("Name", &TComponent::Name, &TComponent::SetName),
    });
    return info;
}
