// The calendar component in form files: its settings and its design position
// (Left, Top) round-trip, so a form holding one loads in the designer and at
// run time alike.

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzDateControls.h>
#include <framework/classes/FormFile.h>
#include <framework/classes/TypInfo.h>
#include <framework/rtl/DateUtils.h>
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

namespace {

// The opt-in settings of the three openers are written by identifier and read
// back; at their defaults they are not written at all.
TEST_F(CalendarFormFile, RangeAndOptionsRoundTripOnEveryOpener) {
    std::unique_ptr<fw::TComponent> Openers[] = {std::make_unique<qz::TQzCalendar>(nullptr),
                                                 std::make_unique<qz::TQzDateEdit>(nullptr),
                                                 std::make_unique<qz::TQzDBDateEdit>(nullptr)};
    for (auto& Opener : Openers) {
        Opener->SetName("Opener");
        const fw::String Plain = fw::WriteComponentToText(Opener.get());
        for (const char* Name : {"CalendarOptions", "MinDate", "MaxDate"})
            EXPECT_EQ(Plain.find(Name), fw::String::npos) << Name;
        fw::SetFloatProp(Opener.get(), "MinDate", fw::EncodeDate(2026, 3, 10));
        fw::SetFloatProp(Opener.get(), "MaxDate", fw::EncodeDate(2026, 4, 20));
        fw::SetPropText(Opener.get(), "CalendarOptions", "[coShowToday, coWheelPaging]");
        const fw::String Text = fw::WriteComponentToText(Opener.get());
        EXPECT_NE(Text.find("CalendarOptions = [coShowToday, coWheelPaging]"), fw::String::npos) << Text;
        std::unique_ptr<fw::TComponent> Read(fw::ReadComponentFromText(Text));
        EXPECT_EQ(fw::WriteComponentToText(Read.get()), Text);
        EXPECT_EQ(fw::GetFloatProp(Read.get(), "MinDate"), fw::EncodeDate(2026, 3, 10));
        EXPECT_EQ(fw::GetFloatProp(Read.get(), "MaxDate"), fw::EncodeDate(2026, 4, 20));
    }
}

} // namespace
