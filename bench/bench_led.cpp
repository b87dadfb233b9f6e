// Switching lamps: one lamp's state change with its repaint (which loads the new
// image from the package module), and a strip of 100 lamps switched and repainted
// in one frame, against a plain 10 x 10 colour-key copy measured in the same run.

#include <QzComponents5/QzModule.h>
#include <Qzled/Qzled.h>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <framework/forms/Form.h>
#include <memory>
#include <vector>

namespace {

constexpr int Side = 10;
constexpr int StripLength = 100;

// The reference: a 10 x 10 image copied into a larger surface pixel by pixel,
// white taking a fill colour.
void BM_Reference_ColorKeyCopy10x10(benchmark::State& State) {
    std::vector<std::uint32_t> Source(Side * Side);
    for (int I = 0; I < Side * Side; ++I)
        Source[I] = (I % 7 == 0) ? 0xFFFFFFu : 0x2030A0u + static_cast<std::uint32_t>(I);
    const int Stride = 64;
    std::vector<std::uint32_t> Target(Stride * 32);
    std::uint32_t Fill = 0xC0C0C0u;
    for (auto _ : State) {
        std::uint32_t* Row = Target.data() + 5 * Stride + 7;
        const std::uint32_t* From = Source.data();
        for (int Y = 0; Y < Side; ++Y, Row += Stride, From += Side)
            for (int X = 0; X < Side; ++X)
                Row[X] = From[X] == 0xFFFFFFu ? Fill : From[X];
        benchmark::DoNotOptimize(Target.data());
        benchmark::ClobberMemory();
        Fill ^= 1; // keep the compiler from hoisting the copy out of the loop
    }
}
BENCHMARK(BM_Reference_ColorKeyCopy10x10);

// The part of a state change that loads the new image: one LoadBitmapA of a lamp
// from the package module (decoding its BMP) and the handle freed again.
void BM_LedImageLoad(benchmark::State& State) {
    const fw::HINSTANCE Module = qz::HInstance();
    for (auto _ : State) {
        fw::HBITMAP Image = fw::LoadBitmapA(Module, "QZLEDSRD1");
        benchmark::DoNotOptimize(Image);
        fw::DeleteObject(Image);
    }
    State.SetLabel("ref=BM_Reference_ColorKeyCopy10x10");
}
BENCHMARK(BM_LedImageLoad);

// A shown borderless grey form holding Count lamps in rows of up to 20.
struct LampForm {
    explicit LampForm(int Count) {
        Form = std::make_unique<fw::TForm>(nullptr);
        Form->SetBorderStyle(fw::bsNone);
        Form->SetBounds(0, 0, 8 + 20 * 14, 8 + ((Count + 19) / 20) * 14);
        Form->SetColor(fw::clBtnFace);
        for (int I = 0; I < Count; ++I) {
            auto* Lamp = new qz::TQzLED(Form.get());
            Lamp->SetParent(Form.get());
            Lamp->SetLeft(4 + (I % 20) * 14);
            Lamp->SetTop(4 + (I / 20) * 14);
            Lamp->SetLEDColor(static_cast<qz::TLEDColor>(I % 9));
            Lamps.push_back(Lamp);
        }
        Form->Show();
        Form->Update();
    }
    std::unique_ptr<fw::TForm> Form;
    std::vector<qz::TQzLED*> Lamps;
};

// Each measured iteration must have painted the form once, or the numbers mean nothing.
void CheckOnePaintPerIteration(benchmark::State& State, int Paints) {
    if (Paints != static_cast<int>(State.iterations()))
        State.SkipWithError("the form was not painted once per iteration");
}

// One lamp switched between off and on, then the form painted at once.
void BM_LedToggleAndRepaint(benchmark::State& State) {
    LampForm Setup(1);
    qz::TQzLED* Lamp = Setup.Lamps.front();
    bool On = false;
    const int Paints = Setup.Form->PaintCount();
    for (auto _ : State) {
        On = !On;
        Lamp->SetLEDState(On ? qz::lsOn : qz::lsOff);
        Setup.Form->Update();
    }
    CheckOnePaintPerIteration(State, Setup.Form->PaintCount() - Paints);
    State.SetLabel("ref=BM_Reference_ColorKeyCopy10x10");
}
BENCHMARK(BM_LedToggleAndRepaint);

// One frame: all 100 lamps of a strip switched, then one paint of the form.
void BM_LedStrip100ToggleFrame(benchmark::State& State) {
    LampForm Setup(StripLength);
    bool On = false;
    const int Paints = Setup.Form->PaintCount();
    for (auto _ : State) {
        On = !On;
        for (qz::TQzLED* Lamp : Setup.Lamps)
            Lamp->SetLEDState(On ? qz::lsOn : qz::lsOff);
        Setup.Form->Update();
    }
    CheckOnePaintPerIteration(State, Setup.Form->PaintCount() - Paints);
    State.SetLabel("ref=BM_Reference_ColorKeyCopy10x10");
}
BENCHMARK(BM_LedStrip100ToggleFrame)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
