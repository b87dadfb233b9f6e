#include <framework/classes/ClassRegistry.h>
#include <framework/classes/FormFile.h>

#include <gtest/gtest.h>

namespace {

enum TLamp { lpOff, lpOn };

class TLampBox : public fw::TComponent {
    FW_CLASS(TLampBox, fw::TComponent)
public:
    using TComponent::TComponent;
    TLamp Lamp() const { return FLamp; }
    void SetLamp(TLamp v) { FLamp = v; }
    fw::TNotifyEvent OnClick;
    void Clicked(fw::TObject*) {}
    TLampBox* child = nullptr;

private:
    TLamp FLamp = lpOff;
};

FW_PUBLISH(TLampBox) {
    cls.Enum("Lamp", &TLampBox::Lamp, &TLampBox::SetLamp, {"lpOff", "lpOn"}, lpOff);
    cls.Event("OnClick", &TLampBox::OnClick);
    cls.Method("Clicked", &TLampBox::Clicked);
    cls.Field("child", &TLampBox::child);
}

TEST(Smoke, ClassInfo) {
    TLampBox box(nullptr);
    EXPECT_EQ(box.ClassName(), "TLampBox");
    EXPECT_TRUE(box.is<fw::TComponent>());
    auto* c = new TLampBox(&box);
    c->SetName("child");
    EXPECT_EQ(box.child, c);
    delete c;
    EXPECT_EQ(box.child, nullptr);
}

} // namespace

namespace {

enum TStyleBit { sbBold, sbItalic };
using TStyleBits = fw::Set<TStyleBit>;

class TFontish : public fw::TPersistent {
    FW_CLASS(TFontish, fw::TPersistent)
public:
    int Height = -8;
    TStyleBits Style;
    TStyleBits GetStyle() const { return Style; }
    void SetStyle(TStyleBits s) { Style = s; }
};

FW_PUBLISH(TFontish) {
    cls.Int("Height", &TFontish::Height, &TFontish::Height, -8);
    cls.SetOf("Style", &TFontish::GetStyle, &TFontish::SetStyle, {"sbBold", "sbItalic"}, TStyleBits{});
}

class TEverything : public TLampBox {
    FW_CLASS(TEverything, TLampBox)
public:
    using TLampBox::TLampBox;
    std::uint32_t Color = 5;
    fw::String Caption;
    double Value = 0;
    fw::String Data;
    TFontish* Font() const { return FFont.get(); }
    TLampBox* Buddy() const { return FBuddy; }
    void SetBuddy(TLampBox* b) { FBuddy = b; }
    std::function<void(fw::TObject*, int&)> OnKey;
    void Key(fw::TObject*, int&) {}

private:
    std::unique_ptr<TFontish> FFont = std::make_unique<TFontish>();
    TLampBox* FBuddy = nullptr;
};

FW_PUBLISH(TEverything) {
    cls.Color("Color", &TEverything::Color, &TEverything::Color, 5u);
    cls.Str("Caption", &TEverything::Caption, &TEverything::Caption);
    cls.Float("Value", &TEverything::Value, &TEverything::Value, 0.0);
    cls.Binary("Data", &TEverything::Data, &TEverything::Data);
    cls.Object("Font", &TEverything::Font);
    cls.Component("Buddy", &TEverything::Buddy, &TEverything::SetBuddy);
    cls.Event("OnKey", &TEverything::OnKey);
    cls.Method("Key", &TEverything::Key);
    cls.Redeclare("Lamp").Default(lpOn);
}

TEST(Smoke, EveryKindInstantiates) {
    TEverything e(nullptr);
    auto props = e.ClassInfo()->AllProps();
    ASSERT_GE(props.size(), 9u);
    EXPECT_EQ(props[0]->Name, "Name");
    EXPECT_TRUE(e.ClassInfo()->FindProp("lamp")->DefaultOrd == lpOn);
}

} // namespace
