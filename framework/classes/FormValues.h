#pragma once
// Property values as form-file text: formatting one property of an object,
// and assigning a parsed value through the property's setter. Shared by the
// form reader and writer and by the by-name property functions.

#include <framework/classes/FormText.h>
#include <framework/classes/Published.h>
#include <optional>

namespace fw {

// The value of prop on obj as the writer spells it, or nothing when it cannot
// be written (a reference outside root, an unbound event, a nested object).
// Binary values come out on one line here ("{0A0B}").
std::optional<String> FormatPropValue(const TObject* obj, const TPropInfo& prop, const TComponent* root);

// Assigns value to prop on obj. Component references and events are handed
// to Reference / Event (the reader defers references; binding needs the
// root). Raises EPropertyError with a message naming the property and class.
// With UnknownIdent given, an identifier the property does not know is
// handed to it instead: the property keeps its value, a set takes the
// members it knows.
struct TFormBindings {
    std::function<void(TObject* obj, const TPropInfo& prop, const String& name)> Reference;
    std::function<void(TObject* obj, const TPropInfo& prop, const String& method)> Event;
    std::function<void(const String& what)> UnknownIdent;
};
void AssignPropValue(TObject* obj, const TPropInfo& prop, const TFormValue& value,
                     const TFormBindings& bindings);

// A one-character value (a character property): a string of one character
// ('' for none), or its code as a number. Raises EPropertyError otherwise.
std::int64_t CharValue(const TObject* obj, const TPropInfo& prop, const TFormValue& value);

// Binds (or, for "", clears) an event of obj to root's published method.
void BindEvent(TObject* obj, const TPropInfo& prop, TComponent* root, const String& method);

} // namespace fw
