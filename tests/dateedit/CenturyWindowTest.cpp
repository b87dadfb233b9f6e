// TwoDigitYearWindow: one- and two-digit years typed or pasted and checked on
// leaving, against the classic rule it replaces when set; its form file entry.

#include "DateEditFixture.h"

#include <QzComponents5/QzRegister.h>
#include <framework/classes/FormFile.h>
#include <framework/controls/Clipboard.h>
#include <gtest/gtest.h>
#include <string>

namespace qztest {
namespace {

using fw::EncodeDate;

class CenturyWindow : public DateEditFixture {};

// Today is 14 March 2026 (the fixture's clock).
TEST_F(CenturyWindow, TypedAndPastedYearsLandInTheWindowAndTheClassicRuleStaysAtZero) {
    const struct {
        int Window;
        bool UseCentury;
        bool Paste;
        const char* Text;
        fw::TDateTime Date; // 0: reported as invalid
        const char* Shown;
    } Rows[] = {
        // 0 keeps CuspYear (30) and UseCentury exactly.
        {0, false, false, "1/2/45", EncodeDate(1945, 2, 1), "01/02/1945"},
        {0, true, false, "1/2/99", EncodeDate(2099, 2, 1), "01/02/2099"},
        // 20 years ahead: 1947-2046.
        {20, false, false, "1/2/45", EncodeDate(2045, 2, 1), "01/02/2045"},
        {20, false, true, "1/2/46", EncodeDate(2046, 2, 1), "01/02/2046"},
        {20, false, false, "1/2/47", EncodeDate(1947, 2, 1), "01/02/1947"},
        {20, false, true, "1/2/5", EncodeDate(2005, 2, 1), "01/02/2005"},
        // The window wins over UseCentury.
        {20, true, false, "1/2/99", EncodeDate(1999, 2, 1), "01/02/1999"},
        // The narrowest and widest windows: 1928-2027 and 2026-2125.
        {1, false, false, "1/2/27", EncodeDate(2027, 2, 1), "01/02/2027"},
        {1, false, true, "1/2/28", EncodeDate(1928, 2, 1), "01/02/1928"},
        {99, false, false, "1/2/25", EncodeDate(2125, 2, 1), "01/02/2125"},
        {99, false, false, "1/2/26", EncodeDate(2026, 2, 1), "01/02/2026"},
        // 29 February 00 is a day in 2000 but not in 2100 (window 80: 2007-2106).
        {20, false, false, "29/2/00", EncodeDate(2000, 2, 29), "29/02/2000"},
        {80, false, true, "29/2/00", 0, "29/2/00"},
        // Four digits are never moved.
        {20, false, false, "1/2/1990", EncodeDate(1990, 2, 1), "01/02/1990"},
    };
    edit->SetDateFormat("dd/mm/yyyy");
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Text) + " window " + std::to_string(Row.Window));
        edit->SetTwoDigitYearWindow(Row.Window);
        edit->SetUseCentury(Row.UseCentury);
        edit->SetDate(EncodeDate(2026, 3, 14));
        std::string Seen;
        if (Row.Date == 0)
            fw::Ui::OnNextModal([&](fw::TForm*) {
                Seen = fw::Ui::MessageBoxText();
                fw::Ui::PressButton("OK");
            });
        edit->SelectAll();
        if (Row.Paste) {
            fw::Clipboard().SetAsText(Row.Text);
            fw::Ui::PressKey('V', {fw::ssCtrl});
        } else {
            fw::Ui::TypeText(Row.Text);
        }
        fw::TDateTime Judged = 0;
        fw::String Copy = edit->Text();
        EXPECT_EQ(edit->IsValidDate(Copy), Row.Date != 0) << "the popup's reading agrees";
        fw::Ui::Tab();
        Judged = Row.Date == 0 ? 0 : edit->GetDate();
        EXPECT_EQ(Judged, Row.Date);
        EXPECT_EQ(edit->Text(), Row.Shown);
        if (Row.Date == 0) {
            EXPECT_EQ(Seen, std::string("'") + Row.Text + "' is not a valid date!");
            EXPECT_TRUE(edit->Focused());
        } else {
            edit->SetFocus();
        }
    }
}

TEST_F(CenturyWindow, OnlyZeroToNinetyNineIsTakenAndOnlyANonZeroWindowIsWritten) {
    qz::RegisterPackageClasses();
    for (int Refused : {-1, 100})
        edit->SetTwoDigitYearWindow(Refused);
    EXPECT_EQ(edit->TwoDigitYearWindow(), 0);
    EXPECT_EQ(fw::WriteComponentToText(edit).find("TwoDigitYearWindow"), std::string::npos);
    edit->SetTwoDigitYearWindow(20);
    const std::string Text = fw::WriteComponentToText(edit);
    EXPECT_NE(Text.find("  TwoDigitYearWindow = 20\n"), std::string::npos) << Text;
    std::unique_ptr<qz::TQzDateEdit> Back(static_cast<qz::TQzDateEdit*>(fw::ReadComponentFromText(Text)));
    EXPECT_EQ(Back->TwoDigitYearWindow(), 20);
}

} // namespace
} // namespace qztest
