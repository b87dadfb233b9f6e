// Reporting an invalid date on leaving: the order of what happens, the four
// report styles, and the dialogs read back and answered.

#include "DateEditFixture.h"

#include <framework/forms/Dialogs.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qztest {
namespace {

using fw::Ui::OnNextModal;
using fw::Ui::PressButton;

struct SeenBox {
    std::string Caption;
    std::string Text;
    fw::TMessageIcon Icon = fw::TMessageIcon::None;
    std::vector<std::string> Buttons;
};

// Queues a step that reads the next message box and presses OK.
void AnswerNextBox(SeenBox& Seen) {
    OnNextModal([&Seen](fw::TForm*) {
        fw::TMessageForm* Box = fw::Ui::ActiveMessageBox();
        Seen.Caption = fw::Ui::MessageBoxCaption();
        Seen.Text = fw::Ui::MessageBoxText();
        Seen.Icon = Box->Icon();
        for (int I = 0; I < Box->ButtonCount(); ++I)
            Seen.Buttons.push_back(Box->Buttons(I)->Caption());
        PressButton("OK");
    });
}

class Reports : public DateEditFixture {};

TEST_F(Reports, TheFrameworkDialogShowsTheTextWithTheFrameworksErrorCaption) {
    SeenBox Seen;
    AnswerNextBox(Seen);
    TypeAndLeave("31/02/2003");
    EXPECT_EQ(Seen.Caption, "Error");
    EXPECT_EQ(Seen.Text, "'31/02/2003' is not a valid date!");
    EXPECT_EQ(Seen.Icon, fw::TMessageIcon::Stop);
    EXPECT_EQ(Seen.Buttons, std::vector<std::string>{"OK"});
    // After the answer the user is back in the edit, with the text selected.
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->Text(), "31/02/2003");
    EXPECT_EQ(edit->SelLength(), 10);
    EXPECT_FALSE(edit->DateValid());
}

TEST_F(Reports, TheMessageBoxStyleUsesTheTitleAndTheStopIcon) {
    edit->SetErrorMessageType(qz::mtWindows);
    edit->SetErrorMessageTitle("Bad date");
    SeenBox Seen;
    AnswerNextBox(Seen);
    TypeAndLeave("1/13/2003");
    EXPECT_EQ(Seen.Caption, "Bad date");
    EXPECT_EQ(Seen.Text, "'1/13/2003' is not a valid date!");
    EXPECT_EQ(Seen.Icon, fw::TMessageIcon::Stop);
    EXPECT_EQ(Seen.Buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(edit->Focused());
}

TEST_F(Reports, TheMessageMayShowTheTextUpToThreeTimes) {
    edit->SetErrorMessageType(qz::mtWindows);
    edit->SetErrorMessage("[%s] [%s] [%s]");
    SeenBox Seen;
    AnswerNextBox(Seen);
    TypeAndLeave("0/1/2003");
    EXPECT_EQ(Seen.Text, "[0/1/2003] [0/1/2003] [0/1/2003]");
    EXPECT_EQ(Seen.Caption, "Invalid Date!");
}

TEST_F(Reports, AMessageTheFormatterRejectsIsShownAsWritten) {
    edit->SetErrorMessage("100% wrong: %d");
    SeenBox Seen;
    AnswerNextBox(Seen);
    TypeAndLeave("0/1/2003");
    EXPECT_EQ(Seen.Text, "100% wrong: %d");
    EXPECT_EQ(fw::Application->HandledExceptionCount(), 0);
}

TEST_F(Reports, TheOrderIsSelectFocusEventThenReport) {
    edit->SetErrorMessageType(qz::mtBeep);
    std::vector<std::string> Log;
    edit->OnExit = [&](fw::TObject*) { Log.push_back("OnExit"); };
    edit->OnInvalidDate = [&](fw::TObject* Sender) {
        EXPECT_EQ(Sender, edit);
        EXPECT_TRUE(edit->Focused());
        EXPECT_EQ(edit->SelLength(), static_cast<int>(edit->Text().size()));
        EXPECT_EQ(fw::Ui::BeepCount(), 0);
        Log.push_back("OnInvalidDate");
    };
    TypeAndLeave("1//2003");
    EXPECT_EQ(Log, (std::vector<std::string>{"OnExit", "OnInvalidDate"}));
    EXPECT_EQ(fw::Ui::BeepCount(), 1);
    EXPECT_EQ(fw::LastBeepType(), fw::MB_OK);
}

TEST_F(Reports, SilentOnlySelectsKeepsTheFocusAndFiresTheEvent) {
    edit->SetErrorMessageType(qz::mtSilent);
    edit->SetDate(fw::EncodeDate(2003, 2, 1));
    int Invalid = 0;
    edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
    TypeAndLeave("12/2003");
    EXPECT_EQ(Invalid, 1);
    EXPECT_EQ(fw::Ui::BeepCount(), 0);
    EXPECT_EQ(fw::Ui::ActiveModalForm(), nullptr);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelLength(), 7);
    EXPECT_EQ(edit->Date(), fw::EncodeDate(2003, 2, 1));
    // Corrected, the text is taken and the focus moves on.
    TypeAndLeave("1/3/03");
    EXPECT_TRUE(other->Focused());
    EXPECT_TRUE(edit->DateValid());
    EXPECT_EQ(edit->Date(), fw::EncodeDate(2003, 3, 1));
    EXPECT_EQ(Invalid, 1);
}

TEST_F(Reports, ShowErrorMessageCanBeCalledDirectly) {
    edit->SetText("5/5/5/5");
    SeenBox Seen;
    AnswerNextBox(Seen);
    edit->ShowErrorMessage();
    EXPECT_EQ(Seen.Text, "'5/5/5/5' is not a valid date!");
    EXPECT_EQ(Seen.Caption, "Error");
}

} // namespace
} // namespace qztest
