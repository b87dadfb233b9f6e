#pragma once

#include <cstdint>
#include <vector>

namespace mkres {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb Grey{128, 128, 128};
inline constexpr Rgb Silver{192, 192, 192};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb Blue{0, 0, 255};
inline constexpr Rgb Navy{0, 0, 128};

// A true-colour picture held top-down, row by row. The drawing code works on this and the BMP writer
// turns it into a palette image afterwards.
class RgbImage {
public:
    RgbImage(int width, int height, Rgb ground)
        : FWidth(width), FHeight(height), FPixels(width * height, ground) {}

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }
    Rgb At(int x, int y) const { return FPixels[static_cast<std::size_t>(y * FWidth + x)]; }

    // Writes outside the picture are dropped, so shapes may be drawn partly off the edge.
    void Set(int x, int y, Rgb c) {
        if (Contains(x, y)) FPixels[static_cast<std::size_t>(y * FWidth + x)] = c;
    }

    // Fills the columns left..right and rows top..bottom, both inclusive.
    void Fill(int left, int top, int right, int bottom, Rgb c) {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                Set(x, y, c);
    }

    // Outlines the rectangle with corners (left, top) and (right, bottom), both inclusive.
    void Frame(int left, int top, int right, int bottom, Rgb c) {
        Fill(left, top, right, top, c);
        Fill(left, bottom, right, bottom, c);
        Fill(left, top, left, bottom, c);
        Fill(right, top, right, bottom, c);
    }

    // Copies the whole of src with its top-left corner at (x, y).
    void Blit(const RgbImage& src, int x, int y) {
        for (int sy = 0; sy < src.Height(); ++sy)
            for (int sx = 0; sx < src.Width(); ++sx)
                Set(x + sx, y + sy, src.At(sx, sy));
    }

private:
    int FWidth;
    int FHeight;
    std::vector<Rgb> FPixels;
};

} // namespace mkres
