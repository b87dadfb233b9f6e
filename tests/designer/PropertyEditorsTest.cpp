// The property editor registry and the kinds' own editors, over the framework's classes.

#include <Qzde/QzDateControls.h>
#include <algorithm>
#include <framework/classes/TypInfo.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/designer/PropertyEditors.h>
#include <framework/forms/Form.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace fw;

class TEditorA : public TStringProperty {};
class TEditorB : public TStringProperty {};
class TEditorC : public TStringProperty {};

struct TRecordingDesigner : IDesigner {
    TComponent* root = nullptr;
    int modified = 0;
    TComponent* Root() const override { return root; }
    void Modified() override { ++modified; }
};

class PropertyEditorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearPropertyEditors();
        form = std::make_unique<TForm>(nullptr);
        form->SetName("Form1");
        designer.root = form.get();
        edit = new TEdit(form.get());
        edit->SetName("Edit1");
        dateEdit = new qz::TQzDateEdit(form.get());
        dateEdit->SetName("DateEdit1");
        label = new TLabel(form.get());
        label->SetName("Label1");
    }
    void TearDown() override { ClearPropertyEditors(); }

    template <typename E>
    bool EditorIs(TObject* obj, const String& prop) {
        return dynamic_cast<E*>(GetPropertyEditor({obj}, prop).get()) != nullptr;
    }

    std::unique_ptr<TForm> form;
    TRecordingDesigner designer;
    TEdit* edit = nullptr;
    qz::TQzDateEdit* dateEdit = nullptr;
    TLabel* label = nullptr;
};

TEST_F(PropertyEditorsTest, MostSpecificRegistrationWins) {
    const TPropertyType str{TTypeKind::String};
    RegisterPropertyEditor<TEditorB>(str, qz::TQzDateEdit::StaticClass(), "DateFormat"); // specific, first
    RegisterPropertyEditor<TEditorA>(str, nullptr, "");              // every string, later
    RegisterPropertyEditor<TEditorC>(str, TEdit::StaticClass(), ""); // strings of edits

    EXPECT_TRUE(EditorIs<TEditorB>(dateEdit, "DateFormat")); // a name beats a later, wider one
    EXPECT_TRUE(EditorIs<TEditorC>(dateEdit, "Text"));       // the nearer class beats "any class"
    EXPECT_TRUE(EditorIs<TEditorC>(edit, "Text"));
    EXPECT_TRUE(EditorIs<TEditorA>(label, "Caption"));
    EXPECT_TRUE(EditorIs<TIntegerProperty>(edit, "MaxLength")); // another kind keeps its own editor

    RegisterPropertyEditor<TEditorA>(str, TEdit::StaticClass(), ""); // same specificity, later: wins
    EXPECT_TRUE(EditorIs<TEditorA>(edit, "Text"));
}

TEST_F(PropertyEditorsTest, KindEditorsShowAndParseValues) {
    struct Row {
        TObject* obj;
        String prop, text, shown;
        bool raises;
    };
    const Row rows[] = {
        {edit, "Text", "hello", "hello", false},
        {edit, "MaxLength", "12", "12", false},
        {edit, "MaxLength", "$10", "16", false},
        {edit, "MaxLength", "twelve", "16", true},
        {edit, "CharCase", "ecUpperCase", "ecUpperCase", false},
        {edit, "CharCase", "ecShouting", "ecUpperCase", true},
        {edit, "ReadOnly", "true", "True", false},
        {edit, "ReadOnly", "yes", "True", true},
        {edit, "Color", "clRed", "clRed", false},
        {edit, "Color", "$00123456", "$00123456", false},
        {edit, "Font.Height", "-13", "-13", false},
        {edit, "Font.Style", "[fsBold]", "[fsBold]", false},
        {edit, "PopupMenu", "Label1", "Label1", false},
        {edit, "PopupMenu", "Nobody", "Label1", true},
        {edit, "PopupMenu", "", "", false},
        {dateEdit, "CuspYear", "100000000000", "0", true},
        {edit, "PasswordChar", "*", "*", false},
        {edit, "PasswordChar", "#8226", "\u2022", false},
        {edit, "PasswordChar", "42", "\u2022", true}, // two characters, not a code
        {edit, "PasswordChar", "#9", "#9", false},
        {edit, "PasswordChar", "", "#0", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.prop + " = " + row.text);
        auto editor = GetPropertyEditor({row.obj}, row.prop, &designer);
        ASSERT_NE(editor, nullptr);
        const int before = designer.modified;
        if (row.raises) {
            EXPECT_THROW(editor->SetValue(row.text), EPropertyError);
            EXPECT_EQ(designer.modified, before);
        } else {
            editor->SetValue(row.text);
            EXPECT_EQ(designer.modified, before + 1);
        }
        if (row.prop != "CuspYear") {
            EXPECT_EQ(editor->GetValue(), row.shown);
        }
    }
}

TEST_F(PropertyEditorsTest, ValueListsAndNestedObjects) {
    auto values = [&](TObject* obj, const String& prop) {
        std::vector<String> list;
        GetPropertyEditor({obj}, prop, &designer)->GetValues([&](const String& s) { list.push_back(s); });
        return list;
    };
    EXPECT_EQ(values(edit, "ReadOnly"), (std::vector<String>{"False", "True"}));
    EXPECT_EQ(values(edit, "CharCase"), (std::vector<String>{"ecNormal", "ecUpperCase", "ecLowerCase"}));
    const auto colours = values(edit, "Color");
    EXPECT_NE(std::find(colours.begin(), colours.end(), "clBtnFace"), colours.end());
    EXPECT_EQ(values(edit, "PopupMenu"), (std::vector<String>{"Edit1", "DateEdit1", "Label1"}));

    auto font = GetPropertyEditor({edit, label}, "Font");
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(dynamic_cast<TFontProperty*>(font.get()));
    EXPECT_EQ(font->GetValue(), "(TFont)");
    EXPECT_TRUE(font->GetAttributes().Contains(paSubProperties));
    std::vector<String> nested;
    font->GetProperties([&](std::unique_ptr<TPropertyEditor> e) { nested.push_back(e->GetName()); });
    EXPECT_NE(std::find(nested.begin(), nested.end(), "Height"), nested.end());
}

TEST_F(PropertyEditorsTest, SelectionSharesOnlyCommonProperties) {
    auto names = [&](std::vector<TObject*> selection) {
        std::vector<String> list;
        for (auto& e : GetComponentProperties(selection, &designer))
            list.push_back(e->GetName());
        return list;
    };
    const auto one = names({dateEdit});
    EXPECT_NE(std::find(one.begin(), one.end(), "DateFormat"), one.end());
    const auto both = names({edit, dateEdit});
    EXPECT_EQ(std::find(both.begin(), both.end(), "DateFormat"), both.end());
    EXPECT_NE(std::find(both.begin(), both.end(), "Text"), both.end());
    EXPECT_EQ(GetPropertyEditor({edit, label}, "Text"), nullptr); // the label has no Text

    // Different values: the editor says so, and a value set reaches both.
    edit->SetMaxLength(3);
    auto maxLength = GetPropertyEditor({edit, dateEdit}, "MaxLength", &designer);
    EXPECT_FALSE(maxLength->AllEqual());
    maxLength->SetValue("9");
    EXPECT_TRUE(maxLength->AllEqual());
    EXPECT_EQ(dateEdit->MaxLength(), 9);
}

} // namespace
