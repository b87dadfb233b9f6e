#pragma once
// The drawing objects behind the platform handles: pens, brushes, fonts and bitmaps.
// Each object registers itself while it lives, so a handle can be checked before it is used
// and tests can count what is left over.

#include <cstddef>
#include <framework/graphics/Charset.h>
#include <framework/graphics/Color.h>
#include <framework/graphics/Surface.h>
#include <framework/rtl/Types.h>

namespace fw {

class TFontInstance;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

enum class TGdiKind { Pen, Brush, Font, Bitmap, DeviceContext };

class TGdiObject {
public:
    explicit TGdiObject(TGdiKind kind);
    virtual ~TGdiObject();
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    TGdiKind Kind() const { return FKind; }
    // Stock objects belong to the system: deleting them does nothing.
    bool Stock() const { return FStock; }
    void MarkStock();
    // An object its owner keeps after giving it up, to take it back when its
    // description comes round again: dead to IsLiveGdiObject and the live count
    // in between, like a freed one.
    void Retire();
    void Revive();
    bool Retired() const { return FRetired; }

private:
    TGdiKind FKind;
    bool FStock = false;
    bool FRetired = false;
};

// Whether p is a live drawing object (or device context).
bool IsLiveGdiObject(const void* p);
// How many drawing objects and device contexts are alive, stock objects excluded.
std::size_t LiveGdiObjectCount();

class TGdiPen : public TGdiObject {
public:
    TGdiPen(TPenStyle style, int width, TColor color)
        : TGdiObject(TGdiKind::Pen), Style(style), Width(width), Color(color) {}
    TPenStyle Style;
    int Width;
    TColor Color;
};

class TGdiBrush : public TGdiObject {
public:
    TGdiBrush(TBrushStyle style, TColor color) : TGdiObject(TGdiKind::Brush), Style(style), Color(color) {}
    TBrushStyle Style;
    TColor Color;
};

struct TLogFont {
    String Name = "MS Sans Serif";
    int Height = -11;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TFontCharset Charset = DEFAULT_CHARSET;
    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

class TGdiFont : public TGdiObject {
public:
    explicit TGdiFont(TLogFont log) : TGdiObject(TGdiKind::Font), Log(std::move(log)) {}
    TLogFont Log;
    // The rendered face, found on first use.
    TFontInstance& Instance();

private:
    TFontInstance* FInstance = nullptr;
};

class TGdiBitmap : public TGdiObject {
public:
    TGdiBitmap() : TGdiObject(TGdiKind::Bitmap) {}
    explicit TGdiBitmap(TSurface surface) : TGdiObject(TGdiKind::Bitmap), Surface(std::move(surface)) {}
    TSurface Surface;
};

} // namespace fw
