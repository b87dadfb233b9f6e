// The blinking lamp under the framework's timer on the headless clock: the two
// rates and BlinkInterval, what stops the timer (disabled, hidden, dark state),
// the lit phase shown whenever it stops, and Blink in form files.

#include "LedFixture.h"

#include <QzComponents5/QzRegister.h>
#include <framework/classes/FormFile.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qztest {
namespace {

using qz::TQzLED;

// The images shown after each of Steps waits of Step milliseconds.
std::vector<bool> DarkPhases(TQzLED* Lamp, fw::Cardinal Step, int Steps) {
    std::vector<bool> Dark;
    for (int i = 0; i < Steps; ++i) {
        fw::Ui::Wait(Step);
        Dark.push_back(SamePixels(*Lamp->Image(), *ModuleImage("QZLEDSRD0")));
    }
    return Dark;
}

TEST_F(LedFixture, BlinkOffRunsNoTimerAndTheImageNeverChanges) {
    led->SetLEDState(qz::lsOn);
    EXPECT_FALSE(led->Blinking());
    const auto Loads = fw::LoadBitmapCallCount();
    fw::Ui::Wait(5000);
    EXPECT_EQ(fw::LoadBitmapCallCount(), Loads);
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSRD1")));
}

// Each row: rate, BlinkInterval, the phase length that results.
TEST_F(LedFixture, EachRateAlternatesLitAndDarkOnePhaseAtATime) {
    struct Row {
        qz::TLEDBlink Blink;
        fw::Cardinal Interval, Phase;
    };
    for (const Row& R : {Row{qz::lbSlow, 0, 500}, Row{qz::lbFast, 0, 200}, Row{qz::lbSlow, 50, 50},
                         Row{qz::lbFast, 1200, 1200}}) {
        SCOPED_TRACE(R.Phase);
        led->SetLEDState(qz::lsBright);
        led->SetBlinkInterval(R.Interval);
        led->SetBlink(R.Blink);
        ASSERT_TRUE(led->Blinking());
        EXPECT_EQ(led->EffectiveBlinkInterval(), R.Phase);
        // Just before the first phase ends the lamp is still lit.
        fw::Ui::Wait(R.Phase - 1);
        EXPECT_FALSE(led->BlinkDark());
        EXPECT_EQ(DarkPhases(led, 1, 1), std::vector<bool>{true});
        EXPECT_EQ(DarkPhases(led, R.Phase, 3), (std::vector<bool>{false, true, false}));
        // The screen follows: the lamp's centre is dark, then bright.
        EXPECT_EQ(LampPixel(Picture(), 5, 5), ModuleImage("QZLEDSRD2")->Surface()->Pixel(5, 5));
        led->SetBlink(qz::lbOff);
        EXPECT_FALSE(led->Blinking());
    }
}

TEST_F(LedFixture, DisablingHidingOrADarkStateStopTheTimerAndShowTheLitPhase) {
    struct Row {
        const char* What;
        std::function<void()> Stop, Resume;
        const char* Stopped;
    };
    const std::vector<Row> Rows{
        {"disabled", [&] { led->setEnabled(false); }, [&] { led->setEnabled(true); }, "QZLEDSGY0"},
        {"hidden", [&] { led->Hide(); }, [&] { led->Show(); }, "QZLEDSRD1"},
        {"dark state", [&] { led->SetLEDState(qz::lsOff); }, [&] { led->SetLEDState(qz::lsOn); }, "QZLEDSRD0"},
    };
    led->SetLEDState(qz::lsOn);
    led->SetBlink(qz::lbFast);
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        fw::Ui::Wait(200);
        ASSERT_TRUE(led->BlinkDark()); // stopped in the dark phase
        R.Stop();
        EXPECT_FALSE(led->Blinking());
        EXPECT_FALSE(led->BlinkDark());
        EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage(R.Stopped)));
        const auto Loads = fw::LoadBitmapCallCount();
        fw::Ui::Wait(1000);
        EXPECT_EQ(fw::LoadBitmapCallCount(), Loads);
        R.Resume();
        EXPECT_TRUE(led->Blinking());
        EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSRD1")));
    }
}

TEST_F(LedFixture, AFreedBlinkingLampLeavesNoTimerBehind) {
    auto* Lamp = new TQzLED(form.get());
    Lamp->SetParent(form.get());
    Lamp->SetLEDState(qz::lsOn);
    Lamp->SetBlink(qz::lbFast);
    delete Lamp;
    fw::Ui::Wait(1000); // a tick into the freed lamp would be caught by the sanitizers
    SUCCEED();
}

TEST(LedBlinkFormFiles, BlinkIsWrittenOnlyWhenSetAndStartsAfterLoading) {
    qz::RegisterPackageClasses();
    fw::Application->Reset();
    TQzLED Lamp(nullptr);
    Lamp.SetName("LED1");
    const std::string Classic = fw::WriteComponentToText(&Lamp);
    EXPECT_EQ(Classic.find("Blink"), std::string::npos);
    Lamp.SetLEDState(qz::lsOn);
    Lamp.SetBlink(qz::lbSlow);
    Lamp.SetBlinkInterval(300);
    const std::string Text = fw::WriteComponentToText(&Lamp);
    EXPECT_NE(Text.find("  Blink = lbSlow\n  BlinkInterval = 300\n"), std::string::npos) << Text;
    std::unique_ptr<TQzLED> Read(static_cast<TQzLED*>(fw::ReadComponentFromText(Text)));
    EXPECT_EQ(Read->Blink(), qz::lbSlow);
    EXPECT_EQ(Read->BlinkInterval(), 300u);
    EXPECT_TRUE(Read->Blinking());
    fw::Ui::Wait(300);
    EXPECT_TRUE(Read->BlinkDark());
    fw::Application->Reset();
}

} // namespace
} // namespace qztest
