// The package's design-time registration: the palette page, the DateFormat editor and the
// component editor, as the designer sees them through the registries.

#include <QzComponents5/QzModule.h>
#include <QzComponents5/QzRegister.h>
#include <Qzde/QzDateControls.h>
#include <Qzled/Qzled.h>
#include <RegQz/RegQz.h>
#include <algorithm>
#include <framework/backends/headless/Automation.h>
#include <framework/classes/TypInfo.h>
#include <framework/designer/Palette.h>
#include <framework/forms/Form.h>
#include <framework/graphics/Bitmap.h>
#include <framework/resources/ResourceModule.h>
#include <framework/resources/Resources.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/SysUtils.h>
#include <memory>
#include <tests/support/UiFixture.h>

namespace {

using namespace fw;

class RegQzTest : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        ClearPalette();
        ClearPropertyEditors();
        ClearComponentEditors();
        qz::RegisterPackageClasses();
        qz::Register();
        form = std::make_unique<TForm>(nullptr);
    }
    void TearDown() override {
        form.reset();
        ClearPalette();
        ClearPropertyEditors();
        ClearComponentEditors();
        UiFixture::TearDown();
    }
    qz::TQzDateEdit* DateEdit(const String& format) {
        auto* e = new qz::TQzDateEdit(form.get());
        e->SetDateFormat(format);
        return e;
    }
    static std::vector<String> Values(TPropertyEditor& editor) {
        std::vector<String> values;
        editor.GetValues([&](const String& s) { values.push_back(s); });
        return values;
    }

    std::unique_ptr<TForm> form;
};

TEST_F(RegQzTest, PalettePageHoldsTheComponentsInOrderWithTheirImages) {
    ASSERT_EQ(PalettePages().size(), 1u);
    const TPalettePage* page = FindPalettePage("QzComponents");
    ASSERT_NE(page, nullptr);
    std::vector<String> names;
    for (const TClassInfo* cls : page->Classes)
        names.push_back(cls->Name);
    EXPECT_EQ(names, (std::vector<String>{"TQzCalendar", "TQzDateEdit", "TQzDBDateEdit", "TQzDBDateText",
                                          "TQzLED"}));

    // 24 x 24 images named after the classes: 16 colours for the date components, 256 for the lamp.
    for (const TClassInfo* cls : page->Classes) {
        SCOPED_TRACE(cls->Name);
        TBitmap image;
        image.SetHandle(LoadPaletteBitmap(cls));
        EXPECT_EQ(image.Width(), 24);
        EXPECT_EQ(image.Height(), 24);
        const TResourceBytes* bytes = qz::HInstance()->FindBitmap(UpperCase(cls->Name));
        ASSERT_NE(bytes, nullptr);
        const int bitsPerPixel = (*bytes)[28] | (*bytes)[29] << 8;
        EXPECT_EQ(bitsPerPixel, cls->Name == "TQzLED" ? 8 : 4);
    }
}

TEST_F(RegQzTest, DateFormatListsTheTwelveLayoutsInTableOrderWhateverTheValue) {
    const std::vector<String> table = {"yyyy/mm/dd", "yyyy/mm/d", "yyyy/m/dd", "yyyy/m/d",
                                       "dd/mm/yyyy", "d/mm/yyyy", "dd/m/yyyy", "d/m/yyyy",
                                       "mm/dd/yyyy", "mm/d/yyyy", "m/dd/yyyy", "m/d/yyyy"};
    for (const char* current : {"dd/mm/yyyy", "m/d/yyyy", "yyyy/m/d"}) {
        SCOPED_TRACE(current);
        auto editor = GetPropertyEditor({DateEdit(current)}, "DateFormat");
        ASSERT_TRUE(dynamic_cast<qz::TQzDateFormatProperty*>(editor.get()));
        EXPECT_EQ(editor->GetValue(), current);
        EXPECT_EQ(Values(*editor), table);
        EXPECT_EQ(editor->GetAttributes().Bits(), 0x0059u);
    }
}

TEST_F(RegQzTest, DateFormatAllEqualOverOneAndTwoSelections) {
    struct Row {
        std::vector<String> formats;
        bool allEqual;
    };
    for (const Row& row :
         {Row{{"d/m/yyyy"}, true}, Row{{"dd/mm/yyyy", "dd/mm/yyyy"}, true},
          Row{{"dd/mm/yyyy", "d/m/yyyy"}, false}, Row{{"dd/mm/yyyy", "dd/mm/yyyy", "d/m/yyyy"}, false}}) {
        std::vector<TObject*> selection;
        for (const String& f : row.formats)
            selection.push_back(DateEdit(f));
        auto editor = GetPropertyEditor(selection, "DateFormat");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->AllEqual(), row.allEqual) << row.formats.size() << " selected";
    }
}

TEST_F(RegQzTest, ChosenValueGoesThroughEverySelectedSetter) {
    auto* a = DateEdit("dd/mm/yyyy");
    auto* b = DateEdit("d/m/yyyy");
    auto editor = GetPropertyEditor({a, b}, "DateFormat");
    editor->SetValue("yyyy/mm/dd");
    EXPECT_EQ(a->DateFormat(), "yyyy/mm/dd");
    EXPECT_EQ(b->DateFormat(), "yyyy/mm/dd");
    EXPECT_TRUE(editor->AllEqual());
    editor->SetValue("not a layout"); // the setter ignores what it does not accept
    EXPECT_EQ(a->DateFormat(), "yyyy/mm/dd");

    // The data-aware label shares the editor, so a mixed selection is offered it too.
    auto* label = new qz::TQzDBDateText(form.get());
    auto mixed = GetPropertyEditor({a, label}, "DateFormat");
    ASSERT_TRUE(dynamic_cast<qz::TQzDateFormatProperty*>(mixed.get()));
    mixed->SetValue("m/d/yyyy");
    EXPECT_EQ(label->DateFormat(), "m/d/yyyy");
}

TEST_F(RegQzTest, DateLimitsAreEditedAsYearMonthDayText) {
    auto* Edit = DateEdit("dd/mm/yyyy");
    auto* Calendar = new qz::TQzCalendar(form.get());
    auto Editor = GetPropertyEditor({Edit, Calendar}, "MinDate");
    ASSERT_TRUE(dynamic_cast<qz::TQzDateLimitProperty*>(Editor.get()));
    EXPECT_EQ(Editor->GetValue(), "") << "no limit";
    Editor->SetValue("2026/03/10");
    EXPECT_EQ(Edit->MinDate(), EncodeDate(2026, 3, 10));
    EXPECT_EQ(Calendar->MinDate(), EncodeDate(2026, 3, 10));
    EXPECT_EQ(Editor->GetValue(), "2026/03/10");
    for (const char* Bad : {"2026/02/30", "10/03/2026x", "tomorrow"})
        EXPECT_THROW(Editor->SetValue(Bad), EPropertyError) << Bad;
    EXPECT_EQ(Edit->MinDate(), EncodeDate(2026, 3, 10)) << "a refused text changes nothing";
    Editor->SetValue("");
    EXPECT_EQ(Calendar->MinDate(), 0);
}

TEST_F(RegQzTest, EveryComponentHasTheVersionVerbShowingTheAboutBox) {
    std::vector<TComponent*> components = {new qz::TQzCalendar(form.get()), DateEdit("dd/mm/yyyy"),
                                           new qz::TQzDBDateEdit(form.get()),
                                           new qz::TQzDBDateText(form.get()), new qz::TQzLED(form.get())};
    for (TComponent* c : components) {
        SCOPED_TRACE(c->ClassName());
        auto editor = GetComponentEditor(c);
        ASSERT_TRUE(dynamic_cast<qz::TQzComponentEditor*>(editor.get()));
        EXPECT_EQ(editor->GetVerbCount(), 1);
        EXPECT_EQ(editor->GetVerb(0), "&Version 5.0");
        EXPECT_EQ(editor->GetVerb(7), "&Version 5.0");
        // The verb and the double-click action (Edit) show the same box, with one OK button.
        for (bool viaEdit : {false, true}) {
            String caption, text;
            Ui::OnNextModal([&](TForm*) {
                caption = Ui::MessageBoxCaption();
                text = Ui::MessageBoxText();
                Ui::PressButton("OK");
            });
            viaEdit ? editor->Edit() : editor->ExecuteVerb(0);
            EXPECT_EQ(caption, "About Qz Components");
            EXPECT_EQ(text.substr(0, text.find('\r', text.find('\r') + 1)),
                      "Qz Components \rVersion 5.0 (25-Apr-2002)");
            EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 7);
            EXPECT_EQ(text.find('\n'), String::npos);
        }
    }
}

} // namespace
