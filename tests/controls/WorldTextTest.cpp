// Controls showing text in several languages: labels in German, French, Russian and Greek
// (one with an accelerator on a Cyrillic letter, one bold) under a Greek form caption.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Label.h>
#include <framework/forms/Form.h>
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

} // namespace
} // namespace fw
