// Lines, rectangles, fills, frames, clipping and origins: the classic drawing rules, checked
// pixel by pixel and against golden images.

#include "../support/Golden.h"
#include "Painter.h"

#include <framework/graphics/Bitmap.h>
#include <gtest/gtest.h>

using namespace fw;
using qztest::Painter;

namespace {

constexpr TPixel White = 0xFFFFFF;
constexpr TPixel Black = 0x000000;

int CountPixels(const TSurface& s, TPixel value) {
    int n = 0;
    for (TPixel p : s.Pixels())
        n += p == value;
    return n;
}

} // namespace

TEST(Lines, EndPointIsNotDrawn) {
    Painter p(10, 10);
    p.Canvas.MoveTo(1, 2);
    p.Canvas.LineTo(6, 2);
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(p.At(x, 2), Black) << x;
    EXPECT_EQ(p.At(6, 2), White);
    EXPECT_EQ(p.At(0, 2), White);
    EXPECT_EQ(p.Canvas.PenPos(), Point(6, 2));

    p.Canvas.LineTo(6, 7); // vertical, continuing from the pen position
    for (int y = 2; y < 7; ++y)
        EXPECT_EQ(p.At(6, y), Black) << y;
    EXPECT_EQ(p.At(6, 7), White);
    EXPECT_EQ(CountPixels(p.Surface, Black), 10);
}

TEST(Lines, DiagonalsAndSlopesFollowBresenham) {
    Painter p(12, 12);
    p.Canvas.MoveTo(0, 0);
    p.Canvas.LineTo(4, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.At(i, i), Black);
    EXPECT_EQ(p.At(4, 4), White);

    // Backwards: from the far end, the start pixel is drawn and the end excluded.
    p.Canvas.MoveTo(11, 0);
    p.Canvas.LineTo(7, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.At(11 - i, i), Black);
    EXPECT_EQ(p.At(7, 4), White);

    // A shallow line takes exactly one pixel per column.
    Painter q(12, 6);
    q.Canvas.MoveTo(0, 0);
    q.Canvas.LineTo(10, 3);
    for (int x = 0; x < 10; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 6; ++y)
            inColumn += q.At(x, y) == Black;
        EXPECT_EQ(inColumn, 1) << x;
    }
    EXPECT_EQ(CountPixels(q.Surface, Black), 10);
}

// Straight lines in each direction and pen width, also running off the surface:
// exactly the pen's square at every point from the start up to the end.
TEST(Lines, StraightLinesCoverThePenSquareOfEachPointButTheEnd) {
    struct Case {
        TPoint From, To;
    };
    const Case Cases[] = {{{2, 5}, {9, 5}}, {{9, 5}, {2, 5}}, {{4, 1}, {4, 9}}, {{4, 9}, {4, 1}},
                          {{-3, 0}, {5, 0}}, {{11, 3}, {6, 3}}, {{5, 5}, {5, 5}}};
    for (const Case& c : Cases)
        for (int width = 1; width <= 3; ++width) {
            Painter p(11, 11);
            p.Canvas.Pen()->SetWidth(width);
            p.Canvas.MoveTo(c.From.X, c.From.Y);
            p.Canvas.LineTo(c.To.X, c.To.Y);
            TSurface expected(11, 11, White);
            const int dx = c.To.X > c.From.X ? 1 : c.To.X < c.From.X ? -1 : 0;
            const int dy = c.To.Y > c.From.Y ? 1 : c.To.Y < c.From.Y ? -1 : 0;
            for (TPoint at = c.From; at != c.To; at = {at.X + dx, at.Y + dy})
                expected.Fill({at.X - width / 2, at.Y - width / 2, at.X - width / 2 + width,
                               at.Y - width / 2 + width},
                              Black);
            EXPECT_EQ(p.Surface, expected) << c.From.X << "," << c.From.Y << " to " << c.To.X << ","
                                           << c.To.Y << " width " << width;
        }
}

TEST(Lines, ClearPenMovesWithoutDrawing) {
    Painter p(8, 8);
    p.Canvas.Pen()->SetStyle(psClear);
    p.Canvas.MoveTo(0, 0);
    p.Canvas.LineTo(7, 7);
    EXPECT_EQ(CountPixels(p.Surface, White), 64);
    EXPECT_EQ(p.Canvas.PenPos(), Point(7, 7));
}

TEST(Rectangles, OutlineWithPenInteriorWithBrushRightAndBottomExcluded) {
    Painter p(10, 10);
    p.Canvas.Pen()->SetColor(clRed);
    p.Canvas.Brush()->SetColor(clBlue);
    p.Canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(p.At(1, 1), ColorToRGB(clRed));
    EXPECT_EQ(p.At(5, 4), ColorToRGB(clRed));
    EXPECT_EQ(p.At(2, 2), ColorToRGB(clBlue));
    EXPECT_EQ(p.At(4, 3), ColorToRGB(clBlue));
    EXPECT_EQ(p.At(6, 1), White);
    EXPECT_EQ(p.At(1, 5), White);
    EXPECT_EQ(CountPixels(p.Surface, ColorToRGB(clRed)), 14);
    EXPECT_EQ(CountPixels(p.Surface, ColorToRGB(clBlue)), 6);
}

TEST(Rectangles, NullPenFillsOneLessAndClearBrushLeavesTheInside) {
    Painter p(10, 10);
    p.Canvas.Pen()->SetStyle(psClear);
    p.Canvas.Brush()->SetColor(clBlue);
    p.Canvas.Rectangle(0, 0, 5, 4);
    EXPECT_EQ(CountPixels(p.Surface, ColorToRGB(clBlue)), 4 * 3);

    Painter q(10, 10);
    q.Canvas.Brush()->SetStyle(bsClear);
    q.Canvas.Rectangle(0, 0, 5, 4);
    EXPECT_EQ(q.At(2, 2), White);
    EXPECT_EQ(CountPixels(q.Surface, Black), 14);
}

TEST(Rectangles, FillRectAndFrameRectUseTheBrush) {
    Painter p(10, 10);
    p.Canvas.Brush()->SetColor(clLime);
    p.Canvas.FillRect(Rect(2, 2, 5, 4));
    EXPECT_EQ(CountPixels(p.Surface, ColorToRGB(clLime)), 6);
    EXPECT_EQ(p.At(5, 3), White);

    p.Canvas.Brush()->SetColor(clWindowFrame);
    p.Canvas.FrameRect(Rect(0, 5, 4, 9));
    EXPECT_EQ(CountPixels(p.Surface, Black), 12);
    EXPECT_EQ(p.At(1, 6), White);
    EXPECT_EQ(p.At(3, 8), Black);

    // Empty and inverted rectangles draw nothing.
    p.Canvas.FillRect(Rect(8, 8, 8, 9));
    p.Canvas.FillRect(Rect(9, 9, 8, 8));
    EXPECT_EQ(p.At(8, 8), White);
}

TEST(Clipping, OriginAndClipKeepDrawingInsideTheControl) {
    // A control at (10, 5) of its form, 20 x 10, painting through its own context.
    TSurface form(40, 20, White);
    HDC dc = CreateSurfaceDC(&form, Point(10, 5), Rect(10, 5, 30, 15));
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clBlack);
    canvas.FillRect(Rect(-5, -5, 100, 100));
    EXPECT_EQ(CountPixels(form, Black), 20 * 10);
    EXPECT_EQ(form.Pixel(10, 5), Black);
    EXPECT_EQ(form.Pixel(9, 5), White);
    EXPECT_EQ(form.Pixel(30, 14), White);
    EXPECT_EQ(canvas.Pixel(0, 0), Black);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 20, 10));

    // A child's area taken out of the clip stays untouched.
    canvas.Brush()->SetColor(clRed);
    ExcludeClipRect(dc, 2, 2, 6, 6);
    canvas.FillRect(Rect(0, 0, 20, 10));
    EXPECT_EQ(form.Pixel(12, 7), Black);
    EXPECT_EQ(form.Pixel(11, 7), ColorToRGB(clRed));
    EXPECT_EQ(CountPixels(form, Black), 16);
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
}

TEST(Clipping, DrawingOffTheSurfaceIsSafe) {
    Painter p(5, 5);
    p.Canvas.MoveTo(-100, -100);
    p.Canvas.LineTo(100, 100);
    p.Canvas.Rectangle(-1000000, -1000000, 1000000, 1000000);
    p.Canvas.SetPixel(5, 5, clRed);
    p.Canvas.SetPixel(-1, 0, clRed);
    EXPECT_EQ(p.Canvas.Pixel(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(CountPixels(p.Surface, ColorToRGB(clRed)), 0);
}

TEST(Pixels, ReadBackAndSystemColoursResolve) {
    Painter p(4, 4);
    p.Canvas.SetPixel(1, 2, clBtnFace);
    EXPECT_EQ(p.Canvas.Pixel(1, 2), RGB(192, 192, 192));
    p.Canvas.SetPixel(2, 2, clRed);
    EXPECT_EQ(p.Canvas.Pixel(2, 2), 0x0000FFu);
    EXPECT_EQ(p.Surface.Pixel(2, 2), 0x0000FFu);
}

TEST(BrushCopy, PixelsOfTheColourTakeTheBrushColour) {
    TBitmap glyph;
    glyph.SetSize(4, 4); // white
    glyph.Canvas()->Brush()->SetColor(clBlack);
    glyph.Canvas()->FillRect(Rect(1, 1, 3, 3));
    Painter p(6, 6, clGray);
    p.Canvas.Brush()->SetColor(clBtnFace);
    p.Canvas.BrushCopy(Rect(1, 1, 5, 5), &glyph, Rect(0, 0, 4, 4), clWhite);
    EXPECT_EQ(p.At(1, 1), RGB(192, 192, 192));
    EXPECT_EQ(p.At(2, 2), Black);
    EXPECT_EQ(p.At(0, 0), ColorToRGB(clGray));
    EXPECT_EQ(CountPixels(p.Surface, Black), 4);
}

// ---------------------------------------------------------------- golden images

TEST(GraphicsGolden, LinesAtEdgesAndCorners) {
    Painter p(32, 24);
    p.Canvas.Pen()->SetColor(clBlack);
    p.Canvas.MoveTo(0, 0); // along the top edge, into the far corner
    p.Canvas.LineTo(32, 0);
    p.Canvas.MoveTo(31, 0); // down the right edge
    p.Canvas.LineTo(31, 24);
    p.Canvas.Pen()->SetColor(clRed);
    p.Canvas.MoveTo(2, 2); // the four diagonal directions
    p.Canvas.LineTo(12, 12);
    p.Canvas.MoveTo(22, 2);
    p.Canvas.LineTo(12, 12);
    p.Canvas.Pen()->SetColor(clBlue);
    p.Canvas.MoveTo(2, 22); // shallow and steep
    p.Canvas.LineTo(29, 15);
    p.Canvas.MoveTo(25, 3);
    p.Canvas.LineTo(28, 21);
    p.Canvas.Pen()->SetColor(clGreen);
    p.Canvas.MoveTo(-5, 23); // leaving the surface
    p.Canvas.LineTo(40, 23);
    p.Canvas.Pen()->SetStyle(psDot);
    p.Canvas.MoveTo(2, 18);
    p.Canvas.LineTo(20, 18);
    EXPECT_GOLDEN(p.Surface, "graphics", "lines");
}

TEST(GraphicsGolden, RectanglesAtEdgesAndCorners) {
    Painter p(32, 24, clTeal);
    p.Canvas.Pen()->SetColor(clBlack);
    p.Canvas.Brush()->SetColor(clYellow);
    p.Canvas.Rectangle(-3, -3, 6, 6);   // over the top-left corner
    p.Canvas.Rectangle(26, 18, 40, 40); // over the bottom-right corner
    p.Canvas.Rectangle(8, 2, 16, 9);
    p.Canvas.Pen()->SetStyle(psClear);
    p.Canvas.Rectangle(18, 2, 25, 9); // no pen: one pixel smaller
    p.Canvas.Pen()->SetStyle(psSolid);
    p.Canvas.Pen()->SetWidth(2);
    p.Canvas.Brush()->SetStyle(bsClear);
    p.Canvas.Rectangle(2, 11, 12, 21); // wide pen, no fill
    p.Canvas.Brush()->SetColor(clRed);
    p.Canvas.FrameRect(Rect(14, 12, 22, 20));
    p.Canvas.FillRect(Rect(16, 14, 20, 18));
    EXPECT_GOLDEN(p.Surface, "graphics", "rectangles");
}

TEST(GraphicsGolden, BevelledFrame) {
    const int W = 48, H = 32;
    Painter p(W, H, clWhite);
    p.Canvas.Pen()->SetStyle(psSolid);
    p.Canvas.Pen()->SetColor(clWindowFrame);
    p.Canvas.Pen()->SetWidth(1);
    p.Canvas.Brush()->SetColor(clBtnFace);
    p.Canvas.Rectangle(0, 0, W, H);
    p.Canvas.Pen()->SetColor(clBtnHighlight);
    p.Canvas.MoveTo(1, H - 2);
    p.Canvas.LineTo(1, 1);
    p.Canvas.LineTo(W - 2, 1);
    p.Canvas.Pen()->SetColor(clBtnShadow);
    p.Canvas.LineTo(W - 2, H - 2);
    p.Canvas.LineTo(1, H - 2);
    EXPECT_EQ(p.At(0, 0), Black);
    EXPECT_EQ(p.At(W - 1, H - 1), Black);
    EXPECT_EQ(p.At(1, 1), White);
    EXPECT_EQ(p.At(1, H - 2), White); // the highlight's first pixel; the shadow stops short of it
    EXPECT_EQ(p.At(W - 2, 1), RGB(128, 128, 128));
    EXPECT_EQ(p.At(W - 2, H - 2), RGB(128, 128, 128));
    EXPECT_EQ(p.At(5, 5), RGB(192, 192, 192));
    EXPECT_GOLDEN(p.Surface, "graphics", "bevel");
}

TEST(GraphicsGolden, BrushCopyOfATwoColourBitmap) {
    // A 17 x 17 arrow on white, as the popup's buttons are; copied at 1:1 from (0, 0, 16, 16)
    // and stretched to twice the size.
    TBitmap arrow;
    arrow.SetSize(17, 17);
    arrow.Canvas()->Pen()->SetColor(clBlack);
    for (int i = 0; i < 4; ++i) {
        arrow.Canvas()->MoveTo(6 + i, 8 - i);
        arrow.Canvas()->LineTo(6 + i, 9 + i);
    }
    Painter p(56, 36, clBtnFace);
    p.Canvas.Brush()->SetColor(clBtnFace);
    p.Canvas.BrushCopy(Rect(2, 2, 18, 18), &arrow, Rect(0, 0, 16, 16), clWhite);
    p.Canvas.Brush()->SetColor(clAqua);
    p.Canvas.BrushCopy(Rect(22, 2, 54, 34), &arrow, Rect(0, 0, 16, 16), clWhite);
    EXPECT_EQ(p.At(2, 2), RGB(192, 192, 192));
    EXPECT_EQ(p.At(22 + 2 * 6, 2 + 2 * 8), Black);
    EXPECT_GOLDEN(p.Surface, "graphics", "brushcopy");
}

TEST(Clipping, SaveAndRestoreReturnToTheSavedClipAndObjects) {
    Painter p(10, 10);
    HDC dc = p.Canvas.Handle();
    HGDIOBJ pen = dc->Pen();
    int level = SaveDC(dc);
    EXPECT_EQ(level, 1);
    IntersectClipRect(dc, 0, 0, 2, 2);
    SetViewportOrgEx(dc, 5, 5, nullptr);
    HBRUSH red = CreateSolidBrush(clRed);
    SelectObject(dc, red);
    EXPECT_EQ(SaveDC(dc), 2);
    DeleteObject(red); // freed while saved: comes back as the stock brush
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(dc->Brush(), StockWhiteBrush());
    EXPECT_TRUE(RestoreDC(dc, level));
    EXPECT_EQ(dc->Pen(), pen);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, Rect(0, 0, 10, 10));
    EXPECT_FALSE(RestoreDC(dc, 1)); // nothing saved any more
}
