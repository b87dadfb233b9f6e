#pragma once
// The date unit's free routines: a point-in-rectangle test, month lengths, the
// leap-year rule, one-month steps, and the splitting and conversion of date
// texts by a layout pattern ("dd/mm/yyyy", "m/d/yyyy", "yyyy/mm/dd", ...).
// They hold no state.

#include <cstdint>
#include <framework/rtl/Types.h>

namespace qz {

enum TQzDirection : std::uint8_t { ddForward, ddBackward };

// True when (X, Y) lies in Rect, with all four edges included.
bool HitTest(const fw::TRect& Rect, int X, int Y);

// The number of days of Month in Year; 0 for a month outside 1-12.
int DaysInMonth(int Month, int Year);

// The Gregorian rule; negative years follow their absolute value, year 0 is leap.
bool IsLeapYear(int Year);

// Steps Month/Year one month forward or backward across year ends. Month must be
// in 1-12; it is not checked.
void AdjustMonthYear(fw::Word& Month, fw::Word& Year, TQzDirection Direction);

// Cuts Text at its first two "/" into three parts and hands them out as year,
// month and day texts in the order the first letter of Pattern gives ('d': day,
// month, year; 'm': month, day, year; 'y': year, month, day). Returns false, and
// leaves the outputs untouched, when Text has fewer than two "/" or the pattern
// starts with another character. Further "/" stay in the last part; the parts
// are neither trimmed nor checked.
bool DecodeDateString(fw::String Text, fw::String Pattern, fw::String& Year, fw::String& Month,
                      fw::String& Day);

// The date in Text, split by Pattern and converted with fw::StrToInt and
// fw::EncodeDate. Two-digit years are taken as they are ("05" is year 5). Raises
// fw::EConvertError for a text that cannot be split, an empty or non-numeric
// part, or an invalid date.
fw::TDateTime StrToDateEx(fw::String Text, fw::String Pattern);

} // namespace qz
