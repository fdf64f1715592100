#pragma once
// Components: objects with an owner and a Name, destroyed by their owner, loaded from a form
// description.
#include <any>
#include <map>
#include <string>
#include <vector>

#include "core/persistent.h"

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    // Destroys the owned components, the last created first. Derived destructors call it first
    // so that owned components go while the owner is still whole.
    void DestroyComponents();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name) { name_ = name; }

    // Owned component by name, compared without regard to ASCII case; nullptr when none.
    TComponent* FindComponent(const std::string& name) const;

    bool Loading() const { return loading_; }
    bool Destroying() const { return destroying_; }

    // Called by the form description reader: before the first property, after the last.
    virtual void BeginLoading() { loading_ = true; }
    virtual void Loaded() { loading_ = false; }
    // The component enclosing this one in the description (controls take it as their parent).
    virtual void SetParentComponent(TComponent* parent) {}

    // Every owned component hears of insertions and removals among its owner's components.
    virtual void Notification(TComponent* component, TOperation operation) {}

    // Event handlers a form description may name, as std::any holding the event's function type.
    void RegisterMethod(const std::string& name, std::any handler) { methods_[name] = std::move(handler); }
    const std::any* MethodAddress(const std::string& name) const;

protected:
    void MarkDestroying() { destroying_ = true; }

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
    std::map<std::string, std::any> methods_;
    bool loading_ = false;
    bool destroying_ = false;
};
