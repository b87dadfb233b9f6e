// The calendar popup against the canvas floor of bench/support/CanvasFloor.h, measured
// in the same run: construction to the first complete paint and a month step with its
// full repaint against the floor's whole frame, and a keyboard day step (two cells
// redrawn) against the floor's repaint of two cells.

#include "support/CanvasFloor.h"
#include "support/PopupRuns.h"

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <benchmark/benchmark.h>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <memory>

namespace {

using qz::TfrmQzCal;

// The popup's grid in the floor's frame: cells of 24 x 17 from (4, 37).
fw::TRect FloorCell(int Index) {
    const int Left = 4 + ((Index - 1) % 7) * qzbench::FloorCellWidth;
    const int Top = 2 * qzbench::FloorCellHeight + 3 + ((Index - 1) / 7) * qzbench::FloorCellHeight;
    return {Left, Top, Left + qzbench::FloorCellWidth, Top + qzbench::FloorCellHeight};
}

// The floor's two-cell repaint: fill two cells and blit a right-aligned two-digit
// number into each, regular and bold.
void DrawFloorCells(const qzbench::FloorCache& Cache, fw::TSurface& S, int Old, int New) {
    const fw::TPixel Face = fw::RGB(192, 192, 192);
    for (int Pass = 0; Pass < 2; ++Pass) {
        const fw::TRect R = FloorCell(Pass == 0 ? Old : New);
        const auto& Glyphs = Pass == 0 ? Cache.Regular : Cache.Bold;
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            fw::TPixel* Row = S.Row(Y);
            for (int X = R.Left; X < R.Right; ++X)
                Row[X] = Face;
        }
        const char Text[3] = {'2', '8', ' '};
        int Width = 0;
        for (char C : Text)
            Width += Glyphs[std::size_t(C)].Advance;
        int X = R.Right - Width;
        const int Baseline = R.Top + (qzbench::FloorCellHeight - Cache.Height) / 2 + Cache.Ascent;
        for (char C : Text) {
            qzbench::FloorBlit(S, Glyphs[std::size_t(C)], X, Baseline, 0);
            X += Glyphs[std::size_t(C)].Advance;
        }
    }
}

void BM_Reference_CanvasFloor(benchmark::State& State) {
    qzbench::FloorCache Cache = qzbench::MakeFloorCache();
    fw::TSurface Surface(qzbench::FloorWidth, qzbench::FloorHeight);
    for (auto _ : State) {
        qzbench::DrawFloorFrame(Cache, Surface);
        benchmark::DoNotOptimize(Surface.Pixels().data());
    }
}
BENCHMARK(BM_Reference_CanvasFloor);

void BM_Reference_TwoCellFloor(benchmark::State& State) {
    qzbench::FloorCache Cache = qzbench::MakeFloorCache();
    fw::TSurface Surface(qzbench::FloorWidth, qzbench::FloorHeight);
    qzbench::DrawFloorFrame(Cache, Surface);
    int Cell = 10;
    for (auto _ : State) {
        DrawFloorCells(Cache, Surface, Cell, Cell + 1);
        Cell = Cell == 10 ? 11 : 10;
        benchmark::DoNotOptimize(Surface.Pixels().data());
    }
}
BENCHMARK(BM_Reference_TwoCellFloor);

// A popup opened by a calendar component on 14 March 2026, shown and painted.
struct ShownPopup {
    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 14)};
    qz::TQzCalendar Opener{nullptr};
    std::unique_ptr<TfrmQzCal> Popup;
    explicit ShownPopup(fw::TComponent* Owner = nullptr) {
        Popup = std::make_unique<TfrmQzCal>(Owner ? Owner : &Opener);
        Popup->Show();
        fw::Ui::Pump();
    }
};

// Construction to the first complete paint of a calendar component's popup,
// classic or with every opt-in feature on (a range that greys days and disables
// buttons, today's mark, week numbers, wheel paging).
// The second row adds the foot buttons, refused weekends and a marked day every
// week (a handler call per shown day for each).
void RunConstructionToFirstPaint(benchmark::State& State, bool AllOptions, bool DayHandlers = false) {
    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 14)};
    qz::TQzCalendar Opener(nullptr);
    if (AllOptions) {
        Opener.SetMinDate(fw::EncodeDate(2026, 3, 5));
        Opener.SetMaxDate(fw::EncodeDate(2026, 3, 28));
        Opener.SetCalendarOptions({qz::coShowToday, qz::coWeekNumbers, qz::coWheelPaging});
    }
    if (DayHandlers) {
        Opener.SetCalendarOptions({qz::coShowToday, qz::coWeekNumbers, qz::coWheelPaging, qz::coTodayButton,
                                   qz::coClearButton, qz::coZoomViews});
        Opener.OnDayDisabled = [](fw::TObject*, fw::TDateTime D, bool& Disabled) {
            Disabled = fw::DayOfWeek(D) == 1 || fw::DayOfWeek(D) == 7;
        };
        Opener.OnDayStyle = [](fw::TObject*, fw::TDateTime D, qz::TDayStyle& Style) {
            if (fw::DayOfWeek(D) == 4) Style = {true, fw::clRed, "Market day"};
        };
    }
    qzbench::RunPopupToFirstPaint(State, Opener);
}

void BM_PopupConstructionToFirstPaint(benchmark::State& State) {
    RunConstructionToFirstPaint(State, false);
    State.SetLabel("ref=BM_Reference_CanvasFloor");
}
BENCHMARK(BM_PopupConstructionToFirstPaint);

void BM_Reference_ClassicPopupToFirstPaint(benchmark::State& State) {
    RunConstructionToFirstPaint(State, false);
}
BENCHMARK(BM_Reference_ClassicPopupToFirstPaint);

void BM_PopupAllOptionsToFirstPaint(benchmark::State& State) {
    RunConstructionToFirstPaint(State, true);
    State.SetLabel("ref=BM_Reference_ClassicPopupToFirstPaint");
}
BENCHMARK(BM_PopupAllOptionsToFirstPaint);

void BM_PopupEveryNewOptionToFirstPaint(benchmark::State& State) {
    RunConstructionToFirstPaint(State, true, true);
    State.SetLabel("ref=BM_Reference_ClassicPopupToFirstPaint");
}
BENCHMARK(BM_PopupEveryNewOptionToFirstPaint);

// The first paint of the month view and of the year view after zooming out.
void RunZoomedFirstPaint(benchmark::State& State, int Levels) {
    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 14)};
    qz::TQzCalendar Opener(nullptr);
    Opener.SetCalendarOptions({qz::coZoomViews});
    Opener.SetMinDate(fw::EncodeDate(2021, 5, 1));
    for (auto _ : State) {
        State.PauseTiming();
        auto Popup = std::make_unique<TfrmQzCal>(&Opener);
        Popup->Show();
        qzbench::PaintNow(*Popup);
        State.ResumeTiming();
        for (int I = 0; I < Levels; ++I) {
            fw::Word Key = fw::VK_UP;
            Popup->FormKeyDown(nullptr, Key, {fw::ssCtrl});
        }
        qzbench::PaintNow(*Popup);
        qzbench::FreeUntimed(State, Popup);
    }
}

void BM_PopupMonthViewFirstPaint(benchmark::State& State) {
    RunZoomedFirstPaint(State, 1);
    State.SetLabel("ref=BM_PopupFullRepaint");
}
BENCHMARK(BM_PopupMonthViewFirstPaint);

void BM_PopupYearViewFirstPaint(benchmark::State& State) {
    RunZoomedFirstPaint(State, 2);
    State.SetLabel("ref=BM_PopupFullRepaint");
}
BENCHMARK(BM_PopupYearViewFirstPaint);

void BM_PopupFullRepaint(benchmark::State& State) {
    ShownPopup P;
    for (auto _ : State) {
        P.Popup->Refresh();
        fw::FreeDeviceContexts();
    }
    State.SetLabel("ref=BM_Reference_CanvasFloor");
}
BENCHMARK(BM_PopupFullRepaint);

// Steps the popup forward and back in turn, so it stays near its start.
void RunAlternatingSteps(benchmark::State& State, TfrmQzCal& Popup, qz::TAdjustAmounts Forward,
                         qz::TAdjustAmounts Backward, const char* Reference) {
    bool Ahead = true;
    for (auto _ : State) {
        Popup.AdjustCalendar(Ahead ? Forward : Backward);
        fw::FreeDeviceContexts();
        Ahead = !Ahead;
    }
    State.SetLabel(Reference);
}

void BM_PopupMonthStep(benchmark::State& State) {
    ShownPopup P;
    RunAlternatingSteps(State, *P.Popup, qz::aaMonthNext, qz::aaMonthPrev, "ref=BM_Reference_CanvasFloor");
}
BENCHMARK(BM_PopupMonthStep);

void BM_PopupDayStep(benchmark::State& State) {
    ShownPopup P;
    RunAlternatingSteps(State, *P.Popup, qz::aaDayNext, qz::aaDayPrev, "ref=BM_Reference_TwoCellFloor");
}
BENCHMARK(BM_PopupDayStep);

// The same step with a date edit opener, whose text follows the selection.
void BM_PopupDayStepWithEdit(benchmark::State& State) {
    fw::TForm Form(nullptr);
    Form.SetBounds(100, 100, 200, 60);
    auto* Edit = new qz::TQzDateEdit(&Form);
    Edit->SetParent(&Form);
    Edit->SetBounds(8, 8, 121, 20);
    Form.Show();
    fw::Ui::Pump();
    ShownPopup P(Edit);
    RunAlternatingSteps(State, *P.Popup, qz::aaDayNext, qz::aaDayPrev, "ref=BM_Reference_TwoCellFloor");
    P.Popup.reset();
}
BENCHMARK(BM_PopupDayStepWithEdit);

} // namespace

BENCHMARK_MAIN();
