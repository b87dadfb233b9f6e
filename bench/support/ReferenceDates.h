#pragma once
// The plain date code the date benchmarks measure against, and the loop they
// all share.
//
// The floor: a hand-written split at the first two '/', std::from_chars for the
// three numbers, a range check and the days-from-civil algorithm. The second
// reference is the C library's strptime with a days-in-month check; for texts
// with a short year, strptime with the same cusp and rewrite as the floor. Every
// benchmark of a file walks the same eight texts the same way (Sample), so the
// ratios compare the work, not the loop.

#include <array>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace qzbench {

// Eight texts (a power of two: the next one is an AND, not a division).
using TSample = std::array<std::string, 8>;

inline const std::string& Sample(const TSample& Texts, std::size_t& I) {
    return Texts[I++ & (Texts.size() - 1)];
}

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

inline int PlainDaysInMonth(int Y, int M) {
    static constexpr int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return M == 2 && Y % 4 == 0 && (Y % 100 != 0 || Y % 400 == 0) ? 29 : Lengths[M - 1];
}

// Splits "d/m/y" at the first two '/' and reads the three numbers with
// from_chars; YearDigits is the length of the year's text.
inline bool PlainSplit(std::string_view Text, int& D, int& M, int& Y, std::size_t& YearDigits) {
    const auto P1 = Text.find('/');
    if (P1 == std::string_view::npos) return false;
    const auto P2 = Text.find('/', P1 + 1);
    if (P2 == std::string_view::npos) return false;
    const auto Read = [](const char* First, const char* Last, int& Value) {
        const auto R = std::from_chars(First, Last, Value);
        return R.ec == std::errc() && R.ptr == Last && First != Last;
    };
    const char* S = Text.data();
    YearDigits = Text.size() - P2 - 1;
    return Read(S, S + P1, D) && Read(S + P1 + 1, S + P2, M) && Read(S + P2 + 1, S + Text.size(), Y);
}

// Day, month and year in that order: split, from_chars, range check, day count
// (day 0 = 30 December 1899).
inline bool PlainParse(std::string_view Text, double& Date) {
    int D, M, Y;
    std::size_t YearDigits;
    if (!PlainSplit(Text, D, M, Y, YearDigits)) return false;
    if (Y < 1 || Y > 9999 || M < 1 || M > 12 || D < 1 || D > PlainDaysInMonth(Y, M)) return false;
    Date = DaysFromCivil(Y, M, D) + 25569;
    return true;
}

// Replaces Text with "dd/mm/yyyy".
inline void WriteDayMonthYear(std::string& Text, int D, int M, int Y) {
    const char Out[10] = {char('0' + D / 10),   char('0' + D % 10),       '/',
                          char('0' + M / 10),   char('0' + M % 10),       '/',
                          char('0' + Y / 1000), char('0' + Y / 100 % 10), char('0' + Y / 10 % 10),
                          char('0' + Y % 10)};
    Text.assign(Out, sizeof Out);
}

// The same for a text that may carry a one- or two-digit year, checked and
// rewritten in place as "dd/mm/yyyy" when it did (years below Cusp are 20xx,
// the others 19xx), the way a date entry normalises what was typed.
inline bool PlainNormalise(std::string& Text, int Cusp = 30) {
    int D, M, Y;
    std::size_t YearDigits;
    if (!PlainSplit(Text, D, M, Y, YearDigits)) return false;
    const bool Short = YearDigits <= 2;
    if (Short) Y += Y < Cusp ? 2000 : 1900;
    if (Y < 1 || Y > 9999 || M < 1 || M > 12 || D < 1 || D > PlainDaysInMonth(Y, M)) return false;
    if (Short) WriteDayMonthYear(Text, D, M, Y);
    return true;
}

// The same work with the C library's strptime reading the numbers ("%Y" takes
// a year of one to four digits as written): the cusp, the checks and the
// rewrite as above.
inline bool StrptimeNormalise(std::string& Text, int Cusp = 30) {
    std::tm Tm{};
    const char* End = strptime(Text.c_str(), "%d/%m/%Y", &Tm);
    if (End == nullptr || *End != '\0') return false;
    const bool Short = Text.size() - Text.rfind('/') - 1 <= 2;
    int Y = Tm.tm_year + 1900;
    const int M = Tm.tm_mon + 1;
    if (Short) Y += Y < Cusp ? 2000 : 1900;
    if (Y < 1 || Y > 9999 || Tm.tm_mday > PlainDaysInMonth(Y, M)) return false;
    if (Short) WriteDayMonthYear(Text, Tm.tm_mday, M, Y);
    return true;
}

// The C library's reading of "%d/%m/%Y", then the checks it does not make
// (years 1-9999, the month's length) and the day count.
inline bool StrptimeParse(const std::string& Text, double& Date) {
    std::tm Tm{};
    const char* End = strptime(Text.c_str(), "%d/%m/%Y", &Tm);
    if (End == nullptr || *End != '\0') return false;
    const int Y = Tm.tm_year + 1900;
    const int M = Tm.tm_mon + 1;
    if (Y < 1 || Y > 9999 || Tm.tm_mday > PlainDaysInMonth(Y, M)) return false;
    Date = DaysFromCivil(Y, M, Tm.tm_mday) + 25569;
    return true;
}

// The loop of the parse benchmarks: one text of the sample per iteration
// through Parse (PlainParse, StrptimeParse...), a template argument so the
// call is as direct as when each benchmark spelled it out.
template <auto Parse>
void RunParse(benchmark::State& State, const TSample& Texts) {
    std::size_t I = 0;
    for (auto _ : State) {
        double Date = 0;
        benchmark::DoNotOptimize(Parse(Sample(Texts, I), Date));
        benchmark::DoNotOptimize(Date);
    }
}

} // namespace qzbench
