// Leaving the edit with a date outside MinDate-MaxDate: reported like an invalid
// date, with the range message in the edit's layout, in every report style.

#include "DateEditFixture.h"

#include <gtest/gtest.h>
#include <string>

namespace qztest {
namespace {

using fw::EncodeDate;

class RangeCheck : public DateEditFixture {};

TEST_F(RangeCheck, ADateOutsideTheRangeIsReportedWithBothEndsInTheEditsLayout) {
    const struct {
        const char* Format;
        fw::TDateTime Min, Max;
        const char* Typed;
        const char* Message; // empty: accepted
    } Rows[] = {
        {"dd/mm/yyyy", EncodeDate(2026, 3, 10), EncodeDate(2026, 4, 20), "9/3/26",
         "'9/3/26' is not between 10/03/2026 and 20/04/2026!"},
        {"yyyy/m/d", EncodeDate(2026, 3, 10), EncodeDate(2026, 4, 20), "2026/4/21",
         "'2026/4/21' is not between 2026/3/10 and 2026/4/20!"},
        {"dd/mm/yyyy", EncodeDate(2026, 3, 10), EncodeDate(2026, 4, 20), "10/03/2026", ""},
        {"dd/mm/yyyy", EncodeDate(2026, 3, 10), EncodeDate(2026, 4, 20), "20/04/2026", ""},
        {"mm/dd/yyyy", EncodeDate(2026, 3, 10), 0, "03/09/2026", "'03/09/2026' is earlier than 03/10/2026!"},
        {"mm/dd/yyyy", 0, EncodeDate(2026, 4, 20), "12/31/2026", "'12/31/2026' is later than 04/20/2026!"},
        {"mm/dd/yyyy", 0, EncodeDate(2026, 4, 20) + 0.75, "04/20/2026", ""},
        // An invalid date keeps its own message whatever the range.
        {"dd/mm/yyyy", EncodeDate(2026, 3, 10), 0, "31/02/2026", "'31/02/2026' is not a valid date!"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Typed);
        edit->SetDateFormat(Row.Format);
        edit->SetMinDate(Row.Min);
        edit->SetMaxDate(Row.Max);
        edit->SetDate(EncodeDate(2026, 3, 14));
        int Invalid = 0;
        edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
        std::string Seen;
        if (*Row.Message)
            fw::Ui::OnNextModal([&](fw::TForm*) {
                Seen = fw::Ui::MessageBoxText();
                fw::Ui::PressButton("OK");
            });
        TypeAndLeave(Row.Typed);
        EXPECT_EQ(Seen, Row.Message);
        EXPECT_EQ(edit->DateValid(), !*Row.Message);
        EXPECT_EQ(Invalid, *Row.Message ? 1 : 0);
        EXPECT_EQ(edit->Focused(), *Row.Message != 0);
        if (*Row.Message) {
            EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 14)) << "the date is kept";
            EXPECT_EQ(edit->Text(), Row.Typed) << "the text is kept for correcting";
        } else {
            edit->SetFocus();
        }
    }
}

TEST_F(RangeCheck, TheOtherReportStylesAndTheMessageBoxTitle) {
    edit->SetMinDate(EncodeDate(2026, 1, 1));
    edit->SetErrorMessageType(qz::mtBeep);
    const int Beeps = fw::Ui::BeepCount();
    TypeAndLeave("31/12/2025");
    EXPECT_EQ(fw::Ui::BeepCount(), Beeps + 1);
    EXPECT_TRUE(edit->Focused());

    edit->SetErrorMessageType(qz::mtWindows);
    edit->SetErrorMessageTitle("Out of range");
    std::string Caption;
    fw::Ui::OnNextModal([&](fw::TForm*) {
        Caption = fw::Ui::MessageBoxCaption();
        fw::Ui::PressButton("OK");
    });
    TypeAndLeave("30/12/2025");
    EXPECT_EQ(Caption, "Out of range");
}


// A typed day the opener's OnDayDisabled refuses is reported with its own
// message, like a date outside the range; a permitted one passes.
TEST_F(RangeCheck, ARefusedDayIsReportedWithItsOwnMessage) {
    edit->SetDateFormat("dd/mm/yyyy");
    edit->OnDayDisabled = [](fw::TObject*, fw::TDateTime D, bool& Disabled) {
        Disabled = D == EncodeDate(2026, 3, 25);
    };
    int Invalid = 0;
    edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
    std::string Seen;
    fw::Ui::OnNextModal([&](fw::TForm*) {
        Seen = fw::Ui::MessageBoxText();
        fw::Ui::PressButton("OK");
    });
    TypeAndLeave("25/3/26");
    EXPECT_EQ(Seen, "'25/3/26' is not an available day!");
    EXPECT_EQ(Invalid, 1);
    EXPECT_FALSE(edit->DateValid());
    EXPECT_TRUE(edit->Focused());
    // Outside the range the range message still wins.
    edit->SetMaxDate(EncodeDate(2026, 3, 20));
    fw::Ui::OnNextModal([&](fw::TForm*) {
        Seen = fw::Ui::MessageBoxText();
        fw::Ui::PressButton("OK");
    });
    TypeAndLeave("25/3/26");
    EXPECT_EQ(Seen, "'25/3/26' is later than 20/03/2026!");
    edit->SetMaxDate(0);
    TypeAndLeave("26/3/26");
    EXPECT_TRUE(edit->DateValid());
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 26));
}

} // namespace
} // namespace qztest
