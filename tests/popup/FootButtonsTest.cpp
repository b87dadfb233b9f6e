// The Today and Clear buttons of coTodayButton and coClearButton: the foot row's
// size and places, Today under the range and refused days, Clear emptying the
// date edit and the component, and the goldens of the foot.

#include "PopupFixture.h"

#include <QzComponents5/QzModule.h>
#include <Qzde/QzDateControls.h>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

class FootButtons : public PopupFixture {
protected:
    static void ClickIn(TfrmQzCal* Popup, const fw::TRect& R) {
        fw::Ui::Click(Popup, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
};

TEST_F(FootButtons, TheFootRowAddsACellAndHoldsOneOrTwoButtons) {
    const auto Classic = ShowPopup();
    const int ClassicHeight = Classic->ClientHeight();
    EXPECT_TRUE(Classic->TodayButtonRect().Right == Classic->TodayButtonRect().Left);
    const struct {
        qz::TCalendarOptions Options;
        bool Today, Clear;
    } Rows[] = {{{qz::coTodayButton}, true, false},
                {{qz::coClearButton}, false, true},
                {{qz::coTodayButton, qz::coClearButton}, true, true}};
    for (const auto& Row : Rows) {
        edit->SetCalendarOptions(Row.Options);
        const auto Popup = ShowPopup();
        EXPECT_EQ(Popup->ClientHeight(), ClassicHeight + Popup->CellHeight() + 4);
        EXPECT_EQ(Popup->ClientWidth(), Classic->ClientWidth());
        const fw::TRect T = Popup->TodayButtonRect(), C = Popup->ClearButtonRect();
        EXPECT_EQ(T.Right > T.Left, Row.Today);
        EXPECT_EQ(C.Right > C.Left, Row.Clear);
        for (const fw::TRect& R : {T, C}) {
            if (R.Right <= R.Left) continue;
            EXPECT_GT(R.Top, Popup->GridRect().Bottom);
            EXPECT_LE(R.Bottom, Popup->ClientHeight() - 4);
        }
        if (Row.Today && Row.Clear) {
            EXPECT_LT(T.Right, C.Left);
        }
    }
}

TEST_F(FootButtons, TodaySelectsTodayWithinTheRangeAndPastRefusedDays) {
    // Today is Saturday 14 March 2026.
    const struct {
        fw::TDateTime MaxDate;
        bool RefuseWeekends;
        fw::TDateTime Expected;
    } Rows[] = {
        {0, false, EncodeDate(2026, 3, 14)},
        {EncodeDate(2026, 3, 1), false, EncodeDate(2026, 3, 1)},
        {0, true, EncodeDate(2026, 3, 16)},
    };
    edit->SetCalendarOptions({qz::coTodayButton});
    for (const auto& Row : Rows) {
        edit->SetDate(EncodeDate(2025, 11, 5));
        edit->SetMaxDate(Row.MaxDate);
        edit->OnDayDisabled = nullptr;
        if (Row.RefuseWeekends)
            edit->OnDayDisabled = [](fw::TObject*, fw::TDateTime D, bool& Disabled) {
                Disabled = fw::DayOfWeek(D) == 1 || fw::DayOfWeek(D) == 7;
            };
        const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
            ClickIn(Popup, Popup->TodayButtonRect());
            EXPECT_EQ(Popup->ModalResult(), fw::mrNone) << "Today does not close";
            EXPECT_EQ(Popup->Date(), Row.Expected);
            fw::Ui::PressKey(fw::VK_RETURN);
        });
        EXPECT_TRUE(Picked);
        EXPECT_EQ(edit->GetDate(), Row.Expected);
    }
}

TEST_F(FootButtons, ClearClosesWithNoDateAndEmptiesTheEditAndTheComponent) {
    edit->SetCalendarOptions({qz::coClearButton});
    edit->SetDate(EncodeDate(2026, 3, 20));
    int Changes = 0, Closed = 0;
    edit->OnChange = [&](fw::TObject*) { ++Changes; };
    edit->OnCloseCalendar = [&](fw::TObject*) { ++Closed; };
    const bool Picked = OpenAndDrive([&](TfrmQzCal* Popup) {
        fw::Ui::PressKey(fw::VK_RIGHT); // the edit mirrors the 21st meanwhile
        ClickIn(Popup, Popup->ClearButtonRect());
        EXPECT_TRUE(Popup->Cleared());
        EXPECT_EQ(Popup->Date(), 0);
    });
    EXPECT_TRUE(Picked);
    EXPECT_EQ(edit->GetDate(), 0);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_GE(Changes, 1);
    EXPECT_EQ(Closed, 1);

    qz::TQzCalendar Calendar(form.get());
    Calendar.SetDate(EncodeDate(2026, 3, 20));
    Calendar.SetCalendarOptions({qz::coClearButton});
    fw::Ui::OnNextModal([](fw::TForm* Form) {
        auto* Popup = static_cast<TfrmQzCal*>(Form);
        ClickIn(Popup, Popup->ClearButtonRect());
    });
    EXPECT_TRUE(Calendar.OpenCalendar());
    EXPECT_EQ(Calendar.Date(), 0);
}

TEST_F(FootButtons, ClassicOptionsNeitherDrawNorAnswerTheFoot) {
    // Without the options a click below the grid is outside the popup's rows.
    const auto Popup = ShowPopup();
    EXPECT_EQ(Popup->ClientHeight(), 8 * Popup->CellHeight() + 8);
    EXPECT_FALSE(Popup->Cleared());
}

TEST_F(FootButtons, CaptionsAreKeptButFollowTheStringTable) {
    // A caption is kept from one popup to the next; a changed entry (a
    // language's text put into the table) is drawn at once, and the old text
    // again when it comes back.
    constexpr int TodayCaption = 306;
    const fw::String Original = qz::LoadStr(TodayCaption);
    struct Restore {
        fw::String Text;
        ~Restore() { qz::HInstance()->AddString(TodayCaption, Text); }
    } Guard{Original};
    edit->SetCalendarOptions({qz::coTodayButton, qz::coClearButton});
    const auto Image = [&] { return fw::Ui::FormImage(ShowPopup().get()); };
    const auto Before = Image();
    EXPECT_EQ(Image(), Before);
    qz::HInstance()->AddString(TodayCaption, "Heute");
    const auto Translated = Image();
    EXPECT_NE(Translated, Before);
    qz::HInstance()->AddString(TodayCaption, Original);
    EXPECT_EQ(Image(), Before);
}

TEST_F(FootButtons, Goldens) {
    const struct {
        const char* Name;
        qz::TCalendarOptions Options;
    } Rows[] = {
        {"foot-today-clear", {qz::coTodayButton, qz::coClearButton}},
        {"foot-clear-weeks", {qz::coClearButton, qz::coWeekNumbers}},
    };
    edit->SetDate(EncodeDate(2026, 3, 20));
    for (const auto& Row : Rows) {
        edit->SetCalendarOptions(Row.Options);
        auto Popup = ShowPopup();
        EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "picker", Row.Name);
    }
}

} // namespace
} // namespace qztest
