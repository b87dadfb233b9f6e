// The permitted date range of the date controls.

#include <Qzde/QzDateRange.h>
#include <cmath>
#include <framework/rtl/DateUtils.h>

namespace qz {

namespace {

// A limit that names a day of the years 1-9999, as that whole day.
bool WholeDay(fw::TDateTime Value, fw::TDateTime& Day) {
    if (Value == 0) return false;
    fw::Word Y = 0, M = 0, D = 0;
    fw::DecodeDate(Value, Y, M, D);
    if (Y == 0) return false;
    Day = std::floor(Value);
    return true;
}

} // namespace

TDateRange TDateRange::Of(fw::TDateTime MinDate, fw::TDateTime MaxDate) {
    TDateRange R;
    R.HasMin = WholeDay(MinDate, R.Min);
    R.HasMax = WholeDay(MaxDate, R.Max);
    if (R.HasMin && R.HasMax && R.Min > R.Max) R.Max = R.Min;
    return R;
}

bool TDateRange::Contains(fw::TDateTime D) const {
    const fw::TDateTime Day = std::floor(D);
    return (!HasMin || Day >= Min) && (!HasMax || Day <= Max);
}

fw::TDateTime TDateRange::Clamp(fw::TDateTime D) const {
    const fw::TDateTime Day = std::floor(D);
    if (HasMin && Day < Min) return Min;
    if (HasMax && Day > Max) return Max;
    return D;
}

bool TDateRange::Meets(fw::TDateTime First, fw::TDateTime Last) const {
    return (!HasMin || std::floor(Last) >= Min) && (!HasMax || std::floor(First) <= Max);
}

} // namespace qz
