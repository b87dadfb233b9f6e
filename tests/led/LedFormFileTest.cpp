// The lamp in form files: its published properties in order, only changed values
// written, reading through the setters (one image load per changed property), and
// the round trip.

#include "LedFixture.h"

#include <QzComponents5/QzRegister.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/Published.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qztest {
namespace {

using qz::TQzLED;

class LedFormFiles : public ::testing::Test {
protected:
    void SetUp() override { qz::RegisterPackageClasses(); }

    static std::unique_ptr<TQzLED> Read(const std::string& Text) {
        return std::unique_ptr<TQzLED>(static_cast<TQzLED*>(fw::ReadComponentFromText(Text)));
    }
};

TEST_F(LedFormFiles, PublishesItsPropertiesInDeclarationOrder) {
    std::vector<std::string> Names;
    for (const fw::TPropInfo* Prop : TQzLED::StaticClass()->AllProps())
        Names.push_back(Prop->Name);
    const std::vector<std::string> Expected{
        "Name",       "Tag",       "Left",        "Top",         "Width",      "Height",
        "Cursor",     "Hint",      "Color",       "Enabled",     "LEDColor",   "LEDSize",
        "LEDState",   "ShowHint",  "Visible",     "Blink",       "BlinkInterval", "OnClick",     "OnDblClick", "OnDragDrop",
        "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp"};
    EXPECT_EQ(Names, Expected);
}

TEST_F(LedFormFiles, ANewLampWritesOnlyItsBoundsAndItsColour) {
    TQzLED Lamp(nullptr);
    Lamp.SetName("LED1");
    // Color differs from its declared default (clWindow) from the start, so it is written.
    EXPECT_EQ(fw::WriteComponentToText(&Lamp), "object LED1: TQzLED\n"
                                               "  Left = 0\n"
                                               "  Top = 0\n"
                                               "  Width = 11\n"
                                               "  Height = 11\n"
                                               "  Color = clBtnFace\n"
                                               "end\n");
}

TEST_F(LedFormFiles, EveryChangedPropertyRoundTrips) {
    TQzLED Lamp(nullptr);
    Lamp.SetName("LED1");
    Lamp.SetBounds(20, 30, 11, 11);
    Lamp.setEnabled(false);
    Lamp.SetLEDColor(qz::lcLBlue);
    Lamp.SetLEDSize(qz::lzLarge);
    Lamp.SetLEDState(qz::lsBright);
    Lamp.SetShowHint(true);
    Lamp.SetHint("Pump running");
    Lamp.SetVisible(false);
    const std::string Text = fw::WriteComponentToText(&Lamp);
    EXPECT_EQ(Text, "object LED1: TQzLED\n"
                    "  Left = 20\n"
                    "  Top = 30\n"
                    "  Width = 11\n"
                    "  Height = 11\n"
                    "  Hint = 'Pump running'\n"
                    "  Color = clBtnFace\n"
                    "  Enabled = False\n"
                    "  LEDColor = lcLBlue\n"
                    "  LEDSize = lzLarge\n"
                    "  LEDState = lsBright\n"
                    "  ShowHint = True\n"
                    "  Visible = False\n"
                    "end\n");
    auto Back = Read(Text);
    EXPECT_FALSE(Back->Enabled());
    EXPECT_FALSE(static_cast<fw::TControl*>(Back.get())->Enabled());
    EXPECT_EQ(Back->LEDColor(), qz::lcLBlue);
    EXPECT_EQ(Back->LEDSize(), qz::lzLarge);
    EXPECT_EQ(Back->LEDState(), qz::lsBright);
    EXPECT_TRUE(Back->ShowHint());
    EXPECT_FALSE(Back->Visible());
    EXPECT_TRUE(SamePixels(*Back->Image(), *ModuleImage("QZLEDLGY0")));
    EXPECT_EQ(fw::WriteComponentToText(Back.get()), Text);

    // Enabled again, the lamp read back shows the stored hue and state.
    Back->setEnabled(true);
    EXPECT_TRUE(SamePixels(*Back->Image(), *ModuleImage("QZLEDLLB2")));
}

TEST_F(LedFormFiles, ReadingLoadsOneImagePerChangedProperty) {
    const std::string Text = "object LED1: TQzLED\n"
                             "  Left = 8\n"
                             "  Top = 8\n"
                             "  Width = 11\n"
                             "  Height = 11\n"
                             "  Color = clBtnFace\n"
                             "  LEDColor = lcGreen\n"
                             "  LEDSize = lzSmall\n"
                             "  LEDState = lsOn\n"
                             "end\n";
    const auto Before = fw::LoadBitmapCallCount();
    auto Lamp = Read(Text);
    // The constructor's image, then one for the hue and one for the state; the
    // size is already lzSmall.
    EXPECT_EQ(fw::LoadBitmapCallCount() - Before, 3u);
    EXPECT_TRUE(SamePixels(*Lamp->Image(), *ModuleImage("QZLEDSGN1")));
}

TEST_F(LedFormFiles, AnUnknownEnumeratorIsAnError) {
    EXPECT_THROW(Read("object LED1: TQzLED\n  LEDColor = lcOrange\nend\n"), fw::EReadError);
}

} // namespace
} // namespace qztest
