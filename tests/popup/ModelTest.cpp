// The popup's model: settings and starting date from the opener, the size from the
// font, the layout rectangles, and the month grid for any week start.

#include "PopupFixture.h"

#include <framework/rtl/DateFormat.h>

namespace qztest {
namespace {

using qz::TfrmQzCal;

TEST_F(PopupFixture, TheDefaultFontGivesTheWorkedExampleLayout) {
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->CellHeight(), 17);
    EXPECT_EQ(Popup->CellWidth(), 24);
    EXPECT_EQ(Popup->ClientWidth(), 176);
    EXPECT_EQ(Popup->ClientHeight(), 144);
    // csStandard: no frame but the painted one.
    EXPECT_EQ(Popup->Width(), 176);
    EXPECT_EQ(Popup->Height(), 144);
    EXPECT_EQ(Popup->ButtonRect(qz::cbYearPrev), fw::Rect(4, 2, 20, 18));
    EXPECT_EQ(Popup->ButtonRect(qz::cbMonthPrev), fw::Rect(20, 2, 36, 18));
    EXPECT_EQ(Popup->TitleRect(), fw::Rect(36, 4, 141, 21));
    EXPECT_EQ(Popup->ButtonRect(qz::cbMonthNext), fw::Rect(139, 2, 155, 18));
    EXPECT_EQ(Popup->ButtonRect(qz::cbYearNext), fw::Rect(155, 2, 171, 18));
    EXPECT_EQ(Popup->DayNameRect(), fw::Rect(4, 19, 26, 36));
    EXPECT_EQ(Popup->GridRect(), fw::Rect(4, 37, 171, 138));
    // The form resource: timer off, stay on top, keys previewed, handlers bound.
    ASSERT_NE(Popup->tmr, nullptr);
    EXPECT_FALSE(Popup->tmr->Enabled());
    EXPECT_EQ(Popup->tmr->Interval(), 100u);
    EXPECT_TRUE(static_cast<bool>(Popup->tmr->OnTimer));
    EXPECT_EQ(Popup->FormStyle(), fw::fsStayOnTop);
    EXPECT_TRUE(Popup->KeyPreview());
    EXPECT_TRUE(static_cast<bool>(Popup->OnPaint));
    EXPECT_TRUE(static_cast<bool>(Popup->OnMouseDown));
    EXPECT_EQ(Popup->Name(), "frmQzCal");
    EXPECT_EQ(qz::frmQzCal, nullptr);
}

TEST_F(PopupFixture, CellSizesRoundHalvesToEven) {
    EXPECT_EQ(TfrmQzCal::CellHeightFor(13), 17);
    EXPECT_EQ(TfrmQzCal::CellHeightFor(5), 6);
    EXPECT_EQ(TfrmQzCal::CellHeightFor(15), 20);
    EXPECT_EQ(TfrmQzCal::CellHeightFor(25), 32);
    EXPECT_EQ(TfrmQzCal::CellHeightFor(16), 21);
    EXPECT_EQ(TfrmQzCal::CellWidthFor(5), 24);
    EXPECT_EQ(TfrmQzCal::CellWidthFor(7), 33);
}

TEST_F(PopupFixture, SettingsComeFromTheDateEdit) {
    edit->SetDateFormat("yyyy/m/d");
    edit->SetCalendarWeekStart(qz::wsWednesday);
    edit->SetCalendarFillPage(false);
    edit->SetCalendarWeekendColor(fw::clRed);
    edit->SetCalendarStyle(qz::csDialog);
    edit->SetCalendarCaption("Pick a day");
    edit->SetText("2003/12/25");
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->OwnerComponent(), edit);
    EXPECT_EQ(Popup->OwnerDateFormat(), "yyyy/m/d");
    EXPECT_EQ(Popup->WeekStart(), qz::wsWednesday);
    EXPECT_FALSE(Popup->FillPage());
    EXPECT_EQ(Popup->WeekendColor(), fw::clRed);
    EXPECT_EQ(Popup->OriginalDate(), fw::EncodeDate(2003, 12, 25));
    EXPECT_EQ(Popup->Date(), fw::EncodeDate(2003, 12, 25));
    // A dialog frame around the same client area.
    EXPECT_EQ(Popup->BorderStyle(), fw::bsDialog);
    EXPECT_EQ(Popup->Caption(), "Pick a day");
    EXPECT_EQ(Popup->ClientWidth(), 176);
    EXPECT_EQ(Popup->ClientHeight(), 144);
    EXPECT_GT(Popup->Height(), 144);
}

TEST_F(PopupFixture, TheStartingDateIsTheEditsValidTextOrToday) {
    const fw::TDateTime Today = fw::EncodeDate(2026, 3, 14);
    const struct {
        const char* Text;
        fw::TDateTime Original;
    } Rows[] = {
        {"25/12/2003", fw::EncodeDate(2003, 12, 25)},
        {"1/2/03", fw::EncodeDate(2003, 2, 1)}, // two-digit year, expanded by the edit's rule
        {"", 0},
        {"31/02/2003", 0}, // impossible date
        {"25-12-2003", 0}, // does not split
        {"30/12/1899", 0}, // day 0 counts as no date
        {"31/12/9999", fw::EncodeDate(9999, 12, 31)},
    };
    for (const auto& Row : Rows) {
        edit->SetText(Row.Text);
        auto Popup = std::make_unique<TfrmQzCal>(edit);
        EXPECT_EQ(Popup->OriginalDate(), Row.Original) << Row.Text;
        EXPECT_EQ(Popup->Date(), Row.Original != 0 ? Row.Original : Today) << Row.Text;
        EXPECT_EQ(edit->Text(), Row.Text) << "the edit's own text is not normalised";
    }
}

TEST_F(PopupFixture, AnOwnerOfAnotherKindGetsDefaults) {
    auto Popup = std::make_unique<TfrmQzCal>(form.get());
    EXPECT_EQ(Popup->OwnerComponent(), nullptr);
    EXPECT_EQ(Popup->Date(), fw::EncodeDate(2026, 3, 14));
    EXPECT_EQ(Popup->Left(), 0);
    EXPECT_EQ(Popup->Top(), 0);
    auto Orphan = std::make_unique<TfrmQzCal>(nullptr);
    EXPECT_EQ(Orphan->Date(), fw::EncodeDate(2026, 3, 14));
}

// ---------------------------------------------------------------- the grid

struct GridRow {
    int Year, Month, Day;
    qz::TWeekStart WeekStart;
    int FirstIndex, LastIndex;
    // Day numbers of the first and the last cell with fill page.
    int FirstCell, LastCell;
};

TEST_F(PopupFixture, TheGridPlacesTheMonthByTheWeekStart) {
    const GridRow Rows[] = {
        {2015, 2, 10, qz::wsSunday, 1, 28, 1, 14}, // February 2015 starts on a Sunday
        {2026, 3, 31, qz::wsMonday, 7, 37, 23, 5}, // March 2026 starts on a Sunday
        {2025, 1, 15, qz::wsSunday, 4, 34, 29, 8}, // January 2025: December 2024 before it
        {2024, 3, 1, qz::wsSunday, 6, 36, 25, 6},  // after a leap February
        {2026, 3, 14, qz::wsSaturday, 2, 32, 28, 10}, {2026, 3, 14, qz::wsWednesday, 5, 35, 25, 7},
    };
    for (const auto& Row : Rows) {
        edit->SetCalendarWeekStart(Row.WeekStart);
        edit->SetDate(fw::EncodeDate(Row.Year, Row.Month, Row.Day));
        auto Popup = std::make_unique<TfrmQzCal>(edit);
        SCOPED_TRACE(edit->Text());
        EXPECT_EQ(Popup->FirstIndex(), Row.FirstIndex);
        EXPECT_EQ(Popup->LastIndex(), Row.LastIndex);
        EXPECT_EQ(Popup->SelIndex(), Row.FirstIndex + Row.Day - 1);
        EXPECT_EQ(Popup->DayNumbers(1), Row.FirstCell);
        EXPECT_EQ(Popup->DayNumbers(42), Row.LastCell);
        // The month's days in order, the neighbours' days counting on from them.
        for (int I = Row.FirstIndex; I <= Row.LastIndex; ++I)
            EXPECT_EQ(Popup->DayNumbers(I), I - Row.FirstIndex + 1);
        if (Row.FirstIndex > 1) {
            EXPECT_EQ(Popup->DayNumbers(Row.FirstIndex - 1) - Popup->DayNumbers(1), Row.FirstIndex - 2);
        }
        EXPECT_EQ(Popup->DayNumbers(Row.LastIndex + 1), 1);
    }
}

TEST_F(PopupFixture, AThirtyOneDayMonthStartingInColumnSevenEndsInCell37) {
    // August 2026 starts on a Saturday.
    edit->SetDate(fw::EncodeDate(2026, 8, 31));
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->FirstIndex(), 7);
    EXPECT_EQ(Popup->LastIndex(), 37);
    EXPECT_EQ(Popup->SelIndex(), 37);
}

TEST_F(PopupFixture, WithoutFillPageTheCellsOutsideTheMonthStayUnset) {
    edit->SetCalendarFillPage(false);
    edit->SetDate(fw::EncodeDate(2025, 1, 15));
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    for (int I = 1; I < Popup->FirstIndex(); ++I)
        EXPECT_EQ(Popup->DayNumbers(I), 0);
    for (int I = Popup->LastIndex() + 1; I <= 42; ++I)
        EXPECT_EQ(Popup->DayNumbers(I), 0);
}

TEST_F(PopupFixture, GetFirstDayCountsColumnsFromTheWeekStart) {
    edit->SetCalendarWeekStart(qz::wsSaturday);
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->GetFirstDay(fw::EncodeDate(2026, 3, 14)), 1); // a Saturday
    EXPECT_EQ(Popup->GetFirstDay(fw::EncodeDate(2026, 3, 13)), 7); // a Friday
    EXPECT_EQ(Popup->GetFirstDay(fw::EncodeDate(2026, 3, 15)), 2); // a Sunday
}

TEST_F(PopupFixture, CellsAndPointsMapBothWays) {
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    const fw::TRect Grid = Popup->GridRect();
    EXPECT_EQ(Popup->FindArrayIndex(Grid.Left, Grid.Top), 1);
    EXPECT_EQ(Popup->FindArrayIndex(Grid.Right, Grid.Bottom), 42);
    EXPECT_EQ(Popup->FindArrayRect(1), fw::Rect(4, 37, 27, 53));
    EXPECT_EQ(Popup->FindArrayRect(42), fw::Rect(148, 122, 171, 138));
    for (int I = 1; I <= 42; ++I) {
        const fw::TRect R = Popup->FindArrayRect(I);
        EXPECT_EQ(Popup->FindArrayIndex(R.Left, R.Top), I);
        EXPECT_EQ(Popup->FindArrayIndex(R.Right, R.Bottom), I);
    }
}

// ---------------------------------------------------------------- placement

TEST_F(PopupFixture, ThePopupOpensOnePixelBelowTheEditsClientArea) {
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    const fw::TPoint TopLeft = edit->ClientToScreen({0, 0});
    EXPECT_EQ(Popup->Left(), TopLeft.X);
    EXPECT_EQ(Popup->Top(), TopLeft.Y + edit->ClientHeight() + 1);
}

TEST_F(PopupFixture, AtTheRightEdgeThePopupEndsWithTheScreen) {
    form->SetLeft(1024 - 150);
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->Left() + Popup->Width(), 1024);
}

TEST_F(PopupFixture, AtTheBottomEdgeThePopupOpensAboveTheEdit) {
    form->SetTop(768 - 60);
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->Top() + Popup->Height(), edit->ClientToScreen({0, 0}).Y - 1);
    // A dialog popup is taller; the same rule holds with its outer size.
    edit->SetCalendarStyle(qz::csDialog);
    auto Dialog = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Dialog->Top() + Dialog->Height(), edit->ClientToScreen({0, 0}).Y - 1);
}

TEST_F(PopupFixture, ALeftEdgeOffTheScreenBecomesZeroAndTheTopMayGoNegative) {
    form->SetBounds(-50, 10, 300, 200);
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->Left(), 0);
    // A screen too low for the popup either way: above the edit, off the top.
    fw::Screen->SetSize(1024, 100);
    auto High = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(High->Top(), edit->ClientToScreen({0, 0}).Y - High->Height() - 1);
    EXPECT_LT(High->Top(), 0);
}

} // namespace
} // namespace qztest
