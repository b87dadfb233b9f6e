// Disabled and marked days from the opener's OnDayDisabled and OnDayStyle:
// refused days greyed and skipped by keys, wheel, T and the mouse like days
// outside the range; marks asked once per shown day, painted bold and in their
// colour, their hint shown under the pointer; the holiday calendar's golden.

#include "PopupFixture.h"

#include <framework/graphics/Color.h>
#include <set>
#include <string>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

// Weekends and one booked day are refused; two holidays are marked.
bool Weekend(fw::TDateTime D) {
    const int Day = fw::DayOfWeek(D); // 1 Sunday ... 7 Saturday
    return Day == 1 || Day == 7;
}

class DayMarks : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        edit->OnDayDisabled = [this](fw::TObject* Sender, fw::TDateTime D, bool& Disabled) {
            EXPECT_EQ(Sender, edit);
            Disabled = Weekend(D) || D == EncodeDate(2026, 3, 25);
        };
    }
    void Inside(const std::function<void(TfrmQzCal*)>& Step) {
        OpenAndDrive([&](TfrmQzCal* Popup) {
            Step(Popup);
            if (Popup->ModalResult() == fw::mrNone) fw::Ui::PressKey(fw::VK_ESCAPE);
        });
    }
    void MarkHolidays() {
        edit->OnDayStyle = [this](fw::TObject*, fw::TDateTime D, qz::TDayStyle& Style) {
            ++Asked;
            AskedDays.insert(D);
            if (D == EncodeDate(2026, 3, 17)) Style = {true, fw::clRed, "Founders' Day"};
            if (D == EncodeDate(2026, 3, 30)) Style = {true, fw::clNone, "Spring holiday"};
        };
    }
    int Asked = 0;
    std::set<fw::TDateTime> AskedDays;
};

// Saturday 14 March 2026 is today; 25 March (a Wednesday) is booked.
TEST_F(DayMarks, KeysWheelAndTSkipRefusedDaysAndStopWhereNoneIsLeft) {
    const struct {
        fw::TDateTime Start; // 0: the empty edit (today)
        fw::TDateTime MaxDate;
        fw::Word Key;        // 0: a wheel notch towards the user
        fw::TDateTime Opened, Stepped;
    } Rows[] = {
        {EncodeDate(2026, 3, 13), 0, fw::VK_RIGHT, EncodeDate(2026, 3, 13), EncodeDate(2026, 3, 16)},
        {EncodeDate(2026, 3, 16), 0, fw::VK_LEFT, EncodeDate(2026, 3, 16), EncodeDate(2026, 3, 13)},
        {EncodeDate(2026, 3, 24), 0, fw::VK_RIGHT, EncodeDate(2026, 3, 24), EncodeDate(2026, 3, 26)},
        {EncodeDate(2026, 3, 18), 0, fw::VK_DOWN, EncodeDate(2026, 3, 18), EncodeDate(2026, 3, 26)},
        {EncodeDate(2026, 3, 18), 0, fw::VK_NEXT, EncodeDate(2026, 3, 18), EncodeDate(2026, 4, 20)},
        {EncodeDate(2026, 4, 15), 0, fw::VK_PRIOR, EncodeDate(2026, 4, 15), EncodeDate(2026, 3, 13)},
        {EncodeDate(2026, 3, 18), 0, 0, EncodeDate(2026, 3, 18), EncodeDate(2026, 4, 20)},
        // A refused day opens on the next permitted one; T goes there too.
        {0, 0, 'T', EncodeDate(2026, 3, 16), EncodeDate(2026, 3, 16)},
        // Nothing permitted before the range ends: no step.
        {EncodeDate(2026, 3, 20), EncodeDate(2026, 3, 22), fw::VK_RIGHT, EncodeDate(2026, 3, 20),
         EncodeDate(2026, 3, 20)},
    };
    edit->SetCalendarOptions({qz::coWheelPaging, qz::coShowToday});
    for (const auto& Row : Rows) {
        SCOPED_TRACE(testing::Message() << "start " << Row.Start << " key " << Row.Key);
        edit->SetMaxDate(Row.MaxDate);
        if (Row.Start)
            edit->SetDate(Row.Start);
        else
            edit->SetText("");
        Inside([&](TfrmQzCal* Popup) {
            EXPECT_EQ(Popup->Date(), Row.Opened);
            if (Row.Key) {
                fw::Ui::PressKey(Row.Key);
            } else {
                const fw::TRect G = Popup->GridRect();
                fw::Ui::Wheel(Popup, (G.Left + G.Right) / 2, (G.Top + G.Bottom) / 2, -120);
            }
            EXPECT_EQ(Popup->Date(), Row.Stepped);
        });
    }
}

TEST_F(DayMarks, ARefusedDayIsGreyAndTheMouseCannotPickIt) {
    edit->SetDate(EncodeDate(2026, 3, 24));
    Inside([&](TfrmQzCal* Popup) {
        const int Booked = Popup->FirstIndex() + 24;
        EXPECT_FALSE(Popup->CellAllowed(Booked));
        EXPECT_TRUE(Popup->CellAllowed(Booked - 1));
        const fw::TRect R = Popup->FindArrayRect(Booked);
        std::set<fw::TColor> Ink;
        const fw::TSurface Image = fw::Ui::FormImage(Popup);
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y)
            for (int X = R.Left + 1; X < R.Right - 1; ++X)
                Ink.insert(Image.Pixel(X, Y));
        EXPECT_EQ(Ink.count(fw::ColorToRGB(fw::clBtnText)), 0u) << "no black digits";
        EXPECT_EQ(Ink.count(fw::ColorToRGB(fw::clGrayText)), 1u);
        // A press on it starts nothing; a drag from the 24th over it keeps the 24th.
        fw::TPoint P = CellCentre(Popup, Booked);
        fw::Ui::MouseDown(Popup, P.X, P.Y);
        EXPECT_FALSE(Popup->Selecting());
        fw::Ui::MouseUp(Popup, P.X, P.Y);
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
        P = CellCentre(Popup, Booked - 1);
        fw::Ui::MouseDown(Popup, P.X, P.Y);
        const fw::TPoint Over = CellCentre(Popup, Booked);
        fw::Ui::MouseMove(Popup, Over.X, Over.Y);
        fw::Ui::MouseUp(Popup, Over.X, Over.Y);
    });
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 24));
}

TEST_F(DayMarks, MarksAreAskedOncePerShownDayAndPaintedWithTheirHint) {
    MarkHolidays();
    for (bool FillPage : {true, false}) {
        SCOPED_TRACE(FillPage);
        edit->SetCalendarFillPage(FillPage);
        edit->SetDate(EncodeDate(2026, 3, 16));
        Asked = 0;
        AskedDays.clear();
        Inside([&](TfrmQzCal* Popup) {
            // March 2026 starts on a Sunday: 42 cells with fill page, 31 days without.
            EXPECT_EQ(Asked, FillPage ? 42 : 31);
            EXPECT_EQ(AskedDays.size(), static_cast<std::size_t>(Asked));
            const int Founders = Popup->FirstIndex() + 16;
            EXPECT_TRUE(Popup->CellStyle(Founders).Bold);
            EXPECT_EQ(Popup->CellStyle(Founders).Color, fw::clRed);
            const fw::TRect R = Popup->FindArrayRect(Founders);
            const fw::TSurface Image = fw::Ui::FormImage(Popup);
            bool Red = false;
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                for (int X = R.Left; X < R.Right; ++X)
                    Red = Red || Image.Pixel(X, Y) == fw::ColorToRGB(fw::clRed);
            EXPECT_TRUE(Red);
            // Moving the selection off a marked day leaves it marked.
            fw::Ui::PressKey(fw::VK_RIGHT);
            fw::Ui::PressKey(fw::VK_RIGHT);
            EXPECT_EQ(Asked, FillPage ? 42 : 31) << "a step inside the month asks nothing";
            // The hint follows the pointer.
            fw::TPoint P = CellCentre(Popup, Founders);
            fw::Ui::MouseMove(Popup, P.X, P.Y);
            EXPECT_EQ(Popup->Hint(), "Founders' Day");
            EXPECT_TRUE(Popup->ShowHint());
            P = CellCentre(Popup, Founders + 1);
            fw::Ui::MouseMove(Popup, P.X, P.Y);
            EXPECT_EQ(Popup->Hint(), "");
            // A new month asks again, for its own days.
            fw::Ui::PressKey(fw::VK_NEXT);
            EXPECT_GT(Asked, FillPage ? 42 : 31);
        });
    }
}

TEST_F(DayMarks, WithoutHandlersNothingIsAskedAndThePopupHasNoHint) {
    edit->OnDayDisabled = nullptr;
    edit->SetDate(EncodeDate(2026, 3, 14));
    Inside([&](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 14));
        EXPECT_TRUE(Popup->CellAllowed(Popup->SelIndex()));
        EXPECT_FALSE(Popup->ShowHint());
    });
}

TEST_F(DayMarks, HolidayCalendarGolden) {
    MarkHolidays();
    edit->SetCalendarOptions({qz::coShowToday});
    edit->SetDate(EncodeDate(2026, 3, 16));
    auto Popup = ShowPopup();
    EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "picker", "holidays");
}

} // namespace
} // namespace qztest
