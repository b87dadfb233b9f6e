#include <cmath>
#include <framework/classes/Published.h>
#include <framework/graphics/Font.h>

namespace fw {

namespace {

int MulDivRound(int a, int b, int c) {
    return c ? int(std::lround(double(a) * b / c)) : 0;
}

} // namespace

FW_PUBLISH(TFont) {
    cls.Int("Charset", &TFont::Charset, &TFont::SetCharset).Idents("TFontCharset");
    cls.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText).NoDefault();
    cls.Int("Height", &TFont::Height, &TFont::SetHeight);
    cls.Str("Name", &TFont::Name, &TFont::SetName);
    cls.Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, {"fpDefault", "fpVariable", "fpFixed"}, fpDefault);
    cls.Int("Size", &TFont::Size, &TFont::SetSize).NotStored();
    cls.SetOf("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
              TFontStyles{})
        .NoDefault();
}

void TFont::SetCharset(TFontCharset value) {
    if (value == FCharset) return;
    FCharset = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TFont::SetHeight(int value) {
    if (value == FHeight) return;
    FHeight = value;
    Changed();
}

void TFont::SetName(const String& value) {
    if (value.empty() || value == FName) return;
    FName = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == FPitch) return;
    FPitch = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

int TFont::Size() const {
    return -MulDivRound(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int value) {
    SetHeight(-MulDivRound(value, FPixelsPerInch, 72));
}

void TFont::SetPixelsPerInch(int value) {
    if (value > 0) FPixelsPerInch = value;
}

TLogFont TFont::LogFont() const {
    TLogFont log;
    log.Name = FName;
    log.Height = FHeight;
    log.Bold = FStyle.Contains(fsBold);
    log.Italic = FStyle.Contains(fsItalic);
    log.Underline = FStyle.Contains(fsUnderline);
    log.StrikeOut = FStyle.Contains(fsStrikeOut);
    log.Charset = FCharset;
    return log;
}

void TFont::Assign(const TPersistent* Source) {
    if (auto* font = dynamic_cast<const TFont*>(Source)) {
        if (font == this) return;
        FCharset = font->FCharset;
        FColor = font->FColor;
        FHeight = font->FHeight;
        FName = font->FName;
        FPitch = font->FPitch;
        FStyle = font->FStyle;
        Changed();
        return;
    }
    inherited::Assign(Source);
}

std::unique_ptr<TGdiObject> TFont::CreateHandleObject() const {
    return std::make_unique<TGdiFont>(LogFont());
}

bool TFont::Describes(const TGdiObject& handle) const {
    // LogFont() field by field, without making one.
    if (handle.Kind() != TGdiKind::Font) return false;
    const TLogFont& log = static_cast<const TGdiFont&>(handle).Log;
    return log.Height == FHeight && log.Bold == FStyle.Contains(fsBold) &&
           log.Italic == FStyle.Contains(fsItalic) && log.Underline == FStyle.Contains(fsUnderline) &&
           log.StrikeOut == FStyle.Contains(fsStrikeOut) && log.Charset == FCharset && log.Name == FName;
}

} // namespace fw
