#pragma once
// Calendar arithmetic on TDateTime: building a date from year, month and day,
// taking it apart again, and the day of the week. The calendar is the proleptic
// Gregorian one; day 0 is 30 December 1899, earlier dates are negative.

#include <framework/rtl/Types.h>

namespace fw {

// The date of Year/Month/Day (years 1-9999, months 1-12, days 1 to the length of
// the month). Any other combination raises EConvertError. The parameters are
// full ints so that out-of-range values are rejected rather than truncated.
TDateTime EncodeDate(int Year, int Month, int Day);

// As EncodeDate, but reports an invalid date by returning false and leaves Date
// untouched.
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);

// Splits the day of Date (the floor of the value, so the time of day never moves
// it, also before 1899) into year, month and day. A value that is not a number
// or lies outside years 1-9999 gives 0, 0, 0.
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);

// 1 for Sunday to 7 for Saturday; 0 for a value that DecodeDate cannot decode.
int DayOfWeek(TDateTime Date);

} // namespace fw
