#pragma once
// The permitted range of the date controls: MinDate and MaxDate, where 0 leaves
// an end open. Both ends count as whole days, so a time of day in a limit or in
// a tested date never moves a day in or out.

#include <framework/rtl/Types.h>

namespace qz {

struct TDateRange {
    bool HasMin = false;
    bool HasMax = false;
    fw::TDateTime Min = 0; // whole days
    fw::TDateTime Max = 0;

    // The range of a pair of limits. A limit the years 1-9999 do not hold (or
    // not a number) is open. An inverted pair (MinDate after MaxDate) permits
    // only the day of MinDate.
    static TDateRange Of(fw::TDateTime MinDate, fw::TDateTime MaxDate);

    bool Limited() const { return HasMin || HasMax; }
    bool Contains(fw::TDateTime D) const;
    // D moved to the nearest permitted day; D itself (time of day kept) when inside.
    fw::TDateTime Clamp(fw::TDateTime D) const;
    // Whether any day from First to Last (whole days) is permitted.
    bool Meets(fw::TDateTime First, fw::TDateTime Last) const;
};

} // namespace qz
