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

// ---------------------------------------------------------------- ordinal kinds

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

} // namespace

bool TOrdinalProperty::AllEqual() {
    return SameForAll([this](int i) { return GetOrdValueAt(i); });
}

String TIntegerProperty::GetValue() {
    return IntToStr(GetOrdValue());
}

String TCharProperty::GetValue() {
    const std::int64_t c = GetOrdValue();
    if (c < 32 || c == 127 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return "#" + IntToStr(c);
    return CharToUtf8(static_cast<std::uint32_t>(c));
}

void TCharProperty::SetValue(const String& Value) {
    std::int64_t c = 0;
    if (Value.size() > 1 && Value[0] == '#') {
        c = ParseInteger(Value.substr(1));
    } else if (!Value.empty()) {
        std::size_t pos = 0;
        c = NextCodePoint(Value, pos);
        if (pos != Value.size()) throw EPropertyError("Enter one character, or its code as #n");
    }
    const TPropInfo* p = PropInfo();
    if (c < p->MinValue || c > p->MaxValue)
        throw EPropertyError("Value must be between #" + IntToStr(p->MinValue) + " and #" +
                             IntToStr(p->MaxValue));
    SetOrdValue(c);
}

void TIntegerProperty::SetValue(const String& Value) {
    const std::int64_t v = ParseInteger(Value);
    const TPropInfo* p = PropInfo();
    if (v < p->MinValue || v > p->MaxValue)
        throw EPropertyError("Value must be between " + IntToStr(p->MinValue) + " and " +
                             IntToStr(p->MaxValue));
    SetOrdValue(v);
}

TPropertyAttributes TEnumProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

String TEnumProperty::GetValue() {
    const auto& names = PropInfo()->Idents;
    const std::int64_t v = GetOrdValue();
    return v >= 0 && v < std::int64_t(names.size()) ? names[std::size_t(v)] : IntToStr(v);
}

void TEnumProperty::SetValue(const String& Value) {
    const auto& names = PropInfo()->Idents;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (LowerCase(names[i]) == LowerCase(Value)) return SetOrdValue(std::int64_t(i));
    throw EPropertyError("Invalid property value '" + Value + "'");
}

void TEnumProperty::GetValues(TGetStrProc Proc) {
    for (const String& name : PropInfo()->Idents)
        Proc(name);
}

String TBoolProperty::GetValue() {
    return GetOrdValue() != 0 ? "True" : "False";
}

void TBoolProperty::SetValue(const String& Value) {
    const String v = LowerCase(Value);
    if (v != "true" && v != "false") throw EPropertyError("Invalid property value '" + Value + "'");
    SetOrdValue(v == "true" ? 1 : 0);
}

void TBoolProperty::GetValues(TGetStrProc Proc) {
    Proc("False");
    Proc("True");
}

TPropertyAttributes TColorProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paRevertable};
}

String TColorProperty::GetValue() {
    String ident;
    if (IntegerToIdent(PropInfo()->IdentKind, GetOrdValue(), ident)) return ident;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", unsigned(GetOrdValue()));
    return text;
}

void TColorProperty::SetValue(const String& Value) {
    std::int64_t v = 0;
    if (IdentToInteger(PropInfo()->IdentKind, Value, v)) return SetOrdValue(v);
    TIntegerProperty::SetValue(Value);
}

void TColorProperty::GetValues(TGetStrProc Proc) {
    if (PropInfo()->IdentKind == ColorIdentKind) GetColorValues(Proc);
}

String TSetProperty::GetValue() {
    return GetTextValueAt(0);
}

void TSetProperty::SetValue(const String& Value) {
    SetTextValue(Value);
}

// ---------------------------------------------------------------- strings and floats

bool TStringProperty::AllEqual() {
    return SameForAll([this](int i) { return GetStrValueAt(i); });
}

TPropertyAttributes TStringProperty::GetAttributes() {
    return {paMultiSelect, paRevertable};
}

String TStringProperty::GetValue() {
    return GetStrValue();
}

void TStringProperty::SetValue(const String& Value) {
    SetStrValue(Value);
}

int TStringProperty::GetEditLimit() {
    return 255;
}

bool TFloatProperty::AllEqual() {
    return SameForAll([this](int i) { return GetFloatValueAt(i); });
}

String TFloatProperty::GetValue() {
    return FormatFormFloat(GetFloatValueAt(0));
}

void TFloatProperty::SetValue(const String& Value) {
    char* end = nullptr;
    const double v = std::strtod(Value.c_str(), &end);
    if (Value.empty() || *end != '\0')
        throw EPropertyError("'" + Value + "' is not a valid floating point value");
    SetFloatValue(v);
}

// ---------------------------------------------------------------- objects, references, events

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

bool TComponentProperty::AllEqual() {
    return SameForAll([this](int i) {
        const TInstProp& p = Props()[std::size_t(i)];
        return p.Prop->GetComponent(p.Instance);
    });
}

TPropertyAttributes TComponentProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

String TComponentProperty::GetValue() {
    const TInstProp& p = Props().front();
    const TComponent* c = p.Prop->GetComponent(p.Instance);
    return c != nullptr ? c->Name() : String();
}

void TComponentProperty::SetValue(const String& Value) {
    TComponent* target = nullptr;
    if (!Value.empty()) {
        TComponent* root = Designer() != nullptr ? Designer()->Root() : nullptr;
        if (root != nullptr) target = root->Name() == Value ? root : root->FindComponent(Value);
        if (target == nullptr) throw EPropertyError("Invalid property value '" + Value + "'");
    }
    WriteAll([&](const TInstProp& p) { SetComponentProp(p.Instance, p.Prop->Name, target); });
}

void TComponentProperty::GetValues(TGetStrProc Proc) {
    TComponent* root = Designer() != nullptr ? Designer()->Root() : nullptr;
    if (root == nullptr) return;
    const TClassInfo* cls = PropInfo()->ObjectClass != nullptr ? PropInfo()->ObjectClass() : nullptr;
    for (int i = 0; i < root->ComponentCount(); ++i) {
        TComponent* c = root->Components(i);
        if (!c->Name().empty() && (cls == nullptr || c->InheritsFrom(cls))) Proc(c->Name());
    }
}

bool TMethodProperty::AllEqual() {
    return SameForAll([this](int i) { return GetTextValueAt(i); });
}

TPropertyAttributes TMethodProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList};
}

String TMethodProperty::GetValue() {
    return GetTextValueAt(0);
}

void TMethodProperty::SetValue(const String& Value) {
    TComponent* root = Designer() != nullptr ? Designer()->Root() : nullptr;
    for (const TInstProp& p : Props()) {
        auto* component = dynamic_cast<TComponent*>(p.Instance);
        if (component == nullptr || (root == nullptr && !Value.empty()))
            throw EPropertyError("Cannot bind event '" + p.Prop->Name + "' here");
        SetMethodProp(component, p.Prop->Name, root, Value);
    }
    Modified();
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
