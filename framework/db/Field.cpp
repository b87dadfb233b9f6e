// TField and its kinds.

#include <cmath>
#include <framework/classes/Published.h>
#include <framework/db/DataSet.h>
#include <framework/db/FieldText.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Format.h>
#include <framework/rtl/SysUtils.h>
#include <limits>

namespace fw {

namespace {

const TStoredValue NullValue;

String StoredText(const TStoredValue& v) {
    if (auto* s = std::get_if<String>(&v)) return *s;
    if (auto* i = std::get_if<std::int64_t>(&v)) return IntToStr(*i);
    if (auto* d = std::get_if<double>(&v)) return FloatToText(*d);
    return String();
}

} // namespace

FW_PUBLISH(TField) {}
FW_PUBLISH(TStringField) {}
FW_PUBLISH(TIntegerField) {}
FW_PUBLISH(TFloatField) {}
FW_PUBLISH(TBooleanField) {}
FW_PUBLISH(TDateField) {}
FW_PUBLISH(TDateTimeField) {}

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}
TField::~TField() = default;

void TField::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    if (FDataSet) FDataSet->DataEvent(deLayoutChange);
}

void TField::SetDisplayFormat(const String& Value) {
    if (Value == FDisplayFormat) return;
    FDisplayFormat = Value;
    if (FDataSet) FDataSet->DataEvent(deLayoutChange);
}

const TStoredValue& TField::StoredValue() const {
    return FDataSet && FFieldNo >= 0 ? FDataSet->FieldStoredValue(FFieldNo) : NullValue;
}

bool TField::IsNull() const {
    return IsNullValue(StoredValue());
}

void TField::Clear() {
    SetStoredValue(TStoredValue());
}

bool TField::CanModify() const {
    return !FReadOnly && FDataSet && FDataSet->CanModify();
}

void TField::SetStoredValue(TStoredValue Value) {
    if (!FDataSet) DatabaseError(Format("Field '%s' has no dataset", {FFieldName}));
    FDataSet->SetFieldStoredValue(this, std::move(Value));
}

void TField::ConversionError(const String& Text, const char* TypeName) const {
    throw EConvertError(
        Format("'%s' is not a valid %s value for field '%s'", {Text, TypeName, DisplayLabel()}));
}

void TField::TypeMismatch(const char* TypeName) const {
    throw EDatabaseError(Format("Field '%s' cannot be used as %s", {DisplayLabel(), TypeName}));
}

int TField::AsInteger() const {
    std::int64_t v = GetAsLargeInt();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        ConversionError(IntToStr(v), "integer");
    return static_cast<int>(v);
}

// Generic conversions from the stored value.

String TField::GetAsString() const {
    return StoredText(StoredValue());
}

std::int64_t TField::GetAsLargeInt() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return 0;
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i;
    if (auto* d = std::get_if<double>(&v)) {
        if (std::isfinite(*d) && std::fabs(*d) < 9.2e18) return static_cast<std::int64_t>(std::llround(*d));
        ConversionError(FloatToText(*d), "integer");
    }
    const String& s = std::get<String>(v);
    if (auto n = TextToInt64(s)) return *n;
    ConversionError(s, "integer");
}

double TField::GetAsFloat() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return 0;
    if (auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(&v)) return *d;
    const String& s = std::get<String>(v);
    if (auto n = TextToFloat(s)) return *n;
    ConversionError(s, "floating point");
}

TDateTime TField::GetAsDateTime() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return 0;
    if (auto* s = std::get_if<String>(&v))
        if (auto d = IsoToDateTime(*s)) return *d;
    ConversionError(StoredText(v), "date");
}

bool TField::GetAsBoolean() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return false;
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i != 0;
    if (auto* d = std::get_if<double>(&v)) return *d != 0;
    String s = LowerCase(std::get<String>(v));
    if (s == "true" || s == "1") return true;
    if (s == "false" || s == "0") return false;
    ConversionError(std::get<String>(v), "Boolean");
}

TVariant TField::GetValue() const {
    const TStoredValue& v = StoredValue();
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i;
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* s = std::get_if<String>(&v)) return *s;
    return {};
}

void TField::SetAsStringValue(const String& Value) {
    SetStoredValue(Value);
}
void TField::SetAsLargeIntValue(std::int64_t Value) {
    SetStoredValue(Value);
}
void TField::SetAsFloatValue(double Value) {
    SetStoredValue(Value);
}
void TField::SetAsDateTimeValue(TDateTime Value) {
    TypeMismatch("a date");
}
void TField::SetAsBooleanValue(bool Value) {
    SetAsLargeIntValue(Value ? 1 : 0);
}

TVariant TField::Value() const {
    return GetValue();
}

void TField::SetValue(const TVariant& Value) {
    std::visit(
        [this](const auto& v) {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, std::monostate>)
                Clear();
            else if constexpr (std::is_same_v<V, bool>)
                SetAsBoolean(v);
            else if constexpr (std::is_same_v<V, std::int64_t>)
                SetAsLargeInt(v);
            else if constexpr (std::is_same_v<V, double>)
                SetAsFloat(v);
            else
                SetAsString(v);
        },
        Value);
}

String TField::GetText(bool Display) const {
    return GetAsString();
}

String TField::Text() const {
    String text = GetText(false);
    if (OnGetText) OnGetText(const_cast<TField*>(this), text, false);
    return text;
}

String TField::DisplayText() const {
    String text = GetText(true);
    if (OnGetText) OnGetText(const_cast<TField*>(this), text, true);
    return text;
}

void TField::SetText(const String& Value) {
    if (OnSetText)
        OnSetText(this, Value);
    else
        SetAsString(Value);
}

bool TField::IsValidChar(Char Ch) const {
    return true;
}

// ---------------------------------------------------------------- strings

TStringField::TStringField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftString);
}

void TStringField::SetAsStringValue(const String& Value) {
    if (Size() > 0 && static_cast<int>(Value.size()) > Size())
        DatabaseError(Format("Text of %d characters does not fit field '%s' (size %d)",
                             {static_cast<int>(Value.size()), DisplayLabel(), Size()}));
    SetStoredValue(Value);
}

// ---------------------------------------------------------------- integers

TIntegerField::TIntegerField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftInteger);
    SetDefaultAlignment(taRightJustify);
}

bool TIntegerField::IsValidChar(Char Ch) const {
    return Ch < 32 || (Ch >= '0' && Ch <= '9') || Ch == '+' || Ch == '-';
}

TVariant TIntegerField::GetValue() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return {};
    if (auto* s = std::get_if<String>(&v); s && !TextToInt64(*s)) return *s; // unreadable: as stored
    return GetAsLargeInt();
}

void TIntegerField::SetAsStringValue(const String& Value) {
    if (Value.find_first_not_of(" \t") == String::npos) return Clear();
    auto v = TextToInt64(Value);
    if (!v) ConversionError(Value, "integer");
    SetStoredValue(*v);
}

void TIntegerField::SetAsFloatValue(double Value) {
    if (!std::isfinite(Value) || std::fabs(Value) >= 9.2e18) ConversionError(FloatToText(Value), "integer");
    SetStoredValue(static_cast<std::int64_t>(std::llround(Value)));
}

String TIntegerField::GetText(bool Display) const {
    const TStoredValue& v = StoredValue();
    if (Display && !DisplayFormat().empty() && !IsNullValue(v) && !std::holds_alternative<String>(v))
        return FormatFloat(DisplayFormat(), static_cast<double>(GetAsLargeInt()));
    return GetAsString();
}

// ---------------------------------------------------------------- floats

TFloatField::TFloatField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftFloat);
    SetDefaultAlignment(taRightJustify);
}

bool TFloatField::IsValidChar(Char Ch) const {
    return Ch < 32 || (Ch >= '0' && Ch <= '9') || Ch == '+' || Ch == '-' || Ch == 'e' || Ch == 'E' ||
           Ch == static_cast<unsigned char>(FormatSettings.DecimalSeparator);
}

TVariant TFloatField::GetValue() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return {};
    if (auto* s = std::get_if<String>(&v); s && !TextToFloat(*s)) return *s;
    return GetAsFloat();
}

String TFloatField::GetAsString() const {
    const TStoredValue& v = StoredValue();
    if (std::holds_alternative<std::int64_t>(v) || std::holds_alternative<double>(v))
        return FloatToText(GetAsFloat());
    return StoredText(v);
}

void TFloatField::SetAsStringValue(const String& Value) {
    if (Value.find_first_not_of(" \t") == String::npos) return Clear();
    auto v = TextToFloat(Value);
    if (!v) ConversionError(Value, "floating point");
    SetStoredValue(*v);
}

String TFloatField::GetText(bool Display) const {
    const TStoredValue& v = StoredValue();
    if (Display && !DisplayFormat().empty() && !IsNullValue(v) && !std::holds_alternative<String>(v))
        return FormatFloat(DisplayFormat(), GetAsFloat());
    return GetAsString();
}

// ---------------------------------------------------------------- Booleans

TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftBoolean);
}

TVariant TBooleanField::GetValue() const {
    if (IsNull()) return {};
    try {
        return GetAsBoolean();
    } catch (const EConvertError&) {
        return StoredText(StoredValue());
    }
}

String TBooleanField::GetAsString() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return String();
    bool b;
    try {
        b = GetAsBoolean();
    } catch (const EConvertError&) {
        return StoredText(v);
    }
    std::size_t semi = FDisplayValues.find(';');
    String t = semi == String::npos ? FDisplayValues : FDisplayValues.substr(0, semi);
    String f = semi == String::npos ? String() : FDisplayValues.substr(semi + 1);
    return b ? t : f;
}

void TBooleanField::SetAsStringValue(const String& Value) {
    if (Value.find_first_not_of(" \t") == String::npos) return Clear();
    std::size_t semi = FDisplayValues.find(';');
    String t = LowerCase(semi == String::npos ? FDisplayValues : FDisplayValues.substr(0, semi));
    String f = LowerCase(semi == String::npos ? String() : FDisplayValues.substr(semi + 1));
    String v = LowerCase(Value);
    if (v == t || v == "true" || v == "1") return SetAsBoolean(true);
    if ((!f.empty() && v == f) || v == "false" || v == "0") return SetAsBoolean(false);
    ConversionError(Value, "Boolean");
}

// ---------------------------------------------------------------- dates

TDateField::TDateField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftDate);
    SetDefaultAlignment(taRightJustify);
}

bool TDateField::TryStored(TDateTime& Value) const {
    const TStoredValue& v = StoredValue();
    auto* s = std::get_if<String>(&v);
    if (!s) return false;
    auto d = IsoToDateTime(*s);
    if (!d) return false;
    Value = *d;
    return true;
}

TVariant TDateField::GetValue() const {
    if (IsNull()) return {};
    TDateTime d;
    if (TryStored(d)) return d;
    return StoredText(StoredValue());
}

TDateTime TDateField::GetAsDateTime() const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return 0;
    TDateTime d;
    if (!TryStored(d)) ConversionError(StoredText(v), WithTime() ? "date and time" : "date");
    return d;
}

String TDateField::GetAsString() const {
    return GetText(true);
}

String TDateField::EditLayout() const {
    return FormatSettings.ShortDateFormat;
}

String TDateField::GetText(bool Display) const {
    const TStoredValue& v = StoredValue();
    if (IsNullValue(v)) return String();
    TDateTime d;
    if (!TryStored(d)) return StoredText(v); // shown as stored, never rewritten
    const String& layout = Display && !DisplayFormat().empty() ? DisplayFormat() : EditLayout();
    return FormatDateTime(layout, d);
}

void TDateField::SetAsStringValue(const String& Value) {
    if (Value.find_first_not_of(" \t") == String::npos) return Clear();
    auto d = TextToDateTime(Value, WithTime());
    if (!d) ConversionError(Value, WithTime() ? "date and time" : "date");
    SetAsDateTimeValue(*d);
}

void TDateField::SetAsDateTimeValue(TDateTime Value) {
    Word y, m, d;
    DecodeDate(Value, y, m, d);
    if (y == 0) ConversionError(FloatToText(Value), WithTime() ? "date and time" : "date");
    SetStoredValue(WithTime() ? DateTimeToIso(Value) : DateToIso(Value));
}

TDateTimeField::TDateTimeField(TComponent* AOwner) : TDateField(AOwner) {
    SetDataType(ftDateTime);
}

// "c": the short date, then the long time when there is one.
String TDateTimeField::EditLayout() const {
    return "c";
}

TField* CreateFieldOfType(TFieldType Type, TComponent* AOwner) {
    switch (Type) {
    case ftInteger:
    case ftLargeint:
        return new TIntegerField(AOwner);
    case ftFloat:
        return new TFloatField(AOwner);
    case ftBoolean:
        return new TBooleanField(AOwner);
    case ftDate:
        return new TDateField(AOwner);
    case ftDateTime:
        return new TDateTimeField(AOwner);
    default:
        return new TStringField(AOwner);
    }
}

} // namespace fw
