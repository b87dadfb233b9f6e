// The calendar popup's month and year views (coZoomViews): zooming out from the
// title or Ctrl+Up, stepping the focus, choosing, and painting the twelve cells.

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateRoutines.h>
#include <algorithm>
#include <cmath>
#include <framework/platform/Text.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <framework/rtl/SysUtils.h>

namespace qz {

namespace {

constexpr int ZoomColumns = 4;
constexpr int ZoomRows = 3;
constexpr int ZoomCells = ZoomColumns * ZoomRows;
constexpr int FirstYear = 1;
constexpr int LastYear = 9999;

void Decode(fw::TDateTime D, int& Year, int& Month, int& Day) {
    fw::Word Y = 0, M = 0, Dd = 0;
    fw::DecodeDate(D, Y, M, Dd);
    Year = Y;
    Month = M;
    Day = Dd;
}

} // namespace

fw::TRect TfrmQzCal::ZoomCellRect(int Index) const {
    // The weekday names' row and the grid together, in four columns and three rows.
    const fw::TRect Area{FDayNameRect.Left, FDayNameRect.Top, FGridRect.Right, FGridRect.Bottom};
    const int W = (Area.Right - Area.Left) / ZoomColumns;
    const int H = (Area.Bottom - Area.Top) / ZoomRows;
    const int Left = Area.Left + (Index % ZoomColumns) * W;
    const int Top = Area.Top + (Index / ZoomColumns) * H;
    return {Left, Top, Left + W, Top + H};
}

int TfrmQzCal::ZoomFirstYear() const {
    int Year = 0, Month = 0, Day = 0;
    Decode(FZoomDate, Year, Month, Day);
    return Year - Year % 10 - 1;
}

int TfrmQzCal::ZoomIndex() const {
    int Year = 0, Month = 0, Day = 0;
    Decode(FZoomDate, Year, Month, Day);
    return FView == cvMonths ? Month - 1 : Year - ZoomFirstYear();
}

bool TfrmQzCal::ZoomCellAllowed(int Index) const {
    if (Index < 0 || Index >= ZoomCells) return false;
    int Year = 0, Month = 0, Day = 0;
    Decode(FZoomDate, Year, Month, Day);
    if (FView == cvYears) {
        const int Y = ZoomFirstYear() + Index;
        if (Y < FirstYear || Y > LastYear) return false;
        return FRange.Meets(fw::EncodeDate(static_cast<fw::Word>(Y), 1, 1),
                            fw::EncodeDate(static_cast<fw::Word>(Y), 12, 31));
    }
    const auto M = static_cast<fw::Word>(Index + 1);
    const fw::TDateTime First = fw::EncodeDate(static_cast<fw::Word>(Year), M, 1);
    return FRange.Meets(First, First + DaysInMonth(M, Year) - 1);
}

void TfrmQzCal::ZoomOut() {
    if (!FOptions.Contains(coZoomViews) || FView == cvYears) return;
    if (FView == cvDays) {
        // The displayed month is the focus, also when a neighbour's day is selected.
        fw::Word Year = 0, Month = 0;
        DisplayedMonth(Year, Month);
        FZoomDate = fw::EncodeDate(Year, Month, 1);
        FView = cvMonths;
    } else {
        FView = cvYears;
    }
    Refresh();
}

void TfrmQzCal::ZoomIn() {
    const int Index = ZoomIndex();
    if (!ZoomCellAllowed(Index)) return;
    if (FView == cvYears) {
        FView = cvMonths;
        Refresh();
        return;
    }
    // The chosen month, on the selected day (or its last), then the range and refusals.
    int Year = 0, Month = 0, Day = 0, Y0 = 0, M0 = 0, D0 = 0;
    Decode(FZoomDate, Year, Month, Day);
    Decode(FDate, Y0, M0, D0);
    fw::TDateTime NewDate = fw::EncodeDate(static_cast<fw::Word>(Year), static_cast<fw::Word>(Month),
                                           static_cast<fw::Word>(std::min(D0, DaysInMonth(Month, Year))));
    NewDate = FRange.Clamp(NewDate);
    if (FOnDayDisabled && !DayAllowed(NewDate)) {
        fw::TDateTime Found = 0;
        if (NextAllowedDay(NewDate, 1, Found) || NextAllowedDay(NewDate, -1, Found)) NewDate = Found;
    }
    FView = cvDays;
    FPrevSelIndex = 0;
    FDate = NewDate;
    BuildCalendarDates();
    FMonthShift = 0;
    Refresh();
}

void TfrmQzCal::ZoomCancel() {
    FView = cvDays;
    Refresh();
}

void TfrmQzCal::ZoomStep(int Delta) {
    int Year = 0, Month = 0, Day = 0;
    Decode(FZoomDate, Year, Month, Day);
    // Months step through the years; years stay inside 1-9999.
    int Serial = FView == cvMonths ? Year * 12 + Month - 1 + Delta : (Year + Delta) * 12 + Month - 1;
    Serial = std::clamp(Serial, FirstYear * 12, LastYear * 12 + 11);
    const int NewYear = Serial / 12;
    const int NewMonth = Serial % 12 + 1;
    if (NewYear == Year && NewMonth == Month) return;
    FZoomDate = fw::EncodeDate(static_cast<fw::Word>(NewYear), static_cast<fw::Word>(NewMonth), 1);
    Refresh();
}

void TfrmQzCal::ZoomMouseDown(int X, int Y) {
    if (HitTest(FTitleRect, X, Y)) {
        ZoomOut();
        return;
    }
    if (FView == cvDays) return;
    if (FootButtonDown(X, Y)) return;
    const int Page = FView == cvMonths ? 12 : 10;
    for (TCalButtons B : {cbMonthPrev, cbYearPrev, cbMonthNext, cbYearNext})
        if (HitTest(FButtonRect[B], X, Y)) {
            ZoomStep(B == cbMonthPrev || B == cbYearPrev ? -Page : Page);
            return;
        }
    for (int I = 0; I < ZoomCells; ++I) {
        const fw::TRect R = ZoomCellRect(I);
        if (X < R.Left || X >= R.Right || Y < R.Top || Y >= R.Bottom) continue;
        if (!ZoomCellAllowed(I)) return;
        ZoomStep(I - ZoomIndex());
        ZoomIn();
        return;
    }
}

void TfrmQzCal::DrawZoomView() {
    fw::TCanvas* C = Canvas();
    int Year = 0, Month = 0, Day = 0;
    Decode(FZoomDate, Year, Month, Day);
    // The title: the year, or the decade.
    C->Font()->SetStyle({fw::fsBold});
    C->Font()->SetColor(fw::clBtnText);
    C->Brush()->SetColor(fw::clBtnFace);
    C->Brush()->SetStyle(fw::bsSolid);
    C->FillRect(FTitleRect);
    const fw::String Title = FView == cvMonths
                                 ? fw::IntToStr(Year)
                                 : fw::IntToStr(ZoomFirstYear() + 1) + "-" + fw::IntToStr(ZoomFirstYear() + 10);
    fw::TRect TitleRect = FTitleRect;
    fw::DrawTextA(C->Handle(), Title.c_str(), -1, &TitleRect, fw::DT_SINGLELINE | fw::DT_CENTER);

    const int Focus = ZoomIndex();
    for (int I = 0; I < ZoomCells; ++I) {
        fw::TRect R = ZoomCellRect(I);
        fw::String Text;
        if (FView == cvMonths) {
            Text = fw::FormatSettings.ShortMonthNames[static_cast<std::size_t>(I)];
        } else {
            const int Y = ZoomFirstYear() + I;
            if (Y < FirstYear || Y > LastYear) continue;
            Text = fw::IntToStr(Y);
        }
        // The years either side of the decade are grey, like neighbouring days.
        const bool Outside = FView == cvYears && (I == 0 || I == ZoomCells - 1);
        C->Font()->SetColor(!ZoomCellAllowed(I) || Outside ? fw::clGrayText : fw::clBtnText);
        C->Font()->SetStyle(I == Focus ? fw::TFontStyles{fw::fsBold} : fw::TFontStyles{});
        fw::DrawTextA(C->Handle(), Text.c_str(), -1, &R, fw::DT_SINGLELINE | fw::DT_VCENTER | fw::DT_CENTER);
        if (I != Focus) continue;
        // The focus has the selection's sunken frame.
        DrawBevel(R, fw::clBtnShadow, fw::clBtnHighlight);
    }
    AnnounceSelection();
}

} // namespace qz
