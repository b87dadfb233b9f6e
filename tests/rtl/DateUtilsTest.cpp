#include <chrono>
#include <cmath>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Exceptions.h>
#include <gtest/gtest.h>
#include <limits>

using namespace fw;
namespace chr = std::chrono;

namespace {

struct TYmd {
    int Year, Month, Day;
};

TYmd Decode(TDateTime Date) {
    Word Y = 99, M = 99, D = 99;
    DecodeDate(Date, Y, M, D);
    return {Y, M, D};
}

} // namespace

TEST(EncodeDate, KnownDays) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2003, 12, 25), 37980);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
}

TEST(EncodeDate, RejectsEveryOutOfRangePart) {
    const TYmd Invalid[] = {
        {0, 1, 1},     {10000, 1, 1},    {-1, 1, 1},       {2000, 0, 1},
        {2000, 13, 1}, {2000, 1, 0},     {2000, 1, 32},    {2003, 2, 29},
        {1900, 2, 29}, {2000, 2, 30},    {2000, 4, 31},    {2000, -1, 1},
        {65537, 1, 1}, {2000, 65537, 1}, {2000, 1, 65537}, {std::numeric_limits<int>::min(), 1, 1},
    };
    for (const auto& [Y, M, D] : Invalid) {
        SCOPED_TRACE(testing::Message() << Y << "-" << M << "-" << D);
        EXPECT_THROW(EncodeDate(Y, M, D), EConvertError);
        TDateTime Untouched = 42;
        EXPECT_FALSE(TryEncodeDate(Y, M, D, Untouched));
        EXPECT_EQ(Untouched, 42);
    }
}

TEST(DecodeDate, UsesTheFloorSoTimeNeverMovesTheDay) {
    const auto Check = [](TDateTime Value, TYmd Expected) {
        SCOPED_TRACE(Value);
        const TYmd Got = Decode(Value);
        EXPECT_EQ(Got.Year, Expected.Year);
        EXPECT_EQ(Got.Month, Expected.Month);
        EXPECT_EQ(Got.Day, Expected.Day);
    };
    Check(0.0, {1899, 12, 30});
    Check(0.999, {1899, 12, 30});
    Check(-0.25, {1899, 12, 29}); // six in the evening of the day before
    Check(-1.0, {1899, 12, 29});
    Check(-1.5, {1899, 12, 28});
    Check(37980.75, {2003, 12, 25});
    Check(-693593.0, {1, 1, 1});
    Check(2958465.99, {9999, 12, 31});
}

TEST(DecodeDate, GivesZerosForValuesOutsideTheCalendar) {
    const double Values[] = {-693593.5,
                             2958466.0,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (double Value : Values) {
        SCOPED_TRACE(Value);
        const TYmd Got = Decode(Value);
        EXPECT_EQ(Got.Year, 0);
        EXPECT_EQ(Got.Month, 0);
        EXPECT_EQ(Got.Day, 0);
        EXPECT_EQ(DayOfWeek(Value), 0);
    }
}

TEST(DayOfWeek, CountsFromSunday) {
    EXPECT_EQ(DayOfWeek(0), 7);                        // Saturday 30 December 1899
    EXPECT_EQ(DayOfWeek(EncodeDate(2003, 12, 25)), 5); // Thursday
    EXPECT_EQ(DayOfWeek(EncodeDate(2003, 12, 28) + 0.9), 1);
    EXPECT_EQ(DayOfWeek(-0.5), 6);                // Friday 29 December 1899
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2); // Monday
}

// Every day of years 1-9999 against the standard library's civil calendar.
TEST(DateUtils, AgreesWithTheCivilCalendarOnEveryDay) {
    const chr::sys_days Epoch = chr::sys_days(chr::year(1899) / 12 / 30);
    const chr::sys_days First = chr::sys_days(chr::year(1) / 1 / 1);
    const chr::sys_days Last = chr::sys_days(chr::year(9999) / 12 / 31);
    long Failures = 0;
    for (chr::sys_days Day = First; Day <= Last && Failures < 5; Day += chr::days(1)) {
        const chr::year_month_day Ymd(Day);
        const int Y = int(Ymd.year()), M = int(unsigned(Ymd.month())), D = int(unsigned(Ymd.day()));
        const TDateTime Expected = (Day - Epoch).count();
        const TDateTime Encoded = EncodeDate(Y, M, D);
        const TYmd Decoded = Decode(Expected + 0.5);
        const int WeekDay = int(chr::weekday(Day).c_encoding()) + 1;
        if (Encoded != Expected || Decoded.Year != Y || Decoded.Month != M || Decoded.Day != D ||
            DayOfWeek(Expected) != WeekDay) {
            ADD_FAILURE() << Y << "-" << M << "-" << D << ": encoded " << Encoded << " expected " << Expected
                          << ", decoded " << Decoded.Year << "-" << Decoded.Month << "-" << Decoded.Day
                          << ", weekday " << DayOfWeek(Expected) << " expected " << WeekDay;
            ++Failures;
        }
    }
}
