// The calendar popup's input: keys, the mouse on the grid and the navigation buttons,
// stepping the selected date, the button delay, and accepting or cancelling.

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <Qzde/QzDateRoutines.h>
#include <cmath>
#include <framework/classes/ComponentRef.h>
#include <framework/forms/Application.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Messages.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Exceptions.h>

namespace qz {

namespace {

// How long a pressed navigation button shows its red arrow before it steps.
constexpr fw::Word ButtonDelay = 60;

// T selects today when the popup marks it.
constexpr fw::Word TodayKey = 'T';
// One notch of the mouse wheel.
constexpr int WheelNotch = 120;

constexpr int FirstYear = 1;
constexpr int LastYear = 9999;

// The keys that step the selected date.
constexpr struct {
    fw::Word Key;
    TAdjustAmounts Amount;
} KeySteps[] = {{fw::VK_PRIOR, aaMonthPrev}, {fw::VK_NEXT, aaMonthNext}, {fw::VK_END, aaYearNext},
                {fw::VK_HOME, aaYearPrev},   {fw::VK_LEFT, aaDayPrev},   {fw::VK_UP, aaWeekPrev},
                {fw::VK_RIGHT, aaDayNext},   {fw::VK_DOWN, aaWeekNext}};

} // namespace

// ---------------------------------------------------------------- ending

void TfrmQzCal::FormCancel(fw::TObject*) {
    FSelecting = false;
    SetModalResult(fw::mrCancel);
}

void TfrmQzCal::RestoreOwnerText() {
    if (FTextRestored) return;
    FTextRestored = true;
    // The date the edit held at opening, written as the edit writes it (always
    // "/"); empty when it held none.
    if (TQzDateEdit* Edit = DateEditOwner())
        Edit->SetText(FOriginalDate == 0 ? fw::String()
                                         : FormatDateByPattern(FOriginalDate, FOwnerDateFormat));
}

void TfrmQzCal::CancelPopup() {
    // The popup ends even when the edit's OnChange raises during the restore;
    // the exception goes on afterwards. An OnChange that frees the edit frees
    // the popup with it: nothing here touches it then.
    fw::TComponentRef<TfrmQzCal> Self(this);
    fw::TAllSteps Steps;
    Steps.Run([&] { RestoreOwnerText(); });
    if (!Self) {
        Steps.Rethrow();
        return;
    }
    FSelecting = false;
    FormCancel(this);
    Steps.Rethrow();
}

void TfrmQzCal::FormClose(fw::TObject*, fw::TCloseAction&) {
    // Escape and the right button restored the text already; the close box of a
    // dialog popup (or anything else ending it with mrCancel) restores it here.
    if (ModalResult() == fw::mrCancel) RestoreOwnerText();
}

// ---------------------------------------------------------------- keyboard

void TfrmQzCal::FormKeyDown(fw::TObject*, fw::Word& Key, fw::TShiftState Shift) {
    if (FView != cvDays) {
        // The zoomed views: arrows move the focus (a row is four cells), Page
        // Up and Down a page, Enter chooses, Escape goes back to the days.
        const int Page = FView == cvMonths ? 12 : 10;
        switch (Key) {
        case fw::VK_RETURN: ZoomIn(); break;
        case fw::VK_ESCAPE: ZoomCancel(); break;
        case fw::VK_LEFT: ZoomStep(-1); break;
        case fw::VK_RIGHT: ZoomStep(1); break;
        case fw::VK_UP:
            if (Shift.Contains(fw::ssCtrl))
                ZoomOut();
            else
                ZoomStep(-4);
            break;
        case fw::VK_DOWN: ZoomStep(4); break;
        case fw::VK_PRIOR: ZoomStep(-Page); break;
        case fw::VK_NEXT: ZoomStep(Page); break;
        default: break;
        }
        return;
    }
    if (Key == fw::VK_UP && Shift.Contains(fw::ssCtrl) && FOptions.Contains(coZoomViews)) {
        ZoomOut();
        return;
    }
    if (Key == fw::VK_RETURN) {
        SetModalResult(fw::mrOk);
        return;
    }
    if (Key == fw::VK_ESCAPE) {
        CancelPopup();
        return;
    }
    for (const auto& Step : KeySteps)
        if (Step.Key == Key) {
            AdjustCalendar(Step.Amount);
            return;
        }
    if (Key == TodayKey && (FOptions.Contains(coShowToday) || FOptions.Contains(coTodayButton))) SelectToday();
}

void TfrmQzCal::SelectToday() {
    if (FView != cvDays) {
        // From a zoomed view: back to the days on today's month.
        FView = cvDays;
        Refresh();
    }
    // Today, or the nearest permitted day to it.
    fw::TDateTime Today = FRange.Clamp(std::floor(fw::Date()));
    if (FOnDayDisabled && !NextAllowedDay(Today, 1, Today) && !NextAllowedDay(Today, -1, Today)) return;
    if (Today != std::floor(FDate) || FMonthShift != 0) MoveSelection(Today);
}

void TfrmQzCal::ClearDate() {
    FDate = 0;
    FCleared = true;
    SetModalResult(fw::mrOk);
}

bool TfrmQzCal::FootButtonDown(int X, int Y) {
    if (HitTest(FTodayButtonRect, X, Y) && FOptions.Contains(coTodayButton)) {
        SelectToday();
        return true;
    }
    if (HitTest(FClearButtonRect, X, Y) && FOptions.Contains(coClearButton)) {
        ClearDate();
        return true;
    }
    return false;
}

void TfrmQzCal::Dispatch(fw::TMessage& Message) {
    // A click outside the popup (CM_CANCELMODE, from the input routing) or the
    // loss of the desktop's activation (CM_DEACTIVATE) ends it as Escape does
    // when the opener asked for it; the click is then taken.
    if ((Message.Msg == fw::CM_CANCELMODE || Message.Msg == fw::CM_DEACTIVATE) &&
        FOptions.Contains(coCloseOnClickOutside)) {
        if (ModalResult() == fw::mrNone) CancelPopup();
        Message.Result = 1;
        return;
    }
    inherited::Dispatch(Message);
}

void TfrmQzCal::WMMouseWheel(fw::TMessage& Message) {
    if (!FOptions.Contains(coWheelPaging)) {
        inherited::WMMouseWheel(Message);
        return;
    }
    // A notch is 120; finer wheels add up. Away from the user goes back.
    FWheelRest += static_cast<std::int16_t>((Message.WParam >> 16) & 0xFFFF);
    const bool Years = (Message.WParam & fw::MK_CONTROL) != 0;
    Message.Result = 0;
    while (FWheelRest >= WheelNotch || FWheelRest <= -WheelNotch) {
        const bool Back = FWheelRest > 0;
        FWheelRest += Back ? -WheelNotch : WheelNotch;
        if (ModalResult() != fw::mrNone || FView != cvDays) continue;
        AdjustCalendar(Years ? (Back ? aaYearPrev : aaYearNext) : (Back ? aaMonthPrev : aaMonthNext));
    }
}

// ---------------------------------------------------------------- mouse

bool TfrmQzCal::SelectCell(int Index) {
    fw::Word Year = 0, Month = 0;
    DisplayedMonth(Year, Month);
    const int Side = CellSide(Index);
    if (Side < 0) AdjustMonthYear(Month, Year, ddBackward);
    if (Side > 0) AdjustMonthYear(Month, Year, ddForward);
    // A neighbouring month beyond the years 1-9999 has no dates: nothing to select.
    fw::TDateTime NewDate = 0;
    if (!fw::TryEncodeDate(Year, Month, DayNumbers(Index), NewDate)) return false;
    FPrevSelIndex = FSelIndex;
    FDate = NewDate;
    FMonthShift = Side;
    FSelIndex = Index;
    DrawSelector();
    return true;
}

void TfrmQzCal::FormMouseDown(fw::TObject*, fw::TMouseButton Button, fw::TShiftState, int X, int Y) {
    if (Button == fw::mbRight) {
        CancelPopup();
        return;
    }
    if (FOptions.Contains(coZoomViews) && (FView != cvDays || HitTest(FTitleRect, X, Y))) {
        ZoomMouseDown(X, Y);
        return;
    }
    // Showing a date writes the edit's text, and its OnChange (or anything
    // while the button waits) may free the edit and this popup with it.
    fw::TComponentRef<TfrmQzCal> Self(this);
    if (HitTest(FGridRect, X, Y)) {
        FSelecting = true;
        const int Index = FindArrayIndex(X, Y);
        // An empty cell, a day outside the permitted range, or one without a
        // date starts nothing.
        if ((!FFillPage && CellSide(Index) != 0) || !CellAllowed(Index) || !SelectCell(Index))
            if (Self) FSelecting = false;
        return;
    }
    if (FootButtonDown(X, Y)) return;
    const struct {
        TCalButtons Button;
        TAdjustAmounts Amount;
    } Buttons[] = {{cbMonthPrev, aaMonthPrev},
                   {cbMonthNext, aaMonthNext},
                   {cbYearPrev, aaYearPrev},
                   {cbYearNext, aaYearNext}};
    for (const auto& B : Buttons) {
        if (!HitTest(FButtonRect[B.Button], X, Y)) continue;
        // A step that would leave the permitted range: the button is disabled.
        if (!ButtonEnabled(B.Button)) return;
        DrawButton(B.Button, true);
        Delay(ButtonDelay);
        if (!Self) return;
        // A popup accepted or cancelled during the wait takes no step: after a
        // cancel the edit keeps its restored text.
        if (ModalResult() == fw::mrNone) AdjustCalendar(B.Amount);
        // Up again whatever the step did: a step that changes nothing (at the
        // ends of the years 1-9999) repaints nothing.
        if (Self) DrawButton(B.Button, false);
        return;
    }
}

void TfrmQzCal::FormMouseMove(fw::TObject*, fw::TShiftState, int X, int Y) {
    if (FView != cvDays) return;
    // A marked day's hint is the popup's hint while the pointer is on it.
    if (FOnDayStyle) {
        const fw::String DayHint = HitTest(FGridRect, X, Y) ? CellStyle(FindArrayIndex(X, Y)).Hint : fw::String();
        if (DayHint != Hint()) SetHint(DayHint);
    }
    if (!FSelecting || !HitTest(FGridRect, X, Y)) return;
    const int Index = FindArrayIndex(X, Y);
    if (Index == FSelIndex) return;
    if (!FFillPage && CellSide(Index) != 0) return;
    if (!CellAllowed(Index)) return;
    SelectCell(Index);
}

void TfrmQzCal::FormMouseUp(fw::TObject*, fw::TMouseButton, fw::TShiftState, int X, int Y) {
    if (!FSelecting) return;
    FSelecting = false;
    if (HitTest(FGridRect, X, Y)) SetModalResult(fw::mrOk);
}

// ---------------------------------------------------------------- stepping

bool TfrmQzCal::StepDate(TAdjustAmounts Amount, fw::TDateTime& NewDate) const {
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(FDate, Year, Month, Day);
    switch (Amount) {
    case aaDayPrev:
    case aaDayNext:
    case aaWeekPrev:
    case aaWeekNext: {
        // On the stored value itself, so a time of day survives.
        const int Days = (Amount == aaDayPrev || Amount == aaDayNext) ? 1 : 7;
        const bool Back = Amount == aaDayPrev || Amount == aaWeekPrev;
        NewDate = FDate + (Back ? -Days : Days);
        return InDateRange(NewDate);
    }
    case aaMonthPrev:
    case aaMonthNext: {
        AdjustMonthYear(Month, Year, Amount == aaMonthPrev ? ddBackward : ddForward);
        if (Year < FirstYear || Year > LastYear) return false;
        const int Length = DaysInMonth(Month, Year);
        if (Day > Length) Day = static_cast<fw::Word>(Length);
        NewDate = fw::EncodeDate(Year, Month, Day);
        return true;
    }
    case aaYearPrev:
    case aaYearNext: {
        const int NewYear = Year + (Amount == aaYearPrev ? -1 : 1);
        if (NewYear < FirstYear || NewYear > LastYear) return false;
        Year = static_cast<fw::Word>(NewYear);
        if (Month == 2 && DaysInMonth(2, Year) < Day) Day = static_cast<fw::Word>(DaysInMonth(2, Year));
        NewDate = fw::EncodeDate(Year, Month, Day);
        return true;
    }
    default:
        return false; // not a step (a value cast from outside the enumeration)
    }
}

void TfrmQzCal::AdjustCalendar(TAdjustAmounts Amount) {
    fw::TDateTime NewDate = 0;
    if (!StepDate(Amount, NewDate)) return;
    // A step stops at the edge of the permitted range.
    if (FRange.Limited()) {
        NewDate = FRange.Clamp(NewDate);
        if (std::floor(NewDate) == std::floor(FDate)) return;
    }
    // A refused day is skipped: on to the nearest permitted day in the step's
    // direction, or no step at all when there is none before the range's end.
    if (FOnDayDisabled && !DayAllowed(NewDate)) {
        const bool Back = Amount == aaDayPrev || Amount == aaWeekPrev || Amount == aaMonthPrev || Amount == aaYearPrev;
        if (!NextAllowedDay(NewDate, Back ? -1 : 1, NewDate)) return;
        if (std::floor(NewDate) == std::floor(FDate)) return;
    }
    MoveSelection(NewDate);
}

void TfrmQzCal::MoveSelection(fw::TDateTime Value) {
    fw::Word Y0 = 0, M0 = 0, D0 = 0;
    fw::DecodeDate(FDate, Y0, M0, D0);
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(Value, Year, Month, Day);
    FPrevSelIndex = FSelIndex;
    FDate = Value;
    if (FMonthShift == 0 && Month == M0 && Year == Y0) {
        // Only the selection moves: two cells are repainted.
        FSelIndex = GetFirstDay(fw::EncodeDate(Year, Month, 1)) + Day - 1;
        DrawSelector();
        return;
    }
    BuildCalendarDates();
    FMonthShift = 0;
    Refresh();
}

void TfrmQzCal::Delay(fw::Word Interval) {
    // The popup (and its timer) may be freed while the wait runs the loop.
    fw::TComponentRef<TfrmQzCal> Self(this);
    tmr->SetInterval(Interval);
    tmr->SetEnabled(true);
    while (Self && tmr->Enabled())
        fw::Application->ProcessMessages();
}

void TfrmQzCal::tmrTimer(fw::TObject*) {
    tmr->SetEnabled(false);
}

} // namespace qz
