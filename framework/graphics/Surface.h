#pragma once
// A 32-bit pixel surface: the memory that device contexts draw on and bitmaps hold.

#include <framework/graphics/Color.h>
#include <framework/rtl/Types.h>
#include <vector>

namespace fw {

class TSurface {
public:
    // The largest side and area a surface may have; larger requests raise EInvalidGraphic.
    static constexpr int MaxSide = 32768;
    static constexpr long long MaxArea = 64LL * 1024 * 1024;

    TSurface() = default;
    TSurface(int width, int height, TPixel fill = 0);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    TRect Bounds() const { return {0, 0, FWidth, FHeight}; }

    // Pixel access; out-of-range reads give 0 and out-of-range writes are ignored.
    TPixel Pixel(int x, int y) const;
    void SetPixel(int x, int y, TPixel value);
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

    TPixel* Row(int y) { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
    const TPixel* Row(int y) const { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
    std::vector<TPixel>& Pixels() { return FPixels; }
    const std::vector<TPixel>& Pixels() const { return FPixels; }

    // Fills the part of r that lies on the surface.
    void Fill(const TRect& r, TPixel value);
    // Changes the size; the pixels that stay keep their place (top-left anchored), new ones get fill.
    void Resize(int width, int height, TPixel fill = 0);

    friend bool operator==(const TSurface&, const TSurface&) = default;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<TPixel> FPixels;
};

// Raises EInvalidGraphic unless a surface of this size may be made.
void CheckSurfaceSize(long long width, long long height);

// Sets count pixels from first on to value, four pixels a store (a plain loop
// stays one pixel a store in the project's -O2 builds, and fills are most of a
// popup's first paint).
void FillPixels(TPixel* first, std::size_t count, TPixel value);

// The intersection of two rectangles (empty when they do not meet).
TRect IntersectRects(const TRect& a, const TRect& b);

} // namespace fw
