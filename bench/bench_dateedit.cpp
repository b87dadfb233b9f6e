// The date edit's validation and exit check against the plain reference date
// parser measured in the same run (the same parser as bench_dates.cpp). Every
// benchmark but the reference names it in its label, which scripts/bench reads.

#include <Qzde/QzDateControls.h>
#include <benchmark/benchmark.h>
#include "support/ReferenceDates.h"
#include <framework/platform/Messages.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::vector<std::string>& TwoDigitYearTexts() {
    static const std::vector<std::string> Texts = {"25/12/03", "1/1/99",  "29/2/00", "31/7/69",
                                                   "5/11/24",  "15/6/15", "1/10/29", "30/4/30"};
    return Texts;
}

// Texts that split but are no date, and texts that do not split.
const std::vector<std::string>& InvalidTexts() {
    static const std::vector<std::string> Texts = {"31/04/2003", "0/1/2003", "1/13/03", "29/2/30",
                                                   "12/2003",    "1//2003",  "1/2/3x",  "99999999999/1/1"};
    return Texts;
}

// Full four-digit texts, as the user leaves them.
const std::vector<std::string>& FullTexts() {
    static const std::vector<std::string> Texts = {"25/12/2003", "1/1/1999",  "29/2/2000", "31/07/1969",
                                                   "5/11/2024",  "15/6/1815", "1/10/9999", "30/4/1901"};
    return Texts;
}

using qzbench::PlainParse;

void RunReference(benchmark::State& State, const std::vector<std::string>& Texts) {
    std::size_t I = 0;
    for (auto _ : State) {
        double Date = 0;
        benchmark::DoNotOptimize(PlainParse(Texts[I++ % Texts.size()], Date));
        benchmark::DoNotOptimize(Date);
    }
}

void BM_Reference_ParseTwoDigitYear(benchmark::State& State) {
    RunReference(State, TwoDigitYearTexts());
}
BENCHMARK(BM_Reference_ParseTwoDigitYear);

void BM_Reference_ParseInvalid(benchmark::State& State) {
    RunReference(State, InvalidTexts());
}
BENCHMARK(BM_Reference_ParseInvalid);

void BM_Reference_ParseFull(benchmark::State& State) {
    RunReference(State, FullTexts());
}
BENCHMARK(BM_Reference_ParseFull);

// IsValidDate with the copy of the text it normalises, as DoExit and the popup call it.
void RunIsValidDate(benchmark::State& State, const std::vector<std::string>& Texts) {
    qz::TQzDateEdit Edit(nullptr);
    std::size_t I = 0;
    for (auto _ : State) {
        std::string Text = Texts[I++ % Texts.size()];
        benchmark::DoNotOptimize(Edit.IsValidDate(Text));
        benchmark::DoNotOptimize(Text.data());
    }
}

void BM_IsValidDate_TwoDigitYear(benchmark::State& State) {
    RunIsValidDate(State, TwoDigitYearTexts());
    State.SetLabel("ref=BM_Reference_ParseTwoDigitYear");
}
BENCHMARK(BM_IsValidDate_TwoDigitYear);

void BM_IsValidDate_Invalid(benchmark::State& State) {
    RunIsValidDate(State, InvalidTexts());
    State.SetLabel("ref=BM_Reference_ParseInvalid");
}
BENCHMARK(BM_IsValidDate_Invalid);

// One full exit: the text is checked, converted and written back through SetDate.
void BM_ExitWithValidDate(benchmark::State& State) {
    qz::TQzDateEdit Edit(nullptr);
    const auto& Texts = FullTexts();
    std::size_t I = 0;
    for (auto _ : State) {
        Edit.SetText(Texts[I++ % Texts.size()]);
        Edit.Perform(fw::CM_EXIT);
        benchmark::DoNotOptimize(Edit.GetDate());
    }
    State.SetLabel("ref=BM_Reference_ParseFull");
}
BENCHMARK(BM_ExitWithValidDate);

} // namespace

BENCHMARK_MAIN();
