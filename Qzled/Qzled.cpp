// TQzLED: the lamp's properties, the choice and loading of its image, and its painting.

#include <QzComponents5/QzModule.h>
#include <Qzled/Qzled.h>
#include <framework/classes/Published.h>
#include <framework/graphics/Color.h>
#include <framework/resources/Resources.h>
#include <iterator>

namespace qz {

namespace {

// The hue codes of the image names, in the order of TLEDColor.
constexpr const char* HueCodes[] = {"AM", "BL", "GN", "LB", "LM", "PK", "PP", "RD", "TL"};
constexpr int StateCount = 3;

// Every image is this many pixels square; the control paints no more of it.
constexpr int ImageSize = 10;
// A new lamp's control size: one pixel more than the image each way.
constexpr int DefaultExtent = 11;

bool ValidColor(TLEDColor Value) {
    return static_cast<std::size_t>(Value) < std::size(HueCodes);
}

bool ValidState(TLEDState Value) {
    return static_cast<int>(Value) < StateCount;
}

} // namespace

FW_PUBLISH(TQzLED) {
    cls.Color("Color", &TQzLED::Color, &TQzLED::SetColor, fw::clWindow);
    cls.Bool("Enabled", &TQzLED::Enabled, &TQzLED::setEnabled, true);
    cls.Enum("LEDColor", &TQzLED::LEDColor, &TQzLED::SetLEDColor,
             {"lcAmber", "lcBlue", "lcGreen", "lcLBlue", "lcLime", "lcPink", "lcPurple", "lcRed", "lcTeal"},
             lcRed);
    cls.Enum("LEDSize", &TQzLED::LEDSize, &TQzLED::SetLEDSize, {"lzSmall", "lzLarge"}, lzSmall);
    cls.Enum("LEDState", &TQzLED::LEDState, &TQzLED::SetLEDState, {"lsOff", "lsOn", "lsBright"}, lsOff);
    cls.Bool("ShowHint", &TQzLED::ShowHint, &TQzLED::SetShowHint, false)
        .NoDefault()
        .StoredIf(&fw::TControl::IsShowHintStored);
    cls.Bool("Visible", &TQzLED::Visible, &TQzLED::SetVisible, true);
    cls.Event("OnClick", &TQzLED::OnClick);
    cls.Event("OnDblClick", &TQzLED::OnDblClick);
    cls.Event("OnDragDrop", &TQzLED::OnDragDrop);
    cls.Event("OnDragOver", &TQzLED::OnDragOver);
    cls.Event("OnEndDrag", &TQzLED::OnEndDrag);
    cls.Event("OnMouseDown", &TQzLED::OnMouseDown);
    cls.Event("OnMouseMove", &TQzLED::OnMouseMove);
    cls.Event("OnMouseUp", &TQzLED::OnMouseUp);
}

fw::String LEDImageName(TLEDSize Size, bool Enabled, TLEDColor Color, TLEDState State) {
    fw::String Name = "QZLED";
    Name += Size == lzLarge ? 'L' : 'S';
    if (!Enabled) return Name + "GY0";
    if (!ValidColor(Color) || !ValidState(State)) return {};
    Name += HueCodes[Color];
    Name += static_cast<char>('0' + State);
    return Name;
}

TQzLED::TQzLED(fw::TComponent* AOwner) : inherited(AOwner) {
    SetHeight(DefaultExtent);
    SetWidth(DefaultExtent);
    SetColor(fw::clBtnFace);
    FImage = std::make_unique<fw::TBitmap>();
    FEnabled = true;
    FLEDColor = lcRed;
    FLEDSize = lzSmall;
    SetLEDState(lsOff); // already lsOff: loads nothing
    SelectLoadBitmap();
}

TQzLED::~TQzLED() = default;

void TQzLED::setEnabled(bool Value) {
    // The framework's own state follows first, also when the lamp's flag
    // already has the value.
    inherited::SetEnabled(Value);
    if (Value == FEnabled) return;
    FEnabled = Value;
    SelectLoadBitmap();
    Invalidate();
}

void TQzLED::SetLEDColor(TLEDColor Value) {
    if (Value == FLEDColor || !ValidColor(Value)) return;
    FLEDColor = Value;
    SelectLoadBitmap();
    Invalidate();
}

void TQzLED::SetLEDSize(TLEDSize Value) {
    if (Value == FLEDSize || (Value != lzSmall && Value != lzLarge)) return;
    FLEDSize = Value;
    SelectLoadBitmap();
    Invalidate();
}

void TQzLED::SetLEDState(TLEDState Value) {
    if (Value == FLEDState || !ValidState(Value)) return;
    FLEDState = Value;
    SelectLoadBitmap();
    Invalidate();
}

void TQzLED::SelectLoadBitmap() {
    const fw::String Name = LEDImageName(FLEDSize, FEnabled, FLEDColor, FLEDState);
    // A missing image gives no handle: the lamp is then empty until the next
    // effective change tries again.
    FImage->SetHandle(fw::LoadBitmapA(HInstance(), Name.c_str()));
    // What the lamp says changed with what it shows.
    if (fw::AccListening()) {
        fw::AccNotify(this, fw::TAccEventKind::NameChanged);
        fw::AccNotify(this, fw::TAccEventKind::ValueChanged);
    }
}

void TQzLED::Paint() {
    fw::TCanvas* Target = Canvas();
    if (Parent()) Target->Brush()->SetColor(Parent()->Brush()->Color());
    const fw::TRect Square{0, 0, ImageSize, ImageSize};
    Target->BrushCopy(Square, FImage.get(), Square, fw::clWhite);
}

} // namespace qz
