// The drop-button glyphs (two frames: normal and greyed) and the popup's arrow buttons.

#include "ArtPaths.h"
#include "BmpReader.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace arttest {
namespace {

const std::vector<Colour> Vga{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                              {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                              {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                              {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

bool IsLight(Colour c) {
    return c.r + c.g + c.b >= 3 * 192;
}

struct GlyphCase {
    int id;
    int width;
    int height;
};

class GlyphArt : public testing::TestWithParam<GlyphCase> {};

TEST_P(GlyphArt, TwoFramesOfEqualWidthWithGreyedSecondFrame) {
    const GlyphCase g = GetParam();
    const BmpImage img = ReadBmp(BitmapPath(std::to_string(g.id)));
    ASSERT_EQ(img.InfoHeaderSize, 40u);
    ASSERT_EQ(img.BitsPerPixel, 4);
    EXPECT_EQ(img.Palette, Vga);
    ASSERT_EQ(img.Width, g.width);
    ASSERT_EQ(img.Height, g.height);

    const int frame = g.width / 2;
    const Colour ground = img.At(0, g.height - 1);
    EXPECT_EQ(img.At(frame, g.height - 1), ground) << "both frames share the transparent ground";
    if (g.id == 200) {
        EXPECT_EQ(ground, White);
    }

    int ink = 0;
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < frame; ++x) {
            const Colour normal = img.At(x, y);
            const Colour greyed = img.At(frame + x, y);
            // Dark pixels of the picture become the grey shape; everything else is ground or the
            // white highlight of the shape one pixel up and to the left.
            if (normal != ground && !IsLight(normal)) {
                ++ink;
                EXPECT_EQ(greyed, Grey) << "glyph " << g.id << " at " << x << "," << y;
            } else {
                EXPECT_TRUE(greyed == ground || greyed == White)
                    << "glyph " << g.id << " at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(ink, 0) << "the normal frame shows a picture";
}

INSTANTIATE_TEST_SUITE_P(Resources, GlyphArt,
                         testing::Values(GlyphCase{200, 20, 10}, GlyphCase{201, 18, 10},
                                         GlyphCase{202, 14, 10}, GlyphCase{203, 30, 15},
                                         GlyphCase{204, 36, 20}, GlyphCase{205, 32, 16}),
                         [](const auto& info) { return std::to_string(info.param.id); });

BmpImage Button(int id) {
    BmpImage img = ReadBmp(BitmapPath(std::to_string(id)));
    EXPECT_EQ(img.BitsPerPixel, 4);
    EXPECT_EQ(img.Palette, Vga);
    EXPECT_EQ(img.Width, 17);
    EXPECT_EQ(img.Height, 17);
    return img;
}

TEST(NavigationButtonArt, PressedImageDiffersOnlyInArrowColour) {
    for (int up = 210; up <= 216; up += 2) {
        const BmpImage a = Button(up);
        const BmpImage b = Button(up + 1);
        int arrow = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) {
                if (a.At(x, y) == White) {
                    EXPECT_EQ(b.At(x, y), White) << up << " at " << x << "," << y;
                } else {
                    ++arrow;
                    EXPECT_EQ(a.At(x, y), Black) << up << " at " << x << "," << y;
                    EXPECT_EQ(b.At(x, y), Red) << up + 1 << " at " << x << "," << y;
                }
            }
        EXPECT_GT(arrow, 0) << up;
    }
}

TEST(NavigationButtonArt, ArrowsAreCentredInTheCopiedSquareAndPointTheRightWay) {
    for (int id = 210; id <= 216; id += 2) {
        const BmpImage img = Button(id);
        int left = 17, right = -1, top = 17, bottom = -1;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x)
                if (img.At(x, y) != White) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_LT(right, 16) << id << ": the popup copies only the top-left 16 x 16";
        ASSERT_LT(bottom, 16) << id;
        EXPECT_EQ(left + right, 15) << id;
        EXPECT_LE(std::abs(top + bottom - 15), 1) << id;

        // A left arrow has its tip (a single pixel) in its leftmost column.
        auto height = [&](int x) {
            int n = 0;
            for (int y = 0; y < 16; ++y)
                n += img.At(x, y) != White;
            return n;
        };
        const bool pointsLeft = id == 210 || id == 214;
        EXPECT_EQ(height(pointsLeft ? left : right), 1) << id;
        EXPECT_GT(height(pointsLeft ? right : left), 1) << id;
    }
}

TEST(NavigationButtonArt, ForwardArrowsMirrorBackwardOnesAndDoubleArrowsHaveTwoHeads) {
    for (int back : {210, 214}) {
        const BmpImage a = Button(back);
        const BmpImage b = Button(back + 2);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                EXPECT_EQ(a.At(x, y), b.At(15 - x, y)) << back << " at " << x << "," << y;
    }
    auto tips = [](const BmpImage& img) {
        int n = 0;
        for (int x = 0; x < 16; ++x) {
            int h = 0;
            for (int y = 0; y < 16; ++y)
                h += img.At(x, y) != White;
            n += h == 1;
        }
        return n;
    };
    EXPECT_EQ(tips(Button(210)), 1);
    EXPECT_EQ(tips(Button(214)), 2);
}

} // namespace
} // namespace arttest
