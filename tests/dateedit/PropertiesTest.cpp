// The date edit's published properties: defaults, the setters' acceptance
// rules, and form files (round trip, defaults left out, restore order).

#include "DateEditFixture.h"

#include <QzComponents5/QzRegister.h>
#include <framework/classes/FormFile.h>
#include <framework/graphics/Color.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace qztest {
namespace {

using qz::TQzDateEdit;

TEST(DateEditProperties, TheConstructorSetsTheDocumentedDefaults) {
    TProbeDateEdit Edit(nullptr);
    EXPECT_EQ(Edit.Height(), 20);
    EXPECT_EQ(Edit.Color(), fw::clWindow);
    EXPECT_EQ(Edit.Font()->Color(), fw::clWindowText);
    EXPECT_TRUE(Edit.AllowKeyEntry());
    EXPECT_TRUE(Edit.CalendarEnabled());
    EXPECT_EQ(Edit.CalendarStyle(), qz::csStandard);
    EXPECT_EQ(Edit.CalendarCaption(), "");
    EXPECT_TRUE(Edit.CalendarFillPage());
    EXPECT_EQ(Edit.CalendarWeekendColor(), fw::clBtnText);
    EXPECT_EQ(Edit.CalendarWeekStart(), qz::wsSunday);
    EXPECT_EQ(Edit.CuspYear(), 30);
    EXPECT_EQ(Edit.DateFormat(), "dd/mm/yyyy");
    EXPECT_EQ(Edit.ErrorMessage(), "'%s' is not a valid date!");
    EXPECT_EQ(Edit.ErrorMessageTitle(), "Invalid Date!");
    EXPECT_EQ(Edit.ErrorMessageType(), qz::mtDelphi);
    EXPECT_EQ(Edit.GlyphType(), qz::gtCustom);
    EXPECT_FALSE(Edit.UseCentury());
    EXPECT_EQ(Edit.GetDate(), 0);
    EXPECT_FALSE(Edit.DateValid());
    // The button: owned, parented, visible, two frames, no picture.
    qz::TQzCalendarButton* Button = Edit.CalendarButton();
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(Button->Owner(), &Edit);
    EXPECT_EQ(Button->Parent(), &Edit);
    EXPECT_TRUE(Button->Visible());
    EXPECT_EQ(Edit.GetGlyphNum(), 2);
    EXPECT_TRUE(Edit.GetGlyph()->Empty());
}

TEST(DateEditProperties, DateFormatTakesOnlyTheTwelveLayoutsInLowerCase) {
    TQzDateEdit Edit(nullptr);
    Edit.SetText("01/02/2003");
    int Before = Edit.InvalidateCount();
    Edit.SetDateFormat("DD/MM/YYYY"); // the same layout: stored in lower case, nothing else
    EXPECT_EQ(Edit.DateFormat(), "dd/mm/yyyy");
    Edit.SetDateFormat("YYYY/M/D");
    EXPECT_EQ(Edit.DateFormat(), "yyyy/m/d");
    EXPECT_GT(Edit.InvalidateCount(), Before);
    // The text keeps its layout until the next SetDate.
    EXPECT_EQ(Edit.Text(), "01/02/2003");
    Before = Edit.InvalidateCount();
    for (const char* Rejected : {"dd-mm-yyyy", "dd/mm/yy", "", "dd/mm/yyyy ", "d/d/yyyy", "ddmmyyyy"}) {
        Edit.SetDateFormat(Rejected);
        EXPECT_EQ(Edit.DateFormat(), "yyyy/m/d") << Rejected;
    }
    EXPECT_EQ(Edit.InvalidateCount(), Before);
    for (const std::string_view Pattern : qz::DateFormatPatterns) {
        Edit.SetDateFormat(std::string(Pattern));
        EXPECT_EQ(Edit.DateFormat(), Pattern);
    }
}

TEST(DateEditProperties, EmptyMessagesFallBackToTheStringTable) {
    TQzDateEdit Edit(nullptr);
    Edit.SetErrorMessage("Nope: %s");
    Edit.SetErrorMessageTitle("Title");
    EXPECT_EQ(Edit.ErrorMessage(), "Nope: %s");
    EXPECT_EQ(Edit.ErrorMessageTitle(), "Title");
    Edit.SetErrorMessage("");
    Edit.SetErrorMessageTitle("");
    EXPECT_EQ(Edit.ErrorMessage(), "'%s' is not a valid date!");
    EXPECT_EQ(Edit.ErrorMessageTitle(), "Invalid Date!");
}

TEST(DateEditProperties, CuspYearTakesTenToNinety) {
    TQzDateEdit Edit(nullptr);
    for (const auto& [Value, Expected] :
         {std::pair{9, 30}, {91, 30}, {-50, 30}, {10, 10}, {90, 90}, {45, 45}}) {
        Edit.SetCuspYear(Value);
        EXPECT_EQ(Edit.CuspYear(), Expected) << Value;
    }
}

TEST(DateEditProperties, TypingAndTheCalendarAreNeverBothOff) {
    TQzDateEdit Edit(nullptr);
    Edit.SetCalendarEnabled(false);
    Edit.SetAllowKeyEntry(false); // would leave no way in: the calendar comes back
    EXPECT_FALSE(Edit.AllowKeyEntry());
    EXPECT_TRUE(Edit.CalendarEnabled());
    EXPECT_TRUE(Edit.CalendarButton()->Visible());
    Edit.SetCalendarEnabled(false); // and the other way round
    EXPECT_FALSE(Edit.CalendarEnabled());
    EXPECT_TRUE(Edit.AllowKeyEntry());
    EXPECT_FALSE(Edit.CalendarButton()->Visible());
}

class DateEditFormFiles : public ::testing::Test {
protected:
    void SetUp() override { qz::RegisterPackageClasses(); }

    // Writes Edit, reads the text back into a new edit and returns it.
    std::unique_ptr<TQzDateEdit> RoundTrip(TQzDateEdit& Edit, std::string& Text) {
        Text = fw::WriteComponentToText(&Edit);
        return std::unique_ptr<TQzDateEdit>(static_cast<TQzDateEdit*>(fw::ReadComponentFromText(Text)));
    }
};

TEST_F(DateEditFormFiles, DefaultsAreLeftOutExceptTheAlwaysStoredTexts) {
    TQzDateEdit Edit(nullptr);
    Edit.SetName("DateEdit1");
    const std::string Text = fw::WriteComponentToText(&Edit);
    for (const char* Stored :
         {"CalendarCaption = ''", "DateFormat = 'dd/mm/yyyy'", "ErrorMessage = '''%s'' is not a valid date!'",
          "ErrorMessageTitle = 'Invalid Date!'"})
        EXPECT_NE(Text.find(Stored), std::string::npos) << Stored << "\n" << Text;
    for (const char* Default :
         {"AllowKeyEntry", "CalendarEnabled", "CalendarFillPage", "CalendarStyle", "CalendarWeekendColor",
          "CalendarWeekStart", "CuspYear", "ErrorMessageType", "Glyph", "UseCentury", "object"})
        EXPECT_EQ(Text.find(std::string("  ") + Default), std::string::npos) << Default << "\n" << Text;
    EXPECT_EQ(Text.find("object CalendarButton"), std::string::npos) << "the button is not a form child";
}

TEST_F(DateEditFormFiles, EveryPropertyRoundTrips) {
    TQzDateEdit Edit(nullptr);
    Edit.SetName("DateEdit1");
    Edit.SetAllowKeyEntry(false);
    Edit.SetCalendarCaption("Pick a day");
    Edit.SetCalendarFillPage(false);
    Edit.SetCalendarStyle(qz::csDialog);
    Edit.SetCalendarWeekendColor(fw::clRed);
    Edit.SetCalendarWeekStart(qz::wsMonday);
    Edit.SetCuspYear(50);
    Edit.SetDateFormat("yyyy/mm/dd");
    Edit.SetErrorMessage("Bad: %s");
    Edit.SetErrorMessageTitle("Oops");
    Edit.SetErrorMessageType(qz::mtBeep);
    Edit.SetGlyphType(qz::gtCalendar2);
    Edit.SetUseCentury(true);
    std::string Text;
    auto Back = RoundTrip(Edit, Text);
    EXPECT_FALSE(Back->AllowKeyEntry());
    EXPECT_EQ(Back->CalendarCaption(), "Pick a day");
    EXPECT_FALSE(Back->CalendarFillPage());
    EXPECT_EQ(Back->CalendarStyle(), qz::csDialog);
    EXPECT_EQ(Back->CalendarWeekendColor(), fw::clRed);
    EXPECT_EQ(Back->CalendarWeekStart(), qz::wsMonday);
    EXPECT_EQ(Back->CuspYear(), 50);
    EXPECT_EQ(Back->DateFormat(), "yyyy/mm/dd");
    EXPECT_EQ(Back->ErrorMessage(), "Bad: %s");
    EXPECT_EQ(Back->ErrorMessageTitle(), "Oops");
    EXPECT_EQ(Back->ErrorMessageType(), qz::mtBeep);
    EXPECT_EQ(Back->GlyphType(), qz::gtCalendar2);
    EXPECT_EQ(Back->GetGlyph()->Width(), 36);
    EXPECT_TRUE(Back->UseCentury());
    // A built-in picture comes from the resources, not from the file.
    EXPECT_EQ(Text.find("Glyph.Data"), std::string::npos) << Text;
    EXPECT_EQ(fw::WriteComponentToText(Back.get()), Text);
}

TEST_F(DateEditFormFiles, ACustomGlyphAndItsFrameCountRoundTrip) {
    TQzDateEdit Edit(nullptr);
    Edit.SetName("DateEdit1");
    fw::TBitmap Picture;
    Picture.SetSize(24, 8);
    Picture.Canvas()->Brush()->SetColor(fw::clRed);
    Picture.Canvas()->FillRect(fw::Rect(0, 0, 8, 8));
    Edit.SetGlyph(&Picture);
    Edit.SetGlyphNum(3);
    std::string Text;
    auto Back = RoundTrip(Edit, Text);
    EXPECT_NE(Text.find("Glyph.Data"), std::string::npos) << Text;
    EXPECT_EQ(Back->GlyphType(), qz::gtCustom);
    EXPECT_EQ(Back->GetGlyphNum(), 3);
    ASSERT_EQ(Back->GetGlyph()->Width(), 24);
    EXPECT_EQ(Back->GetGlyph()->Canvas()->Pixel(1, 1), fw::clRed);
}

TEST_F(DateEditFormFiles, CalendarEnabledIsRestoredBeforeGlyphType) {
    // Stored in declaration order: CalendarEnabled False comes first, so the
    // GlyphType after it is ignored on loading.
    TQzDateEdit Edit(nullptr);
    Edit.SetName("DateEdit1");
    Edit.SetGlyphType(qz::gtEllipsis);
    Edit.SetCalendarEnabled(false);
    std::string Text;
    auto Back = RoundTrip(Edit, Text);
    EXPECT_LT(Text.find("CalendarEnabled = False"), Text.find("GlyphType = gtEllipsis")) << Text;
    EXPECT_FALSE(Back->CalendarEnabled());
    EXPECT_EQ(Back->GlyphType(), qz::gtCustom);
    EXPECT_TRUE(Back->GetGlyph()->Empty());
}

TEST_F(DateEditFormFiles, SettersRunOnLoadingSoBadValuesAreRefused) {
    const std::string Text = "object DateEdit1: TQzDateEdit\n"
                             "  CuspYear = 95\n"
                             "  DateFormat = 'DD-MM-YYYY'\n"
                             "  ErrorMessage = ''\n"
                             "  GlyphNum = 7\n"
                             "end\n";
    std::unique_ptr<TQzDateEdit> Edit(static_cast<TQzDateEdit*>(fw::ReadComponentFromText(Text)));
    EXPECT_EQ(Edit->CuspYear(), 30);
    EXPECT_EQ(Edit->DateFormat(), "dd/mm/yyyy");
    EXPECT_EQ(Edit->ErrorMessage(), "'%s' is not a valid date!");
    EXPECT_EQ(Edit->GetGlyphNum(), 3);
}

} // namespace
} // namespace qztest
