#include <algorithm>
#include <cstring>
#include <framework/graphics/Surface.h>
#include <framework/rtl/Exceptions.h>

namespace fw {

void CheckSurfaceSize(long long width, long long height) {
    if (width < 0 || height < 0 || width > TSurface::MaxSide || height > TSurface::MaxSide ||
        width * height > TSurface::MaxArea)
        throw EInvalidGraphic("Image size " + std::to_string(width) + " x " + std::to_string(height) +
                              " is out of range");
}

TRect IntersectRects(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) return {};
    return r;
}

void FillPixels(TPixel* first, std::size_t count, TPixel value) {
    const TPixel quad[4] = {value, value, value, value};
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::memcpy(first + i, quad, sizeof quad);
        std::memcpy(first + i + 4, quad, sizeof quad);
    }
    for (; i < count; ++i)
        first[i] = value;
}

TSurface::TSurface(int width, int height, TPixel fill) {
    CheckSurfaceSize(width, height);
    FWidth = width;
    FHeight = height;
    // Zeroing is a memset; any other colour is written over it.
    FPixels.resize(std::size_t(width) * std::size_t(height));
    if (fill != 0) FillPixels(FPixels.data(), FPixels.size(), fill);
}

TPixel TSurface::Pixel(int x, int y) const {
    if (!Contains(x, y)) return 0;
    return FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)];
}

void TSurface::SetPixel(int x, int y, TPixel value) {
    if (Contains(x, y)) FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)] = value;
}

void TSurface::Fill(const TRect& r, TPixel value) {
    TRect c = IntersectRects(r, Bounds());
    if (c.IsEmpty()) return;
    for (int y = c.Top; y < c.Bottom; ++y)
        FillPixels(Row(y) + c.Left, std::size_t(c.Right - c.Left), value);
}

void TSurface::Resize(int width, int height, TPixel fill) {
    if (width == FWidth && height == FHeight) return;
    CheckSurfaceSize(width, height);
    std::vector<TPixel> pixels(std::size_t(width) * std::size_t(height));
    if (fill != 0) FillPixels(pixels.data(), pixels.size(), fill);
    int keepW = std::min(width, FWidth);
    int keepH = std::min(height, FHeight);
    for (int y = 0; y < keepH; ++y)
        std::copy(Row(y), Row(y) + keepW, pixels.data() + std::size_t(y) * std::size_t(width));
    FWidth = width;
    FHeight = height;
    FPixels = std::move(pixels);
}

} // namespace fw
