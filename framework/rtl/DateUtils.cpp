#include <framework/rtl/DateUtils.h>
#include <cstdint>
#include <framework/rtl/Exceptions.h>

namespace fw {

namespace {

// TDateTime counts from 30 December 1899, 25569 days before 1 January 1970.
constexpr int UnixEpochOffset = 25569;
// The first and last days that DecodeDate takes apart: 1 January 0001 and 31 December 9999.
constexpr int FirstDay = -693593;
constexpr int LastDay = 2958465;

constexpr bool IsLeap(int Year) {
    // Of the years divisible by 100, those divisible by 400 are those divisible by 16.
    return (Year & 3) == 0 && (Year % 100 != 0 || (Year & 15) == 0);
}

constexpr int MonthLength(int Year, int Month) {
    constexpr int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeap(Year) ? 29 : Lengths[Month - 1];
}

// Day 0 of the algorithms below is 1 March of year 0: years start in March, so
// the leap day ends a year, and January and February count as months 13 and 14
// of the year before. Every date of the years 1-9999 has a positive number
// there, so the arithmetic is unsigned. The steps are linear maps with a
// power-of-two divisor where one fits (Neri and Schneider's calendar
// arithmetic): multiplications and shifts, no division by a day count.
constexpr unsigned EraStart = 693899; // days from 1 March of year 0 to TDateTime day 0

// The day number of Year/Month/Day (years 1-9999) counted from EraStart.
constexpr unsigned DaysFromCivil(unsigned Year, unsigned Month, unsigned Day) {
    const unsigned January = Month <= 2;
    const unsigned Y = Year - January;
    const unsigned M = January ? Month + 12 : Month;
    const unsigned Century = Y / 100;
    const unsigned YearDays = 1461 * Y / 4 - Century + Century / 4;
    const unsigned MonthDays = (979 * M - 2919) / 32; // days of the months from March before M
    return YearDays + MonthDays + Day - 1;
}

// The inverse of DaysFromCivil.
constexpr void CivilFromDays(unsigned Days, unsigned& Year, unsigned& Month, unsigned& Day) {
    const unsigned N1 = 4 * Days + 3;
    const unsigned Century = N1 / 146097;
    const unsigned DayOfCentury = N1 % 146097 / 4;
    // The year of the century and the day of the year at once: one 64-bit product.
    const std::uint64_t P = std::uint64_t{2939745} * (4 * DayOfCentury + 3);
    const unsigned YearOfCentury = static_cast<unsigned>(P >> 32);
    const unsigned DayOfYear = static_cast<unsigned>(P) / 2939745 / 4;
    const unsigned N3 = 2141 * DayOfYear + 197913;
    const unsigned M = N3 >> 16; // 3-14
    const unsigned January = DayOfYear >= 306;
    Day = (N3 & 65535) / 2141 + 1;
    Month = January ? M - 12 : M;
    Year = 100 * Century + YearOfCentury + January;
}

constexpr int ToDateTimeDay(unsigned EraDay) {
    return static_cast<int>(EraDay) - static_cast<int>(EraStart);
}

static_assert(ToDateTimeDay(DaysFromCivil(1899, 12, 30)) == 0);
static_assert(ToDateTimeDay(DaysFromCivil(1970, 1, 1)) == UnixEpochOffset);
static_assert(ToDateTimeDay(DaysFromCivil(1, 1, 1)) == FirstDay);
static_assert(ToDateTimeDay(DaysFromCivil(9999, 12, 31)) == LastDay);

// The whole day number of Date, or false when Date is not a number or lies
// outside years 1-9999.
bool DayNumber(TDateTime Date, int& Days) {
    if (!(Date >= FirstDay && Date < LastDay + 1)) return false; // also rejects NaN
    // The floor by truncation and a step down for negative fractions: std::floor
    // is a library call on the baseline instruction set.
    Days = static_cast<int>(Date);
    if (Days > Date) --Days;
    return true;
}

} // namespace

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > MonthLength(Year, Month))
        return false;
    Date = ToDateTimeDay(
        DaysFromCivil(static_cast<unsigned>(Year), static_cast<unsigned>(Month), static_cast<unsigned>(Day)));
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime Result;
    if (!TryEncodeDate(Year, Month, Day, Result)) throw EConvertError("Invalid argument to date encode");
    return Result;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
    int Days;
    if (!DayNumber(Date, Days)) {
        Year = Month = Day = 0;
        return;
    }
    unsigned Y, M, D;
    CivilFromDays(static_cast<unsigned>(Days + static_cast<int>(EraStart)), Y, M, D);
    Year = static_cast<Word>(Y);
    Month = static_cast<Word>(M);
    Day = static_cast<Word>(D);
}

int DayOfWeek(TDateTime Date) {
    int Days;
    if (!DayNumber(Date, Days)) return 0;
    // Day 0 (30 December 1899) was a Saturday; FirstDay is far enough back that
    // the dividend never goes negative.
    return (Days - FirstDay + 1) % 7 + 1;
}

} // namespace fw
