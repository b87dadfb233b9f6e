#pragma once
// Published properties, methods and fields: one table per class, read and
// written by the form files, the designer and the tests.
//
// In the .cpp of a class declared with FW_CLASS:
//
//     FW_PUBLISH(TQzLED) {
//         cls.Color("Color", &TQzLED::Color, &TQzLED::SetColor, clWindow);
//         cls.Bool("Enabled", &TQzLED::Enabled, &TQzLED::setEnabled, true);
//         cls.Enum("LEDColor", &TQzLED::LEDColor, &TQzLED::SetLEDColor, LEDColorNames, lcRed);
//         cls.Event("OnClick", &TQzLED::OnClick);
//     }
//
//     FW_PUBLISH(TfrmQzCal) {
//         cls.Float("Date", &TfrmQzCal::FDate, &TfrmQzCal::FDate, 0.0); // a plain field
//         cls.Field("tmr", &TfrmQzCal::tmr);              // filled when `tmr` is read
//         cls.Method("FormPaint", &TfrmQzCal::FormPaint); // bindable by name
//     }
//
// Getters are const member functions or data members; setters are member
// functions taking the value (virtual ones dispatch as usual), data members,
// or nullptr for read-only properties. Pointers to members of a base class
// work too (`&TQzLED::Enabled` naming TControl::Enabled).
//
// Properties are kept in declaration order after the base class's. A class
// that publishes a property its base already publishes replaces it in the
// base's place (to change a default: `cls.Redeclare("Color").Default(clBtnFace)`).
// A base may declare a property for its descendants only
// (`cls.Str("SQL", ...).Unlisted()`): no list, reader or writer sees it until
// a descendant redeclares it, which lists it in the place of that
// redeclaration, so each descendant keeps the order of its own form files.
//
// Storage rule used by the writer: a property with a default is written when
// its value differs; `.NoDefault()` (and a string declared without a default)
// is always written; `.NotStored()` never; `.StoredIf(pred)` only when pred
// holds. `.WrittenLast()` moves a property after all others of the object
// (design positions and per-form metrics).

#include <any>
#include <cstdint>
#include <framework/classes/Component.h>
#include <limits>
#include <memory>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

namespace fw {

enum class TTypeKind {
    Integer,     // decimal, $hex, or an identifier of its identifier table
    Boolean,     // True / False
    Enumeration, // identifier by ordinal
    Set,         // [fsBold, fsItalic]
    String,      // 'text' with '' and `#nn`
    Float,       // 1.5
    Binary,      // { hex bytes }
    Class,       // nested persistent: written as dotted names
    Component,   // reference written by component name
    Event,       // bound by published method name
};

// Identifiers of an enumeration, by ordinal.
using TEnumNames = std::vector<String>;

// Identifier tables for integer properties (colour names, charsets), plugged
// in by the layer that owns them. `kind` is the table's name ("TColor").
using TIntToIdent = std::function<bool(std::int64_t value, String& ident)>;
using TIdentToInt = std::function<bool(const String& ident, std::int64_t& value)>;
void RegisterIntegerIdents(const String& kind, TIntToIdent toIdent, TIdentToInt fromIdent);
bool IntegerToIdent(const String& kind, std::int64_t value, String& ident);
bool IdentToInteger(const String& kind, const String& ident, std::int64_t& value);

// The identifier table name used by Color properties.
inline const String ColorIdentKind = "TColor";

struct TPropInfo {
    String Name;
    TTypeKind Kind = TTypeKind::Integer;
    TEnumNames Idents;      // enumerations and sets
    String IdentKind;       // integers with an identifier table
    bool CharValue = false; // an integer that is a character's code, written as a quoted character
    std::int64_t MinValue = std::numeric_limits<std::int64_t>::min();
    std::int64_t MaxValue = std::numeric_limits<std::int64_t>::max();

    bool HasDefault = true;
    bool Stored = true;
    bool Listed = true; // false: declared for descendants, which list it by redeclaring it
    bool WrittenLast = false;
    std::int64_t DefaultOrd = 0;
    double DefaultFloat = 0;
    String DefaultStr;
    std::function<bool(const TObject*)> StoredIf;
    // Class: when this holds for the owner, the nested object's properties
    // are all written, defaults included (a font that is the control's own).
    std::function<bool(const TObject*)> WholeIf;

    // Integer, Boolean, Enumeration (ordinal), Set (bits).
    std::function<std::int64_t(const TObject*)> GetOrd;
    std::function<void(TObject*, std::int64_t)> SetOrd;
    // Float.
    std::function<double(const TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    // String and Binary.
    std::function<String(const TObject*)> GetStr;
    std::function<void(TObject*, const String&)> SetStr;
    // Class: the nested object (may be null).
    std::function<TPersistent*(const TObject*)> GetObject;
    // Component references.
    std::function<TComponent*(const TObject*)> GetComponent;
    std::function<void(TObject*, TComponent*)> SetComponent;
    // Class and Component: the class the value must be (or descend from).
    const TClassInfo* (*ObjectClass)() = nullptr;
    // Event: the std::function type, whether assigned, and assignment from a
    // std::any holding that type (an empty any clears the event).
    std::type_index EventType = typeid(void);
    std::function<bool(const TObject*)> EventAssigned;
    std::function<void(TObject*, const std::any&)> SetEvent;

    bool Writable() const;
    // Whether the writer writes this property of obj; with ignoreDefault, a
    // value equal to the default is written too.
    bool IsStored(const TObject* obj, bool ignoreDefault = false) const;
};

struct TMethodInfo {
    String Name;
    std::type_index Type = typeid(void); // the std::function type it yields
    // Given the root instance, a std::any holding the bound std::function.
    std::function<std::any(TObject* root)> Make;
};

struct TFieldInfo {
    String Name;
    const TClassInfo* (*FieldClass)() = nullptr;
    std::function<TComponent*(const TObject* root)> Get;
    std::function<void(TObject* root, TComponent*)> Set;
};

struct TClassInfo {
    String Name;
    const TClassInfo* Parent = nullptr;
    // Makes an instance owned by owner (by the caller when owner is null);
    // empty for abstract classes and for classes that are not components.
    std::function<TComponent*(TComponent* owner)> Create;
    std::vector<TPropInfo> Props; // declared by this class, in order
    std::vector<TMethodInfo> Methods;
    std::vector<TFieldInfo> Fields;
    // Components: the class's own type, and whether it (or a class between it
    // and TComponent) overrides Notification. The form reader tells the owner
    // of a component it made of exactly this type, when the class does not,
    // that inserts need not reach it (TComponent::Notification).
    const std::type_info* Type = nullptr;
    bool HearsInserts = true;

    bool InheritsFrom(const TClassInfo* other) const;
    // Lookups search this class, then its ancestors; names ignore case.
    // FindProp finds listed properties only.
    const TPropInfo* FindProp(const String& name) const;
    // The property FindProp finds, and its place in writing order (AllProps,
    // then those written last after the others), or null. Answered from an
    // index of the class's properties made on first use.
    const TPropInfo* LookupProp(std::string_view name, int* writingPosition = nullptr) const;
    const TMethodInfo* FindMethod(const String& name) const;
    const TFieldInfo* FindField(const String& name) const;
    // Every published property in writing order: the base's first, each
    // redeclaration in the place of the property it replaces.
    std::vector<const TPropInfo*> AllProps() const;

private:
    struct TPropIndex;
    // Made on first use, once the record is complete (records do not change then).
    mutable std::shared_ptr<const TPropIndex> FPropIndex;
};

// Modifiers for the property just declared.
class TPropDecl {
public:
    explicit TPropDecl(TPropInfo& info) : FInfo(&info) {}

    template <typename V>
    TPropDecl& Default(const V& value);
    TPropDecl& NoDefault() {
        FInfo->HasDefault = false;
        return *this;
    }
    TPropDecl& NotStored() {
        FInfo->Stored = false;
        return *this;
    }
    template <typename C>
    TPropDecl& StoredIf(bool (C::*pred)() const) {
        FInfo->StoredIf = [pred](const TObject* o) { return (static_cast<const C*>(o)->*pred)(); };
        return *this;
    }
    TPropDecl& StoredIf(std::function<bool(const TObject*)> pred) {
        FInfo->StoredIf = std::move(pred);
        return *this;
    }
    template <typename C>
    TPropDecl& WholeIf(bool (C::*pred)() const) {
        FInfo->WholeIf = [pred](const TObject* o) { return (static_cast<const C*>(o)->*pred)(); };
        return *this;
    }
    TPropDecl& Idents(const String& kind) {
        FInfo->IdentKind = kind;
        return *this;
    }
    TPropDecl& WrittenLast() {
        FInfo->WrittenLast = true;
        return *this;
    }
    // Declared for descendants: listed only where one redeclares it.
    TPropDecl& Unlisted() {
        FInfo->Listed = false;
        return *this;
    }
    TPropInfo& Info() { return *FInfo; }

private:
    TPropInfo* FInfo;
};

template <typename V>
TPropDecl& TPropDecl::Default(const V& value) {
    FInfo->HasDefault = true;
    if constexpr (std::is_convertible_v<V, String>) {
        FInfo->DefaultStr = String(value);
    } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
        FInfo->DefaultOrd = static_cast<std::int64_t>(value);
        FInfo->DefaultFloat = static_cast<double>(value);
    } else if constexpr (std::is_floating_point_v<V>) {
        FInfo->DefaultFloat = value;
    } else {
        FInfo->DefaultOrd = static_cast<std::int64_t>(value.Bits());
    }
    return *this;
}

namespace detail {

template <typename T, typename G>
using GetterValue = std::remove_cvref_t<std::invoke_result_t<G, const T*>>;

template <typename T, typename G>
auto Get(G g, const TObject* o) {
    return std::invoke(g, static_cast<const T*>(o));
}

template <typename T, typename S, typename V>
void Put(S s, TObject* o, V&& v) {
    T* t = static_cast<T*>(o);
    if constexpr (std::is_member_object_pointer_v<S>) {
        std::invoke(s, t) = std::forward<V>(v);
    } else {
        std::invoke(s, t, std::forward<V>(v));
    }
}

template <typename V>
struct IsSet : std::false_type {};
template <typename E>
struct IsSet<Set<E>> : std::true_type {
    using Enum = E;
};

template <typename M>
struct MethodTraits;
template <typename C, typename R, typename... A>
struct MethodTraits<R (C::*)(A...)> {
    using Class = C;
    using Function = std::function<R(A...)>;
    static Function Bind(C* self, R (C::*m)(A...)) {
        return [self, m](A... args) -> R { return (self->*m)(std::forward<A>(args)...); };
    }
};

template <typename M>
struct MemberTraits;
template <typename C, typename V>
struct MemberTraits<V C::*> {
    using Value = V;
};

} // namespace detail

template <typename T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : FInfo(info) {}

    // Builds the class record: name (without namespace), parent, factory,
    // then T::PublishClass fills in the tables.
    static TClassInfo Build(const char* qualifiedName, const TClassInfo* parent);

    template <typename G, typename S>
    TPropDecl Int(const String& name, G get, S set) {
        using V = detail::GetterValue<T, G>;
        static_assert(std::is_integral_v<V> || std::is_enum_v<V>, "Int needs an integer property");
        using L = typename std::conditional_t<std::is_enum_v<V>, std::underlying_type<V>,
                                              std::type_identity<V>>::type;
        TPropInfo& p = Add(name, TTypeKind::Integer);
        // Unsigned values (colours) also accept the signed spelling of their bits.
        p.MinValue = static_cast<std::int64_t>(std::numeric_limits<std::make_signed_t<L>>::min());
        p.MaxValue = sizeof(L) < sizeof(std::int64_t)
                         ? static_cast<std::int64_t>(std::numeric_limits<L>::max())
                         : std::numeric_limits<std::int64_t>::max();
        p.GetOrd = [get](const TObject* o) { return static_cast<std::int64_t>(detail::Get<T>(get, o)); };
        SetOrdAccess<V>(p, set);
        return TPropDecl(p).NoDefault();
    }
    template <typename G, typename S, typename D>
    TPropDecl Int(const String& name, G get, S set, D def) {
        return Int(name, get, set).Default(static_cast<std::int64_t>(def));
    }

    // A character (its code point), written as a quoted character ('*',
    // #8226 for one that is not printable); read from a one-character
    // string or from its code as a number.
    template <typename G, typename S, typename D>
    TPropDecl Char(const String& name, G get, S set, D def) {
        TPropDecl decl = Int(name, get, set, def);
        decl.Info().CharValue = true;
        decl.Info().MinValue = 0;
        decl.Info().MaxValue = 0x10FFFF;
        return decl;
    }

    // An integer property written by colour name where one exists.
    template <typename G, typename S, typename D>
    TPropDecl Color(const String& name, G get, S set, D def) {
        return Int(name, get, set, def).Idents(ColorIdentKind);
    }

    template <typename G, typename S>
    TPropDecl Bool(const String& name, G get, S set, bool def) {
        TPropInfo& p = Add(name, TTypeKind::Boolean);
        p.MinValue = 0;
        p.MaxValue = 1;
        p.GetOrd = [get](const TObject* o) { return detail::Get<T>(get, o) ? std::int64_t{1} : 0; };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject* o, std::int64_t v) { detail::Put<T>(set, o, v != 0); };
        return TPropDecl(p).Default(def);
    }

    template <typename G, typename S, typename E>
    TPropDecl Enum(const String& name, G get, S set, TEnumNames idents, E def) {
        using V = detail::GetterValue<T, G>;
        TPropInfo& p = Add(name, TTypeKind::Enumeration);
        p.MinValue = 0;
        p.MaxValue = static_cast<std::int64_t>(idents.size()) - 1;
        p.Idents = std::move(idents);
        p.GetOrd = [get](const TObject* o) { return static_cast<std::int64_t>(detail::Get<T>(get, o)); };
        SetOrdAccess<V>(p, set);
        return TPropDecl(p).Default(static_cast<std::int64_t>(def));
    }

    template <typename G, typename S, typename D>
    TPropDecl SetOf(const String& name, G get, S set, TEnumNames idents, D def) {
        using V = detail::GetterValue<T, G>;
        static_assert(detail::IsSet<V>::value, "SetOf needs a Set<E> property");
        TPropInfo& p = Add(name, TTypeKind::Set);
        p.MinValue = 0;
        p.MaxValue = static_cast<std::int64_t>(idents.size()) - 1;
        p.Idents = std::move(idents);
        p.GetOrd = [get](const TObject* o) {
            return static_cast<std::int64_t>(detail::Get<T>(get, o).Bits());
        };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject* o, std::int64_t v) {
                detail::Put<T>(set, o, V::FromBits(static_cast<std::uint64_t>(v)));
            };
        return TPropDecl(p).Default(V(def));
    }

    // A string property without a default: always written.
    template <typename G, typename S>
    TPropDecl Str(const String& name, G get, S set) {
        TPropInfo& p = Add(name, TTypeKind::String);
        p.GetStr = [get](const TObject* o) { return String(detail::Get<T>(get, o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetStr = [set](TObject* o, const String& v) { detail::Put<T>(set, o, v); };
        return TPropDecl(p).NoDefault();
    }
    // A string property written only when it differs from def.
    template <typename G, typename S>
    TPropDecl Str(const String& name, G get, S set, const String& def) {
        return Str(name, get, set).Default(def);
    }

    template <typename G, typename S>
    TPropDecl Float(const String& name, G get, S set) {
        TPropInfo& p = Add(name, TTypeKind::Float);
        p.GetFloat = [get](const TObject* o) { return static_cast<double>(detail::Get<T>(get, o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetFloat = [set](TObject* o, double v) {
                detail::Put<T>(set, o, static_cast<detail::GetterValue<T, G>>(v));
            };
        return TPropDecl(p).NoDefault();
    }
    template <typename G, typename S>
    TPropDecl Float(const String& name, G get, S set, double def) {
        return Float(name, get, set).Default(def);
    }

    // Bytes (held in a String), written as hex in braces when not empty.
    template <typename G, typename S>
    TPropDecl Binary(const String& name, G get, S set) {
        TPropInfo& p = Add(name, TTypeKind::Binary);
        p.GetStr = [get](const TObject* o) { return String(detail::Get<T>(get, o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetStr = [set](TObject* o, const String& v) { detail::Put<T>(set, o, v); };
        return TPropDecl(p).Default(String());
    }

    // A nested persistent (Font): the getter returns a pointer to an object
    // the owner keeps; its own properties are read and written through it.
    template <typename G>
    TPropDecl Object(const String& name, G get) {
        using P = std::remove_pointer_t<detail::GetterValue<T, G>>;
        static_assert(std::is_base_of_v<TPersistent, P>, "Object needs a TPersistent pointer");
        TPropInfo& p = Add(name, TTypeKind::Class);
        p.ObjectClass = &P::StaticClass;
        p.GetObject = [get](const TObject* o) -> TPersistent* { return detail::Get<T>(get, o); };
        return TPropDecl(p).NoDefault();
    }

    // A reference to another component, written by its name.
    template <typename G, typename S>
    TPropDecl Component(const String& name, G get, S set) {
        using P = std::remove_pointer_t<detail::GetterValue<T, G>>;
        static_assert(std::is_base_of_v<TComponent, P>, "Component needs a TComponent pointer");
        TPropInfo& p = Add(name, TTypeKind::Component);
        p.ObjectClass = &P::StaticClass;
        p.GetComponent = [get](const TObject* o) -> TComponent* { return detail::Get<T>(get, o); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetComponent = [set](TObject* o, TComponent* c) { detail::Put<T>(set, o, static_cast<P*>(c)); };
        return TPropDecl(p).Default(std::int64_t{0});
    }

    // An event: a std::function data member.
    template <typename M>
    TPropDecl Event(const String& name, M member) {
        static_assert(std::is_base_of_v<TComponent, T>, "events belong to components");
        using F = typename detail::MemberTraits<M>::Value;
        TPropInfo& p = Add(name, TTypeKind::Event);
        p.EventType = typeid(F);
        p.EventAssigned = [member](const TObject* o) { return static_cast<bool>(detail::Get<T>(member, o)); };
        p.SetEvent = [member](TObject* o, const std::any& v) {
            detail::Put<T>(member, o, v.has_value() ? std::any_cast<const F&>(v) : F());
        };
        return TPropDecl(p).Default(std::int64_t{0});
    }

    // A method events can be bound to by name.
    template <typename M>
    void Method(const String& name, M method) {
        using Traits = detail::MethodTraits<M>;
        TMethodInfo m;
        m.Name = name;
        m.Type = typeid(typename Traits::Function);
        m.Make = [method](TObject* root) -> std::any {
            auto* self = static_cast<typename Traits::Class*>(static_cast<T*>(root));
            return typename Traits::Function(Traits::Bind(self, method));
        };
        FInfo.Methods.push_back(std::move(m));
    }

    // A component pointer member that the form reader sets when it makes the
    // owned component of that name (and clears when it goes away).
    template <typename C, typename P>
    void Field(const String& name, P* C::*member) {
        static_assert(std::is_base_of_v<TComponent, P>, "Field needs a component pointer");
        TFieldInfo f;
        f.Name = name;
        f.FieldClass = &P::StaticClass;
        f.Get = [member](const TObject* root) -> TComponent* { return detail::Get<T>(member, root); };
        f.Set = [member](TObject* root, TComponent* c) { detail::Put<T>(member, root, static_cast<P*>(c)); };
        FInfo.Fields.push_back(std::move(f));
    }

    // Publishes a non-visual component's design position as Left and Top,
    // always written, after every other property of the object.
    void DesignPosition() {
        static_assert(std::is_base_of_v<TComponent, T>, "DesignPosition needs a component");
        Int("Left", &TComponent::DesignLeft, &TComponent::SetDesignLeft).NoDefault().WrittenLast();
        Int("Top", &TComponent::DesignTop, &TComponent::SetDesignTop).NoDefault().WrittenLast();
    }

    // Publishes a copy of an ancestor's property, to be modified
    // (`cls.Redeclare("Color").Default(clBtnFace)`), or lists one the
    // ancestor declared unlisted, in this place. Raises when absent.
    TPropDecl Redeclare(const String& name);

private:
    TPropInfo& Add(const String& name, TTypeKind kind) {
        TPropInfo& p = FInfo.Props.emplace_back();
        p.Name = name;
        p.Kind = kind;
        return p;
    }

    template <typename V, typename S>
    static void SetOrdAccess(TPropInfo& p, S set) {
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject* o, std::int64_t v) { detail::Put<T>(set, o, static_cast<V>(v)); };
    }

    TClassInfo& FInfo;
};

// Shared by TClassBuilder<T>::Build and Redeclare.
String StripNamespace(const char* qualifiedName);
const TPropInfo& FindInheritedProp(const TClassInfo& info, const String& name);

template <typename T>
TClassInfo TClassBuilder<T>::Build(const char* qualifiedName, const TClassInfo* parent) {
    TClassInfo info;
    info.Name = StripNamespace(qualifiedName);
    info.Parent = parent;
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> &&
                  !std::is_abstract_v<T>) {
        info.Create = [](TComponent* owner) -> TComponent* { return new T(owner); };
    }
    if constexpr (std::is_base_of_v<TComponent, T>) {
        info.Type = &typeid(T);
        // The builder is a friend of T (FW_CLASS); an override it cannot see
        // counts as one that listens.
        if constexpr (requires { &T::Notification; })
            info.HearsInserts =
                !std::is_same_v<decltype(&T::Notification), void (TComponent::*)(TComponent*, TOperation)>;
    }
    TClassBuilder<T> builder(info);
    T::PublishClass(builder);
    return info;
}

template <typename T>
TPropDecl TClassBuilder<T>::Redeclare(const String& name) {
    TPropInfo copy = FindInheritedProp(FInfo, name);
    copy.Listed = true;
    FInfo.Props.push_back(std::move(copy));
    return TPropDecl(FInfo.Props.back());
}

} // namespace fw

// Defines Class::StaticClass() and opens the body of Class::PublishClass,
// in which `cls` is the TClassBuilder<Class>. Use inside the class's namespace.
#define FW_PUBLISH(Class)                                                                                    \
    const ::fw::TClassInfo* Class::StaticClass() {                                                           \
        static const ::fw::TClassInfo info =                                                                 \
            ::fw::TClassBuilder<Class>::Build(#Class, Class::inherited::StaticClass());                      \
        return &info;                                                                                        \
    }                                                                                                        \
    void Class::PublishClass([[maybe_unused]] ::fw::TClassBuilder<Class>& cls)
