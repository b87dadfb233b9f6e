#pragma once
// The date controls: the date edit TQzDateEdit and its drop button TQzCalendarButton.
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
#include <framework/graphics/Bitmap.h>
#include <framework/graphics/Color.h>

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
};

class TQzDateEdit : public fw::TEdit {
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

    // ---- published properties (in declaration order)
    bool AllowKeyEntry() const { return FAllowKeyEntry; }
    void SetAllowKeyEntry(bool Value);
    const fw::String& CalendarCaption() const { return FCalendarCaption; }
    void SetCalendarCaption(const fw::String& Value) { FCalendarCaption = Value; }
    // Shows or hides the drop button; GlyphType can only change while it is on.
    bool CalendarEnabled() const { return FCalendarEnabled; }
    void SetCalendarEnabled(bool Value);
    bool CalendarFillPage() const { return FCalendarFillPage; }
    void SetCalendarFillPage(bool Value) { FCalendarFillPage = Value; }
    TCalendarStyles CalendarStyle() const { return FCalendarStyle; }
    // The enumeration setters ignore a value outside their type.
    void SetCalendarStyle(TCalendarStyles Value) {
        if (IsCalendarStyle(Value)) FCalendarStyle = Value;
    }
    fw::TColor CalendarWeekendColor() const { return FCalendarWeekendColor; }
    void SetCalendarWeekendColor(fw::TColor Value) { FCalendarWeekendColor = Value; }
    TWeekStart CalendarWeekStart() const { return FCalendarWeekStart; }
    void SetCalendarWeekStart(TWeekStart Value) {
        if (IsWeekStart(Value)) FCalendarWeekStart = Value;
    }
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

    fw::TNotifyEvent OnCloseCalendar;
    fw::TNotifyEvent OnInvalidDate;
    fw::TNotifyEvent OnOpenCalendar;

    // The drop button (owned by and parented to the edit).
    TQzCalendarButton* CalendarButton() const { return FButton; }

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
    void KeyPress(char& Key) override;
    // Lays the button out as a square at the right end of the client area.
    void WMSize(fw::TMessage& Message);
    // Keeps the button's enabled state equal to the edit's.
    void WMEnable(fw::TMessage& Message);
    // Forgets the drop button if something else frees it.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

    // The popup part of OpenCalendar, shared with descendants that open the
    // calendar their own way: makes the popup with this edit as owner, shows it
    // modally and, when a date was picked, takes it through SetDate (true). The
    // popup is freed on every path; an exception goes on to the caller.
    bool RunCalendarPopup();

    // The text was empty or valid at the last exit (read by descendants).
    bool FDateValid = false;

private:
    // The date in Text by DateFormat, with the year expanded when it was typed
    // with one or two digits (Expanded); false for any text IsValidDate rejects.
    bool ReadDate(std::string_view Text, int& Year, int& Month, int& Day, bool& Expanded) const;

    fw::TDateTime FDate = 0;
    TQzCalendarButton* FButton = nullptr;
    bool FAllowKeyEntry = true;
    bool FCalendarEnabled = true;
    TCalendarStyles FCalendarStyle = csStandard;
    fw::String FCalendarCaption;
    int FCuspYear = 30;
    fw::String FDateFormat = "dd/mm/yyyy";
    fw::String FErrorMessage;
    fw::String FErrorMessageTitle;
    TMessageTypes FErrorMessageType = mtDelphi;
    bool FCalendarFillPage = true;
    TGlyphTypes FGlyphType = gtCustom;
    bool FUseCentury = false;
    fw::TColor FCalendarWeekendColor = fw::clBtnText;
    TWeekStart FCalendarWeekStart = wsSunday;
};

// The calendar component: a non-visual holder of a date and the popup settings.
// OpenCalendar shows the popup calendar modally with its top-left corner at
// (CalendarLeft, CalendarTop) in the client coordinates of the component's owner
// (a control, in practice the form), and keeps the picked date.
class TQzCalendar : public fw::TComponent {
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

    // ---- published properties (in declaration order); the setters only store
    // (a value outside its enumeration is ignored)
    const fw::String& CalendarCaption() const { return FCalendarCaption; }
    void SetCalendarCaption(const fw::String& Value) { FCalendarCaption = Value; }
    bool CalendarFillPage() const { return FCalendarFillPage; }
    void SetCalendarFillPage(bool Value) { FCalendarFillPage = Value; }
    TCalendarStyles CalendarStyle() const { return FCalendarStyle; }
    void SetCalendarStyle(TCalendarStyles Value) {
        if (IsCalendarStyle(Value)) FCalendarStyle = Value;
    }
    fw::TColor CalendarWeekendColor() const { return FCalendarWeekendColor; }
    void SetCalendarWeekendColor(fw::TColor Value) { FCalendarWeekendColor = Value; }
    TWeekStart CalendarWeekStart() const { return FCalendarWeekStart; }
    void SetCalendarWeekStart(TWeekStart Value) {
        if (IsWeekStart(Value)) FCalendarWeekStart = Value;
    }
    int CalendarLeft() const { return FCalendarLeft; }
    void SetCalendarLeft(int Value) { FCalendarLeft = Value; }
    int CalendarTop() const { return FCalendarTop; }
    void SetCalendarTop(int Value) { FCalendarTop = Value; }
    fw::TNotifyEvent OnCloseCalendar;
    fw::TNotifyEvent OnOpenCalendar;

private:
    fw::TDateTime FDate = 0;
    TCalendarStyles FCalendarStyle = csStandard;
    fw::String FCalendarCaption;
    bool FCalendarFillPage = true;
    fw::TColor FCalendarWeekendColor = fw::clBtnText;
    TWeekStart FCalendarWeekStart = wsSunday;
    int FCalendarLeft = 0;
    int FCalendarTop = 0;
};

} // namespace qz
