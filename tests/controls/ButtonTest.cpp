// Push buttons in a form: Default and Cancel answer Enter and Escape, Space
// clicks the focused button, a ModalResult ends the modal loop; the glyph
// frames a bit button shows in each state.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>
#include <vector>

namespace fw {
namespace {

class ButtonTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 120);
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        okButton = new TButton(form.get());
        okButton->SetParent(form.get());
        okButton->SetBounds(10, 40, 75, 25);
        okButton->SetDefault(true);
        okButton->OnClick = [this](TObject*) { log.push_back("ok"); };
        cancelButton = new TButton(form.get());
        cancelButton->SetParent(form.get());
        cancelButton->SetBounds(90, 40, 75, 25);
        cancelButton->SetCancel(true);
        cancelButton->OnClick = [this](TObject*) { log.push_back("cancel"); };
        form->Show();
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    std::unique_ptr<TForm> form;
    TEdit* edit = nullptr;
    TButton* okButton = nullptr;
    TButton* cancelButton = nullptr;
    std::vector<std::string> log;
};

TEST_F(ButtonTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
    ASSERT_TRUE(edit->Focused());
    Ui::PressKey(VK_RETURN);
    Ui::PressKey(VK_ESCAPE);
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel"}));
    EXPECT_EQ(edit->Text(), ""); // used as dialog keys: no characters
}

TEST_F(ButtonTest, EnterPressesTheFocusedButtonAndSpaceToo) {
    cancelButton->SetFocus();
    Ui::PressKey(VK_RETURN);
    Ui::PressKey(VK_SPACE);
    EXPECT_EQ(log, (std::vector<std::string>{"cancel", "cancel"}));
}

TEST_F(ButtonTest, DisabledDefaultButtonIgnoresEnter) {
    okButton->SetEnabled(false);
    Ui::PressKey(VK_RETURN);
    EXPECT_TRUE(log.empty());
    Ui::Click(okButton);
    EXPECT_TRUE(log.empty());
}

TEST_F(ButtonTest, ModalResultOfAButtonEndsTheModalLoop) {
    TForm dialog(nullptr);
    auto* yes = new TButton(&dialog);
    yes->SetParent(&dialog);
    yes->SetCaption("&Yes");
    yes->SetModalResult(mrYes);
    Ui::OnNextModal([](TForm*) { Ui::PressButton("&Yes"); });
    EXPECT_EQ(dialog.ShowModal(), mrYes);
}

TEST_F(ButtonTest, TabOrderCanBeRearranged) {
    okButton->SetTabOrder(0);
    EXPECT_EQ(okButton->TabOrder(), 0);
    EXPECT_EQ(edit->TabOrder(), 1);
    EXPECT_EQ(cancelButton->TabOrder(), 2);
    cancelButton->SetTabOrder(0);
    std::vector<TWinControl*> order;
    form->GetTabOrderList(order);
    EXPECT_EQ(order, (std::vector<TWinControl*>{cancelButton, okButton, edit}));
    cancelButton->SetTabOrder(99); // clamped to the last place
    EXPECT_EQ(cancelButton->TabOrder(), 2);
}

// The frame a bit button draws: a glyph whose frames are solid red, green,
// blue and yellow squares shows the matching colour at its centre.
class GlyphFrameTest : public test::UiFixture {
protected:
    TColor CentreAfter(int numGlyphs, bool enabled, bool pressed) {
        TForm form(nullptr);
        form.SetBorderStyle(bsNone);
        form.SetBounds(0, 0, 100, 60);
        auto* b = new TBitBtn(&form);
        b->SetParent(&form);
        b->SetBounds(10, 10, 40, 40);
        b->SetTabStop(false);
        TBitmap glyph;
        glyph.SetSize(8 * numGlyphs, 8);
        const TColor colours[] = {clRed, clGreen, clBlue, clYellow};
        for (int i = 0; i < numGlyphs; ++i) {
            glyph.Canvas()->Brush()->SetColor(colours[i]);
            glyph.Canvas()->FillRect({8 * i, 0, 8 * i + 8, 8});
        }
        glyph.Canvas()->SetPixel(0, 7, clWhite); // the transparent colour
        b->SetGlyph(&glyph);
        b->SetNumGlyphs(numGlyphs);
        b->SetEnabled(enabled);
        form.Show();
        if (pressed) Ui::MouseDown(b, 20, 20);
        const TColor c = Ui::FormImage(&form).Pixel(10 + 20 + (pressed ? 1 : 0), 10 + 20 + (pressed ? 1 : 0));
        if (pressed) Ui::MouseUp(b, 20, 20);
        return c;
    }
};

TEST_F(GlyphFrameTest, EachStateShowsItsFrame) {
    EXPECT_EQ(CentreAfter(1, true, false), ColorToRGB(clRed));
    EXPECT_EQ(CentreAfter(2, true, false), ColorToRGB(clRed));
    EXPECT_EQ(CentreAfter(2, false, false), ColorToRGB(clGreen));
    EXPECT_EQ(CentreAfter(3, true, true), ColorToRGB(clBlue));
    EXPECT_EQ(CentreAfter(2, true, true), ColorToRGB(clRed));         // no clicked frame: the up frame
    EXPECT_EQ(CentreAfter(1, false, false), ColorToRGB(clBtnShadow)); // embossed
}

TEST_F(GlyphFrameTest, NumGlyphsIsClampedAndTheGlyphCopied) {
    TBitBtn b(nullptr);
    b.SetNumGlyphs(0);
    EXPECT_EQ(b.NumGlyphs(), 1);
    b.SetNumGlyphs(9);
    EXPECT_EQ(b.NumGlyphs(), 4);
    TBitmap glyph;
    glyph.SetSize(3, 3);
    b.SetGlyph(&glyph);
    glyph.SetSize(5, 5);
    EXPECT_EQ(b.Glyph()->Width(), 3);
}

class LabelTest : public test::UiFixture {};

TEST_F(LabelTest, AutoSizeFollowsTheTextAndGetLabelTextIsPainted) {
    class TUpperLabel : public TLabel {
    public:
        using TLabel::TLabel;
        String GetLabelText() const override { return "WIDE WIDE WIDE"; }
    };
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("ab");
    const int narrow = label->Width();
    label->SetCaption("a much longer caption");
    EXPECT_GT(label->Width(), narrow);
    EXPECT_EQ(label->Height(), 13);
    label->SetAutoSize(false);
    label->SetCaption("x");
    EXPECT_GT(label->Width(), narrow);

    auto* wide = new TUpperLabel(&form);
    wide->SetParent(&form);
    wide->SetCaption("x");
    EXPECT_GT(wide->Width(), narrow); // measured from GetLabelText
}

TEST_F(LabelTest, RightAlignedAutoSizeKeepsTheRightEdge) {
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetAlignment(taRightJustify);
    label->SetCaption("ab");
    label->SetLeft(100);
    const int right = label->Left() + label->Width();
    label->SetCaption("abcdef");
    EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(LabelTest, OpaqueLabelFillsItsColourAndTransparentShowsTheParent) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetColor(clAqua);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 40, 20);
    label->SetColor(clYellow);
    form.Show();
    EXPECT_EQ(Ui::FormImage(&form).Pixel(38, 18), ColorToRGB(clYellow));
    label->SetTransparent(true);
    EXPECT_EQ(Ui::FormImage(&form).Pixel(38, 18), ColorToRGB(clAqua));
    label->SetParentColor(true);
    EXPECT_EQ(label->Color(), clAqua);
}

} // namespace
} // namespace fw
