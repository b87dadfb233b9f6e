// Published properties of the standard controls survive a form file: every
// value set differs from its default, is written, read back through the
// setters and written again to the same text.

#include <framework/classes/ClassRegistry.h>
#include <framework/classes/FormFile.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Form.h>
#include <framework/forms/Registration.h>
#include <memory>
#include <tests/support/UiFixture.h>

namespace fw {

// A form whose published method counts an edit's changes.
class TChangeCountingForm : public TForm {
    FW_CLASS(TChangeCountingForm, TForm)

public:
    explicit TChangeCountingForm(TComponent* owner) : TForm(owner) {}
    int Changes = 0;
    void EditChange(TObject*) { ++Changes; }
};

FW_PUBLISH(TChangeCountingForm) {
    cls.Method("EditChange", &TChangeCountingForm::EditChange);
}

namespace {

class StreamingTest : public test::UiFixture {
protected:
    static void SetUpTestSuite() { RegisterControlClasses(); }
};

TEST_F(StreamingTest, ControlsRoundTripWithTheirProperties) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("Form1");
    form->SetCaption("Round trip");
    form->SetBorderStyle(bsDialog);
    form->SetKeyPreview(true);

    auto* edit = new TEdit(form.get());
    edit->SetName("Edit1");
    edit->SetParent(form.get());
    edit->SetBounds(8, 9, 100, 22);
    edit->SetText("it's");
    edit->SetMaxLength(10);
    edit->SetReadOnly(true);
    edit->SetCharCase(ecUpperCase);
    edit->SetBorderStyle(bsNone);
    edit->SetColor(clYellow);
    edit->SetCursor(crHandPoint);
    edit->SetHint("a hint");
    edit->SetShowHint(true);
    edit->SetTabStop(false);
    edit->SetPasswordChar('*');
    edit->SetEnabled(false);
    edit->Font()->SetStyle({fsBold});

    auto* label = new TLabel(form.get());
    label->SetName("Label1");
    label->SetParent(form.get());
    label->SetCaption("&Name");
    label->SetAutoSize(false);
    label->SetBounds(120, 10, 70, 15);
    label->SetAlignment(taRightJustify);
    label->SetTransparent(true);
    label->SetWordWrap(true);
    label->SetShowAccelChar(false);
    label->SetVisible(false);

    auto* button = new TBitBtn(form.get());
    button->SetName("BitBtn1");
    button->SetParent(form.get());
    button->SetBounds(8, 40, 80, 26);
    button->SetCaption("Go");
    button->SetDefault(true);
    button->SetModalResult(mrOk);
    button->SetNumGlyphs(2);
    TBitmap glyph;
    glyph.SetSize(4, 2);
    glyph.Canvas()->SetPixel(1, 1, clRed);
    button->SetGlyph(&glyph);
    button->SetTabOrder(0);

    auto* timer = new TTimer(form.get());
    timer->SetName("Timer1");
    timer->SetInterval(250);
    timer->SetDesignLeft(200);
    timer->SetDesignTop(100);

    const String text = WriteComponentToText(form.get());
    for (const char* expected : {"Caption = 'Round trip'", "BorderStyle = bsDialog",
                                 "KeyPreview = True",      "Text = 'IT''S'",
                                 "MaxLength = 10",         "ReadOnly = True",
                                 "CharCase = ecUpperCase", "BorderStyle = bsNone",
                                 "Color = clYellow",       "Cursor = crHandPoint",
                                 "Hint = 'a hint'",        "ShowHint = True",
                                 "TabStop = False",        "PasswordChar = '*'",
                                 "Enabled = False",        "Font.Style = [fsBold]",
                                 "ParentFont = False",     "Caption = '&Name'",
                                 "AutoSize = False",       "Alignment = taRightJustify",
                                 "Transparent = True",     "WordWrap = True",
                                 "ShowAccelChar = False",  "Visible = False",
                                 "Default = True",         "ModalResult = 1",
                                 "NumGlyphs = 2",          "Glyph.Data = {",
                                 "Interval = 250",         "Left = 200"})
        EXPECT_NE(text.find(expected), String::npos) << expected << "\n" << text;

    auto copy = std::unique_ptr<TComponent>(ReadComponentFromText(text));
    auto* form2 = dynamic_cast<TForm*>(copy.get());
    ASSERT_NE(form2, nullptr);
    EXPECT_EQ(WriteComponentToText(form2), text);
    auto* edit2 = dynamic_cast<TEdit*>(form2->FindComponent("Edit1"));
    ASSERT_NE(edit2, nullptr);
    EXPECT_EQ(edit2->Parent(), form2);
    EXPECT_EQ(edit2->Text(), "IT'S");
    EXPECT_TRUE(edit2->ReadOnly());
    EXPECT_FALSE(edit2->Enabled());
    EXPECT_EQ(edit2->BoundsRect(), (TRect{8, 9, 108, 31}));
    auto* button2 = dynamic_cast<TBitBtn*>(form2->FindComponent("BitBtn1"));
    ASSERT_NE(button2, nullptr);
    EXPECT_EQ(button2->Glyph()->Width(), 4);
    EXPECT_EQ(button2->Glyph()->Canvas()->Pixel(1, 1), ColorToRGB(clRed));
    EXPECT_EQ(button2->TabOrder(), 0);
}

TEST_F(StreamingTest, DefaultsAreNotWritten) {
    TForm form(nullptr);
    form.SetName("Form1");
    auto* edit = new TEdit(&form);
    edit->SetName("Edit1");
    edit->SetParent(&form);
    const String text = WriteComponentToText(&form);
    for (const char* absent : {"ReadOnly", "MaxLength", "AutoSelect", "Color = clWindow", "TabStop", "Cursor",
                               "Hint", "CharCase", "PasswordChar", "Visible = True"})
        EXPECT_EQ(text.find(String("    ") + absent), String::npos) << absent << "\n" << text;
    // Bounds and the tab order are always written, as is the text.
    EXPECT_NE(text.find("    Width = 121"), String::npos) << text;
    EXPECT_NE(text.find("    Height = 21"), String::npos) << text;
    EXPECT_NE(text.find("    TabOrder = 0"), String::npos) << text;
    EXPECT_NE(text.find("    Text = ''"), String::npos) << text;
}

TEST_F(StreamingTest, ReadingAnEditsTextFromAFormFileIsNotAChange) {
    RegisterClass<TChangeCountingForm>();
    const String text = "object F: TChangeCountingForm\n"
                        "  object E: TEdit\n"
                        "    OnChange = EditChange\n"
                        "    Text = 'loaded'\n"
                        "  end\n"
                        "end\n";
    auto root = std::unique_ptr<TComponent>(ReadComponentFromText(text));
    auto* form = dynamic_cast<TChangeCountingForm*>(root.get());
    ASSERT_NE(form, nullptr);
    auto* edit = dynamic_cast<TEdit*>(form->FindComponent("E"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), "loaded");
    EXPECT_EQ(form->Changes, 0);
    edit->SetText("typed");
    EXPECT_EQ(form->Changes, 1);
}

TEST_F(StreamingTest, InTheDesignerATextThatIsTheNameFollowsARename) {
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetName("Label1");
    EXPECT_EQ(label->Caption(), ""); // at run time names and texts are apart
    auto* designed = new TLabel(&form);
    designed->SetDesigning(true);
    designed->SetName("Label2");
    EXPECT_EQ(designed->Caption(), "Label2");
    designed->SetName("lblDate");
    EXPECT_EQ(designed->Caption(), "lblDate");
    designed->SetCaption("Date:");
    designed->SetName("lblWhen");
    EXPECT_EQ(designed->Caption(), "Date:");
}

// Tab orders need not ascend in the file: they are put in order once the
// whole form is read, and a form reads back with the order it was written with.
TEST_F(StreamingTest, TabOrderIsAppliedOnceTheWholeFormIsRead) {
    const struct {
        const char* What;
        std::vector<int> InFile; // the TabOrder of Edit0, Edit1... in file order; -1: none
        std::vector<int> Read;
    } cases[] = {
        {"not ascending", {1, 3, 2, 0}, {1, 3, 2, 0}},
        {"descending", {3, 2, 1, 0}, {3, 2, 1, 0}},
        {"equal values keep file order", {1, 0, 1}, {1, 0, 2}},
        {"gaps and values out of range close up", {7, 2, 40}, {1, 0, 2}},
        {"a control without a value takes the place it was inserted at", {-1, 0}, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        String text = "object Form1: TForm\n";
        for (std::size_t i = 0; i < c.InFile.size(); ++i) {
            text += "  object Edit" + std::to_string(i) + ": TEdit\n";
            if (c.InFile[i] >= 0) text += "    TabOrder = " + std::to_string(c.InFile[i]) + "\n";
            text += "  end\n";
        }
        text += "end\n";
        std::unique_ptr<TComponent> root(ReadComponentFromText(text));
        std::vector<int> read;
        for (std::size_t i = 0; i < c.InFile.size(); ++i)
            read.push_back(static_cast<TEdit*>(root->FindComponent("Edit" + std::to_string(i)))->TabOrder());
        EXPECT_EQ(read, c.Read);
        const String written = WriteComponentToText(root.get());
        std::unique_ptr<TComponent> again(ReadComponentFromText(written));
        EXPECT_EQ(WriteComponentToText(again.get()), written);
    }
    // Outside reading, setting a tab order still moves the siblings at once.
    TForm form(nullptr);
    auto* a = new TEdit(&form);
    a->SetParent(&form);
    auto* b = new TEdit(&form);
    b->SetParent(&form);
    b->SetTabOrder(0);
    EXPECT_EQ(a->TabOrder(), 1);
}

TEST_F(StreamingTest, PasswordCharIsACharacter) {
    const struct {
        const char* Value;
        char32_t Read;
        const char* Written; // nullptr: not written
    } cases[] = {
        {"'*'", U'*', "'*'"}, {"#8226", U'\u2022', "'\u2022'"},
        {"42", U'*', "'*'"},  {"'\u25CF'", U'\u25CF', "'\u25CF'"},
        {"''", 0, nullptr},   {"#9", U'\t', "#9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        const String text = String("object Form1: TForm\n  object Edit1: TEdit\n    PasswordChar = ") +
                            c.Value + "\n    Text = 'abc'\n  end\nend\n";
        std::unique_ptr<TComponent> root(ReadComponentFromText(text));
        auto* edit = static_cast<TEdit*>(root->FindComponent("Edit1"));
        EXPECT_EQ(edit->PasswordChar(), c.Read);
        const String written = WriteComponentToText(root.get());
        if (c.Written != nullptr)
            EXPECT_NE(written.find(String("PasswordChar = ") + c.Written + "\n"), String::npos) << written;
        else
            EXPECT_EQ(written.find("PasswordChar"), String::npos) << written;
    }
    EXPECT_THROW(delete ReadComponentFromText("object F: TForm\n  object E: TEdit\n    PasswordChar = 'ab'\n"
                                              "  end\nend\n"),
                 EReadError);
}

// Another application's form: its own form class, handlers, a data set and
// settings the framework does not have. What it knows reads; the rest is reported.
TEST_F(StreamingTest, AnotherApplicationsFormReadsLeniently) {
    const String text = "object frmLogin: TfrmLogin\n"
                        "  Caption = 'Log in'\n"
                        "  Position = poOwnerFormCenter\n"
                        "  OnCreate = FormCreate\n"
                        "  object edtPassword: TEdit\n"
                        "    PasswordChar = #8226\n"
                        "    TabOrder = 1\n"
                        "    OnChange = edtPasswordChange\n"
                        "  end\n"
                        "  object edtUser: TEdit\n"
                        "    TabOrder = 0\n"
                        "    CharCase = ecTitleCase\n"
                        "  end\n"
                        "  object cdsUsers: TClientDataSet\n"
                        "  end\n"
                        "end\n";
    TFormSkipList skipped;
    std::unique_ptr<TComponent> root(ReadComponentFromText(text, nullptr, &skipped));
    auto* form = dynamic_cast<TForm*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "frmLogin");
    EXPECT_EQ(form->Position(), poOwnerFormCenter);
    auto* password = static_cast<TEdit*>(form->FindComponent("edtPassword"));
    EXPECT_EQ(password->PasswordChar(), U'\u2022');
    EXPECT_EQ(password->TabOrder(), 1);
    EXPECT_EQ(static_cast<TEdit*>(form->FindComponent("edtUser"))->TabOrder(), 0);
    std::vector<int> lines;
    for (const TFormSkipped& s : skipped)
        lines.push_back(s.Line);
    EXPECT_EQ(lines, (std::vector<int>{1, 4, 8, 12, 14}));
    EXPECT_EQ(skipped[0].What, "unknown class 'TfrmLogin'; read as TForm");
}

} // namespace
} // namespace fw
