#pragma once
// The LED lamp TQzLED: a windowless status lamp that shows one 10 x 10 bitmap of
// the package's catalogue, chosen by hue (LEDColor), size (LEDSize) and state
// (LEDState), or a grey unlit lamp while the control is disabled. Pure white
// pixels of the image show the parent's background colour. The lamp takes no
// input of its own; it publishes the framework's mouse and drag events.
//
// Index: the three enumerations; LEDImageName (the catalogue's naming rule);
// TQzLED.

#include <cstdint>
#include <framework/controls/GraphicControl.h>
#include <framework/controls/Timer.h>
#include <framework/graphics/Bitmap.h>
#include <memory>

namespace qz {

// The hue of the lamp; each has a two-letter code in the image names.
enum TLEDColor : std::uint8_t { lcAmber, lcBlue, lcGreen, lcLBlue, lcLime, lcPink, lcPurple, lcRed, lcTeal };
// Small: a lamp about 8 pixels across; large: one that fills the 10 x 10 image.
enum TLEDSize : std::uint8_t { lzSmall, lzLarge };
// Dark, medium or bright with a highlight.
enum TLEDState : std::uint8_t { lsOff, lsOn, lsBright };
// Whether the lamp blinks between its state and dark, and how fast.
enum TLEDBlink : std::uint8_t { lbOff, lbSlow, lbFast };

// The name of the bitmap resource for a lamp: "QZLED", then "S" or "L" for the
// size, then the hue's code and the state's digit ("QZLEDLLB2"), or "GY0" when
// the lamp is disabled (hue and state then play no part). A hue or state outside
// its enumeration gives an empty name, which names no image.
fw::String LEDImageName(TLEDSize Size, bool Enabled, TLEDColor Color, TLEDState State);
// What the lamp shows in words, its accessible name: the state, then the hue
// ("On, green", "Bright, light blue"); a disabled lamp is "Off, grey".
fw::String LEDSpokenName(bool Enabled, TLEDColor Color, TLEDState State);

class TQzLED : public fw::TGraphicControl {
    FW_CLASS(TQzLED, fw::TGraphicControl)

public:
    // An enabled, small, red, unlit lamp of 11 x 11 pixels showing "QZLEDSRD0".
    explicit TQzLED(fw::TComponent* AOwner);
    ~TQzLED() override;

    // ---- published
    // Enabled (default true): false shows the grey lamp of the current size.
    // Reads the lamp's own flag, which setEnabled keeps equal to the framework's
    // enabled state of the control.
    bool Enabled() const { return FEnabled; }
    // Passes Value to the framework's SetEnabled first; then, when it differs
    // from the flag, stores it, loads the image and invalidates.
    void setEnabled(bool Value);
    void SetEnabled(bool Value) override { setEnabled(Value); }

    // LEDColor (default lcRed), LEDSize (default lzSmall), LEDState (default
    // lsOff). A setter given the current value does nothing (no load, no
    // repaint); a value outside the enumeration is ignored. Otherwise it stores
    // the value, loads the image afresh and invalidates. LEDSize changes only
    // the image, never Width or Height.
    TLEDColor LEDColor() const { return FLEDColor; }
    void SetLEDColor(TLEDColor Value);
    TLEDSize LEDSize() const { return FLEDSize; }
    void SetLEDSize(TLEDSize Value);
    TLEDState LEDState() const { return FLEDState; }
    void SetLEDState(TLEDState Value);

    // Blink (default lbOff): lbSlow and lbFast alternate the image between
    // LEDState and the dark (lsOff) lamp of the same hue and size, one phase
    // every BlinkInterval milliseconds (0, the default: 500 for lbSlow, 200 for
    // lbFast). The timer runs only while it changes something: the lamp
    // enabled and Visible, LEDState not lsOff, not loading, not in a designer.
    // Whenever it stops the lamp shows its lit phase again. With lbOff there
    // is no timer at all.
    TLEDBlink Blink() const { return FBlink; }
    void SetBlink(TLEDBlink Value);
    fw::Cardinal BlinkInterval() const { return FBlinkInterval; }
    void SetBlinkInterval(fw::Cardinal Value);
    // The phase length in use: BlinkInterval, or the rate's own for 0.
    fw::Cardinal EffectiveBlinkInterval() const;
    // Whether the blink timer is running, and whether the dark phase shows.
    bool Blinking() const { return FTimer != nullptr; }
    bool BlinkDark() const { return FBlinkDark; }

    // Color is published too (default clWindow; the constructor sets
    // clBtnFace), but painting never reads it.

    // The image shown now; empty when the module holds no image of the name.
    const fw::TBitmap* Image() const { return FImage.get(); }

protected:
    // Composes the image name from the current fields and loads that image from
    // the package's own module, replacing the one held. Nothing is cached.
    void SelectLoadBitmap();
    // Copies the 10 x 10 image to (0, 0) with white taking the parent's brush
    // colour; nothing else is drawn (an empty image draws nothing at all).
    void Paint() override;
    void CMVisibleChanged(fw::TMessage& Message) override;
    void Loaded() override;
    // A status indicator named by what it shows (LEDSpokenName).
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;

private:
    bool FEnabled = true;
    TLEDColor FLEDColor = lcRed;
    TLEDSize FLEDSize = lzSmall;
    TLEDState FLEDState = lsOff;
    std::unique_ptr<fw::TBitmap> FImage;
    TLEDBlink FBlink = lbOff;
    fw::Cardinal FBlinkInterval = 0;
    bool FBlinkDark = false;
    std::unique_ptr<fw::TTimer> FTimer;

    // Starts, restarts or stops the timer after any change that bears on it.
    void UpdateBlink();
    void BlinkTick();
};

} // namespace qz
