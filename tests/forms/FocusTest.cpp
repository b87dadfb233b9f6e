// Focus, Tab order and the enter/exit messages, driven through real input.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Edit.h>
#include <framework/forms/Form.h>
#include <functional>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>
#include <vector>

namespace fw {
namespace {

// An edit that records the focus messages it gets, in order, into a shared log.
class TLoggingEdit : public TEdit {
public:
    TLoggingEdit(TComponent* owner, std::vector<std::string>& log) : TEdit(owner), FLog(log) {}
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_ENTER)
            FLog.push_back("CM_ENTER " + Name());
        else if (m.Msg == CM_EXIT)
            FLog.push_back("CM_EXIT " + Name());
        TEdit::Dispatch(m);
    }
    std::function<void()> OnDoExit;

protected:
    void DoExit() override {
        TEdit::DoExit();
        if (OnDoExit) OnDoExit();
    }

private:
    std::vector<std::string>& FLog;
};

class FocusTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetName("Form1");
        for (int i = 0; i < 3; ++i) {
            auto* e = new TLoggingEdit(form.get(), log);
            e->SetName("Edit" + std::to_string(i + 1));
            e->SetParent(form.get());
            e->SetBounds(10, 10 + 30 * i, 100, 21);
            e->OnEnter = [this](TObject* s) {
                log.push_back("OnEnter " + static_cast<TComponent*>(s)->Name());
            };
            e->OnExit = [this](TObject* s) {
                log.push_back("OnExit " + static_cast<TComponent*>(s)->Name());
            };
            edits.push_back(e);
        }
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    std::vector<std::string> log;
    std::unique_ptr<TForm> form;
    std::vector<TLoggingEdit*> edits;
};

TEST_F(FocusTest, ShowFocusesTheFirstControlInTabOrder) {
    edits[0]->SetTabOrder(2);
    form->Show();
    EXPECT_TRUE(edits[1]->Focused());
    EXPECT_EQ(form->ActiveControl(), edits[1]);
    EXPECT_EQ(Screen->ActiveForm(), form.get());
    EXPECT_EQ(log, (std::vector<std::string>{"CM_ENTER Edit2", "OnEnter Edit2"}));
}

TEST_F(FocusTest, TabAndShiftTabFollowTabOrderWithExitBeforeEnter) {
    form->Show();
    log.clear();
    Ui::Tab();
    EXPECT_TRUE(edits[1]->Focused());
    EXPECT_EQ(log,
              (std::vector<std::string>{"CM_EXIT Edit1", "OnExit Edit1", "CM_ENTER Edit2", "OnEnter Edit2"}));
    Ui::Tab();
    Ui::Tab(); // wraps around
    EXPECT_TRUE(edits[0]->Focused());
    Ui::ShiftTab();
    EXPECT_TRUE(edits[2]->Focused());
}

TEST_F(FocusTest, TabSkipsControlsThatCannotTakeTheFocus) {
    edits[1]->SetEnabled(false);
    form->Show();
    Ui::Tab();
    EXPECT_TRUE(edits[2]->Focused());
    edits[1]->SetEnabled(true);
    edits[2]->SetTabStop(false);
    Ui::Tab();
    EXPECT_TRUE(edits[0]->Focused());
    Ui::Tab();
    EXPECT_TRUE(edits[1]->Focused());
    Ui::Tab();
    EXPECT_TRUE(edits[0]->Focused());
}

TEST_F(FocusTest, SetFocusFromDoExitKeepsTheFocus) {
    form->Show();
    edits[0]->OnDoExit = [this] { edits[0]->SetFocus(); };
    log.clear();
    Ui::Tab();
    EXPECT_TRUE(edits[0]->Focused());
    EXPECT_EQ(form->ActiveControl(), edits[0]);
    // The second edit never hears of the focus; the first one is entered again.
    EXPECT_EQ(log,
              (std::vector<std::string>{"CM_EXIT Edit1", "OnExit Edit1", "CM_ENTER Edit1", "OnEnter Edit1"}));
    // Typing still goes to the first edit.
    Ui::TypeText("7");
    EXPECT_EQ(edits[0]->Text(), "7");
    EXPECT_EQ(edits[1]->Text(), "");
}

TEST_F(FocusTest, ClickingAnEditFocusesIt) {
    form->Show();
    log.clear();
    Ui::Click(edits[2]);
    EXPECT_TRUE(edits[2]->Focused());
    EXPECT_EQ(log,
              (std::vector<std::string>{"CM_EXIT Edit1", "OnExit Edit1", "CM_ENTER Edit3", "OnEnter Edit3"}));
}

TEST_F(FocusTest, SetFocusOnAHiddenControlRaises) {
    form->Show();
    edits[1]->SetVisible(false);
    EXPECT_THROW(edits[1]->SetFocus(), EInvalidOperation);
    EXPECT_TRUE(edits[0]->Focused());
}

// A disabled or hidden control takes no keys: the focus moves on as on Tab,
// or to the form when nothing else can have it.
TEST_F(FocusTest, DisablingOrHidingTheFocusedControlMovesTheFocusOn) {
    const struct {
        const char* Name;
        std::function<void(TControl*, bool)> Switch;
    } Ways[] = {{"disabled", [](TControl* c, bool on) { c->SetEnabled(on); }},
                {"hidden", [](TControl* c, bool on) { c->SetVisible(on); }}};
    form->Show();
    for (const auto& Way : Ways) {
        edits[0]->SetFocus();
        log.clear();
        Way.Switch(edits[0], false);
        EXPECT_TRUE(edits[1]->Focused()) << Way.Name;
        EXPECT_EQ(log, (std::vector<std::string>{"CM_EXIT Edit1", "OnExit Edit1", "CM_ENTER Edit2",
                                                 "OnEnter Edit2"}))
            << Way.Name;
        Ui::TypeText("7");
        EXPECT_EQ(edits[0]->Text(), "") << Way.Name;
        EXPECT_EQ(edits[1]->Text(), "7") << Way.Name;
        edits[1]->SetText("");
        // Nothing else can have it: the form has it, and keys reach no edit.
        Way.Switch(edits[2], false);
        Way.Switch(edits[1], false);
        EXPECT_EQ(FocusedWindow(), form.get()) << Way.Name;
        Ui::TypeText("8");
        for (TLoggingEdit* e : edits)
            EXPECT_EQ(e->Text(), "") << Way.Name;
        for (TLoggingEdit* e : edits)
            Way.Switch(e, true);
    }
}

TEST_F(FocusTest, SetFocusBeforeShowIsRememberedForTheShow) {
    edits[2]->SetFocus();
    EXPECT_TRUE(log.empty());
    form->Show();
    EXPECT_TRUE(edits[2]->Focused());
}

TEST_F(FocusTest, FreeingTheFocusedControlClearsTheFocus) {
    form->Show();
    delete edits[0];
    edits.erase(edits.begin());
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(FocusedWindow(), nullptr);
    Ui::TypeText("x"); // goes nowhere, harms nothing
    Ui::Tab();
    EXPECT_TRUE(edits[0]->Focused());
}

} // namespace
} // namespace fw
