#pragma once
// The published properties of one object that settings may store: every kind except events,
// base class first, in declaration order.
#include <string>
#include <vector>

#include "core/persistent.h"

class TPropInfoList {
public:
    explicit TPropInfoList(const TPersistent& object);

    int Count() const { return static_cast<int>(props_.size()); }
    const TPropInfo* Items(int i) const { return props_.at(static_cast<size_t>(i)); }
    // By name without regard to ASCII case; nullptr when the object has no such property.
    const TPropInfo* Find(const std::string& name) const;
    void Delete(int i);

private:
    std::vector<const TPropInfo*> props_;
};
