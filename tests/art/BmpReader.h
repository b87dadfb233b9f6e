#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace arttest {

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour White{255, 255, 255};
inline constexpr Colour Black{0, 0, 0};
inline constexpr Colour Grey{128, 128, 128};
inline constexpr Colour Red{255, 0, 0};

// A palette BMP as read back from disk: header facts and the pixels resolved to colours, top-down.
struct BmpImage {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    std::uint32_t InfoHeaderSize = 0;
    std::vector<Colour> Palette;
    std::vector<Colour> Pixels;

    Colour At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
};

// Reads an uncompressed 4- or 8-bit BMP; throws std::runtime_error on anything else or a short file.
BmpImage ReadBmp(const std::string& path);

std::vector<std::uint8_t> ReadBytes(const std::string& path);

} // namespace arttest
