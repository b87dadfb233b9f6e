#include <Qzde/QzDateLayouts.h>
#include <Qzde/QzDateRoutines.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/SysUtils.h>

namespace qz {

namespace {

// The framework's default settings write "/" as the date separator; the date
// edit always writes it, whatever the application's current settings say.
const fw::TFormatSettings SlashSettings{};

} // namespace

fw::String AcceptDateFormat(std::string_view Value) {
    const fw::String Lower = fw::LowerCase(Value);
    for (const std::string_view Pattern : DateFormatPatterns)
        if (Lower == Pattern) return Lower;
    return {};
}

fw::String FormatDateByPattern(fw::TDateTime Date, std::string_view Pattern) {
    return fw::FormatDateTime(Pattern, Date, SlashSettings);
}

bool TryTextToDate(std::string_view Text, std::string_view Pattern, fw::TDateTime& Date) {
    fw::String Year, Month, Day;
    if (!DecodeDateString(fw::String(Text), fw::String(Pattern), Year, Month, Day)) return false;
    int D = 0, M = 0, Y = 0;
    if (!fw::TryStrToInt(Day, D) || !fw::TryStrToInt(Month, M) || !fw::TryStrToInt(Year, Y)) return false;
    return fw::TryEncodeDate(Y, M, D, Date);
}

} // namespace qz
