// The keyboard layout used to type text and to make characters from key
// presses, and the message queue's ordering rules.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Edit.h>
#include <framework/controls/MessageQueue.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Utf8.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>
#include <vector>

namespace fw {
namespace {

TEST(KeyboardLayout, EveryPrintableCharacterTypesBackToItself) {
    for (int c = 32; c < 127; ++c) {
        TKeyStroke stroke;
        ASSERT_TRUE(KeyForChar(static_cast<char>(c), stroke)) << c;
        char back = 0;
        ASSERT_TRUE(CharForKey(stroke.Key, stroke.Shift, false, false, back)) << c;
        EXPECT_EQ(back, static_cast<char>(c));
    }
}

TEST(KeyboardLayout, ControlAndSpecialKeys) {
    char c = 0;
    ASSERT_TRUE(CharForKey('C', false, true, false, c));
    EXPECT_EQ(c, 3);
    ASSERT_TRUE(CharForKey('V', true, true, false, c));
    EXPECT_EQ(c, 22);
    ASSERT_TRUE(CharForKey(VK_RETURN, false, false, false, c));
    EXPECT_EQ(c, '\r');
    ASSERT_TRUE(CharForKey(VK_ESCAPE, false, false, false, c));
    EXPECT_EQ(c, 27);
    ASSERT_TRUE(CharForKey(VK_BACK, false, false, false, c));
    EXPECT_EQ(c, 8);
    // Keys that make no character.
    EXPECT_FALSE(CharForKey(VK_LEFT, false, false, false, c));
    EXPECT_FALSE(CharForKey(VK_F2, false, false, false, c));
    EXPECT_FALSE(CharForKey(VK_SHIFT, false, false, false, c));
    EXPECT_FALSE(CharForKey('A', false, false, true, c)); // Alt+A
    EXPECT_FALSE(CharForKey('1', false, true, false, c)); // Ctrl+1
    TKeyStroke s;
    EXPECT_FALSE(KeyForChar('\x01', s));
}

class QueueTest : public test::UiFixture {};

TEST_F(QueueTest, PostedMessagesComeBeforeInputAndInOrder) {
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.Show();
    std::vector<std::string> log;
    edit->OnKeyPress = [&](TObject*, Char& k) { log.push_back("key " + CharToUtf8(k)); };
    class TProbe : public TEdit {
    public:
        TProbe(TComponent* o, std::vector<std::string>& l) : TEdit(o), FLog(l) {}
        void Dispatch(TMessage& m) override {
            if (m.Msg == WM_USER) FLog.push_back("user " + std::to_string(m.WParam));
            TEdit::Dispatch(m);
        }

    private:
        std::vector<std::string>& FLog;
    };
    auto* probe = new TProbe(&form, log);
    probe->SetParent(&form);
    TInputEvent down;
    down.Kind = TInputKind::KeyDown;
    down.Key = 'A';
    MessageQueue().PostInput(down);
    PostMessage(probe, WM_USER, 1);
    PostMessage(probe, WM_USER, 2);
    Ui::Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"user 1", "user 2", "key a"}));
}

TEST_F(QueueTest, MessagesToAFreedControlAreDropped) {
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    PostMessage(edit, WM_CHAR, 'x');
    delete edit;
    EXPECT_FALSE(MessageQueue().HasPosted());
    Ui::Pump();
}

TEST_F(QueueTest, VirtualClockOnlyMovesWhenIdleOrAsked) {
    TMessageQueue& q = MessageQueue();
    const Cardinal start = q.TickCount();
    int fired = 0;
    const unsigned id = q.SetTimer([&] { ++fired; }, 40);
    Ui::Pump();
    EXPECT_EQ(q.TickCount(), start);
    EXPECT_EQ(fired, 0);
    Application->ProcessMessages(); // nothing pending: time passes to the timer
    EXPECT_EQ(q.TickCount(), start + 40);
    EXPECT_EQ(fired, 1);
    q.KillTimer(id);
    Application->ProcessMessages(); // no timer: the clock stands
    EXPECT_EQ(q.TickCount(), start + 40);
}

TEST_F(QueueTest, ATimerKilledByItsOwnHandlerStops) {
    TMessageQueue& q = MessageQueue();
    int fired = 0;
    unsigned id = 0;
    id = q.SetTimer(
        [&] {
            ++fired;
            q.KillTimer(id);
        },
        10);
    Ui::Wait(100);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(q.TimerCount(), 0);
}

} // namespace
} // namespace fw
