// The date edit's drop button: the button class, its layout and enabled state,
// its visibility, and the glyph properties with the six built-in pictures.

#include <QzComponents5/QzModule.h>
#include <Qzde/QzDateControls.h>
#include <algorithm>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/resources/Resources.h>
#include <memory>

namespace qz {

namespace {

// The bitmap resource of a built-in glyph (two frames: normal, greyed); 0 for
// gtCustom and gtNone, which have none.
int GlyphResource(TGlyphTypes Type) {
    switch (Type) {
    case gtEllipsis:
        return 200;
    case gtDropArrow:
        return 201;
    case gtDropArrowSml:
        return 202;
    case gtCalendar1:
        return 203;
    case gtCalendar2:
        return 204;
    case gtCalendar3:
        return 205;
    case gtCustom:
    case gtNone:
        break;
    }
    return 0;
}

// The frame counts a custom glyph may have; the button itself would take 4.
constexpr int MinCustomGlyphNum = 1;
constexpr int MaxCustomGlyphNum = 3;
constexpr int BuiltInGlyphNum = 2;

// Space between the button and the edit's outer bottom and right edges (the
// sunken border of two pixels a side, counted from the outer size).
constexpr int ButtonInset = 4;

} // namespace

// ---------------------------------------------------------------- the button

FW_PUBLISH(TQzCalendarButton) {}

TQzCalendarButton::TQzCalendarButton(fw::TComponent* AOwner) : inherited(AOwner) {}

void TQzCalendarButton::Click() {
    // The edit's handlers may free the edit, and the button with it.
    fw::TComponentRef<TQzCalendarButton> Self(this);
    if (auto* Edit = dynamic_cast<TQzDateEdit*>(Parent())) Edit->OpenCalendar();
    if (Self) inherited::Click();
}

// ---------------------------------------------------------------- layout and state

void TQzDateEdit::WMSize(fw::TMessage& Message) {
    // The framework's own handling of the new size runs as well.
    inherited::Dispatch(Message);
    if (!FCalendarEnabled || !FButton) return;
    const int Side = std::max(0, Height() - ButtonInset);
    FButton->SetBounds(Width() - Side - ButtonInset, 0, Side, Side);
    FButton->SetTabStop(false);
    FButton->Refresh();
}

void TQzDateEdit::WMEnable(fw::TMessage& Message) {
    inherited::Dispatch(Message);
    if (FButton) FButton->SetEnabled(Enabled());
}

void TQzDateEdit::SetCalendarEnabled(bool Value) {
    if (Value == FCalendarEnabled) return;
    FCalendarEnabled = Value;
    if (FButton) FButton->SetVisible(Value);
    Invalidate();
    if (!FAllowKeyEntry && !FCalendarEnabled) SetAllowKeyEntry(true);
}

// ---------------------------------------------------------------- glyphs

void TQzDateEdit::SetGlyphType(TGlyphTypes Value) {
    // The picture of a switched-off calendar stays as it is; a value outside
    // the enumeration is ignored.
    if (!FCalendarEnabled || Value == FGlyphType || !IsGlyphType(Value)) return;
    FGlyphType = Value;
    if (!FButton) return;
    const int Resource = GlyphResource(Value);
    if (Resource == 0) {
        FButton->SetGlyph(nullptr);
        return;
    }
    auto Picture = std::make_unique<fw::TBitmap>();
    Picture->SetHandle(fw::LoadBitmapA(HInstance(), Resource));
    FButton->SetNumGlyphs(BuiltInGlyphNum);
    FButton->SetGlyph(Picture.get());
    FButton->Invalidate();
}

fw::TBitmap* TQzDateEdit::GetGlyph() const {
    return FButton ? FButton->Glyph() : nullptr;
}

void TQzDateEdit::SetGlyph(fw::TBitmap* Value) {
    if (FButton) FButton->SetGlyph(Value);
    // Directly, without SetGlyphType's clearing, so the new picture stays.
    FGlyphType = gtCustom;
}

int TQzDateEdit::GetGlyphNum() const {
    return FButton ? FButton->NumGlyphs() : 0;
}

void TQzDateEdit::SetGlyphNum(int Value) {
    if (!FButton) return;
    if (FGlyphType != gtCustom)
        FButton->SetNumGlyphs(BuiltInGlyphNum);
    else
        FButton->SetNumGlyphs(std::clamp(Value, MinCustomGlyphNum, MaxCustomGlyphNum));
}

} // namespace qz
