// The date edit: construction, published properties and their setters, the date
// value, and the opening of the calendar.

#include <QzComponents5/QzModule.h>
#include <Qzde/QzDateControls.h>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/DateUtils.h>
#include <memory>

namespace qz {

namespace {

// String table entries of the package module.
constexpr int ErrorMessageResource = 300;      // "'%s' is not a valid date!"
constexpr int ErrorMessageTitleResource = 301; // "Invalid Date!"

} // namespace

FW_PUBLISH(TQzDateEdit) {
    cls.Bool("AllowKeyEntry", &TQzDateEdit::AllowKeyEntry, &TQzDateEdit::SetAllowKeyEntry, true);
    cls.Str("CalendarCaption", &TQzDateEdit::CalendarCaption, &TQzDateEdit::SetCalendarCaption);
    cls.Bool("CalendarEnabled", &TQzDateEdit::CalendarEnabled, &TQzDateEdit::SetCalendarEnabled, true);
    cls.Bool("CalendarFillPage", &TQzDateEdit::CalendarFillPage, &TQzDateEdit::SetCalendarFillPage, true);
    cls.Enum("CalendarStyle", &TQzDateEdit::CalendarStyle, &TQzDateEdit::SetCalendarStyle,
             CalendarStyleIdents(), csStandard);
    cls.Color("CalendarWeekendColor", &TQzDateEdit::CalendarWeekendColor,
              &TQzDateEdit::SetCalendarWeekendColor, fw::clBtnText);
    cls.Enum("CalendarWeekStart", &TQzDateEdit::CalendarWeekStart, &TQzDateEdit::SetCalendarWeekStart,
             WeekStartIdents(), wsSunday);
    cls.Int("CuspYear", &TQzDateEdit::CuspYear, &TQzDateEdit::SetCuspYear, 30);
    cls.Str("DateFormat", &TQzDateEdit::DateFormat, &TQzDateEdit::SetDateFormat);
    cls.Str("ErrorMessage", &TQzDateEdit::ErrorMessage, &TQzDateEdit::SetErrorMessage);
    cls.Str("ErrorMessageTitle", &TQzDateEdit::ErrorMessageTitle, &TQzDateEdit::SetErrorMessageTitle);
    cls.Enum("ErrorMessageType", &TQzDateEdit::ErrorMessageType, &TQzDateEdit::SetErrorMessageType,
             {"mtDelphi", "mtWindows", "mtBeep", "mtSilent"}, mtDelphi);
    // A built-in picture comes from the module's resources on loading (through
    // GlyphType); only the developer's own picture is stored.
    cls.Object("Glyph", &TQzDateEdit::GetGlyph).StoredIf([](const fw::TObject* o) {
        const auto* Edit = static_cast<const TQzDateEdit*>(o);
        return Edit->GlyphType() == gtCustom && Edit->GetGlyph() != nullptr && !Edit->GetGlyph()->Empty();
    });
    cls.Int("GlyphNum", &TQzDateEdit::GetGlyphNum, &TQzDateEdit::SetGlyphNum, 2);
    // A switched-off calendar refuses a new picture, so its picture is not
    // stored: the file reads back to the same text.
    cls.Enum("GlyphType", &TQzDateEdit::GlyphType, &TQzDateEdit::SetGlyphType,
             {"gtCustom", "gtNone", "gtEllipsis", "gtDropArrow", "gtDropArrowSml", "gtCalendar1",
              "gtCalendar2", "gtCalendar3"},
             gtCustom)
        .StoredIf(&TQzDateEdit::CalendarEnabled);
    cls.Bool("UseCentury", &TQzDateEdit::UseCentury, &TQzDateEdit::SetUseCentury, false);
    // The optional features come last: a property list keeps its old rows.
    cls.SetOf("CalendarOptions", &TQzDateEdit::CalendarOptions, &TQzDateEdit::SetCalendarOptions,
              CalendarOptionIdents(), TCalendarOptions{});
    cls.Float("MaxDate", &TQzDateEdit::MaxDate, &TQzDateEdit::SetMaxDate, 0.0);
    cls.Float("MinDate", &TQzDateEdit::MinDate, &TQzDateEdit::SetMinDate, 0.0);
    cls.Int("TwoDigitYearWindow", &TQzDateEdit::TwoDigitYearWindow, &TQzDateEdit::SetTwoDigitYearWindow, 0);
    cls.Event("OnCloseCalendar", &TQzDateEdit::OnCloseCalendar);
    cls.Event("OnInvalidDate", &TQzDateEdit::OnInvalidDate);
    cls.Event("OnOpenCalendar", &TQzDateEdit::OnOpenCalendar);
    cls.Event("OnDayDisabled", &TQzDateEdit::OnDayDisabled);
    cls.Event("OnDayStyle", &TQzDateEdit::OnDayStyle);
}

TQzDateEdit::TQzDateEdit(fw::TComponent* AOwner) : inherited(AOwner) {
    SetHeight(20);
    SetColor(fw::clWindow);
    Font()->SetColor(fw::clWindowText);
    // The other settings start at their defaults (see the field initialisers);
    // the two texts come from the string table.
    SetErrorMessage("");
    SetErrorMessageTitle("");
    FButton = new TQzCalendarButton(this);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetNumGlyphs(2);
}

TQzDateEdit::~TQzDateEdit() {
    // The button is an owned child: it goes with the edit, while the edit is still whole.
    FButton = nullptr;
    PrepareDestroy();
}

void TQzDateEdit::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == fw::opRemove && AComponent == FButton) FButton = nullptr;
}

void TQzDateEdit::Dispatch(fw::TMessage& Message) {
    switch (Message.Msg) {
    case fw::WM_SIZE:
        WMSize(Message);
        break;
    case fw::WM_ENABLE:
        WMEnable(Message);
        break;
    case fw::WM_PASTE:
    case fw::WM_CUT:
    case fw::WM_UNDO:
    case fw::EM_UNDO:
    case fw::WM_IME_COMPOSITION:
        // Without typing, no clipboard path (Shift+Insert, Shift+Delete, the
        // middle button, the messages themselves), no undo and no input
        // method changes the text; Ctrl+V, Ctrl+X and Ctrl+Z are refused by
        // the key filter already.
        if (FAllowKeyEntry) inherited::Dispatch(Message);
        break;
    default:
        inherited::Dispatch(Message);
        break;
    }
}

void TQzDateEdit::CreateParams(fw::TCreateParams& Params) {
    inherited::CreateParams(Params);
    // Keeps the edit's own painting out of the button's area.
    Params.Style |= fw::WS_CLIPCHILDREN;
    if (FButton) FButton->SetEnabled(Enabled());
}

// ---------------------------------------------------------------- the date

void TQzDateEdit::SetDate(fw::TDateTime Value) {
    // Only 0 is no date. Any date of the years 1-9999 shows its text, also
    // before 1900, so the edit never holds a date it does not show; a value no
    // text can show (beyond those years, infinite, not a number) is no date.
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(Value, Year, Month, Day);
    if (Value == 0) Year = 0; // no date, also where the exit check takes day 0 for a date
    ShowDate(Year == 0 ? 0 : Value, Year, Month, Day);
}

void TQzDateEdit::ShowDate(fw::TDateTime Value, int Year, int Month, int Day) {
    FDate = Value;
    SetModified(true);
    fw::String Shown;
    if (Value != 0 || (Year != 0 && DayZeroIsADate()))
        FormatDateByPattern(Year, Month, Day, FDateFormat, Shown);
    // The exit of an edit that shows its date already writes the same text:
    // that is no change, and costs no trip through the edit's text handling.
    if (Shown != Text()) SetText(Shown);
}

// ---------------------------------------------------------------- setters

void TQzDateEdit::SetAllowKeyEntry(bool Value) {
    if (Value == FAllowKeyEntry) return;
    FAllowKeyEntry = Value;
    // Neither typing nor the calendar: the edit could take no date at all.
    if (!FAllowKeyEntry && !FCalendarEnabled) SetCalendarEnabled(true);
}

void TQzDateEdit::SetTwoDigitYearWindow(int Value) {
    if (Value >= 0 && Value <= 99) FTwoDigitYearWindow = Value;
}

void TQzDateEdit::SetCuspYear(int Value) {
    if (Value == FCuspYear || Value < 10 || Value > 90) return;
    FCuspYear = Value;
}

void TQzDateEdit::SetDateFormat(const fw::String& Value) {
    if (Value == FDateFormat) return;
    fw::String Accepted = AcceptDateFormat(Value);
    if (Accepted.empty()) return;
    FDateFormat = std::move(Accepted);
    // The text keeps its old layout until the next SetDate.
    Invalidate();
}

void TQzDateEdit::SetErrorMessage(const fw::String& Value) {
    FErrorMessage = Value.empty() ? LoadStr(ErrorMessageResource) : Value;
}

void TQzDateEdit::SetErrorMessageTitle(const fw::String& Value) {
    FErrorMessageTitle = Value.empty() ? LoadStr(ErrorMessageTitleResource) : Value;
}

// ---------------------------------------------------------------- the calendar

bool TQzDateEdit::OpenCalendar() {
    // A read-only edit takes no date from the calendar. The guard sits here, not
    // in the key or button handling, so that a descendant with its own
    // OpenCalendar decides for itself.
    if (ReadOnly()) return false;
    // Any handler (or a timer while the popup is open) may free the edit; the
    // popup goes with it, its modal loop ends and nothing here touches either.
    fw::TComponentRef<TQzDateEdit> Self(this);
    bool Result = false;
    try {
        if (OnOpenCalendar) OnOpenCalendar(this);
        if (Self) Result = RunCalendarPopup();
    } catch (...) {
        // The focus comes back from the drop button even when a handler raised.
        if (Self && CanFocus()) SetFocus();
        throw;
    }
    if (!Self) return false;
    if (CanFocus()) SetFocus();
    if (Self && OnCloseCalendar) OnCloseCalendar(this);
    return Result;
}

bool TQzDateEdit::RunCalendarPopup() {
    return TfrmQzCal::Run(this, [this](fw::TDateTime Picked) { SetDate(Picked); });
}

} // namespace qz
