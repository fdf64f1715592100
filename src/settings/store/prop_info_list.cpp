#include "settings/store/prop_info_list.h"

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

void TPropInfoList::Delete(int i) { props_.erase(props_.begin() + i); }
