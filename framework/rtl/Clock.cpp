#include <chrono>
#include <cmath>
#include <ctime>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>

namespace fw {

namespace {

// The system's local time as a TDateTime, to the millisecond.
TDateTime SystemNow() {
    using namespace std::chrono;
    const auto Moment = system_clock::now();
    const std::time_t Seconds = system_clock::to_time_t(Moment);
    std::tm Local{};
    localtime_r(&Seconds, &Local);
    const auto Millis = duration_cast<milliseconds>(Moment.time_since_epoch()).count() % 1000;
    TDateTime Day;
    if (!TryEncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Day)) return 0;
    const double SecondsOfDay = Local.tm_hour * 3600.0 + Local.tm_min * 60.0 + Local.tm_sec + Millis / 1000.0;
    return Day + SecondsOfDay / 86400.0;
}

// The installed clock; empty means the system clock.
TClockFunction CurrentClock;

} // namespace

TClockFunction SetClock(TClockFunction Clock) {
    TClockFunction Previous = std::move(CurrentClock);
    CurrentClock = std::move(Clock);
    return Previous;
}

TDateTime Now() {
    return CurrentClock ? CurrentClock() : SystemNow();
}

TDateTime Date() {
    return std::floor(Now());
}

} // namespace fw
