// TBitmap: BMP files of every supported depth and row order, handle ownership, Assign, the
// stored form, and rejection of malformed files.

#include "TestBmp.h"

#include <cstdio>
#include <filesystem>
#include <framework/graphics/Bitmap.h>
#include <framework/platform/Gdi.h>
#include <framework/rtl/Exceptions.h>
#include <gtest/gtest.h>

using namespace fw;
using qztest::BmpSpec;
using qztest::MakeBmp;

namespace {

const std::vector<TPixel> Palette16 = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                       0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                       0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

void ExpectPixels(const TBitmap& b, int w, int h, const std::vector<TPixel>& expected) {
    ASSERT_EQ(b.Width(), w);
    ASSERT_EQ(b.Height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(b.Surface()->Pixel(x, y), expected[std::size_t(y * w + x)]) << x << "," << y;
}

} // namespace

TEST(BitmapFiles, EveryDepthBottomUpAndTopDown) {
    // 5 x 3 images: odd widths exercise the row padding of every depth.
    const int w = 5, h = 3;
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        std::vector<std::uint32_t> mono = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1};
        TBitmap b1;
        b1.LoadFromBytes(MakeBmp({w, h, 1, topDown, {0x000000, 0xFFFFFF}}, mono));
        std::vector<TPixel> expect1;
        for (auto v : mono)
            expect1.push_back(v ? 0xFFFFFF : 0);
        ExpectPixels(b1, w, h, expect1);
        EXPECT_EQ(b1.BitsPerPixel(), 1);

        std::vector<std::uint32_t> idx = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15};
        std::vector<TPixel> expectIdx;
        for (auto v : idx)
            expectIdx.push_back(Palette16[v]);
        TBitmap b4;
        b4.LoadFromBytes(MakeBmp({w, h, 4, topDown, Palette16}, idx));
        ExpectPixels(b4, w, h, expectIdx);
        TBitmap b8;
        b8.LoadFromBytes(MakeBmp({w, h, 8, topDown, Palette16}, idx));
        ExpectPixels(b8, w, h, expectIdx);

        std::vector<std::uint32_t> rgb = {0x123456, 0xABCDEF, 0,        0xFFFFFF, 0x0000FF,
                                          0x00FF00, 0xFF0000, 0x808080, 0x010203, 0x040506,
                                          0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112, 0x131415};
        TBitmap b24;
        b24.LoadFromBytes(MakeBmp({w, h, 24, topDown, {}}, rgb));
        ExpectPixels(b24, w, h, rgb);
        TBitmap b32;
        b32.LoadFromBytes(MakeBmp({w, h, 32, topDown, {}}, rgb));
        ExpectPixels(b32, w, h, rgb);
    }
}

TEST(BitmapFiles, SaveAndLoadRoundTrip) {
    TBitmap a;
    a.SetSize(7, 3);
    a.Canvas()->SetPixel(0, 0, clRed);
    a.Canvas()->SetPixel(6, 2, clBlue);
    auto path = (std::filesystem::temp_directory_path() / "qz_bitmap_roundtrip.bmp").string();
    a.SaveToFile(path);
    TBitmap b;
    b.LoadFromFile(path);
    std::remove(path.c_str());
    EXPECT_EQ(*b.Surface(), *a.Surface());
    EXPECT_THROW(b.LoadFromFile(path), EInvalidGraphic); // gone
    EXPECT_EQ(b.Width(), 7);                             // and the bitmap kept its image
}

TEST(BitmapFiles, MalformedFilesRaiseOneErrorAndLeaveTheBitmap) {
    auto good = MakeBmp({4, 4, 24, false, {}}, std::vector<std::uint32_t>(16, 0x00FF00));
    auto setU32 = [](std::vector<std::uint8_t> d, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            d[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
        return d;
    };
    std::vector<std::pair<const char*, std::vector<std::uint8_t>>> bad = {
        {"empty", {}},
        {"signature", setU32(good, 0, 0x11114D42 ^ 0x0000000F)},
        {"truncated", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"offset past end", setU32(good, 10, 0xFFFFFF00)},
        {"offset inside header", setU32(good, 10, 20)},
        {"zero width", setU32(good, 18, 0)},
        {"negative width", setU32(good, 18, 0xFFFFFFFC)},
        {"huge width", setU32(good, 18, 0x7FFFFFFF)},
        {"huge height", setU32(good, 22, 0x80000000)},
        {"header size", setU32(good, 14, 7)},
        {"compression", setU32(good, 30, 1)},
        {"palette count", setU32(MakeBmp({2, 2, 8, false, Palette16}, {0, 1, 2, 3}), 46, 100000)},
    };
    TBitmap b;
    b.SetSize(2, 2);
    for (auto& [what, bytes] : bad) {
        EXPECT_THROW(b.LoadFromBytes(bytes), EInvalidGraphic) << what;
        EXPECT_EQ(b.Width(), 2) << what;
    }
    // An index past a short palette shows black instead of reading beyond it.
    TBitmap shortPalette;
    shortPalette.LoadFromBytes(MakeBmp({2, 1, 8, false, {0xFFFFFF}}, {0, 200}));
    EXPECT_EQ(shortPalette.Surface()->Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(shortPalette.Surface()->Pixel(1, 0), 0u);
}

TEST(BitmapHandle, TakesOverAndReleasesHandles) {
    std::size_t before = LiveGdiObjectCount();
    {
        TBitmap b;
        EXPECT_TRUE(b.Empty());
        EXPECT_EQ(b.Handle(), nullptr);
        HBITMAP first = CreateBitmap(3, 2);
        b.SetHandle(first);
        EXPECT_EQ(b.Width(), 3);
        EXPECT_EQ(b.Height(), 2);
        HBITMAP second = CreateBitmap(5, 5);
        b.SetHandle(second); // frees the first
        EXPECT_FALSE(IsLiveGdiObject(first));
        EXPECT_EQ(b.Width(), 5);
        b.SetHandle(nullptr);
        EXPECT_FALSE(IsLiveGdiObject(second));
        EXPECT_TRUE(b.Empty());
        EXPECT_THROW(b.SetHandle(second), EInvalidGraphic); // a dead handle is refused

        HBITMAP third = CreateBitmap(1, 1);
        b.SetHandle(third);
        EXPECT_EQ(b.ReleaseHandle(), third);
        EXPECT_TRUE(b.Empty());
        EXPECT_TRUE(DeleteObject(third));
        b.SetSize(4, 4); // dies with b
    }
    EXPECT_EQ(LiveGdiObjectCount(), before);
}

TEST(BitmapHandle, CanvasFollowsTheHandle) {
    TBitmap b;
    b.SetSize(2, 2);
    TCanvas* c = b.Canvas();
    c->SetPixel(0, 0, clRed);
    EXPECT_EQ(b.Surface()->Pixel(0, 0), 0x0000FFu);
    b.SetHandle(CreateBitmap(3, 3));
    c->SetPixel(2, 2, clBlue);
    EXPECT_EQ(b.Surface()->Pixel(2, 2), 0xFF0000u);
    b.SetSize(4, 2); // resize keeps the pixels that stay
    EXPECT_EQ(b.Surface()->Pixel(0, 0), 0xFFFFFFu);
    c->SetPixel(3, 1, clLime);
    EXPECT_EQ(b.Surface()->Pixel(3, 1), 0x00FF00u);
    b.SetHandle(nullptr);
    c->SetPixel(0, 0, clRed); // nothing to draw on: harmless
}

TEST(BitmapAssign, CopiesPixelsIndependently) {
    TBitmap a;
    a.SetSize(2, 2);
    a.Canvas()->SetPixel(1, 1, clRed);
    TBitmap b;
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(*b.Surface(), *a.Surface());
    EXPECT_NE(b.Handle(), a.Handle());
    a.Canvas()->SetPixel(0, 0, clBlue);
    EXPECT_EQ(b.Surface()->Pixel(0, 0), 0xFFFFFFu);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(a.TransparentColor(), TColor(0xFFFFFF)); // lower-left pixel
}

TEST(BitmapData, StoredFormRoundTrips) {
    TBitmap a;
    a.SetSize(3, 2);
    a.Canvas()->SetPixel(2, 0, clRed);
    String data = a.Data();
    ASSERT_GT(data.size(), 4u);
    TBitmap b;
    b.SetData(data);
    EXPECT_EQ(*b.Surface(), *a.Surface());
    EXPECT_THROW(b.SetData(data.substr(0, data.size() - 1)), EInvalidGraphic);
    EXPECT_THROW(b.SetData("abc"), EInvalidGraphic);
    b.SetData("");
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(TBitmap().Data(), "");
}
