// Date text conversion and calendar arithmetic against plain hand-written
// equivalents measured in the same run (bench/support/ReferenceDates.h).
// Benchmarks named BM_Reference_* are the references; every other benchmark
// names its reference in its label ("ref=BM_Reference_..."), which scripts/bench
// reads to print ratios. BM_Reference_ParseDate is the floor;
// BM_Reference_Strptime the C library's way, for comparison.

#include "support/ReferenceDates.h"

#include <Qzde/QzDateRoutines.h>
#include <benchmark/benchmark.h>
#include <framework/rtl/DateUtils.h>
#include <string>

namespace {

const qzbench::TSample& SampleTexts() {
    static const qzbench::TSample Texts = {"25/12/2003", "1/1/1999",  "29/2/2000", "31/07/1969",
                                           "5/11/2024",  "15/6/1815", "1/10/9999", "30/4/0001"};
    return Texts;
}

using qzbench::CivilFromDays;
using qzbench::DaysFromCivil;
using qzbench::Sample;

void BM_Reference_ParseDate(benchmark::State& State) {
    qzbench::RunParse<qzbench::PlainParse>(State, SampleTexts());
}
BENCHMARK(BM_Reference_ParseDate);

void BM_Reference_Strptime(benchmark::State& State) {
    qzbench::RunParse<qzbench::StrptimeParse>(State, SampleTexts());
}
BENCHMARK(BM_Reference_Strptime);

void BM_StrToDateEx(benchmark::State& State) {
    const auto& Texts = SampleTexts();
    const std::string Pattern = "dd/mm/yyyy";
    std::size_t I = 0;
    for (auto _ : State)
        benchmark::DoNotOptimize(qz::StrToDateEx(Sample(Texts, I), Pattern));
    State.SetLabel("ref=BM_Reference_ParseDate");
}
BENCHMARK(BM_StrToDateEx);

void BM_DecodeDateString(benchmark::State& State) {
    const auto& Texts = SampleTexts();
    const std::string Pattern = "dd/mm/yyyy";
    std::string Year, Month, Day;
    std::size_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(qz::DecodeDateString(Sample(Texts, I), Pattern, Year, Month, Day));
        benchmark::DoNotOptimize(Day.data());
    }
    State.SetLabel("ref=BM_Reference_ParseDate");
}
BENCHMARK(BM_DecodeDateString);

// Both conversions on one day number, in the same loop as the framework's.
void BM_Reference_CivilRoundTrip(benchmark::State& State) {
    int Days = 0;
    for (auto _ : State) {
        int Y, M, D;
        CivilFromDays(Days - 25569, Y, M, D);
        Days = (Days + 1) & 0xFFFFF;
        benchmark::DoNotOptimize(DaysFromCivil(Y, M, D) + 25569);
    }
}
BENCHMARK(BM_Reference_CivilRoundTrip);

void BM_EncodeDecodeDate(benchmark::State& State) {
    int Days = 0;
    for (auto _ : State) {
        fw::Word Y, M, D;
        fw::DecodeDate(Days, Y, M, D);
        Days = (Days + 1) & 0xFFFFF;
        benchmark::DoNotOptimize(fw::EncodeDate(Y, M, D));
    }
    State.SetLabel("ref=BM_Reference_CivilRoundTrip");
}
BENCHMARK(BM_EncodeDecodeDate);

} // namespace

BENCHMARK_MAIN();
