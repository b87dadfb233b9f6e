#pragma once
// The plain, hand-written date code the benchmarks measure against: the
// days-from-civil and civil-from-days algorithms of the proleptic Gregorian
// calendar, and a split-and-std::from_chars date parser.

#include <charconv>
#include <string_view>

namespace qzbench {

// Days from 1970-01-01.
inline int DaysFromCivil(int Y, int M, int D) {
    Y -= M <= 2;
    const int Era = (Y >= 0 ? Y : Y - 399) / 400;
    const int Yoe = Y - Era * 400;
    const int Doy = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
    return Era * 146097 + Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy - 719468;
}

inline void CivilFromDays(int Z, int& Y, int& M, int& D) {
    Z += 719468;
    const int Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    const int Doe = Z - Era * 146097;
    const int Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
    const int Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
    const int Mp = (5 * Doy + 2) / 153;
    D = Doy - (153 * Mp + 2) / 5 + 1;
    M = Mp < 10 ? Mp + 3 : Mp - 9;
    Y = Yoe + Era * 400 + (M <= 2);
}

inline bool PlainIsLeap(int Y) {
    return Y % 4 == 0 && (Y % 100 != 0 || Y % 400 == 0);
}

// Splits at the first two '/', reads day, month and year with std::from_chars,
// checks the ranges and counts the days (day 0 = 30 December 1899).
inline bool PlainParse(std::string_view Text, double& Date) {
    const auto P1 = Text.find('/');
    if (P1 == std::string_view::npos) return false;
    const auto P2 = Text.find('/', P1 + 1);
    if (P2 == std::string_view::npos) return false;
    int D, M, Y;
    const auto Read = [](std::string_view Part, int& Value) {
        const auto R = std::from_chars(Part.data(), Part.data() + Part.size(), Value);
        return R.ec == std::errc() && R.ptr == Part.data() + Part.size();
    };
    if (!Read(Text.substr(0, P1), D) || !Read(Text.substr(P1 + 1, P2 - P1 - 1), M) ||
        !Read(Text.substr(P2 + 1), Y))
        return false;
    static constexpr int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Y < 1 || Y > 9999 || M < 1 || M > 12 || D < 1 || D > (M == 2 && PlainIsLeap(Y) ? 29 : Lengths[M - 1]))
        return false;
    Date = DaysFromCivil(Y, M, D) + 25569;
    return true;
}

} // namespace qzbench
