// The data-aware edit's own painting while unfocused over a right-aligned or
// centred field, read back from the pixels, and its golden screenshots.

#include "DBDateFixture.h"

#include <framework/graphics/Bitmap.h>
#include <gtest/gtest.h>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

// Where the text's ink lies in a painted client area (black pixels inside Inner).
struct TInk {
    int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1;
};

class Painting : public DBDateFixture {
protected:
    void SetUp() override {
        DBDateFixture::SetUp();
        fw::Ui::Tab(); // unfocused: the edit paints itself
        ASSERT_FALSE(edit->FocusedState());
    }

    // Paints the edit through a paint message that brings its own device context
    // (a bitmap's), on a fuchsia ground so that untouched pixels show.
    void Paint() {
        image.SetSize(edit->ClientWidth(), edit->ClientHeight());
        fw::TCanvas* Canvas = image.Canvas();
        Canvas->Brush()->SetColor(fw::clFuchsia);
        Canvas->FillRect(fw::Rect(0, 0, image.Width(), image.Height()));
        edit->Perform(fw::WM_PAINT, reinterpret_cast<fw::WPARAM>(Canvas->Handle()));
    }
    TInk Ink(int Inset) {
        TInk I;
        for (int Y = Inset; Y < image.Height() - Inset; ++Y)
            for (int X = Inset; X < image.Width() - Inset; ++X)
                if (image.Canvas()->Pixel(X, Y) == fw::clBlack) {
                    I.Left = std::min(I.Left, X);
                    I.Right = std::max(I.Right, X);
                    I.Top = std::min(I.Top, Y);
                    I.Bottom = std::max(I.Bottom, Y);
                }
        return I;
    }

    fw::TBitmap image;
};

TEST_F(Painting, RightAlignedTextSitsAtTheMarginInsideTheFrame) {
    ASSERT_EQ(edit->TextMargin(), 3);
    Paint();
    const int W = image.Width(), H = image.Height();
    for (const fw::TPoint P :
         {fw::Point(0, 0), fw::Point(W - 1, 0), fw::Point(0, H - 1), fw::Point(W - 1, H - 1)})
        EXPECT_EQ(image.Canvas()->Pixel(P.X, P.Y), fw::clBlack) << "the frame at " << P.X << "," << P.Y;
    EXPECT_EQ(image.Canvas()->Pixel(1, H - 2), fw::clWhite) << "the inside is filled with Color";
    const TInk Framed = Ink(1);
    const int FramedWidth = image.Width();
    // Without a frame the rectangle is the client area and the margin 0: the text
    // ends 4 pixels nearer the right edge (1 frame + 3 margin) and sits 3 higher.
    edit->SetBorderStyle(fw::bsNone);
    Paint();
    const TInk Bare = Ink(0);
    EXPECT_EQ(FramedWidth - 1 - Framed.Right, image.Width() - 1 - Bare.Right + 4);
    EXPECT_EQ(Framed.Top, Bare.Top + 3);
    EXPECT_GE(Bare.Right, image.Width() - 2) << "flush with the right edge";
    EXPECT_NE(image.Canvas()->Pixel(0, 0), fw::clBlack) << "no frame";
}

TEST_F(Painting, CentredTextIsCentredOnTheSameAxisWithAndWithoutFrame) {
    Born()->SetAlignment(fw::taCenter);
    dataSet->Next(); // the edit reads the field's alignment on a data change
    dataSet->Prior();
    ASSERT_EQ(edit->FieldAlignment(), fw::taCenter);
    Paint();
    const TInk Framed = Ink(1);
    edit->SetBorderStyle(fw::bsNone);
    Paint();
    const TInk Bare = Ink(0);
    // (R.Left + R.Right - W) div 2: the client area is 4 pixels wider without the
    // sunken border, so the text moves 2 pixels right.
    EXPECT_EQ(Framed.Left + 2, Bare.Left);
    EXPECT_EQ(Framed.Top, Bare.Top + 3);
    EXPECT_LE(std::abs(Bare.Left + Bare.Right - (image.Width() - 1)), 3);
}

TEST_F(Painting, TheFocusedEditAndLeftAlignedFieldsArePaintedByThePlatform) {
    EXPECT_TRUE(edit->HasPaintCanvas());
    fw::Ui::ShiftTab();
    edit->SetSelLength(0);
    Paint();
    EXPECT_LE(Ink(1).Left, 3) << "focused: left-aligned by the platform edit";
    // A left-aligned field or none: never a canvas of its own.
    for (const char* Field : {"name", ""}) {
        auto* Other = new qz::TQzDBDateEdit(form.get());
        Other->SetParent(form.get());
        Other->SetBounds(140, 8, 121, 20);
        Other->SetDataSource(dataSource);
        Other->SetDataField(Field);
        Other->Repaint();
        EXPECT_GT(Other->PaintCount(), 0);
        EXPECT_FALSE(Other->HasPaintCanvas()) << Field;
    }
}

TEST_F(Painting, APaintMessageWithItsOwnContextLeavesTheUpdateRegionAlone) {
    edit->Invalidate();
    Paint();
    EXPECT_FALSE(edit->UpdateRect().IsEmpty()) << "no BeginPaint validated it";
    fw::Ui::Pump();
    EXPECT_TRUE(edit->UpdateRect().IsEmpty());
}

TEST_F(Painting, TheMarginIsAQuarterOfTheSmallerTextHeight) {
    // The system font's tmHeight is 16.
    const struct {
        int Height;
        int Margin;
    } Rows[] = {{40, 4}, {-8, 3}};
    for (const auto& Row : Rows) {
        edit->Font()->SetHeight(Row.Height);
        EXPECT_EQ(edit->TextMargin(), Row.Margin) << Row.Height;
    }
}

TEST_F(Painting, GoldenScreenshots) {
    form->SetBorderStyle(fw::bsNone);
    form->SetColor(fw::clBtnFace);
    form->SetBounds(0, 0, 137, 36);
    other->SetLeft(200);
    // The drop button would hide the right end of the text.
    edit->SetCalendarEnabled(false);
    const struct {
        const char* State;
        std::function<void()> Set;
    } Rows[] = {
        {"right-unfocused", [] {}},
        {"centre-unfocused",
         [&] {
             Born()->SetAlignment(fw::taCenter);
             dataSet->Next();
             dataSet->Prior();
         }},
        {"bsnone", [&] { edit->SetBorderStyle(fw::bsNone); }},
        {"password",
         [&] {
             edit->SetBorderStyle(fw::bsSingle);
             edit->SetPasswordChar('*');
         }},
    };
    for (const auto& Row : Rows) {
        Row.Set();
        fw::Ui::Pump();
        EXPECT_GOLDEN(fw::Ui::FormImage(form.get()), "dbdate", Row.State);
    }
}

} // namespace
} // namespace qztest
