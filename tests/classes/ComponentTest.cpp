#include "TestClasses.h"

#include <gtest/gtest.h>

namespace {

using namespace test;
using fw::TComponent;

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { Log().clear(); }
};

TWidget* MakeWidget(TComponent* owner, const String& name) {
    auto* w = new TWidget(owner);
    w->SetName(name);
    return w;
}

TEST_F(ComponentTest, OwnerFreesWhatItOwnsLastFirst) {
    {
        TWidget form(nullptr);
        form.SetName("form");
        MakeWidget(&form, "a");
        MakeWidget(MakeWidget(&form, "b"), "b1");
        EXPECT_EQ(TWidget::Live, 4);
        EXPECT_EQ(form.ComponentCount(), 2);
        Log().clear();
    }
    EXPECT_EQ(TWidget::Live, 0);
    // The owner lets its components go without telling each about the others.
    EXPECT_TRUE(Log().empty());
}

TEST_F(ComponentTest, DeletedComponentLeavesOwnerAndNotifiesOwnerAndSiblings) {
    TWidget form(nullptr);
    form.SetName("form");
    TWidget* a = MakeWidget(&form, "a");
    TWidget* b = MakeWidget(&form, "b");
    EXPECT_EQ(b->ComponentIndex(), 1);
    Log().clear();
    delete a;
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(form.Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    // The base Notification passes the news on before the override logs it.
    EXPECT_EQ(Log(), (std::vector<String>{"b remove a", "form remove a"}));
}

TEST_F(ComponentTest, InsertNotifiesOwnerAndEveryOwnedComponent) {
    TWidget form(nullptr);
    form.SetName("form");
    MakeWidget(&form, "a");
    TWidget other(nullptr);
    other.SetName("x");
    Log().clear();
    form.InsertComponent(&other);
    EXPECT_EQ(Log(), (std::vector<String>{"a insert x", "form insert x"}));
    EXPECT_EQ(other.Owner(), &form);
    form.RemoveComponent(&other);
    EXPECT_EQ(other.Owner(), nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST_F(ComponentTest, InsertsStillReachEveryListenerAfterAFormIsRead) {
    // The reader's plain components are not asked about inserts; what listens
    // still hears them: the owner, a listener owned by a plain component, a
    // listener among them.
    test::RegisterTestClasses();
    std::unique_ptr<TComponent> form(fw::ReadComponentFromText("object form: TTestForm\n"
                                                               "  object tmr: TTicker\n  end\n"
                                                               "  object spare: TTicker\n  end\n"
                                                               "end\n"));
    TWidget x(nullptr);
    x.SetName("x");
    auto insertX = [&] {
        Log().clear();
        form->InsertComponent(&x);
        std::vector<String> heard = Log();
        form->RemoveComponent(&x);
        return heard;
    };
    EXPECT_EQ(insertX(), (std::vector<String>{"form insert x"}));
    MakeWidget(form->FindComponent("spare"), "inner");
    EXPECT_EQ(insertX(), (std::vector<String>{"inner insert x", "form insert x"}));
    MakeWidget(form.get(), "a");
    EXPECT_EQ(insertX(), (std::vector<String>{"inner insert x", "a insert x", "form insert x"}));
}

TEST_F(ComponentTest, FreeNotificationWorksAcrossOwnersAndInBothDirections) {
    TWidget form1(nullptr), form2(nullptr);
    TWidget* edit = MakeWidget(&form1, "edit");
    TWidget* source = MakeWidget(&form2, "source");
    edit->SetBuddy(source); // asks source for a free notification
    Log().clear();
    delete source;
    EXPECT_EQ(edit->Buddy(), nullptr);
    EXPECT_EQ(Log().front(), "edit remove source");

    TWidget* source2 = MakeWidget(&form2, "source2");
    edit->SetBuddy(source2);
    delete edit; // source2 must forget edit: deleting it later touches nothing freed
    Log().clear();
    delete source2;
    EXPECT_EQ(Log(), (std::vector<String>{" remove source2"})); // only its (unnamed) owner hears
}

TEST_F(ComponentTest, FreeNotificationWithinOneOwnerArrivesOnce) {
    TWidget form(nullptr);
    form.SetName("form");
    TWidget* a = MakeWidget(&form, "a");
    TWidget* b = MakeWidget(&form, "b");
    a->SetBuddy(b);
    Log().clear();
    delete b;
    EXPECT_EQ(std::count(Log().begin(), Log().end(), "a remove b"), 1);
    EXPECT_EQ(a->Buddy(), nullptr);
}

// Owners of a few components and of many (those search an index of names):
// the same answers through renames, removals and clashes.
TEST_F(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
    for (int fillers : {0, 40}) {
        SCOPED_TRACE(fillers);
        TWidget form(nullptr);
        for (int i = 0; i < fillers; ++i)
            MakeWidget(&form, "Filler" + std::to_string(i));
        TWidget* a = MakeWidget(&form, "Edit1");
        for (const char* bad : {"1abc", "a b", "a-b", "a.b", "\xE9t\xE9"}) // the last is not UTF-8
            EXPECT_THROW(a->SetName(bad), fw::EComponentError) << bad;
        EXPECT_EQ(a->Name(), "Edit1");
        TWidget* letters = MakeWidget(&form, "é"); // letters beyond ASCII, in UTF-8
        EXPECT_EQ(form.FindComponent("é"), letters);

        TWidget* b = MakeWidget(&form, "");
        EXPECT_THROW(b->SetName("EDIT1"), fw::EComponentError);
        EXPECT_NO_THROW(MakeWidget(&form, "")); // several unnamed components are fine
        EXPECT_NO_THROW(a->SetName("edit1"));   // a case change of one's own name
        EXPECT_NO_THROW(b->SetName("_Edit_2"));
        EXPECT_EQ(form.FindComponent("EDIT1"), a);
        EXPECT_EQ(form.FindComponent("_edit_2"), b);
        EXPECT_EQ(form.FindComponent(""), nullptr);

        // A name given up is free, and a component gone is not found.
        EXPECT_NO_THROW(a->SetName("Memo1"));
        EXPECT_EQ(form.FindComponent("edit1"), nullptr);
        EXPECT_NO_THROW(b->SetName("Edit1"));
        delete a;
        EXPECT_EQ(form.FindComponent("memo1"), nullptr);
        EXPECT_EQ(form.FindComponent("EDIT1"), b);

        // Moving a component next to a namesake fails and leaves it where it was;
        // moving it away frees its name.
        TWidget other(nullptr);
        TWidget* clash = MakeWidget(&other, "edit1");
        EXPECT_THROW(form.InsertComponent(clash), fw::EComponentError);
        EXPECT_EQ(clash->Owner(), &other);
        TWidget third(nullptr);
        third.InsertComponent(b);
        EXPECT_EQ(form.FindComponent("Edit1"), nullptr);
        EXPECT_NO_THROW(form.InsertComponent(clash));
        EXPECT_EQ(form.FindComponent("EDIT1"), clash);
    }
}

TEST_F(ComponentTest, PublishedFieldsFollowNameAndLifetime) {
    TTestForm form(nullptr);
    auto* t = new TTicker(&form);
    EXPECT_EQ(form.tmr, nullptr);
    t->SetName("tmr");
    EXPECT_EQ(form.tmr, t);
    t->SetName("tmr2");
    EXPECT_EQ(form.tmr, nullptr);
    t->SetName("tmr");
    delete t;
    EXPECT_EQ(form.tmr, nullptr);
    // A component of the wrong class does not land in the field.
    auto* w = MakeWidget(&form, "tmr");
    EXPECT_EQ(form.tmr, nullptr);
    delete w;
}

TEST_F(ComponentTest, StatesAndClassTests) {
    TTestForm form(nullptr);
    TWidget* a = MakeWidget(&form, "a");
    form.SetDesigning(true);
    EXPECT_TRUE(a->ComponentState().Contains(fw::csDesigning));
    TWidget* late = MakeWidget(&form, "late");
    EXPECT_TRUE(late->ComponentState().Contains(fw::csDesigning));

    EXPECT_EQ(form.ClassName(), "TTestForm");
    EXPECT_TRUE(form.is<TWidget>());
    EXPECT_TRUE(form.is<fw::TPersistent>());
    EXPECT_FALSE(a->is<TTestForm>());
    EXPECT_TRUE(TResourceForm::StaticClass()->InheritsFrom(TTestForm::StaticClass()));
    // Assigning between unrelated persistents is refused.
    TTestFont f1, f2;
    EXPECT_THROW(f1.Assign(&f2), fw::EConvertError);
    EXPECT_THROW(f1.Assign(nullptr), fw::EConvertError);
}

TEST_F(ComponentTest, OwnedComponentsSeeTheirOwnerDestroying) {
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        bool* OwnerWasDestroying = nullptr;
        ~TWatcher() override { *OwnerWasDestroying = Owner() == nullptr; }
    };
    bool ownerGone = false;
    {
        TComponent owner(nullptr);
        (new TWatcher(&owner))->OwnerWasDestroying = &ownerGone;
    }
    // The owner takes a component out of its list before deleting it.
    EXPECT_TRUE(ownerGone);
}

} // namespace
