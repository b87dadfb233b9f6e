// The lamp as a model: a new lamp, the image catalogue, which changes load and
// repaint and which do not, disabling, and a missing image.

#include "LedFixture.h"

#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/graphics/GdiObjects.h>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <string>

namespace qztest {
namespace {

using qz::TLEDColor;
using qz::TLEDSize;
using qz::TLEDState;
using qz::TQzLED;

TEST_F(LedFixture, ANewLampIsASmallRedUnlitLampOfElevenPixels) {
    TQzLED Lamp(nullptr);
    EXPECT_EQ(Lamp.Width(), 11);
    EXPECT_EQ(Lamp.Height(), 11);
    EXPECT_TRUE(Lamp.Enabled());
    EXPECT_TRUE(static_cast<fw::TControl&>(Lamp).Enabled());
    EXPECT_EQ(Lamp.LEDColor(), qz::lcRed);
    EXPECT_EQ(Lamp.LEDSize(), qz::lzSmall);
    EXPECT_EQ(Lamp.LEDState(), qz::lsOff);
    EXPECT_EQ(Lamp.Color(), fw::clBtnFace);
    EXPECT_TRUE(SamePixels(*Lamp.Image(), *ModuleImage("QZLEDSRD0")));
}

TEST_F(LedFixture, ALampLoadsItsImageOnceWhenMade) {
    const auto Before = fw::LoadBitmapCallCount();
    TQzLED Lamp(nullptr);
    EXPECT_EQ(fw::LoadBitmapCallCount() - Before, 1u);
}

TEST(LedImageName, ComposesSizeHueAndStateOrTheGreyLamp) {
    EXPECT_EQ(qz::LEDImageName(qz::lzSmall, true, qz::lcRed, qz::lsOff), "QZLEDSRD0");
    EXPECT_EQ(qz::LEDImageName(qz::lzLarge, true, qz::lcLBlue, qz::lsBright), "QZLEDLLB2");
    EXPECT_EQ(qz::LEDImageName(qz::lzSmall, true, qz::lcAmber, qz::lsOn), "QZLEDSAM1");
    EXPECT_EQ(qz::LEDImageName(qz::lzLarge, true, qz::lcTeal, qz::lsOff), "QZLEDLTL0");
    EXPECT_EQ(qz::LEDImageName(qz::lzSmall, false, qz::lcPurple, qz::lsBright), "QZLEDSGY0");
    EXPECT_EQ(qz::LEDImageName(qz::lzLarge, false, qz::lcAmber, qz::lsOff), "QZLEDLGY0");
    // Outside the enumerations there is no image (and no read past the code table).
    EXPECT_EQ(qz::LEDImageName(qz::lzSmall, true, static_cast<TLEDColor>(9), qz::lsOn), "");
    EXPECT_EQ(qz::LEDImageName(qz::lzSmall, true, qz::lcRed, static_cast<TLEDState>(3)), "");
}

// Every combination of size, hue, state and enabled flag shows the image its
// name gives; the 56 images are there, 10 x 10, with exactly the lamp's shape.
TEST_F(LedFixture, TheCatalogueHasAnImageForEveryCombination) {
    TQzLED Lamp(nullptr);
    std::set<std::string> Shown;
    for (TLEDSize Size : {qz::lzSmall, qz::lzLarge})
        for (int Hue = 0; Hue < 9; ++Hue)
            for (int State = 0; State < 3; ++State)
                for (bool Enabled : {true, false}) {
                    Lamp.SetLEDSize(Size);
                    Lamp.SetLEDColor(static_cast<TLEDColor>(Hue));
                    Lamp.SetLEDState(static_cast<TLEDState>(State));
                    Lamp.setEnabled(Enabled);
                    const std::string Name =
                        std::string("QZLED") + (Size == qz::lzLarge ? "L" : "S") +
                        (Enabled ? std::string(HueCodes[Hue]) + char('0' + State) : std::string("GY0"));
                    SCOPED_TRACE(Name);
                    EXPECT_EQ(qz::LEDImageName(Size, Enabled, Lamp.LEDColor(), Lamp.LEDState()), Name);
                    const fw::TBitmap* Image = Lamp.Image();
                    ASSERT_EQ(Image->Width(), 10);
                    ASSERT_EQ(Image->Height(), 10);
                    EXPECT_TRUE(SamePixels(*Image, *ModuleImage(Name)));
                    if (!Shown.insert(Name).second) continue;
                    for (int y = 0; y < 10; ++y)
                        for (int x = 0; x < 10; ++x) {
                            const bool Hole =
                                !LampCovers(Size, x, y) || (x == 3 && y == 2 && HighlightIsClear(Name));
                            EXPECT_EQ(Image->Surface()->Pixel(x, y) == fw::clWhite, Hole)
                                << "column " << x << ", row " << y;
                        }
                }
    EXPECT_EQ(Shown.size(), 56u);
}

// A setter given the current value neither loads nor repaints; an effective
// change loads exactly one image and invalidates once.
TEST_F(LedFixture, OnlyEffectiveChangesLoadAndRepaint) {
    struct Row {
        const char* What;
        std::function<void()> SameValue;
        std::function<void()> NewValue;
    };
    const Row Rows[] = {
        {"LEDColor", [&] { led->SetLEDColor(led->LEDColor()); }, [&] { led->SetLEDColor(qz::lcGreen); }},
        {"LEDSize", [&] { led->SetLEDSize(led->LEDSize()); }, [&] { led->SetLEDSize(qz::lzLarge); }},
        {"LEDState", [&] { led->SetLEDState(led->LEDState()); }, [&] { led->SetLEDState(qz::lsBright); }},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        auto Loads = fw::LoadBitmapCallCount();
        int Invalidates = led->InvalidateCount();
        R.SameValue();
        EXPECT_EQ(fw::LoadBitmapCallCount(), Loads);
        EXPECT_EQ(led->InvalidateCount(), Invalidates);
        R.NewValue();
        EXPECT_EQ(fw::LoadBitmapCallCount(), Loads + 1);
        EXPECT_EQ(led->InvalidateCount(), Invalidates + 1);
        Loads = fw::LoadBitmapCallCount();
        Invalidates = led->InvalidateCount();
        R.NewValue(); // now the current value
        EXPECT_EQ(fw::LoadBitmapCallCount(), Loads);
        EXPECT_EQ(led->InvalidateCount(), Invalidates);
    }
    // Enabled likewise, both ways.
    for (bool Value : {true, false, false, true, true}) {
        const bool Effective = Value != led->Enabled();
        const auto Loads = fw::LoadBitmapCallCount();
        const int Invalidates = led->InvalidateCount();
        led->setEnabled(Value);
        EXPECT_EQ(fw::LoadBitmapCallCount() - Loads, Effective ? 1u : 0u);
        EXPECT_EQ(led->InvalidateCount() > Invalidates, Effective);
    }
    // An idle assignment leaves nothing to paint.
    fw::Ui::Pump();
    const int Paints = form->PaintCount();
    led->SetLEDState(led->LEDState());
    fw::Ui::Pump();
    EXPECT_EQ(form->PaintCount(), Paints);
}

TEST_F(LedFixture, ChangesPaintOnTheNextLoopPassNotInsideTheSetter) {
    const int Paints = form->PaintCount();
    led->SetLEDState(qz::lsOn);
    led->SetLEDColor(qz::lcBlue);
    EXPECT_EQ(form->PaintCount(), Paints);
    fw::Ui::Pump();
    EXPECT_EQ(form->PaintCount(), Paints + 1);
    const fw::TSurface Shot = Picture();
    EXPECT_NE(LampPixel(Shot, 5, 5), LampPixel(Shot, 0, 0)) << "the blue lamp shows";
}

TEST_F(LedFixture, SizeChangesTheImageButNotTheBounds) {
    led->SetBounds(4, 6, 17, 13);
    led->SetLEDSize(qz::lzLarge);
    EXPECT_EQ(led->BoundsRect(), fw::Rect(4, 6, 21, 19));
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDLRD0")));
    led->SetLEDSize(qz::lzSmall);
    EXPECT_EQ(led->BoundsRect(), fw::Rect(4, 6, 21, 19));
}

TEST_F(LedFixture, ValuesOutsideTheEnumerationsAreIgnored) {
    led->SetLEDColor(qz::lcPink);
    led->SetLEDState(qz::lsOn);
    const auto Loads = fw::LoadBitmapCallCount();
    const int Invalidates = led->InvalidateCount();
    led->SetLEDColor(static_cast<TLEDColor>(9));
    led->SetLEDColor(static_cast<TLEDColor>(255));
    led->SetLEDSize(static_cast<TLEDSize>(2));
    led->SetLEDState(static_cast<TLEDState>(3));
    EXPECT_EQ(led->LEDColor(), qz::lcPink);
    EXPECT_EQ(led->LEDSize(), qz::lzSmall);
    EXPECT_EQ(led->LEDState(), qz::lsOn);
    EXPECT_EQ(fw::LoadBitmapCallCount(), Loads);
    EXPECT_EQ(led->InvalidateCount(), Invalidates);
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSPK1")));
}

// A double click is one click (press and release), then the double click; its
// release clicks no more. The same for a lamp, a label and an edit.
TEST_F(LedFixture, ADoubleClickClicksOnceThenDoubleClicks) {
    auto* Label = new fw::TLabel(form.get());
    Label->SetParent(form.get());
    Label->SetBounds(20, 0, 20, 14);
    auto* Edit = new fw::TEdit(form.get());
    Edit->SetParent(form.get());
    Edit->SetBounds(0, 18, 40, 12);
    std::string Log;
    const auto Record = [&Log](std::string What) { return [&Log, What](fw::TObject*) { Log += What; }; };
    led->OnClick = Record("c");
    led->OnDblClick = Record("D");
    Label->OnClick = Record("c");
    Label->OnDblClick = Record("D");
    Edit->OnClick = Record("c");
    Edit->OnDblClick = Record("D");
    for (fw::TControl* Control : std::initializer_list<fw::TControl*>{led, Label, Edit}) {
        Log.clear();
        fw::Ui::DoubleClick(Control, 3, 3);
        EXPECT_EQ(Log, "cD") << Control->ClassName();
        // A third quick press starts over: a single click again.
        fw::Ui::Click(Control, 3, 3);
        EXPECT_EQ(Log, "cDc") << Control->ClassName();
        fw::Ui::Wait(1000);
    }
}

TEST_F(LedFixture, ADisabledLampShowsGreyAndComesBackAsItWas) {
    led->SetLEDColor(qz::lcTeal);
    led->SetLEDState(qz::lsBright);
    const fw::TSurface Lit = Picture();

    led->setEnabled(false);
    EXPECT_FALSE(led->Enabled());
    EXPECT_FALSE(static_cast<fw::TControl*>(led)->Enabled()) << "the framework's own state follows";
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSGY0")));
    const fw::TSurface Grey = Picture();
    EXPECT_NE(Grey, Lit);

    // Hue and state still change while disabled: the grey image is loaded again
    // and repainted, and looks the same.
    auto Loads = fw::LoadBitmapCallCount();
    int Invalidates = led->InvalidateCount();
    led->SetLEDColor(qz::lcAmber);
    led->SetLEDState(qz::lsOn);
    EXPECT_EQ(fw::LoadBitmapCallCount() - Loads, 2u);
    EXPECT_EQ(led->InvalidateCount() - Invalidates, 2);
    EXPECT_EQ(Picture(), Grey);
    led->SetLEDSize(qz::lzLarge);
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDLGY0")));

    led->setEnabled(true);
    EXPECT_TRUE(led->Enabled());
    EXPECT_TRUE(static_cast<fw::TControl*>(led)->Enabled());
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDLAM1")));
}

TEST_F(LedFixture, EnablingThroughTheFrameworkReachesTheLamp) {
    fw::TControl* Control = led;
    Control->SetEnabled(false);
    EXPECT_FALSE(led->Enabled());
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSGY0")));
    Control->SetEnabled(true);
    EXPECT_TRUE(led->Enabled());
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSRD0")));
}

TEST_F(LedFixture, ChangingImagesLeaksNoBitmaps) {
    led->SetLEDState(qz::lsOn);
    const std::size_t Live = fw::LiveGdiObjectCount();
    for (int I = 0; I < 50; ++I) {
        led->SetLEDState(I % 2 ? qz::lsOn : qz::lsBright);
        led->setEnabled(I % 3 != 0);
    }
    led->setEnabled(true);
    led->SetLEDState(qz::lsOn);
    EXPECT_EQ(fw::LiveGdiObjectCount(), Live);
}

// Replaces one image of the package module by unreadable bytes for the scope,
// which loads like a missing image.
class TMissingImage {
public:
    explicit TMissingImage(const std::string& Name) : FName(Name) {
        const fw::TResourceBytes* Bytes = qz::HInstance()->FindBitmap(Name);
        if (Bytes) FSaved = *Bytes;
        qz::HInstance()->AddBitmap(Name, {});
    }
    ~TMissingImage() { qz::HInstance()->AddBitmap(FName, FSaved); }
    TMissingImage(const TMissingImage&) = delete;
    TMissingImage& operator=(const TMissingImage&) = delete;

private:
    std::string FName;
    fw::TResourceBytes FSaved;
};

TEST_F(LedFixture, AMissingImageLeavesTheLampEmptyWithoutRaising) {
    const fw::TSurface Background = [&] {
        led->Hide();
        fw::TSurface Shot = Picture();
        led->Show();
        return Shot;
    }();
    {
        TMissingImage Missing("QZLEDSTL2");
        led->SetLEDColor(qz::lcTeal);
        EXPECT_NO_THROW(led->SetLEDState(qz::lsBright));
        EXPECT_TRUE(led->Image()->Empty());
        EXPECT_EQ(led->LEDState(), qz::lsBright);
        // Nothing is painted: the parent's background shows where the lamp is.
        EXPECT_EQ(Picture(), Background);
        // The lamp stays usable: other images still load.
        led->SetLEDState(qz::lsOn);
        EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSTL1")));
        led->SetLEDState(qz::lsBright);
        EXPECT_TRUE(led->Image()->Empty());
    }
    // The next effective change tries again and finds the image.
    led->SetLEDState(qz::lsOff);
    led->SetLEDState(qz::lsBright);
    EXPECT_TRUE(SamePixels(*led->Image(), *ModuleImage("QZLEDSTL2")));
    EXPECT_FALSE(led->Image()->Empty());
}

} // namespace
} // namespace qztest
