// Date text conversion and calendar arithmetic against plain hand-written
// equivalents measured in the same run. Benchmarks named BM_Reference_* are the
// references; every other benchmark names its reference in its label
// ("ref=BM_Reference_..."), which scripts/bench reads to print ratios.

#include <Qzde/QzDateRoutines.h>
#include <benchmark/benchmark.h>
#include <charconv>
#include <framework/rtl/DateUtils.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::vector<std::string>& SampleTexts() {
    static const std::vector<std::string> Texts = {"25/12/2003", "1/1/1999",  "29/2/2000", "31/07/1969",
                                                   "5/11/2024",  "15/6/1815", "1/10/9999", "30/4/0001"};
    return Texts;
}

// Days from 1970-01-01 of the proleptic Gregorian calendar.
int DaysFromCivil(int Y, int M, int D) {
    Y -= M <= 2;
    const int Era = (Y >= 0 ? Y : Y - 399) / 400;
    const int Yoe = Y - Era * 400;
    const int Doy = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
    return Era * 146097 + Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy - 719468;
}

void CivilFromDays(int Z, int& Y, int& M, int& D) {
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

bool PlainIsLeap(int Y) {
    return Y % 4 == 0 && (Y % 100 != 0 || Y % 400 == 0);
}

// The reference date parser: split at the first two '/', read day, month and
// year with std::from_chars, check the ranges and count the days.
bool PlainParse(std::string_view Text, double& Date) {
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

void BM_Reference_ParseDate(benchmark::State& State) {
    const auto& Texts = SampleTexts();
    std::size_t I = 0;
    for (auto _ : State) {
        double Date = 0;
        benchmark::DoNotOptimize(PlainParse(Texts[I++ % Texts.size()], Date));
        benchmark::DoNotOptimize(Date);
    }
}
BENCHMARK(BM_Reference_ParseDate);

void BM_StrToDateEx(benchmark::State& State) {
    const auto& Texts = SampleTexts();
    const std::string Pattern = "dd/mm/yyyy";
    std::size_t I = 0;
    for (auto _ : State)
        benchmark::DoNotOptimize(qz::StrToDateEx(Texts[I++ % Texts.size()], Pattern));
    State.SetLabel("ref=BM_Reference_ParseDate");
}
BENCHMARK(BM_StrToDateEx);

void BM_DecodeDateString(benchmark::State& State) {
    const auto& Texts = SampleTexts();
    const std::string Pattern = "dd/mm/yyyy";
    std::string Year, Month, Day;
    std::size_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(qz::DecodeDateString(Texts[I++ % Texts.size()], Pattern, Year, Month, Day));
        benchmark::DoNotOptimize(Day.data());
    }
    State.SetLabel("ref=BM_Reference_ParseDate");
}
BENCHMARK(BM_DecodeDateString);

void BM_Reference_CivilRoundTrip(benchmark::State& State) {
    int Days = 0;
    for (auto _ : State) {
        int Y, M, D;
        CivilFromDays(Days, Y, M, D);
        Days = (Days + 1) % 100000;
        benchmark::DoNotOptimize(DaysFromCivil(Y, M, D));
    }
}
BENCHMARK(BM_Reference_CivilRoundTrip);

void BM_EncodeDecodeDate(benchmark::State& State) {
    int Days = 0;
    for (auto _ : State) {
        fw::Word Y, M, D;
        fw::DecodeDate(Days, Y, M, D);
        Days = (Days + 1) % 100000;
        benchmark::DoNotOptimize(fw::EncodeDate(Y, M, D));
    }
    State.SetLabel("ref=BM_Reference_CivilRoundTrip");
}
BENCHMARK(BM_EncodeDecodeDate);

} // namespace

BENCHMARK_MAIN();
