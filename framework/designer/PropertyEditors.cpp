#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <framework/classes/FormText.h>
#include <framework/classes/TypInfo.h>
#include <framework/designer/PropertyEditors.h>
#include <framework/graphics/Color.h>
#include <framework/rtl/SysUtils.h>
#include <framework/rtl/Utf8.h>
#include <tuple>

namespace fw {

// ---------------------------------------------------------------- base

void TPropertyEditor::Initialize(IDesigner* Designer, std::vector<TInstProp> Props) {
    FDesigner = Designer;
    FProps = std::move(Props);
}

bool TPropertyEditor::AllEqual() {
    return PropCount() == 1;
}

TPropertyAttributes TPropertyEditor::GetAttributes() {
    return {paMultiSelect, paRevertable};
}

String TPropertyEditor::GetValue() {
    return "(unknown)";
}

void TPropertyEditor::SetValue(const String&) {}

int TPropertyEditor::GetEditLimit() {
    return 255;
}

void TPropertyEditor::GetValues(TGetStrProc) {}

void TPropertyEditor::Edit() {}

void TPropertyEditor::GetProperties(TGetPropEditProc) {}

const String& TPropertyEditor::GetName() const {
    return PropInfo()->Name;
}

String TPropertyEditor::GetStrValueAt(int Index) const {
    const TInstProp& p = FProps.at(std::size_t(Index));
    return p.Prop->GetStr(p.Instance);
}

void TPropertyEditor::SetStrValue(const String& Value) {
    WriteAll([&](const TInstProp& p) { p.Prop->SetStr(p.Instance, Value); });
}

std::int64_t TPropertyEditor::GetOrdValueAt(int Index) const {
    const TInstProp& p = FProps.at(std::size_t(Index));
    return p.Prop->GetOrd(p.Instance);
}

void TPropertyEditor::SetOrdValue(std::int64_t Value) {
    WriteAll([&](const TInstProp& p) { p.Prop->SetOrd(p.Instance, Value); });
}

double TPropertyEditor::GetFloatValueAt(int Index) const {
    const TInstProp& p = FProps.at(std::size_t(Index));
    return p.Prop->GetFloat(p.Instance);
}

void TPropertyEditor::SetFloatValue(double Value) {
    WriteAll([&](const TInstProp& p) { p.Prop->SetFloat(p.Instance, Value); });
}

String TPropertyEditor::GetTextValueAt(int Index) const {
    const TInstProp& p = FProps.at(std::size_t(Index));
    return GetPropText(p.Instance, p.Prop->Name);
}

void TPropertyEditor::SetTextValue(const String& Value) {
    TComponent* root = FDesigner != nullptr ? FDesigner->Root() : nullptr;
    WriteAll([&](const TInstProp& p) { SetPropText(p.Instance, p.Prop->Name, Value, root); });
}

void TPropertyEditor::Modified() {
    if (FDesigner != nullptr) FDesigner->Modified();
}

// ---------------------------------------------------------------- the kinds

namespace {

std::int64_t ParseInteger(const String& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const bool hex = !text.empty() && text[0] == '$';
    errno = 0;
    const long long v = std::strtoll(hex ? begin + 1 : begin, &end, hex ? 16 : 10);
    if (text.empty() || (hex && text.size() == 1) || *end != '\0' || errno == ERANGE)
        throw EPropertyError("'" + text + "' is not a valid integer value");
    return v;
}

// The reading and writing the kinds share.
struct TOrdinalValue {
    static std::int64_t Read(const TInstProp& p) { return p.Prop->GetOrd(p.Instance); }
    static void Write(const TInstProp& p, std::int64_t Value, TComponent*) { p.Prop->SetOrd(p.Instance, Value); }
};

struct TTextValue {
    static String Read(const TInstProp& p) { return GetPropText(p.Instance, p.Prop->Name); }
    static String Show(const TInstProp& p) { return Read(p); }
    static String Parse(const TPropInfo&, const String& Text, TComponent*) { return Text; }
};

} // namespace

bool TOrdinalProperty::AllEqual() {
    return SameForAll([this](int i) { return GetOrdValueAt(i); });
}

struct TIntegerKind : TOrdinalValue {
    static String Show(const TInstProp& p) { return IntToStr(Read(p)); }
    static std::int64_t Parse(const TPropInfo& Prop, const String& Text, TComponent*) {
        const std::int64_t v = ParseInteger(Text);
        if (v < Prop.MinValue || v > Prop.MaxValue)
            throw EPropertyError("Value must be between " + IntToStr(Prop.MinValue) + " and " +
                                 IntToStr(Prop.MaxValue));
        return v;
    }
};

struct TCharKind : TOrdinalValue {
    static String Show(const TInstProp& p) {
        const std::int64_t c = Read(p);
        if (c < 32 || c == 127 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return "#" + IntToStr(c);
        return CharToUtf8(static_cast<std::uint32_t>(c));
    }
    static std::int64_t Parse(const TPropInfo& Prop, const String& Text, TComponent*) {
        std::int64_t c = 0;
        if (Text.size() > 1 && Text[0] == '#') {
            c = ParseInteger(Text.substr(1));
        } else if (!Text.empty()) {
            std::size_t pos = 0;
            c = NextCodePoint(Text, pos);
            if (pos != Text.size()) throw EPropertyError("Enter one character, or its code as #n");
        }
        if (c < Prop.MinValue || c > Prop.MaxValue)
            throw EPropertyError("Value must be between #" + IntToStr(Prop.MinValue) + " and #" +
                                 IntToStr(Prop.MaxValue));
        return c;
    }
};

struct TEnumKind : TOrdinalValue {
    static TPropertyAttributes Attributes() { return {paMultiSelect, paValueList, paSortList, paRevertable}; }
    static String Show(const TInstProp& p) {
        const auto& names = p.Prop->Idents;
        const std::int64_t v = Read(p);
        return v >= 0 && v < std::int64_t(names.size()) ? names[std::size_t(v)] : IntToStr(v);
    }
    static std::int64_t Parse(const TPropInfo& Prop, const String& Text, TComponent*) {
        for (std::size_t i = 0; i < Prop.Idents.size(); ++i)
            if (LowerCase(Prop.Idents[i]) == LowerCase(Text)) return std::int64_t(i);
        throw EPropertyError("Invalid property value '" + Text + "'");
    }
    static void Values(const TPropInfo& Prop, TComponent*, const TGetStrProc& Proc) {
        for (const String& name : Prop.Idents)
            Proc(name);
    }
};

struct TBoolKind : TOrdinalValue {
    static String Show(const TInstProp& p) { return Read(p) != 0 ? "True" : "False"; }
    static std::int64_t Parse(const TPropInfo&, const String& Text, TComponent*) {
        const String v = LowerCase(Text);
        if (v != "true" && v != "false") throw EPropertyError("Invalid property value '" + Text + "'");
        return v == "true" ? 1 : 0;
    }
    static void Values(const TPropInfo&, TComponent*, const TGetStrProc& Proc) {
        Proc("False");
        Proc("True");
    }
};

struct TColorKind : TOrdinalValue {
    static TPropertyAttributes Attributes() { return {paMultiSelect, paValueList, paRevertable}; }
    static String Show(const TInstProp& p) {
        String ident;
        if (IntegerToIdent(p.Prop->IdentKind, Read(p), ident)) return ident;
        char text[16];
        std::snprintf(text, sizeof text, "$%08X", unsigned(Read(p)));
        return text;
    }
    static std::int64_t Parse(const TPropInfo& Prop, const String& Text, TComponent* Root) {
        std::int64_t v = 0;
        if (IdentToInteger(Prop.IdentKind, Text, v)) return v;
        return TIntegerKind::Parse(Prop, Text, Root);
    }
    static void Values(const TPropInfo& Prop, TComponent*, const TGetStrProc& Proc) {
        if (Prop.IdentKind == ColorIdentKind) GetColorValues(Proc);
    }
};

struct TStringKind {
    static String Read(const TInstProp& p) { return p.Prop->GetStr(p.Instance); }
    static String Show(const TInstProp& p) { return Read(p); }
    static String Parse(const TPropInfo&, const String& Text, TComponent*) { return Text; }
    static void Write(const TInstProp& p, const String& Value, TComponent*) { p.Prop->SetStr(p.Instance, Value); }
};

struct TFloatKind {
    static double Read(const TInstProp& p) { return p.Prop->GetFloat(p.Instance); }
    static String Show(const TInstProp& p) { return FormatFormFloat(Read(p)); }
    static double Parse(const TPropInfo&, const String& Text, TComponent*) {
        char* end = nullptr;
        const double v = std::strtod(Text.c_str(), &end);
        if (Text.empty() || *end != '\0')
            throw EPropertyError("'" + Text + "' is not a valid floating point value");
        return v;
    }
    static void Write(const TInstProp& p, double Value, TComponent*) { p.Prop->SetFloat(p.Instance, Value); }
};

// Compared as numbers (the ordinal base), shown and typed as form text.
struct TSetKind : TTextValue {
    static std::int64_t Read(const TInstProp& p) { return TOrdinalValue::Read(p); }
    static void Write(const TInstProp& p, const String& Value, TComponent* Root) {
        SetPropText(p.Instance, p.Prop->Name, Value, Root);
    }
};

struct TComponentKind {
    static TPropertyAttributes Attributes() { return {paMultiSelect, paValueList, paSortList, paRevertable}; }
    static TComponent* Read(const TInstProp& p) { return p.Prop->GetComponent(p.Instance); }
    static String Show(const TInstProp& p) {
        const TComponent* c = Read(p);
        return c != nullptr ? c->Name() : String();
    }
    static TComponent* Parse(const TPropInfo&, const String& Text, TComponent* Root) {
        if (Text.empty()) return nullptr;
        TComponent* target = nullptr;
        if (Root != nullptr) target = Root->Name() == Text ? Root : Root->FindComponent(Text);
        if (target == nullptr) throw EPropertyError("Invalid property value '" + Text + "'");
        return target;
    }
    static void Write(const TInstProp& p, TComponent* Value, TComponent*) {
        SetComponentProp(p.Instance, p.Prop->Name, Value);
    }
    static void Values(const TPropInfo& Prop, TComponent* Root, const TGetStrProc& Proc) {
        if (Root == nullptr) return;
        const TClassInfo* cls = Prop.ObjectClass != nullptr ? Prop.ObjectClass() : nullptr;
        for (int i = 0; i < Root->ComponentCount(); ++i) {
            TComponent* c = Root->Components(i);
            if (!c->Name().empty() && (cls == nullptr || c->InheritsFrom(cls))) Proc(c->Name());
        }
    }
};

struct TMethodKind : TTextValue {
    static TPropertyAttributes Attributes() { return {paMultiSelect, paValueList, paSortList}; }
    static void Write(const TInstProp& p, const String& Value, TComponent* Root) {
        auto* component = dynamic_cast<TComponent*>(p.Instance);
        if (component == nullptr || (Root == nullptr && !Value.empty()))
            throw EPropertyError("Cannot bind event '" + p.Prop->Name + "' here");
        SetMethodProp(component, p.Prop->Name, Root, Value);
    }
};

template <typename Kind, typename Base>
bool TKindProperty<Kind, Base>::AllEqual() {
    return this->SameForAll([this](int i) { return Kind::Read(this->Props()[std::size_t(i)]); });
}

template <typename Kind, typename Base>
TPropertyAttributes TKindProperty<Kind, Base>::GetAttributes() {
    if constexpr (requires { Kind::Attributes(); })
        return Kind::Attributes();
    else
        return Base::GetAttributes();
}

template <typename Kind, typename Base>
String TKindProperty<Kind, Base>::GetValue() {
    return Kind::Show(this->Props().front());
}

template <typename Kind, typename Base>
void TKindProperty<Kind, Base>::SetValue(const String& Value) {
    TComponent* root = this->Designer() != nullptr ? this->Designer()->Root() : nullptr;
    const auto parsed = Kind::Parse(*this->PropInfo(), Value, root);
    this->WriteAll([&](const TInstProp& p) { Kind::Write(p, parsed, root); });
}

template <typename Kind, typename Base>
int TKindProperty<Kind, Base>::GetEditLimit() {
    if constexpr (requires { Kind::EditLimit; })
        return Kind::EditLimit;
    else
        return Base::GetEditLimit();
}

template <typename Kind, typename Base>
void TKindProperty<Kind, Base>::GetValues(TGetStrProc Proc) {
    if constexpr (requires { &Kind::Values; }) {
        TComponent* root = this->Designer() != nullptr ? this->Designer()->Root() : nullptr;
        Kind::Values(*this->PropInfo(), root, Proc);
    } else {
        Base::GetValues(Proc);
    }
}

template class TKindProperty<TIntegerKind, TOrdinalProperty>;
template class TKindProperty<TCharKind, TOrdinalProperty>;
template class TKindProperty<TEnumKind, TOrdinalProperty>;
template class TKindProperty<TBoolKind, TEnumProperty>;
template class TKindProperty<TColorKind, TIntegerProperty>;
template class TKindProperty<TStringKind>;
template class TKindProperty<TFloatKind>;
template class TKindProperty<TSetKind, TOrdinalProperty>;
template class TKindProperty<TComponentKind>;
template class TKindProperty<TMethodKind>;

// ---------------------------------------------------------------- nested objects

TPropertyAttributes TClassProperty::GetAttributes() {
    return {paMultiSelect, paSubProperties, paReadOnly};
}

String TClassProperty::GetValue() {
    const TInstProp& p = Props().front();
    const TPersistent* obj = p.Prop->GetObject(p.Instance);
    return obj != nullptr ? "(" + obj->ClassName() + ")" : String();
}

void TClassProperty::GetProperties(TGetPropEditProc Proc) {
    std::vector<TObject*> nested;
    for (const TInstProp& p : Props()) {
        TPersistent* obj = p.Prop->GetObject(p.Instance);
        if (obj == nullptr) return;
        nested.push_back(obj);
    }
    for (auto& editor : GetComponentProperties(nested, Designer()))
        Proc(std::move(editor));
}

// ---------------------------------------------------------------- registry

namespace {

struct TRegistration {
    TPropertyType Type;
    const TClassInfo* ComponentClass;
    String PropertyName;
    TPropertyEditorClass Editor;
};

std::vector<TRegistration>& Registrations() {
    static std::vector<TRegistration> list;
    return list;
}

int Depth(const TClassInfo* cls) {
    int d = 0;
    for (; cls != nullptr; cls = cls->Parent)
        ++d;
    return d;
}

TPropertyEditorClass KindEditor(const TPropInfo& prop) {
    switch (prop.Kind) {
    case TTypeKind::Integer:
        if (prop.CharValue) return &MakePropertyEditor<TCharProperty>;
        return prop.IdentKind.empty() ? &MakePropertyEditor<TIntegerProperty>
                                      : &MakePropertyEditor<TColorProperty>;
    case TTypeKind::Boolean:
        return &MakePropertyEditor<TBoolProperty>;
    case TTypeKind::Enumeration:
        return &MakePropertyEditor<TEnumProperty>;
    case TTypeKind::Set:
        return &MakePropertyEditor<TSetProperty>;
    case TTypeKind::String:
        return &MakePropertyEditor<TStringProperty>;
    case TTypeKind::Float:
        return &MakePropertyEditor<TFloatProperty>;
    case TTypeKind::Class:
        if (prop.ObjectClass != nullptr && prop.ObjectClass()->Name == "TFont")
            return &MakePropertyEditor<TFontProperty>;
        return &MakePropertyEditor<TClassProperty>;
    case TTypeKind::Component:
        return &MakePropertyEditor<TComponentProperty>;
    case TTypeKind::Event:
        return &MakePropertyEditor<TMethodProperty>;
    case TTypeKind::Binary:
        break;
    }
    return &MakePropertyEditor<TPropertyEditor>;
}

} // namespace

void RegisterPropertyEditor(const TPropertyType& PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName, TPropertyEditorClass EditorClass) {
    Registrations().push_back({PropertyType, ComponentClass, PropertyName, EditorClass});
}

void ClearPropertyEditors() {
    Registrations().clear();
}

TPropertyEditorClass FindPropertyEditorClass(const TClassInfo* Class, const TPropInfo& Prop) {
    const TClassInfo* propClass = Prop.ObjectClass != nullptr ? Prop.ObjectClass() : nullptr;
    const TRegistration* best = nullptr;
    std::tuple<int, int, int> bestScore{-1, -1, -1};
    for (const TRegistration& r : Registrations()) {
        if (r.Type.Kind != Prop.Kind) continue;
        if (r.Type.ObjectClass != nullptr &&
            (propClass == nullptr || !propClass->InheritsFrom(r.Type.ObjectClass)))
            continue;
        if (r.ComponentClass != nullptr && !Class->InheritsFrom(r.ComponentClass)) continue;
        if (!r.PropertyName.empty() && LowerCase(r.PropertyName) != LowerCase(Prop.Name)) continue;
        const std::tuple<int, int, int> score{r.PropertyName.empty() ? 0 : 1, Depth(r.ComponentClass),
                                              Depth(r.Type.ObjectClass)};
        if (score >= bestScore) { // later registrations win ties
            best = &r;
            bestScore = score;
        }
    }
    return best != nullptr ? best->Editor : KindEditor(Prop);
}

std::unique_ptr<TPropertyEditor> GetPropertyEditor(const std::vector<TObject*>& Selection,
                                                   const String& PropertyName, IDesigner* Designer) {
    if (Selection.empty()) return nullptr;
    std::vector<TInstProp> props;
    TPropertyEditorClass editorClass = nullptr;
    for (TObject* obj : Selection) {
        auto [holder, prop] = FindPropPath(obj, PropertyName);
        if (prop == nullptr) return nullptr;
        const TPropertyEditorClass c = FindPropertyEditorClass(holder->ClassInfo(), *prop);
        if (editorClass != nullptr && c != editorClass) return nullptr;
        editorClass = c;
        props.push_back({holder, prop});
    }
    std::unique_ptr<TPropertyEditor> editor = editorClass();
    editor->Initialize(Designer, std::move(props));
    if (Selection.size() > 1 && !editor->GetAttributes().Contains(paMultiSelect)) return nullptr;
    return editor;
}

std::vector<std::unique_ptr<TPropertyEditor>> GetComponentProperties(const std::vector<TObject*>& Selection,
                                                                     IDesigner* Designer) {
    std::vector<std::unique_ptr<TPropertyEditor>> editors;
    if (Selection.empty()) return editors;
    for (const TPropInfo* prop : GetPropList(Selection.front())) {
        if (prop->Kind == TTypeKind::Binary) continue;
        if (auto editor = GetPropertyEditor(Selection, prop->Name, Designer))
            editors.push_back(std::move(editor));
    }
    return editors;
}

} // namespace fw
