#include <Qzde/QzDateLayouts.h>
#include <Qzde/QzDateRoutines.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/SysUtils.h>
#include <string_view>

namespace qz {

namespace {

// The three parts of a date text cut at its first two "/", in text order.
struct TDateParts {
    std::string_view First, Middle, Last;
};

bool SplitAtSlashes(std::string_view Text, TDateParts& Parts) {
    const auto P1 = Text.find('/');
    if (P1 == std::string_view::npos) return false;
    const auto P2 = Text.find('/', P1 + 1);
    if (P2 == std::string_view::npos) return false;
    Parts.First = Text.substr(0, P1);
    Parts.Middle = Text.substr(P1 + 1, P2 - P1 - 1);
    Parts.Last = Text.substr(P2 + 1);
    return true;
}

// Orders the parts as year, month and day by the first letter of Pattern;
// false for a pattern that starts with no lower-case 'd', 'm' or 'y'.
bool OrderParts(const TDateParts& Parts, std::string_view Pattern, std::string_view& Year,
                std::string_view& Month, std::string_view& Day) {
    switch (Pattern.empty() ? '\0' : Pattern.front()) {
    case 'd':
        Day = Parts.First, Month = Parts.Middle, Year = Parts.Last;
        return true;
    case 'm':
        Month = Parts.First, Day = Parts.Middle, Year = Parts.Last;
        return true;
    case 'y':
        Year = Parts.First, Month = Parts.Middle, Day = Parts.Last;
        return true;
    default:
        return false;
    }
}

} // namespace

bool HitTest(const fw::TRect& Rect, int X, int Y) {
    return !(X < Rect.Left || X > Rect.Right || Y < Rect.Top || Y > Rect.Bottom);
}

int DaysInMonth(int Month, int Year) {
    switch (static_cast<unsigned>(Month)) {
    case 2:
        return IsLeapYear(Year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    default:
        return 0;
    }
}

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

void AdjustMonthYear(fw::Word& Month, fw::Word& Year, TQzDirection Direction) {
    if (Direction == ddForward) {
        if (Month == 12) {
            Month = 1;
            ++Year;
        } else {
            ++Month;
        }
    } else {
        if (Month == 1) {
            Month = 12;
            --Year;
        } else {
            --Month;
        }
    }
}

bool DecodeDateString(fw::String Text, fw::String Pattern, fw::String& Year, fw::String& Month,
                      fw::String& Day) {
    TDateParts Parts;
    std::string_view Y, M, D;
    if (!SplitAtSlashes(Text, Parts) || !OrderParts(Parts, Pattern, Y, M, D)) return false;
    Year.assign(Y);
    Month.assign(M);
    Day.assign(D);
    return true;
}

fw::TDateTime StrToDateEx(fw::String Text, fw::String Pattern) {
    // The common text, three runs of digits, in one pass: StrToInt would read
    // the same numbers. Anything else (blanks, signs, a missing part) takes the
    // general way with StrToInt's own errors.
    int Y = 0, M = 0, D = 0;
    std::size_t YearDigits = 0;
    if (ReadDateDigits(Text, Pattern, Y, M, D, YearDigits)) return fw::EncodeDate(Y, M, D);
    // The parts are views into Text: converting them needs no copies. A text
    // that cannot be split leaves them empty, and StrToInt rejects the empty day.
    TDateParts Parts;
    std::string_view Year, Month, Day;
    if (SplitAtSlashes(Text, Parts)) OrderParts(Parts, Pattern, Year, Month, Day);
    D = fw::StrToInt(Day);
    M = fw::StrToInt(Month);
    Y = fw::StrToInt(Year);
    return fw::EncodeDate(Y, M, D);
}

} // namespace qz
