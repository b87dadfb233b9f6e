#include "BmpWriter.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace mkres {

namespace {

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
// 96 dots per inch, the usual screen resolution, in pixels per metre.
constexpr std::uint32_t PixelsPerMetre = 3780;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint8_t IndexOf(const std::vector<Rgb>& palette, Rgb c) {
    auto it = std::find(palette.begin(), palette.end(), c);
    if (it == palette.end())
        throw std::invalid_argument("EncodeBmp: a pixel colour is missing from the palette");
    return static_cast<std::uint8_t>(it - palette.begin());
}

} // namespace

const std::vector<Rgb>& VgaPalette() {
    static const std::vector<Rgb> palette{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                          {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    return palette;
}

std::vector<std::uint8_t> EncodeBmp(const RgbImage& image, const std::vector<Rgb>& palette,
                                    int bitsPerPixel) {
    if (bitsPerPixel != 4 && bitsPerPixel != 8)
        throw std::invalid_argument("EncodeBmp: 4 or 8 bits per pixel");
    const std::uint32_t entries = 1u << bitsPerPixel;
    if (palette.empty() || palette.size() > entries) throw std::invalid_argument("EncodeBmp: palette size");

    const auto width = static_cast<std::uint32_t>(image.Width());
    const auto height = static_cast<std::uint32_t>(image.Height());
    const std::uint32_t rowBytes = ((width * static_cast<std::uint32_t>(bitsPerPixel) + 31) / 32) * 4;
    const std::uint32_t pixelOffset = FileHeaderSize + InfoHeaderSize + entries * 4;
    const std::uint32_t imageSize = rowBytes * height;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + imageSize);
    Put32(out, 0); // two reserved words
    Put32(out, pixelOffset);

    Put32(out, InfoHeaderSize);
    Put32(out, width);
    Put32(out, height); // positive: rows are stored bottom-up
    Put16(out, 1);      // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0); // no compression
    Put32(out, imageSize);
    Put32(out, PixelsPerMetre);
    Put32(out, PixelsPerMetre);
    Put32(out, entries); // colours used
    Put32(out, 0);       // all colours important

    for (std::uint32_t i = 0; i < entries; ++i) {
        const Rgb c = i < palette.size() ? palette[i] : Black;
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }

    for (int y = image.Height() - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint8_t index = IndexOf(palette, image.At(x, y));
            if (bitsPerPixel == 8) {
                row[static_cast<std::size_t>(x)] = index;
            } else {
                // The left pixel of each pair sits in the high nibble.
                const int shift = (x % 2 == 0) ? 4 : 0;
                row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(index << shift);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> EncodeIcon(const RgbImage& image, Rgb transparent) {
    const auto width = static_cast<std::uint32_t>(image.Width());
    const auto height = static_cast<std::uint32_t>(image.Height());
    if (width > 256 || height > 256) throw std::invalid_argument("EncodeIcon: at most 256 x 256");

    // The colour image (XOR mask) is a 4-bit device-independent bitmap without its file header,
    // black where the picture is transparent; the AND mask follows, one bit a pixel, set where
    // the picture is transparent. The header's height counts both masks.
    RgbImage colours = image;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) == transparent) colours.Set(x, y, Black);
    std::vector<std::uint8_t> dib = EncodeBmp(colours, VgaPalette(), 4);
    dib.erase(dib.begin(), dib.begin() + FileHeaderSize);
    const std::uint32_t maskRowBytes = ((width + 31) / 32) * 4;
    std::vector<std::uint8_t> mask;
    for (int y = image.Height() - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRowBytes, 0);
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) == transparent)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        mask.insert(mask.end(), row.begin(), row.end());
    }
    std::vector<std::uint8_t> header;
    Put32(header, height * 2);
    std::copy(header.begin(), header.end(), dib.begin() + 8);
    const std::uint32_t xorBytes = static_cast<std::uint32_t>(dib.size()) - InfoHeaderSize - 16 * 4;
    header.clear();
    Put32(header, xorBytes + static_cast<std::uint32_t>(mask.size()));
    std::copy(header.begin(), header.end(), dib.begin() + 20);
    dib.insert(dib.end(), mask.begin(), mask.end());

    std::vector<std::uint8_t> out;
    Put16(out, 0); // reserved
    Put16(out, 1); // an icon (2 would be a cursor)
    Put16(out, 1); // one image
    out.push_back(static_cast<std::uint8_t>(width % 256));
    out.push_back(static_cast<std::uint8_t>(height % 256));
    out.push_back(16); // colours
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 4);     // bits per pixel
    Put32(out, static_cast<std::uint32_t>(dib.size()));
    Put32(out, 6 + 16); // the image follows the directory
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

std::vector<Rgb> ColoursInOrder(const RgbImage& image) {
    std::vector<Rgb> colours;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (std::find(colours.begin(), colours.end(), image.At(x, y)) == colours.end())
                colours.push_back(image.At(x, y));
    return colours;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

} // namespace mkres
