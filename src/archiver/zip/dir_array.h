#pragma once
// A growable array of directory items, sized exactly to its count.
#include <vector>

#include "archiver/zip/dir_item.h"

class TVXDirArray {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Growing adds zeroed items; shrinking drops the last items with their extra blocks.
    void SetCount(int n);
    TDirItem GetItem(int i) const;             // code 2 when out of range
    void PutItem(int i, const TDirItem& item);  // code 1 when out of range
    TDirItem* ItemPtr(int i);                   // code 3 when out of range
    const TDirItem* ItemPtr(int i) const;
    void Assign(const TVXDirArray& other);
    // Removes item i, the later ones moving up; code 3 when out of range.
    void Delete(int i);

private:
    std::vector<TDirItem> items_;
};
