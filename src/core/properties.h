#pragma once
// Published properties: the run-time description of a class's settings. The form description
// reader assigns through it and the settings component reads and writes values through it, so a
// class publishes a setting once and both see it.
#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

// <windows.h> maps RegisterClass to RegisterClassA; the class registry below must keep its name
// in every file, whichever header came first.
#ifdef RegisterClass
#undef RegisterClass
#endif

class TObject {
public:
    virtual ~TObject() = default;
};

class TPersistent;
class TComponent;

enum class TTypeKind {
    tkString,       // text
    tkInteger,      // signed 32-bit and narrower integers
    tkInt64,
    tkChar,         // one byte
    tkEnumeration,
    tkSet,          // bit i set <=> enumeration value i is a member
    tkFloat,
    tkBoolean,
    tkClass,        // an owned nested object (Font, Options, a string list)
    tkStrings,      // a list of texts, written ( 'a' 'b' ) in a form description
    tkComponent,    // a reference to another component of the same form, by name
    tkMethod,       // an event handler
};

struct TEnumInfo {
    std::vector<std::string> Names;  // ordinal i has Names[i]
    // Index of a name compared without regard to ASCII case, -1 when none.
    int IndexOf(const std::string& name) const;
    std::string NameOf(int64_t ordinal) const;
};

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkString;
    const TEnumInfo* Enum = nullptr;   // tkEnumeration and tkSet
    std::optional<int64_t> Default;    // declared default of an ordinal property

    std::function<std::string(TPersistent&)> GetStr;
    std::function<void(TPersistent&, const std::string&)> SetStr;
    std::function<int64_t(TPersistent&)> GetOrd;  // integers, chars, enumerations, sets, Booleans
    std::function<void(TPersistent&, int64_t)> SetOrd;
    std::function<double(TPersistent&)> GetFloat;
    std::function<void(TPersistent&, double)> SetFloat;
    std::function<TPersistent*(TPersistent&)> GetObject;
    std::function<std::vector<std::string>(TPersistent&)> GetList;
    std::function<void(TPersistent&, const std::vector<std::string>&)> SetList;
    std::function<TComponent*(TPersistent&)> GetComponent;
    std::function<void(TPersistent&, TComponent*)> SetComponent;
    // The handler arrives as the std::function type the event holds, wrapped in std::any.
    std::function<void(TPersistent&, const std::any&)> SetEvent;
    std::function<bool(TPersistent&)> EventAssigned;

    bool IsOrdinal() const;
};

class TClassInfo {
public:
    std::string Name;
    const TClassInfo* Parent = nullptr;
    std::vector<TPropInfo> Props;                       // this class's own, in declaration order
    std::function<TComponent*(TComponent* owner)> Create;  // for classes a form description may name

    // Own and inherited properties, the base class's first.
    std::vector<const TPropInfo*> AllProps() const;
    // Looked up without regard to ASCII case, the most derived declaration first.
    const TPropInfo* FindProp(const std::string& name) const;
};

// The class information of T, derived from Parent (void for a root class): its name and its own
// published properties in declaration order.
template <class T, class Parent>
TClassInfo MakeClassInfo(std::string name, std::vector<TPropInfo> props = {}) {
    static_assert(std::is_void_v<Parent> || std::is_base_of_v<Parent, T>);
    TClassInfo ci;
    ci.Name = std::move(name);
    if constexpr (!std::is_void_v<Parent>) ci.Parent = &Parent::StaticClass();
    ci.Props = std::move(props);
    return ci;
}

// The same for a component class that a form description may name: it also knows how to create
// one for an owner.
template <class T, class Parent>
TClassInfo MakeCreatableClassInfo(std::string name, std::vector<TPropInfo> props = {}) {
    TClassInfo ci = MakeClassInfo<T, Parent>(std::move(name), std::move(props));
    ci.Create = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return ci;
}

// Component classes known to the form description reader.
void RegisterClass(const TClassInfo& info);
const TClassInfo* FindClass(const std::string& name);

// Integer constants a form description may use by name (colours, character sets).
void RegisterIntegerConstant(const std::string& name, int64_t value);
std::optional<int64_t> FindIntegerConstant(const std::string& name);

// ---- building property descriptions ------------------------------------------------------
// Getters and setters are anything std::invoke accepts with the object: member function
// pointers or lambdas.
template <class T>
struct Published {
    template <class G, class S>
    static TPropInfo Str(std::string name, G get, S set) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkString;
        p.GetStr = [get](TPersistent& o) -> std::string { return std::invoke(get, static_cast<T&>(o)); };
        p.SetStr = [set](TPersistent& o, const std::string& v) { std::invoke(set, static_cast<T&>(o), v); };
        return p;
    }

    template <class G, class S>
    static TPropInfo Ord(std::string name, TTypeKind kind, G get, S set, std::optional<int64_t> def = {},
                         const TEnumInfo* e = nullptr) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.Enum = e;
        p.Default = def;
        p.GetOrd = [get](TPersistent& o) -> int64_t {
            return static_cast<int64_t>(std::invoke(get, static_cast<T&>(o)));
        };
        p.SetOrd = [set](TPersistent& o, int64_t v) {
            using Arg = decltype(std::invoke(std::declval<G>(), std::declval<T&>()));
            std::invoke(set, static_cast<T&>(o), static_cast<std::decay_t<Arg>>(v));
        };
        return p;
    }

    template <class G, class S>
    static TPropInfo Int(std::string name, G get, S set, std::optional<int64_t> def = {}) {
        return Ord(std::move(name), TTypeKind::tkInteger, get, set, def);
    }
    template <class G, class S>
    static TPropInfo Int64(std::string name, G get, S set, std::optional<int64_t> def = {}) {
        return Ord(std::move(name), TTypeKind::tkInt64, get, set, def);
    }
    template <class G, class S>
    static TPropInfo Bool(std::string name, G get, S set, std::optional<bool> def = {}) {
        return Ord(std::move(name), TTypeKind::tkBoolean, get, set,
                   def ? std::optional<int64_t>(*def ? 1 : 0) : std::nullopt);
    }
    template <class G, class S>
    static TPropInfo Char(std::string name, G get, S set, std::optional<int64_t> def = {}) {
        return Ord(std::move(name), TTypeKind::tkChar, get, set, def);
    }
    template <class G, class S>
    static TPropInfo Enum(std::string name, const TEnumInfo& e, G get, S set, std::optional<int64_t> def = {}) {
        return Ord(std::move(name), TTypeKind::tkEnumeration, get, set, def, &e);
    }
    template <class G, class S>
    static TPropInfo Set(std::string name, const TEnumInfo& e, G get, S set, std::optional<int64_t> def = {}) {
        return Ord(std::move(name), TTypeKind::tkSet, get, set, def, &e);
    }

    template <class G, class S>
    static TPropInfo Float(std::string name, G get, S set) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkFloat;
        p.GetFloat = [get](TPersistent& o) -> double { return std::invoke(get, static_cast<T&>(o)); };
        p.SetFloat = [set](TPersistent& o, double v) { std::invoke(set, static_cast<T&>(o), v); };
        return p;
    }

    // An owned nested object; its own published properties are reached as Name.Sub.
    template <class G>
    static TPropInfo Object(std::string name, G get) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkClass;
        p.GetObject = [get](TPersistent& o) -> TPersistent* { return std::invoke(get, static_cast<T&>(o)); };
        return p;
    }

    template <class G, class S>
    static TPropInfo List(std::string name, G get, S set) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkStrings;
        p.GetList = [get](TPersistent& o) -> std::vector<std::string> { return std::invoke(get, static_cast<T&>(o)); };
        p.SetList = [set](TPersistent& o, const std::vector<std::string>& v) { std::invoke(set, static_cast<T&>(o), v); };
        return p;
    }

    template <class G, class S>
    static TPropInfo Component(std::string name, G get, S set) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkComponent;
        p.GetComponent = [get](TPersistent& o) -> TComponent* { return std::invoke(get, static_cast<T&>(o)); };
        p.SetComponent = [set](TPersistent& o, TComponent* c) { std::invoke(set, static_cast<T&>(o), c); };
        return p;
    }

    // An event held in a std::function data member.
    template <class F>
    static TPropInfo Event(std::string name, F T::*member) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkMethod;
        p.SetEvent = [member](TPersistent& o, const std::any& handler) {
            static_cast<T&>(o).*member = std::any_cast<F>(handler);
        };
        p.EventAssigned = [member](TPersistent& o) { return static_cast<bool>(static_cast<T&>(o).*member); };
        return p;
    }
};
