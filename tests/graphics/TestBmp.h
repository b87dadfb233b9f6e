#pragma once
// Writes BMP files of any supported depth for the bitmap tests (the codec itself writes only
// 24-bit files).

#include <cstdint>
#include <framework/graphics/Surface.h>
#include <vector>

namespace qztest {

struct BmpSpec {
    int Width = 4;
    int Height = 3;
    int BitsPerPixel = 24;
    bool TopDown = false;
    std::vector<fw::TPixel> Palette; // for 1, 4 and 8 bits
};

// Pixel values: palette indices for indexed depths, colours otherwise; row-major, top row first.
inline std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec, const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint8_t> out;
    auto put16 = [&](std::uint32_t v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(std::uint8_t(v >> (8 * i)));
    };
    const std::uint32_t stride = std::uint32_t((spec.Width * spec.BitsPerPixel + 31) / 32 * 4);
    const std::uint32_t paletteBytes = std::uint32_t(spec.Palette.size() * 4);
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    out.push_back('B');
    out.push_back('M');
    put32(offset + stride * std::uint32_t(spec.Height));
    put32(0);
    put32(offset);
    put32(40);
    put32(std::uint32_t(spec.Width));
    put32(std::uint32_t(spec.TopDown ? -spec.Height : spec.Height));
    put16(1);
    put16(std::uint32_t(spec.BitsPerPixel));
    put32(0);
    put32(stride * std::uint32_t(spec.Height));
    put32(3780);
    put32(3780);
    put32(std::uint32_t(spec.Palette.size()));
    put32(0);
    for (fw::TPixel p : spec.Palette) {
        out.push_back(std::uint8_t(fw::GetBValue(p)));
        out.push_back(std::uint8_t(fw::GetGValue(p)));
        out.push_back(std::uint8_t(fw::GetRValue(p)));
        out.push_back(0);
    }
    for (int r = 0; r < spec.Height; ++r) {
        int y = spec.TopDown ? r : spec.Height - 1 - r;
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < spec.Width; ++x) {
            std::uint32_t v = pixels[std::size_t(y * spec.Width + x)];
            switch (spec.BitsPerPixel) {
            case 1:
                row[std::size_t(x / 8)] |= std::uint8_t((v & 1) << (7 - x % 8));
                break;
            case 4:
                row[std::size_t(x / 2)] |= std::uint8_t((v & 15) << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[std::size_t(x)] = std::uint8_t(v);
                break;
            case 24:
                row[std::size_t(3 * x)] = std::uint8_t(fw::GetBValue(v));
                row[std::size_t(3 * x + 1)] = std::uint8_t(fw::GetGValue(v));
                row[std::size_t(3 * x + 2)] = std::uint8_t(fw::GetRValue(v));
                break;
            case 32:
                row[std::size_t(4 * x)] = std::uint8_t(fw::GetBValue(v));
                row[std::size_t(4 * x + 1)] = std::uint8_t(fw::GetGValue(v));
                row[std::size_t(4 * x + 2)] = std::uint8_t(fw::GetRValue(v));
                break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace qztest
