#pragma once
// PNG output and input of surfaces (screenshots and golden images).

#include <cstdint>
#include <framework/graphics/Surface.h>
#include <vector>

namespace fw {

// Writes the surface as an 8-bit RGB PNG; raises EInvalidGraphic when the file cannot be written.
void SavePng(const TSurface& surface, const String& path);
std::vector<std::uint8_t> EncodePng(const TSurface& surface);

// Reads a PNG of any colour type into an opaque surface; raises EInvalidGraphic on a bad file.
TSurface LoadPng(const String& path);

} // namespace fw
