#include <framework/classes/FormValues.h>
#include <framework/classes/TypInfo.h>

namespace fw {

namespace {

std::pair<TObject*, const TPropInfo*> RequireProp(const TObject* obj, const String& path) {
    auto found = FindPropPath(const_cast<TObject*>(obj), path);
    if (found.second == nullptr)
        throw EPropertyError("unknown property '" + path + "' of " + obj->ClassName());
    return found;
}

void RequireKind(const TObject* obj, const TPropInfo& p, std::initializer_list<TTypeKind> kinds) {
    for (TTypeKind k : kinds)
        if (p.Kind == k) return;
    throw EPropertyError("property '" + p.Name + "' of " + obj->ClassName() + " is of another kind");
}

void RequireWritable(const TObject* obj, const TPropInfo& p) {
    if (!p.Writable())
        throw EPropertyError("property '" + p.Name + "' of " + obj->ClassName() + " is read-only");
}

} // namespace

std::vector<const TPropInfo*> GetPropList(const TObject* obj) {
    return obj->ClassInfo()->AllProps();
}

std::pair<TObject*, const TPropInfo*> FindPropPath(TObject* obj, const String& path) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = path.find('.', start);
        const TPropInfo* p = obj->ClassInfo()->FindProp(path.substr(start, dot - start));
        if (p == nullptr) return {nullptr, nullptr};
        if (dot == String::npos) return {obj, p};
        if (p->Kind != TTypeKind::Class) return {nullptr, nullptr};
        obj = p->GetObject(obj);
        if (obj == nullptr) return {nullptr, nullptr};
        start = dot + 1;
    }
}

const TPropInfo* GetPropInfo(const TObject* obj, const String& path) {
    return FindPropPath(const_cast<TObject*>(obj), path).second;
}

std::int64_t GetOrdProp(const TObject* obj, const String& path) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::Integer, TTypeKind::Boolean, TTypeKind::Enumeration, TTypeKind::Set});
    return p->GetOrd(o);
}

void SetOrdProp(TObject* obj, const String& path, std::int64_t value) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::Integer, TTypeKind::Boolean, TTypeKind::Enumeration, TTypeKind::Set});
    RequireWritable(o, *p);
    if (p->Kind != TTypeKind::Set && (value < p->MinValue || value > p->MaxValue))
        throw EPropertyError("value " + std::to_string(value) + " out of range for property '" + p->Name +
                             "'");
    p->SetOrd(o, value);
}

double GetFloatProp(const TObject* obj, const String& path) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::Float});
    return p->GetFloat(o);
}

void SetFloatProp(TObject* obj, const String& path, double value) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::Float});
    RequireWritable(o, *p);
    p->SetFloat(o, value);
}

String GetStrProp(const TObject* obj, const String& path) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::String, TTypeKind::Binary});
    return p->GetStr(o);
}

void SetStrProp(TObject* obj, const String& path, const String& value) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::String, TTypeKind::Binary});
    RequireWritable(o, *p);
    p->SetStr(o, value);
}

TPersistent* GetObjectProp(const TObject* obj, const String& path) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::Class});
    return p->GetObject(o);
}

TComponent* GetComponentProp(const TObject* obj, const String& path) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::Component});
    return p->GetComponent(o);
}

void SetComponentProp(TObject* obj, const String& path, TComponent* value) {
    auto [o, p] = RequireProp(obj, path);
    RequireKind(o, *p, {TTypeKind::Component});
    RequireWritable(o, *p);
    if (value != nullptr && !value->InheritsFrom(p->ObjectClass()))
        throw EPropertyError("property '" + p->Name + "' of " + o->ClassName() + " needs a " +
                             p->ObjectClass()->Name + ", not a " + value->ClassName());
    p->SetComponent(o, value);
}

String GetPropText(const TObject* obj, const String& path) {
    auto [o, p] = RequireProp(obj, path);
    const auto* asComponent = dynamic_cast<const TComponent*>(obj);
    const TComponent* root =
        asComponent != nullptr && asComponent->Owner() != nullptr ? asComponent->Owner() : asComponent;
    if (p->Kind == TTypeKind::Component) {
        const TComponent* c = p->GetComponent(o);
        return c != nullptr ? c->Name() : String();
    }
    return FormatPropValue(o, *p, root).value_or(String());
}

void SetPropText(TObject* obj, const String& path, const String& text, TComponent* root) {
    auto [o, p] = RequireProp(obj, path);
    const String& name = p->Name; // (clang before 16 cannot capture a structured binding)
    const TFormParsed<TFormValue> value = [&] {
        try {
            return ParseFormValue(text);
        } catch (const EReadError& e) {
            throw EPropertyError("bad value for property '" + name + "': " + e.Message());
        }
    }();
    TFormBindings bindings;
    bindings.Reference = [root](TObject* target, const TPropInfo& prop, const String& name) {
        TComponent* c = nullptr;
        if (root != nullptr) c = root->Name() == name ? root : root->FindComponent(name);
        if (c == nullptr) throw EPropertyError("unknown component '" + name + "'");
        SetComponentProp(target, prop.Name, c);
    };
    bindings.Event = [root](TObject* target, const TPropInfo& prop, const String& method) {
        BindEvent(target, prop, root, method);
    };
    AssignPropValue(o, *p, *value, bindings);
}

void SetMethodProp(TComponent* obj, const String& eventName, TComponent* root, const String& methodName) {
    auto [o, p] = RequireProp(obj, eventName);
    BindEvent(o, *p, root, methodName);
}

} // namespace fw
