#pragma once
// TPersistent (an object with published properties) and TStringList (a list of texts).
#include <functional>
#include <string>
#include <vector>

#include "core/properties.h"

class TPersistent : public TObject {
public:
    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassInfo() const { return StaticClass(); }
    // Copies the other object's settings; the base raises EConvertError
    // ("Cannot assign a X to a Y").
    virtual void Assign(const TPersistent& source);
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TStringList : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    void Assign(const TPersistent& source) override;

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& operator[](int i) const { return items_.at(static_cast<size_t>(i)); }
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    void Add(const std::string& s);
    void Put(int i, const std::string& s);
    void Delete(int i);
    void Clear();
    int IndexOf(const std::string& s) const;  // exact comparison, -1 when absent

    TNotifyEvent OnChange;  // after every change

private:
    void Changed();
    std::vector<std::string> items_;
};
