// Controls showing and taking text in several languages: labels in German, French, Russian and
// Greek under a Greek caption; an edit typed into, measured, clicked and selected character by
// character, whatever each character's length in UTF-8.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Clipboard.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/forms/Form.h>
#include <framework/graphics/Bitmap.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Text.h>
#include <framework/rtl/Utf8.h>
#include <memory>
#include <tests/support/Golden.h>
#include <tests/support/UiFixture.h>

namespace fw {
namespace {

class WorldTextTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsDialog);
        form->SetBounds(0, 0, 300, 140);
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    TLabel* AddLabel(int top, const String& caption) {
        auto* label = new TLabel(form.get());
        label->SetParent(form.get());
        label->SetLeft(8);
        label->SetTop(top);
        label->SetCaption(caption);
        return label;
    }

    std::unique_ptr<TForm> form;
};

TEST_F(WorldTextTest, LabelsInFourLanguages) {
    form->SetCaption("\xCE\x93\xCE\xBB\xCF\x8E\xCF\x83\xCF\x83\xCE\xB5\xCF\x82"); // Γλώσσες
    AddLabel(8, "Gr\xC3\xBC\xC3\x9F"
                "e aus K\xC3\xB6ln: \xC3\x84pfel, \xC3\x96l, \xC3\x9C"
                "berma\xC3\x9F"); // Grüße aus Köln: Äpfel, Öl, Übermaß
    AddLabel(28, "\xC3\x89l\xC3\xA8ve, gar\xC3\xA7on, o\xC3\xB9, No\xC3\xAB"
                 "l, c\xC5\x93ur, \xC3\xA0 b\xC3\xA2tons"); // Élève, garçon, où, Noël, cœur, à bâtons
    AddLabel(48, "&\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB: \xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C "
                 "\xD0\xB6\xD0\xB5 \xD0\xB5\xD1\x89\xD1\x91 \xD1\x8D\xD1\x82\xD0\xB8\xD1\x85 "
                 "\xD0\xB1\xD1\x83\xD0\xBB\xD0\xBE\xD0\xBA"); // &Файл: Съешь же ещё этих булок
    TLabel* greek =
        AddLabel(68, "\xCE\x9E\xCE\xB5\xCF\x83\xCE\xBA\xCE\xB5\xCF\x80\xCE\xAC\xCE\xB6\xCF\x89 "
                     "\xCF\x84\xCE\xB7\xCE\xBD \xCF\x88\xCF\x85\xCF\x87\xCE\xAE"); // Ξεσκεπάζω την ψυχή
    greek->Font()->SetStyle({fsBold});
    form->Show();
    Ui::Pump();
    EXPECT_GOLDEN(Ui::FormImage(form.get()), "controls", "labels_four_languages");
}

class WorldEditTest : public WorldTextTest {
protected:
    void SetUp() override {
        WorldTextTest::SetUp();
        form->SetCaption("Edit");
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(8, 8, 200, 21);
        form->Show();
        edit->SetFocus();
        Ui::Pump();
    }

    // The client x of the boundary before byte index of the edit's text.
    int XOf(std::size_t index) {
        TBitmap bmp;
        bmp.Canvas()->Font()->Assign(edit->Font());
        return 1 + bmp.Canvas()->TextWidth(edit->Text().substr(0, index));
    }

    TEdit* edit = nullptr;
};

// a é Ж € 😀 z: characters of one to four bytes.
const String Mixed = "a\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80z";

TEST_F(WorldEditTest, TypedCharactersArriveWholeAndGoWhole) {
    std::vector<Char> pressed;
    edit->OnKeyPress = [&](TObject*, Char& key) { pressed.push_back(key); };
    Ui::TypeText(Mixed);
    EXPECT_EQ(edit->Text(), Mixed);
    EXPECT_EQ(pressed, (std::vector<Char>{U'a', U'\u00E9', U'\u0416', U'\u20AC', U'\U0001F600', U'z'}));
    EXPECT_EQ(edit->SelStart(), static_cast<int>(Mixed.size()));
    Ui::PressKey(VK_LEFT);
    Ui::PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "a\xC3\xA9\xD0\x96\xE2\x82\xACz");

    // A handler may put another character of any length in place of the typed one.
    edit->OnKeyPress = [](TObject*, Char& key) { key = key == U'o' ? U'\u00F6' : key; };
    edit->SetText("");
    Ui::TypeText("Ol");
    EXPECT_EQ(edit->Text(), "O\x6C");
    Ui::TypeText("o");
    EXPECT_EQ(edit->Text(), "Ol\xC3\xB6");
}

TEST_F(WorldEditTest, MaxLengthAndPasswordCountCharacters) {
    edit->SetMaxLength(3);
    Ui::TypeText("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F"); // äöüß
    EXPECT_EQ(edit->Text(), "\xC3\xA4\xC3\xB6\xC3\xBC");
    edit->SetText("");
    Clipboard().SetAsText("\xD0\x96\xD0\x96\xD0\x96\xD0\x96");
    Ui::TypeText("x");
    Ui::PressKey('V', {ssCtrl});
    EXPECT_EQ(edit->Text(), "x\xD0\x96\xD0\x96"); // cut after a whole character

    edit->SetMaxLength(0);
    edit->SetText(Mixed);
    edit->SetPasswordChar('*');
    // One star a character: a click just after the third star is after Ж.
    TBitmap bmp;
    bmp.Canvas()->Font()->Assign(edit->Font());
    Ui::Click(edit, 1 + 3 * bmp.Canvas()->TextWidth("*") + 1, 10);
    EXPECT_EQ(edit->SelStart(), 5);
    edit->SetSelStart(1);
    edit->SetSelLength(2); // inside é: the selection takes the whole character
    EXPECT_EQ(edit->SelText(), "\xC3\xA9");
}

TEST_F(WorldEditTest, ClicksAndDragsLandOnCharacterBoundaries) {
    edit->SetText(Mixed);
    const std::size_t euro = 5, grin = 8; // byte offsets of € and 😀
    // A click anywhere inside a character puts the caret on one of its edges.
    for (int x = XOf(euro); x <= XOf(grin); ++x) {
        Ui::Wait(1000); // not a double click
        Ui::Click(edit, x, 10);
        const int at = edit->SelStart();
        EXPECT_TRUE(at == static_cast<int>(euro) || at == static_cast<int>(grin)) << x << " gave " << at;
    }
    Ui::MouseDown(edit, XOf(1) + 1, 10);
    Ui::MouseMove(edit, XOf(grin) - 1, 10);
    Ui::MouseUp(edit, XOf(grin) - 1, 10);
    EXPECT_EQ(edit->SelText(), "\xC3\xA9\xD0\x96\xE2\x82\xAC"); // éЖ€
}

TEST_F(WorldEditTest, SelectionInsideMultiByteText) {
    edit->SetText("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5 "
                  "Gr\xC3\xBC\xC3\x9F"
                  "e"); // Привет κόσμε Grüße
    Ui::PressKey(VK_HOME);
    for (int i = 0; i < 3; ++i)
        Ui::PressKey(VK_RIGHT);
    for (int i = 0; i < 7; ++i)
        Ui::PressKey(VK_RIGHT, {ssShift});
    EXPECT_EQ(edit->SelText(), "\xD0\xB2\xD0\xB5\xD1\x82 \xCE\xBA\xCF\x8C\xCF\x83"); // вет κόσ
    EXPECT_GOLDEN(Ui::FormImage(form.get()), "controls", "edit_selection_multibyte");
}

} // namespace
} // namespace fw
