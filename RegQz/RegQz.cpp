#include <Qzde/QzDateControls.h>
#include <Qzde/QzDateRoutines.h>
#include <Qzled/Qzled.h>
#include <RegQz/RegQz.h>
#include <array>
#include <framework/classes/TypInfo.h>
#include <framework/designer/Palette.h>
#include <framework/forms/Application.h>

namespace qz {

namespace {

// The drop-down's order: year-first, day-first, month-first.
constexpr std::array<const char*, 12> DateFormatValues = {
    "yyyy/mm/dd", "yyyy/mm/d", "yyyy/m/dd",  "yyyy/m/d",  "dd/mm/yyyy", "d/mm/yyyy",
    "dd/m/yyyy",  "d/m/yyyy",  "mm/dd/yyyy", "mm/d/yyyy", "m/dd/yyyy",  "m/d/yyyy",
};

constexpr std::array<const char*, 8> AboutLines = {
    "Qz Components ",
    "Version 5.0 (25-Apr-2002)",
    "",
    "Written by the Qz Components developers",
    "Web: https://qz-components.example.org",
    "Mail: developers@qz-components.example.org",
    "",
    "Copyright (c) 2002 Qz Components. Free to use and to pass on.",
};

} // namespace

void Register() {
    fw::RegisterComponents("QzComponents", {TQzCalendar::StaticClass(), TQzDateEdit::StaticClass(),
                                            TQzDBDateEdit::StaticClass(), TQzDBDateText::StaticClass(),
                                            TQzLED::StaticClass()});

    const fw::TPropertyType stringType{fw::TTypeKind::String};
    for (const fw::TClassInfo* cls :
         {TQzDateEdit::StaticClass(), TQzDBDateEdit::StaticClass(), TQzDBDateText::StaticClass()})
        fw::RegisterPropertyEditor<TQzDateFormatProperty>(stringType, cls, "DateFormat");

    const fw::TPropertyType floatType{fw::TTypeKind::Float};
    for (const fw::TClassInfo* cls :
         {TQzCalendar::StaticClass(), TQzDateEdit::StaticClass(), TQzDBDateEdit::StaticClass()})
        for (const char* Name : {"MinDate", "MaxDate"})
            fw::RegisterPropertyEditor<TQzDateLimitProperty>(floatType, cls, Name);

    for (const fw::TClassInfo* cls :
         {TQzCalendar::StaticClass(), TQzDateEdit::StaticClass(), TQzDBDateEdit::StaticClass(),
          TQzDBDateText::StaticClass(), TQzLED::StaticClass()})
        fw::RegisterComponentEditor<TQzComponentEditor>(cls);
}

// ---------------------------------------------------------------- TQzDateLimitProperty

namespace {

// Year first: the same text whatever the application's layout.
constexpr const char* LimitLayout = "yyyy/mm/dd";

} // namespace

fw::String TQzDateLimitProperty::GetValue() {
    const fw::TDateTime Value = GetFloatValueAt(0);
    return Value == 0 ? fw::String() : FormatDateByPattern(Value, LimitLayout);
}

void TQzDateLimitProperty::SetValue(const fw::String& Value) {
    if (Value.empty()) {
        SetFloatValue(0);
        return;
    }
    fw::TDateTime Date = 0;
    try {
        Date = StrToDateEx(Value, LimitLayout);
    } catch (const fw::Exception&) {
        throw fw::EPropertyError("'" + Value + "' is not a date (year/month/day)");
    }
    SetFloatValue(Date);
}

// ---------------------------------------------------------------- TQzDateFormatProperty

fw::TPropertyAttributes TQzDateFormatProperty::GetAttributes() {
    return {fw::paValueList, fw::paMultiSelect, fw::paAutoUpdate, fw::paReadOnly};
}

void TQzDateFormatProperty::GetValues(fw::TGetStrProc Proc) {
    for (const char* value : DateFormatValues)
        Proc(value);
}

// ---------------------------------------------------------------- TQzComponentEditor

void TQzComponentEditor::ExecuteVerb(int) {
    fw::Application->MessageBox(AboutText(), AboutCaption(), 0);
}

fw::String TQzComponentEditor::GetVerb(int) {
    return "&Version 5.0";
}

int TQzComponentEditor::GetVerbCount() {
    return 1;
}

fw::String AboutCaption() {
    return "About Qz Components";
}

fw::String AboutText() {
    fw::String text;
    for (std::size_t i = 0; i < AboutLines.size(); ++i) {
        if (i > 0) text += '\r';
        text += AboutLines[i];
    }
    return text;
}

} // namespace qz
