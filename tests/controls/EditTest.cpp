// The edit on the real input path: typing, the key events, caret keys,
// selection and the clipboard.

#include <framework/backends/headless/Automation.h>
#include <framework/controls/Clipboard.h>
#include <framework/controls/Edit.h>
#include <framework/controls/MessageQueue.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/Utf8.h>
#include <memory>
#include <string>
#include <tests/support/UiFixture.h>
#include <vector>

namespace fw {
namespace {

class EditTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        Clipboard().Clear();
        form = std::make_unique<TForm>(nullptr);
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(8, 8, 121, 21);
        other = new TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(8, 40, 121, 21);
        form->Show();
        ASSERT_TRUE(edit->Focused());
    }
    void TearDown() override {
        form.reset();
        UiFixture::TearDown();
    }

    std::unique_ptr<TForm> form;
    TEdit* edit = nullptr;
    TEdit* other = nullptr;
};

TEST_F(EditTest, TypedTextGoesToTheFocusedEditAndFiresTheKeyEventsInOrder) {
    std::vector<std::string> events;
    edit->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        events.push_back("down " + std::to_string(key));
    };
    edit->OnKeyPress = [&](TObject*, Char& key) { events.push_back("press " + CharToUtf8(key)); };
    edit->OnKeyUp = [&](TObject*, Word& key, TShiftState) { events.push_back("up " + std::to_string(key)); };
    int changes = 0;
    edit->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++changes;
    };
    Ui::TypeText("a1");
    EXPECT_EQ(edit->Text(), "a1");
    EXPECT_EQ(other->Text(), "");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(events,
              (std::vector<std::string>{"down 65", "press a", "up 65", "down 49", "press 1", "up 49"}));
}

TEST_F(EditTest, KeyPressMayChangeOrSwallowTheCharacter) {
    edit->OnKeyPress = [](TObject*, Char& key) {
        if (key == 'x')
            key = 0;
        else if (key >= 'a' && key <= 'z')
            key = key - 'a' + 'A';
    };
    Ui::TypeText("axbx");
    EXPECT_EQ(edit->Text(), "AB");
}

TEST_F(EditTest, ShiftTypesCapitalsAndPunctuation) {
    Ui::TypeText("Hi! 12/31");
    EXPECT_EQ(edit->Text(), "Hi! 12/31");
}

TEST_F(EditTest, KeyDownSettingKeyToZeroStopsTheEditsOwnHandling) {
    Ui::TypeText("abc");
    edit->OnKeyDown = [](TObject*, Word& key, TShiftState) {
        if (key == VK_LEFT) key = 0;
    };
    Ui::PressKey(VK_LEFT);
    EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(EditTest, CaretKeysSelectionAndDeletion) {
    Ui::TypeText("hello");
    Ui::PressKey(VK_HOME);
    EXPECT_EQ(edit->SelStart(), 0);
    Ui::PressKey(VK_RIGHT, {ssShift});
    Ui::PressKey(VK_RIGHT, {ssShift});
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 2);
    EXPECT_EQ(edit->SelText(), "he");
    Ui::PressKey(VK_DELETE);
    EXPECT_EQ(edit->Text(), "llo");
    Ui::PressKey(VK_END);
    Ui::PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "ll");
    Ui::PressKey(VK_LEFT);
    Ui::TypeText("X");
    EXPECT_EQ(edit->Text(), "lXl");
    Ui::PressKey(VK_HOME, {ssShift});
    EXPECT_EQ(edit->SelText(), "lX");
}

// A character of several UTF-8 bytes is one step of the caret, one
// Backspace and one Delete.
TEST_F(EditTest, MultiByteCharactersMoveAndDeleteAsOne) {
    edit->SetText("a\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80z"); // a é Ж € 😀 z
    Ui::PressKey(VK_END);
    Ui::PressKey(VK_LEFT);
    Ui::PressKey(VK_LEFT, {ssShift});
    EXPECT_EQ(edit->SelText(), "\xF0\x9F\x98\x80");
    Ui::PressKey(VK_LEFT, {ssShift});
    EXPECT_EQ(edit->SelText(), "\xE2\x82\xAC\xF0\x9F\x98\x80");
    Ui::PressKey(VK_HOME);
    Ui::PressKey(VK_RIGHT);
    Ui::PressKey(VK_DELETE);
    EXPECT_EQ(edit->Text(), "a\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80z");
    Ui::PressKey(VK_RIGHT);
    Ui::PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "a\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(edit->SelStart(), 1);
}

TEST_F(EditTest, EnteringByTabSelectsAllWithAutoSelect) {
    other->SetText("keep");
    Ui::Tab();
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(other->SelLength(), 4);
    Ui::TypeText("new");
    EXPECT_EQ(other->Text(), "new");
}

TEST_F(EditTest, WritingTextCallsChangeButLeavesModifiedAlone) {
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("01/02/2003");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edit->Modified());
    edit->SetModified(true);
    edit->SetText("x");
    EXPECT_TRUE(edit->Modified());
    edit->SetText("x"); // the same text: no change
    EXPECT_EQ(changes, 2);
}

TEST_F(EditTest, CtrlCharactersBecomeClipboardMessagesAfterKeyPress) {
    std::vector<UINT> seen;
    // A subclass would see WM_CUT/WM_PASTE in Dispatch; the key press sees the characters first.
    edit->OnKeyPress = [&](TObject*, Char& key) { seen.push_back(key); };
    Ui::TypeText("abcd");
    edit->SelectAll();
    Ui::PressKey('C', {ssCtrl});
    EXPECT_EQ(Clipboard().AsText(), "abcd");
    Ui::PressKey(VK_END);
    Ui::PressKey('V', {ssCtrl});
    EXPECT_EQ(edit->Text(), "abcdabcd");
    edit->SetSelStart(2);
    edit->SetSelLength(4);
    Ui::PressKey('X', {ssCtrl});
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_EQ(Clipboard().AsText(), "cdab");
    EXPECT_EQ(seen, (std::vector<UINT>{'a', 'b', 'c', 'd', 3, 22, 24}));
}

TEST_F(EditTest, ReadOnlyEditRefusesCutPasteAndTypingButCopies) {
    edit->SetText("fixed");
    edit->SetReadOnly(true);
    Clipboard().SetAsText("pasted");
    edit->SelectAll();
    Ui::PressKey('X', {ssCtrl});
    EXPECT_EQ(edit->Text(), "fixed");
    EXPECT_EQ(Clipboard().AsText(), "pasted");
    Ui::PressKey('V', {ssCtrl});
    Ui::TypeText("z");
    Ui::PressKey(VK_DELETE);
    Ui::PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "fixed");
    EXPECT_FALSE(edit->Modified());
    Ui::PressKey('C', {ssCtrl});
    EXPECT_EQ(Clipboard().AsText(), "fixed");

    // The writable edit takes the same clipboard.
    Ui::Tab();
    Ui::PressKey('V', {ssCtrl});
    EXPECT_EQ(other->Text(), "fixed");
    other->SelectAll();
    Ui::PressKey('X', {ssCtrl});
    EXPECT_EQ(other->Text(), "");
    EXPECT_EQ(Clipboard().AsText(), "fixed");
}

TEST_F(EditTest, MaxLengthLimitsTypingAndPasting) {
    edit->SetMaxLength(4);
    Ui::TypeText("123456");
    EXPECT_EQ(edit->Text(), "1234");
    Clipboard().SetAsText("abcdef");
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    Ui::PressKey('V', {ssCtrl});
    EXPECT_EQ(edit->Text(), "1ab4");
    // Pasting takes only the first line.
    edit->SetText("");
    Clipboard().SetAsText("xy\r\nzz");
    Ui::PressKey('V', {ssCtrl});
    EXPECT_EQ(edit->Text(), "xy");
}

TEST_F(EditTest, CharCaseAndPasswordChar) {
    edit->SetCharCase(ecUpperCase);
    Ui::TypeText("abc");
    EXPECT_EQ(edit->Text(), "ABC");
    edit->SetPasswordChar('*');
    edit->SelectAll();
    Ui::PressKey('C', {ssCtrl});
    EXPECT_EQ(Clipboard().AsText(), ""); // a password is never copied
}

TEST_F(EditTest, ClickPutsTheCaretAndShiftClickSelects) {
    edit->SetText("abcdef");
    Ui::Click(edit, 1, 5); // before the first character
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 0);
    Ui::DoubleClick(edit, 10, 5);
    EXPECT_EQ(edit->SelLength(), 6);
}

TEST_F(EditTest, CtrlLeftAndRightMoveByWordsAndShiftSelects) {
    Ui::TypeText("14 mar  2026 x");
    struct Row {
        int From;
        Word Key;
        TShiftState Shift;
        int CaretTo;
        const char* Selected;
    };
    const Row rows[] = {
        {14, VK_LEFT, {ssCtrl}, 13, ""},              // to the start of the last word
        {13, VK_LEFT, {ssCtrl}, 8, ""},               // over blanks, then the word
        {0, VK_RIGHT, {ssCtrl}, 3, ""},               // to the start of the next word
        {3, VK_RIGHT, {ssCtrl}, 8, ""},               // two blanks between
        {13, VK_RIGHT, {ssCtrl}, 14, ""},             // the last word: to the end
        {0, VK_LEFT, {ssCtrl}, 0, ""},                // nothing before the start
        {3, VK_RIGHT, {ssCtrl, ssShift}, 8, "mar  "}, // Shift extends the selection
        {12, VK_LEFT, {ssCtrl, ssShift}, 8, "2026"},
    };
    for (const Row& r : rows) {
        edit->SetSelStart(r.From);
        Ui::PressKey(r.Key, r.Shift);
        EXPECT_EQ(edit->CaretPos(), r.CaretTo) << "from " << r.From;
        EXPECT_EQ(edit->SelText(), r.Selected) << "from " << r.From;
    }
}

// The caret blinks only where a blink time is set (a desktop), shows at once
// after a key, and stops with the focus; the edit's pointer is an I-beam.
TEST_F(EditTest, CaretBlinksAtTheSetRateAndShowsAgainOnInput) {
    const auto caretShown = [&] {
        // The caret of the empty edit: column 1 of its client area.
        const TSurface image = Ui::FormImage(form.get());
        const TPoint at = edit->ClientToScreen({1, 4});
        return image.Pixel(at.X - form->Left(), at.Y - form->Top()) == ColorToRGB(clWindowText);
    };
    EXPECT_EQ(edit->ClassCursor(), crIBeam);
    EXPECT_EQ(form->ClassCursor(), crArrow);
    ASSERT_TRUE(caretShown());
    Ui::Wait(2000);
    EXPECT_TRUE(caretShown()) << "no blink time: the caret stays";

    SetCaretBlinkTime(500);
    edit->Invalidate();
    Ui::Pump();
    std::vector<bool> seen;
    for (int i = 0; i < 4; ++i) {
        Ui::Wait(500);
        seen.push_back(caretShown());
    }
    EXPECT_EQ(seen, (std::vector<bool>{false, true, false, true}));
    Ui::Wait(500);
    ASSERT_FALSE(caretShown());
    Ui::PressKey(VK_HOME);
    EXPECT_TRUE(caretShown()) << "a key shows the caret at once";
    Ui::Wait(400);
    EXPECT_TRUE(caretShown()) << "and the blink starts over";

    SetCaretBlinkTime(0);
    Ui::Tab();
    EXPECT_FALSE(edit->Focused());
    Ui::Wait(1000);
    EXPECT_EQ(MessageQueue().TimerCount(), 0) << "the blink stops once the focus is elsewhere";
}

// Ctrl+A selects everything and offers it as the primary selection; Ctrl+Z
// takes back the last change (a run of typing as one), again redoes it;
// writing Text forgets it. The middle button pastes the primary selection
// at the pointer.
TEST_F(EditTest, SelectAllUndoAndThePrimarySelection) {
    PrimarySelection().Clear();
    Ui::TypeText("ab");
    Ui::TypeText("c");
    EXPECT_TRUE(edit->CanUndo());
    Ui::PressKey('A', {ssCtrl});
    EXPECT_EQ(edit->SelText(), "abc");
    EXPECT_EQ(PrimarySelection().AsText(), "abc");
    Ui::PressKey(VK_DELETE);
    const struct {
        Word Key;
        const char* Text;
        int SelLength;
    } steps[] = {{'Z', "abc", 3}, {'Z', "", 0}, {'Z', "abc", 3}};
    for (const auto& step : steps) {
        Ui::PressKey(step.Key, {ssCtrl});
        EXPECT_EQ(edit->Text(), step.Text);
        EXPECT_EQ(edit->SelLength(), step.SelLength);
    }
    edit->SetSelStart(3);
    Ui::TypeText("de");
    Ui::PressKey(VK_BACK);
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abcde") << "Backspace is a change of its own";
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_EQ(edit->Perform(EM_CANUNDO), 1);
    edit->SetText("new");
    EXPECT_FALSE(edit->CanUndo());
    edit->SetReadOnly(true);
    edit->Undo();
    EXPECT_EQ(edit->Text(), "new");
    edit->SetReadOnly(false);

    // Shift+End selects to the end: that selection is the primary one, and a
    // middle click pastes it where it lands (the clipboard is not involved).
    Clipboard().SetAsText("clip");
    edit->SetSelStart(1);
    Ui::PressKey(VK_END, {ssShift});
    EXPECT_EQ(PrimarySelection().AsText(), "ew");
    other->SetText("xy");
    Ui::MouseDown(other, other->ClientWidth() - 2, 8, mbMiddle);
    Ui::MouseUp(other, other->ClientWidth() - 2, 8, mbMiddle);
    EXPECT_EQ(other->Text(), "xyew");
    other->SetReadOnly(true);
    Ui::MouseDown(other, 2, 8, mbMiddle);
    Ui::MouseUp(other, 2, 8, mbMiddle);
    EXPECT_EQ(other->Text(), "xyew");
    // A password never leaves the edit.
    edit->SetPasswordChar('*');
    edit->SetText("secret");
    edit->SetFocus();
    Ui::PressKey('A', {ssCtrl});
    EXPECT_EQ(edit->SelLength(), 6);
    EXPECT_EQ(PrimarySelection().AsText(), "ew");
}

// A desktop that sends the characters as text of their own: the key then makes
// only control characters, and an input method's composition shows in the
// edit without typing anything until it is committed.
TEST_F(EditTest, TextApartFromKeysAndTheInputMethodsComposition) {
    std::vector<Char> pressed;
    edit->OnKeyPress = [&](TObject*, Char& key) { pressed.push_back(key); };
    const auto post = [](TInputEvent e) {
        MessageQueue().PostInput(e);
        Ui::Pump();
    };
    const auto key = [&](Word k) {
        TInputEvent e;
        e.Kind = TInputKind::KeyDown;
        e.Key = k;
        e.TextApart = true;
        post(e);
        e.Kind = TInputKind::KeyUp;
        post(e);
    };
    TInputEvent c;
    c.Kind = TInputKind::Character;
    key('7');
    c.Character = '/';
    post(c);
    key(VK_BACK);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(pressed, (std::vector<Char>{'/', '\b'})) << "the key 7 made no character of its own";

    edit->SetText("ab");
    edit->SetSelStart(1);
    pressed.clear();
    TInputEvent compose;
    compose.Kind = TInputKind::Composition;
    compose.Text = "ka";
    compose.Cursor = 99; // beyond the end: at its end
    post(compose);
    EXPECT_EQ(edit->CompositionText(), "ka");
    EXPECT_EQ(edit->Text(), "ab");
    const TSurface composing = Ui::FormImage(form.get());
    compose.Text = "";
    post(compose);
    c.Character = 0x304B; // the committed text
    post(c);
    EXPECT_EQ(edit->Text(), "a\xE3\x81\x8B"
                            "b");
    EXPECT_EQ(pressed, (std::vector<Char>{0x304B}));
    // The composition was drawn as the text "akab" with the caret after "ka",
    // plus a line under "ka".
    edit->SetText("akab");
    edit->SetSelStart(3);
    const TSurface without = Ui::FormImage(form.get());
    int line = 0;
    for (int y = 0; y < without.Height(); ++y)
        for (int x = 0; x < without.Width(); ++x)
            if (without.Pixel(x, y) != composing.Pixel(x, y)) {
                EXPECT_EQ(composing.Pixel(x, y), ColorToRGB(clWindowText)) << x << ", " << y;
                ++line;
            }
    EXPECT_GT(line, 5);
    // Leaving the edit drops a composition.
    compose.Text = "zz";
    post(compose);
    Ui::Tab();
    EXPECT_EQ(edit->CompositionText(), "");
}

// While the program's windows are not the desktop's active ones the caret
// stands still, shown; it blinks again when they are.
TEST_F(EditTest, CaretStandsStillWhileTheApplicationIsInactive) {
    SetCaretBlinkTime(500);
    edit->Invalidate();
    Ui::Pump();
    EXPECT_EQ(MessageQueue().TimerCount(), 1);
    SetApplicationActive(false);
    Ui::Wait(1600);
    EXPECT_EQ(MessageQueue().TimerCount(), 0);
    const TPoint at = edit->ClientToScreen({1, 4});
    EXPECT_EQ(Ui::FormImage(form.get()).Pixel(at.X - form->Left(), at.Y - form->Top()),
              ColorToRGB(clWindowText));
    SetApplicationActive(true);
    edit->Invalidate();
    Ui::Pump();
    EXPECT_EQ(MessageQueue().TimerCount(), 1);
    SetCaretBlinkTime(0);
}

} // namespace
} // namespace fw
