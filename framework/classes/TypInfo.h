#pragma once
// Reading and writing published properties by name, for the designer and
// tests. Names may be dotted to reach nested persistents ("Font.Height").
// An unknown name, a read-only property or a value of the wrong kind raises
// EPropertyError.

#include <framework/classes/Published.h>

namespace fw {

class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

// Every published property of obj's class, in writing order.
std::vector<const TPropInfo*> GetPropList(const TObject* obj);
// The property (after following dots) and the object that holds it, or
// {nullptr, nullptr} when there is none.
std::pair<TObject*, const TPropInfo*> FindPropPath(TObject* obj, const String& path);
const TPropInfo* GetPropInfo(const TObject* obj, const String& path);

std::int64_t GetOrdProp(const TObject* obj, const String& path);
void SetOrdProp(TObject* obj, const String& path, std::int64_t value);
double GetFloatProp(const TObject* obj, const String& path);
void SetFloatProp(TObject* obj, const String& path, double value);
String GetStrProp(const TObject* obj, const String& path);
void SetStrProp(TObject* obj, const String& path, const String& value);
TPersistent* GetObjectProp(const TObject* obj, const String& path);
TComponent* GetComponentProp(const TObject* obj, const String& path);
// Raises when value is not of the property's class.
void SetComponentProp(TObject* obj, const String& path, TComponent* value);

// The value as a form file writes it ("clBtnFace", "[fsBold]", "'text'", "-8").
// Component references give the name; events the bound method's name.
String GetPropText(const TObject* obj, const String& path);
// Parses text as a form file value and assigns it. Component references are
// looked up among root's components; events bind root's published methods.
void SetPropText(TObject* obj, const String& path, const String& text, TComponent* root = nullptr);

// Binds an event property of obj to root's published method (or clears it
// for an empty name). Raises EPropertyError for an unknown method or one of
// the wrong signature.
void SetMethodProp(TComponent* obj, const String& eventName, TComponent* root, const String& methodName);

} // namespace fw
