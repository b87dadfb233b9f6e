// The date edit's validation and exit check against the plain reference date
// parser measured in the same run (the floor of bench_dates.cpp, the same loop).
// Every benchmark but the references names its reference in its label, which
// scripts/bench reads.

#include "support/ReferenceDates.h"

#include <Qzde/QzDateControls.h>
#include <array>
#include <benchmark/benchmark.h>
#include <framework/platform/Messages.h>
#include <memory>
#include <string>

namespace {

using qzbench::Sample;
using qzbench::TSample;

const TSample& TwoDigitYearTexts() {
    static const TSample Texts = {"25/12/03", "1/1/99",  "29/2/00", "31/7/69",
                                  "5/11/24",  "15/6/15", "1/10/29", "30/4/30"};
    return Texts;
}

// Texts that split but are no date, and texts that do not split.
const TSample& InvalidTexts() {
    static const TSample Texts = {"31/04/2003", "0/1/2003", "1/13/03", "29/2/30",
                                  "12/2003",    "1//2003",  "1/2/3x",  "99999999999/1/1"};
    return Texts;
}

// Full texts in the edit's own layout, as an edit holding a date shows them.
const TSample& FullTexts() {
    static const TSample Texts = {"25/12/2003", "01/01/1999", "29/02/2000", "31/07/1969",
                                  "05/11/2024", "15/06/1815", "01/10/9999", "30/04/1901"};
    return Texts;
}

// A typed two-digit year is checked, expanded and written back in full: the
// floor copies the text, as the IsValidDate benchmarks do, and rewrites it.
// The second reference does the same with strptime reading the numbers (the
// full-text strptime reference reads other texts and writes nothing).
template <auto Normalise>
void RunNormalise(benchmark::State& State) {
    const auto& Texts = TwoDigitYearTexts();
    std::size_t I = 0;
    for (auto _ : State) {
        std::string Text = Sample(Texts, I);
        benchmark::DoNotOptimize(Normalise(Text, 30));
        benchmark::DoNotOptimize(Text.data());
    }
}

void BM_Reference_ParseTwoDigitYear(benchmark::State& State) {
    RunNormalise<qzbench::PlainNormalise>(State);
}
BENCHMARK(BM_Reference_ParseTwoDigitYear);

void BM_Reference_StrptimeTwoDigitYear(benchmark::State& State) {
    RunNormalise<qzbench::StrptimeNormalise>(State);
}
BENCHMARK(BM_Reference_StrptimeTwoDigitYear);

void BM_Reference_ParseInvalid(benchmark::State& State) {
    qzbench::RunParse<qzbench::PlainParse>(State, InvalidTexts());
}
BENCHMARK(BM_Reference_ParseInvalid);

void BM_Reference_ParseFull(benchmark::State& State) {
    qzbench::RunParse<qzbench::PlainParse>(State, FullTexts());
}
BENCHMARK(BM_Reference_ParseFull);

void BM_Reference_StrptimeFull(benchmark::State& State) {
    qzbench::RunParse<qzbench::StrptimeParse>(State, FullTexts());
}
BENCHMARK(BM_Reference_StrptimeFull);

// IsValidDate on a copy of the text, as DoExit and the popup call it.
void RunIsValidDate(benchmark::State& State, const TSample& Texts) {
    qz::TQzDateEdit Edit(nullptr);
    std::size_t I = 0;
    for (auto _ : State) {
        std::string Text = Sample(Texts, I);
        benchmark::DoNotOptimize(Edit.IsValidDate(Text));
        benchmark::DoNotOptimize(Text.data());
    }
}

void BM_IsValidDate_Full(benchmark::State& State) {
    RunIsValidDate(State, FullTexts());
    State.SetLabel("ref=BM_Reference_ParseFull ref=BM_Reference_StrptimeFull");
}
BENCHMARK(BM_IsValidDate_Full);

void BM_IsValidDate_TwoDigitYear(benchmark::State& State) {
    RunIsValidDate(State, TwoDigitYearTexts());
    State.SetLabel("ref=BM_Reference_ParseTwoDigitYear ref=BM_Reference_StrptimeTwoDigitYear");
}
BENCHMARK(BM_IsValidDate_TwoDigitYear);

void BM_IsValidDate_Invalid(benchmark::State& State) {
    RunIsValidDate(State, InvalidTexts());
    State.SetLabel("ref=BM_Reference_ParseInvalid");
}
BENCHMARK(BM_IsValidDate_Invalid);

// The exit of an edit holding a valid date: eight edits, each showing one of
// the texts, left in turn. Each exit checks the text, converts it and writes the
// date back through SetDate (the same text, so no change follows).
void BM_ExitWithValidDate(benchmark::State& State) {
    const auto& Texts = FullTexts();
    std::array<std::unique_ptr<qz::TQzDateEdit>, 8> Edits;
    for (std::size_t K = 0; K < Edits.size(); ++K) {
        Edits[K] = std::make_unique<qz::TQzDateEdit>(nullptr);
        Edits[K]->SetText(Texts[K]);
    }
    std::size_t I = 0;
    for (auto _ : State) {
        qz::TQzDateEdit& Edit = *Edits[I++ & 7];
        Edit.Perform(fw::CM_EXIT);
        benchmark::DoNotOptimize(Edit.GetDate());
    }
    State.SetLabel("ref=BM_Reference_ParseFull");
}
BENCHMARK(BM_ExitWithValidDate);

// A typed text rewritten on the way out: the text is set, checked, expanded and
// replaced, with the change events that go with it.
void BM_TypeAndExitTwoDigitYear(benchmark::State& State) {
    qz::TQzDateEdit Edit(nullptr);
    const auto& Texts = TwoDigitYearTexts();
    std::size_t I = 0;
    for (auto _ : State) {
        Edit.SetText(Sample(Texts, I));
        Edit.Perform(fw::CM_EXIT);
        benchmark::DoNotOptimize(Edit.GetDate());
    }
    State.SetLabel("ref=BM_Reference_ParseTwoDigitYear");
}
BENCHMARK(BM_TypeAndExitTwoDigitYear);

} // namespace

BENCHMARK_MAIN();
