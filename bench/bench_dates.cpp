// Date text conversion and calendar arithmetic against plain hand-written
// equivalents measured in the same run. Benchmarks named BM_Reference_* are the
// references; every other benchmark names its reference in its label
// ("ref=BM_Reference_..."), which scripts/bench reads to print ratios.

#include <Qzde/QzDateRoutines.h>
#include <benchmark/benchmark.h>
#include "support/ReferenceDates.h"
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

using qzbench::CivilFromDays;
using qzbench::DaysFromCivil;
using qzbench::PlainParse;

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
