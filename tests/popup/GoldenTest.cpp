// Golden screenshots of the popup: each week start with and without fill page, a
// selected neighbouring-month day, a pressed arrow button, and the dialog style.
// Each runs twice: as the classic popup, and with a permitted range wide enough
// to hold every day shown, which must not change a pixel.

#include "PopupFixture.h"

#include <string>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

using fw::EncodeDate;

class PopupGolden : public PopupFixture, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        if (GetParam()) {
            edit->SetMinDate(EncodeDate(1990, 1, 1));
            edit->SetMaxDate(EncodeDate(2090, 1, 1));
        }
        // April 2026 has days of March before it and of May after it for every week
        // start; red weekends make the weekend columns visible.
        edit->SetDate(EncodeDate(2026, 4, 14));
        edit->SetCalendarWeekendColor(fw::clRed);
    }
};

TEST_P(PopupGolden, WeekStartsWithAndWithoutFillPage) {
    const struct {
        qz::TWeekStart WeekStart;
        const char* Name;
    } Rows[] = {{qz::wsSunday, "sunday"},
                {qz::wsMonday, "monday"},
                {qz::wsWednesday, "wednesday"},
                {qz::wsSaturday, "saturday"}};
    for (const auto& Row : Rows)
        for (bool FillPage : {true, false}) {
            edit->SetCalendarWeekStart(Row.WeekStart);
            edit->SetCalendarFillPage(FillPage);
            auto Popup = ShowPopup();
            EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "popup",
                          std::string(Row.Name) + (FillPage ? "" : "-nofill"));
        }
}

TEST_P(PopupGolden, ASelectedNeighbouringMonthDay) {
    auto Popup = ShowPopup();
    const fw::TPoint P = CellCentre(Popup.get(), 36); // 3 May
    fw::Ui::MouseDown(Popup.get(), P.X, P.Y);
    EXPECT_EQ(Popup->Date(), EncodeDate(2026, 5, 3));
    EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "popup", "neighbour-selected");
    fw::Ui::MouseUp(Popup.get(), 0, 0);
}

TEST_P(PopupGolden, APressedArrowButton) {
    auto Popup = ShowPopup();
    fw::TSurface Pressed;
    auto Original = Popup->tmr->OnTimer;
    Popup->tmr->OnTimer = [&, Original](fw::TObject* Sender) {
        Pressed = fw::Ui::FormImage(Popup.get());
        Original(Sender);
    };
    fw::Ui::MouseDown(Popup.get(), 147, 10);
    EXPECT_GOLDEN(Pressed, "popup", "pressed-month-next");
    fw::Ui::MouseUp(Popup.get(), 147, 10);
    EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "popup", "after-month-next");
}

TEST_P(PopupGolden, TheDialogStyle) {
    edit->SetCalendarWeekendColor(fw::clBtnText);
    edit->SetCalendarStyle(qz::csDialog);
    edit->SetCalendarCaption("Select a date");
    auto Popup = ShowPopup();
    EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "popup", "dialog");
}

INSTANTIATE_TEST_SUITE_P(ClassicAndWideRange, PopupGolden, testing::Bool());

} // namespace
} // namespace qztest
