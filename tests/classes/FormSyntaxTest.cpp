// The form-file syntax other applications write: lists, collections, string
// lists, inherited forms and frames, creation indexes, identifiers beyond
// ASCII, the lenient reader, and the one text encoding (UTF-8).

#include "TestClasses.h"

#include <framework/classes/FormText.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace {

using namespace test;
using fw::TComponent;

String ReadFile(const String& name) {
    std::ifstream in(String(QZ_SOURCE_DIR) + "/tests/classes/forms/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return String((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const char* const BaseForm = R"(object frmBase: TTestForm
  Caption = 'Base'
  Left = 5
  object btnOk: TWidget
    Caption = 'OK'
  end
end
)";

const char* const FrameResource = R"(object TestFrame: TTestFrame
  Top = 7
  object lblTitle: TWidget
    Caption = 'Frame title'
  end
end
)";

class FormSyntaxTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        fw::SetFormResourceLookup([](const fw::TClassInfo* cls) -> const String* {
            static const std::map<String, String> resources{{"TTestForm", BaseForm},
                                                            {"TTestFrame", FrameResource},
                                                            {"TResourceForm", TResourceForm::Resource}};
            auto it = resources.find(cls->Name);
            return it == resources.end() ? nullptr : &it->second;
        });
    }
    void TearDown() override {
        fw::SetFormResourceLookup(nullptr);
        EXPECT_EQ(TWidget::Live, 0);
    }
};

TEST_F(FormSyntaxTest, ListsCollectionsAndStringLists) {
    auto root = RoundTrip(ReadFile("lists.dfm"));
    auto* grid = dynamic_cast<TGrid*>(root->FindComponent("grid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Lines()->List(),
              (std::vector<String>{"first line", "second 'quoted' line", "joined across lines", ""}));
    ASSERT_EQ(grid->Columns()->Count(), 3);
    auto* first = static_cast<TColumn*>(grid->Columns()->Items(0));
    EXPECT_EQ(first->Title, "Name");
    EXPECT_EQ(first->Width, 120);
    auto* second = static_cast<TColumn*>(grid->Columns()->Items(1));
    EXPECT_EQ(second->Width, 64);
    ASSERT_EQ(second->Buttons->Count(), 1);
    EXPECT_EQ(static_cast<TColumn*>(second->Buttons->Items(0))->Title, "inner");
    auto* empty = dynamic_cast<TGrid*>(root->FindComponent("empty"));
    EXPECT_EQ(empty->Lines()->Count(), 0);
    EXPECT_EQ(empty->Columns()->Count(), 0);

    const String written = fw::WriteComponentToText(root.get());
    EXPECT_NE(written.find("    Lines.Strings = (\n      'first line'\n"), String::npos) << written;
    EXPECT_NE(
        written.find("    Columns = <\n      item\n        Width = 120\n        Title = 'Name'\n      end"),
        String::npos)
        << written;                                                 // declaration order, whatever the file's
    EXPECT_EQ(written.find("Title = ''"), String::npos) << written; // defaults left out

    // Lists of numbers and nested lists parse; they fit no property here.
    const auto parsed = fw::ParseFormValue("( 1014 37 ( 'a' ) () )");
    const fw::TFormValue& list = *parsed;
    ASSERT_EQ(list.Kind, fw::TFormValueKind::List);
    ASSERT_EQ(list.List.size(), 4u);
    EXPECT_EQ(list.List[1].Int, 37);
    EXPECT_EQ(list.List[2].List[0].Text, "a");
    EXPECT_TRUE(list.List[3].List.empty());
}

TEST_F(FormSyntaxTest, InheritedFormsAndFramesReadTheirAncestorsFirst) {
    TDerivedForm form(nullptr);
    fw::ReadRootFromText(&form, ReadFile("inherited.dfm"));
    EXPECT_EQ(form.Name(), "frmDerived");
    EXPECT_EQ(form.Caption, "Derived");
    EXPECT_EQ(form.Left, 5); // from the ancestor's file
    ASSERT_NE(form.btnOk, nullptr);
    EXPECT_EQ(form.btnOk->Caption, "Changed by the derived form");
    EXPECT_EQ(form.ComponentCount(), 3); // btnOk, extra, frame1: nothing made twice
    auto* frame = dynamic_cast<TTestFrame*>(form.FindComponent("frame1"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Left, 40);
    EXPECT_EQ(frame->Top, 7); // from the frame's own resource
    auto* title = dynamic_cast<TWidget*>(frame->FindComponent("lblTitle"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Caption, "Set in the form");
    const auto tree = fw::ParseFormText(ReadFile("inherited.dfm"));
    EXPECT_EQ(tree->Kind, fw::TFormObjectKind::Inherited);
    EXPECT_EQ(tree->Children[1].Index, 2);
    EXPECT_EQ(tree->Children[2].Kind, fw::TFormObjectKind::Inline);
}

// A form reads its own resource when it is made, so its text is read over
// that: values the file sets back to their defaults are written all the same.
TEST_F(FormSyntaxTest, AFormWithItsOwnResourceWritesWhereItDiffersFromIt) {
    auto root = RoundTrip("object frmRes: TResourceForm\n  Caption = ''\n  object tmr: TTicker\n"
                          "    Interval = 1000\n    Enabled = False\n  end\nend\n");
    EXPECT_EQ(static_cast<TWidget*>(root.get())->Caption, "");
    const String written = fw::WriteComponentToText(root.get());
    EXPECT_NE(written.find("  Caption = ''\n"), String::npos) << written;
    EXPECT_NE(written.find("    Interval = 1000\n    Enabled = False\n"), String::npos) << written;
}

TEST_F(FormSyntaxTest, IdentifiersAndTextBeyondAscii) {
    auto root = RoundTrip(ReadFile("unicode.dfm"));
    EXPECT_EQ(root->Name(), "frmÜbersicht");
    auto* open = dynamic_cast<TWidget*>(root->FindComponent("btnÖffnen"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->Caption, "Привет €");
    EXPECT_NE(root->FindComponent("Größe"), nullptr);
    EXPECT_EQ(static_cast<TWidget*>(root.get())->Caption, "Grüße – Привет – Καλημέρα");
    EXPECT_THROW(static_cast<TWidget*>(root.get())->SetName("bad\xFF"), fw::EComponentError);
}

struct TEncodingCase {
    const char* What;
    const char* Value; // right of "Caption = "
    const char* Text;  // the string read, in UTF-8
};

const TEncodingCase EncodingCases[] = {
    {"a code below 256 is that character", "#169", "\xC2\xA9"},
    {"a code above 255", "#269", "\xC4\x8D"},
    {"hexadecimal codes and characters beyond the first plane", "#$20AC#$1F600",
     "\xE2\x82\xAC\xF0\x9F\x98\x80"},
    {"raw UTF-8 stays", "'\xD0\x96'", "\xD0\x96"},
    {"control characters", "'a'#13#10'b'", "a\r\nb"},
};

TEST_F(FormSyntaxTest, StringsAreUtf8WhateverTheirSpelling) {
    for (const TEncodingCase& c : EncodingCases) {
        SCOPED_TRACE(c.What);
        const String text = String("object f: TTestForm\n  Caption = ") + c.Value + "\nend\n";
        auto root = RoundTrip(text);
        EXPECT_EQ(static_cast<TWidget*>(root.get())->Caption, c.Text);
    }
    // A file that is not UTF-8 is Windows-1252, as older files were written.
    auto old = RoundTrip(ReadFile("legacy1252.dfm"));
    EXPECT_EQ(static_cast<TWidget*>(old.get())->Caption, "Grüße € café");
    // A byte-order mark is dropped.
    auto bom = RoundTrip("\xEF\xBB\xBFobject f: TTestForm\nend\n");
    EXPECT_EQ(bom->Name(), "f");
    // Bytes that are not UTF-8 in a string are written as Windows-1252
    // characters, so the file stays UTF-8 and reads back the same.
    TTestForm form(nullptr);
    form.Caption = "caf\xE9";
    const String written = fw::WriteComponentToText(&form);
    EXPECT_NE(written.find("Caption = 'café'"), String::npos) << written;
    EXPECT_THROW(delete fw::ReadComponentFromText("object f: TTestForm\n  Caption = #55296\nend\n"),
                 fw::EReadError); // a surrogate is no character
}

TEST_F(FormSyntaxTest, LenientReadingSkipsAndRecordsWhatItDoesNotKnow) {
    const String text = "object f: TTestForm\n"
                        "  Caption = 'kept'\n"
                        "  DesignSize = (\n    1014\n    37)\n"
                        "  object x: TUnknownGrid\n"
                        "    Left = 1\n"
                        "    object y: TWidget\n"
                        "    end\n"
                        "  end\n"
                        "  object w: TWidget\n"
                        "    Font.Quality = fqDraft\n"
                        "    Caption = 'also kept'\n"
                        "  end\n"
                        "end\n";
    EXPECT_THROW(delete fw::ReadComponentFromText(text), fw::EReadError); // strict by default
    EXPECT_EQ(TWidget::Live, 0);
    fw::TFormSkipList skipped;
    std::unique_ptr<TComponent> root(fw::ReadComponentFromText(text, nullptr, &skipped));
    EXPECT_EQ(static_cast<TWidget*>(root.get())->Caption, "kept");
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(static_cast<TWidget*>(root->FindComponent("w"))->Caption, "also kept");
    ASSERT_EQ(skipped.size(), 3u);
    EXPECT_EQ(skipped[0].Line, 3);
    EXPECT_EQ(skipped[0].What, "unknown property 'DesignSize' of TTestForm");
    EXPECT_EQ(skipped[1].Line, 6);
    EXPECT_EQ(skipped[1].What, "unknown class 'TUnknownGrid'");
    EXPECT_EQ(skipped[2].Line, 12);
    EXPECT_EQ(skipped[2].What, "unknown property 'Quality' of TTestFont");
}

// A parsed tree keeps what its nodes view: its own copy of the text, and the
// strings it put together (doubled quotes, #codes, '+' joins, dotted names
// written with blanks, binary values). They live while the tree or a copy
// of it does, whatever becomes of the text it was parsed from; large files
// and long lists take several blocks of the tree's storage.
TEST(FormTree, NodesLiveAsLongAsTheTreeNotTheText) {
    std::optional<fw::TFormParsed<fw::TFormObject>> kept;
    {
        String text = "object f: TGrid\n  Font . Height = 'It''s' + ' ok'#33\n  Data = {0A0B}\n"
                      "  Options = [a, b]\n  Columns = < item\n    Title = 'x'\n  end>\n"
                      "  object g: TWidget\n    Lines.Strings = ( 'a' ( -1 ) )\n  end\n";
        for (int i = 0; i < 2000; ++i)
            text +=
                "  object w" + std::to_string(i) + ": TWidget\n    Left = " + std::to_string(i) + "\n  end\n";
        text += "  Numbers = (";
        for (int i = 0; i < 3000; ++i)
            text += " " + std::to_string(i);
        text += ")\nend\n";
        const auto tree = fw::ParseFormText(text);
        text.assign(text.size(), '?');
        kept = tree;
    }
    const fw::TFormObject& root = **kept;
    ASSERT_EQ(root.Props.size(), 5u);
    EXPECT_EQ(root.Props[0].Path, "Font.Height");
    EXPECT_EQ(root.Props[0].Value.Text, "It's ok!");
    EXPECT_EQ(root.Props[1].Value.Text, "\x0A\x0B");
    ASSERT_EQ(root.Props[2].Value.Items.size(), 2u);
    EXPECT_EQ(root.Props[2].Value.Items[1], "b");
    EXPECT_EQ(root.Props[3].Value.Entries[0].Props[0].Value.Text, "x");
    ASSERT_EQ(root.Props[4].Value.List.size(), 3000u);
    EXPECT_EQ(root.Props[4].Value.List[2999].Int, 2999);
    ASSERT_EQ(root.Children.size(), 2001u);
    EXPECT_EQ(root.Children[0].Props[0].Value.List[1].List[0].Int, -1);
    EXPECT_EQ(root.Children[2000].Name, "w1999");
    EXPECT_EQ(root.Children[2000].Props[0].Value.Int, 1999);

    const auto value = fw::ParseFormValue(String("'a'#13'b'"));
    EXPECT_EQ(value->Text, "a\rb");
}

struct TBadSyntax {
    const char* What;
    const char* Text;
    const char* Message;
};

const TBadSyntax BadSyntax[] = {
    {"unterminated list", "object f: TGrid\n  Lines.Strings = ( 'a'\n", "line 2: end of file inside a list"},
    {"unterminated collection", "object f: TGrid\n  Columns = < item\n", "end of file inside the item"},
    {"stray word in a collection", "object f: TGrid\n  Columns = < thing >\nend\n", "expected 'item' or '>'"},
    {"numbers in a string list", "object f: TGrid\n  Lines.Strings = ( 1 2 )\nend\n",
     "a string list holds only strings"},
    {"collection for a plain property", "object f: TGrid\n  Left = <>\nend\n", "is not a collection"},
    {"list for a string", "object f: TGrid\n  Caption = ( 'a' )\nend\n", "cannot take a list"},
    {"bad index", "object f: TGrid\n  object g: TWidget [x]\n  end\nend\n", "expected a creation index"},
    {"missing inherited component", "object f: TTestForm\n  inherited nobody: TWidget\n  end\nend\n",
     "line 2: no inherited component 'nobody'"},
    {"inherited without ancestor", "inherited g: TGrid\nend\n", "no ancestor resource of TGrid"},
    {"frame without resource", "object f: TTestForm\n  inline g: TGrid\n  end\nend\n",
     "no resource for the frame class TGrid"},
};

TEST_F(FormSyntaxTest, BadSyntaxRaisesOneReadError) {
    for (const TBadSyntax& bad : BadSyntax) {
        SCOPED_TRACE(bad.What);
        try {
            delete fw::ReadComponentFromText(bad.Text);
            ADD_FAILURE() << "no error";
        } catch (const fw::EReadError& e) {
            EXPECT_NE(String(e.what()).find(bad.Message), String::npos) << e.what();
        }
        EXPECT_EQ(TWidget::Live, 0);
    }
}

} // namespace
