#include "TestClasses.h"

#include <gtest/gtest.h>

namespace {

using namespace test;

// A base that declares properties for its descendants to list where they
// want them, and two descendants: one lists them in its own order, one not.
class TStore : public fw::TComponent {
    FW_CLASS(TStore, fw::TComponent)
public:
    using TComponent::TComponent;
    String Source, Query;
    int Kind = 0;
};
class TFileStore : public TStore {
    FW_CLASS(TFileStore, TStore)
public:
    using TStore::TStore;
    String File;
};
class TBareStore : public TStore {
    FW_CLASS(TBareStore, TStore)
public:
    using TStore::TStore;
};

FW_PUBLISH(TStore) {
    cls.Str("Source", &TStore::Source, &TStore::Source, "").Unlisted();
    cls.Int("Kind", &TStore::Kind, &TStore::Kind, 0);
    cls.Str("Query", &TStore::Query, &TStore::Query, "").Unlisted();
}
FW_PUBLISH(TFileStore) {
    cls.Redeclare("Query");
    cls.Str("File", &TFileStore::File, &TFileStore::File, "");
    cls.Redeclare("Source").Default("none");
}
FW_PUBLISH(TBareStore) {}

class PropertyTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

std::vector<String> Names(const fw::TObject* obj) {
    std::vector<String> names;
    for (const fw::TPropInfo* p : fw::GetPropList(obj))
        names.push_back(p->Name);
    return names;
}

TEST_F(PropertyTest, ListKeepsDeclarationOrderAndRedeclaredPlaces) {
    TTestForm form(nullptr);
    EXPECT_EQ(Names(&form), (std::vector<String>{"Name", "Tag", "Left", "Top", "Caption", "Enabled", "Lamp",
                                                 "Ratio", "Data", "Color", "Big", "Font", "Buddy", "OnClick",
                                                 "OnKey", "PixelsPerInch"}));
    // The redeclared Color keeps its place but has the form's default.
    EXPECT_EQ(fw::GetPropInfo(&form, "Color")->DefaultOrd, static_cast<std::int64_t>(clRed));
    TWidget w(nullptr);
    EXPECT_EQ(fw::GetPropInfo(&w, "Color")->DefaultOrd, static_cast<std::int64_t>(clBtnFace));
}

TEST_F(PropertyTest, UnlistedPropertiesAreListedWhereADescendantRedeclaresThem) {
    TFileStore listed(nullptr);
    EXPECT_EQ(Names(&listed), (std::vector<String>{"Name", "Tag", "Kind", "Query", "File", "Source"}));
    EXPECT_EQ(fw::GetPropInfo(&listed, "Source")->DefaultStr, "none");
    fw::SetStrProp(&listed, "Query", "q");
    EXPECT_EQ(listed.Query, "q") << "the base's accessors serve the descendant";

    TBareStore bare(nullptr);
    EXPECT_EQ(Names(&bare), (std::vector<String>{"Name", "Tag", "Kind"}));
    EXPECT_EQ(fw::GetPropInfo(&bare, "Query"), nullptr);
    EXPECT_THROW(fw::SetStrProp(&bare, "Query", "q"), fw::EPropertyError);
    bare.SetName("bare");
    fw::RegisterClasses({TBareStore::StaticClass()});
    EXPECT_ANY_THROW(std::unique_ptr<fw::TComponent>(
        fw::ReadComponentFromText("object bare: TBareStore\n  Query = 'q'\nend\n")))
        << "a form file cannot set what the class does not list";
}

TEST_F(PropertyTest, TypedAccessByDottedName) {
    TWidget w(nullptr);
    fw::SetOrdProp(&w, "Font.Height", -13);
    EXPECT_EQ(w.Font()->Height(), -13);
    EXPECT_EQ(fw::GetOrdProp(&w, "font.height"), -13);
    fw::SetOrdProp(&w, "Enabled", 0);
    EXPECT_FALSE(w.Enabled());
    EXPECT_EQ(w.EnabledSets, 1); // through the setter
    fw::SetStrProp(&w, "Caption", "x");
    EXPECT_EQ(fw::GetStrProp(&w, "Caption"), "x");
    fw::SetFloatProp(&w, "Ratio", 2.5);
    EXPECT_EQ(fw::GetFloatProp(&w, "Ratio"), 2.5);
    EXPECT_EQ(fw::GetObjectProp(&w, "Font"), w.Font());

    EXPECT_THROW(fw::GetOrdProp(&w, "Nothing"), fw::EPropertyError);
    EXPECT_THROW(fw::GetOrdProp(&w, "Caption"), fw::EPropertyError);
    EXPECT_THROW(fw::SetOrdProp(&w, "Left", std::int64_t{1} << 40), fw::EPropertyError);
    EXPECT_THROW(fw::SetOrdProp(&w, "Lamp", 3), fw::EPropertyError);
    EXPECT_THROW(fw::GetOrdProp(&w, "Left.Top"), fw::EPropertyError);
}

TEST_F(PropertyTest, TextAccessSpeaksTheFormFileSyntax) {
    TTestForm form(nullptr);
    TWidget* w = new TWidget(&form);
    w->SetName("w");
    TWidget* other = new TWidget(&form);
    other->SetName("other");

    EXPECT_EQ(fw::GetPropText(w, "Color"), "clBtnFace");
    fw::SetPropText(w, "Color", "$00FF00");
    EXPECT_EQ(fw::GetPropText(w, "Color"), "65280");
    fw::SetPropText(w, "Font.Style", "[fsStrikeOut, fsBold]");
    EXPECT_EQ(fw::GetPropText(w, "Font.Style"), "[fsBold, fsStrikeOut]");
    fw::SetPropText(w, "Caption", "'it''s'");
    EXPECT_EQ(w->Caption, "it's");
    EXPECT_EQ(fw::GetPropText(w, "Caption"), "'it''s'");
    fw::SetPropText(w, "Buddy", "other", &form);
    EXPECT_EQ(w->Buddy(), other);
    EXPECT_EQ(fw::GetPropText(w, "Buddy"), "other");
    fw::SetPropText(w, "OnClick", "FormClick", &form);
    EXPECT_EQ(fw::GetPropText(w, "OnClick"), "FormClick");
    w->Click();
    EXPECT_EQ(form.Clicks, 1);
    fw::SetPropText(w, "OnClick", "nil", &form);
    EXPECT_FALSE(static_cast<bool>(w->OnClick));
    EXPECT_EQ(fw::GetPropText(w, "OnClick"), "");

    EXPECT_THROW(fw::SetPropText(w, "Lamp", "'lcRed'"), fw::EPropertyError);
    EXPECT_THROW(fw::SetPropText(w, "Caption", "'open"), fw::EPropertyError);
    EXPECT_THROW(fw::SetPropText(w, "Buddy", "ghost", &form), fw::EPropertyError);
    EXPECT_THROW(fw::SetMethodProp(w, "OnClick", &form, "FormKey"), fw::EPropertyError);
    TTicker ticker(nullptr);
    EXPECT_THROW(fw::SetComponentProp(w, "Buddy", &ticker), fw::EPropertyError);
    EXPECT_EQ(w->Buddy(), other);
}

} // namespace
