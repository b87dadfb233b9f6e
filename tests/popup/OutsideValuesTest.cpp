// Values outside their types: enumeration settings cast from integers, a week
// start that reaches the grid anyway, and anchors near the integer limits. None
// may turn into an index, a size or a coordinate outside what it addresses.

#include "PopupFixture.h"

#include <climits>
#include <framework/forms/Screen.h>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

constexpr int OutsideOrdinals[] = {2, 7, 8, 9, 13, 255};

TEST_F(PopupFixture, EnumerationSettersIgnoreValuesOutsideTheirTypes) {
    qz::TQzCalendar Calendar(form.get());
    edit->SetCalendarWeekStart(qz::wsMonday);
    edit->SetCalendarStyle(qz::csDialog);
    edit->SetErrorMessageType(qz::mtBeep);
    edit->SetGlyphType(qz::gtCalendar2);
    Calendar.SetCalendarWeekStart(qz::wsFriday);
    Calendar.SetCalendarStyle(qz::csDialog);
    const fw::TBitmap* Glyph = edit->GetGlyph();
    const int GlyphWidth = Glyph->Width();
    for (const int V : OutsideOrdinals) {
        if (V > qz::wsSaturday) {
            edit->SetCalendarWeekStart(static_cast<qz::TWeekStart>(V));
            Calendar.SetCalendarWeekStart(static_cast<qz::TWeekStart>(V));
        }
        edit->SetCalendarStyle(static_cast<qz::TCalendarStyles>(V));
        Calendar.SetCalendarStyle(static_cast<qz::TCalendarStyles>(V));
        if (V > qz::mtSilent) edit->SetErrorMessageType(static_cast<qz::TMessageTypes>(V));
        if (V > qz::gtCalendar3) edit->SetGlyphType(static_cast<qz::TGlyphTypes>(V));
    }
    EXPECT_EQ(edit->CalendarWeekStart(), qz::wsMonday);
    EXPECT_EQ(edit->CalendarStyle(), qz::csDialog);
    EXPECT_EQ(edit->ErrorMessageType(), qz::mtBeep);
    EXPECT_EQ(edit->GlyphType(), qz::gtCalendar2);
    EXPECT_EQ(edit->GetGlyph()->Width(), GlyphWidth);
    EXPECT_EQ(Calendar.CalendarWeekStart(), qz::wsFriday);
    EXPECT_EQ(Calendar.CalendarStyle(), qz::csDialog);
}

// A popup whose week start was stored behind the setters' back.
class TWildPopup : public TfrmQzCal {
public:
    using TfrmQzCal::TfrmQzCal;
    void ForceWeekStart(int Value) {
        FWeekStart = static_cast<qz::TWeekStart>(Value);
        BuildCalendarDates();
    }
};

TEST_F(PopupFixture, TheGridStaysInsideItsCellsWhateverTheWeekStartHolds) {
    edit->SetDate(EncodeDate(2003, 12, 25));
    for (const int V : OutsideOrdinals) {
        if (V <= qz::wsSaturday) continue;
        TWildPopup Popup(edit);
        Popup.Show();
        Popup.ForceWeekStart(V);
        // Counted as Sunday: December 2003 starts on a Monday, cell 2.
        EXPECT_EQ(Popup.FirstIndex(), 2) << V;
        EXPECT_EQ(Popup.SelIndex(), 26) << V;
        EXPECT_EQ(Popup.Date(), EncodeDate(2003, 12, 25)) << V;
        EXPECT_EQ(Popup.GetFirstDay(EncodeDate(2003, 12, 1)), 2);
        // Painting reads the weekday names and the weekend columns from it.
        Popup.Refresh();
        EXPECT_EQ(edit->Text(), "25/12/2003");
    }
    // Index look-ups outside the grid give nothing instead of reading past it.
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    for (const int Index : {INT_MIN, -1, 0, 43, INT_MAX})
        EXPECT_EQ(Popup->DayNumbers(Index), 0) << Index;
    // Points on and beyond the grid's edges map to its outer cells.
    const fw::TRect G = Popup->GridRect();
    EXPECT_EQ(Popup->FindArrayIndex(G.Left, G.Top), 1);
    EXPECT_EQ(Popup->FindArrayIndex(G.Right, G.Bottom), TfrmQzCal::CellCount);
    EXPECT_EQ(Popup->FindArrayIndex(G.Right + 500, G.Top - 500), TfrmQzCal::ColumnCount);
}

TEST_F(PopupFixture, AnchorsNearTheIntegerLimitsStayOnTheScreen) {
    qz::TQzCalendar Calendar(form.get());
    const struct {
        int Left, Top;
    } Rows[] = {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MAX - 5, INT_MIN + 5}, {INT_MIN, INT_MAX}};
    for (const auto& Row : Rows) {
        Calendar.SetCalendarLeft(Row.Left);
        Calendar.SetCalendarTop(Row.Top);
        auto Popup = std::make_unique<TfrmQzCal>(&Calendar);
        // Pushed in from the right edge, or to 0 from the left.
        EXPECT_GE(Popup->Left(), 0);
        EXPECT_LE(Popup->Left() + Popup->Width(), fw::Screen->Width());
        // Above the anchor when it is too low, else at the anchor.
        const int Expected =
            Row.Top == INT_MAX ? INT_MAX - Popup->Height() - 1 : form->ClientToScreen({0, Row.Top}).Y;
        EXPECT_EQ(Popup->Top(), Expected);
    }
    // A control far out on its form.
    edit->SetBounds(INT_MAX - 10, INT_MAX - 10, 121, 20);
    EXPECT_EQ(edit->BoundsRect(), fw::Rect(INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX));
    const fw::TPoint Far = edit->ClientToScreen({100, 100});
    EXPECT_EQ(Far.X, INT_MAX);
    EXPECT_EQ(Far.Y, INT_MAX);
    auto Popup = std::make_unique<TfrmQzCal>(edit);
    EXPECT_EQ(Popup->Left() + Popup->Width(), fw::Screen->Width());
}

} // namespace
} // namespace qztest
