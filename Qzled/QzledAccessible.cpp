// The lamp's accessible object: a status indicator that says its state and hue
// in words, never by colour alone.

#include <Qzled/Qzled.h>
#include <array>

namespace qz {

namespace {

const std::array<const char*, 9> HueWords{"amber", "blue",   "green", "light blue", "lime",
                                          "pink",  "purple", "red",   "teal"};
const std::array<const char*, 3> StateWords{"Off", "On", "Bright"};

class TQzLEDAccessible : public fw::TControlAccessible {
public:
    using TControlAccessible::TControlAccessible;

    fw::TAccRole Role() const override { return fw::TAccRole::StatusIndicator; }
    fw::String Name() const override { return ValueText(); }
    // What the lamp stands for, where the form says so.
    fw::String Description() const override { return FControl->Hint(); }
    bool HasValue() const override { return true; }
    double Value() const override { return Led()->Enabled() ? static_cast<double>(Led()->LEDState()) : 0; }
    double MaxValue() const override { return lsBright; }
    fw::String ValueText() const override {
        return LEDSpokenName(Led()->Enabled(), Led()->LEDColor(), Led()->LEDState());
    }
    // A change of the lamp is announced without taking the focus.
    std::vector<std::pair<fw::String, fw::String>> Attributes() const override {
        return {{"live", "polite"}, {"container-live", "polite"}};
    }

private:
    TQzLED* Led() const { return static_cast<TQzLED*>(FControl); }
};

} // namespace

fw::String LEDSpokenName(bool Enabled, TLEDColor Color, TLEDState State) {
    if (!Enabled) return "Off, grey";
    const char* state = State < StateWords.size() ? StateWords[State] : "Off";
    const char* hue = Color < HueWords.size() ? HueWords[Color] : "red";
    return fw::String(state) + ", " + hue;
}

std::unique_ptr<fw::TAccessible> TQzLED::CreateAccessible() {
    return std::make_unique<TQzLEDAccessible>(this);
}

} // namespace qz
