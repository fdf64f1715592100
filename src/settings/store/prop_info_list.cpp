#include "settings/store/prop_info_list.h"

#include <algorithm>

#include "core/text.h"

TPropInfoList::TPropInfoList(const TPersistent& object) {
    for (const TPropInfo* p : object.ClassInfo().AllProps())
        if (p->Kind != TTypeKind::tkMethod) props_.push_back(p);
}

const TPropInfo* TPropInfoList::Find(const std::string& name) const {
    for (const TPropInfo* p : props_)
        if (SameTextAscii(p->Name, name)) return p;
    return nullptr;
}

bool TPropInfoList::Contains(const TPropInfo* prop) const {
    return std::find(props_.begin(), props_.end(), prop) != props_.end();
}

void TPropInfoList::Delete(int i) { props_.erase(props_.begin() + i); }
