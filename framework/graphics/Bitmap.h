#pragma once
// TBitmap: an image held through a bitmap handle, with a canvas to draw on it, BMP files in and
// out, and a stored form ("Data") for form files.

#include <cstdint>
#include <framework/graphics/Canvas.h>
#include <framework/graphics/GdiObjects.h>
#include <iosfwd>
#include <memory>
#include <span>

namespace fw {

class TBitmap : public TPersistent {
    FW_CLASS(TBitmap, TPersistent)

public:
    TBitmap();
    ~TBitmap() override;

    int Width() const;
    int Height() const;
    void SetWidth(int value) { SetSize(value, Height()); }
    void SetHeight(int value) { SetSize(Width(), value); }
    // Resizes, keeping the pixels that stay (new ones are white).
    void SetSize(int width, int height);
    bool Empty() const { return Width() == 0 || Height() == 0; }

    // The bitmap handle (nullptr when empty). SetHandle takes over the given handle and frees
    // the one held before; nullptr empties the bitmap.
    TGdiBitmap* Handle() const { return FHandle; }
    void SetHandle(TGdiBitmap* handle);
    // Gives up the handle to the caller, leaving the bitmap empty.
    TGdiBitmap* ReleaseHandle();

    // The pixels (nullptr when there is no handle).
    const TSurface* Surface() const;
    TSurface* Surface();

    // Copies another bitmap's pixels (a TBitmap, or nullptr to empty this one).
    void Assign(const TPersistent* Source) override;

    // A canvas that draws on the bitmap.
    TCanvas* Canvas();

    // BMP files (1, 4, 8, 24, 32 bits per pixel). A bad file raises EInvalidGraphic and leaves
    // the bitmap as it was.
    void LoadFromFile(const String& path);
    void LoadFromStream(std::istream& stream);
    void LoadFromBytes(std::span<const std::uint8_t> bytes);
    // Writes a 24-bit BMP.
    void SaveToFile(const String& path) const;
    void SaveToStream(std::ostream& stream) const;
    // The bits per pixel of the file last loaded (24 for a bitmap made here).
    int BitsPerPixel() const { return FBitsPerPixel; }

    // The colour of the lower-left pixel: the transparent colour of a glyph.
    TColor TransparentColor() const;

    // The stored form in form files: a 4-byte little-endian length, then the BMP file.
    String Data() const;
    void SetData(const String& data);

    TNotifyEvent OnChange;

private:
    void Changed();
    void AttachCanvas();

    TGdiBitmap* FHandle = nullptr; // owned: freed through DeleteObject
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TDeviceContext> FCanvasDC;
    int FBitsPerPixel = 24;
};

} // namespace fw
