#pragma once
// Design-time registration: the palette page, the DateFormat drop-down editor and the component
// editor with its version verb. The designer calls Register once when it loads the package;
// nothing calls into this unit at run time.

#include <framework/designer/ComponentEditors.h>
#include <framework/designer/PropertyEditors.h>

namespace qz {

// Puts the five components on the page "QzComponents" and attaches the editors.
void Register();

// The DateFormat editor: a read-only drop-down of the twelve layouts, year-first, then
// day-first, then month-first; values are written through the components' own setters.
class TQzDateFormatProperty : public fw::TStringProperty {
public:
    fw::TPropertyAttributes GetAttributes() override;
    void GetValues(fw::TGetStrProc Proc) override;
};

// MinDate and MaxDate: the date as year/month/day text ("2026/03/10"), empty for no
// limit; any other text raises EPropertyError.
class TQzDateLimitProperty : public fw::TFloatProperty {
public:
    fw::String GetValue() override;
    void SetValue(const fw::String& Value) override;
};

// One verb, "&Version 5.0", which shows the About box; a double-click runs it too.
class TQzComponentEditor : public fw::TComponentEditor {
public:
    using fw::TComponentEditor::TComponentEditor;

    void ExecuteVerb(int Index) override;
    fw::String GetVerb(int Index) override;
    int GetVerbCount() override;
};

// The About box's caption and text (lines joined by a single carriage return).
fw::String AboutCaption();
fw::String AboutText();

} // namespace qz
