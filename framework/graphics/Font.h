#pragma once
// TFont: the face, size, style and colour of text.

#include <framework/classes/Set.h>
#include <framework/graphics/Charset.h>
#include <framework/graphics/Color.h>
#include <framework/graphics/GraphicsObject.h>

namespace fw {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
    FW_CLASS(TFont, TGraphicsObject)

public:
    // The default: "MS Sans Serif", Height -11 (8 points at 96 pixels per inch), clWindowText.
    TFont() = default;

    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Negative: the em size in pixels; positive: the cell height (ascent plus descent).
    int Height() const { return FHeight; }
    void SetHeight(int value);
    const String& Name() const { return FName; }
    void SetName(const String& value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    // Points, derived from Height and PixelsPerInch: Size = -Height * 72 / PixelsPerInch, rounded.
    int Size() const;
    void SetSize(int value);
    // Not published: the resolution that converts between Size and Height.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);

    TGdiFont* Handle() { return static_cast<TGdiFont*>(HandleObject()); }
    TLogFont LogFont() const;
    void Assign(const TPersistent* Source) override;

protected:
    std::unique_ptr<TGdiObject> CreateHandleObject() const override;
    bool Describes(const TGdiObject& handle) const override;

private:
    TFontCharset FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int FHeight = -11;
    String FName = "MS Sans Serif";
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle;
    int FPixelsPerInch = 96;
};

} // namespace fw
