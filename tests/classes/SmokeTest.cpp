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
