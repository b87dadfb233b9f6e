#include <Qzde/QzDateRoutines.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Exceptions.h>
#include <gtest/gtest.h>
#include <type_traits>

using namespace qz;
using fw::String;
using namespace std::string_literals;

static_assert(sizeof(TQzDirection) == 1 && ddForward == 0 && ddBackward == 1);

TEST(HitTest, AllFourEdgesBelongToTheRectangle) {
    const fw::TRect R = fw::Rect(10, 20, 30, 40);
    EXPECT_TRUE(HitTest(R, 10, 20));
    EXPECT_TRUE(HitTest(R, 30, 40));
    EXPECT_TRUE(HitTest(R, 20, 30));
    EXPECT_FALSE(HitTest(R, 9, 30));
    EXPECT_FALSE(HitTest(R, 31, 30));
    EXPECT_FALSE(HitTest(R, 20, 19));
    EXPECT_FALSE(HitTest(R, 20, 41));
    // An inverted rectangle holds no point.
    EXPECT_FALSE(HitTest(fw::Rect(30, 40, 10, 20), 20, 30));
}

TEST(DaysInMonth, LengthsAndInvalidMonths) {
    const int Lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int Month = 1; Month <= 12; ++Month)
        EXPECT_EQ(DaysInMonth(Month, 2003), Lengths[Month - 1]);
    EXPECT_EQ(DaysInMonth(2, 1900), 28);
    EXPECT_EQ(DaysInMonth(2, 2000), 29);
    EXPECT_EQ(DaysInMonth(2, 2004), 29);
    for (int Month : {0, 13, -1, -11, 1 << 30})
        EXPECT_EQ(DaysInMonth(Month, 2000), 0) << Month;
}

TEST(IsLeapYear, GregorianRuleWithTruncatingRemainders) {
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2004));
    EXPECT_FALSE(IsLeapYear(2003));
    EXPECT_TRUE(IsLeapYear(0));
    EXPECT_TRUE(IsLeapYear(-4));
    EXPECT_FALSE(IsLeapYear(-100));
    EXPECT_TRUE(IsLeapYear(-400));
    EXPECT_FALSE(IsLeapYear(-1));
}

TEST(AdjustMonthYear, StepsAcrossYearEnds) {
    struct {
        fw::Word Month, Year;
        TQzDirection Direction;
        fw::Word NewMonth, NewYear;
    } const Rows[] = {
        {12, 1999, ddForward, 1, 2000}, {1, 2000, ddBackward, 12, 1999}, {6, 2000, ddForward, 7, 2000},
        {6, 2000, ddBackward, 5, 2000}, {1, 0, ddBackward, 12, 65535}, // unsigned years wrap, as the
                                                                       // arguments are 16-bit
    };
    for (const auto& Row : Rows) {
        fw::Word Month = Row.Month, Year = Row.Year;
        AdjustMonthYear(Month, Year, Row.Direction);
        EXPECT_EQ(Month, Row.NewMonth);
        EXPECT_EQ(Year, Row.NewYear);
    }
}

namespace {

struct TSplit {
    bool Ok;
    String Year, Month, Day;
};

TSplit Split(const String& Text, const String& Pattern) {
    TSplit S{false, "y?", "m?", "d?"};
    S.Ok = DecodeDateString(Text, Pattern, S.Year, S.Month, S.Day);
    return S;
}

} // namespace

TEST(DecodeDateString, OrderFollowsThePatternsFirstLetter) {
    const struct {
        const char* Text;
        const char* Pattern;
        const char *Year, *Month, *Day;
    } Rows[] = {
        {"25/12/2003", "dd/mm/yyyy", "2003", "12", "25"},
        {"25/12/2003", "d/m/yyyy", "2003", "12", "25"},
        {"12/25/2003", "m/d/yyyy", "2003", "12", "25"},
        {"2003/12/25", "yyyy/m/d", "2003", "12", "25"},
        {"1/2/3/4", "d/m/yyyy", "3/4", "2", "1"},
        {"//", "dd/mm/yyyy", "", "", ""},
        {" 1 / x /", "m", "", " 1 ", " x "}, // no trimming, no checks
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(String(Row.Text) + " " + Row.Pattern);
        const TSplit S = Split(Row.Text, Row.Pattern);
        EXPECT_TRUE(S.Ok);
        EXPECT_EQ(S.Year, Row.Year);
        EXPECT_EQ(S.Month, Row.Month);
        EXPECT_EQ(S.Day, Row.Day);
    }
}

TEST(DecodeDateString, FailureLeavesTheOutputsUntouched) {
    const std::pair<String, String> Rows[] = {
        {"25122003", "dd/mm/yyyy"},   {"25/122003", "dd/mm/yyyy"}, {"", "dd/mm/yyyy"},
        {"25/12/2003", "DD/MM/YYYY"}, {"25/12/2003", ""},          {"25/12/2003", "/dd/mm"},
        {"25/12/2003", "Mm/dd/yyyy"},
    };
    for (const auto& [Text, Pattern] : Rows) {
        SCOPED_TRACE(Text + " " + Pattern);
        const TSplit S = Split(Text, Pattern);
        EXPECT_FALSE(S.Ok);
        EXPECT_EQ(S.Year, "y?");
        EXPECT_EQ(S.Month, "m?");
        EXPECT_EQ(S.Day, "d?");
    }
}

TEST(StrToDateEx, ConvertsByPattern) {
    EXPECT_EQ(StrToDateEx("25/12/2003", "dd/mm/yyyy"), fw::EncodeDate(2003, 12, 25));
    EXPECT_EQ(StrToDateEx("12/25/2003", "mm/dd/yyyy"), fw::EncodeDate(2003, 12, 25));
    EXPECT_EQ(StrToDateEx("2003/12/25", "yyyy/mm/dd"), fw::EncodeDate(2003, 12, 25));
    EXPECT_EQ(StrToDateEx("1/1/05", "d/m/yyyy"), fw::EncodeDate(5, 1, 1)); // no century added
    EXPECT_EQ(StrToDateEx("29/2/2000", "d/m/yyyy"), fw::EncodeDate(2000, 2, 29));
    EXPECT_EQ(StrToDateEx(" 1/ 2/ 2003", "d/m/yyyy"), fw::EncodeDate(2003, 2, 1)); // StrToInt skips spaces
    EXPECT_EQ(StrToDateEx("31/12/9999", "d/m/yyyy"), fw::EncodeDate(9999, 12, 31));
}

TEST(StrToDateEx, BadTextRaisesTheConversionError) {
    const std::pair<String, String> Rows[] = {
        {"31/02/2003", "dd/mm/yyyy"},
        {"29/02/1900", "dd/mm/yyyy"},
        {"", "dd/mm/yyyy"},
        {"25/12/2003", "DD/MM/YYYY"},
        {"25/12", "dd/mm/yyyy"},
        {"25122003", "dd/mm/yyyy"},
        {"//", "dd/mm/yyyy"},
        {"a/1/2000", "d/m/yyyy"},
        {"1/1/2000 ", "d/m/yyyy"},
        {"1/1/0", "d/m/yyyy"},
        {"1/1/10000", "d/m/yyyy"},
        {"0/1/2000", "d/m/yyyy"},
        {"1/13/2000", "d/m/yyyy"},
        {"1/1/65537", "d/m/yyyy"}, // must not wrap to year 1
        {"1/65537/2000", "d/m/yyyy"},
        {"65537/1/2000", "d/m/yyyy"},
        {"1/1/4294967297", "d/m/yyyy"},
        {"-1/1/2000", "d/m/yyyy"},
        {"1/1/2000/", "d/m/yyyy"},
        {"1/1/20\0"s
         "00",
         "d/m/yyyy"},
        {"1\0/1/2000"s, "d/m/yyyy"},
        {"\0\0/\0/\0"s, "d/m/yyyy"},
    };
    for (const auto& [Text, Pattern] : Rows) {
        SCOPED_TRACE(testing::PrintToString(Text) + " " + Pattern);
        EXPECT_THROW(StrToDateEx(Text, Pattern), fw::EConvertError);
    }
}

TEST(StrToDateEx, HostileTextsRaiseAndNeverCrash) {
    const String Patterns[] = {"d/m/yyyy", "m/d/yyyy", "yyyy/m/d"};
    const String Texts[] = {
        String(10000, '/'),
        String(1 << 20, '7'),
        "1/1/" + String(1 << 20, '9'),
        String(1 << 20, '1') + "/1/2000",
        "1/" + String(1 << 20, '0') + "/2000" + String(1000, '/'),
        String(1 << 20, '\0'),
        "99999999999/99999999999/99999999999",
    };
    for (const auto& Pattern : Patterns)
        for (const auto& Text : Texts)
            EXPECT_THROW(StrToDateEx(Text, Pattern), fw::EConvertError) << Pattern;
}
