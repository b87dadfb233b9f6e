// Forms: loading from a form resource in the derived constructor, frames and
// client sizes, stacking, mouse input on the client area, the screen.

#include <framework/backends/headless/Automation.h>
#include <framework/backends/headless/HeadlessBackend.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/FormText.h>
#include <framework/classes/Published.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Form.h>
#include <framework/forms/Registration.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Text.h>
#include <framework/resources/Resources.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>
#include <vector>

namespace fw {

// A form class with its own resource, made the way a package form is.
class TTestResForm : public TForm {
    FW_CLASS(TTestResForm, TForm)

public:
    explicit TTestResForm(TComponent* AOwner) : TForm(AOwner) {
        LoadFormResource();
        // The fields exist now: the constructor can go on with them.
        ownerSeen = AOwner;
        if (edtName) edtName->SetText("made");
    }

    TEdit* edtName = nullptr;
    TTimer* tmr = nullptr;
    TComponent* ownerSeen = nullptr;
    std::vector<std::string> log;

    void FormPaint(TObject*) { log.push_back("paint"); }
    void FormKeyDown(TObject*, Word& key, TShiftState) { log.push_back("key " + std::to_string(key)); }
    void tmrTimer(TObject*) { log.push_back("timer"); }
    void FormCreate(TObject*) { log.push_back(std::string("create ") + (edtName ? "with edit" : "without")); }
};

FW_PUBLISH(TTestResForm) {
    cls.Field("edtName", &TTestResForm::edtName);
    cls.Field("tmr", &TTestResForm::tmr);
    cls.Method("FormPaint", &TTestResForm::FormPaint);
    cls.Method("FormKeyDown", &TTestResForm::FormKeyDown);
    cls.Method("tmrTimer", &TTestResForm::tmrTimer);
    cls.Method("FormCreate", &TTestResForm::FormCreate);
}

namespace {

const char* const TestFormText = R"(object frmTest: TTestResForm
  Left = 282
  Top = 178
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Test form'
  ClientHeight = 117
  ClientWidth = 175
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clBlack
  Font.Height = -8
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  KeyPreview = True
  OldCreateOrder = True
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  OnPaint = FormPaint
  PixelsPerInch = 96
  TextHeight = 13
  object edtName: TEdit
    Left = 8
    Top = 8
    Width = 121
    Height = 21
    TabOrder = 0
    Text = 'loaded'
  end
  object tmr: TTimer
    Enabled = False
    Interval = 100
    OnTimer = tmrTimer
    Left = 144
    Top = 84
  end
end
)";

class FormTest : public test::UiFixture {
protected:
    static void SetUpTestSuite() {
        module = new TResourceModule("forms-test");
        module->AddForm("TTESTRESFORM", TestFormText);
        RegisterResourceModule(module);
        RegisterControlClasses();
    }
    static void TearDownTestSuite() {
        UnregisterResourceModule(module);
        delete module;
        module = nullptr;
    }
    static TResourceModule* module;
};

TResourceModule* FormTest::module = nullptr;

TEST_F(FormTest, DerivedConstructorLoadsTheResourceAndBindsHandlers) {
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* form = new TTestResForm(owner.get());
    EXPECT_EQ(form->Owner(), owner.get());
    EXPECT_EQ(form->ownerSeen, owner.get());
    EXPECT_EQ(form->Name(), "frmTest");
    ASSERT_NE(form->edtName, nullptr);
    ASSERT_NE(form->tmr, nullptr);
    EXPECT_EQ(form->edtName->Parent(), form);
    EXPECT_EQ(form->edtName->Text(), "made");
    EXPECT_EQ(form->tmr->Interval(), 100u);
    EXPECT_FALSE(form->tmr->Enabled());
    EXPECT_EQ(form->tmr->DesignLeft(), 144);
    EXPECT_EQ(form->tmr->DesignTop(), 84);
    EXPECT_EQ(form->log, (std::vector<std::string>{"create with edit"}));
    EXPECT_EQ(form->ClientWidth(), 175);
    EXPECT_EQ(form->ClientHeight(), 117);
    EXPECT_EQ(form->FormStyle(), fsStayOnTop);
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(form->Font()->Height(), -8);
    EXPECT_EQ(form->Canvas()->Font()->Height(), -8);
    EXPECT_EQ(form->Caption(), "Test form");

    // The bound handlers run.
    form->Show();
    Ui::Pump();
    EXPECT_EQ(form->log.back(), "paint");
    Ui::PressKey(VK_F5);
    EXPECT_EQ(form->log.back(), "key " + std::to_string(VK_F5));
    form->tmr->SetEnabled(true);
    Ui::Wait(100);
    EXPECT_EQ(form->log.back(), "timer");
    owner.reset(); // frees the form, its edit and its timer
}

TEST_F(FormTest, CanvasMeasuresWithTheFormFontBeforeTheFormIsShown) {
    TTestResForm form(nullptr);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(form.Canvas()->Handle(), &tm));
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAveCharWidth, 5);
}

TEST_F(FormTest, ResourceRoundTripsThroughTheWriter) {
    TTestResForm form(nullptr);
    form.edtName->SetText("loaded");
    const String first = WriteComponentToText(&form);
    EXPECT_NE(first.find("OnTimer = tmrTimer"), String::npos) << first;
    EXPECT_NE(first.find("Left = 144"), String::npos) << first;
    EXPECT_NE(first.find("ClientWidth = 175"), String::npos) << first;
    EXPECT_EQ(first.find("\n  Width ="), String::npos) << first;
    TTestResForm again(nullptr);
    ReadRootFromText(&again, first);
    EXPECT_EQ(WriteComponentToText(&again), first);
}

TEST_F(FormTest, AResourceChangedOrReplacedIsReadAnew) {
    // A language module over the base one, then the base text edited in place:
    // each form made reads the resource as it is at that moment.
    TResourceModule language("forms-test-language");
    String translated = TestFormText;
    translated.replace(translated.find("'Test form'"), 11, "'Testformular'");
    language.AddForm("TTESTRESFORM", translated);
    EXPECT_EQ(TTestResForm(nullptr).Caption(), "Test form");
    RegisterResourceModule(&language);
    EXPECT_EQ(TTestResForm(nullptr).Caption(), "Testformular");
    language.AddForm("TTESTRESFORM", TestFormText);
    EXPECT_EQ(TTestResForm(nullptr).Caption(), "Test form");

    // A resource in a single-byte code page that names none is decoded with
    // the code page set at the time: the same text read after a change of it
    // is not the earlier form.
    String legacy = TestFormText;
    legacy.replace(legacy.find("'Test form'"), 11, "'Pr\xFC""fung'");
    language.AddForm("TTESTRESFORM", legacy);
    EXPECT_EQ(TTestResForm(nullptr).Caption(), "Pr\u00FC""fung");
    SetFormFileCodePage(1251);
    EXPECT_EQ(TTestResForm(nullptr).Caption(), "Pr\u044C""fung");
    SetFormFileCodePage(1252);
    EXPECT_EQ(TTestResForm(nullptr).Caption(), "Pr\u00FC""fung");
    UnregisterResourceModule(&language);
}

TEST_F(FormTest, FormWithoutResourceRaises) {
    class TNoResource : public TForm {
    public:
        explicit TNoResource(TComponent* owner) : TForm(owner) { LoadFormResource("TNORESOURCE"); }
    };
    EXPECT_THROW(TNoResource(nullptr), EResourceError);
}

TEST_F(FormTest, DialogFrameGrowsTheOuterSizeAndKeepsTheClientSize) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetClientWidth(176);
    form.SetClientHeight(144);
    EXPECT_EQ(form.Width(), 176);
    EXPECT_EQ(form.Height(), 144);
    form.SetBorderStyle(bsDialog);
    EXPECT_EQ(form.ClientWidth(), 176);
    EXPECT_EQ(form.ClientHeight(), 144);
    EXPECT_EQ(form.Width(), 176 + 6);
    EXPECT_EQ(form.Height(), 144 + 6 + 19);
    form.SetLeft(100);
    form.SetTop(50);
    EXPECT_EQ(form.ClientToScreen({0, 0}), (TPoint{103, 72}));
    EXPECT_EQ(form.ScreenToClient({103, 72}), (TPoint{0, 0}));
}

TEST_F(FormTest, ControlsMapTheirClientAreaToTheScreen) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 200, 300, 200);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 20, 121, 21);
    // The sunken border puts the client area 2 pixels in.
    EXPECT_EQ(edit->ClientWidth(), 117);
    EXPECT_EQ(edit->ClientHeight(), 17);
    EXPECT_EQ(edit->ClientToScreen({0, 0}), (TPoint{112, 222}));
    EXPECT_EQ(edit->ClientToScreen({edit->ClientWidth(), edit->ClientHeight()}), (TPoint{229, 239}));
}

TEST_F(FormTest, StayOnTopFormsStayAboveNormalForms) {
    TForm top(nullptr);
    top.SetFormStyle(fsStayOnTop);
    TForm normal(nullptr);
    top.Show();
    normal.Show();
    ASSERT_GE(Screen->ZOrder().size(), 2u);
    EXPECT_EQ(Screen->ZOrder().back(), &top);
    EXPECT_EQ(Screen->FormAtPoint({10, 10}), &top);
    EXPECT_EQ(Screen->ActiveForm(), &normal);
}

TEST_F(FormTest, MouseEventsReachTheFormWhenNoChildIsHit) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(50, 50, 200, 100);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(0, 0, 50, 20);
    std::vector<std::string> log;
    form.OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState shift, int x, int y) {
        log.push_back("form down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    form.OnMouseMove = [&](TObject*, TShiftState shift, int x, int y) {
        log.push_back("form move " + std::to_string(x) + "," + std::to_string(y) +
                      (shift.Contains(ssLeft) ? " left" : ""));
    };
    form.OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        log.push_back("form up " + std::to_string(x) + "," + std::to_string(y));
    };
    label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("label down " + std::to_string(x) + "," + std::to_string(y));
    };
    label->OnClick = [&](TObject*) { log.push_back("label click"); };
    form.Show();
    Ui::MouseDown(&form, 100, 60, mbRight);
    Ui::MouseMove(&form, 300, 70); // outside the form: the form holds the mouse
    Ui::MouseUp(&form, 300, 70, mbRight);
    Ui::Click(label, 5, 6);
    EXPECT_EQ(log, (std::vector<std::string>{"form down 1 100,60", "form move 300,70", "form up 300,70",
                                             "label down 5,6", "label click"}));
}

TEST_F(FormTest, DoubleClickFiresOnDblClick) {
    TForm form(nullptr);
    int clicks = 0;
    int doubles = 0;
    form.OnClick = [&](TObject*) { ++clicks; };
    form.OnDblClick = [&](TObject*) { ++doubles; };
    form.Show();
    Ui::DoubleClick(&form, 20, 20);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1); // the first press and release; the double click's release clicks no more
    Ui::Wait(1000);
    Ui::Click(&form, 20, 20);
    EXPECT_EQ(doubles, 1);
}

// The press that starts a double click is remembered until the next one; a
// control freed in between (and one made in its place, often at the same
// address) takes the next press as a first press.
TEST_F(FormTest, AControlFreedBetweenTwoPressesIsNotDoubleClicked) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    std::vector<std::string> log;
    TLabel* label = nullptr;
    const auto make = [&](const char* name) {
        label = new TLabel(&form);
        label->SetParent(&form);
        label->SetAutoSize(false);
        label->SetBounds(10, 10, 80, 20);
        label->OnClick = [&log, name](TObject*) { log.push_back(std::string(name) + " click"); };
        label->OnDblClick = [&log, name](TObject*) { log.push_back(std::string(name) + " double"); };
    };
    make("first");
    form.Show();
    Ui::Click(label, 5, 5);
    delete label;
    make("second");
    Ui::Click(label, 5, 5); // within the double-click time and distance
    EXPECT_EQ(log, (std::vector<std::string>{"first click", "second click"}));
}

TEST_F(FormTest, CanvasDrawsOnTheShownFormOutsideAPaint) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(10, 10, 50, 40);
    form.Show();
    Ui::Pump();
    form.Canvas()->Brush()->SetColor(clRed);
    form.Canvas()->FillRect({5, 5, 10, 10});
    EXPECT_EQ(Ui::FormImage(&form).Pixel(7, 7), ColorToRGB(clRed));
    EXPECT_EQ(Ui::Screenshot().Pixel(17, 17), ColorToRGB(clRed));
    EXPECT_EQ(Ui::Screenshot().Pixel(5, 5), ColorToRGB(DesktopColor));
    // A refresh paints the whole form again at once.
    form.Refresh();
    EXPECT_EQ(Ui::FormImage(&form).Pixel(7, 7), ColorToRGB(clBtnFace));
}

TEST_F(FormTest, RunEndsWhenTheMainFormCloses) {
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    Application->SetMainForm(&form);
    form.Show();
    Application->QueueModalStep([] { Ui::TypeText("run"); });
    Application->QueueModalStep([&] { form.Close(); });
    Application->Run();
    EXPECT_EQ(edit->Text(), "run");
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(Application->Terminated());
    Application->SetMainForm(nullptr);
}

TEST_F(FormTest, ScreenSizeIsSettable) {
    EXPECT_EQ(Screen->Width(), 1024);
    EXPECT_EQ(Screen->Height(), 768);
    Screen->SetSize(800, 600);
    EXPECT_EQ(Screen->Width(), 800);
    EXPECT_EQ(Screen->Height(), 600);
}

TEST_F(FormTest, ClosingANormalFormHidesItOrFreesIt) {
    TForm first(nullptr);
    first.Show();
    first.Close();
    EXPECT_FALSE(first.Visible());
    auto* second = new TForm(nullptr);
    second->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    second->Show();
    const int before = Screen->FormCount();
    second->Close();
    Ui::Pump();
    EXPECT_EQ(Screen->FormCount(), before - 1);
}

TEST_F(FormTest, MakingAndFreeingManyFormsLeavesNothingBehind) {
    const int formsBefore = Screen->FormCount();
    for (int i = 0; i < 10000; ++i) {
        TForm form(nullptr);
        auto* edit = new TEdit(&form);
        edit->SetParent(&form);
        auto* label = new TLabel(&form);
        label->SetParent(&form);
        label->SetCaption("x");
        new TTimer(&form);
        if (i % 1000 == 0) {
            form.Show();
            Ui::Pump();
        }
    }
    EXPECT_EQ(Screen->FormCount(), formsBefore);
    EXPECT_EQ(MessageQueue().TimerCount(), 0);
    EXPECT_FALSE(MessageQueue().HasDirty());
}

// Where each Position puts a 200 x 100 form when it is shown, with the main
// form at (100, 50, 400 x 300) and the owner form at (600, 400, 300 x 200).
TEST_F(FormTest, PositionPlacesTheFormWhenItIsShown) {
    const struct {
        TPosition Position;
        bool Owned;    // owned by the owner form (otherwise by nothing)
        bool WithMain; // with a main form
        TRect Bounds;
    } cases[] = {
        {poDesigned, true, true, {10, 20, 210, 120}},
        {poScreenCenter, true, true, {412, 334, 612, 434}},
        {poDesktopCenter, true, true, {412, 334, 612, 434}},
        {poMainFormCenter, true, true, {200, 150, 400, 250}},
        {poMainFormCenter, true, false, {412, 334, 612, 434}},
        {poOwnerFormCenter, true, true, {650, 450, 850, 550}},
        {poOwnerFormCenter, false, true, {200, 150, 400, 250}},
        {poOwnerFormCenter, false, false, {412, 334, 612, 434}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Position) + (c.Owned ? " owned" : "") +
                     (c.WithMain ? " with main" : ""));
        TForm main(nullptr);
        main.SetBounds(100, 50, 400, 300);
        if (c.WithMain) Application->SetMainForm(&main);
        TForm owner(nullptr);
        owner.SetBounds(600, 400, 300, 200);
        auto* form = new TForm(c.Owned ? &owner : nullptr);
        std::unique_ptr<TForm> unowned(c.Owned ? nullptr : form);
        form->SetBounds(10, 20, 200, 100);
        form->SetPosition(c.Position);
        form->Show();
        EXPECT_EQ(form->BoundsRect(), c.Bounds);
        form->Hide();
        Application->SetMainForm(nullptr);
    }
    // Over a form near the screen's edge, the form stays on the screen.
    TForm owner(nullptr);
    owner.SetBounds(900, 700, 100, 50);
    TForm form(&owner);
    form.SetBounds(0, 0, 200, 100);
    form.SetPosition(poOwnerFormCenter);
    form.Show();
    EXPECT_EQ(form.BoundsRect(), (TRect{824, 668, 1024, 768}));
    form.Hide();
}

} // namespace
} // namespace fw
