// Fonts and text: metrics of the default form font and the system font, measuring, DrawTextA's
// layout rules, the glyph cache, and golden images of each alignment in regular and bold.

#include "../support/Golden.h"
#include "Painter.h"

#include <framework/graphics/FontEngine.h>
#include <framework/platform/Rects.h>
#include <framework/platform/Text.h>
#include <gtest/gtest.h>

using namespace fw;
using qztest::Painter;

namespace {

// The popup's form font: Charset DEFAULT_CHARSET, Color clBlack, Height -8, "MS Sans Serif".
void UseFormFont(TCanvas& canvas) {
    canvas.Font()->SetName("MS Sans Serif");
    canvas.Font()->SetHeight(-8);
    canvas.Font()->SetColor(clBlack);
    canvas.Font()->SetStyle({});
}

// Bounding box of the pixels that differ from the background.
TRect InkBox(const TSurface& s, TPixel background) {
    TRect box{s.Width(), s.Height(), -1, -1};
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.Pixel(x, y) != background) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

} // namespace

TEST(TextMetrics, DefaultFormFontIs13HighAnd5Wide) {
    Painter p(10, 10);
    UseFormFont(p.Canvas);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(p.Canvas.Handle(), &tm));
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAveCharWidth, 5);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(tm.tmInternalLeading, 2); // an 11-pixel em in a 13-pixel cell
    EXPECT_EQ(tm.tmWeight, 400);
    EXPECT_EQ(p.Canvas.TextHeight("Xy"), 13);

    p.Canvas.Font()->SetStyle({fsBold});
    ASSERT_TRUE(GetTextMetricsA(p.Canvas.Handle(), &tm));
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmWeight, 700);
}

TEST(TextMetrics, ScreenContextCarriesTheSystemFontOf16) {
    HDC dc = GetDC(0);
    ASSERT_NE(dc, nullptr);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 16);

    // Selecting a control font and back, as a text margin is measured.
    TFont font;
    font.SetHeight(-8);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 13);
    SelectObject(dc, old);
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(ReleaseDC(0, dc), 1);
}

TEST(TextMetrics, DialogFontSnapsToItsClassicSizes) {
    struct Row {
        int Height;
        int Em;
    };
    for (Row row : {Row{-8, 11}, Row{-11, 11}, Row{-12, 11}, Row{-13, 13}, Row{-15, 13}, Row{-16, 16},
                    Row{-40, 32}, Row{13, 11}}) {
        EXPECT_EQ(ResolveEmPixels({"MS Sans Serif", row.Height, false, false}), row.Em) << row.Height;
    }
    // Other faces take the size they are asked for.
    EXPECT_EQ(ResolveEmPixels({"Liberation Serif", -12, false, false}), 12);
    EXPECT_EQ(ResolveEmPixels({"ms sans serif", -12, false, false}), 11); // names ignore case
}

TEST(TextMeasure, WidthsAddUpAndBoldIsWider) {
    Painter p(10, 10);
    UseFormFont(p.Canvas);
    int w12 = p.Canvas.TextWidth("12");
    EXPECT_EQ(w12, 2 * p.Canvas.TextWidth("1"));
    EXPECT_EQ(p.Canvas.TextWidth("12 "), w12 + p.Canvas.TextWidth(" "));
    EXPECT_EQ(p.Canvas.TextWidth(""), 0);
    int regular = p.Canvas.TextWidth("January 2025");
    p.Canvas.Font()->SetStyle({fsBold});
    EXPECT_GT(p.Canvas.TextWidth("January 2025"), regular);
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(p.Canvas.Handle(), "January 2025", -1, &size));
    EXPECT_EQ(size.cx, p.Canvas.TextWidth("January 2025"));
    EXPECT_EQ(size.cy, 13);
}

TEST(TextCache, DrawingADayNumberAgainRasterisesNothing) {
    Painter p(40, 20, clBtnFace);
    UseFormFont(p.Canvas);
    TFontInstance& font = p.Canvas.Font()->Handle()->Instance();
    TRect cell{0, 0, 24, 17};
    DrawTextA(p.Canvas.Handle(), "28 ", -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    int rendered = font.RenderCount();
    for (int i = 0; i < 100; ++i)
        DrawTextA(p.Canvas.Handle(), "28 ", -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    EXPECT_EQ(font.RenderCount(), rendered);
}

TEST(DrawText, FlagValuesAreTheClassicOnes) {
    EXPECT_EQ(DT_SINGLELINE | DT_VCENTER | DT_RIGHT, 0x26u);
    EXPECT_EQ(DT_SINGLELINE | DT_CENTER, 0x21u);
}

TEST(DrawText, AlignmentPlacesTheTextInTheRectangle) {
    const TPixel face = RGB(192, 192, 192);
    auto inkOf = [&](unsigned flags) {
        Painter p(60, 30, clBtnFace);
        UseFormFont(p.Canvas);
        p.Canvas.Brush()->SetColor(clBtnFace);
        TRect r{10, 5, 50, 25};
        DrawTextA(p.Canvas.Handle(), "88", -1, &r, flags);
        return InkBox(p.Surface, face);
    };
    int width = [] {
        Painter p(1, 1);
        UseFormFont(p.Canvas);
        return p.Canvas.TextWidth("88");
    }();
    TRect left = inkOf(DT_SINGLELINE);
    TRect right = inkOf(DT_SINGLELINE | DT_RIGHT);
    TRect centre = inkOf(DT_SINGLELINE | DT_CENTER);
    EXPECT_EQ(right.Left - left.Left, 40 - width);
    EXPECT_EQ(centre.Left - left.Left, (40 - width) / 2);
    TRect top = inkOf(DT_SINGLELINE | DT_TOP);
    TRect middle = inkOf(DT_SINGLELINE | DT_VCENTER);
    TRect bottom = inkOf(DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(middle.Top - top.Top, (20 - 13) / 2);
    EXPECT_EQ(bottom.Top - top.Top, 20 - 13);
    EXPECT_GE(left.Left, 10);
    EXPECT_LE(bottom.Bottom, 25);
}

TEST(DrawText, OpaqueModeFillsTheCellTransparentModeDoesNot) {
    Painter p(40, 20, clWhite);
    UseFormFont(p.Canvas);
    p.Canvas.Brush()->SetColor(clYellow);
    TRect r{0, 0, 40, 20};
    DrawTextA(p.Canvas.Handle(), "ab", -1, &r, DT_SINGLELINE);
    EXPECT_EQ(p.At(0, 0), ColorToRGB(clYellow)); // inside the text cell
    EXPECT_EQ(p.At(0, 15), ColorToRGB(clWhite)); // below the 13-pixel cell

    Painter q(40, 20, clWhite);
    UseFormFont(q.Canvas);
    q.Canvas.Brush()->SetStyle(bsClear);
    DrawTextA(q.Canvas.Handle(), "ab", -1, &r, DT_SINGLELINE);
    EXPECT_EQ(q.At(0, 0), ColorToRGB(clWhite));
    EXPECT_EQ(GetBkMode(q.Canvas.Handle()), int(TRANSPARENT));
}

TEST(DrawText, CalcRectMeasuresLinesWithoutDrawing) {
    Painter p(100, 60);
    UseFormFont(p.Canvas);
    TRect r{5, 5, 100, 60};
    int h = DrawTextA(p.Canvas.Handle(), "one\r\nlonger line\nx", -1, &r, DT_CALCRECT);
    EXPECT_EQ(h, 3 * 13);
    EXPECT_EQ(r, Rect(5, 5, 5 + p.Canvas.TextWidth("longer line"), 5 + 39));
    EXPECT_EQ(InkBox(p.Surface, 0xFFFFFF).Right, -1);

    // Word breaks keep each line inside the width; a word longer than the line stands alone.
    TRect narrow{0, 0, p.Canvas.TextWidth("one two"), 0};
    h = DrawTextA(p.Canvas.Handle(), "one two three fourfivesix", -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h, 3 * 13);
    EXPECT_EQ(narrow.Right, p.Canvas.TextWidth("fourfivesix"));

    // Single line: line breaks are not breaks.
    TRect single{0, 0, 0, 0};
    EXPECT_EQ(DrawTextA(p.Canvas.Handle(), "a\nb", -1, &single, DT_CALCRECT | DT_SINGLELINE), 13);
}

TEST(DrawText, PrefixesUnderlineAndDoubleAmpersandIsOne) {
    Painter p(10, 10);
    UseFormFont(p.Canvas);
    TRect a{0, 0, 0, 0};
    DrawTextA(p.Canvas.Handle(), "&File && more", -1, &a, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(a.Right, p.Canvas.TextWidth("File & more"));
    TRect b{0, 0, 0, 0};
    DrawTextA(p.Canvas.Handle(), "&File && more", -1, &b, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(b.Right, p.Canvas.TextWidth("&File && more"));

    // The underline sits under the prefixed character only.
    Painter q(60, 16, clWhite);
    UseFormFont(q.Canvas);
    TRect r{0, 0, 60, 16};
    DrawTextA(q.Canvas.Handle(), "a&bc", -1, &r, DT_SINGLELINE);
    int ax = q.Canvas.TextWidth("a");
    int bx = q.Canvas.TextWidth("ab");
    int underlineRow = 10 + 1; // the ascent, then one row below the baseline
    EXPECT_EQ(q.At(ax, underlineRow), 0u);
    EXPECT_EQ(q.At(bx - 1, underlineRow), 0u);
    EXPECT_EQ(q.At(ax - 1, underlineRow), 0xFFFFFFu);
    EXPECT_EQ(q.At(bx + 1, underlineRow), 0xFFFFFFu);
}

TEST(TextRect, FillsTheRectangleAndClipsTheText) {
    Painter p(40, 20, clWhite);
    UseFormFont(p.Canvas);
    p.Canvas.Brush()->SetColor(clBtnFace);
    TRect r{5, 2, 20, 15};
    p.Canvas.TextRect(r, 8, 3, "WWWWWWWW");
    EXPECT_EQ(p.At(5, 2), RGB(192, 192, 192));
    EXPECT_EQ(p.At(19, 14), RGB(192, 192, 192));
    TRect ink = InkBox(p.Surface, 0xFFFFFF);
    EXPECT_EQ(ink, r); // nothing outside the rectangle
}

TEST(GraphicsGolden, TextInEachAlignmentRegularAndBold) {
    const unsigned horizontal[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    const unsigned vertical[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    Painter p(2 * 3 * 60 + 10, 3 * 28 + 4, clBtnFace);
    UseFormFont(p.Canvas);
    p.Canvas.Brush()->SetColor(clBtnFace);
    for (int bold = 0; bold < 2; ++bold) {
        p.Canvas.Font()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
        for (int v = 0; v < 3; ++v)
            for (int h = 0; h < 3; ++h) {
                TRect cell{2 + (bold * 3 + h) * 60 + bold * 6, 2 + v * 28, 0, 0};
                cell.Right = cell.Left + 58;
                cell.Bottom = cell.Top + 26;
                p.Canvas.Brush()->SetColor(clWhite);
                p.Canvas.FrameRect(cell);
                InflateRect(&cell, -1, -1);
                p.Canvas.Brush()->SetColor(clBtnFace);
                DrawTextA(p.Canvas.Handle(), "Mo 28", -1, &cell, DT_SINGLELINE | horizontal[h] | vertical[v]);
            }
    }
    EXPECT_GOLDEN(p.Surface, "graphics", "text_alignments");
}

TEST(GraphicsGolden, TextFeatures) {
    Painter p(200, 80, clWindow);
    UseFormFont(p.Canvas);
    p.Canvas.Brush()->SetColor(clWindow);
    TRect r{4, 2, 196, 16};
    DrawTextA(p.Canvas.Handle(), "&Version 5.0 && more", -1, &r, DT_SINGLELINE);
    r = {4, 18, 90, 78};
    p.Canvas.Font()->SetColor(clGrayText);
    DrawTextA(p.Canvas.Handle(), "'%s' is not a valid date!", -1, &r, DT_WORDBREAK | DT_NOPREFIX);
    p.Canvas.Font()->SetColor(clRed);
    p.Canvas.Font()->SetStyle({fsUnderline});
    p.Canvas.TextOut(100, 20, "Underlined");
    p.Canvas.Font()->SetStyle({fsItalic, fsStrikeOut});
    p.Canvas.TextOut(100, 36, "Italic struck");
    p.Canvas.Font()->SetStyle({});
    p.Canvas.Font()->SetColor(clBlack);
    p.Canvas.Font()->SetHeight(-13);
    p.Canvas.TextOut(100, 52, "Larger 13");
    EXPECT_GOLDEN(p.Surface, "graphics", "text_features");
}
