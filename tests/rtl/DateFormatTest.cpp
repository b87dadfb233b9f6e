#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <gtest/gtest.h>

using namespace fw;

namespace {

struct TLayoutRow {
    const char* Layout;
    const char* March5;     // 5 March 2003
    const char* December25; // 25 December 2003
};

const TLayoutRow LayoutRows[] = {
    {"dd/mm/yyyy", "05/03/2003", "25/12/2003"}, {"d/mm/yyyy", "5/03/2003", "25/12/2003"},
    {"dd/m/yyyy", "05/3/2003", "25/12/2003"},   {"d/m/yyyy", "5/3/2003", "25/12/2003"},
    {"mm/dd/yyyy", "03/05/2003", "12/25/2003"}, {"mm/d/yyyy", "03/5/2003", "12/25/2003"},
    {"m/dd/yyyy", "3/05/2003", "12/25/2003"},   {"m/d/yyyy", "3/5/2003", "12/25/2003"},
    {"yyyy/mm/dd", "2003/03/05", "2003/12/25"}, {"yyyy/mm/d", "2003/03/5", "2003/12/25"},
    {"yyyy/m/dd", "2003/3/05", "2003/12/25"},   {"yyyy/m/d", "2003/3/5", "2003/12/25"},
};

} // namespace

TEST(FormatDateTime, TwelveDateLayouts) {
    const TDateTime March5 = EncodeDate(2003, 3, 5) + 0.5, December25 = EncodeDate(2003, 12, 25);
    for (const auto& Row : LayoutRows) {
        SCOPED_TRACE(Row.Layout);
        EXPECT_EQ(FormatDateTime(Row.Layout, March5), Row.March5);
        EXPECT_EQ(FormatDateTime(Row.Layout, December25), Row.December25);
    }
}

TEST(FormatDateTime, SlashIsTheCurrentDateSeparator) {
    TFormatSettingsGuard Guard;
    FormatSettings.DateSeparator = '-';
    const TDateTime Day = EncodeDate(2003, 3, 5);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy", Day), "05-03-2003");
    EXPECT_EQ(FormatDateTime("yyyy/m/d", Day), "2003-3-5");
    // A quoted slash is a literal.
    EXPECT_EQ(FormatDateTime("d'/'m", Day), "5/3");

    TFormatSettings Dotted;
    Dotted.DateSeparator = '.';
    EXPECT_EQ(FormatDateTime("d/m/yy", Day, Dotted), "5.3.03");
}

TEST(FormatDateTime, NamesYearsAndLiterals) {
    const TDateTime Day = EncodeDate(2003, 9, 7); // a Sunday
    EXPECT_EQ(FormatDateTime("mmm mmmm", Day), "Sep September");
    EXPECT_EQ(FormatDateTime("ddd dddd", Day), "Sun Sunday");
    EXPECT_EQ(FormatDateTime("yy y yyyy", Day), "03 03 2003");
    EXPECT_EQ(FormatDateTime("'day' d \"of\" mmmm", Day), "day 7 of September");
    EXPECT_EQ(FormatDateTime("d 'unterminated", Day), "7 unterminated");
    EXPECT_EQ(FormatDateTime("DD/MM/YYYY", Day), "07/09/2003");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy", EncodeDate(5, 1, 1)), "01/01/0005");
    EXPECT_EQ(FormatDateTime("yy", EncodeDate(1900, 1, 1)), "00");

    TFormatSettingsGuard Guard;
    FormatSettings.LongMonthNames[8] = "Septembre";
    FormatSettings.ShortMonthNames[8] = "sept";
    EXPECT_EQ(FormatDateTime("mmm mmmm", Day), "sept Septembre");
}

TEST(FormatDateTime, TimeParts) {
    const TDateTime Moment = EncodeDate(2003, 12, 25) + (13 * 3600 + 5 * 60 + 9) / 86400.0;
    EXPECT_EQ(FormatDateTime("hh:nn:ss", Moment), "13:05:09");
    EXPECT_EQ(FormatDateTime("h:mm", Moment), "13:05"); // m right after h is the minute
    EXPECT_EQ(FormatDateTime("h:mm am/pm", Moment), "1:05 pm");
    EXPECT_EQ(FormatDateTime("h A/P", Moment), "1 P");
    EXPECT_EQ(FormatDateTime("c", Moment), "12/25/2003 1:05:09 PM");
    EXPECT_EQ(FormatDateTime("", EncodeDate(2003, 12, 25)), "12/25/2003");
}

TEST(FormatDateTime, SettingsThatNameEachOtherStop) {
    TFormatSettings Looping;
    Looping.ShortDateFormat = "ddddd c";
    EXPECT_NO_THROW(FormatDateTime("c", 0, Looping));
}

TEST(FormatDateTime, UndecodableValuesWriteZeros) {
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy mmm", 1e300), "00/00/0000 ");
}
