#pragma once
// Reading and writing BMP files: 1, 4, 8, 24 and 32 bits per pixel, bottom-up and top-down.
// Every size and offset in a file is checked before it is used: a malformed file raises
// EInvalidGraphic and is never read past its end.

#include <cstddef>
#include <cstdint>
#include <framework/graphics/Surface.h>
#include <span>
#include <vector>

namespace fw {

struct TBmpImage {
    TSurface Pixels;
    int BitsPerPixel = 24; // of the file it came from
};

TBmpImage DecodeBmp(std::span<const std::uint8_t> data);

// Writes a 24-bit bottom-up BMP.
std::vector<std::uint8_t> EncodeBmp(const TSurface& surface);

} // namespace fw
