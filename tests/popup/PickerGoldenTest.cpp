// Golden screenshots of the opt-in features: a range greying days at both ends
// (with its disabled buttons), today framed, and week numbers in a month with a
// week 53 and in one whose last days begin week 1.

#include "PopupFixture.h"

#include <tests/support/Golden.h>

namespace qztest {
namespace {

using fw::EncodeDate;

class PickerGolden : public PopupFixture {};

TEST_F(PickerGolden, RangeTodayAndWeekNumbers) {
    const struct {
        const char* Name;
        fw::TDateTime Date, Min, Max;
        qz::TCalendarOptions Options;
        qz::TWeekStart WeekStart;
    } Rows[] = {
        {"range", EncodeDate(2026, 4, 14), EncodeDate(2026, 4, 8), EncodeDate(2026, 4, 24), {}, qz::wsSunday},
        {"today", EncodeDate(2026, 3, 20), 0, 0, {qz::coShowToday}, qz::wsSunday},
        {"weeks-53", EncodeDate(2026, 12, 9), 0, 0, {qz::coWeekNumbers}, qz::wsMonday},
        {"weeks-1-in-december", EncodeDate(2025, 12, 9), 0, 0, {qz::coWeekNumbers}, qz::wsMonday},
        {"all-options",
         EncodeDate(2026, 3, 20),
         EncodeDate(2026, 3, 5),
         0,
         {qz::coShowToday, qz::coWeekNumbers, qz::coWheelPaging},
         qz::wsMonday},
    };
    for (const auto& Row : Rows) {
        edit->SetDate(Row.Date);
        edit->SetMinDate(Row.Min);
        edit->SetMaxDate(Row.Max);
        edit->SetCalendarOptions(Row.Options);
        edit->SetCalendarWeekStart(Row.WeekStart);
        auto Popup = ShowPopup();
        EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "picker", Row.Name);
    }
}

} // namespace
} // namespace qztest
