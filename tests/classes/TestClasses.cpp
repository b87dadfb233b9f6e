#include "TestClasses.h"

#include <algorithm>
#include <framework/classes/FormText.h>
#include <gtest/gtest.h>

namespace test {

std::vector<String>& Log() {
    static std::vector<String> log;
    return log;
}

namespace {

struct TNamed {
    std::int64_t Value;
    const char* Name;
};
const TNamed Colors[] = {
    {clBlack, "clBlack"}, {clRed, "clRed"}, {clBtnFace, "clBtnFace"}, {clBtnText, "clBtnText"}};
const TNamed Charsets[] = {{0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}};

template <std::size_t N>
void RegisterNames(const String& kind, const TNamed (&table)[N]) {
    fw::RegisterIntegerIdents(
        kind,
        [&table](std::int64_t v, String& ident) {
            for (const TNamed& n : table)
                if (n.Value == v) {
                    ident = n.Name;
                    return true;
                }
            return false;
        },
        [&table](const String& ident, std::int64_t& v) {
            for (const TNamed& n : table)
                if (ident == n.Name) {
                    v = n.Value;
                    return true;
                }
            return false;
        });
}

} // namespace

void RegisterTestClasses() {
    RegisterNames(fw::ColorIdentKind, Colors);
    RegisterNames("TFontCharset", Charsets);
    fw::RegisterClasses({TWidget::StaticClass(), TTestForm::StaticClass(), TResourceForm::StaticClass(),
                         TGrid::StaticClass(), TTestFrame::StaticClass(), TDerivedForm::StaticClass()});
}

FW_PUBLISH(TTestFont) {
    cls.Int("Charset", &TTestFont::Charset, &TTestFont::Charset, 1).Idents("TFontCharset");
    cls.Color("Color", &TTestFont::Color, &TTestFont::Color, clBlack);
    cls.Int("Height", &TTestFont::Height, &TTestFont::SetHeight);
    cls.Str("Name", &TTestFont::Name, &TTestFont::SetName);
    cls.SetOf("Style", &TTestFont::Style, &TTestFont::SetStyle,
              {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, TStyles{});
}

FW_PUBLISH(TWidget) {
    cls.Int("Left", &TWidget::Left, &TWidget::Left, 0);
    cls.Int("Top", &TWidget::Top, &TWidget::Top, 0);
    cls.Str("Caption", &TWidget::Caption, &TWidget::Caption, "");
    cls.Bool("Enabled", &TWidget::Enabled, &TWidget::SetEnabled, true);
    cls.Enum("Lamp", &TWidget::Lamp, &TWidget::Lamp, {"lcAmber", "lcBlue", "lcRed"}, lcRed);
    cls.Float("Ratio", &TWidget::Ratio, &TWidget::Ratio, 0.0);
    cls.Binary("Data", &TWidget::Data, &TWidget::Data);
    cls.Color("Color", &TWidget::Color, &TWidget::Color, clBtnFace);
    cls.Int("Big", &TWidget::Big, &TWidget::Big, 0);
    cls.Object("Font", &TWidget::Font);
    cls.Component("Buddy", &TWidget::Buddy, &TWidget::SetBuddy);
    cls.Event("OnClick", &TWidget::OnClick);
    cls.Event("OnKey", &TWidget::OnKey);
}

int TWidget::Live = 0;

TWidget::TWidget(fw::TComponent* AOwner) : TComponent(AOwner) {
    ++Live;
}

TWidget::~TWidget() {
    --Live;
    PrepareDestroy();
    if (FParent != nullptr) std::erase(FParent->FChildren, this);
    for (TWidget* child : FChildren)
        child->FParent = nullptr;
}

void TWidget::SetEnabled(bool v) {
    ++EnabledSets;
    FEnabled = v;
    if (ComponentState().Contains(fw::csLoading) && ComponentState().Contains(fw::csReading))
        Log().push_back("set Enabled of " + Name() + " while reading");
}

void TWidget::SetBuddy(TWidget* v) {
    FBuddy = v;
    if (v != nullptr) v->FreeNotification(this);
}

void TWidget::SetParentComponent(fw::TComponent* Value) {
    auto* parent = dynamic_cast<TWidget*>(Value);
    if (FParent != nullptr) std::erase(FParent->FChildren, this);
    FParent = parent;
    if (parent != nullptr) parent->FChildren.push_back(this);
}

void TWidget::GetChildren(const std::function<void(fw::TComponent*)>& proc, fw::TComponent* root) {
    for (TWidget* child : FChildren)
        if (child->Owner() == root) proc(child);
}

void TWidget::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    Log().push_back(Name() + (Operation == fw::opInsert ? " insert " : " remove ") + AComponent->Name());
    if (Operation == fw::opRemove && AComponent == FBuddy) FBuddy = nullptr;
}

void TWidget::Loaded() {
    TComponent::Loaded();
    Log().push_back("loaded " + Name());
}

FW_PUBLISH(TTicker) {
    cls.Int("Interval", &TTicker::Interval, &TTicker::Interval, 1000);
    cls.Bool("Enabled", &TTicker::Enabled, &TTicker::Enabled, true);
    cls.Event("OnTimer", &TTicker::OnTimer);
    cls.Int("Left", &TTicker::DesignLeft, &TTicker::DesignLeft, 0).WrittenLast();
    cls.Int("Top", &TTicker::DesignTop, &TTicker::DesignTop, 0).WrittenLast();
}

FW_PUBLISH(TTestForm) {
    cls.Int("PixelsPerInch", &TTestForm::PixelsPerInch, &TTestForm::PixelsPerInch).WrittenLast();
    cls.Redeclare("Color").Default(clRed);
    cls.Field("tmr", &TTestForm::tmr);
    cls.Field("btnOk", &TTestForm::btnOk);
    cls.Method("FormClick", &TTestForm::FormClick);
    cls.Method("FormKey", &TTestForm::FormKey);
    cls.Method("tmrTimer", &TTestForm::tmrTimer);
}

void TTestForm::GetChildren(const std::function<void(fw::TComponent*)>& proc, fw::TComponent* root) {
    TWidget::GetChildren(proc, root);
    if (root == this)
        for (int i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent()) proc(Components(i));
}

// A form with every kind of property, as the writer writes it.
const char* const RichForm = R"(object frmMain: TTestForm
  Tag = 7
  Left = 10
  Top = -20
  Caption = 'Main ''form'''
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'Sans'
  OnClick = FormClick
  PixelsPerInch = 96
  object btnOk: TWidget
    Caption = 'Line1'#13#10'Line2 ü'
    Enabled = False
    Lamp = lcAmber
    Ratio = 0.1
    Color = 1193046
    Big = -9223372036854775808
    Font.Charset = SYMBOL_CHARSET
    Font.Color = clRed
    Font.Height = -8
    Font.Name = 'Mono'
    Font.Style = [fsBold, fsUnderline]
    Buddy = edt
    OnClick = FormClick
    OnKey = FormKey
  end
  object pnl: TWidget
    Data = {
      000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
      2021222324252627}
    Font.Height = -11
    Font.Name = 'Sans'
    object edt: TWidget
      Font.Height = -11
      Font.Name = 'Sans'
    end
  end
  object tmr: TTicker
    Interval = 100
    OnTimer = tmrTimer
    Left = 144
    Top = 84
  end
end
)";

FW_PUBLISH(TResourceForm) {}

FW_PUBLISH(TColumn) {
    cls.Int("Width", &TColumn::Width, &TColumn::Width, 64);
    cls.Str("Title", &TColumn::Title, &TColumn::Title, "");
    cls.Object("Buttons", [](const TColumn* c) { return c->Buttons.get(); });
}

FW_PUBLISH(TGrid) {
    cls.Object("Columns", &TGrid::Columns);
    cls.Object("Lines", &TGrid::Lines);
}

FW_PUBLISH(TTestFrame) {}
FW_PUBLISH(TDerivedForm) {}

const char* const TResourceForm::Resource = R"(object frmRes: TResourceForm
  Caption = 'Resource'
  OnClick = FormClick
  object tmr: TTicker
    Interval = 100
    OnTimer = tmrTimer
  end
end
)";

TResourceForm::TResourceForm(fw::TComponent* AOwner) : TTestForm(AOwner) {
    fw::ReadRootFromText(this, Resource);
}

std::unique_ptr<fw::TComponent> RoundTrip(const String& text) {
    std::unique_ptr<fw::TComponent> root(fw::ReadComponentFromText(text));
    const String written = fw::WriteComponentToText(root.get());
    std::unique_ptr<fw::TComponent> again(fw::ReadComponentFromText(written));
    EXPECT_EQ(fw::WriteComponentToText(again.get()), written) << "read from:\n" << text;
    return root;
}

} // namespace test
