#include <algorithm>
#include <cctype>
#include <framework/classes/FormValues.h>
#include <framework/classes/TypInfo.h>
#include <framework/rtl/Utf8.h>
#include <framework/rtl/SysUtils.h>
#include <limits>

namespace fw {

namespace {

String Where(const TObject* obj, const TPropInfo& prop) {
    return "property '" + prop.Name + "' of " + obj->ClassName();
}

[[noreturn]] void WrongType(const TObject* obj, const TPropInfo& prop, const TFormValue& value) {
    static const char* const kindNames[] = {"a number", "a number",    "a string", "an identifier",
                                            "a set",    "binary data", "a list",   "a collection"};
    throw EPropertyError(Where(obj, prop) + " cannot take " + kindNames[static_cast<int>(value.Kind)]);
}

String UnknownIdentText(const TObject* obj, const TPropInfo& prop, std::string_view ident) {
    return "unknown identifier '" + String(ident) + "' for " + Where(obj, prop);
}

// Raises for an unknown identifier, or reports it when the caller asked to
// be told instead.
void UnknownIdent(const TObject* obj, const TPropInfo& prop, std::string_view ident,
                  const TFormBindings& bindings) {
    if (!bindings.UnknownIdent) throw EPropertyError(UnknownIdentText(obj, prop, ident));
    bindings.UnknownIdent(UnknownIdentText(obj, prop, ident));
}

int IdentOrdinal(const TPropInfo& prop, std::string_view ident) {
    for (std::size_t i = 0; i < prop.Idents.size(); ++i)
        if (SameText(prop.Idents[i], ident)) return static_cast<int>(i);
    return -1;
}

// The integer value, or nothing for an unknown identifier reported to bindings.
std::optional<std::int64_t> IntegerValue(const TObject* obj, const TPropInfo& prop, const TFormValue& value,
                                         const TFormBindings& bindings) {
    std::int64_t v = 0;
    if (prop.CharValue && value.Kind == TFormValueKind::String) {
        v = CharValue(obj, prop, value);
    } else if (value.Kind == TFormValueKind::Integer) {
        v = value.Int;
        // $80000012 names the bits of a 32-bit value, also for a signed property.
        if (value.Hex && prop.MaxValue == 0x7FFFFFFF && v > prop.MaxValue && v <= 0xFFFFFFFF)
            v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    } else if (value.Kind == TFormValueKind::Ident &&
               (prop.IdentKind.empty() || !IdentToInteger(prop.IdentKind, String(value.Text), v))) {
        UnknownIdent(obj, prop, value.Text, bindings);
        return std::nullopt;
    } else if (value.Kind != TFormValueKind::Ident) {
        WrongType(obj, prop, value);
    }
    if (v < prop.MinValue || v > prop.MaxValue)
        throw EPropertyError("value " + std::to_string(v) + " out of range for " + Where(obj, prop));
    return v;
}

} // namespace

std::int64_t CharValue(const TObject* obj, const TPropInfo& prop, const TFormValue& value) {
    if (value.Kind == TFormValueKind::Integer) return value.Int;
    if (value.Kind != TFormValueKind::String) WrongType(obj, prop, value);
    if (value.Text.empty()) return 0;
    std::size_t pos = 0;
    const std::uint32_t c = NextCodePoint(value.Text, pos);
    if (pos != value.Text.size())
        throw EPropertyError(Where(obj, prop) + " takes one character, not '" + String(value.Text) + "'");
    return c;
}

std::optional<String> FormatPropValue(const TObject* obj, const TPropInfo& prop, const TComponent* root) {
    switch (prop.Kind) {
    case TTypeKind::Integer: {
        const std::int64_t v = prop.GetOrd(obj);
        // A character; a code that is none (0, a UTF-16 half) as its number.
        if (prop.CharValue && v > 0 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
            return QuoteFormString(CharToUtf8(static_cast<std::uint32_t>(v)));
        String ident;
        if (!prop.IdentKind.empty() && IntegerToIdent(prop.IdentKind, v, ident)) return ident;
        return std::to_string(v);
    }
    case TTypeKind::Boolean:
        return String(prop.GetOrd(obj) != 0 ? "True" : "False");
    case TTypeKind::Enumeration: {
        const std::int64_t v = prop.GetOrd(obj);
        if (v >= 0 && v < static_cast<std::int64_t>(prop.Idents.size()))
            return prop.Idents[static_cast<std::size_t>(v)];
        return std::to_string(v);
    }
    case TTypeKind::Set: {
        const auto bits = static_cast<std::uint64_t>(prop.GetOrd(obj));
        String out = "[";
        for (std::size_t i = 0; i < prop.Idents.size() && i < 64; ++i) {
            if ((bits >> i) & 1) {
                if (out.size() > 1) out += ", ";
                out += prop.Idents[i];
            }
        }
        return out + "]";
    }
    case TTypeKind::String:
        return QuoteFormString(prop.GetStr(obj));
    case TTypeKind::Float:
        return FormatFormFloat(prop.GetFloat(obj));
    case TTypeKind::Binary: {
        static const char digits[] = "0123456789ABCDEF";
        String out = "{";
        for (char ch : prop.GetStr(obj)) {
            const auto c = static_cast<unsigned char>(ch);
            out += digits[c >> 4];
            out += digits[c & 15];
        }
        return out + "}";
    }
    case TTypeKind::Class:
        return std::nullopt;
    case TTypeKind::Component: {
        const TComponent* c = prop.GetComponent(obj);
        if (c == nullptr || c->Name().empty()) return std::nullopt;
        if (c == root || (root != nullptr && c->Owner() == root)) return c->Name();
        return std::nullopt;
    }
    case TTypeKind::Event: {
        const auto* c = dynamic_cast<const TComponent*>(obj);
        if (c == nullptr || !prop.EventAssigned(obj)) return std::nullopt;
        String method = c->EventBinding(prop.Name);
        if (method.empty()) return std::nullopt;
        return method;
    }
    }
    return std::nullopt;
}

void AssignPropValue(TObject* obj, const TPropInfo& prop, const TFormValue& value,
                     const TFormBindings& bindings) {
    if (prop.Kind == TTypeKind::Class)
        throw EPropertyError(Where(obj, prop) + " is an object; set its properties by name");
    if (!prop.Writable()) throw EPropertyError(Where(obj, prop) + " is read-only");
    switch (prop.Kind) {
    case TTypeKind::Integer:
        if (const auto v = IntegerValue(obj, prop, value, bindings)) prop.SetOrd(obj, *v);
        return;
    case TTypeKind::Boolean:
        if (value.Kind != TFormValueKind::Ident) WrongType(obj, prop, value);
        if (SameText(value.Text, "True"))
            prop.SetOrd(obj, 1);
        else if (SameText(value.Text, "False"))
            prop.SetOrd(obj, 0);
        else
            UnknownIdent(obj, prop, value.Text, bindings);
        return;
    case TTypeKind::Enumeration: {
        if (value.Kind != TFormValueKind::Ident) WrongType(obj, prop, value);
        const int ordinal = IdentOrdinal(prop, value.Text);
        if (ordinal < 0)
            UnknownIdent(obj, prop, value.Text, bindings);
        else
            prop.SetOrd(obj, ordinal);
        return;
    }
    case TTypeKind::Set: {
        if (value.Kind != TFormValueKind::Set) WrongType(obj, prop, value);
        std::uint64_t bits = 0;
        for (const std::string_view item : value.Items) {
            const int ordinal = IdentOrdinal(prop, item);
            if (ordinal < 0 || ordinal > 63)
                UnknownIdent(obj, prop, item, bindings);
            else
                bits |= std::uint64_t{1} << ordinal;
        }
        prop.SetOrd(obj, static_cast<std::int64_t>(bits));
        return;
    }
    case TTypeKind::String:
        if (value.Kind != TFormValueKind::String) WrongType(obj, prop, value);
        prop.SetStr(obj, String(value.Text));
        return;
    case TTypeKind::Binary:
        if (value.Kind != TFormValueKind::Binary) WrongType(obj, prop, value);
        prop.SetStr(obj, String(value.Text));
        return;
    case TTypeKind::Float:
        if (value.Kind == TFormValueKind::Float)
            prop.SetFloat(obj, value.Float);
        else if (value.Kind == TFormValueKind::Integer && !value.Hex)
            prop.SetFloat(obj, static_cast<double>(value.Int));
        else if (value.Kind == TFormValueKind::Ident && SameText(value.Text, "NaN"))
            prop.SetFloat(obj, std::numeric_limits<double>::quiet_NaN());
        else if (value.Kind == TFormValueKind::Ident && SameText(value.Text, "Inf"))
            prop.SetFloat(obj, std::numeric_limits<double>::infinity());
        else
            WrongType(obj, prop, value);
        return;
    case TTypeKind::Component:
        if (value.Kind != TFormValueKind::Ident) WrongType(obj, prop, value);
        if (SameText(value.Text, "nil"))
            prop.SetComponent(obj, nullptr);
        else if (bindings.Reference)
            bindings.Reference(obj, prop, String(value.Text));
        else
            throw EPropertyError(Where(obj, prop) + ": no components to look up '" + String(value.Text) +
                                 "' in");
        return;
    case TTypeKind::Event:
        if (value.Kind != TFormValueKind::Ident) WrongType(obj, prop, value);
        if (SameText(value.Text, "nil"))
            BindEvent(obj, prop, nullptr, String());
        else if (bindings.Event)
            bindings.Event(obj, prop, String(value.Text));
        else
            throw EPropertyError(Where(obj, prop) + ": no root to find method '" + String(value.Text) +
                                 "' in");
        return;
    case TTypeKind::Class:
        break;
    }
}

void BindEvent(TObject* obj, const TPropInfo& prop, TComponent* root, const String& method) {
    auto* component = dynamic_cast<TComponent*>(obj);
    if (prop.Kind != TTypeKind::Event || component == nullptr)
        throw EPropertyError(Where(obj, prop) + " is not an event");
    if (method.empty()) {
        prop.SetEvent(obj, std::any());
        component->SetEventBinding(prop.Name, String());
        return;
    }
    const TMethodInfo* m = root != nullptr ? root->ClassInfo()->FindMethod(method) : nullptr;
    if (m == nullptr)
        throw EPropertyError("unknown method '" + method + "' of " +
                             (root ? root->ClassName() : String("nil")));
    if (m->Type != prop.EventType)
        throw EPropertyError("method '" + m->Name + "' does not fit event '" + prop.Name + "' of " +
                             obj->ClassName());
    prop.SetEvent(obj, m->Make(root));
    component->SetEventBinding(prop.Name, m->Name);
}

} // namespace fw
