// Golden screenshots of the date edit: a date with each built-in glyph, enabled
// and disabled, and a custom three-frame glyph (up, disabled, pressed).

#include "DateEditFixture.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

// Two date edits showing 25/12/2003 with the same glyph: enabled on top,
// disabled below.
class GlyphScreenshots : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<fw::TForm>(nullptr);
        form->SetBorderStyle(fw::bsNone);
        form->SetBounds(0, 0, 137, 64);
        form->SetColor(fw::clBtnFace);
        for (int I = 0; I < 2; ++I) {
            edits[I] = new qz::TQzDateEdit(form.get());
            edits[I]->SetParent(form.get());
            edits[I]->SetBounds(8, 8 + 28 * I, 121, 20);
            edits[I]->SetDate(fw::EncodeDate(2003, 12, 25));
            // Nothing takes the focus: no caret or selection in the pictures.
            edits[I]->SetTabStop(false);
        }
        edits[1]->SetEnabled(false);
        form->Show();
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    std::unique_ptr<fw::TForm> form;
    qz::TQzDateEdit* edits[2] = {};
};

TEST_F(GlyphScreenshots, EachBuiltInGlyph) {
    const struct {
        qz::TGlyphTypes Type;
        const char* State;
    } Rows[] = {{qz::gtNone, "none"},           {qz::gtEllipsis, "ellipsis"},
                {qz::gtDropArrow, "droparrow"}, {qz::gtDropArrowSml, "droparrowsml"},
                {qz::gtCalendar1, "calendar1"}, {qz::gtCalendar2, "calendar2"},
                {qz::gtCalendar3, "calendar3"}};
    for (const auto& Row : Rows) {
        for (auto* Edit : edits)
            Edit->SetGlyphType(Row.Type);
        EXPECT_GOLDEN(fw::Ui::FormImage(form.get()), "dateedit", Row.State);
    }
}

TEST_F(GlyphScreenshots, ACustomThreeFrameGlyph) {
    // Three 11 x 11 frames on white (the transparent colour): a blue diamond, its
    // grey disabled copy, and a red pressed one.
    fw::TBitmap Picture;
    Picture.SetSize(33, 11);
    fw::TCanvas* Canvas = Picture.Canvas();
    Canvas->Brush()->SetColor(fw::clWhite);
    Canvas->FillRect(fw::Rect(0, 0, 33, 11));
    const fw::TColor Colors[3] = {fw::clBlue, fw::clGray, fw::clRed};
    for (int Frame = 0; Frame < 3; ++Frame)
        for (int Y = 0; Y < 11; ++Y)
            for (int X = 0; X < 11; ++X)
                if (std::abs(X - 5) + std::abs(Y - 5) <= 4)
                    Canvas->SetPixel(Frame * 11 + X, Y, Colors[Frame]);
    for (auto* Edit : edits) {
        Edit->SetGlyph(&Picture);
        Edit->SetGlyphNum(3);
    }
    EXPECT_GOLDEN(fw::Ui::FormImage(form.get()), "dateedit", "custom3");
    // Held down, the button shows the third frame.
    qz::TQzCalendarButton* Button = edits[0]->CalendarButton();
    fw::Ui::MouseDown(Button, 8, 8);
    EXPECT_GOLDEN(fw::Ui::FormImage(form.get()), "dateedit", "custom3-pressed");
    // Released outside: no click, no calendar.
    int Opened = 0;
    edits[0]->OnOpenCalendar = [&](fw::TObject*) { ++Opened; };
    fw::Ui::MouseUp(Button, 40, 40);
    EXPECT_EQ(Opened, 0);
}

} // namespace
} // namespace qztest
