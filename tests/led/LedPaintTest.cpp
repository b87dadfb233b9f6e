// What the lamp paints: the image at the top-left corner, white showing the
// parent's colour, nothing else; and golden screenshots of all 56 lamps.

#include "LedFixture.h"

#include <gtest/gtest.h>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

using qz::TQzLED;

TEST_F(LedFixture, WhitePixelsShowTheParentsColourAndTheRestIsCopied) {
    led->SetLEDSize(qz::lzLarge);
    led->SetLEDColor(qz::lcAmber);
    led->SetLEDState(qz::lsOn); // QZLEDLAM1: its highlight pixel is white too
    for (fw::TColor Back : {fw::clBtnFace, fw::clFuchsia, fw::clWhite}) {
        form->SetColor(Back);
        const fw::TSurface Shot = Picture();
        const fw::TColor Parent = fw::ColorToRGB(Back);
        const fw::TSurface& Image = *led->Image()->Surface();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const fw::TColor Source = Image.Pixel(x, y);
                EXPECT_EQ(LampPixel(Shot, x, y), Source == fw::clWhite ? Parent : Source)
                    << "column " << x << ", row " << y;
            }
        EXPECT_EQ(LampPixel(Shot, 0, 0), Parent);
        EXPECT_EQ(LampPixel(Shot, 3, 2), Parent) << "the highlight lets the background through";
        // The eleventh column and row are the form's own painting.
        EXPECT_EQ(LampPixel(Shot, 10, 5), Parent);
        EXPECT_EQ(LampPixel(Shot, 5, 10), Parent);
    }
}

TEST_F(LedFixture, TheLampsOwnColorChangesNothingOnScreen) {
    led->SetLEDColor(qz::lcGreen);
    led->SetLEDState(qz::lsBright);
    const fw::TSurface Before = Picture();
    for (fw::TColor Own : {fw::clRed, fw::clWhite, fw::clBlack, fw::clWindow}) {
        led->SetColor(Own);
        EXPECT_EQ(led->Color(), Own);
        EXPECT_EQ(Picture(), Before);
    }
}

TEST_F(LedFixture, ALargerControlIsNeitherFilledNorStretched) {
    form->SetColor(fw::clFuchsia);
    led->SetLEDSize(qz::lzLarge);
    led->SetBounds(4, 6, 24, 20);
    const fw::TSurface Shot = Picture();
    const fw::TColor Parent = fw::ColorToRGB(fw::clFuchsia);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 24; ++x)
            if (x >= 10 || y >= 10) {
                ASSERT_EQ(LampPixel(Shot, x, y), Parent) << "column " << x << ", row " << y;
            }
    EXPECT_EQ(LampPixel(Shot, 5, 5), led->Image()->Surface()->Pixel(5, 5));
}

// All 56 lamps on one form: for each hue a row with the small lamp off, on and
// bright, then the large one; the bottom row holds the two grey disabled lamps.
class LedCatalogueScreenshots : public fw::test::UiFixture {
protected:
    static constexpr int Pitch = 14;
    static constexpr int Margin = 6;
    static constexpr int SizeGap = 8;

    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<fw::TForm>(nullptr);
        form->SetBorderStyle(fw::bsNone);
        form->SetBounds(0, 0, 2 * Margin + 6 * Pitch + SizeGap, 2 * Margin + 10 * Pitch + 4);
        for (int Size = 0; Size < 2; ++Size) {
            const int Left = Margin + Size * (3 * Pitch + SizeGap);
            for (int Hue = 0; Hue < 9; ++Hue)
                for (int State = 0; State < 3; ++State)
                    Add(Left + State * Pitch, Margin + Hue * Pitch, Size, Hue, State, true);
            Add(Left, Margin + 9 * Pitch + 4, Size, 0, 0, false);
        }
        form->Show();
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    void Add(int X, int Y, int Size, int Hue, int State, bool Enabled) {
        auto* Lamp = new TQzLED(form.get());
        Lamp->SetParent(form.get());
        Lamp->SetLeft(X);
        Lamp->SetTop(Y);
        Lamp->SetLEDSize(static_cast<qz::TLEDSize>(Size));
        Lamp->SetLEDColor(static_cast<qz::TLEDColor>(Hue));
        Lamp->SetLEDState(static_cast<qz::TLEDState>(State));
        Lamp->setEnabled(Enabled);
        ++Count;
    }

    std::unique_ptr<fw::TForm> form;
    int Count = 0;
};

TEST_F(LedCatalogueScreenshots, OnTheButtonFaceGrey) {
    ASSERT_EQ(Count, 56);
    form->SetColor(fw::clBtnFace);
    EXPECT_GOLDEN(fw::Ui::FormImage(form.get()), "led", "catalogue-grey");
}

TEST_F(LedCatalogueScreenshots, OnAnotherColour) {
    form->SetColor(fw::clFuchsia);
    const fw::TSurface Shot = fw::Ui::FormImage(form.get());
    EXPECT_GOLDEN(Shot, "led", "catalogue-fuchsia");
    // No white is left anywhere: every white pixel of the images took the form's colour.
    for (fw::TPixel Pixel : Shot.Pixels())
        ASSERT_NE(Pixel, fw::clWhite);
}

} // namespace
} // namespace qztest
