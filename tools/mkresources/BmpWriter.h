#pragma once

#include "RgbImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mkres {

// The sixteen colours of the classic VGA palette, in the order a 4-bit device-independent bitmap
// lists them.
const std::vector<Rgb>& VgaPalette();

// Encodes the picture as a Windows BMP (file header, 40-byte info header, palette, bottom-up rows
// padded to four bytes). Every pixel must be one of the palette's colours; the palette is written
// padded with black to 2^bitsPerPixel entries. bitsPerPixel is 4 or 8.
std::vector<std::uint8_t> EncodeBmp(const RgbImage& image, const std::vector<Rgb>& palette, int bitsPerPixel);

// Encodes the picture as an icon file holding one 16-colour image (VGA palette): the directory,
// the colour bitmap and the transparency mask, set where the picture has the colour `transparent`.
std::vector<std::uint8_t> EncodeIcon(const RgbImage& image, Rgb transparent);

// The distinct colours of the picture in the order they first occur, scanning rows from the top.
std::vector<Rgb> ColoursInOrder(const RgbImage& image);

// Writes the bytes to the file, replacing it; throws std::runtime_error when that fails.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace mkres
