// The popup's painting, checked pixel by pixel: the frame and bevel, the separator,
// the weekday names in their spans, weekend and neighbouring-month colours, the
// sunken selection frame, and how little is repainted when the selection moves.

#include "PopupFixture.h"

#include <framework/graphics/Bitmap.h>
#include <framework/platform/Text.h>
#include <set>
#include <string>

namespace qztest {
namespace {

using qz::TfrmQzCal;

constexpr fw::TColor Face = 0xC0C0C0;      // clBtnFace
constexpr fw::TColor Shadow = 0x808080;    // clBtnShadow, clGrayText
constexpr fw::TColor Highlight = 0xFFFFFF; // clBtnHighlight
constexpr fw::TColor Frame = 0x000000;     // clWindowFrame, clBtnText

// The colours that occur inside a rectangle (Right and Bottom inclusive).
std::set<fw::TColor> ColoursIn(const fw::TSurface& S, const fw::TRect& R) {
    std::set<fw::TColor> Result;
    for (int Y = R.Top; Y <= R.Bottom; ++Y)
        for (int X = R.Left; X <= R.Right; ++X)
            Result.insert(S.Pixel(X, Y));
    return Result;
}

// A cell's inside, clear of a selection frame.
fw::TRect Inside(const fw::TRect& Cell) {
    return {Cell.Left + 1, Cell.Top + 1, Cell.Right - 2, Cell.Bottom - 2};
}

class PopupPaint : public PopupFixture {};

TEST_F(PopupPaint, TheFrameIsARaisedBevelInsideABorder) {
    auto Popup = ShowPopup();
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    ASSERT_EQ(S.Width(), 176);
    ASSERT_EQ(S.Height(), 144);
    for (int X = 0; X < 176; ++X) {
        EXPECT_EQ(S.Pixel(X, 0), Frame) << X;
        EXPECT_EQ(S.Pixel(X, 143), Frame) << X;
    }
    for (int Y = 0; Y < 144; ++Y) {
        EXPECT_EQ(S.Pixel(0, Y), Frame) << Y;
        EXPECT_EQ(S.Pixel(175, Y), Frame) << Y;
    }
    // Highlight up the left and along the top, (1, 142) to (173, 1).
    for (int Y = 1; Y <= 142; ++Y)
        EXPECT_EQ(S.Pixel(1, Y), Highlight) << Y;
    for (int X = 1; X <= 173; ++X)
        EXPECT_EQ(S.Pixel(X, 1), Highlight) << X;
    // Shadow down the right and back along the bottom, (174, 1) to (2, 142).
    for (int Y = 1; Y <= 142; ++Y)
        EXPECT_EQ(S.Pixel(174, Y), Shadow) << Y;
    for (int X = 2; X <= 174; ++X)
        EXPECT_EQ(S.Pixel(X, 142), Shadow) << X;
    EXPECT_EQ(S.Pixel(2, 2), Face);
    EXPECT_EQ(S.Pixel(173, 141), Face);
}

TEST_F(PopupPaint, AnEtchedSeparatorRunsUnderTheNames) {
    auto Popup = ShowPopup();
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    for (int X = 4; X <= 171; ++X) {
        EXPECT_EQ(S.Pixel(X, 34), Shadow) << X;
        EXPECT_EQ(S.Pixel(X, 35), Highlight) << X;
    }
    EXPECT_EQ(S.Pixel(3, 34), Face);
    EXPECT_EQ(S.Pixel(172, 34), Face);
    EXPECT_EQ(S.Pixel(172, 35), Face);
}

// The names band as it should look: each name drawn bold and centred in its span
// 4-26, 26-50, ..., 146-170 on the button face.
fw::TSurface ExpectedNames(const std::string& Names) {
    fw::TBitmap Reference;
    Reference.SetSize(176, 144);
    fw::TCanvas* C = Reference.Canvas();
    C->Brush()->SetColor(fw::clBtnFace);
    C->FillRect({0, 0, 176, 144});
    C->Font()->SetName("MS Sans Serif");
    C->Font()->SetHeight(-8);
    C->Font()->SetStyle({fw::fsBold});
    C->Font()->SetColor(fw::clBtnText);
    fw::TRect Span{4, 19, 26, 36};
    for (int Column = 0; Column < 7; ++Column) {
        const std::string Name = Names.substr(std::size_t(3 * Column), 3);
        fw::TRect R = Span;
        fw::DrawTextA(C->Handle(), Name.c_str(), -1, &R, fw::DT_SINGLELINE | fw::DT_CENTER);
        Span.Left = Span.Right;
        Span.Right += 24;
    }
    return *Reference.Surface();
}

TEST_F(PopupPaint, WeekdayNamesStartAtTheWeekStartInTheirSpans) {
    const struct {
        qz::TWeekStart WeekStart;
        const char* Names;
    } Rows[] = {{qz::wsSunday, "Su Mo Tu We Th Fr Sa "},
                {qz::wsMonday, "Mo Tu We Th Fr Sa Su "},
                {qz::wsWednesday, "We Th Fr Sa Su Mo Tu "},
                {qz::wsSaturday, "Sa Su Mo Tu We Th Fr "}};
    for (const auto& Row : Rows) {
        edit->SetCalendarWeekStart(Row.WeekStart);
        auto Popup = ShowPopup();
        const fw::TSurface S = fw::Ui::FormImage(Popup.get());
        const fw::TSurface Expected = ExpectedNames(Row.Names);
        // Rows 19 to 33: the names' band above the separator, between the bevels.
        int Differences = 0;
        for (int Y = 19; Y <= 33; ++Y)
            for (int X = 2; X <= 173; ++X)
                Differences += S.Pixel(X, Y) != Expected.Pixel(X, Y);
        EXPECT_EQ(Differences, 0) << Row.Names;
    }
}

// Which cells of the second grid row (cells 8-14, always inside the month) show
// red digits.
std::string RedColumns(const TfrmQzCal* Popup, const fw::TSurface& S) {
    std::string Result;
    for (int Index = 8; Index <= 14; ++Index)
        Result += ColoursIn(S, Inside(Popup->FindArrayRect(Index))).count(fw::clRed) ? 'R' : '.';
    return Result;
}

TEST_F(PopupPaint, WeekendColumnsFollowTheWeekStart) {
    edit->SetCalendarWeekendColor(fw::clRed);
    const struct {
        qz::TWeekStart WeekStart;
        const char* Red;
    } Rows[] = {{qz::wsSunday, "R.....R"},    {qz::wsMonday, ".....RR"},   {qz::wsTuesday, "....RR."},
                {qz::wsWednesday, "...RR.."}, {qz::wsThursday, "..RR..."}, {qz::wsFriday, ".RR...."},
                {qz::wsSaturday, "RR....."}};
    for (const auto& Row : Rows) {
        edit->SetCalendarWeekStart(Row.WeekStart);
        auto Popup = ShowPopup();
        EXPECT_EQ(RedColumns(Popup.get(), fw::Ui::FormImage(Popup.get())), Row.Red) << int(Row.WeekStart);
    }
}

TEST_F(PopupPaint, TheDefaultWeekendColourIsTheTextColour) {
    auto Popup = ShowPopup();
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    EXPECT_EQ(RedColumns(Popup.get(), S), ".......");
    // Day 1 of March 2026 (a Sunday, column 1) has black digits.
    EXPECT_TRUE(ColoursIn(S, Inside(Popup->FindArrayRect(Popup->FirstIndex()))).count(Frame));
}

TEST_F(PopupPaint, NeighbouringDaysAreGreyEvenOnWeekends) {
    edit->SetCalendarWeekendColor(fw::clRed);
    auto Popup = ShowPopup();
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    // March 2026 from Sunday: cell 42 is Saturday 11 April, cell 36 Sunday 5 April.
    for (int Index : {36, 40, 42}) {
        const auto Colours = ColoursIn(S, Inside(Popup->FindArrayRect(Index)));
        EXPECT_TRUE(Colours.count(Shadow)) << Index;
        EXPECT_FALSE(Colours.count(fw::clRed)) << Index;
        EXPECT_FALSE(Colours.count(Frame)) << Index;
    }
}

TEST_F(PopupPaint, WithoutFillPageTheOutsideCellsStayEmpty) {
    edit->SetCalendarFillPage(false);
    edit->SetDate(fw::EncodeDate(2025, 1, 15)); // cells 1-3 and 35-42 lie outside
    auto Popup = ShowPopup();
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    for (int Index : {1, 2, 3, 35, 36, 42})
        EXPECT_EQ(ColoursIn(S, Popup->FindArrayRect(Index)), std::set<fw::TColor>{Face}) << Index;
}

// The sunken frame of a cell: shadow on the left and top, highlight on the right
// and bottom, one pixel inside the cell's last column and row.
void ExpectSunkenFrame(const fw::TSurface& S, const fw::TRect& R) {
    for (int Y = R.Top; Y <= R.Bottom - 1; ++Y)
        EXPECT_EQ(S.Pixel(R.Left, Y), Shadow) << "left " << Y;
    for (int X = R.Left; X <= R.Right - 2; ++X)
        EXPECT_EQ(S.Pixel(X, R.Top), Shadow) << "top " << X;
    for (int Y = R.Top; Y <= R.Bottom - 1; ++Y)
        EXPECT_EQ(S.Pixel(R.Right - 1, Y), Highlight) << "right " << Y;
    for (int X = R.Left + 1; X <= R.Right - 1; ++X)
        EXPECT_EQ(S.Pixel(X, R.Bottom - 1), Highlight) << "bottom " << X;
    // The cell's own last column and row stay face.
    EXPECT_EQ(S.Pixel(R.Right, R.Top), Face);
    EXPECT_EQ(S.Pixel(R.Left, R.Bottom), Face);
}

TEST_F(PopupPaint, TheSelectionIsBoldInASunkenFrameAndMovesWithTwoCellsRepainted) {
    edit->SetDate(fw::EncodeDate(2026, 3, 14));
    auto Popup = ShowPopup();
    const int First = Popup->SelIndex();
    fw::TSurface Before = fw::Ui::FormImage(Popup.get());
    ExpectSunkenFrame(Before, Popup->FindArrayRect(First));
    EXPECT_EQ(Popup->FormPaintCount(), 1);
    const int Paints = Popup->PaintCount();

    // Down a week by the pointer: the old cell is plain again, the new one framed.
    fw::Ui::MouseDown(Popup.get(), CellCentre(Popup.get(), First + 7).X,
                      CellCentre(Popup.get(), First + 7).Y);
    const fw::TSurface After = fw::Ui::FormImage(Popup.get());
    ExpectSunkenFrame(After, Popup->FindArrayRect(First + 7));
    EXPECT_EQ(ColoursIn(After, Popup->FindArrayRect(First)).count(Highlight), 0u);
    EXPECT_EQ(Popup->FormPaintCount(), 1);
    EXPECT_EQ(Popup->PaintCount(), Paints);

    // Only the two cells changed; the old one looks as it does unselected.
    int Outside = 0;
    const fw::TRect Old = Popup->FindArrayRect(First);
    const fw::TRect New = Popup->FindArrayRect(First + 7);
    for (int Y = 0; Y < 144; ++Y)
        for (int X = 0; X < 176; ++X) {
            const bool InOld = X >= Old.Left && X <= Old.Right && Y >= Old.Top && Y <= Old.Bottom;
            const bool InNew = X >= New.Left && X <= New.Right && Y >= New.Top && Y <= New.Bottom;
            if (!InOld && !InNew) Outside += Before.Pixel(X, Y) != After.Pixel(X, Y);
        }
    EXPECT_EQ(Outside, 0);
    // A fresh popup on the old date's neighbour shows the old cell plain: the same pixels.
    fw::Ui::MouseUp(Popup.get(), 0, 0);
    edit->SetDate(fw::EncodeDate(2026, 3, 21));
    auto Fresh = ShowPopup();
    const fw::TSurface Plain = fw::Ui::FormImage(Fresh.get());
    for (int Y = Old.Top; Y <= Old.Bottom; ++Y)
        for (int X = Old.Left; X <= Old.Right; ++X)
            EXPECT_EQ(After.Pixel(X, Y), Plain.Pixel(X, Y)) << X << "," << Y;
}

TEST_F(PopupPaint, ASelectedNeighbouringDayIsGreyBoldAndFramed) {
    auto Popup = ShowPopup();
    const fw::TPoint P = CellCentre(Popup.get(), 40);
    fw::Ui::MouseDown(Popup.get(), P.X, P.Y);
    EXPECT_EQ(Popup->MonthShift(), 1);
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    ExpectSunkenFrame(S, Popup->FindArrayRect(40));
    const auto Colours = ColoursIn(S, Inside(Popup->FindArrayRect(40)));
    EXPECT_TRUE(Colours.count(Shadow));
    EXPECT_FALSE(Colours.count(Frame));
    fw::Ui::MouseUp(Popup.get(), 0, 0);
}

TEST_F(PopupPaint, FormPaintRunsOnlyWhenTheFrameworkAsks) {
    edit->SetDate(fw::EncodeDate(2026, 3, 30));
    auto Popup = ShowPopup();
    EXPECT_EQ(Popup->FormPaintCount(), 1);
    // Steps inside the month move two cells.
    Popup->AdjustCalendar(qz::aaDayNext);
    Popup->AdjustCalendar(qz::aaDayPrev);
    Popup->AdjustCalendar(qz::aaWeekPrev);
    fw::Ui::Pump();
    EXPECT_EQ(Popup->FormPaintCount(), 1);
    // A month change repaints the window at once.
    Popup->AdjustCalendar(qz::aaMonthNext);
    EXPECT_EQ(Popup->FormPaintCount(), 2);
    // Invalidating (as uncovering does) paints it once more, at the loop's paint pass.
    Popup->Invalidate();
    EXPECT_EQ(Popup->FormPaintCount(), 2);
    fw::Ui::Pump();
    EXPECT_EQ(Popup->FormPaintCount(), 3);
}

TEST_F(PopupPaint, AnEmptyEditShowsTheStartingDateOnceThePopupHasPainted) {
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(edit->Text(), "");
    Popup->Show();
    fw::Ui::Pump();
    EXPECT_EQ(edit->Text(), "14/03/2026");
    // Each selection change writes the selected date in the edit's layout.
    edit->SetDateFormat("yyyy/m/d");
    auto Other = ShowPopup();
    Other->AdjustCalendar(qz::aaDayNext);
    EXPECT_EQ(edit->Text(), "2026/3/15");
}

TEST_F(PopupPaint, TheTitleShowsTheDisplayedMonthBold) {
    // Title pixels of two popups on different months differ; of one month, match a
    // bold reference drawn in the title rectangle.
    edit->SetDate(fw::EncodeDate(2003, 12, 25));
    auto Popup = ShowPopup();
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    fw::TBitmap Reference;
    Reference.SetSize(176, 144);
    fw::TCanvas* C = Reference.Canvas();
    C->Brush()->SetColor(fw::clBtnFace);
    C->FillRect({0, 0, 176, 144});
    C->Font()->SetName("MS Sans Serif");
    C->Font()->SetHeight(-8);
    C->Font()->SetStyle({fw::fsBold});
    fw::TRect R = Popup->TitleRect();
    fw::DrawTextA(C->Handle(), "December 2003", -1, &R, fw::DT_SINGLELINE | fw::DT_CENTER);
    const fw::TRect T = Popup->TitleRect();
    int Differences = 0;
    for (int Y = T.Top; Y < T.Bottom; ++Y)
        for (int X = T.Left; X < T.Right; ++X)
            Differences += S.Pixel(X, Y) != Reference.Surface()->Pixel(X, Y);
    EXPECT_EQ(Differences, 0);
}

TEST_F(PopupPaint, ButtonsShowTheirArrowsOnTheFace) {
    auto Popup = ShowPopup();
    const fw::TSurface S = fw::Ui::FormImage(Popup.get());
    for (qz::TCalButtons B : {qz::cbMonthPrev, qz::cbMonthNext, qz::cbYearPrev, qz::cbYearNext}) {
        const fw::TRect R = Popup->ButtonRect(B);
        const auto Colours = ColoursIn(S, {R.Left, R.Top, R.Right - 1, R.Bottom - 1});
        EXPECT_EQ(Colours, (std::set<fw::TColor>{Face, Frame})) << int(B);
    }
    // Pressed: red on the face.
    Popup->DrawButton(qz::cbYearNext, true);
    const fw::TSurface Pressed = fw::Ui::FormImage(Popup.get());
    const fw::TRect R = Popup->ButtonRect(qz::cbYearNext);
    EXPECT_EQ(ColoursIn(Pressed, {R.Left, R.Top, R.Right - 1, R.Bottom - 1}),
              (std::set<fw::TColor>{Face, fw::clRed}));
    // A value outside the buttons draws nothing.
    Popup->DrawButton(static_cast<qz::TCalButtons>(7), true);
    EXPECT_EQ(fw::Ui::FormImage(Popup.get()), Pressed);
}

} // namespace
} // namespace qztest
