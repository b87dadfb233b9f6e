// The month and year views of coZoomViews through clicks and keys: the title and
// Ctrl+Up zoom out, arrows, pages and Enter in the zoomed views, Escape back to
// the days before it cancels, the range greying months and years, the goldens.

#include "PopupFixture.h"

#include <tests/support/Golden.h>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

class ZoomViews : public PopupFixture {
protected:
    static void ClickTitle(TfrmQzCal* Popup) {
        const fw::TRect R = Popup->TitleRect();
        fw::Ui::Click(Popup, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    static void ClickZoomCell(TfrmQzCal* Popup, int Index) {
        const fw::TRect R = Popup->ZoomCellRect(Index);
        fw::Ui::Click(Popup, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
};

TEST_F(ZoomViews, WithoutTheOptionTitleAndCtrlUpStayClassic) {
    edit->SetDate(EncodeDate(2026, 3, 20));
    const bool Picked = OpenAndDrive([](TfrmQzCal* Popup) {
        ClickTitle(Popup);
        EXPECT_EQ(Popup->View(), qz::cvDays);
        fw::Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 13)) << "a week back, as ever";
        fw::Ui::PressKey(fw::VK_RETURN);
    });
    EXPECT_TRUE(Picked);
}

TEST_F(ZoomViews, ABirthDateInAFewStrokes) {
    edit->SetCalendarOptions({qz::coZoomViews});
    edit->SetDate(EncodeDate(2026, 3, 20));
    const bool Picked = OpenAndDrive([](TfrmQzCal* Popup) {
        ClickTitle(Popup);
        EXPECT_EQ(Popup->View(), qz::cvMonths);
        EXPECT_EQ(Popup->ZoomIndex(), 2);
        fw::Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
        EXPECT_EQ(Popup->View(), qz::cvYears);
        EXPECT_EQ(Popup->ZoomFirstYear(), 2019);
        // Four decades back, two years on: 1988.
        for (int I = 0; I < 4; ++I)
            fw::Ui::PressKey(fw::VK_PRIOR);
        fw::Ui::PressKey(fw::VK_RIGHT);
        fw::Ui::PressKey(fw::VK_RIGHT);
        EXPECT_EQ(Popup->ZoomDate(), EncodeDate(1988, 3, 1));
        fw::Ui::PressKey(fw::VK_RETURN);
        EXPECT_EQ(Popup->View(), qz::cvMonths);
        // July by the mouse: the day is kept.
        ClickZoomCell(Popup, 6);
        EXPECT_EQ(Popup->View(), qz::cvDays);
        EXPECT_EQ(Popup->Date(), EncodeDate(1988, 7, 20));
        fw::Ui::PressKey(fw::VK_RETURN);
    });
    EXPECT_TRUE(Picked);
    EXPECT_EQ(edit->GetDate(), EncodeDate(1988, 7, 20));
}

TEST_F(ZoomViews, KeysInTheMonthViewAndEscapeBeforeItCancels) {
    edit->SetCalendarOptions({qz::coZoomViews});
    edit->SetDate(EncodeDate(2026, 1, 31));
    const bool Picked = OpenAndDrive([](TfrmQzCal* Popup) {
        fw::Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
        fw::Ui::PressKey(fw::VK_DOWN); // May
        fw::Ui::PressKey(fw::VK_LEFT); // April
        EXPECT_EQ(Popup->ZoomDate(), EncodeDate(2026, 4, 1));
        fw::Ui::PressKey(fw::VK_RETURN);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 30)) << "the 31st becomes April's last";
        fw::Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
        fw::Ui::PressKey(fw::VK_RIGHT);
        fw::Ui::PressKey(fw::VK_ESCAPE);
        EXPECT_EQ(Popup->View(), qz::cvDays);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 4, 30)) << "Escape chose nothing";
        EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
        fw::Ui::PressKey(fw::VK_ESCAPE);
        EXPECT_EQ(Popup->ModalResult(), fw::mrCancel);
    });
    EXPECT_FALSE(Picked);
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 1, 31));
}

TEST_F(ZoomViews, TheRangeGreysMonthsAndYearsAndRefusesThem) {
    edit->SetCalendarOptions({qz::coZoomViews});
    edit->SetMinDate(EncodeDate(2026, 3, 10));
    edit->SetMaxDate(EncodeDate(2027, 2, 5));
    edit->SetDate(EncodeDate(2026, 6, 15));
    OpenAndDrive([](TfrmQzCal* Popup) {
        ClickTitle(Popup);
        for (int M = 0; M < 12; ++M)
            EXPECT_EQ(Popup->ZoomCellAllowed(M), M >= 2) << M;
        ClickZoomCell(Popup, 0); // January 2026: refused
        EXPECT_EQ(Popup->View(), qz::cvMonths);
        ClickTitle(Popup);
        for (int I = 0; I < 12; ++I)
            EXPECT_EQ(Popup->ZoomCellAllowed(I), I == 7 || I == 8) << I; // 2026, 2027
        fw::Ui::PressKey(fw::VK_RIGHT);
        fw::Ui::PressKey(fw::VK_RETURN); // 2027
        ClickZoomCell(Popup, 1);         // February 2027: the 15th clamps to the 5th
        EXPECT_EQ(Popup->Date(), EncodeDate(2027, 2, 5));
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

TEST_F(ZoomViews, Goldens) {
    edit->SetCalendarOptions({qz::coZoomViews});
    edit->SetMinDate(EncodeDate(2021, 5, 1));
    edit->SetDate(EncodeDate(2026, 3, 20));
    auto Popup = ShowPopup();
    fw::Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
    EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "picker", "zoom-months");
    fw::Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
    EXPECT_GOLDEN(fw::Ui::FormImage(Popup.get()), "picker", "zoom-years");
}

} // namespace
} // namespace qztest
