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

namespace {

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Orders names by length, then as SameText compares them (ASCII letters
// without case): equal exactly when SameText says so, and most names part at
// their length.
int CompareFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    if (a == b) return 0; // names are mostly written as declared
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = FoldAscii(a[i]), y = FoldAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return 0;
}

// Two names of the same length, as SameText compares them.
bool EqualFolded(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

} // namespace

struct TClassInfo::TPropIndex {
    struct TEntry {
        String Name;
        const TPropInfo* Prop;
        int Position;
    };
    std::vector<TEntry> ByName; // sorted by CompareFolded: by length first
    // The entries of each name length n are ByName[Lengths[n], Lengths[n + 1]):
    // a few at most, compared as they are.
    std::vector<std::uint32_t> Lengths;
};

const TPropInfo* TClassInfo::LookupProp(std::string_view name, int* writingPosition) const {
    if (!FPropIndex) {
        auto index = std::make_shared<TPropIndex>();
        const std::vector<const TPropInfo*> all = AllProps();
        const int count = static_cast<int>(all.size());
        for (int i = 0; i < count; ++i) {
            // The one FindProp finds (the first of a name declared twice in a class).
            const TPropInfo* prop = FindProp(all[static_cast<std::size_t>(i)]->Name);
            const auto at = std::find(all.begin(), all.end(), prop);
            const int place = at != all.end() ? static_cast<int>(at - all.begin()) : i;
            index->ByName.push_back({prop->Name, prop, prop->WrittenLast ? place + count : place});
        }
        std::stable_sort(index->ByName.begin(), index->ByName.end(),
                         [](const auto& a, const auto& b) { return CompareFolded(a.Name, b.Name) < 0; });
        const std::size_t longest = index->ByName.empty() ? 0 : index->ByName.back().Name.size();
        index->Lengths.assign(longest + 2, 0);
        for (const auto& e : index->ByName)
            ++index->Lengths[e.Name.size() + 1];
        for (std::size_t n = 1; n < index->Lengths.size(); ++n)
            index->Lengths[n] += index->Lengths[n - 1];
        FPropIndex = std::move(index);
    }
    const TPropIndex& index = *FPropIndex;
    if (name.size() + 1 >= index.Lengths.size()) return nullptr;
    // The first of equal names in CompareFolded's order, as a search for the lower bound finds it.
    for (std::uint32_t i = index.Lengths[name.size()]; i < index.Lengths[name.size() + 1]; ++i) {
        const auto& e = index.ByName[i];
        if (!EqualFolded(e.Name, name)) continue;
        if (writingPosition != nullptr) *writingPosition = e.Position;
        return e.Prop;
    }
    return nullptr;
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
