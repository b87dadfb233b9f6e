#pragma once
// A device context: draws on a surface through an origin offset and a clip region, with a
// selected pen, brush, font and bitmap, following the classic drawing rules.

#include <framework/graphics/GdiObjects.h>
#include <framework/graphics/Surface.h>
#include <string_view>
#include <vector>

namespace fw {

class TFontInstance;

enum TBkMode { TRANSPARENT = 1, OPAQUE = 2 };

class TDeviceContext : public TGdiObject {
public:
    // A context on a surface. Logical (0, 0) is surface point origin; drawing stays inside clip
    // (surface coordinates) and inside the surface. Without a surface nothing is drawn.
    TDeviceContext(TSurface* surface = nullptr, TPoint origin = {}, const TRect* clip = nullptr);
    ~TDeviceContext() override;

    // ---- target
    TSurface* Surface() const { return FSurface; }
    TPoint Origin() const { return FOrigin; }
    void SetOrigin(TPoint origin) { FOrigin = origin; }
    // Clip region in surface coordinates; no region means the whole surface.
    void SetClipRect(const TRect& surfaceRect);
    void ResetClip();
    // Narrows the clip to a logical rectangle, or takes one out of it (a child's area).
    void IntersectClipRect(const TRect& logical);
    void ExcludeClipRect(const TRect& logical);
    // The bounding box of the clip in logical coordinates.
    TRect ClipBox() const;
    // The clip rectangles in surface coordinates, already limited to the surface.
    const std::vector<TRect>& ClipRects() const;

    // Every live context that holds object gets the stock object of its kind instead (called
    // before the object is freed, so no context keeps a dangling selection).
    static void DeselectEverywhere(const TGdiObject* object);

    // ---- selected objects (a selected bitmap becomes the target surface)
    TGdiObject* Select(TGdiObject* object);
    TGdiPen* Pen() const { return FPen; }
    TGdiBrush* Brush() const { return FBrush; }
    TGdiFont* Font() const { return FFont; }
    TGdiBitmap* Bitmap() const { return FBitmap; }
    // Whether the context was made for a bitmap (a memory context).
    bool IsMemory() const { return FMemory; }
    void SetMemory(bool memory) { FMemory = memory; }

    // ---- state
    TColor TextColor = clBlack;
    TColor BkColor = clWhite;
    TBkMode BkMode = OPAQUE;
    TPoint PenPos;

    // Saves the origin, clip, selected objects, colours, mode and pen position; Restore(level)
    // returns to a saved state (a negative level counts back from the newest) and drops the
    // states saved after it. Objects freed meanwhile come back as stock objects.
    int Save();
    bool Restore(int level);

    // ---- drawing, in logical coordinates
    void MoveTo(int x, int y) { PenPos = {x, y}; }
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void FillRect(const TRect& r, const TGdiBrush* brush);
    void FrameRect(const TRect& r, const TGdiBrush* brush);
    void FillSolid(const TRect& r, TColor color);
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Copies src (from a source surface) to dest, scaling when the sizes differ. With a
    // transparent colour, source pixels of that colour take the replacement colour instead.
    void Blit(const TRect& dest, const TSurface& source, const TRect& src,
              const TColor* transparent = nullptr, TColor replacement = 0);

    // ---- text
    TFontInstance& FontInstance();
    int TextWidth(std::string_view text);
    // Draws text with its cell's top-left corner at (x, y). In OPAQUE mode the cell gets BkColor
    // first; opaque, when given, is filled instead. clip, when given, limits the drawing.
    void TextOut(int x, int y, std::string_view text, const TRect* clip = nullptr,
                 const TRect* opaque = nullptr);
    // Text is UTF-8. Draws it with the character that starts at byte underlineIndex underlined
    // (-1: none).
    void TextOutUnderlined(int x, int y, std::string_view text, int underlineIndex, const TRect* clip);

private:
    void RebuildClip() const;
    void DrawRun(int x, int y, std::string_view text, int underlineIndex, const TRect* clip, bool fillCell);
    void PlotPen(int x, int y, int width, TPixel value);
    void FillSurface(const TRect& surfaceRect, TPixel value);
    void FillBrush(const TRect& logical, const TGdiBrush& brush);

    TSurface* FSurface = nullptr;
    TPoint FOrigin;
    bool FHasClip = false;
    std::vector<TRect> FClip; // surface coordinates, not yet limited to the surface
    mutable std::vector<TRect> FEffectiveClip;
    mutable bool FClipDirty = true;
    mutable int FClipSurfaceW = -1;
    mutable int FClipSurfaceH = -1;
    TGdiPen* FPen;
    TGdiBrush* FBrush;
    TGdiFont* FFont;
    TGdiBitmap* FBitmap = nullptr;
    bool FMemory = false;

    struct SavedState {
        TPoint Origin;
        bool HasClip;
        std::vector<TRect> Clip;
        TGdiPen* Pen;
        TGdiBrush* Brush;
        TGdiFont* Font;
        TGdiBitmap* Bitmap;
        TSurface* Surface;
        TColor TextColor;
        TColor BkColor;
        TBkMode BkMode;
        TPoint PenPos;
    };
    std::vector<SavedState> FSaved;
};

// Stock objects shared by every device context.
TGdiPen* StockBlackPen();
TGdiPen* StockNullPen();
TGdiBrush* StockWhiteBrush();
TGdiBrush* StockNullBrush();
TGdiFont* StockSystemFont();
TGdiBitmap* StockEmptyBitmap();

// Region arithmetic on rectangle lists (surface coordinates).
std::vector<TRect> SubtractRect(const std::vector<TRect>& region, const TRect& cut);

} // namespace fw
