#include "BmpReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace arttest {

namespace {

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    if (at + static_cast<std::size_t>(bytes) > b.size()) throw std::runtime_error("BMP too short");
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

} // namespace

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

BmpImage ReadBmp(const std::string& path) {
    const std::vector<std::uint8_t> b = ReadBytes(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error(path + ": not a BMP");
    BmpImage img;
    const std::uint32_t pixelOffset = Le(b, 10, 4);
    img.InfoHeaderSize = Le(b, 14, 4);
    img.Width = static_cast<int>(Le(b, 18, 4));
    const auto height = static_cast<std::int32_t>(Le(b, 22, 4));
    img.BitsPerPixel = static_cast<int>(Le(b, 28, 2));
    const std::uint32_t compression = Le(b, 30, 4);
    if (height <= 0 || compression != 0 || (img.BitsPerPixel != 4 && img.BitsPerPixel != 8))
        throw std::runtime_error(path + ": not a bottom-up uncompressed 4/8-bit BMP");
    img.Height = height;

    std::uint32_t colours = Le(b, 46, 4);
    if (colours == 0) colours = 1u << img.BitsPerPixel;
    const std::size_t paletteAt = 14 + img.InfoHeaderSize;
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t at = paletteAt + 4 * i;
        img.Palette.push_back(Colour{static_cast<std::uint8_t>(Le(b, at + 2, 1)),
                                     static_cast<std::uint8_t>(Le(b, at + 1, 1)),
                                     static_cast<std::uint8_t>(Le(b, at, 1))});
    }

    const std::size_t rowBytes = ((static_cast<std::size_t>(img.Width) * img.BitsPerPixel + 31) / 32) * 4;
    img.Pixels.resize(static_cast<std::size_t>(img.Width) * img.Height);
    for (int y = 0; y < img.Height; ++y) {
        const std::size_t row = pixelOffset + static_cast<std::size_t>(img.Height - 1 - y) * rowBytes;
        for (int x = 0; x < img.Width; ++x) {
            std::uint32_t index = 0;
            if (img.BitsPerPixel == 8) {
                index = Le(b, row + static_cast<std::size_t>(x), 1);
            } else {
                const std::uint32_t pair = Le(b, row + static_cast<std::size_t>(x / 2), 1);
                index = (x % 2 == 0) ? pair >> 4 : pair & 0x0F;
            }
            if (index >= img.Palette.size()) throw std::runtime_error(path + ": index outside the palette");
            img.Pixels[static_cast<std::size_t>(y * img.Width + x)] = img.Palette[index];
        }
    }
    return img;
}

} // namespace arttest
