// What the accessibility layer costs the popup calendar, in the same run:
// construction to the first complete paint, and a keyboard day step.
//
//   BM_Reference_*   without the layer at work: no bridge, nobody listens (each
//                    notification is one test, no accessible object is made)
//   *_NoAtListening  the bridge as it runs when the accessibility bus is
//                    enabled but no assistive technology listens for events:
//                    its listener hears every event, the popup's objects are
//                    made for the window and the focus (target: within 5%)
//   *_AtListening    the same while an assistive technology listens: every
//                    event becomes its ATK signals (for information; the bus
//                    itself is not measured)
//
// Without the ATK libraries the bridge's rows use a stand-in listener that
// looks each object up, as the bridge does.

#include "support/PopupRuns.h"
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <benchmark/benchmark.h>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/Accessibility.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <memory>
#include <unordered_map>
#ifdef QZ_HAVE_ATSPI
#include <framework/backends/AccessibilityBridge.h>
#include <framework/backends/atspi/AtspiBridge.h>
#endif

namespace {

using qz::TfrmQzCal;

// The bridge's listener for the length of a benchmark, with assistive
// technologies listening on the bus or not.
class TBridge {
public:
    explicit TBridge(bool AtListening) {
#ifdef QZ_HAVE_ATSPI
        fw::AccessibilityBridge::StartWithoutBus(1);
        fw::AccessibilityBridge::SetClientsListening(AtListening);
#else
        FId = fw::AddAccListener([this](const fw::TAccEvent& e) {
            if (e.Kind == fw::TAccEventKind::Destroyed) {
                FKnown.erase(e.Object);
                return;
            }
            auto& count = FKnown[e.Object];
            benchmark::DoNotOptimize(++count);
        });
#endif
    }
    ~TBridge() {
#ifdef QZ_HAVE_ATSPI
        fw::AccessibilityBridge::Stop();
#else
        fw::RemoveAccListener(FId);
#endif
    }

private:
    int FId = 0;
    std::unordered_map<fw::TAccessible*, int> FKnown;
};

void RunConstructionToFirstPaint(benchmark::State& State) {
    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 14)};
    qz::TQzCalendar Opener(nullptr);
    qzbench::RunPopupToFirstPaint(State, Opener);
}

void BM_Reference_PopupToFirstPaint(benchmark::State& State) {
    RunConstructionToFirstPaint(State);
}
BENCHMARK(BM_Reference_PopupToFirstPaint);

void BM_PopupToFirstPaint_NoAtListening(benchmark::State& State) {
    TBridge Bridge(false);
    RunConstructionToFirstPaint(State);
    State.SetLabel("ref=BM_Reference_PopupToFirstPaint");
}
BENCHMARK(BM_PopupToFirstPaint_NoAtListening);

void BM_PopupToFirstPaint_AtListening(benchmark::State& State) {
    TBridge Bridge(true);
    RunConstructionToFirstPaint(State);
    State.SetLabel("ref=BM_Reference_PopupToFirstPaint");
}
BENCHMARK(BM_PopupToFirstPaint_AtListening);

// Day steps forward and back in turn on a shown popup.
void RunDaySteps(benchmark::State& State) {
    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 14)};
    qz::TQzCalendar Opener(nullptr);
    auto Popup = std::make_unique<TfrmQzCal>(&Opener);
    Popup->Show();
    fw::Ui::Pump();
    bool Ahead = true;
    for (auto _ : State) {
        Popup->AdjustCalendar(Ahead ? qz::aaDayNext : qz::aaDayPrev);
        fw::FreeDeviceContexts();
        Ahead = !Ahead;
    }
}

void BM_Reference_PopupDayStep(benchmark::State& State) {
    RunDaySteps(State);
}
BENCHMARK(BM_Reference_PopupDayStep);

void BM_PopupDayStep_NoAtListening(benchmark::State& State) {
    TBridge Bridge(false);
    RunDaySteps(State);
    State.SetLabel("ref=BM_Reference_PopupDayStep");
}
BENCHMARK(BM_PopupDayStep_NoAtListening);

void BM_PopupDayStep_AtListening(benchmark::State& State) {
    TBridge Bridge(true);
    RunDaySteps(State);
    State.SetLabel("ref=BM_Reference_PopupDayStep");
}
BENCHMARK(BM_PopupDayStep_AtListening);

} // namespace

BENCHMARK_MAIN();
