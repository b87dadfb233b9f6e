#pragma once
// The date controls: the date edit TQzDateEdit and its drop button TQzCalendarButton,
// the data-aware date edit TQzDBDateEdit and date label TQzDBDateText, and the
// calendar component TQzCalendar.
//
// The date edit is a single-line edit for one date. The user types digits and "/" in
// the layout DateFormat names ("dd/mm/yyyy", "m/d/yyyy", "yyyy/mm/dd", ... twelve in
// all), or picks a date from the popup calendar that the drop button or Alt+Down
// opens. Leaving the edit checks the text: a valid text is normalised and becomes the
// date, an empty text is accepted, an invalid one keeps the focus and is reported as
// ErrorMessageType says.

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateLayouts.h>
#include <cstdint>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/graphics/Bitmap.h>
#include <framework/graphics/Color.h>

namespace fw {
class TControlCanvas;
class TDataSource;
class TField;
class TFieldDataLink;
} // namespace fw

namespace qz {

// How an invalid date is reported when the user leaves the edit: the framework's
// error dialog, a message box with ErrorMessageTitle, a beep, or nothing.
enum TMessageTypes : std::uint8_t { mtDelphi, mtWindows, mtBeep, mtSilent };
constexpr bool IsMessageType(TMessageTypes Value) {
    return Value <= mtSilent;
}

// The picture on the drop button: the developer's own (gtCustom), none, or one of
// the six built-in two-frame bitmaps 200-205.
enum TGlyphTypes : std::uint8_t {
    gtCustom,
    gtNone,
    gtEllipsis,
    gtDropArrow,
    gtDropArrowSml,
    gtCalendar1,
    gtCalendar2,
    gtCalendar3
};
constexpr bool IsGlyphType(TGlyphTypes Value) {
    return Value <= gtCalendar3;
}

// The square button at the right end of a date edit. Its parent is the date edit
// that owns it; a click opens that edit's calendar.
class TQzCalendarButton : public fw::TBitBtn {
    FW_CLASS(TQzCalendarButton, fw::TBitBtn)

public:
    explicit TQzCalendarButton(fw::TComponent* AOwner);

    // Calls the parent date edit's (virtual) OpenCalendar, then the inherited
    // click handling, which fires OnClick.
    void Click() override;

protected:
    // "Choose date" (with the edit's date once it has one), expanded while
    // the edit's popup is open.
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;
};

class TQzDateEdit : public fw::TEdit, public TQzCalendarSettings {
    FW_CLASS(TQzDateEdit, fw::TEdit)

public:
    explicit TQzDateEdit(fw::TComponent* AOwner);
    ~TQzDateEdit() override;

    // ---- the date
    // The stored date; typing does not change it, only SetDate does. 0 is no date.
    fw::TDateTime GetDate() const { return FDate; }
    // Stores Value, sets Modified, and shows Value formatted by DateFormat. Only
    // 0 is no date (an empty text); dates before 1900 show their text too. A
    // value outside the years 1-9999, or not a number, is stored as 0.
    void SetDate(fw::TDateTime Value);
    fw::TDateTime Date() const { return GetDate(); }

    // Checks a date text by DateFormat and normalises it in place: a year typed
    // as one or two digits is expanded (by CuspYear, or to the current century
    // with UseCentury) and the text rewritten in DateFormat's layout; a longer
    // year is accepted as typed. False (Text unchanged) for an empty text, a text
    // that does not split into three runs of decimal digits (no sign, no blank),
    // a year outside 1-9999 or an impossible date. Normalising a normalised text
    // changes nothing. Never raises.
    bool IsValidDate(fw::String& Text) const;

    // Opens the popup calendar modally; true when a date was picked (it is then
    // the edit's date). Fires OnOpenCalendar before and OnCloseCalendar after, and
    // gives the focus back to the edit. A read-only edit does not open it.
    virtual bool OpenCalendar();

    // Shows the invalid-date message for the current text in the mtDelphi or
    // mtWindows style; returns when the user has closed it.
    void ShowErrorMessage();
    // The same for a date outside MinDate-MaxDate: the range message with both
    // ends in the edit's layout.
    void ShowRangeMessage();
    // The same for a date OnDayDisabled refuses: its own message (string 305).
    void ShowDisabledDayMessage();

    // ---- published properties (in declaration order, with the popup's
    // settings from TQzCalendarSettings among them)
    bool AllowKeyEntry() const { return FAllowKeyEntry; }
    void SetAllowKeyEntry(bool Value);
    // Shows or hides the drop button; GlyphType can only change while it is on.
    bool CalendarEnabled() const { return FCalendarEnabled; }
    void SetCalendarEnabled(bool Value);
    // Two-digit years below CuspYear are 20xx, the others 19xx; 10-90 only.
    int CuspYear() const { return FCuspYear; }
    void SetCuspYear(int Value);
    // One of the twelve layouts, stored in lower case; anything else is ignored.
    const fw::String& DateFormat() const { return FDateFormat; }
    void SetDateFormat(const fw::String& Value);
    // Up to three "%s", each replaced by the text; empty restores the default.
    const fw::String& ErrorMessage() const { return FErrorMessage; }
    void SetErrorMessage(const fw::String& Value);
    const fw::String& ErrorMessageTitle() const { return FErrorMessageTitle; }
    void SetErrorMessageTitle(const fw::String& Value);
    TMessageTypes ErrorMessageType() const { return FErrorMessageType; }
    // The enumeration setters ignore a value outside their type.
    void SetErrorMessageType(TMessageTypes Value) {
        if (IsMessageType(Value)) FErrorMessageType = Value;
    }
    // The button's own glyph; assigning one copies it and makes GlyphType gtCustom.
    fw::TBitmap* GetGlyph() const;
    void SetGlyph(fw::TBitmap* Value);
    // The button's frame count: 1-3 with gtCustom, always 2 with a built-in glyph.
    int GetGlyphNum() const;
    void SetGlyphNum(int Value);
    TGlyphTypes GlyphType() const { return FGlyphType; }
    void SetGlyphType(TGlyphTypes Value);
    bool UseCentury() const { return FUseCentury; }
    void SetUseCentury(bool Value) { FUseCentury = Value; }
    // TwoDigitYearWindow (default 0: CuspYear and UseCentury decide, as ever):
    // 1-99 puts a typed one- or two-digit year in the hundred years that end
    // that many years after today's year (20 in 2026: 1947-2046), whatever
    // CuspYear and UseCentury say. Values outside 0-99 are ignored.
    int TwoDigitYearWindow() const { return FTwoDigitYearWindow; }
    void SetTwoDigitYearWindow(int Value);
    // MinDate and MaxDate also bound the exit check, which reports a typed date
    // outside them; SetDate from code is not limited.
    fw::TNotifyEvent OnCloseCalendar;
    fw::TNotifyEvent OnInvalidDate;
    fw::TNotifyEvent OnOpenCalendar;

    // The drop button (owned by and parented to the edit).
    TQzCalendarButton* CalendarButton() const { return FButton; }
    // The last exit check refused the text (cleared by the next one that passes).
    bool Refused() const { return FRefused; }
    // The popup this edit opened, while it shows; nullptr otherwise.
    TfrmQzCal* OpenPopup() const;

    void Dispatch(fw::TMessage& Message) override;

protected:
    // Adds WS_CLIPCHILDREN and gives the button the edit's enabled state.
    void CreateParams(fw::TCreateParams& Params) override;
    // Validates the text on leaving; see the class comment.
    void DoExit() override;
    // Delete/Backspace select all when keys are not allowed; Alt+Down opens the
    // calendar while it is enabled.
    void KeyDown(fw::Word& Key, fw::TShiftState Shift) override;
    // The key filter: digits, "/" and a few control characters pass.
    void KeyPress(fw::Char& Key) override;
    // Lays the button out as a square at the right end of the client area.
    void WMSize(fw::TMessage& Message);
    // Keeps the button's enabled state equal to the edit's.
    void WMEnable(fw::TMessage& Message);
    // Forgets the drop button if something else frees it.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    // An editable text described by its layout, invalid after a refused exit,
    // with the action that opens the calendar.
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;

    // The popup part of OpenCalendar, shared with descendants that open the
    // calendar their own way: makes the popup with this edit as owner, shows it
    // modally and, when a date was picked, takes it through SetDate (true). The
    // popup is freed on every path; an exception goes on to the caller. False
    // when a handler or a timer freed the edit (or the popup) meanwhile.
    bool RunCalendarPopup();

    // The text was empty or valid at the last exit (read by descendants).
    bool FDateValid = false;
    // Whether 30/12/1899 (day 0) is shown as a date on leaving; the plain edit
    // takes day 0 for "no date" and shows the empty text.
    virtual bool DayZeroIsADate() const { return false; }
    // Reports a refused text as ErrorMessageType says: a beep, nothing, or
    // ShowMessage (which shows its text through ShowMessageText).
    void ReportRefusal(const std::function<void()>& ShowMessage);
    // Shows a report in the mtDelphi or mtWindows style.
    void ShowMessageText(const fw::String& Message);

private:
    // The date in Text by DateFormat, with the year expanded when it was typed
    // with one or two digits (Expanded); false for any text IsValidDate rejects.
    bool ReadDate(std::string_view Text, int& Year, int& Month, int& Day, bool& Expanded) const;
    // The check of DoExit, after OnExit.
    void CheckExit();
    // SetDate for a value already split into its parts (0 when Value is 0).
    void ShowDate(fw::TDateTime Value, int Year, int Month, int Day);
    // Keeps Refused and tells the accessibility listeners of a change.
    void SetRefused(bool Value);

    fw::TDateTime FDate = 0;
    TQzCalendarButton* FButton = nullptr;
    bool FAllowKeyEntry = true;
    bool FCalendarEnabled = true;
    int FCuspYear = 30;
    fw::String FDateFormat = "dd/mm/yyyy";
    fw::String FErrorMessage;
    fw::String FErrorMessageTitle;
    TMessageTypes FErrorMessageType = mtDelphi;
    bool FRefused = false;
    TGlyphTypes FGlyphType = gtCustom;
    bool FUseCentury = false;
    int FTwoDigitYearWindow = 0;
};

// The calendar component: a non-visual holder of a date and the popup settings.
// OpenCalendar shows the popup calendar modally with its top-left corner at
// (CalendarLeft, CalendarTop) in the client coordinates of the component's owner
// (a control, in practice the form), and keeps the picked date.
class TQzCalendar : public fw::TComponent, public TQzCalendarSettings {
    FW_CLASS(TQzCalendar, fw::TComponent)

public:
    explicit TQzCalendar(fw::TComponent* AOwner);

    // The date; 0 (no date) after construction, which opens the popup on today.
    // Reading and writing it has no side effect.
    fw::TDateTime GetDate() const { return FDate; }
    void SetDate(fw::TDateTime Value) { FDate = Value; }
    fw::TDateTime Date() const { return FDate; }

    // Fires OnOpenCalendar, shows the popup modally and, when a date was picked,
    // takes it as Date (true) or leaves Date alone (false); then fires
    // OnCloseCalendar. An exception while the popup is made or shown frees it and
    // goes on to the caller without OnCloseCalendar.
    bool OpenCalendar();

    // ---- published properties besides the popup's settings
    int CalendarLeft() const { return FCalendarLeft; }
    void SetCalendarLeft(int Value) { FCalendarLeft = Value; }
    int CalendarTop() const { return FCalendarTop; }
    void SetCalendarTop(int Value) { FCalendarTop = Value; }
    fw::TNotifyEvent OnCloseCalendar;
    fw::TNotifyEvent OnOpenCalendar;

private:
    fw::TDateTime FDate = 0;
    int FCalendarLeft = 0;
    int FCalendarTop = 0;
};

// The data-aware date edit: a date edit bound to one field of a dataset through a
// field data link. It shows the field's text (the edit text while focused and
// modifiable, the display text otherwise, a two-digit year expanded as the exit
// check would), asks the dataset to enter edit mode when the user starts to change
// the text, and writes the text into the field when the user leaves with a valid
// (or empty) text. It is read-only whenever the link is not editing. While it does
// not have the focus and the bound field is right-aligned or centred, it paints
// its text itself with that alignment.
class TQzDBDateEdit : public TQzDateEdit {
    FW_CLASS(TQzDBDateEdit, TQzDateEdit)

public:
    explicit TQzDBDateEdit(fw::TComponent* AOwner);
    ~TQzDBDateEdit() override;

    // Fires OnOpenCalendar, asks the link to edit and, when it can, opens the
    // popup as the plain date edit does. When the link cannot edit (read-only
    // link or field, no field) it beeps and returns false without opening it.
    bool OpenCalendar() override;

    // Reloads the text from the field and selects all of it.
    void Reset();
    // Both ask the link to enter edit mode; true when it is editing afterwards.
    bool EditCanModify();
    bool StartEdit();

    // ---- published properties (after the date edit's)
    fw::TDataSource* GetDataSource() const;
    void SetDataSource(fw::TDataSource* Value);
    fw::String GetDataField() const;
    void SetDataField(const fw::String& Value);
    // The link's read-only switch; the edit's own read-only state follows the
    // link's editing state instead.
    bool GetReadOnly() const;
    void SetReadOnly(bool Value);
    bool ReadOnly() const { return GetReadOnly(); }

    // The bound field, or nullptr.
    fw::TField* GetField() const;
    fw::TField* Field() const { return GetField(); }

    // ---- read access for tests and tools
    fw::TFieldDataLink* DataLink() const { return FDataLink; }
    // The bound field's alignment as last seen (taLeftJustify when unbound).
    fw::TAlignment FieldAlignment() const { return FAlignment; }
    // True from entering the edit until an exit whose checks passed.
    bool FocusedState() const { return FFocused; }
    int TextMargin() const { return FTextMargin; }
    // Whether the canvas of the edit's own unfocused painting was ever made.
    bool HasPaintCanvas() const { return FCanvas != nullptr; }

    void Dispatch(fw::TMessage& Message) override;

protected:
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    // Every change of the text marks the link modified, then fires OnChange.
    void Change() override;
    // Delete and Shift+Insert ask the link to edit.
    void KeyDown(fw::Word& Key, fw::TShiftState Shift) override;
    // Accepted characters ask the link to edit (a character the field refuses
    // beeps); Escape reloads the field's value; everything else beeps.
    void KeyPress(fw::Char& Key) override;
    // The edit's answers, named by the field's display label where no label
    // names it, required with the field, read-only only where it cannot edit.
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;
    void CMEnter(fw::TMessage& Message) override;
    // The exit check, then the record update when the user changed the text;
    // see the .cpp.
    void CMExit(fw::TMessage& Message) override;
    // Day 0 is a date like any other in a database.
    bool DayZeroIsADate() const override { return true; }
    void CMFontChanged(fw::TMessage& Message) override;
    void WMCut(fw::TMessage& Message);
    void WMPaint(fw::TMessage& Message) override;
    void WMPaste(fw::TMessage& Message);

private:
    void DataChange(fw::TObject* Sender);
    void EditingChange(fw::TObject* Sender);
    void UpdateData(fw::TObject* Sender);
    void SetFocused(bool Value);
    void CalcTextMargin();

    fw::TFieldDataLink* FDataLink = nullptr;
    fw::TAlignment FAlignment = fw::taLeftJustify;
    fw::TControlCanvas* FCanvas = nullptr;
    bool FFocused = false;
    int FTextMargin = 0;
};

// The data-aware date label: shows one field of a dataset as a date laid out by
// DateFormat (one of the twelve layouts, "/" written as the date separator), or
// the field's display text when the value is not a date; a null field shows an
// empty text. It never writes to the data. A data-aware control grid paints it
// once per visible record.
class TQzDBDateText : public fw::TCustomLabel {
    FW_CLASS(TQzDBDateText, fw::TCustomLabel)

public:
    explicit TQzDBDateText(fw::TComponent* AOwner);
    ~TQzDBDateText() override;

    // The field's text while painted as a copy of another record; otherwise the
    // caption as the last data change set it.
    fw::String GetLabelText() const override;
    // Raises EDatabaseError (SDataSourceFixed) for True inside a data-aware
    // control grid.
    void SetAutoSize(bool Value) override;

    // ---- published properties
    const fw::String& DateFormat() const { return FDateFormat; }
    // Accepts the twelve layouts in any case; the shown text follows from the
    // next data change on.
    void SetDateFormat(const fw::String& Value);
    fw::TDataSource* GetDataSource() const;
    void SetDataSource(fw::TDataSource* Value);
    fw::String GetDataField() const;
    void SetDataField(const fw::String& Value);

    fw::TField* GetField() const;
    fw::TField* Field() const { return GetField(); }
    fw::TFieldDataLink* DataLink() const { return FDataLink; }

    void Dispatch(fw::TMessage& Message) override;

protected:
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    // Answers with the data link (the control grid asks for it).
    void CMGetDataLink(fw::TMessage& Message);
    // A label described by the field's display label.
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;

private:
    void DataChange(fw::TObject* Sender);
    fw::String GetFieldText() const;

    fw::TFieldDataLink* FDataLink = nullptr;
    fw::String FDateFormat = "dd/mm/yyyy";
};

} // namespace qz
