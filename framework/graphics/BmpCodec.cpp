#include <cstring>
#include <framework/graphics/BmpCodec.h>
#include <framework/rtl/Exceptions.h>

namespace fw {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;

[[noreturn]] void Bad(const char* what) {
    throw EInvalidGraphic(String("Invalid bitmap: ") + what);
}

// Little-endian reads that check the range first.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : FData(data) {}
    std::uint32_t U32(std::size_t at) const {
        Need(at, 4);
        return std::uint32_t(FData[at]) | std::uint32_t(FData[at + 1]) << 8 |
               std::uint32_t(FData[at + 2]) << 16 | std::uint32_t(FData[at + 3]) << 24;
    }
    std::int32_t I32(std::size_t at) const { return std::int32_t(U32(at)); }
    std::uint16_t U16(std::size_t at) const {
        Need(at, 2);
        return std::uint16_t(FData[at] | FData[at + 1] << 8);
    }
    void Need(std::size_t at, std::size_t count) const {
        if (at > FData.size() || count > FData.size() - at) Bad("the file is truncated");
    }
    const std::uint8_t* At(std::size_t at) const { return FData.data() + at; }

private:
    std::span<const std::uint8_t> FData;
};

int MaskShift(std::uint32_t mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int MaskBits(std::uint32_t mask) {
    mask >>= MaskShift(mask);
    int bits = 0;
    while (mask & 1) {
        mask >>= 1;
        ++bits;
    }
    return bits;
}

// Scales a masked channel to 0-255.
unsigned Channel(std::uint32_t value, std::uint32_t mask) {
    if (!mask) return 0;
    int bits = MaskBits(mask);
    unsigned v = (value & mask) >> MaskShift(mask);
    if (bits >= 8) return v >> (bits - 8);
    return bits ? v * 255 / ((1u << bits) - 1) : 0;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

} // namespace

TBmpImage DecodeBmp(std::span<const std::uint8_t> data) {
    Reader in(data);
    in.Need(0, FileHeaderSize);
    if (data[0] != 'B' || data[1] != 'M') Bad("no BM signature");
    const std::uint32_t pixelOffset = in.U32(10);
    const std::uint32_t headerSize = in.U32(FileHeaderSize);
    if (headerSize != CoreHeaderSize && (headerSize < InfoHeaderSize || headerSize > 1024))
        Bad("unknown header size");
    in.Need(FileHeaderSize, headerSize);

    long long width = 0;
    long long height = 0;
    int bpp = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == CoreHeaderSize) {
        width = in.U16(18);
        height = in.U16(20);
        bpp = in.U16(24);
        paletteEntry = 3;
    } else {
        width = in.I32(18);
        height = in.I32(22);
        bpp = in.U16(28);
        compression = in.U32(30);
        colorsUsed = in.U32(46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) Bad("the width or height is not positive");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) Bad("unsupported bits per pixel");
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && bpp == 32)) Bad("unsupported compression");
    CheckSurfaceSize(width, height);

    // Channel masks of a 32-bit image: in the header (version 4 and later) or after it.
    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    std::size_t paletteAt = FileHeaderSize + headerSize;
    if (compression == BI_BITFIELDS) {
        std::size_t at = headerSize >= InfoHeaderSize + 12 ? FileHeaderSize + InfoHeaderSize : paletteAt;
        for (int i = 0; i < 3; ++i)
            masks[i] = in.U32(at + 4 * std::size_t(i));
        if (headerSize < InfoHeaderSize + 12) paletteAt += 12;
    }

    std::vector<TPixel> palette;
    if (bpp <= 8) {
        std::size_t count = colorsUsed ? colorsUsed : (std::size_t(1) << bpp);
        if (count > 256) Bad("the palette is too large");
        in.Need(paletteAt, count * paletteEntry);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = in.At(paletteAt + i * paletteEntry);
            palette.push_back(RGB(e[2], e[1], e[0]));
        }
    }

    const std::size_t stride = std::size_t((width * bpp + 31) / 32) * 4;
    if (pixelOffset < FileHeaderSize + headerSize) Bad("the pixel data overlaps the header");
    in.Need(pixelOffset, stride * std::size_t(height));

    TBmpImage image;
    image.BitsPerPixel = bpp;
    image.Pixels = TSurface(int(width), int(height));
    for (int row = 0; row < int(height); ++row) {
        const std::uint8_t* src = in.At(pixelOffset + stride * std::size_t(row));
        TPixel* out = image.Pixels.Row(topDown ? row : int(height) - 1 - row);
        for (int x = 0; x < int(width); ++x) {
            switch (bpp) {
            case 1:
            case 4:
            case 8: {
                unsigned index = 0;
                if (bpp == 8)
                    index = src[x];
                else if (bpp == 4)
                    index = (x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4;
                else
                    index = (src[x >> 3] >> (7 - (x & 7))) & 1;
                // An index past the palette shows black rather than reading beyond it.
                out[x] = index < palette.size() ? palette[index] : clBlack;
                break;
            }
            case 24:
                out[x] = RGB(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            case 32: {
                std::uint32_t v = std::uint32_t(src[4 * x]) | std::uint32_t(src[4 * x + 1]) << 8 |
                                  std::uint32_t(src[4 * x + 2]) << 16 | std::uint32_t(src[4 * x + 3]) << 24;
                out[x] = RGB(int(Channel(v, masks[0])), int(Channel(v, masks[1])), int(Channel(v, masks[2])));
                break;
            }
            }
        }
    }
    return image;
}

std::vector<std::uint8_t> EncodeBmp(const TSurface& surface) {
    const std::uint32_t w = std::uint32_t(surface.Width());
    const std::uint32_t h = std::uint32_t(surface.Height());
    const std::uint32_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t offset = FileHeaderSize + InfoHeaderSize;
    std::vector<std::uint8_t> out;
    out.reserve(offset + stride * h);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + stride * h);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, InfoHeaderSize);
    Put32(out, w);
    Put32(out, h);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, BI_RGB);
    Put32(out, stride * h);
    Put32(out, 3780); // 96 dpi
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = int(h) - 1; y >= 0; --y) {
        const TPixel* row = surface.Row(y);
        for (std::uint32_t x = 0; x < w; ++x) {
            out.push_back(std::uint8_t(GetBValue(row[x])));
            out.push_back(std::uint8_t(GetGValue(row[x])));
            out.push_back(std::uint8_t(GetRValue(row[x])));
        }
        for (std::uint32_t pad = w * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace fw
