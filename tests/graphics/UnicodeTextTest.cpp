// Text beyond ASCII: UTF-8 is read as characters, each drawn and measured as one glyph; bytes
// that are not UTF-8 keep their Western code page meaning; a character the face lacks comes from
// a fallback face, looked for once.

#include "Painter.h"

#include <framework/graphics/FontEngine.h>
#include <framework/platform/Text.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace fw;
using qztest::Painter;

namespace {

TFontInstance& FormFont(int height = -8) {
    return GetFontInstance({"MS Sans Serif", height, false, false});
}

// The pixels of a text drawn alone in black on white, row by row.
std::vector<TPixel> Ink(std::string_view text, int height = -8) {
    Painter p(40, 24, clWhite);
    p.Canvas.Font()->SetName("MS Sans Serif");
    p.Canvas.Font()->SetHeight(height);
    p.Canvas.Brush()->SetStyle(bsClear);
    p.Canvas.TextOut(2, 2, text);
    std::vector<TPixel> pixels;
    for (int y = 0; y < p.Surface.Height(); ++y)
        for (int x = 0; x < p.Surface.Width(); ++x)
            pixels.push_back(p.At(x, y));
    return pixels;
}

} // namespace

TEST(UnicodeText, CharactersAreDecodedOnceAndMeasuredAsOneGlyph) {
    struct Row {
        const char* Text;
        char32_t Char;
    };
    TFontInstance& font = FormFont();
    for (Row row : {
             Row{"\xC3\xBC", U'\u00FC'},     // ü
             Row{"\xC5\x93", U'\u0153'},     // œ
             Row{"\xD0\x96", U'\u0416'},     // Ж
             Row{"\xCE\xA9", U'\u03A9'},     // Ω
             Row{"\xE2\x82\xAC", U'\u20AC'}, // €
             Row{"\xE9", U'\u00E9'},         // a lone byte: é of the Western code page
             Row{"\x80", U'\u20AC'},         // ... and its euro sign
         }) {
        SCOPED_TRACE(row.Text);
        EXPECT_TRUE(font.HasGlyph(row.Char)); // in the form font's own face
        EXPECT_GT(font.Glyph(row.Char).Advance, 0);
        EXPECT_EQ(font.TextWidth(row.Text), font.Glyph(row.Char).Advance);
        const std::string twice = std::string(row.Text) + row.Text;
        EXPECT_EQ(font.TextWidth(twice), 2 * font.Glyph(row.Char).Advance);
    }
    // The old reading of each byte as a character would draw a different picture.
    EXPECT_NE(Ink("\xD0\x96"), Ink("\xC3\x90\xE2\x80\x93")); // Ж, not Ð and an en dash
    EXPECT_EQ(Ink("\xE9"), Ink("\xC3\xA9"));
}

TEST(UnicodeText, PrefixUnderlinesTheWholeMultiByteCharacter) {
    Painter p(60, 16, clWhite);
    p.Canvas.Font()->SetName("MS Sans Serif");
    p.Canvas.Font()->SetHeight(-8);
    TRect r{0, 0, 60, 16};
    DrawTextA(p.Canvas.Handle(), "a&\xD0\x96z", -1, &r, DT_SINGLELINE); // a, underlined Ж, z
    const int from = p.Canvas.TextWidth("a");
    const int to = p.Canvas.TextWidth("a\xD0\x96");
    const int row = 10 + 1; // the ascent, then one row below the baseline
    EXPECT_EQ(p.At(from - 1, row), 0xFFFFFFu);
    EXPECT_EQ(p.At(from, row), 0u);
    EXPECT_EQ(p.At(to - 1, row), 0u);
    EXPECT_EQ(p.At(to + 1, row), 0xFFFFFFu);
}

TEST(UnicodeText, MissingCharacterComesFromAFallbackFaceFoundOnce) {
    const char32_t georgian = U'\u10D0';        // not in the Liberation faces
    const char* const text = "\xE1\x83\x90";    // the same, in UTF-8
    const char* const nowhere = "\xEF\xBF\xBF"; // U+FFFF: no face has it
    TFontInstance& small = FormFont(-8);
    TFontInstance& large = FormFont(-16);
    ASSERT_FALSE(small.HasGlyph(georgian));

    const int before = FallbackSearchCount();
    const std::vector<TPixel> fallback = Ink(text);
    if (fallback == Ink(nowhere))
        GTEST_SKIP() << "no installed face has U+10D0 (scripts/bootstrap installs fonts-dejavu-core)";
    EXPECT_NE(fallback, Ink(""));
    EXPECT_GT(small.TextWidth(text), 0);
    EXPECT_GT(large.TextWidth(text), small.TextWidth(text));
    // One search for the face (U+10D0 and U+FFFF), whatever the size and however often drawn.
    const int searches = FallbackSearchCount() - before;
    EXPECT_EQ(searches, 2);
    Ink(text, -16);
    Ink(text);
    EXPECT_EQ(FallbackSearchCount() - before, searches);
}

TEST(UnicodeText, ControlCharactersShowNothing) {
    TFontInstance& font = FormFont();
    EXPECT_EQ(font.TextWidth("a\tb\x7F\xC2\x85"), font.TextWidth("ab"));
    EXPECT_EQ(Ink("\x01\x1F"), Ink(""));
}
