// Painting a popup-sized frame through the canvas and DrawTextA, against the floor of a plain
// fill-and-blit loop (bench/support/CanvasFloor.h); and measuring a short text.

#include "support/CanvasFloor.h"

#include <benchmark/benchmark.h>
#include <framework/graphics/Canvas.h>
#include <framework/platform/Text.h>

namespace {

using namespace fw;

void BM_Reference_CanvasFloor(benchmark::State& state) {
    qzbench::FloorCache cache = qzbench::MakeFloorCache();
    TSurface surface(qzbench::FloorWidth, qzbench::FloorHeight);
    for (auto _ : state) {
        qzbench::DrawFloorFrame(cache, surface);
        benchmark::DoNotOptimize(surface.Pixels().data());
    }
}
BENCHMARK(BM_Reference_CanvasFloor);

void BM_CanvasPopupFrame(benchmark::State& state) {
    TSurface surface(qzbench::FloorWidth, qzbench::FloorHeight);
    HDC dc = CreateSurfaceDC(&surface, {}, surface.Bounds());
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Font()->SetName("MS Sans Serif");
    canvas.Font()->SetHeight(-8);
    canvas.Font()->SetColor(clBtnText);
    canvas.Brush()->SetColor(clBtnFace);
    const std::string title = qzbench::FloorTitle;
    std::string numbers[42];
    for (int i = 0; i < 42; ++i)
        numbers[i] = std::to_string(10 + i % 19) + " ";
    const int h = qzbench::FloorCellHeight;
    const int w = qzbench::FloorCellWidth;
    for (auto _ : state) {
        canvas.FillRect(surface.Bounds());
        canvas.Font()->SetStyle({fsBold});
        TRect titleRect{36, 4, qzbench::FloorWidth - 35, 4 + h};
        DrawTextA(canvas.Handle(), title.c_str(), -1, &titleRect, DT_SINGLELINE | DT_CENTER);
        canvas.Font()->SetStyle({});
        HDC handle = canvas.Handle();
        for (int i = 0; i < 42; ++i) {
            TRect cell{4 + (i % 7) * w, 2 * h + 3 + (i / 7) * h, 0, 0};
            cell.Right = cell.Left + w;
            cell.Bottom = cell.Top + h;
            DrawTextA(handle, numbers[i].c_str(), -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
        benchmark::DoNotOptimize(surface.Pixels().data());
    }
    state.SetLabel("ref=BM_Reference_CanvasFloor");
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
}
BENCHMARK(BM_CanvasPopupFrame);

void BM_Reference_TextWidthLoop(benchmark::State& state) {
    qzbench::FloorCache cache = qzbench::MakeFloorCache();
    const std::string text = "28 ";
    for (auto _ : state) {
        int width = 0;
        for (char c : text)
            width += cache.Regular[std::size_t(static_cast<unsigned char>(c))].Advance;
        benchmark::DoNotOptimize(width);
    }
}
BENCHMARK(BM_Reference_TextWidthLoop);

void BM_CanvasTextWidth(benchmark::State& state) {
    TCanvas canvas;
    canvas.Font()->SetHeight(-8);
    const std::string text = "28 ";
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.TextWidth(text));
    state.SetLabel("ref=BM_Reference_TextWidthLoop");
}
BENCHMARK(BM_CanvasTextWidth);

} // namespace

BENCHMARK_MAIN();
