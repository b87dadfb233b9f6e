#pragma once
// The popup's runs shared by the benchmarks that time it: a popup is made and
// painted inside the timing and freed outside it.

#include <Qzde/QzCalendarPopup.h>
#include <benchmark/benchmark.h>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/ControlCanvas.h>
#include <memory>

namespace qzbench {

// Paints what the popup has pending and lets the device contexts go, as the
// end of a paint message does.
inline void PaintNow(qz::TfrmQzCal& Popup) {
    Popup.Update();
    fw::FreeDeviceContexts();
}

// Keeps the paints from the optimiser, then frees the popup (and pumps the
// messages its going leaves) outside the timing.
inline void FreeUntimed(benchmark::State& State, std::unique_ptr<qz::TfrmQzCal>& Popup) {
    benchmark::DoNotOptimize(Popup->FormPaintCount());
    State.PauseTiming();
    Popup.reset();
    fw::Ui::Pump();
    State.ResumeTiming();
}

// A popup over Opener, from construction to its first complete paint.
inline void RunPopupToFirstPaint(benchmark::State& State, fw::TComponent& Opener) {
    for (auto _ : State) {
        auto Popup = std::make_unique<qz::TfrmQzCal>(&Opener);
        Popup->Show();
        PaintNow(*Popup);
        FreeUntimed(State, Popup);
    }
}

} // namespace qzbench
