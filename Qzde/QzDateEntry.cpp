// The date edit's text entry: the key filter, the validation of a date text with
// its two-digit-year expansion, and the check and report when the user leaves.

#include <QzComponents5/QzModule.h>
#include <Qzde/QzDateControls.h>
#include <Qzde/QzDateRoutines.h>
#include <framework/classes/ComponentRef.h>
#include <framework/forms/Application.h>
#include <framework/forms/Dialogs.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/Format.h>
#include <framework/rtl/SysUtils.h>

namespace qz {

namespace {

// Characters the edit lets through while typing is allowed: the date's own,
// Backspace, Escape and the edit's shortcuts (copy, paste, cut, select all, undo).
// Any other character, of whatever length in UTF-8, is one refused key.
bool IsDateCharacter(fw::Char Key) {
    return Key == '/' || (Key >= '0' && Key <= '9') || Key == fw::CtrlA || Key == fw::CtrlC ||
           Key == fw::CharBackspace || Key == fw::CtrlV || Key == fw::CtrlX || Key == fw::CtrlZ ||
           Key == fw::CharEscape;
}

// String table entries of the range messages: both ends, only the first, only the last.
constexpr int RangeMessageResource = 302;
constexpr int EarliestMessageResource = 303;
constexpr int LatestMessageResource = 304;
// ... and of a day OnDayDisabled refuses.
constexpr int DisabledDayMessageResource = 305;

void Beep() {
    fw::MessageBeep(fw::MB_OK);
}

// The four-digit year of a one- or two-digit typed year. A window of 1-99
// takes the year ending in those digits among the hundred that end Window
// years after today's; 0 keeps the classic rule.
int ExpandYear(int Year, bool UseCentury, int CuspYear, int Window) {
    if (Window > 0) {
        fw::Word Y = 0, M = 0, D = 0;
        fw::DecodeDate(fw::Date(), Y, M, D);
        const int Last = Y + Window;
        const int Candidate = Last - Last % 100 + Year;
        return Candidate > Last ? Candidate - 100 : Candidate;
    }
    if (UseCentury) {
        fw::Word Y = 0, M = 0, D = 0;
        fw::DecodeDate(fw::Date(), Y, M, D);
        return Year + Y / 100 * 100;
    }
    return Year + (Year < CuspYear ? 2000 : 1900);
}

} // namespace

// ---------------------------------------------------------------- key filter

void TQzDateEdit::KeyDown(fw::Word& Key, fw::TShiftState Shift) {
    // Without typing, Delete and Backspace take the whole text away.
    if (!FAllowKeyEntry && (Key == fw::VK_DELETE || Key == fw::VK_BACK)) SelectAll();
    // A switched-off calendar does not open from the keyboard either.
    if (Shift.Contains(fw::ssAlt) && Key == fw::VK_DOWN && FCalendarEnabled) {
        fw::TComponentRef<TQzDateEdit> Self(this);
        OpenCalendar();
        // Freed by a handler of the calendar: the key is used up.
        if (!Self) {
            Key = 0;
            return;
        }
    }
    inherited::KeyDown(Key, Shift);
}

void TQzDateEdit::KeyPress(fw::Char& Key) {
    // OnKeyPress sees the key first and may change it; the filter judges the result.
    inherited::KeyPress(Key);
    if (FAllowKeyEntry) {
        if (IsDateCharacter(Key)) return;
        Beep();
        Key = 0;
        return;
    }
    // Without typing only Backspace (which clears the selected text) passes;
    // Escape is swallowed quietly, everything else with a beep.
    if (Key == fw::CharBackspace) return;
    if (Key != fw::CharEscape) Beep();
    Key = 0;
}

// ---------------------------------------------------------------- validation

bool TQzDateEdit::ReadDate(std::string_view Text, int& Year, int& Month, int& Day, bool& Expanded) const {
    // Each part is decimal digits only: a sign or a blank (a paste, or code)
    // makes the text invalid instead of being read as a number.
    std::size_t YearDigits = 0;
    if (!ReadDateDigits(Text, FDateFormat, Year, Month, Day, YearDigits)) return false;
    // The month length uses the year as typed, before any expansion.
    const int Days = DaysInMonth(Month, Year);
    if (Day == 0 || Days == 0 || Day > Days) return false;
    Expanded = YearDigits <= 2;
    if (!Expanded) return Year >= 1 && Year <= 9999; // taken as typed
    Year = ExpandYear(Year, FUseCentury, FCuspYear, FTwoDigitYearWindow);
    // 29 February of a typed leap year such as 00 may not exist once expanded.
    return Year >= 1 && Year <= 9999 && Day <= DaysInMonth(Month, Year);
}

bool TQzDateEdit::IsValidDate(fw::String& Text) const {
    int Year = 0, Month = 0, Day = 0;
    bool Expanded = false;
    if (!ReadDate(Text, Year, Month, Day, Expanded)) return false;
    // Only a one- or two-digit year is rewritten, so a normalised text stays as it is.
    if (Expanded) FormatDateByPattern(Year, Month, Day, FDateFormat, Text);
    return true;
}

// ---------------------------------------------------------------- leaving the edit

void TQzDateEdit::DoExit() {
    // OnExit sees the raw text. The check runs even when OnExit raises (the
    // framework then keeps the focus here), so an invalid text is never kept
    // silently; the exception goes on after the check.
    fw::TComponentRef<TQzDateEdit> Self(this);
    fw::TAllSteps Steps;
    Steps.Run([&] { inherited::DoExit(); });
    if (Self) Steps.Run([&] { CheckExit(); });
    Steps.Rethrow();
}

void TQzDateEdit::CheckExit() {
    if (Text().empty()) {
        // The user cleared the field: no date any more. The text is empty
        // already, so nothing changes that OnChange would report.
        FDateValid = true;
        FDate = 0;
        SetRefused(false);
        return;
    }
    int Year = 0, Month = 0, Day = 0;
    bool Expanded = false;
    fw::TDateTime Value = 0;
    // Every text ReadDate accepts is a date of the years 1-9999.
    bool OutOfRange = false;
    bool Refused = false;
    if (ReadDate(Text(), Year, Month, Day, Expanded) && fw::TryEncodeDate(Year, Month, Day, Value)) {
        OutOfRange = !Range().Contains(Value);
        Refused = !OutOfRange && DayDisabled(this, Value);
        if (!OutOfRange && !Refused) {
            FDateValid = true;
            SetRefused(false);
            ShowDate(Value, Year, Month, Day);
            return;
        }
    }
    FDateValid = false;
    SetRefused(true);
    SelectAll();
    // The focus comes back and the handler runs; either may free the edit.
    // Each step runs even when an earlier handler raised (OnEnter as the focus
    // comes back), so the text is always reported; the first exception goes on.
    fw::TComponentRef<TQzDateEdit> Self(this);
    fw::TAllSteps Steps;
    if (CanFocus()) Steps.Run([&] { SetFocus(); });
    if (Self && OnInvalidDate) Steps.Run([&] { OnInvalidDate(this); });
    if (Self)
        Steps.Run([&] {
            ReportRefusal([&] {
                if (OutOfRange)
                    ShowRangeMessage();
                else if (Refused)
                    ShowDisabledDayMessage();
                else
                    ShowErrorMessage();
            });
        });
    Steps.Rethrow();
}

void TQzDateEdit::ReportRefusal(const std::function<void()>& ShowMessage) {
    switch (FErrorMessageType) {
    case mtBeep:
        Beep();
        break;
    case mtSilent:
        break;
    case mtDelphi:
    case mtWindows:
        ShowMessage();
        break;
    }
}

void TQzDateEdit::ShowErrorMessage() {
    fw::String Message;
    try {
        Message = fw::Format(FErrorMessage, {Text(), Text(), Text()});
    } catch (const fw::EConvertError&) {
        // A message the formatter cannot read (a stray "%d", four "%s") is shown
        // as written rather than turning an invalid date into an error.
        Message = FErrorMessage;
    }
    ShowMessageText(Message);
}

void TQzDateEdit::ShowRangeMessage() {
    // Both ends in the edit's own layout; an open end leaves its part out.
    const TDateRange R = Range();
    const fw::String Typed = Text();
    fw::String Message;
    if (R.HasMin && R.HasMax)
        Message = fw::Format(LoadStr(RangeMessageResource), {Typed, FormatDateByPattern(R.Min, FDateFormat),
                                                             FormatDateByPattern(R.Max, FDateFormat)});
    else if (R.HasMin)
        Message =
            fw::Format(LoadStr(EarliestMessageResource), {Typed, FormatDateByPattern(R.Min, FDateFormat)});
    else
        Message =
            fw::Format(LoadStr(LatestMessageResource), {Typed, FormatDateByPattern(R.Max, FDateFormat)});
    ShowMessageText(Message);
}

void TQzDateEdit::ShowDisabledDayMessage() {
    ShowMessageText(fw::Format(LoadStr(DisabledDayMessageResource), {Text()}));
}

void TQzDateEdit::ShowMessageText(const fw::String& Message) {
    if (FErrorMessageType == mtDelphi)
        fw::MessageDlg(Message, fw::mtError, {fw::mbOK}, 0);
    else
        fw::Application->MessageBox(Message, FErrorMessageTitle, fw::MB_OK | fw::MB_ICONSTOP);
}

} // namespace qz
