#include "TestClasses.h"

#include <cmath>
#include <framework/classes/FormText.h>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace test;
using fw::TComponent;

class FormFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        Log().clear();
    }
    void TearDown() override { EXPECT_EQ(TWidget::Live, 0); }
};

TWidget* Child(TComponent* owner, TWidget* parent, const String& name) {
    auto* w = new TWidget(owner);
    w->SetName(name);
    w->SetParentComponent(parent);
    return w;
}

TEST_F(FormFileTest, WritesEveryKindInDeclarationOrderWithoutDefaults) {
    TTestForm form(nullptr);
    form.SetName("frmMain");
    form.SetTag(7);
    form.Left = 10;
    form.Top = -20;
    form.Caption = "Main 'form'";
    form.Color = clBtnFace;
    fw::SetMethodProp(&form, "OnClick", &form, "FormClick");

    TWidget* btn = Child(&form, &form, "btnOk");
    btn->Caption = "Line1\r\nLine2 \xC3\xBC";
    btn->SetEnabled(false);
    btn->Lamp = lcAmber;
    btn->Ratio = 0.1;
    btn->Color = 0x123456;
    btn->Big = std::numeric_limits<std::int64_t>::min();
    btn->Font()->Charset = 2;
    btn->Font()->Color = clRed;
    btn->Font()->SetHeight(-8);
    btn->Font()->SetName("Mono");
    btn->Font()->SetStyle({fsBold, fsUnderline});
    fw::SetMethodProp(btn, "OnClick", &form, "FormClick");
    fw::SetMethodProp(btn, "OnKey", &form, "FormKey");

    TWidget* pnl = Child(&form, &form, "pnl");
    for (char c = 0; c < 40; ++c)
        pnl->Data += c;
    TWidget* edt = Child(&form, pnl, "edt");
    btn->SetBuddy(edt);
    auto* tmr = new TTicker(&form);
    tmr->SetName("tmr");
    tmr->Interval = 100;
    tmr->DesignLeft = 144;
    tmr->DesignTop = 84;
    fw::SetMethodProp(tmr, "OnTimer", &form, "tmrTimer");

    EXPECT_EQ(fw::WriteComponentToText(&form), RichForm);
}

TEST_F(FormFileTest, ReadsBackEverythingAndWritesTheSameBytes) {
    std::unique_ptr<TComponent> root(fw::ReadComponentFromText(RichForm));
    auto* form = dynamic_cast<TTestForm*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "frmMain");
    ASSERT_NE(form->btnOk, nullptr);
    ASSERT_NE(form->tmr, nullptr);
    TWidget* btn = form->btnOk;
    EXPECT_EQ(btn->Caption, "Line1\r\nLine2 \xC3\xBC");
    EXPECT_FALSE(btn->Enabled());
    EXPECT_EQ(btn->Ratio, 0.1);
    EXPECT_EQ(btn->Big, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(btn->Font()->Style(), (TStyles{fsBold, fsUnderline}));
    EXPECT_EQ(btn->Font()->Charset, 2);
    EXPECT_EQ(btn->Parent(), form);
    auto* edt = dynamic_cast<TWidget*>(form->FindComponent("edt"));
    ASSERT_NE(edt, nullptr);
    EXPECT_EQ(btn->Buddy(), edt); // named before the component existed
    EXPECT_EQ(edt->Parent(), form->FindComponent("pnl"));
    EXPECT_EQ(edt->Owner(), form);
    EXPECT_EQ(form->FindComponent("pnl")->ComponentCount(), 0);
    EXPECT_EQ(form->tmr->DesignLeft, 144);

    // Events call the root's methods.
    btn->Click();
    form->Click();
    EXPECT_EQ(form->Clicks, 2);
    fw::Word key = 13;
    btn->OnKey(btn, key);
    EXPECT_EQ(form->LastKey, 13);
    EXPECT_EQ(btn->EventBinding("OnKey"), "FormKey");

    EXPECT_EQ(fw::WriteComponentToText(form), RichForm);
}

TEST_F(FormFileTest, ReadsThroughSettersWhileLoadingThenCallsLoadedInFileOrder) {
    std::unique_ptr<TComponent> root(fw::ReadComponentFromText(RichForm));
    std::erase_if(Log(), [](const String& s) { return s.find(" insert ") != String::npos; });
    EXPECT_EQ(Log(), (std::vector<String>{"set Enabled of btnOk while reading", "loaded frmMain",
                                          "loaded btnOk", "loaded pnl", "loaded edt"}));
    for (int i = 0; i < root->ComponentCount(); ++i)
        EXPECT_FALSE(root->Components(i)->ComponentState().Contains(fw::csLoading));
    EXPECT_FALSE(root->ComponentState().Contains(fw::csLoading));
}

TEST_F(FormFileTest, FormConstructorLoadsItsOwnResource) {
    TWidget opener(nullptr);
    auto* first = new TResourceForm(&opener);
    EXPECT_EQ(first->Name(), "frmRes");
    EXPECT_EQ(first->Caption, "Resource");
    ASSERT_NE(first->tmr, nullptr);
    EXPECT_EQ(first->tmr->Interval, 100);
    EXPECT_TRUE(static_cast<bool>(first->tmr->OnTimer));
    first->Click();
    EXPECT_EQ(first->Clicks, 1);
    // A second copy under the same owner gets a name of its own.
    auto* second = new TResourceForm(&opener);
    EXPECT_EQ(second->Name(), "frmRes_1");
    delete first;
    delete second;
}

TEST_F(FormFileTest, AcceptsTheWrittenVariants) {
    const char* text = "OBJECT f: TTestForm\n"
                       "  color = $8000000F\n"
                       "  Caption = 'a' + \n    'b'#$41'c'\n"
                       "  Ratio = 15\n"
                       "  Font.Style = [ fsItalic ,fsBold ]\n"
                       "  Lamp = LCBLUE\n"
                       "  Buddy = nil\n"
                       "  object TWidget\n  end\n"
                       "END";
    std::unique_ptr<TComponent> root(fw::ReadComponentFromText(text));
    auto* form = static_cast<TTestForm*>(root.get());
    EXPECT_EQ(form->Color, clBtnFace);
    EXPECT_EQ(form->Caption, "abAc");
    EXPECT_EQ(form->Ratio, 15.0);
    EXPECT_EQ(form->Font()->Style(), (TStyles{fsBold, fsItalic}));
    EXPECT_EQ(form->Lamp, lcBlue);
    ASSERT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->Components(0)->Name(), "");
}

TEST_F(FormFileTest, FloatsThatAreNotNumbersReadBackAsWritten) {
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             -0.0,
                             0.1,
                             1e308};
    for (double v : values) {
        TTestForm form(nullptr);
        form.SetName("f");
        form.Ratio = v;
        const String text = fw::WriteComponentToText(&form);
        std::unique_ptr<TComponent> back(fw::ReadComponentFromText(text));
        const double got = static_cast<TTestForm*>(back.get())->Ratio;
        EXPECT_TRUE(std::isnan(v) ? std::isnan(got) : got == v && std::signbit(got) == std::signbit(v))
            << text;
        EXPECT_EQ(fw::WriteComponentToText(back.get()), text);
    }
}

struct TBadFile {
    const char* What;
    const char* Text;
    const char* Message;
};

const TBadFile BadFiles[] = {
    {"unknown root class", "object a: TNothing\nend\n", "line 1: unknown class 'TNothing'"},
    {"unknown child class", "object f: TTestForm\n  object b: TNothing\n  end\nend\n",
     "line 2: unknown class"},
    {"unknown property", "object f: TTestForm\n  Left = 1\n  Foo = 2\nend\n",
     "line 3: unknown property 'Foo' of TTestForm"},
    {"unknown nested property", "object f: TTestForm\n  Font.Size = 2\nend\n",
     "line 2: unknown property 'Size' of TTestFont"},
    {"unknown identifier", "object f: TTestForm\n  Lamp = lcPink\nend\n",
     "line 2: unknown identifier 'lcPink'"},
    {"unknown colour", "object f: TTestForm\n  Color = clNope\nend\n", "line 2: unknown identifier 'clNope'"},
    {"unknown set member", "object f: TTestForm\n  Font.Style = [fsBold, fsWide]\nend\n",
     "line 2: unknown identifier 'fsWide'"},
    {"string for integer", "object f: TTestForm\n  Left = '1'\nend\n",
     "line 2: property 'Left' of TTestForm cannot take a string"},
    {"number for boolean", "object f: TTestForm\n  Enabled = 1\nend\n", "line 2: property 'Enabled'"},
    {"bad boolean", "object f: TTestForm\n  Enabled = Yes\nend\n", "line 2: unknown identifier 'Yes'"},
    {"integer out of range", "object f: TTestForm\n  Left = 4294967296\nend\n",
     "line 2: value 4294967296 out of range"},
    {"number too big", "object f: TTestForm\n  Big = 99999999999999999999\nend\n",
     "line 2: number out of range"},
    {"object assigned", "object f: TTestForm\n  Font = 1\nend\n",
     "line 2: property 'Font' of TTestForm is an object"},
    {"dotted non-object", "object f: TTestForm\n  Left.X = 1\nend\n",
     "line 2: property 'Left' of TTestForm has no properties"},
    {"unterminated object", "object f: TTestForm\n  object b: TWidget\n    Left = 1\n  end\n",
     "line 5: end of file inside object 'f' begun on line 1"},
    {"truncated string", "object f: TTestForm\n  Caption = 'abc\nend\n", "line 2: unterminated string"},
    {"truncated after equals", "object f: TTestForm\n  Caption =", "line 2: missing value"},
    {"truncated binary", "object f: TTestForm\n  Data = {0001", "line 2: unterminated binary value"},
    {"odd binary", "object f: TTestForm\n  Data = {001}\nend\n", "line 2: odd number"},
    {"dangling reference", "object f: TTestForm\n  object b: TWidget\n    Buddy = ghost\n  end\nend\n",
     "line 3: unknown component 'ghost'"},
    {"reference to wrong class", "object f: TTestForm\n  Buddy = tmr\n  object tmr: TTicker\n  end\nend\n",
     "line 2: component 'tmr' is a TTicker, not a TWidget"},
    {"unknown method", "object f: TTestForm\n  OnClick = FormNothing\nend\n",
     "line 2: unknown method 'FormNothing' of TTestForm"},
    {"method of wrong signature",
     "object f: TTestForm\n  object b: TWidget\n    OnClick = FormKey\n  end\nend\n",
     "line 3: method 'FormKey' does not fit event 'OnClick'"},
    {"duplicate names", "object f: TTestForm\n  object b: TWidget\n  end\n  object B: TWidget\n  end\nend\n",
     "line 4: a component named 'B' already exists"},
    {"field of another class", "object f: TTestForm\n  object tmr: TWidget\n  end\nend\n",
     "line 2: field 'tmr' of TTestForm is a TTicker, not a TWidget"},
    {"text after the end", "object f: TTestForm\nend\nobject g: TTestForm\nend\n",
     "line 3: text after the end"},
    {"empty file", "", "line 1: empty form file"},
    {"no object keyword", "f: TTestForm\nend\n", "line 1: expected 'object'"},
    {"missing equals", "object f: TTestForm\n  Left 1\nend\n", "line 2: expected '=' after 'Left'"},
    {"bad set", "object f: TTestForm\n  Font.Style = [fsBold fsItalic]\nend\n",
     "line 2: expected ',' or ']'"},
    {"bad character code", "object f: TTestForm\n  Caption = #\nend\n", "line 2: bad character code"},
    {"minus before a name", "object f: TTestForm\n  Ratio = -Big\nend\n",
     "line 2: expected a number after '-'"},
    {"infinity for an integer", "object f: TTestForm\n  Left = Inf\nend\n",
     "line 2: unknown identifier 'Inf'"},
};

TEST_F(FormFileTest, BadFilesRaiseOneReadErrorNamingTheLineAndFreeEverything) {
    for (const TBadFile& bad : BadFiles) {
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

TEST_F(FormFileTest, FailedReadIntoExistingRootKeepsTheRootAndDropsWhatItMade) {
    TTestForm form(nullptr);
    const char* text = "object f: TTestForm\n  Left = 5\n  object tmr: TTicker\n  end\n"
                       "  object btnOk: TWidget\n    Buddy = missing\n  end\nend\n";
    EXPECT_THROW(fw::ReadRootFromText(&form, text), fw::EReadError);
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.tmr, nullptr);
    EXPECT_EQ(form.btnOk, nullptr);
    EXPECT_EQ(form.Left, 5); // what was set stays set
    EXPECT_FALSE(form.ComponentState().Contains(fw::csLoading));
    EXPECT_FALSE(form.ComponentState().Contains(fw::csReading));

    // A file for another class is refused before anything is touched.
    EXPECT_THROW(fw::ReadRootFromText(&form, "object w: TResourceForm\nend\n"), fw::EReadError);
    EXPECT_EQ(form.Name(), "f");
    // A file of an ancestor class reads into a descendant.
    TResourceForm derived(nullptr);
    EXPECT_NO_THROW(fw::ReadRootFromText(&derived, "object again: TWidget\n  Top = 3\nend\n"));
    EXPECT_EQ(derived.Top, 3);
}

TEST_F(FormFileTest, ErrorInsideASetterIsReportedWithItsLine) {
    const char* text =
        "object f: TTestForm\n  Caption = 'ok'\n  object b: TWidget\n    Name = '9lives'\n  end\nend\n";
    try {
        delete fw::ReadComponentFromText(text);
        ADD_FAILURE() << "no error";
    } catch (const fw::EReadError& e) {
        EXPECT_EQ(String(e.what()), "line 4: '9lives' is not a valid component name");
    }
}

} // namespace

namespace {

TEST(FormText, ThePopupResourceParses) {
    std::ifstream in(String(QZ_SOURCE_DIR) + "/resources/forms/TFRMQZCAL.dfm");
    ASSERT_TRUE(in) << "missing popup resource";
    const String text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto root = fw::ParseFormText(text);
    EXPECT_EQ(root->Name, "frmQzCal");
    EXPECT_EQ(root->ClassName, "TfrmQzCal");
    ASSERT_EQ(root->Children.size(), 1u);
    EXPECT_EQ(root->Children[0].ClassName, "TTimer");
    EXPECT_EQ(root->Props.front().Path, "Left");
    EXPECT_EQ(root->Props[7].Path, "Font.Charset");
    EXPECT_EQ(root->Props[7].Value.Text, "DEFAULT_CHARSET");
}

} // namespace
