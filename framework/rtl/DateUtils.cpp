#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Exceptions.h>

namespace fw {

namespace {

// TDateTime counts from 30 December 1899, 25569 days before 1 January 1970.
constexpr int UnixEpochOffset = 25569;
// The first and last days that DecodeDate takes apart: 1 January 0001 and 31 December 9999.
constexpr int FirstDay = -693593;
constexpr int LastDay = 2958465;

constexpr bool IsLeap(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

constexpr int MonthLength(int Year, int Month) {
    constexpr int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeap(Year) ? 29 : Lengths[Month - 1];
}

// Day 0 of the algorithms below is 1 March of year 0, the start of a 400-year
// era whose years start in March (so the leap day ends a year). Every date of
// the years 1-9999 has a positive number there, so the arithmetic is unsigned:
// divisions by constants become multiplications without sign fix-ups.
constexpr unsigned EraStart = 693899; // days from 1 March of year 0 to TDateTime day 0

// The day number of Year/Month/Day (years 1-9999) counted from EraStart.
constexpr unsigned DaysFromCivil(unsigned Year, unsigned Month, unsigned Day) {
    Year -= Month <= 2;
    const unsigned Era = Year / 400;
    const unsigned YearOfEra = Year - Era * 400;
    const unsigned DayOfYear = (153 * (Month > 2 ? Month - 3 : Month + 9) + 2) / 5 + Day - 1;
    const unsigned DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
    return Era * 146097 + DayOfEra;
}

// The inverse of DaysFromCivil.
constexpr void CivilFromDays(unsigned Days, unsigned& Year, unsigned& Month, unsigned& Day) {
    const unsigned Era = Days / 146097;
    const unsigned DayOfEra = Days - Era * 146097;
    const unsigned YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    const unsigned DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    const unsigned MonthPrime = (5 * DayOfYear + 2) / 153;
    Day = DayOfYear - (153 * MonthPrime + 2) / 5 + 1;
    Month = MonthPrime < 10 ? MonthPrime + 3 : MonthPrime - 9;
    Year = YearOfEra + Era * 400 + (Month <= 2);
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
