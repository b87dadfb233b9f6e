// The key filter, typed as a person types: what passes, what beeps, and how
// OnKeyPress and AllowKeyEntry change that.

#include "DateEditFixture.h"

#include <framework/controls/Clipboard.h>
#include <framework/platform/Keys.h>
#include <gtest/gtest.h>
#include <string>

namespace qztest {
namespace {

using fw::Ui::BeepCount;
using fw::Ui::PressKey;
using fw::Ui::TypeText;

class KeyFilter : public DateEditFixture {
protected:
    void SetUp() override {
        DateEditFixture::SetUp();
        fw::Clipboard().Clear();
        edit->SetErrorMessageType(qz::mtSilent);
    }
};

TEST_F(KeyFilter, DigitsAndSlashesPassSilently) {
    TypeText("12/31/2003");
    EXPECT_EQ(edit->Text(), "12/31/2003");
    EXPECT_EQ(BeepCount(), 0);
}

TEST_F(KeyFilter, EveryOtherCharacterBeepsAndInsertsNothing) {
    TypeText("1a -.2");
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_EQ(BeepCount(), 4);
    EXPECT_EQ(fw::LastBeepType(), fw::MB_OK);
}

// A character of two, three or four UTF-8 bytes is one key: one beep, nothing
// inserted; among them the ones whose low byte is a digit or a slash (U+0131,
// U+012F, U+FF11), which a filter judging a byte would let through.
TEST_F(KeyFilter, ACharacterBeyondAsciiIsOneRefusedKeyWhateverItsLength) {
    for (const char* typed : {"\xC3\xA9", "\xC4\xB1", "\xC4\xAF", "\xD0\x96", "\xE2\x82\xAC", "\xEF\xBC\x91",
                              "\xF0\x9F\x98\x80"}) {
        for (bool typing : {true, false}) {
            SCOPED_TRACE(std::string(typed) + (typing ? " typing" : " without typing"));
            edit->SetAllowKeyEntry(typing);
            edit->SetText("1/2");
            fw::Ui::PressKey(fw::VK_END);
            const int before = BeepCount();
            TypeText(typed);
            EXPECT_EQ(BeepCount() - before, 1);
            EXPECT_EQ(edit->Text(), "1/2");
        }
    }
}

TEST_F(KeyFilter, AnEnterThatReachesTheEditAsACharacterBeeps) {
    // With no default button on the form, Enter reaches the edit as character 13.
    PressKey(fw::VK_RETURN);
    EXPECT_EQ(BeepCount(), 1);
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(KeyFilter, EditingKeysAndTheClipboardPass) {
    TypeText("1/2/2003");
    PressKey(fw::VK_BACK);
    EXPECT_EQ(edit->Text(), "1/2/200");
    edit->SelectAll();
    PressKey('C', {fw::ssCtrl});
    PressKey('X', {fw::ssCtrl});
    EXPECT_EQ(edit->Text(), "");
    PressKey('V', {fw::ssCtrl});
    EXPECT_EQ(edit->Text(), "1/2/200");
    EXPECT_EQ(BeepCount(), 0);
}

TEST_F(KeyFilter, ThePasteIsNotFilteredOnlyTheKeys) {
    // The filter limits characters, not structure or pasted text; the exit check judges.
    TypeText("1/2/3/4");
    EXPECT_EQ(edit->Text(), "1/2/3/4");
    fw::Clipboard().SetAsText("x1/2/03");
    PressKey('V', {fw::ssCtrl});
    EXPECT_EQ(edit->Text(), "1/2/3/4x1/2/03");
    EXPECT_EQ(BeepCount(), 0);
    fw::Ui::Tab();
    EXPECT_TRUE(edit->Focused());
}

TEST_F(KeyFilter, OnKeyPressRunsFirstAndTheFilterJudgesItsResult) {
    // A handler that turns '-' into '/' makes it acceptable; one that swallows a
    // digit leaves a null character, which still beeps.
    edit->OnKeyPress = [](fw::TObject*, fw::Char& Key) {
        if (Key == '-') Key = '/';
        if (Key == '9') Key = 0;
    };
    TypeText("1-2-93");
    EXPECT_EQ(edit->Text(), "1/2/3");
    EXPECT_EQ(BeepCount(), 1);
}

class KeyFilterWithoutTyping : public KeyFilter {
protected:
    void SetUp() override {
        KeyFilter::SetUp();
        edit->SetDate(fw::EncodeDate(2003, 2, 1));
        edit->SetAllowKeyEntry(false);
        edit->SetSelStart(3);
    }
};

TEST_F(KeyFilterWithoutTyping, DeleteClearsTheWholeText) {
    PressKey(fw::VK_DELETE);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(BeepCount(), 0);
}

TEST_F(KeyFilterWithoutTyping, BackspaceClearsTheWholeText) {
    PressKey(fw::VK_BACK);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(BeepCount(), 0);
}

TEST_F(KeyFilterWithoutTyping, PrintableKeysAndTheClipboardKeysBeep) {
    TypeText("1/a");
    PressKey('C', {fw::ssCtrl});
    PressKey('V', {fw::ssCtrl});
    PressKey('X', {fw::ssCtrl});
    EXPECT_EQ(edit->Text(), "01/02/2003");
    EXPECT_EQ(BeepCount(), 6);
}

TEST_F(KeyFilterWithoutTyping, NoPasteOrCutPathChangesTheText) {
    fw::Clipboard().SetAsText("1/1/1999");
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    PressKey(fw::VK_INSERT, {fw::ssShift});
    PressKey(fw::VK_DELETE, {fw::ssShift});
    edit->Perform(fw::WM_PASTE);
    edit->Perform(fw::WM_CUT);
    EXPECT_EQ(edit->Text(), "01/02/2003");
    EXPECT_EQ(fw::Clipboard().AsText(), "1/1/1999");
    // Copying changes nothing and stays allowed.
    PressKey(fw::VK_INSERT, {fw::ssCtrl});
    EXPECT_EQ(fw::Clipboard().AsText(), "01/02/2003");
    // With typing allowed again, the same paths work.
    edit->SetAllowKeyEntry(true);
    edit->SelectAll();
    PressKey(fw::VK_DELETE, {fw::ssShift});
    EXPECT_EQ(edit->Text(), "");
    PressKey(fw::VK_INSERT, {fw::ssShift});
    EXPECT_EQ(edit->Text(), "01/02/2003");
}

TEST_F(KeyFilterWithoutTyping, EscapeIsSwallowedSilently) {
    int Pressed = 0;
    edit->OnKeyPress = [&](fw::TObject*, fw::Char& Key) { Pressed += Key == 27; };
    PressKey(fw::VK_ESCAPE);
    EXPECT_EQ(Pressed, 1);
    EXPECT_EQ(BeepCount(), 0);
    EXPECT_EQ(edit->Text(), "01/02/2003");
}

} // namespace
} // namespace qztest
