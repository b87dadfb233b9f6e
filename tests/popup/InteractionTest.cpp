// The popup driven by keys and the mouse inside its modal loop: day, week, month
// and year steps; picking by press, drag and release; the navigation buttons with
// their delay; accepting and cancelling.

#include "PopupFixture.h"

#include <framework/controls/MessageQueue.h>
#include <framework/forms/Application.h>
#include <framework/rtl/FormatSettings.h>
#include <stdexcept>
#include <string>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

class PopupInput : public PopupFixture {
protected:
    struct Stepped {
        fw::TDateTime Date = 0;
        bool Repainted = false;
        int SelIndex = 0;
        int FirstIndex = 0;
    };

    // Opens the popup on Start, presses Key once, notes what happened and cancels.
    Stepped StepFrom(fw::TDateTime Start, fw::Word Key, fw::TShiftState Shift = {}) {
        edit->SetDate(Start);
        Stepped Result;
        OpenAndDrive([&](TfrmQzCal* Popup) {
            const int Paints = Popup->FormPaintCount();
            fw::Ui::PressKey(Key, Shift);
            Result = {Popup->Date(), Popup->FormPaintCount() > Paints, Popup->SelIndex(),
                      Popup->FirstIndex()};
            fw::Ui::PressKey(fw::VK_ESCAPE);
        });
        return Result;
    }

    // Presses and releases the left button on a client point of the popup.
    static void Press(TfrmQzCal* Popup, fw::TPoint P) { fw::Ui::MouseDown(Popup, P.X, P.Y); }
    static void Release(TfrmQzCal* Popup, fw::TPoint P) { fw::Ui::MouseUp(Popup, P.X, P.Y); }
    static void Drag(TfrmQzCal* Popup, fw::TPoint P) { fw::Ui::MouseMove(Popup, P.X, P.Y); }
    static fw::TPoint ButtonCentre(TfrmQzCal* Popup, qz::TCalButtons B) {
        const fw::TRect R = Popup->ButtonRect(B);
        return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }
};

// ---------------------------------------------------------------- keyboard

TEST_F(PopupInput, KeysStepByDayWeekMonthAndYear) {
    const struct {
        fw::TDateTime Start;
        fw::Word Key;
        fw::TDateTime Expected;
        bool Repainted;
    } Rows[] = {
        {EncodeDate(2025, 1, 31), fw::VK_NEXT, EncodeDate(2025, 2, 28), true},
        {EncodeDate(2024, 1, 31), fw::VK_NEXT, EncodeDate(2024, 2, 29), true},
        {EncodeDate(2025, 3, 31), fw::VK_PRIOR, EncodeDate(2025, 2, 28), true},
        {EncodeDate(2025, 12, 31), fw::VK_NEXT, EncodeDate(2026, 1, 31), true},
        {EncodeDate(2026, 1, 1), fw::VK_LEFT, EncodeDate(2025, 12, 31), true},
        {EncodeDate(2024, 2, 29), fw::VK_END, EncodeDate(2025, 2, 28), true},
        {EncodeDate(2024, 2, 29), fw::VK_HOME, EncodeDate(2023, 2, 28), true},
        {EncodeDate(2025, 5, 31), fw::VK_END, EncodeDate(2026, 5, 31), true},
        {EncodeDate(2026, 3, 14), fw::VK_RIGHT, EncodeDate(2026, 3, 15), false},
        {EncodeDate(2026, 3, 14), fw::VK_LEFT, EncodeDate(2026, 3, 13), false},
        {EncodeDate(2026, 3, 14), fw::VK_UP, EncodeDate(2026, 3, 7), false},
        {EncodeDate(2026, 3, 14), fw::VK_DOWN, EncodeDate(2026, 3, 21), false},
        {EncodeDate(2026, 3, 28), fw::VK_DOWN, EncodeDate(2026, 4, 4), true},
        {EncodeDate(2026, 3, 14), fw::VK_TAB, EncodeDate(2026, 3, 14), false},
        {EncodeDate(2026, 3, 14), 'A', EncodeDate(2026, 3, 14), false},
    };
    for (const auto& Row : Rows) {
        const Stepped S = StepFrom(Row.Start, Row.Key);
        SCOPED_TRACE(testing::Message() << "start " << Row.Start << " key " << Row.Key);
        EXPECT_EQ(S.Date, Row.Expected);
        EXPECT_EQ(S.Repainted, Row.Repainted);
    }
}

TEST_F(PopupInput, RightOnTheLastDayShowsTheNextMonthWithDayOneSelected) {
    const Stepped S = StepFrom(EncodeDate(2026, 3, 31), fw::VK_RIGHT);
    EXPECT_EQ(S.Date, EncodeDate(2026, 4, 1));
    EXPECT_TRUE(S.Repainted);
    EXPECT_EQ(S.SelIndex, S.FirstIndex);
}

TEST_F(PopupInput, ModifiersAreIgnored) {
    for (fw::TShiftState Shift : {fw::TShiftState{fw::ssShift}, fw::TShiftState{fw::ssCtrl}}) {
        const Stepped S = StepFrom(EncodeDate(2026, 3, 14), fw::VK_RIGHT, Shift);
        EXPECT_EQ(S.Date, EncodeDate(2026, 3, 15));
    }
}

TEST_F(PopupInput, EnterAcceptsTheStartingDate) {
    edit->SetDate(EncodeDate(2003, 12, 25));
    edit->SetModified(false);
    EXPECT_TRUE(OpenAndDrive([](TfrmQzCal*) { fw::Ui::PressKey(fw::VK_RETURN); }));
    EXPECT_EQ(edit->GetDate(), EncodeDate(2003, 12, 25));
    EXPECT_TRUE(edit->Modified());
    // An empty edit takes today.
    edit->Clear();
    EXPECT_TRUE(OpenAndDrive([](TfrmQzCal*) { fw::Ui::PressKey(fw::VK_RETURN); }));
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 14));
    EXPECT_EQ(edit->Text(), "14/03/2026");
}

// ---------------------------------------------------------------- cancelling

TEST_F(PopupInput, EscapeAndTheRightButtonPutTheOpeningDateBackInTheEditsLayout) {
    const struct {
        const char* Typed;
        const char* Restored;
    } Rows[] = {{"1/2/03", "01/02/2003"}, {"31/02/2003", ""}, {"", ""}, {"30/12/1899", ""}};
    for (bool RightButton : {false, true})
        for (const auto& Row : Rows) {
            edit->SetDate(EncodeDate(2001, 1, 1));
            edit->SetText(Row.Typed);
            const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
                fw::Ui::PressKey(fw::VK_NEXT); // the edit now mirrors another date
                EXPECT_NE(edit->Text(), Row.Restored);
                if (RightButton)
                    fw::Ui::MouseDown(Popup, 90, 10, fw::mbRight);
                else
                    fw::Ui::PressKey(fw::VK_ESCAPE);
            });
            EXPECT_FALSE(Picked);
            EXPECT_EQ(edit->Text(), Row.Restored) << Row.Typed;
            EXPECT_EQ(edit->GetDate(), EncodeDate(2001, 1, 1)) << "the date value is not touched";
            EXPECT_TRUE(edit->Focused());
        }
}

TEST_F(PopupInput, TheCloseBoxOfADialogPopupRestoresTheTextLikeEscape) {
    edit->SetCalendarStyle(qz::csDialog);
    edit->SetCalendarCaption("Pick a day");
    edit->SetText("1/2/03");
    const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->Caption(), "Pick a day");
        fw::Ui::PressKey(fw::VK_RIGHT);
        EXPECT_EQ(edit->Text(), "02/02/2003");
        const fw::TRect Box = Popup->CloseBoxRect();
        ASSERT_FALSE(Box.IsEmpty());
        fw::Ui::ClickAt({(Box.Left + Box.Right) / 2, (Box.Top + Box.Bottom) / 2});
    });
    EXPECT_FALSE(Picked);
    EXPECT_EQ(edit->Text(), "01/02/2003");
}

TEST_F(PopupInput, TheEditsTextIsWrittenWithSlashesWhateverTheDateSeparator) {
    fw::TFormatSettingsGuard Guard;
    fw::FormatSettings.DateSeparator = '-';
    edit->SetDateFormat("d/m/yyyy");
    for (const bool Cancel : {true, false}) {
        edit->SetText("1/2/03");
        std::string Mirrored;
        OpenAndDrive([&](TfrmQzCal*) {
            fw::Ui::PressKey(fw::VK_RIGHT);
            Mirrored = edit->Text();
            fw::Ui::PressKey(Cancel ? fw::VK_ESCAPE : fw::VK_RETURN);
        });
        EXPECT_EQ(Mirrored, "2/2/2003");
        EXPECT_EQ(edit->Text(), Cancel ? "1/2/2003" : "2/2/2003");
        // What the popup leaves, the edit's own check reads back.
        std::string Text = edit->Text();
        EXPECT_TRUE(edit->IsValidDate(Text)) << Text;
    }
}

// ---------------------------------------------------------------- the mouse

TEST_F(PopupInput, ReleasingOnAGreyNextMonthDayPicksItWithoutShowingThatMonth) {
    edit->SetDate(EncodeDate(2026, 3, 14)); // cell 40 is Thursday 9 April
    const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
        Press(Popup, CellCentre(Popup, 40));
        EXPECT_TRUE(Popup->Selecting());
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 9));
        EXPECT_EQ(Popup->MonthShift(), 1);
        EXPECT_EQ(edit->Text(), "09/04/2026");
        Release(Popup, CellCentre(Popup, 40));
        EXPECT_EQ(Popup->FormPaintCount(), 1);
        EXPECT_EQ(Popup->FirstIndex(), 1); // still March's grid
    });
    EXPECT_TRUE(Picked);
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 4, 9));
}

TEST_F(PopupInput, DraggingOntoANeighbouringMonthAndBackReturnsToTheDisplayedMonth) {
    // April 2026 from Sunday: cells 1-3 are 29-31 March, 4-33 April, 34-42 May.
    edit->SetDate(EncodeDate(2026, 4, 14));
    OpenAndDrive([&](TfrmQzCal* Popup) {
        Press(Popup, CellCentre(Popup, 33)); // 30 April
        Drag(Popup, CellCentre(Popup, 34));  // 1 May
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 5, 1));
        EXPECT_EQ(Popup->MonthShift(), 1);
        Drag(Popup, CellCentre(Popup, 1)); // 29 March
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 29));
        EXPECT_EQ(Popup->MonthShift(), -1);
        Drag(Popup, CellCentre(Popup, 26)); // back in April
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 23));
        EXPECT_EQ(Popup->MonthShift(), 0);
        // Moving outside the grid changes nothing.
        Drag(Popup, {90, 10});
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 23));
        EXPECT_EQ(Popup->FormPaintCount(), 1);
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

TEST_F(PopupInput, AReleaseOutsideTheGridKeepsThePopupOpenWithTheSelection) {
    edit->SetDate(EncodeDate(2026, 3, 14));
    const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
        Press(Popup, CellCentre(Popup, 40)); // 9 April
        Release(Popup, {90, 10});
        EXPECT_FALSE(Popup->Selecting());
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 9));
        // Moves without a press select nothing.
        Drag(Popup, CellCentre(Popup, 20));
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 9));
        // A press in the displayed month selects March again.
        Press(Popup, CellCentre(Popup, 20));
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 20));
        Release(Popup, {2, 140}); // on the bevel, outside the grid
        Press(Popup, CellCentre(Popup, 40));
        Release(Popup, {200, 300}); // even outside the popup
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
        // An arrow key from there rebuilds the grid around the stepped date.
        const int Paints = Popup->FormPaintCount();
        fw::Ui::PressKey(fw::VK_RIGHT);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 10));
        EXPECT_EQ(Popup->FormPaintCount(), Paints + 1);
        EXPECT_EQ(Popup->MonthShift(), 0);
        EXPECT_EQ(Popup->FirstIndex(), 4); // April 2026 starts on a Wednesday
        fw::Ui::PressKey(fw::VK_RETURN);
    });
    EXPECT_TRUE(Picked);
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 4, 10));
}

TEST_F(PopupInput, WithoutFillPageEmptyCellsAreNeverSelected) {
    edit->SetCalendarFillPage(false);
    edit->SetDate(EncodeDate(2026, 3, 14)); // March 2026: cells 1-31, 32-42 empty
    const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
        Press(Popup, CellCentre(Popup, 40));
        EXPECT_FALSE(Popup->Selecting());
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 14));
        Release(Popup, CellCentre(Popup, 40));
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
        Press(Popup, CellCentre(Popup, 30));
        Drag(Popup, CellCentre(Popup, 38));
        Drag(Popup, CellCentre(Popup, 41));
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 30));
        Release(Popup, CellCentre(Popup, 41));
    });
    EXPECT_TRUE(Picked);
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 30));
}

TEST_F(PopupInput, TheMiddleButtonPicksLikeTheLeft) {
    edit->SetDate(EncodeDate(2026, 3, 14));
    EXPECT_TRUE(OpenAndDrive([&](TfrmQzCal* Popup) {
        const fw::TPoint P = CellCentre(Popup, 10);
        fw::Ui::MouseDown(Popup, P.X, P.Y, fw::mbMiddle);
        fw::Ui::MouseUp(Popup, P.X, P.Y, fw::mbMiddle);
    }));
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 10));
}

// ---------------------------------------------------------------- navigation buttons

TEST_F(PopupInput, AButtonShowsRedForTheDelayThenStepsOnceAndShowsBlackAgain) {
    edit->SetDate(EncodeDate(2026, 3, 14));
    OpenAndDrive([&](TfrmQzCal* Popup) {
        const fw::TRect R = Popup->ButtonRect(qz::cbMonthNext);
        bool RedDuringTheWait = false;
        fw::Cardinal Waited = 0;
        const fw::Cardinal Start = fw::MessageQueue().TickCount();
        auto Original = Popup->tmr->OnTimer;
        Popup->tmr->OnTimer = [&, Original](fw::TObject* Sender) {
            const fw::TSurface S = fw::Ui::FormImage(Popup);
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                for (int X = R.Left; X < R.Right; ++X)
                    RedDuringTheWait |= S.Pixel(X, Y) == fw::clRed;
            Waited = fw::MessageQueue().TickCount() - Start;
            EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 14)) << "not stepped yet";
            Original(Sender);
        };
        const fw::TPoint P = ButtonCentre(Popup, qz::cbMonthNext);
        Press(Popup, P);
        EXPECT_TRUE(RedDuringTheWait);
        EXPECT_EQ(Waited, 60u);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 14));
        EXPECT_FALSE(Popup->tmr->Enabled());
        // Held down, it does not repeat; the window shows the black arrow again.
        fw::Ui::Wait(1000);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 14));
        const fw::TSurface S = fw::Ui::FormImage(Popup);
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                EXPECT_NE(S.Pixel(X, Y), fw::clRed);
        Release(Popup, P);
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

TEST_F(PopupInput, EachButtonStepsItsWayAndSharedEdgesGoToTheFirstTested) {
    const struct {
        fw::TPoint Point;
        fw::TDateTime Expected;
    } Rows[] = {
        {{12, 10}, EncodeDate(2025, 3, 14)},  // year back
        {{28, 10}, EncodeDate(2026, 2, 14)},  // month back
        {{20, 10}, EncodeDate(2026, 2, 14)},  // the shared column: month back
        {{4, 2}, EncodeDate(2025, 3, 14)},    // corners are inside
        {{147, 10}, EncodeDate(2026, 4, 14)}, // month forward
        {{155, 10}, EncodeDate(2026, 4, 14)}, // shared column: month forward
        {{163, 18}, EncodeDate(2027, 3, 14)}, // year forward, bottom row inside
        {{90, 10}, EncodeDate(2026, 3, 14)},  // the title: nothing
        {{3, 10}, EncodeDate(2026, 3, 14)},
    };
    for (const auto& Row : Rows) {
        edit->SetDate(EncodeDate(2026, 3, 14));
        fw::TDateTime Date = 0;
        OpenAndDrive([&](TfrmQzCal* Popup) {
            fw::Ui::Click(Popup, Row.Point.X, Row.Point.Y);
            Date = Popup->Date();
            fw::Ui::PressKey(fw::VK_ESCAPE);
        });
        EXPECT_EQ(Date, Row.Expected) << Row.Point.X << "," << Row.Point.Y;
    }
}

// A step that cannot be taken repaints nothing, yet the arrow comes up again.
TEST_F(PopupInput, APressedArrowComesUpAgainAtTheEndsOfTheYears) {
    const auto NoRed = [](TfrmQzCal* Popup, qz::TCalButtons B) {
        const fw::TRect R = Popup->ButtonRect(B);
        const fw::TSurface S = fw::Ui::FormImage(Popup);
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (S.Pixel(X, Y) == fw::clRed) return false;
        return true;
    };
    edit->SetDate(EncodeDate(9999, 12, 31));
    for (const qz::TCalButtons B : {qz::cbYearNext, qz::cbMonthNext}) {
        OpenAndDrive([&](TfrmQzCal* Popup) {
            fw::Ui::Click(Popup, ButtonCentre(Popup, B).X, ButtonCentre(Popup, B).Y);
            EXPECT_EQ(Popup->Date(), EncodeDate(9999, 12, 31));
            EXPECT_TRUE(NoRed(Popup, B)) << B;
            fw::Ui::PressKey(fw::VK_ESCAPE);
        });
    }
    edit->SetDate(EncodeDate(1, 1, 1));
    for (const qz::TCalButtons B : {qz::cbYearPrev, qz::cbMonthPrev}) {
        OpenAndDrive([&](TfrmQzCal* Popup) {
            fw::Ui::Click(Popup, ButtonCentre(Popup, B).X, ButtonCentre(Popup, B).Y);
            EXPECT_EQ(Popup->Date(), EncodeDate(1, 1, 1));
            EXPECT_TRUE(NoRed(Popup, B)) << B;
            fw::Ui::PressKey(fw::VK_ESCAPE);
        });
    }
}

TEST_F(PopupInput, EveryPressStepsOnceADoubleClickTwice) {
    edit->SetDate(EncodeDate(2026, 3, 14));
    OpenAndDrive([&](TfrmQzCal* Popup) {
        const fw::TPoint P = ButtonCentre(Popup, qz::cbYearNext);
        fw::Ui::DoubleClick(Popup, P.X, P.Y);
        EXPECT_EQ(Popup->Date(), EncodeDate(2028, 3, 14));
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

// Posts raw mouse input without running the loop, so several presses wait together.
void PostMouse(fw::TInputKind Kind, fw::TPoint Screen) {
    fw::TInputEvent E;
    E.Kind = Kind;
    E.Pos = Screen;
    fw::MessageQueue().PostInput(E);
}

TEST_F(PopupInput, ASecondPressDuringTheWaitStepsToo) {
    edit->SetDate(EncodeDate(2026, 3, 14));
    OpenAndDrive([&](TfrmQzCal* Popup) {
        const fw::TPoint Month = Popup->ClientToScreen(ButtonCentre(Popup, qz::cbMonthNext));
        const fw::TPoint Year = Popup->ClientToScreen(ButtonCentre(Popup, qz::cbYearNext));
        PostMouse(fw::TInputKind::MouseDown, Month);
        PostMouse(fw::TInputKind::MouseUp, Month);
        PostMouse(fw::TInputKind::MouseDown, Year);
        PostMouse(fw::TInputKind::MouseUp, Year);
        fw::Ui::Pump();
        EXPECT_EQ(Popup->Date(), EncodeDate(2027, 4, 14));
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

// ---------------------------------------------------------------- decisions

TEST_F(PopupInput, ACancelDuringTheWaitDropsThePendingStep) {
    edit->SetText("1/2/03");
    const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
        auto Original = Popup->tmr->OnTimer;
        Popup->tmr->OnTimer = [&, Original](fw::TObject* Sender) {
            fw::Ui::PressKey(fw::VK_ESCAPE);
            Original(Sender);
        };
        Press(Popup, ButtonCentre(Popup, qz::cbMonthNext));
        EXPECT_EQ(Popup->Date(), EncodeDate(2003, 2, 1));
        EXPECT_EQ(Popup->FormPaintCount(), 1);
    });
    EXPECT_FALSE(Picked);
    EXPECT_EQ(edit->Text(), "01/02/2003");
}

TEST_F(PopupInput, AnAcceptDuringTheWaitKeepsTheDateShownWhenAccepted) {
    edit->SetDate(EncodeDate(2026, 3, 14));
    const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
        auto Original = Popup->tmr->OnTimer;
        Popup->tmr->OnTimer = [&, Original](fw::TObject* Sender) {
            fw::Ui::PressKey(fw::VK_RETURN);
            Original(Sender);
        };
        Press(Popup, ButtonCentre(Popup, qz::cbYearPrev));
    });
    EXPECT_TRUE(Picked);
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 14));
}

TEST_F(PopupInput, StepsBeyondTheYearsOneTo9999DoNothing) {
    const int Errors = fw::Application->HandledExceptionCount();
    for (fw::Word Key : {fw::VK_NEXT, fw::VK_END, fw::VK_RIGHT, fw::VK_DOWN}) {
        const Stepped S = StepFrom(EncodeDate(9999, 12, 31), Key);
        EXPECT_EQ(S.Date, EncodeDate(9999, 12, 31)) << Key;
        EXPECT_FALSE(S.Repainted);
    }
    EXPECT_EQ(StepFrom(EncodeDate(9999, 11, 30), fw::VK_NEXT).Date, EncodeDate(9999, 12, 30));

    // Year 1 through a calendar component (the edit reads "0001" as a short year).
    qz::TQzCalendar Calendar(form.get());
    for (fw::Word Key : {fw::VK_PRIOR, fw::VK_HOME, fw::VK_LEFT, fw::VK_UP}) {
        Calendar.SetDate(EncodeDate(1, 1, 1));
        fw::Ui::OnNextModal([Key](fw::TForm*) {
            fw::Ui::PressKey(Key);
            fw::Ui::PressKey(fw::VK_RETURN);
        });
        EXPECT_TRUE(Calendar.OpenCalendar());
        EXPECT_EQ(Calendar.Date(), EncodeDate(1, 1, 1)) << Key;
    }
    // A grey day of December in year 0 cannot be picked either.
    Calendar.SetDate(EncodeDate(1, 1, 1)); // a Monday: cell 1 would be 31 December of year 0
    fw::Ui::OnNextModal([](fw::TForm* Form) {
        auto* Popup = static_cast<TfrmQzCal*>(Form);
        Press(Popup, CellCentre(Popup, 1));
        EXPECT_EQ(Popup->Date(), EncodeDate(1, 1, 1));
        Release(Popup, CellCentre(Popup, 1));
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone) << "the press started nothing";
        fw::Ui::PressKey(fw::VK_UP); // nothing before 1 January of year 1
        Press(Popup, CellCentre(Popup, 9));
        Release(Popup, CellCentre(Popup, 9));
    });
    EXPECT_TRUE(Calendar.OpenCalendar());
    EXPECT_EQ(Calendar.Date(), EncodeDate(1, 1, 8));
    EXPECT_EQ(fw::Application->HandledExceptionCount(), Errors);
}

} // namespace
} // namespace qztest
