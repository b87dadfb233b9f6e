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
                                 "TabStop = False",        "PasswordChar = 42",
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

} // namespace
} // namespace fw
