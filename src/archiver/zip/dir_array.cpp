#include "archiver/zip/dir_array.h"

#include "archiver/common.h"

void TVXDirArray::SetCount(int n) {
    if (n < 0) n = 0;
    items_.resize(static_cast<size_t>(n));
}

TDirItem TVXDirArray::GetItem(int i) const {
    if (i < 0 || i >= Count()) throw EVXException(vxerr::GetIndexOutOfRange, nullptr);
    return items_[static_cast<size_t>(i)];
}

void TVXDirArray::PutItem(int i, const TDirItem& item) {
    if (i < 0 || i >= Count()) throw EVXException(vxerr::PutIndexOutOfRange, nullptr);
    items_[static_cast<size_t>(i)] = item;
}

TDirItem* TVXDirArray::ItemPtr(int i) {
    if (i < 0 || i >= Count()) throw EVXException(vxerr::ItemPtrIndexOutOfRange, nullptr);
    return &items_[static_cast<size_t>(i)];
}

const TDirItem* TVXDirArray::ItemPtr(int i) const {
    if (i < 0 || i >= Count()) throw EVXException(vxerr::ItemPtrIndexOutOfRange, nullptr);
    return &items_[static_cast<size_t>(i)];
}

void TVXDirArray::Assign(const TVXDirArray& other) {
    if (&other == this) return;
    items_ = other.items_;
}

void TVXDirArray::Delete(int i) {
    if (i < 0 || i >= Count()) throw EVXException(vxerr::ItemPtrIndexOutOfRange, nullptr);
    items_.erase(items_.begin() + i);
}
