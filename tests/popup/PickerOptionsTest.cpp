// The popup's opt-in features, driven through the edit and the popup's input: the
// permitted range, today's mark and key, week numbers and wheel paging.

#include "PopupFixture.h"

#include <framework/forms/Screen.h>
#include <framework/graphics/Color.h>
#include <string>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

class PickerOptions : public PopupFixture {
protected:
    // Opens the popup through the edit, runs Step inside it, then cancels.
    void Inside(const std::function<void(TfrmQzCal*)>& Step) {
        OpenAndDrive([&](TfrmQzCal* Popup) {
            Step(Popup);
            if (Popup->ModalResult() == fw::mrNone) fw::Ui::PressKey(fw::VK_ESCAPE);
        });
    }
    static fw::TPoint Centre(const fw::TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
    // Turns the wheel over the middle of the grid, with Ctrl held when asked.
    static void Wheel(TfrmQzCal* Popup, int Delta, bool Ctrl = false) {
        if (Ctrl) fw::Ui::KeyDown(fw::VK_CONTROL);
        const fw::TPoint P = Centre(Popup->GridRect());
        fw::Ui::Wheel(Popup, P.X, P.Y, Delta);
        if (Ctrl) fw::Ui::KeyUp(fw::VK_CONTROL);
    }
};

// ---------------------------------------------------------------- the range

TEST_F(PickerOptions, TheRangeStopsKeysAtItsEdgesAndOpensOnTheNearestDay) {
    const fw::TDateTime Min = EncodeDate(2026, 3, 10), Max = EncodeDate(2026, 4, 20);
    const struct {
        fw::TDateTime Start; // 0: an empty edit (today, 14 March)
        fw::TDateTime MinDate, MaxDate;
        fw::Word Key;
        fw::TDateTime Opened, Stepped;
    } Rows[] = {
        {EncodeDate(2026, 3, 12), Min, Max, fw::VK_UP, EncodeDate(2026, 3, 12), Min},
        {EncodeDate(2026, 3, 10), Min, Max, fw::VK_LEFT, Min, Min},
        {EncodeDate(2026, 4, 18), Min, Max, fw::VK_DOWN, EncodeDate(2026, 4, 18), Max},
        {EncodeDate(2026, 3, 31), Min, Max, fw::VK_NEXT, EncodeDate(2026, 3, 31), Max},
        {EncodeDate(2026, 3, 31), Min, Max, fw::VK_END, EncodeDate(2026, 3, 31), Max},
        {EncodeDate(2026, 4, 12), Min, Max, fw::VK_PRIOR, EncodeDate(2026, 4, 12), EncodeDate(2026, 3, 12)},
        {EncodeDate(2025, 1, 1), Min, Max, fw::VK_RIGHT, Min, EncodeDate(2026, 3, 11)},
        {EncodeDate(2027, 1, 1), Min, Max, fw::VK_LEFT, Max, EncodeDate(2026, 4, 19)},
        {0, EncodeDate(2026, 5, 1), 0, fw::VK_HOME, EncodeDate(2026, 5, 1), EncodeDate(2026, 5, 1)},
        {0, 0, EncodeDate(2026, 2, 1), fw::VK_END, EncodeDate(2026, 2, 1), EncodeDate(2026, 2, 1)},
        // An inverted pair permits the day of MinDate alone.
        {0, Max, Min, fw::VK_RIGHT, Max, Max},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(testing::Message() << "start " << Row.Start << " key " << Row.Key);
        edit->SetMinDate(Row.MinDate);
        edit->SetMaxDate(Row.MaxDate);
        if (Row.Start == 0)
            edit->Clear();
        else
            edit->SetDate(Row.Start);
        fw::TDateTime Opened = 0;
        const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
            Opened = Popup->Date();
            fw::Ui::PressKey(Row.Key);
            fw::Ui::PressKey(fw::VK_RETURN);
        });
        EXPECT_TRUE(Picked);
        EXPECT_EQ(Opened, Row.Opened);
        EXPECT_EQ(edit->GetDate(), Row.Stepped);
    }
}

TEST_F(PickerOptions, GreyedDaysAndDisabledButtonsRefuseTheMouse) {
    // April 2026 from the 10th to the 20th: every button leads out of the range.
    edit->SetMinDate(EncodeDate(2026, 4, 10));
    edit->SetMaxDate(EncodeDate(2026, 4, 20));
    edit->SetDate(EncodeDate(2026, 4, 14));
    Inside([&](TfrmQzCal* Popup) {
        for (auto B : {qz::cbMonthPrev, qz::cbMonthNext, qz::cbYearPrev, qz::cbYearNext})
            EXPECT_FALSE(Popup->ButtonEnabled(B));
        const int Paints = Popup->FormPaintCount();
        const fw::TPoint Next = Centre(Popup->ButtonRect(qz::cbMonthNext));
        fw::Ui::MouseDown(Popup, Next.X, Next.Y);
        fw::Ui::MouseUp(Popup, Next.X, Next.Y);
        EXPECT_EQ(Popup->FormPaintCount(), Paints);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 14));

        // The 9th is greyed: a press there starts nothing; a drag from the 14th
        // over the 21st keeps the 14th, and the release accepts it.
        const int Ninth = Popup->FirstIndex() + 8;
        EXPECT_FALSE(Popup->CellAllowed(Ninth));
        fw::TPoint P = CellCentre(Popup, Ninth);
        fw::Ui::MouseDown(Popup, P.X, P.Y);
        EXPECT_FALSE(Popup->Selecting());
        fw::Ui::MouseUp(Popup, P.X, P.Y);
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
        P = CellCentre(Popup, Popup->FirstIndex() + 13);
        fw::Ui::MouseDown(Popup, P.X, P.Y);
        const fw::TPoint Out = CellCentre(Popup, Popup->FirstIndex() + 20);
        fw::Ui::MouseMove(Popup, Out.X, Out.Y);
        fw::Ui::MouseUp(Popup, Out.X, Out.Y);
    });
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 4, 14));

    // A range over several months enables only the buttons that reach it.
    edit->SetMaxDate(EncodeDate(2026, 6, 5));
    Inside([&](TfrmQzCal* Popup) {
        EXPECT_FALSE(Popup->ButtonEnabled(qz::cbMonthPrev));
        EXPECT_TRUE(Popup->ButtonEnabled(qz::cbMonthNext));
        EXPECT_FALSE(Popup->ButtonEnabled(qz::cbYearNext));
        const fw::TPoint Next = Centre(Popup->ButtonRect(qz::cbMonthNext));
        fw::Ui::MouseDown(Popup, Next.X, Next.Y);
        fw::Ui::MouseUp(Popup, Next.X, Next.Y);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 5, 14));
    });
}

// ---------------------------------------------------------------- today

TEST_F(PickerOptions, TodayIsFramedAndTSelectsIt) {
    // Today is Saturday 14 March 2026; the popup opens on 2 February.
    edit->SetDate(EncodeDate(2026, 2, 2));
    Inside([&](TfrmQzCal* Popup) {
        fw::Ui::PressKey('T');
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 2, 2)) << "T without the option";
        EXPECT_EQ(Popup->TodayIndex(), 0);
    });
    edit->SetCalendarOptions({qz::coShowToday});
    Inside([&](TfrmQzCal* Popup) {
        // 14 March is a grey cell of the February grid (a Sunday week start).
        const int Cell = Popup->TodayIndex();
        ASSERT_GT(Cell, 0);
        EXPECT_EQ(Popup->CellDate(Cell), EncodeDate(2026, 3, 14));
        const fw::TRect R = Popup->FindArrayRect(Cell);
        const fw::TSurface Image = fw::Ui::FormImage(Popup);
        EXPECT_EQ(Image.Pixel(R.Left + 1, R.Top + 1), fw::ColorToRGB(fw::clMaroon));
        fw::Ui::PressKey('T');
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 14));
        EXPECT_EQ(Popup->MonthShift(), 0);
        EXPECT_EQ(Popup->SelIndex(), Popup->TodayIndex()) << "the grid shows March now";
    });
    // Today outside the range: T goes to the nearest permitted day.
    edit->SetMaxDate(EncodeDate(2026, 3, 1));
    Inside([&](TfrmQzCal* Popup) {
        fw::Ui::PressKey('T');
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 1));
    });
}

// ---------------------------------------------------------------- week numbers

TEST_F(PickerOptions, IsoWeekNumbers) {
    const struct {
        fw::TDateTime Day;
        int Week;
    } Rows[] = {
        {EncodeDate(2026, 1, 1), 1},    {EncodeDate(2025, 12, 29), 1}, {EncodeDate(2020, 12, 31), 53},
        {EncodeDate(2021, 1, 3), 53},   {EncodeDate(2021, 1, 4), 1},   {EncodeDate(2026, 3, 14), 11},
        {EncodeDate(2027, 1, 1), 53},   {EncodeDate(2024, 12, 30), 1}, {EncodeDate(2015, 12, 31), 53},
        {EncodeDate(2026, 12, 31), 53}, {EncodeDate(1, 1, 1), 1},
    };
    for (const auto& Row : Rows)
        EXPECT_EQ(TfrmQzCal::IsoWeekNumber(Row.Day), Row.Week) << Row.Day;
}

TEST_F(PickerOptions, TheWeekColumnWidensThePopupAndItsPlacementUsesTheRealWidth) {
    int Classic = 0;
    Inside([&](TfrmQzCal* Popup) { Classic = Popup->Width(); });
    edit->SetCalendarOptions({qz::coWeekNumbers});
    // Near the right edge of the screen the popup's right edge meets the screen's.
    edit->SetLeft(fw::Screen->Width() - form->Left() - 130);
    Inside([&](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->Width(), Classic + Popup->WeekColumnWidth());
        EXPECT_GT(Popup->WeekColumnWidth(), 0);
        EXPECT_EQ(Popup->GridRect().Left, 4 + Popup->WeekColumnWidth());
        EXPECT_EQ(Popup->Left() + Popup->Width(), fw::Screen->Width());
        // A click in the week column selects nothing.
        const fw::TPoint P{6, Popup->GridRect().Top + 3};
        fw::Ui::MouseDown(Popup, P.X, P.Y);
        EXPECT_FALSE(Popup->Selecting());
        fw::Ui::MouseUp(Popup, P.X, P.Y);
    });
}

// ---------------------------------------------------------------- the wheel

TEST_F(PickerOptions, TheWheelPagesByMonthsAndWithCtrlByYears) {
    edit->SetDate(EncodeDate(2026, 3, 31));
    Inside([&](TfrmQzCal* Popup) {
        Wheel(Popup, -120);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 31)) << "off by default";
    });
    edit->SetCalendarOptions({qz::coWheelPaging});
    const struct {
        int Delta;
        bool Ctrl;
        fw::TDateTime Expected;
    } Rows[] = {
        {-120, false, EncodeDate(2026, 4, 30)}, {120, false, EncodeDate(2026, 2, 28)},
        {-240, false, EncodeDate(2026, 5, 30)}, {120, true, EncodeDate(2025, 3, 31)},
        {-360, true, EncodeDate(2029, 3, 31)},  {60, false, EncodeDate(2026, 3, 31)},
    };
    for (const auto& Row : Rows)
        Inside([&](TfrmQzCal* Popup) {
            Wheel(Popup, Row.Delta, Row.Ctrl);
            EXPECT_EQ(Popup->Date(), Row.Expected) << Row.Delta << (Row.Ctrl ? " with Ctrl" : "");
            if (Row.Delta == 60) {
                Wheel(Popup, 60); // two half notches make one
                EXPECT_EQ(Popup->Date(), EncodeDate(2026, 2, 28));
            }
        });
}

} // namespace
} // namespace qztest
