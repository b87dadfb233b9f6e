// What a press outside the open popup does: by default the popup stays modal
// (the bell rings and it comes to the front); with coCloseOnClickOutside the
// press, or the program losing the desktop's activation, ends it as Escape
// does. And the second press of a double click that picked a day reaches
// nothing underneath.

#include "PopupFixture.h"

#include <framework/controls/Buttons.h>
#include <framework/forms/Screen.h>
#include <string>
#include <vector>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

class OutsideClick : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        button = new fw::TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(200, 8, 75, 25);
        button->OnClick = [this](fw::TObject*) { log.push_back("button click"); };
        edit->OnCloseCalendar = [this](fw::TObject*) { log.push_back("close " + edit->Text()); };
        edit->OnChange = [this](fw::TObject*) { log.push_back("change " + edit->Text()); };
        edit->SetDate(EncodeDate(2026, 3, 10));
        log.clear();
    }

    fw::TButton* button = nullptr;
    std::vector<std::string> log;
};

TEST_F(OutsideClick, ThePopupStaysModalRingsAndComesToTheFrontOrClosesAsEscapeWhenAsked) {
    const struct {
        bool CloseOnClick;
        fw::UINT Message; // 0: a press on the owner form
        bool Closes;
        int Beeps;
    } Rows[] = {
        {false, 0, false, 1},
        {true, 0, true, 0},
        {false, fw::CM_DEACTIVATE, false, 0},
        {true, fw::CM_DEACTIVATE, true, 0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(testing::Message() << Row.CloseOnClick << " " << Row.Message);
        fw::ResetBeeps();
        log.clear();
        edit->SetCalendarOptions(Row.CloseOnClick ? qz::TCalendarOptions{qz::coCloseOnClickOutside}
                                                  : qz::TCalendarOptions{});
        bool StillOpen = false;
        fw::Ui::OnNextModal([&](fw::TForm* Form) {
            auto* Popup = dynamic_cast<TfrmQzCal*>(Form);
            ASSERT_NE(Popup, nullptr);
            fw::Ui::PressKey(fw::VK_RIGHT); // the edit shows 11/03/2026 while the popup is open
            if (Row.Message)
                fw::PostMessage(Popup, Row.Message);
            else
                fw::Ui::Click(button, 10, 10);
            fw::Ui::Pump();
            StillOpen = Popup->ModalResult() == fw::mrNone;
            if (StillOpen) {
                EXPECT_EQ(fw::Screen->ActiveForm(), Popup);
                EXPECT_EQ(fw::Screen->ZOrder().back(), Popup);
                fw::Ui::PressKey(fw::VK_RETURN);
            }
        });
        const bool Picked = edit->OpenCalendar();
        EXPECT_EQ(StillOpen, !Row.Closes);
        EXPECT_EQ(Picked, !Row.Closes);
        EXPECT_EQ(fw::BeepCount(), Row.Beeps);
        // Closed: the text of the opening is back, the close event fired and the
        // press clicked nothing; kept: Enter took the day stepped to.
        EXPECT_EQ(edit->Text(), Row.Closes ? "10/03/2026" : "11/03/2026");
        EXPECT_EQ(log.back(), "close " + edit->Text());
        for (const std::string& Line : log)
            EXPECT_NE(Line, "button click");
        edit->SetDate(EncodeDate(2026, 3, 10));
    }
}

TEST_F(OutsideClick, ADoubleClickOnADayIsOnePickAndItsSecondPressReachesNothing) {
    // The day under the button's top-left corner, so the second press lands on it.
    fw::TPoint Day;
    button->SetBounds(0, 30, 300, 170);
    fw::Ui::OnNextModal([&](fw::TForm* Form) {
        auto* Popup = dynamic_cast<TfrmQzCal*>(Form);
        ASSERT_NE(Popup, nullptr);
        Day = Popup->ClientToScreen(CellCentre(Popup, 20));
        fw::Ui::MouseDownAt(Day);
        fw::Ui::MouseUpAt(Day);
    });
    ASSERT_TRUE(edit->OpenCalendar());
    ASSERT_EQ(fw::Screen->FormAtPoint(Day), form.get());
    const std::string Picked = edit->Text();
    fw::Ui::MouseDownAt(Day);
    fw::Ui::MouseUpAt(Day);
    EXPECT_EQ(log, (std::vector<std::string>{"change " + Picked, "close " + Picked}));
    // A later click is a click again.
    fw::Ui::Wait(600);
    fw::Ui::MouseDownAt(Day);
    fw::Ui::MouseUpAt(Day);
    EXPECT_EQ(log.back(), "button click");
}

} // namespace
} // namespace qztest
