// The calendar component in form files: its settings and its design position
// (Left, Top) round-trip, so a form holding one loads in the designer and at
// run time alike.

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzDateControls.h>
#include <framework/classes/FormFile.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

class CalendarFormFile : public ::testing::Test {
protected:
    void SetUp() override { qz::RegisterPackageClasses(); }
};

TEST_F(CalendarFormFile, NewComponentWritesOnlyItsAlwaysStoredValues) {
    qz::TQzCalendar calendar(nullptr);
    calendar.SetName("calPicker");
    EXPECT_EQ(fw::WriteComponentToText(&calendar), "object calPicker: TQzCalendar\n"
                                                   "  CalendarCaption = ''\n"
                                                   "  CalendarLeft = 0\n"
                                                   "  CalendarTop = 0\n"
                                                   "  Left = 0\n"
                                                   "  Top = 0\n"
                                                   "end\n");
}

TEST_F(CalendarFormFile, SettingsAndDesignPositionRoundTrip) {
    const fw::String text = "object calPicker: TQzCalendar\n"
                            "  CalendarCaption = 'Pick a date'\n"
                            "  CalendarFillPage = False\n"
                            "  CalendarStyle = csDialog\n"
                            "  CalendarWeekendColor = clRed\n"
                            "  CalendarWeekStart = wsMonday\n"
                            "  CalendarLeft = 272\n"
                            "  CalendarTop = 132\n"
                            "  Left = 320\n"
                            "  Top = 48\n"
                            "end\n";
    std::unique_ptr<fw::TComponent> read(fw::ReadComponentFromText(text));
    auto* calendar = dynamic_cast<qz::TQzCalendar*>(read.get());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->CalendarStyle(), qz::csDialog);
    EXPECT_EQ(calendar->CalendarWeekStart(), qz::wsMonday);
    EXPECT_FALSE(calendar->CalendarFillPage());
    EXPECT_EQ(calendar->CalendarLeft(), 272);
    EXPECT_EQ(calendar->DesignLeft(), 320);
    EXPECT_EQ(calendar->DesignTop(), 48);
    EXPECT_EQ(fw::WriteComponentToText(calendar), text);
}

} // namespace
