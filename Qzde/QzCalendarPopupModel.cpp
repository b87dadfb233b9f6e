// The calendar popup's model: its published part, construction (settings from the
// opener, starting date, size, screen placement, layout rectangles) and the month grid.

#include <QzComponents5/QzModule.h>
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <Qzde/QzDateRoutines.h>
#include <algorithm>
#include <cmath>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Text.h>
#include <framework/resources/Resources.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>

namespace qz {

TfrmQzCal* frmQzCal = nullptr;

namespace {

// The navigation button images: resource numbers of the up images; each pressed
// image follows its up image.
constexpr int FirstGlyphResource = 210;

// 1 January of year 1, and the day after 31 December 9999, as day numbers.
constexpr fw::TDateTime FirstBuildableDay = -693593;
constexpr fw::TDateTime EndOfBuildableDays = 2958466;

// Rounds Tenths / 10 to the nearest integer, an exact half to the even neighbour.
int RoundTenths(int Tenths) {
    int Whole = Tenths / 10;
    const int Rest = Tenths % 10;
    if (Rest > 5 || (Rest == 5 && Whole % 2 != 0)) ++Whole;
    return Whole;
}

// The openers' setters refuse a week start outside the enumeration; a descendant
// that stores its own still gets a grid: such a value counts as Sunday.
TWeekStart KnownWeekStart(TWeekStart Value) {
    return IsWeekStart(Value) ? Value : wsSunday;
}

// Counts a call into the opener's day events (handlers may raise).
class TOpenerCall {
public:
    explicit TOpenerCall(int& Depth) : FDepth(Depth) { ++FDepth; }
    ~TOpenerCall() { --FDepth; }
    TOpenerCall(const TOpenerCall&) = delete;
    TOpenerCall& operator=(const TOpenerCall&) = delete;

private:
    int& FDepth;
};

} // namespace

FW_PUBLISH(TfrmQzCal) {
    cls.Field("tmr", &TfrmQzCal::tmr);
    cls.Float("Date", &TfrmQzCal::Date, &TfrmQzCal::SetDate);
    cls.Method("FormCancel", &TfrmQzCal::FormCancel);
    cls.Method("FormKeyDown", &TfrmQzCal::FormKeyDown);
    cls.Method("FormMouseDown", &TfrmQzCal::FormMouseDown);
    cls.Method("FormMouseMove", &TfrmQzCal::FormMouseMove);
    cls.Method("FormMouseUp", &TfrmQzCal::FormMouseUp);
    cls.Method("FormPaint", &TfrmQzCal::FormPaint);
    cls.Method("tmrTimer", &TfrmQzCal::tmrTimer);
}

TfrmQzCal::TfrmQzCal(fw::TComponent* AOwner) : inherited(AOwner) {
    // The form resource lives in the package module: make sure it is registered.
    (void)HInstance();
    LoadFormResource();
    OnClose = [this](fw::TObject* Sender, fw::TCloseAction& Action) { FormClose(Sender, Action); };

    ReadOwnerSettings();
    // A date the grid cannot show counts as no date.
    if (!InDateRange(FOriginalDate)) FOriginalDate = 0;
    FDate = FOriginalDate != 0 ? FOriginalDate : fw::Date();
    // Outside the permitted range the popup opens on its nearest day.
    FDate = FRange.Clamp(FDate);
    // A refused day opens on the nearest permitted one, later days first.
    if (FOnDayDisabled && !DayAllowed(FDate)) {
        fw::TDateTime Found = 0;
        if (NextAllowedDay(FDate, 1, Found) || NextAllowedDay(FDate, -1, Found)) FDate = Found;
    }
    BuildCalendarDates();
    FSelecting = false;
    FMonthShift = 0;
    FPrevSelIndex = 0;

    for (std::size_t I = 0; I < FGlyphs.size(); ++I) {
        // Up images first (210, 212, 214, 216), then the pressed ones (211, ...).
        const int Button = static_cast<int>(I % 4);
        const int Pressed = static_cast<int>(I / 4);
        FGlyphs[I] = std::make_unique<fw::TBitmap>();
        FGlyphs[I]->SetHandle(fw::LoadBitmapA(HInstance(), FirstGlyphResource + 2 * Button + Pressed));
    }

    SizeFromFont();
    PlaceOnScreen();
    LayOut();
}

bool TfrmQzCal::Run(fw::TComponent* Opener, const std::function<void(fw::TDateTime)>& Take) {
    fw::TComponentRef<fw::TComponent> Alive(Opener);
    fw::TComponentRef<TfrmQzCal> Popup(new TfrmQzCal(Opener));
    struct TFreePopup {
        fw::TComponentRef<TfrmQzCal>& Popup;
        ~TFreePopup() { delete Popup.Get(); }
    } FreePopup{Popup};
    // A day event may free the opener while the popup asks about its first month.
    if (!Alive) return false;
    const fw::TModalResult ModalResult = Popup->ShowModal();
    if (!Alive || !Popup || ModalResult != fw::mrOk) return false;
    Take(Popup->Date());
    return true;
}

TfrmQzCal::~TfrmQzCal() {
    // The glyphs go with their owners; the timer and the form with the base.
    OnClose = nullptr;
}

void TfrmQzCal::ReadOwnerSettings() {
    auto* Edit = dynamic_cast<TQzDateEdit*>(Owner());
    auto* Calendar = Edit ? nullptr : dynamic_cast<TQzCalendar*>(Owner());
    const TQzCalendarSettings* Settings = Edit ? static_cast<const TQzCalendarSettings*>(Edit) : Calendar;
    if (!Settings) return;
    FOwnerComponent = Owner();
    // The popup hears of the opener going before the opener frees what it owns.
    FreeNotification(FOwnerComponent);
    FWeekendColor = Settings->CalendarWeekendColor();
    FWeekStart = KnownWeekStart(Settings->CalendarWeekStart());
    FFillPage = Settings->CalendarFillPage();
    FRange = Settings->Range();
    FOptions = KnownCalendarOptions(Settings->CalendarOptions());
    FOnDayDisabled = Settings->OnDayDisabled;
    FOnDayStyle = Settings->OnDayStyle;
    if (FOnDayStyle) SetShowHint(true);
    if (Settings->CalendarStyle() == csDialog) {
        SetBorderStyle(fw::bsDialog);
        SetCaption(Settings->CalendarCaption());
    }
    FOriginalDate = 0;
    if (Calendar) {
        FOriginalDate = Calendar->Date();
        return;
    }
    FOwnerDateFormat = Edit->DateFormat();
    try {
        fw::String Text = Edit->Text();
        if (!Text.empty() && Edit->IsValidDate(Text)) FOriginalDate = StrToDateEx(Text, FOwnerDateFormat);
    } catch (const std::exception&) {
        FOriginalDate = 0;
    }
}

bool TfrmQzCal::InDateRange(fw::TDateTime D) {
    return D >= FirstBuildableDay && D < EndOfBuildableDays;
}

int TfrmQzCal::CellHeightFor(int TextHeight) {
    return RoundTenths(13 * TextHeight);
}

int TfrmQzCal::CellWidthFor(int AveCharWidth) {
    return 3 * RoundTenths(16 * AveCharWidth);
}

void TfrmQzCal::SizeFromFont() {
    fw::TEXTMETRICA Metrics;
    fw::GetTextMetricsA(Canvas()->Handle(), &Metrics);
    // The canvas made a context of its own to measure with; it would outlive the
    // window's surface, so let it go now.
    Canvas()->FreeHandle();
    // A font without metrics still gives cells of a pixel: the grid code divides by them.
    FCellHeight = std::max(1, CellHeightFor(Metrics.tmHeight));
    FCellWidth = std::max(1, CellWidthFor(Metrics.tmAveCharWidth));
    // The week numbers take two digits and a blank: two thirds of a day column.
    FWeekColumnWidth = FOptions.Contains(coWeekNumbers) ? 2 * FCellWidth / 3 : 0;
    SetClientWidth(ColumnCount * FCellWidth + 8 + FWeekColumnWidth);
    SetClientHeight((RowCount + 2) * FCellHeight + 8 + FootHeight());
}

int TfrmQzCal::FootHeight() const {
    return FOptions.Contains(coTodayButton) || FOptions.Contains(coClearButton) ? FCellHeight + 4 : 0;
}

void TfrmQzCal::PlaceOnScreen() {
    // Anchors come from settings that may hold any integer (CalendarLeft near the
    // int limits): the sums below are clamped instead of overflowing.
    fw::TPoint TopLeft;
    int Left = 0;
    int Top = 0;
    if (auto* Edit = dynamic_cast<TQzDateEdit*>(FOwnerComponent)) {
        // One pixel below the edit's client area, aligned with its left edge.
        TopLeft = Edit->ClientToScreen({0, 0});
        const fw::TPoint BottomRight = Edit->ClientToScreen({Edit->ClientWidth(), Edit->ClientHeight()});
        Left = TopLeft.X;
        Top = fw::ClampedSum(BottomRight.Y, 1);
    } else if (auto* Calendar = dynamic_cast<TQzCalendar*>(FOwnerComponent)) {
        // The anchor is a client point of the component's own owner; without a
        // control there, it is a screen point.
        const fw::TPoint Anchor{Calendar->CalendarLeft(), Calendar->CalendarTop()};
        auto* Host = dynamic_cast<fw::TControl*>(Calendar->Owner());
        TopLeft = Host ? Host->ClientToScreen(Anchor) : Anchor;
        Left = TopLeft.X;
        Top = TopLeft.Y;
    }
    // The primary screen's edges only.
    const int ScreenWidth = fw::Screen->Width();
    const int ScreenHeight = fw::Screen->Height();
    if (fw::ClampedSum(Left, Width()) > ScreenWidth) Left = ScreenWidth - Width();
    if (Left <= 0) Left = 0;
    if (fw::ClampedSum(Top, Height()) > ScreenHeight)
        Top = fw::ClampedSum(TopLeft.Y, -std::int64_t{Height()} - 1);
    SetBounds(Left, Top, Width(), Height());
}

void TfrmQzCal::LayOut() {
    const int W = ClientWidth();
    const fw::TRect YearPrev{4, 2, 20, 18};
    const fw::TRect YearNext{W - 21, 2, W - 5, 18};
    FButtonRect[cbYearPrev] = YearPrev;
    FButtonRect[cbMonthPrev] = {YearPrev.Left + 16, YearPrev.Top, YearPrev.Right + 16, YearPrev.Bottom};
    FButtonRect[cbYearNext] = YearNext;
    FButtonRect[cbMonthNext] = {YearNext.Left - 16, YearNext.Top, YearNext.Right - 16, YearNext.Bottom};
    FTitleRect = {36, 4, W - 35, 4 + FCellHeight};
    // The week-number column, when shown, comes before the first weekday.
    const int X = FWeekColumnWidth;
    FDayNameRect = {4 + X, FCellHeight + 2, FCellWidth + 2 + X, 2 * FCellHeight + 2};
    FGridRect = {4 + X, 2 * FCellHeight + 3, ColumnCount * FCellWidth + 3 + X,
                 (RowCount + 2) * FCellHeight + 2};
    // The foot row: one button centred in half the width, or both side by side.
    FTodayButtonRect = FClearButtonRect = {};
    if (FootHeight() > 0) {
        const int Top = (RowCount + 2) * FCellHeight + 4;
        const int Bottom = Top + FCellHeight + 2;
        const bool Both = FOptions.Contains(coTodayButton) && FOptions.Contains(coClearButton);
        const int Half = (W - 8) / 2;
        const fw::TRect Left{4 + 2, Top, 4 + Half - 2, Bottom};
        const fw::TRect Right{4 + Half + 2, Top, W - 4 - 2, Bottom};
        const fw::TRect Middle{W / 2 - Half / 2, Top, W / 2 + Half / 2, Bottom};
        if (FOptions.Contains(coTodayButton)) FTodayButtonRect = Both ? Left : Middle;
        if (FOptions.Contains(coClearButton)) FClearButtonRect = Both ? Right : Middle;
    }
}

// ---------------------------------------------------------------- the grid

int TfrmQzCal::GetFirstDay(fw::TDateTime D) const {
    // Always 1-7, whatever FWeekStart holds: the grid is indexed from it.
    int Result = fw::DayOfWeek(D) - StartDay();
    if (Result < 1) Result += ColumnCount;
    return Result;
}

void TfrmQzCal::BuildCalendarDates() {
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(FDate, Year, Month, Day);
    const fw::TDateTime First = fw::EncodeDate(Year, Month, 1);
    FFirstIndex = GetFirstDay(First);
    FFirstCellDate = First - (FFirstIndex - 1);
    FLastIndex = FFirstIndex + DaysInMonth(Month, Year) - 1;
    FSelIndex = FFirstIndex + Day - 1;
    for (int I = FFirstIndex; I <= FLastIndex; ++I)
        FDayNumbers[static_cast<std::size_t>(I - 1)] = I - FFirstIndex + 1;
    if (FFillPage) {
        const int PrevLength = Month == 1 ? DaysInMonth(12, Year - 1) : DaysInMonth(Month - 1, Year);
        for (int I = 1; I < FFirstIndex; ++I)
            FDayNumbers[static_cast<std::size_t>(I - 1)] = PrevLength - (FFirstIndex - 1) + I;
        for (int I = FLastIndex + 1; I <= CellCount; ++I)
            FDayNumbers[static_cast<std::size_t>(I - 1)] = I - FLastIndex;
    }
    ReadDayMarks();
}

void TfrmQzCal::ReadDayMarks() {
    FCellDisabled.fill(false);
    FCellStyles.fill(TDayStyle{});
    if (!FOnDayDisabled && !FOnDayStyle) return;
    // Only the days the grid shows are asked about, each once.
    const int First = FFillPage ? 1 : FFirstIndex;
    const int Last = FFillPage ? CellCount : FLastIndex;
    // A handler that frees the opener ends the questions (see Notification).
    const TOpenerCall Call(FOpenerCalls);
    for (int I = First; I <= Last && HasOpener(); ++I) {
        const fw::TDateTime D = CellDate(I);
        if (!InDateRange(D)) continue;
        const auto Cell = static_cast<std::size_t>(I - 1);
        if (FOnDayDisabled && FRange.Contains(D)) FOnDayDisabled(FOwnerComponent, D, FCellDisabled[Cell]);
        if (FOnDayStyle && HasOpener()) FOnDayStyle(FOwnerComponent, D, FCellStyles[Cell]);
    }
}

bool TfrmQzCal::DayAllowed(fw::TDateTime D) const {
    if (!FRange.Contains(D)) return false;
    bool Disabled = false;
    if (FOnDayDisabled && HasOpener()) {
        const TOpenerCall Call(FOpenerCalls);
        FOnDayDisabled(FOwnerComponent, std::floor(D), Disabled);
    }
    return !Disabled;
}

void TfrmQzCal::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != fw::opRemove || AComponent == nullptr || AComponent != FOwnerComponent) return;
    FOwnerComponent = nullptr;
    // Its text is not the popup's to put back any more.
    FTextRestored = true;
    if (FOpenerCalls == 0) return;
    // Freed from inside a call of the popup's: the popup code still runs on
    // this object, so it must not go with the opener.
    if (Owner() == AComponent) AComponent->RemoveComponent(this);
    SetModalResult(fw::mrCancel);
}

bool TfrmQzCal::NextAllowedDay(fw::TDateTime Value, int Step, fw::TDateTime& Found) const {
    // A year is enough for weekly or seasonal refusals and bounds a handler
    // that refuses everything.
    constexpr int LookAhead = 366;
    for (int I = 0; I <= LookAhead; ++I) {
        const fw::TDateTime D = Value + I * Step;
        if (!InDateRange(D) || !FRange.Contains(D)) return false;
        if (DayAllowed(D)) {
            Found = D;
            return true;
        }
    }
    return false;
}

int TfrmQzCal::FindArrayIndex(int X, int Y) const {
    // Points on the grid's outer edges (HitTest includes them) and beyond stay
    // in the nearest cell.
    const int Column = std::clamp((X - FGridRect.Left) / std::max(1, FCellWidth), 0, ColumnCount - 1);
    const int Row = std::clamp((Y - FGridRect.Top) / std::max(1, FCellHeight), 0, RowCount - 1);
    return Column + 1 + ColumnCount * Row;
}

fw::TRect TfrmQzCal::FindArrayRect(int Index) const {
    const int Column = (Index - 1) % ColumnCount;
    const int Row = (Index - 1) / ColumnCount;
    fw::TRect R;
    R.Left = FGridRect.Left + Column * FCellWidth;
    R.Top = FGridRect.Top + Row * FCellHeight;
    R.Right = R.Left + FCellWidth - 1;
    R.Bottom = R.Top + FCellHeight - 1;
    return R;
}

void TfrmQzCal::DisplayedMonth(fw::Word& Year, fw::Word& Month) const {
    fw::Word Day = 0;
    fw::DecodeDate(FDate, Year, Month, Day);
    if (FMonthShift > 0) AdjustMonthYear(Month, Year, ddBackward);
    if (FMonthShift < 0) AdjustMonthYear(Month, Year, ddForward);
}

int TfrmQzCal::CellSide(int Index) const {
    if (Index < FFirstIndex) return -1;
    if (Index > FLastIndex) return 1;
    return 0;
}

int TfrmQzCal::IsoWeekNumber(fw::TDateTime D) {
    // The week belongs to the year of its Thursday, and counts from the week
    // holding that year's first Thursday.
    const fw::TDateTime Day = std::floor(D);
    const int FromMonday = (fw::DayOfWeek(Day) + 5) % 7; // Monday 0 ... Sunday 6
    const fw::TDateTime Thursday = Day - FromMonday + 3;
    fw::Word Year = 0, Month = 0, Unused = 0;
    fw::DecodeDate(Thursday, Year, Month, Unused);
    if (Year == 0) return 0;
    const int DayOfYear = static_cast<int>(Thursday - fw::EncodeDate(Year, 1, 1));
    return DayOfYear / 7 + 1;
}

bool TfrmQzCal::ButtonEnabled(TCalButtons Button) const {
    if (!FRange.Limited()) return true;
    static constexpr TAdjustAmounts Steps[] = {aaMonthPrev, aaMonthNext, aaYearPrev, aaYearNext};
    if (Button > cbYearNext) return false;
    fw::TDateTime Target = 0;
    if (!StepDate(Steps[Button], Target)) return false;
    // The target month must hold a permitted day.
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(Target, Year, Month, Day);
    const fw::TDateTime First = fw::EncodeDate(Year, Month, 1);
    return FRange.Meets(First, First + DaysInMonth(Month, Year) - 1);
}

int TfrmQzCal::TodayIndex() const {
    if (!FOptions.Contains(coShowToday)) return 0;
    const double Index = std::floor(fw::Date()) - FFirstCellDate + 1;
    if (Index < 1 || Index > CellCount) return 0;
    const int Cell = static_cast<int>(Index);
    // A cell of a neighbouring month shows its day only with fill page.
    return CellSide(Cell) == 0 || FFillPage ? Cell : 0;
}

TQzDateEdit* TfrmQzCal::DateEditOwner() const {
    return dynamic_cast<TQzDateEdit*>(FOwnerComponent);
}

} // namespace qz
