// Checking a date text: two-digit-year expansion, the twelve layouts, what
// leaving the edit makes of a text, and texts that split but are no date.

#include "DateEditFixture.h"

#include <Qzde/QzDateRoutines.h>
#include <cmath>
#include <framework/platform/Keys.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/FormatSettings.h>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace qztest {
namespace {

using fw::EncodeDate;

struct ExpansionRow {
    const char* Pattern;
    int CuspYear;
    bool UseCentury;
    const char* Text;
    bool Valid;
    const char* Normalised; // the text after IsValidDate (unchanged when invalid)
};

// IsValidDate alone: which texts it accepts and how it rewrites them.
TEST(IsValidDate, ExpandsTwoDigitYearsAndLeavesLongerYearsAsTyped) {
    fw::TScopedClock Clock(EncodeDate(2026, 3, 14));
    const std::vector<ExpansionRow> Rows = {
        // The cusp window, default 30.
        {"dd/mm/yyyy", 30, false, "1/2/03", true, "01/02/2003"},
        {"dd/mm/yyyy", 30, false, "5/6/75", true, "05/06/1975"},
        {"dd/mm/yyyy", 30, false, "29/2/00", true, "29/02/2000"},
        {"dd/mm/yyyy", 30, false, "7/8/29", true, "07/08/2029"},
        {"dd/mm/yyyy", 30, false, "7/8/30", true, "07/08/1930"},
        {"dd/mm/yyyy", 30, false, "7/8/5", true, "07/08/2005"},
        {"dd/mm/yyyy", 50, false, "7/8/49", true, "07/08/2049"},
        {"dd/mm/yyyy", 50, false, "7/8/50", true, "07/08/1950"},
        // 29 February of 1930 does not exist; the check uses the year as typed (30).
        {"dd/mm/yyyy", 30, false, "29/2/30", false, "29/2/30"},
        // A leap year as typed (04) that expands to a leap year.
        {"m/d/yyyy", 30, false, "2/29/04", true, "2/29/2004"},
        // The current century, whatever CuspYear says.
        {"dd/mm/yyyy", 30, true, "1/1/99", true, "01/01/2099"},
        {"dd/mm/yyyy", 90, true, "1/1/05", true, "01/01/2005"},
        // Year first, two digits.
        {"yyyy/mm/dd", 30, false, "03/2/1", true, "2003/02/01"},
        {"yyyy/m/d", 30, false, "03/02/01", true, "2003/2/1"},
        // Three or more digits: accepted as typed, not rewritten, and never
        // expanded, whatever their value (0005 is the year 5).
        {"yyyy/mm/dd", 30, false, "2003/2/1", true, "2003/2/1"},
        {"d/m/yyyy", 30, false, "01/02/2003", true, "01/02/2003"},
        {"dd/mm/yyyy", 30, false, "1/1/100", true, "1/1/100"},
        {"dd/mm/yyyy", 30, false, "1/2/0005", true, "1/2/0005"},
        {"yyyy/mm/dd", 30, false, "0005/02/01", true, "0005/02/01"},
        // Years outside 1-9999.
        {"dd/mm/yyyy", 30, false, "1/1/10000", false, "1/1/10000"},
        {"dd/mm/yyyy", 30, false, "1/1/0000", false, "1/1/0000"},
        {"dd/mm/yyyy", 30, false, "1/1/000", false, "1/1/000"},
        // Only decimal digits count as typed digits: signs and blanks (a paste,
        // or code) make an invalid text, never a year to expand.
        {"dd/mm/yyyy", 30, false, "15/06/-5", false, "15/06/-5"},
        {"dd/mm/yyyy", 30, false, "15/06/+5", false, "15/06/+5"},
        {"dd/mm/yyyy", 30, false, "15/06/ 7", false, "15/06/ 7"},
        {"dd/mm/yyyy", 30, false, "15/06/-1995", false, "15/06/-1995"},
        {"yyyy/m/d", 30, false, "-1995/2/1", false, "-1995/2/1"},
        {"dd/mm/yyyy", 30, false, "+1/2/2003", false, "+1/2/2003"},
        {"dd/mm/yyyy", 30, false, " 1/2/2003", false, " 1/2/2003"},
        {"dd/mm/yyyy", 30, false, "1/2/2003 ", false, "1/2/2003 "},
        // Invalid: day, month, structure, numbers.
        {"dd/mm/yyyy", 30, false, "", false, ""},
        {"dd/mm/yyyy", 30, false, "31/04/2003", false, "31/04/2003"},
        {"dd/mm/yyyy", 30, false, "0/1/2003", false, "0/1/2003"},
        {"dd/mm/yyyy", 30, false, "1/13/2003", false, "1/13/2003"},
        {"dd/mm/yyyy", 30, false, "1/0/2003", false, "1/0/2003"},
        {"dd/mm/yyyy", 30, false, "29/2/2001", false, "29/2/2001"},
        {"dd/mm/yyyy", 30, false, "12/2003", false, "12/2003"},
        {"dd/mm/yyyy", 30, false, "1//2003", false, "1//2003"},
        {"dd/mm/yyyy", 30, false, "1/2/3/4", false, "1/2/3/4"},
        {"dd/mm/yyyy", 30, false, "1/2/3x", false, "1/2/3x"},
        {"dd/mm/yyyy", 30, false, "99999999999/1/2003", false, "99999999999/1/2003"},
        // A negative day passes the day checks; building the date rejects it.
        {"dd/mm/yyyy", 30, false, "-1/2/03", false, "-1/2/03"},
    };
    for (const auto& Row : Rows) {
        TProbeDateEdit Edit(nullptr);
        Edit.SetDateFormat(Row.Pattern);
        Edit.SetCuspYear(Row.CuspYear);
        Edit.SetUseCentury(Row.UseCentury);
        std::string Text = Row.Text;
        EXPECT_EQ(Edit.IsValidDate(Text), Row.Valid) << Row.Pattern << " " << Row.Text;
        EXPECT_EQ(Text, Row.Normalised) << Row.Pattern << " " << Row.Text;
        // A normalised text is normalised: checking it again changes nothing.
        if (!Row.Valid) continue;
        EXPECT_TRUE(Edit.IsValidDate(Text)) << Row.Text;
        EXPECT_EQ(Text, Row.Normalised) << Row.Text;
    }
}

// The edit writes its own layouts; they must read back by the same layout and
// match the framework's formatting with "/".
TEST(DateLayouts, WrittenTextsMatchTheFrameworkFormattingAndReadBack) {
    const std::vector<fw::TDateTime> Dates = {EncodeDate(2003, 2, 1), EncodeDate(1999, 12, 31),
                                              EncodeDate(1900, 1, 9), EncodeDate(9999, 10, 5),
                                              EncodeDate(2000, 2, 29)};
    for (const std::string_view Pattern : qz::DateFormatPatterns) {
        for (const fw::TDateTime Date : Dates) {
            const std::string Text = qz::FormatDateByPattern(Date, Pattern);
            EXPECT_EQ(Text, fw::FormatDateTime(Pattern, Date)) << Pattern;
            fw::TDateTime Back = 0;
            ASSERT_TRUE(qz::TryTextToDate(Text, Pattern, Back)) << Text;
            EXPECT_EQ(Back, Date) << Text;
            EXPECT_EQ(qz::StrToDateEx(Text, std::string(Pattern)), Date);
        }
    }
}

TEST(DateLayouts, SplittingAgreesWithTheDateRoutines) {
    const std::vector<std::string> Texts = {"1/2/2003", "12/2003", "1//2003", "/1/2",
                                            "1/2/3/4",  "",        "a/b/c",   "2003/02/01"};
    for (const std::string Pattern : {"dd/mm/yyyy", "m/d/yyyy", "yyyy/m/d", "xx/yy"}) {
        for (const auto& Text : Texts) {
            std::string Y, M, D;
            std::string_view VY, VM, VD;
            const bool Split = qz::SplitDateText(Text, Pattern, VY, VM, VD);
            ASSERT_EQ(Split, qz::DecodeDateString(Text, Pattern, Y, M, D)) << Pattern << " " << Text;
            if (!Split) continue;
            EXPECT_EQ(VY, Y);
            EXPECT_EQ(VM, M);
            EXPECT_EQ(VD, D);
        }
    }
}

class LeavingTheEdit : public DateEditFixture {
protected:
    void SetUp() override {
        DateEditFixture::SetUp();
        edit->SetErrorMessageType(qz::mtSilent);
    }
};

TEST_F(LeavingTheEdit, AValidTextIsRewrittenInTheLayoutAndBecomesTheDate) {
    struct Row {
        const char* Pattern;
        const char* Typed;
        const char* Shown;
        fw::TDateTime Date;
    };
    const std::vector<Row> Rows = {
        {"dd/mm/yyyy", "1/2/03", "01/02/2003", EncodeDate(2003, 2, 1)},
        {"d/m/yyyy", "01/02/2003", "1/2/2003", EncodeDate(2003, 2, 1)},
        {"yyyy/mm/dd", "2003/2/1", "2003/02/01", EncodeDate(2003, 2, 1)},
        {"mm/dd/yyyy", "2/1/03", "02/01/2003", EncodeDate(2003, 2, 1)},
        {"dd/mm/yyyy", "31/12/1899", "31/12/1899", 1},
    };
    for (const auto& R : Rows) {
        edit->SetDateFormat(R.Pattern);
        edit->SetModified(false);
        TypeAndLeave(R.Typed);
        EXPECT_EQ(edit->Text(), R.Shown) << R.Pattern << " " << R.Typed;
        EXPECT_EQ(edit->Date(), R.Date) << R.Typed;
        EXPECT_TRUE(edit->DateValid());
        EXPECT_TRUE(edit->Modified());
        EXPECT_TRUE(other->Focused());
        edit->SetFocus();
    }
}

// Only 0 is no date: every date of the years 1-9999 shows its text, before 1900
// too, and what SetDate writes the exit check accepts as the same day.
TEST_F(LeavingTheEdit, EveryDateOfTheYearsOneToNineThousandShowsItsText) {
    const double Infinity = std::numeric_limits<double>::infinity();
    const struct {
        fw::TDateTime Value;
        const char* Shown;
        fw::TDateTime Stored;
    } Rows[] = {
        {0, "", 0},
        {-5, "25/12/1899", -5},
        {0.5, "30/12/1899", 0.5},
        {EncodeDate(1850, 5, 15), "15/05/1850", EncodeDate(1850, 5, 15)},
        {EncodeDate(1, 1, 1), "01/01/0001", EncodeDate(1, 1, 1)},
        {EncodeDate(9999, 12, 31) + 0.9, "31/12/9999", EncodeDate(9999, 12, 31) + 0.9},
        // No text can show these: no date.
        {EncodeDate(9999, 12, 31) + 1, "", 0},
        {EncodeDate(1, 1, 1) - 0.5, "", 0},
        {1e12, "", 0},
        {Infinity, "", 0},
        {-Infinity, "", 0},
        {std::numeric_limits<double>::quiet_NaN(), "", 0},
    };
    for (const auto& Row : Rows) {
        edit->SetDate(EncodeDate(2003, 2, 1));
        edit->SetDate(Row.Value);
        EXPECT_EQ(edit->Text(), Row.Shown) << Row.Value;
        EXPECT_EQ(edit->Date(), Row.Stored) << Row.Value;
        fw::Ui::Tab();
        EXPECT_TRUE(edit->DateValid()) << Row.Shown;
        // Day 0 with a time of day reads back as day 0: no date.
        EXPECT_EQ(edit->Text(), std::floor(Row.Stored) == 0 ? "" : Row.Shown);
        EXPECT_EQ(edit->Date(), std::floor(Row.Stored)) << Row.Shown;
        edit->SetFocus();
    }
    // Typed dates before 1900 and in the first centuries become the date and stay shown.
    for (const auto& [Typed, Shown, Date] :
         {std::tuple{"15/05/1850", "15/05/1850", EncodeDate(1850, 5, 15)},
          std::tuple{"01/01/1800", "01/01/1800", EncodeDate(1800, 1, 1)},
          std::tuple{"1/1/100", "01/01/0100", EncodeDate(100, 1, 1)}, std::tuple{"30/12/1899", "", 0.0}}) {
        TypeAndLeave(Typed);
        EXPECT_EQ(edit->Text(), Shown) << Typed;
        EXPECT_EQ(edit->Date(), Date) << Typed;
        EXPECT_TRUE(edit->DateValid());
        edit->SetFocus();
    }
}

TEST_F(LeavingTheEdit, AClearedTextMeansNoDateWithoutAnotherChange) {
    edit->SetDate(EncodeDate(2003, 2, 1));
    edit->SelectAll();
    fw::Ui::PressKey(fw::VK_DELETE);
    int Changes = 0;
    edit->OnChange = [&](fw::TObject*) { ++Changes; };
    fw::Ui::Tab();
    EXPECT_TRUE(edit->DateValid());
    EXPECT_EQ(edit->Date(), 0);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(Changes, 0);
    EXPECT_TRUE(other->Focused());
}

TEST_F(LeavingTheEdit, TextsThatSplitButDoNotConvertAreReportedLikeAnyInvalidText) {
    int Invalid = 0;
    edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
    edit->SetDate(EncodeDate(2003, 2, 1));
    // A five-digit year can be typed; a negative day only pasted.
    for (const std::string Text : {"1/1/10000", "-1/2/2003", "1/-2/2003"}) {
        SetAndLeave(Text);
        EXPECT_FALSE(edit->DateValid()) << Text;
        EXPECT_TRUE(edit->Focused()) << Text;
        EXPECT_EQ(edit->Text(), Text);
        EXPECT_EQ(edit->Date(), EncodeDate(2003, 2, 1));
    }
    EXPECT_EQ(Invalid, 3);
    EXPECT_EQ(fw::Application->HandledExceptionCount(), 0);
}

TEST_F(LeavingTheEdit, TheEditWritesSlashesWhateverTheDateSeparatorIs) {
    fw::TFormatSettingsGuard Guard;
    fw::FormatSettings.DateSeparator = '-';
    edit->SetDate(EncodeDate(2003, 12, 25));
    EXPECT_EQ(edit->Text(), "25/12/2003");
    // What it shows, it reads back.
    fw::Ui::Tab();
    EXPECT_TRUE(edit->DateValid());
    EXPECT_TRUE(other->Focused());
    edit->SetFocus();
    TypeAndLeave("1/2/03");
    EXPECT_EQ(edit->Text(), "01/02/2003");
}

TEST_F(LeavingTheEdit, OnExitSeesTheRawTextBeforeTheCheck) {
    std::string Seen;
    edit->OnExit = [&](fw::TObject*) { Seen = edit->Text(); };
    TypeAndLeave("1/2/03");
    EXPECT_EQ(Seen, "1/2/03");
    EXPECT_EQ(edit->Text(), "01/02/2003");
}

TEST_F(LeavingTheEdit, UseCenturyFollowsTheClock) {
    edit->SetUseCentury(true);
    edit->SetCuspYear(10);
    TypeAndLeave("1/1/99");
    EXPECT_EQ(edit->Text(), "01/01/2099");
    fw::TScopedClock Earlier(EncodeDate(1987, 6, 1));
    edit->SetFocus();
    TypeAndLeave("1/1/05");
    EXPECT_EQ(edit->Text(), "01/01/1905");
}

TEST_F(LeavingTheEdit, SetDateFormatsTheDateMarksTheEditModifiedAndClearsForNoDate) {
    edit->SetDateFormat("m/d/yyyy");
    edit->SetModified(false);
    edit->SetDate(EncodeDate(2003, 2, 1) + 0.75);
    EXPECT_EQ(edit->Text(), "2/1/2003");
    EXPECT_TRUE(edit->Modified());
    edit->SetDate(0);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->GetDate(), 0);
    // Typing does not change the date; only leaving (or SetDate) does.
    edit->SetDate(-5);
    edit->SetFocus();
    edit->SelectAll();
    fw::Ui::TypeText("3/4/2005");
    EXPECT_EQ(edit->GetDate(), -5);
}

} // namespace
} // namespace qztest
