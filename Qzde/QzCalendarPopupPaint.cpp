// The calendar popup's painting: the whole window (FormPaint), the two cells of a
// selection change (DrawSelector) and one navigation button (DrawButton).

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <framework/platform/Text.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/SysUtils.h>

namespace qz {

namespace {

// Two letters and a blank per weekday, Sunday first; fixed whatever the locale.
constexpr const char* WeekdayNames = "Su Mo Tu We Th Fr Sa ";
constexpr int WeekdayNameLength = 3;

constexpr unsigned DayTextFlags = fw::DT_SINGLELINE | fw::DT_VCENTER | fw::DT_RIGHT;
constexpr unsigned HeadingFlags = fw::DT_SINGLELINE | fw::DT_CENTER;

// The part of a button image that is drawn: its top-left 16 x 16 pixels.
const fw::TRect GlyphSource{0, 0, 16, 16};

void DrawTextIn(fw::TCanvas* Canvas, const fw::String& Text, fw::TRect Rect, unsigned Flags) {
    fw::DrawTextA(Canvas->Handle(), Text.c_str(), -1, &Rect, Flags);
}

} // namespace

fw::TColor TfrmQzCal::CellColor(int Index) const {
    if (CellSide(Index) != 0) return fw::clGrayText;
    // The Sunday and Saturday columns, as i mod 7.
    const int W = StartDay();
    int WeekendA = 8 - W;
    if (WeekendA > 6) WeekendA -= ColumnCount;
    int WeekendB = 7 - W;
    if (WeekendB > 6) WeekendB -= ColumnCount;
    const int Column = Index % ColumnCount;
    if (Column == WeekendA || Column == WeekendB) return FWeekendColor;
    return fw::clBtnText;
}

void TfrmQzCal::DrawDayText(int Index) {
    // The trailing blank keeps the digits off the cell's right edge.
    DrawTextIn(Canvas(), fw::IntToStr(DayNumbers(Index)) + " ", FindArrayRect(Index), DayTextFlags);
}

void TfrmQzCal::EraseBackground(fw::HDC) {}

void TfrmQzCal::FormPaint(fw::TObject*) {
    ++FFormPaintCount;
    fw::TCanvas* C = Canvas();
    const int W = ClientWidth();
    const int H = ClientHeight();

    // Background, border and a raised bevel inside it.
    C->Pen()->SetStyle(fw::psSolid);
    C->Pen()->SetColor(fw::clWindowFrame);
    C->Pen()->SetWidth(1);
    C->Brush()->SetColor(fw::clBtnFace);
    C->Rectangle(0, 0, W, H);
    C->Pen()->SetColor(fw::clBtnHighlight);
    C->MoveTo(1, H - 2);
    C->LineTo(1, 1);
    C->LineTo(W - 2, 1);
    C->Pen()->SetColor(fw::clBtnShadow);
    C->LineTo(W - 2, H - 2);
    C->LineTo(1, H - 2);

    for (TCalButtons Button : {cbYearPrev, cbMonthPrev, cbMonthNext, cbYearNext})
        DrawButton(Button, false);

    // The title: the displayed month.
    C->Font()->SetStyle({fw::fsBold});
    C->Font()->SetColor(fw::clBtnText);
    C->Brush()->SetColor(fw::clBtnFace);
    C->Brush()->SetStyle(fw::bsSolid);
    C->FillRect(FTitleRect);
    fw::Word Year = 0, Month = 0;
    DisplayedMonth(Year, Month);
    DrawTextIn(C, fw::FormatDateTime("mmmm yyyy", fw::EncodeDate(Year, Month, 1)), FTitleRect, HeadingFlags);

    // The weekday names, from the week-start day on, still bold.
    fw::TRect NameRect = FDayNameRect;
    for (int Column = 1; Column <= ColumnCount; ++Column) {
        int P = WeekdayNameLength * (StartDay() + Column - 1) + 1;
        if (P > 21) P -= 21;
        DrawTextIn(C, fw::String(WeekdayNames + P - 1, WeekdayNameLength), NameRect, HeadingFlags);
        NameRect.Left = NameRect.Right;
        NameRect.Right += FCellWidth;
    }

    // An etched line under the names.
    C->Pen()->SetColor(fw::clBtnShadow);
    C->MoveTo(4, 2 * FCellHeight);
    C->LineTo(W - 4, 2 * FCellHeight);
    C->Pen()->SetColor(fw::clBtnHighlight);
    C->MoveTo(4, 2 * FCellHeight + 1);
    C->LineTo(W - 4, 2 * FCellHeight + 1);

    C->Font()->SetStyle({});
    for (int Index = 1; Index <= CellCount; ++Index) {
        if (CellSide(Index) != 0 && !FFillPage) continue;
        C->Font()->SetColor(CellColor(Index));
        DrawDayText(Index);
    }

    DrawSelector();
}

void TfrmQzCal::DrawSelector() {
    fw::TCanvas* C = Canvas();
    if (FPrevSelIndex > 0 && (CellSide(FPrevSelIndex) == 0 || FFillPage)) {
        // Back to a plain cell: filling it removes the old frame.
        C->Font()->SetColor(CellColor(FPrevSelIndex));
        C->Font()->SetStyle({});
        C->Brush()->SetColor(fw::clBtnFace);
        C->FillRect(FindArrayRect(FPrevSelIndex));
        DrawDayText(FPrevSelIndex);
    }

    // The selected cell: bold (grey in a neighbouring month, even without fill page).
    C->Font()->SetColor(CellColor(FSelIndex));
    C->Font()->SetStyle({fw::fsBold});
    DrawDayText(FSelIndex);

    // A sunken frame on the cell's rectangle.
    const fw::TRect R = FindArrayRect(FSelIndex);
    C->Pen()->SetColor(fw::clBtnShadow);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
    C->Pen()->SetColor(fw::clBtnHighlight);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Left, R.Bottom - 1);

    // The edit shows the selected date in its own layout, written as the edit
    // writes it (always "/"), while the popup is open; once its opening text
    // was put back, it keeps that.
    if (TQzDateEdit* Edit = DateEditOwner(); Edit && !FTextRestored)
        Edit->SetText(FormatDateByPattern(FDate, FOwnerDateFormat));
}

void TfrmQzCal::DrawButton(TCalButtons Button, bool Pressed) {
    if (Button > cbYearNext) return;
    fw::TBitmap* Image = FGlyphs[static_cast<std::size_t>(Button + (Pressed ? 4 : 0))].get();
    if (!Image || Image->Empty()) return;
    // White shows the canvas's brush colour (the button face).
    Canvas()->BrushCopy(FButtonRect[Button], Image, GlyphSource, fw::clWhite);
}

} // namespace qz
