#include <algorithm>
#include <cctype>
#include <cmath>
#include <framework/classes/Published.h>
#include <framework/rtl/SysUtils.h>
#include <map>

namespace fw {

namespace {

struct TIdentTable {
    TIntToIdent ToIdent;
    TIdentToInt FromIdent;
};

// The identifier tables plugged in by other layers; a deliberate process-wide registry.
std::map<String, TIdentTable>& IdentTables() {
    static std::map<String, TIdentTable> tables;
    return tables;
}

} // namespace

void RegisterIntegerIdents(const String& kind, TIntToIdent toIdent, TIdentToInt fromIdent) {
    IdentTables()[kind] = TIdentTable{std::move(toIdent), std::move(fromIdent)};
}

bool IntegerToIdent(const String& kind, std::int64_t value, String& ident) {
    auto& tables = IdentTables();
    auto it = tables.find(kind);
    return it != tables.end() && it->second.ToIdent && it->second.ToIdent(value, ident);
}

bool IdentToInteger(const String& kind, const String& ident, std::int64_t& value) {
    auto& tables = IdentTables();
    auto it = tables.find(kind);
    return it != tables.end() && it->second.FromIdent && it->second.FromIdent(ident, value);
}

bool TPropInfo::Writable() const {
    switch (Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
        return static_cast<bool>(SetOrd);
    case TTypeKind::Float:
        return static_cast<bool>(SetFloat);
    case TTypeKind::String:
    case TTypeKind::Binary:
        return static_cast<bool>(SetStr);
    case TTypeKind::Class:
        return static_cast<bool>(GetObject);
    case TTypeKind::Component:
        return static_cast<bool>(SetComponent);
    case TTypeKind::Event:
        return static_cast<bool>(SetEvent);
    }
    return false;
}

bool TPropInfo::IsStored(const TObject* obj, bool ignoreDefault) const {
    if (!Stored || (StoredIf && !StoredIf(obj))) return false;
    if (ignoreDefault && Kind != TTypeKind::Class && Kind != TTypeKind::Component && Kind != TTypeKind::Event)
        return true;
    switch (Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
        return !HasDefault || GetOrd(obj) != DefaultOrd;
    case TTypeKind::Float: {
        const double v = GetFloat(obj);
        return !HasDefault || v != DefaultFloat || std::signbit(v) != std::signbit(DefaultFloat);
    }
    case TTypeKind::String:
    case TTypeKind::Binary:
        return !HasDefault || GetStr(obj) != DefaultStr;
    case TTypeKind::Class:
        return GetObject(obj) != nullptr;
    case TTypeKind::Component:
        return GetComponent(obj) != nullptr;
    case TTypeKind::Event: {
        const auto* c = dynamic_cast<const TComponent*>(obj);
        return EventAssigned(obj) && c != nullptr && !c->EventBinding(Name).empty();
    }
    }
    return false;
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
        if (c == other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(const String& name) const {
    for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
        for (const TPropInfo& p : c->Props)
            if (p.Listed && SameText(p.Name, name)) return &p;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const String& name) const {
    for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
        for (const TMethodInfo& m : c->Methods)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const String& name) const {
    for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
        for (const TFieldInfo& f : c->Fields)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
    std::vector<const TPropInfo*> list =
        Parent != nullptr ? Parent->AllProps() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& p : Props) {
        if (!p.Listed) continue;
        auto same = std::find_if(list.begin(), list.end(),
                                 [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
        if (same != list.end())
            *same = &p;
        else
            list.push_back(&p);
    }
    return list;
}

String StripNamespace(const char* qualifiedName) {
    String name(qualifiedName);
    const auto pos = name.rfind("::");
    return pos == String::npos ? name : name.substr(pos + 2);
}

const TPropInfo& FindInheritedProp(const TClassInfo& info, const String& name) {
    // The nearest declaration, listed or not.
    for (const TClassInfo* c = info.Parent; c != nullptr; c = c->Parent)
        for (const TPropInfo& p : c->Props)
            if (SameText(p.Name, name)) return p;
    throw Exception("no inherited property '" + name + "' to redeclare in " + info.Name);
}

} // namespace fw
