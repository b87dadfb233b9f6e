#pragma once
// A surface with a canvas drawing on it, for the graphics tests.

#include <framework/graphics/Canvas.h>
#include <framework/platform/Gdi.h>

namespace qztest {

struct Painter {
    fw::TSurface Surface;
    fw::HDC DC;
    fw::TCanvas Canvas;

    Painter(int width, int height, fw::TColor background = fw::clWhite, fw::TPoint origin = {})
        : Surface(width, height, fw::ColorToRGB(background)),
          DC(fw::CreateSurfaceDC(&Surface, origin, Surface.Bounds())) {
        Canvas.SetHandle(DC);
    }
    ~Painter() {
        Canvas.SetHandle(nullptr);
        fw::DeleteDC(DC);
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    fw::TPixel At(int x, int y) const { return Surface.Pixel(x, y); }
};

} // namespace qztest
