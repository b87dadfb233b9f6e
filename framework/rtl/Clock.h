#pragma once
// The application's clock, from which Now() and Date() take the current moment.
// It reads the system's local time by default. Tests and the headless backend
// install their own clock so that "today" is fixed:
//
//     fw::TScopedClock Clock(fw::EncodeDate(2003, 12, 25));   // Date() is 25/12/2003
//
// Only the user-interface thread reads or changes the clock.

#include <framework/rtl/Types.h>
#include <functional>

namespace fw {

using TClockFunction = std::function<TDateTime()>;

// Installs Clock as the application's clock and returns the previous one. An
// empty function installs the system clock again.
TClockFunction SetClock(TClockFunction Clock);

// The current moment: date and time of day.
TDateTime Now();

// Today, without a time part.
TDateTime Date();

// Installs a clock for its lifetime and puts the previous one back afterwards.
class TScopedClock {
public:
    explicit TScopedClock(TClockFunction Clock) : FPrevious(SetClock(std::move(Clock))) {}
    // A clock that stands still at Moment.
    explicit TScopedClock(TDateTime Moment) : TScopedClock(TClockFunction([Moment] { return Moment; })) {}
    ~TScopedClock() { SetClock(std::move(FPrevious)); }
    TScopedClock(const TScopedClock&) = delete;
    TScopedClock& operator=(const TScopedClock&) = delete;

private:
    TClockFunction FPrevious;
};

} // namespace fw
