#pragma once
// The twelve date layouts every DateFormat property accepts, and the conversions
// between a date and its text in one of them.

#include <array>
#include <framework/rtl/Types.h>
#include <string_view>

namespace qz {

// In table order: day first, month first, year first.
inline constexpr std::array<std::string_view, 12> DateFormatPatterns = {
    "dd/mm/yyyy", "d/mm/yyyy", "dd/m/yyyy",  "d/m/yyyy",  "mm/dd/yyyy", "mm/d/yyyy",
    "m/dd/yyyy",  "m/d/yyyy",  "yyyy/mm/dd", "yyyy/mm/d", "yyyy/m/dd",  "yyyy/m/d"};

// The accepted layout that Value names, ignoring case, in lower case; empty when
// Value is none of the twelve.
fw::String AcceptDateFormat(std::string_view Value);

// Date written by Pattern (one of the twelve): day and month padded as the pattern
// says, the year with four digits, and "/" between them whatever the locale's
// date separator is, so that the text always reads back by the same pattern.
fw::String FormatDateByPattern(fw::TDateTime Date, std::string_view Pattern);
// The same for a date given by its parts (not checked).
fw::String FormatDateByPattern(int Year, int Month, int Day, std::string_view Pattern);
// The same, written into Text (which keeps its storage).
void FormatDateByPattern(int Year, int Month, int Day, std::string_view Pattern, fw::String& Text);

// Splits Text as DecodeDateString does (at its first two "/", ordered by the
// first letter of Pattern), handing out views into Text instead of copies: the
// edit checks its text on every exit and the popup on every opening.
bool SplitDateText(std::string_view Text, std::string_view Pattern, std::string_view& Year,
                   std::string_view& Month, std::string_view& Day);

// Splits Text at its first two "/" and reads the parts in Pattern's order as
// runs of one to nine decimal digits (no sign, no blank, no further "/"), so
// each is what StrToInt would read. YearDigits is the length of the year's run.
// False for any other text or pattern; the outputs are then unspecified.
bool ReadDateDigits(std::string_view Text, std::string_view Pattern, int& Year, int& Month, int& Day,
                    std::size_t& YearDigits);

// The date in Text, split by Pattern, with the year as typed. As StrToDateEx, but
// a text that does not convert gives false (Date untouched) instead of raising.
bool TryTextToDate(std::string_view Text, std::string_view Pattern, fw::TDateTime& Date);

} // namespace qz
