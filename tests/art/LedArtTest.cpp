// The 56 lamp images: names, format, and exactly where the background shows through.

#include "ArtPaths.h"
#include "BmpReader.h"

#include <gtest/gtest.h>
#include <set>

namespace arttest {
namespace {

const char* const HueCodes[] = {"AM", "BL", "GN", "LB", "LM", "PK", "PP", "RD", "TL"};

std::vector<std::string> AllLedNames() {
    std::vector<std::string> names;
    for (const char* size : {"S", "L"}) {
        for (const char* hue : HueCodes)
            for (const char* state : {"0", "1", "2"})
                names.push_back(std::string("QZLED") + size + hue + state);
        names.push_back(std::string("QZLED") + size + "GY0");
    }
    return names;
}

// Columns covered by the lamp in each row, first and last inclusive.
bool LampCovers(char size, int x, int y) {
    static constexpr int LargeFirst[] = {2, 1, 0, 0, 0, 0, 0, 0, 1, 2};
    static constexpr int SmallFirst[] = {10, 3, 2, 1, 1, 1, 1, 2, 3, 10};
    const int first = size == 'L' ? LargeFirst[y] : SmallFirst[y];
    return x >= first && x <= 9 - first;
}

double Luminance(Colour c) {
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

TEST(LedArt, EveryImageHasTheExactLampShape) {
    const std::set<std::string> clearHighlight{"QZLEDLAM1", "QZLEDLAM2", "QZLEDLBL1", "QZLEDLBL2",
                                               "QZLEDLLM1", "QZLEDLLM2", "QZLEDLPP1"};
    const auto names = AllLedNames();
    ASSERT_EQ(names.size(), 56u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const BmpImage img = ReadBmp(BitmapPath(name));
        ASSERT_EQ(img.InfoHeaderSize, 40u);
        ASSERT_EQ(img.BitsPerPixel, 8);
        EXPECT_EQ(img.Palette.size(), 256u);
        ASSERT_EQ(img.Width, 10);
        ASSERT_EQ(img.Height, 10);
        const char size = name[5];
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool hole = !LampCovers(size, x, y) || (x == 3 && y == 2 && clearHighlight.count(name));
                EXPECT_EQ(img.At(x, y) == White, hole) << "at column " << x << ", row " << y;
            }
    }
}

TEST(LedArt, StatesGetBrighterAndTheUnlitLampIsGrey) {
    auto meanLuminance = [](const BmpImage& img) {
        double sum = 0;
        int n = 0;
        for (const Colour& c : img.Pixels)
            if (c != White) {
                sum += Luminance(c);
                ++n;
            }
        return sum / n;
    };
    for (const char* size : {"S", "L"}) {
        for (const char* hue : HueCodes) {
            const std::string stem = std::string("QZLED") + size + hue;
            const double off = meanLuminance(ReadBmp(BitmapPath(stem + "0")));
            const double on = meanLuminance(ReadBmp(BitmapPath(stem + "1")));
            const double bright = meanLuminance(ReadBmp(BitmapPath(stem + "2")));
            EXPECT_LT(off, on) << stem;
            EXPECT_LT(on, bright) << stem;
        }
        const BmpImage grey = ReadBmp(BitmapPath(std::string("QZLED") + size + "GY0"));
        for (const Colour& c : grey.Pixels) {
            EXPECT_TRUE(c.r == c.g && c.g == c.b) << size;
            if (c != White) {
                EXPECT_LT(c.r, 160) << size << ": the unlit lamp is dark";
            }
        }
    }
}

} // namespace
} // namespace arttest
