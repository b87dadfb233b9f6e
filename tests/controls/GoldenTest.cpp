// Golden images of the standard controls: an edit with a selection, a label,
// bit buttons with a two-frame glyph (enabled, disabled, pressed) and with a
// one-frame glyph (disabled: embossed).

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/forms/Form.h>
#include <memory>
#include <tests/support/Golden.h>
#include <tests/support/UiFixture.h>

namespace fw {
namespace {

// Two 11 x 10 frames side by side on a white ground: a black downward
// triangle, then the same shape greyed with a white highlight.
std::unique_ptr<TBitmap> TwoFrameGlyph() {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(22, 10);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect({0, 0, 22, 10});
    for (int row = 0; row < 5; ++row)
        for (int x = row; x < 9 - row; ++x) {
            c->SetPixel(1 + x, 3 + row, clBlack);
            c->SetPixel(11 + 1 + x + 1, 3 + row + 1, clWhite);
            c->SetPixel(11 + 1 + x, 3 + row, clGray);
        }
    return bmp;
}

std::unique_ptr<TBitmap> OneFrameGlyph() {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(10, 10);
    TCanvas* c = bmp->Canvas();
    c->Brush()->SetColor(clFuchsia); // transparent: the lower-left pixel
    c->FillRect({0, 0, 10, 10});
    c->Brush()->SetColor(clNavy);
    c->FillRect({2, 2, 8, 8});
    c->Brush()->SetColor(clRed);
    c->FillRect({4, 4, 6, 6});
    return bmp;
}

class ControlsGoldenTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsDialog);
        form->SetCaption("Controls");
        form->SetBounds(0, 0, 260, 150);

        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(8, 8, 121, 21);
        edit->SetText("31/12/2003");

        label = new TLabel(form.get());
        label->SetParent(form.get());
        label->SetBounds(140, 12, 60, 17);
        label->SetCaption("&Date:");

        auto two = TwoFrameGlyph();
        enabledButton = new TBitBtn(form.get());
        enabledButton->SetParent(form.get());
        enabledButton->SetBounds(8, 40, 75, 25);
        enabledButton->SetCaption("Open");
        enabledButton->SetGlyph(two.get());
        enabledButton->SetNumGlyphs(2);

        disabledButton = new TBitBtn(form.get());
        disabledButton->SetParent(form.get());
        disabledButton->SetBounds(90, 40, 75, 25);
        disabledButton->SetCaption("Open");
        disabledButton->SetGlyph(two.get());
        disabledButton->SetNumGlyphs(2);
        disabledButton->SetEnabled(false);

        auto one = OneFrameGlyph();
        embossed = new TBitBtn(form.get());
        embossed->SetParent(form.get());
        embossed->SetBounds(172, 40, 25, 25);
        embossed->SetGlyph(one.get());
        embossed->SetEnabled(false);

        plain = new TBitBtn(form.get());
        plain->SetParent(form.get());
        plain->SetBounds(202, 40, 25, 25);
        plain->SetGlyph(one.get());
        plain->SetTabStop(false);

        form->Show();
        edit->SetSelStart(3);
        edit->SetSelLength(2);
        Ui::Pump();
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    std::unique_ptr<TForm> form;
    TEdit* edit = nullptr;
    TLabel* label = nullptr;
    TBitBtn* enabledButton = nullptr;
    TBitBtn* disabledButton = nullptr;
    TBitBtn* embossed = nullptr;
    TBitBtn* plain = nullptr;
};

TEST_F(ControlsGoldenTest, EditLabelAndBitButtons) {
    ASSERT_TRUE(edit->Focused());
    EXPECT_EQ(enabledButton->Glyph()->Width(), 22); // the button keeps its own copy
    EXPECT_GOLDEN(Ui::FormImage(form.get()), "controls", "edit_label_bitbtn");
}

TEST_F(ControlsGoldenTest, PressedBitButton) {
    Ui::MouseDown(enabledButton, 10, 10);
    ASSERT_TRUE(enabledButton->Pressed());
    EXPECT_GOLDEN(Ui::FormImage(form.get()), "controls", "bitbtn_pressed");
    int clicks = 0;
    enabledButton->OnClick = [&](TObject*) { ++clicks; };
    Ui::MouseUp(enabledButton, 10, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(enabledButton->Pressed());
}

TEST_F(ControlsGoldenTest, ReleaseOutsideTheButtonDoesNotClick) {
    int clicks = 0;
    plain->OnClick = [&](TObject*) { ++clicks; };
    Ui::MouseDown(plain, 5, 5);
    Ui::MouseMove(plain, 50, 5);
    EXPECT_FALSE(plain->Pressed());
    Ui::MouseUp(plain, 50, 5);
    EXPECT_EQ(clicks, 0);
    Ui::Click(embossed); // disabled: nothing happens
    EXPECT_TRUE(plain->Focused());
}

} // namespace
} // namespace fw
