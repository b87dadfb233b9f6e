#pragma once
// The popup month calendar: its settings types. The popup form itself is declared here too.

#include <cstdint>

namespace qz {

// The weekday the popup's grid starts its weeks on.
enum TWeekStart : std::uint8_t {
    wsSunday,
    wsMonday,
    wsTuesday,
    wsWednesday,
    wsThursday,
    wsFriday,
    wsSaturday
};

// csStandard: a borderless popup below its opener; csDialog: a dialog frame with a caption.
enum TCalendarStyles : std::uint8_t { csStandard, csDialog };

} // namespace qz
