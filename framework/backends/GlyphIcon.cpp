// A desktop icon made from a bitmap resource.

#include <algorithm>
#include <framework/forms/Backend.h>
#include <framework/graphics/Bitmap.h>
#include <framework/graphics/Color.h>
#include <framework/resources/Resources.h>

namespace fw {

TSurface GlyphIcon(HINSTANCE module, int id) {
    constexpr int Size = 32;
    TSurface icon(Size, Size, ColorToRGB(clBtnFace));
    if (!module) return icon;
    TBitmap glyph;
    glyph.SetHandle(LoadBitmapA(module, id));
    const TSurface* picture = glyph.Surface();
    if (!picture) return icon;
    // A strip of frames shows its first, square frame.
    const int frame = std::min({picture->Height(), picture->Width(), Size / 2});
    const int offset = (Size - 2 * frame) / 2;
    for (int y = 0; y < 2 * frame; ++y)
        for (int x = 0; x < 2 * frame; ++x)
            icon.SetPixel(offset + x, offset + y, picture->Pixel(x / 2, y / 2));
    return icon;
}

} // namespace fw
