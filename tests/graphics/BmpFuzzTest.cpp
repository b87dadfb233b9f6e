// Thousands of mutated BMP files, seeded and so repeatable: each either loads or raises
// EInvalidGraphic, and none reads or writes out of bounds (the sanitizer build checks that).

#include "TestBmp.h"

#include <framework/graphics/BmpCodec.h>
#include <framework/rtl/Exceptions.h>
#include <gtest/gtest.h>
#include <random>

using namespace fw;

TEST(BmpFuzz, MutatedFilesLoadOrRaiseCleanly) {
    std::vector<std::vector<std::uint8_t>> seeds = {
        qztest::MakeBmp({9, 5, 1, false, {0, 0xFFFFFF}}, std::vector<std::uint32_t>(45, 1)),
        qztest::MakeBmp({7, 3, 4, true, {0, 0xFF, 0xFF00, 0xFF0000}}, std::vector<std::uint32_t>(21, 2)),
        qztest::MakeBmp({5, 4, 8, false, {0x123456, 0x654321}}, std::vector<std::uint32_t>(20, 1)),
        qztest::MakeBmp({3, 3, 24, false, {}}, std::vector<std::uint32_t>(9, 0xABCDEF)),
        qztest::MakeBmp({2, 6, 32, true, {}}, std::vector<std::uint32_t>(12, 0x102030)),
    };
    std::mt19937 rng(20020425);
    int loaded = 0;
    int rejected = 0;
    for (int round = 0; round < 6000; ++round) {
        std::vector<std::uint8_t> data = seeds[std::size_t(round) % seeds.size()];
        int mutations = 1 + int(rng() % 4);
        for (int m = 0; m < mutations; ++m) {
            switch (rng() % 5) {
            case 0: // flip a byte of the headers
                if (!data.empty()) data[rng() % std::min<std::size_t>(data.size(), 70)] = std::uint8_t(rng());
                break;
            case 1: // flip any byte
                if (!data.empty()) data[rng() % data.size()] ^= std::uint8_t(1u << (rng() % 8));
                break;
            case 2: // cut the file short
                data.resize(rng() % (data.size() + 1));
                break;
            case 3: { // an extreme value in a size or offset field
                const std::size_t fields[] = {2, 10, 14, 18, 22, 28, 30, 46};
                std::size_t at = fields[rng() % 8];
                const std::uint32_t values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x10000, 40, 12};
                std::uint32_t v = values[rng() % 8];
                for (int i = 0; i < 4 && at + std::size_t(i) < data.size(); ++i)
                    data[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
                break;
            }
            case 4: // grow with junk
                for (int i = int(rng() % 16); i > 0; --i)
                    data.push_back(std::uint8_t(rng()));
                break;
            }
        }
        try {
            TBmpImage image = DecodeBmp(data);
            EXPECT_GT(image.Pixels.Width(), 0);
            ++loaded;
        } catch (const EInvalidGraphic&) {
            ++rejected;
        }
    }
    EXPECT_EQ(loaded + rejected, 6000);
    EXPECT_GT(loaded, 100);   // the mutations leave plenty of loadable files...
    EXPECT_GT(rejected, 100); // ...and plenty of bad ones
}
