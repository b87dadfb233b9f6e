#pragma once
// TField and its kinds: one column of a dataset's current record, read and
// written as text, numbers, dates or Booleans.
//
// A field holds no value of its own: it reads the stored value of its column
// in the dataset's active record (the record being browsed, or the edit
// buffer while editing or inserting) and converts it by its kind. A stored
// value of an unexpected form (text in a date column that is no date) is
// kept as it was read: DisplayText and Text show it unchanged, the typed
// readers (AsDateTime...) raise, and nothing is rewritten unless the user
// assigns the field.
//
// Writing a field needs the dataset in dsEdit or dsInsert and a field that
// may be modified; the value is converted first (bad text raises and stores
// nothing), then OnValidate runs (it may raise to refuse the value, which is
// then put back), the dataset is marked modified, OnChange fires and the
// data links hear deFieldChange.

#include <framework/classes/Component.h>
#include <framework/controls/ControlTypes.h>
#include <framework/db/DbTypes.h>
#include <functional>

namespace fw {

class TDataSet;
class TField;

// A field's value by its kind: null, Boolean, whole number, real number
// (dates and date-times give their TDateTime), or text.
using TVariant = std::variant<std::monostate, bool, std::int64_t, double, String>;

using TFieldNotifyEvent = std::function<void(TField* Sender)>;
using TFieldGetTextEvent = std::function<void(TField* Sender, String& Text, bool DisplayText)>;
using TFieldSetTextEvent = std::function<void(TField* Sender, const String& Text)>;

class TField : public TComponent {
    FW_CLASS(TField, TComponent)

public:
    explicit TField(TComponent* AOwner);
    ~TField() override;

    TDataSet* DataSet() const { return FDataSet; }
    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value) { FFieldName = Value; }
    // The label shown for the field; its name when none was set.
    String DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const String& Value) { FDisplayLabel = Value; }
    // Position among the dataset's fields (0-based), -1 when unattached.
    int Index() const { return FIndex; }
    // Position of the column in the stored record (0-based).
    int FieldNo() const { return FFieldNo; }
    TFieldType DataType() const { return FDataType; }
    // Maximum length of a string field (0: unlimited); 0 for other kinds.
    int Size() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    // Numbers and dates are right-aligned by default, text and Booleans left.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Layout of DisplayText (dates: FormatDateTime; numbers: FormatFloat).
    const String& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const String& Value);

    TVariant Value() const;
    void SetValue(const TVariant& Value);
    String AsString() const { return GetAsString(); }
    void SetAsString(const String& Value) { SetAsStringValue(Value); }
    int AsInteger() const;
    void SetAsInteger(int Value) { SetAsLargeInt(Value); }
    std::int64_t AsLargeInt() const { return GetAsLargeInt(); }
    void SetAsLargeInt(std::int64_t Value) { SetAsLargeIntValue(Value); }
    double AsFloat() const { return GetAsFloat(); }
    void SetAsFloat(double Value) { SetAsFloatValue(Value); }
    TDateTime AsDateTime() const { return GetAsDateTime(); }
    void SetAsDateTime(TDateTime Value) { SetAsDateTimeValue(Value); }
    bool AsBoolean() const { return GetAsBoolean(); }
    void SetAsBoolean(bool Value) { SetAsBooleanValue(Value); }

    bool IsNull() const;
    void Clear();

    // The edit text (what an edit control shows while the user edits) and
    // the display text (what it shows otherwise). Both go through OnGetText
    // when it is assigned; writing Text goes through OnSetText when assigned.
    String Text() const;
    void SetText(const String& Value);
    String DisplayText() const;

    // Whether a typed character may go into the field's text. Control
    // characters (editing commands such as Backspace, Ctrl+C, Ctrl+V) always may.
    virtual bool IsValidChar(Char Ch) const;
    // Not read-only, in a dataset that may be modified.
    bool CanModify() const;

    // The stored value of the active record, as the storage gave it.
    const TStoredValue& StoredValue() const;

    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;
    TFieldNotifyEvent OnValidate;
    TFieldNotifyEvent OnChange;

protected:
    // The kind's conversions between the stored value and each type. The
    // base converts generically and raises EConvertError naming the field
    // for a stored value that does not convert.
    virtual String GetAsString() const;
    virtual std::int64_t GetAsLargeInt() const;
    virtual double GetAsFloat() const;
    virtual TDateTime GetAsDateTime() const;
    virtual bool GetAsBoolean() const;
    virtual TVariant GetValue() const;
    virtual void SetAsStringValue(const String& Value);
    virtual void SetAsLargeIntValue(std::int64_t Value);
    virtual void SetAsFloatValue(double Value);
    virtual void SetAsDateTimeValue(TDateTime Value);
    virtual void SetAsBooleanValue(bool Value);
    // Text and DisplayText without the event; the base gives AsString.
    virtual String GetText(bool Display) const;

    // Writes a stored value through validation, marking and notification.
    void SetStoredValue(TStoredValue Value);
    [[noreturn]] void ConversionError(const String& Text, const char* TypeName) const;
    [[noreturn]] void TypeMismatch(const char* TypeName) const;

    void SetDataType(TFieldType Value) { FDataType = Value; }
    void SetDefaultAlignment(TAlignment Value) { FAlignment = Value; }

private:
    friend class TDataSet;

    TDataSet* FDataSet = nullptr;
    String FFieldName;
    String FDisplayLabel;
    String FDisplayFormat;
    int FIndex = -1;
    int FFieldNo = -1;
    TFieldType FDataType = ftUnknown;
    int FSize = 0;
    bool FReadOnly = false;
    bool FRequired = false;
    bool FVisible = true;
    TAlignment FAlignment = taLeftJustify;
};

// Text. Empty text stores the empty string (not null).
class TStringField : public TField {
    FW_CLASS(TStringField, TField)

public:
    explicit TStringField(TComponent* AOwner);

protected:
    void SetAsStringValue(const String& Value) override;
};

// Whole numbers (64-bit; AsInteger raises outside the 32-bit range).
// Empty text stores null.
class TIntegerField : public TField {
    FW_CLASS(TIntegerField, TField)

public:
    explicit TIntegerField(TComponent* AOwner);
    bool IsValidChar(Char Ch) const override;

protected:
    TVariant GetValue() const override;
    void SetAsStringValue(const String& Value) override;
    void SetAsFloatValue(double Value) override;
    String GetText(bool Display) const override;
};

// Real numbers, shown with up to 15 significant digits and the format
// settings' decimal separator. Empty text stores null.
class TFloatField : public TField {
    FW_CLASS(TFloatField, TField)

public:
    explicit TFloatField(TComponent* AOwner);
    bool IsValidChar(Char Ch) const override;

protected:
    TVariant GetValue() const override;
    String GetAsString() const override;
    void SetAsStringValue(const String& Value) override;
    String GetText(bool Display) const override;
};

// True or False, stored as 1 or 0. Text "True" / "False" (DisplayValues
// "True;False"); writing accepts either word regardless of case, or 1 / 0.
class TBooleanField : public TField {
    FW_CLASS(TBooleanField, TField)

public:
    explicit TBooleanField(TComponent* AOwner);
    const String& DisplayValues() const { return FDisplayValues; }
    void SetDisplayValues(const String& Value) { FDisplayValues = Value; }

protected:
    TVariant GetValue() const override;
    String GetAsString() const override;
    void SetAsStringValue(const String& Value) override;

private:
    String FDisplayValues = "True;False";
};

// Dates, stored as 'YYYY-MM-DD' text; also the base of date-times.
// Text is the date by ShortDateFormat, DisplayText by DisplayFormat (or
// ShortDateFormat); writing text reads it by ShortDateFormat's order of day,
// month and year with the DateSeparator. Null gives empty texts; empty text
// stores null.
class TDateField : public TField {
    FW_CLASS(TDateField, TField)

public:
    explicit TDateField(TComponent* AOwner);

protected:
    TVariant GetValue() const override;
    String GetAsString() const override;
    TDateTime GetAsDateTime() const override;
    double GetAsFloat() const override { return GetAsDateTime(); }
    void SetAsStringValue(const String& Value) override;
    void SetAsDateTimeValue(TDateTime Value) override;
    void SetAsFloatValue(double Value) override { SetAsDateTimeValue(Value); }
    String GetText(bool Display) const override;
    // Whether the stored value reads as a date (Value receives it).
    bool TryStored(TDateTime& Value) const;
    virtual String EditLayout() const;
    virtual bool WithTime() const { return false; }
};

// Date and time, stored as 'YYYY-MM-DD HH:MM:SS' text. Text is the date by
// ShortDateFormat then the time by LongTimeFormat (the time only when there
// is one); writing text accepts a date followed by an optional time.
class TDateTimeField : public TDateField {
    FW_CLASS(TDateTimeField, TDateField)

public:
    explicit TDateTimeField(TComponent* AOwner);

protected:
    String EditLayout() const override;
    bool WithTime() const override { return true; }
};

// The field class for a kind (TStringField for ftUnknown).
TField* CreateFieldOfType(TFieldType Type, TComponent* AOwner);

} // namespace fw
