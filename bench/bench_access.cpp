// What the accessibility layer costs the popup calendar, in the same run:
// construction to the first complete paint and a keyboard day step, each
// without the layer at work (nobody listens: every notification is one test
// and no accessible object is made) against the same with it at work as the
// desktop bridge has it when no assistive technology listens on the bus (a
// listener that looks each object up, the popup's objects made by the focus
// event that the popup's activation sends, every selection move announced).

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
#include <framework/backends/atspi/AtspiBridge.h>
#include <framework/backends/AccessibilityBridge.h>
#endif

namespace {

using qz::TfrmQzCal;

// The bridge's side of an event while no assistive technology listens: find the
// object's wrapper (made for the focus), nothing sent.
class TBridgeStandIn {
public:
    TBridgeStandIn() {
        FId = fw::AddAccListener([this](const fw::TAccEvent& e) {
            if (e.Kind == fw::TAccEventKind::Destroyed) {
                FKnown.erase(e.Object);
                return;
            }
            auto& count = FKnown[e.Object];
            benchmark::DoNotOptimize(++count);
        });
    }
    ~TBridgeStandIn() { fw::RemoveAccListener(FId); }

private:
    int FId;
    std::unordered_map<fw::TAccessible*, int> FKnown;
};

void RunConstructionToFirstPaint(benchmark::State& State) {
    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 14)};
    qz::TQzCalendar Opener(nullptr);
    for (auto _ : State) {
        auto Popup = std::make_unique<TfrmQzCal>(&Opener);
        Popup->Show();
        Popup->Update();
        fw::FreeDeviceContexts();
        benchmark::DoNotOptimize(Popup->FormPaintCount());
        State.PauseTiming();
        Popup.reset();
        fw::Ui::Pump();
        State.ResumeTiming();
    }
}

void BM_Reference_PopupToFirstPaint(benchmark::State& State) {
    RunConstructionToFirstPaint(State);
}
BENCHMARK(BM_Reference_PopupToFirstPaint);

void BM_PopupToFirstPaintAccessible(benchmark::State& State) {
    TBridgeStandIn Bridge;
    RunConstructionToFirstPaint(State);
    State.SetLabel("ref=BM_Reference_PopupToFirstPaint");
}
BENCHMARK(BM_PopupToFirstPaintAccessible);

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

void BM_PopupDayStepAccessible(benchmark::State& State) {
    TBridgeStandIn Bridge;
    RunDaySteps(State);
    State.SetLabel("ref=BM_Reference_PopupDayStep");
}
BENCHMARK(BM_PopupDayStepAccessible);

#ifdef QZ_HAVE_ATSPI
void BM_PopupDayStepAtk(benchmark::State& State) {
    fw::AccessibilityBridge::StartWithoutBus(1);
    RunDaySteps(State);
    fw::AccessibilityBridge::Stop();
    State.SetLabel("ref=BM_Reference_PopupDayStep");
}
BENCHMARK(BM_PopupDayStepAtk);
void BM_PopupToFirstPaintAtk(benchmark::State& State) {
    fw::AccessibilityBridge::StartWithoutBus(1);
    RunConstructionToFirstPaint(State);
    fw::AccessibilityBridge::Stop();
    State.SetLabel("ref=BM_Reference_PopupToFirstPaint");
}
BENCHMARK(BM_PopupToFirstPaintAtk);
#endif
} // namespace

BENCHMARK_MAIN();
