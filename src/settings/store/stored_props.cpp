#include "settings/store/stored_props.h"

#include "core/text.h"

struct TStoredPropBinding::TEntryEdit {
    explicit TEntryEdit(TStoredPropBinding& b) : binding(b) { binding.editing_ = true; }
    ~TEntryEdit() { binding.editing_ = false; }
    TStoredPropBinding& binding;
};

TStoredPropBinding::TStoredPropBinding(TStringList& list) : list_(list) {
    list_.OnChange = [this](TObject*) {
        if (!editing_) stale_ = true;
    };
}

TStoredPropBinding::~TStoredPropBinding() { list_.OnChange = nullptr; }

bool TStoredPropBinding::SplitEntry(const std::string& entry, std::string& componentName, std::string& propName) {
    size_t dot = entry.find('.');
    if (dot == std::string::npos) return false;
    componentName = Trim(entry.substr(0, dot));
    propName = Trim(entry.substr(dot + 1));
    return !componentName.empty() && !propName.empty();
}

void TStoredPropBinding::Bind(const TComponent& owner) {
    TEntryEdit edit(*this);
    links_.clear();
    for (int i = 0; i < list_.Count();) {
        std::string componentName, propName;
        TComponent* c = SplitEntry(list_[i], componentName, propName) ? owner.FindComponent(componentName) : nullptr;
        if (!c) {
            list_.Delete(i);
            continue;
        }
        links_.push_back(c);
        ++i;
    }
    stale_ = false;
}

std::vector<TStoredPropLink> TStoredPropBinding::Refresh(const TComponent& owner) {
    if (stale_) Bind(owner);
    TEntryEdit edit(*this);
    std::vector<TStoredPropLink> out;
    for (int i = 0; i < list_.Count();) {
        std::string componentName, propName;
        TComponent* c = links_[static_cast<size_t>(i)];
        if (!c || !SplitEntry(list_[i], componentName, propName)) {
            list_.Delete(i);
            links_.erase(links_.begin() + i);
            continue;
        }
        std::string entry = c->Name() + "." + propName;
        if (entry != list_[i]) list_.Put(i, entry);
        out.push_back({c, propName});
        ++i;
    }
    return out;
}

void TStoredPropBinding::Remove(const TComponent* component) {
    if (stale_) return;  // the next use binds by name, and the component is no longer found
    TEntryEdit edit(*this);
    for (int i = list_.Count() - 1; i >= 0; --i) {
        if (links_[static_cast<size_t>(i)] != component) continue;
        list_.Delete(i);
        links_.erase(links_.begin() + i);
    }
}
