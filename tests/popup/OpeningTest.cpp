// Opening the popup: the road of a date picked with the drop button, the calling
// protocol of the date edit and of the calendar component (events, focus, the
// popup freed on every path), and the calendar component's properties.

#include "PopupFixture.h"

#include <QzComponents5/QzRegister.h>
#include <framework/classes/FormFile.h>
#include <framework/forms/Screen.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace qztest {
namespace {

using fw::EncodeDate;
using qz::TfrmQzCal;

// Whether a popup form exists anywhere on the screen.
bool AnyPopup() {
    for (int I = 0; I < fw::Screen->FormCount(); ++I)
        if (dynamic_cast<TfrmQzCal*>(fw::Screen->Forms(I))) return true;
    return false;
}

class Opening : public PopupFixture {};

TEST_F(Opening, ADatePickedWithTheDropButtonEndToEnd) {
    std::vector<std::string> Log;
    edit->OnOpenCalendar = [&](fw::TObject* Sender) {
        EXPECT_EQ(Sender, edit);
        EXPECT_FALSE(AnyPopup());
        Log.push_back("open");
    };
    edit->OnChange = [&](fw::TObject*) { Log.push_back("change " + edit->Text()); };
    edit->OnCloseCalendar = [&](fw::TObject* Sender) {
        EXPECT_EQ(Sender, edit);
        EXPECT_FALSE(AnyPopup()) << "the popup is freed before OnCloseCalendar";
        EXPECT_TRUE(edit->Focused());
        Log.push_back("close");
    };
    edit->CalendarButton()->OnClick = [&](fw::TObject*) { Log.push_back("click"); };
    edit->SetModified(false);

    fw::Ui::OnNextModal([&](fw::TForm* Form) {
        auto* Popup = dynamic_cast<TfrmQzCal*>(Form);
        ASSERT_NE(Popup, nullptr);
        // Made with the edit as owner, below its client area, on today (the edit was empty).
        EXPECT_EQ(Popup->Owner(), edit);
        EXPECT_EQ(Popup->Top(), edit->ClientToScreen({0, edit->ClientHeight()}).Y + 1);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 14));
        EXPECT_EQ(edit->Text(), "14/03/2026");
        Log.push_back("shown");
        // A month on by the arrow button and by Page Down, a day back by key.
        fw::Ui::Click(Popup, 147, 10);
        fw::Ui::PressKey(fw::VK_NEXT);
        fw::Ui::PressKey(fw::VK_LEFT);
        EXPECT_EQ(edit->Text(), "13/05/2026");
        // Press on the 20th, drag to the 21st, release there.
        const fw::TPoint A = CellCentre(Popup, Popup->FirstIndex() + 19);
        const fw::TPoint B = CellCentre(Popup, Popup->FirstIndex() + 20);
        fw::Ui::MouseDown(Popup, A.X, A.Y);
        fw::Ui::MouseMove(Popup, B.X, B.Y);
        fw::Ui::MouseUp(Popup, B.X, B.Y);
        Log.push_back("released");
    });
    fw::Ui::Click(edit->CalendarButton());

    EXPECT_FALSE(AnyPopup());
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 5, 21));
    EXPECT_EQ(edit->Text(), "21/05/2026");
    EXPECT_TRUE(edit->Modified());
    EXPECT_TRUE(edit->Focused());
    const std::vector<std::string> Expected = {"open",
                                               "change 14/03/2026",
                                               "shown",
                                               "change 14/04/2026",
                                               "change 14/05/2026",
                                               "change 13/05/2026",
                                               "change 20/05/2026",
                                               "change 21/05/2026",
                                               "released",
                                               "close",
                                               "click"};
    EXPECT_EQ(Log, Expected);
}

TEST_F(Opening, AltDownOpensTheCalendarToo) {
    edit->SetFocus();
    fw::Ui::OnNextModal([](fw::TForm*) {
        fw::Ui::PressKey(fw::VK_DOWN);
        fw::Ui::PressKey(fw::VK_RETURN);
    });
    fw::Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 21));
}

TEST_F(Opening, AnOpenHandlerChangesWhatThePopupStartsWith) {
    edit->OnOpenCalendar = [&](fw::TObject*) {
        edit->SetText("25/12/2003");
        edit->SetCalendarWeekStart(qz::wsMonday);
    };
    OpenAndDrive([](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->Date(), EncodeDate(2003, 12, 25));
        EXPECT_EQ(Popup->WeekStart(), qz::wsMonday);
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

TEST_F(Opening, AnErrorWhileShownFreesThePopupAndGoesOn) {
    bool Closed = false;
    edit->OnCloseCalendar = [&](fw::TObject*) { Closed = true; };
    edit->SetDate(EncodeDate(2003, 12, 25));
    const int Forms = fw::Screen->FormCount();
    EXPECT_THROW(OpenAndDrive([](TfrmQzCal*) { throw std::runtime_error("broken"); }), std::runtime_error);
    EXPECT_EQ(fw::Screen->FormCount(), Forms);
    EXPECT_FALSE(AnyPopup());
    EXPECT_FALSE(Closed);
    EXPECT_EQ(edit->GetDate(), EncodeDate(2003, 12, 25));
    // The next opening works as ever.
    EXPECT_TRUE(OpenAndDrive([](TfrmQzCal*) { fw::Ui::PressKey(fw::VK_RETURN); }));
}

TEST_F(Opening, EveryOpeningMakesAFreshPopup) {
    for (int I = 0; I < 3; ++I) {
        OpenAndDrive([&](TfrmQzCal* Popup) {
            EXPECT_EQ(Popup->FormPaintCount(), 1);
            EXPECT_EQ(Popup->Name(), "frmQzCal");
            fw::Ui::PressKey(fw::VK_RIGHT);
            fw::Ui::PressKey(fw::VK_RETURN);
        });
        EXPECT_FALSE(AnyPopup());
    }
    EXPECT_EQ(edit->GetDate(), EncodeDate(2026, 3, 17));
    EXPECT_EQ(edit->ComponentCount(), 1) << "only the drop button is left";
}

// ---------------------------------------------------------------- the calendar component

class CalendarComponent : public PopupFixture {
protected:
    void SetUp() override {
        PopupFixture::SetUp();
        calendar = new qz::TQzCalendar(form.get());
        calendar->SetName("Calendar1");
    }
    bool OpenAndDriveCalendar(const std::function<void(TfrmQzCal*)>& Step) {
        fw::Ui::OnNextModal([Step](fw::TForm* Form) {
            auto* Popup = dynamic_cast<TfrmQzCal*>(Form);
            ASSERT_NE(Popup, nullptr);
            Step(Popup);
        });
        return calendar->OpenCalendar();
    }
    qz::TQzCalendar* calendar = nullptr;
};

TEST_F(CalendarComponent, StartsWithTheDefaults) {
    EXPECT_EQ(calendar->Date(), 0);
    EXPECT_EQ(calendar->CalendarCaption(), "");
    EXPECT_TRUE(calendar->CalendarFillPage());
    EXPECT_EQ(calendar->CalendarStyle(), qz::csStandard);
    EXPECT_EQ(calendar->CalendarWeekendColor(), fw::clBtnText);
    EXPECT_EQ(calendar->CalendarWeekStart(), qz::wsSunday);
    EXPECT_EQ(calendar->CalendarLeft(), 0);
    EXPECT_EQ(calendar->CalendarTop(), 0);
}

TEST_F(CalendarComponent, CancellingKeepsNoDateAndFiresBothEvents) {
    std::vector<std::string> Log;
    calendar->OnOpenCalendar = [&](fw::TObject* Sender) {
        EXPECT_EQ(Sender, calendar);
        Log.push_back("open");
    };
    calendar->OnCloseCalendar = [&](fw::TObject* Sender) {
        EXPECT_EQ(Sender, calendar);
        EXPECT_FALSE(AnyPopup());
        Log.push_back("close");
    };
    const bool Picked = OpenAndDriveCalendar([&](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 14));
        EXPECT_EQ(Popup->OwnerDateFormat(), "");
        fw::Ui::PressKey(fw::VK_RIGHT);
        fw::Ui::MouseDown(Popup, 5, 5, fw::mbRight);
    });
    EXPECT_FALSE(Picked);
    EXPECT_EQ(calendar->Date(), 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"open", "close"}));
    EXPECT_EQ(edit->Text(), "") << "no date edit is written";
}

TEST_F(CalendarComponent, PickingADayKeepsItAndCloseSeesIt) {
    calendar->SetDate(EncodeDate(2003, 12, 25) + 0.75);
    fw::TDateTime Seen = 0;
    calendar->OnCloseCalendar = [&](fw::TObject*) { Seen = calendar->Date(); };
    // A day step keeps the time of day; a picked cell is a plain date.
    EXPECT_TRUE(OpenAndDriveCalendar([](TfrmQzCal*) {
        fw::Ui::PressKey(fw::VK_RIGHT);
        fw::Ui::PressKey(fw::VK_RETURN);
    }));
    EXPECT_EQ(calendar->Date(), EncodeDate(2003, 12, 26) + 0.75);
    EXPECT_EQ(Seen, calendar->Date());
    EXPECT_TRUE(OpenAndDriveCalendar([](TfrmQzCal* Popup) {
        const fw::TPoint P = CellCentre(Popup, Popup->FirstIndex());
        fw::Ui::Click(Popup, P.X, P.Y);
    }));
    EXPECT_EQ(calendar->Date(), EncodeDate(2003, 12, 1));
}

TEST_F(CalendarComponent, ThePopupTakesTheComponentsSettingsAndAnchor) {
    calendar->SetCalendarStyle(qz::csDialog);
    calendar->SetCalendarCaption("Due date");
    calendar->SetCalendarFillPage(false);
    calendar->SetCalendarWeekendColor(fw::clRed);
    calendar->SetCalendarWeekStart(qz::wsFriday);
    calendar->SetCalendarLeft(30);
    calendar->OnOpenCalendar = [&](fw::TObject*) { calendar->SetCalendarTop(40); };
    OpenAndDriveCalendar([&](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->BorderStyle(), fw::bsDialog);
        EXPECT_EQ(Popup->Caption(), "Due date");
        EXPECT_FALSE(Popup->FillPage());
        EXPECT_EQ(Popup->WeekendColor(), fw::clRed);
        EXPECT_EQ(Popup->WeekStart(), qz::wsFriday);
        const fw::TPoint Anchor = form->ClientToScreen({30, 40});
        EXPECT_EQ(Popup->Left(), Anchor.X);
        EXPECT_EQ(Popup->Top(), Anchor.Y);
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

TEST_F(CalendarComponent, TheAnchorIsMovedOnlyByTheScreenEdges) {
    OpenAndDriveCalendar([&](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->Left(), form->ClientOrigin().X);
        EXPECT_EQ(Popup->Top(), form->ClientOrigin().Y);
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
    // Near the bottom right: flush with the right edge, ending a pixel above the anchor.
    calendar->SetCalendarLeft(1000 - 100);
    calendar->SetCalendarTop(700 - 100);
    OpenAndDriveCalendar([&](TfrmQzCal* Popup) {
        const fw::TPoint Anchor = form->ClientToScreen({900, 600});
        EXPECT_EQ(Popup->Left() + Popup->Width(), 1024);
        EXPECT_EQ(Popup->Top() + Popup->Height(), Anchor.Y - 1);
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
}

TEST_F(CalendarComponent, WithoutAControlOwnerTheAnchorIsAScreenPoint) {
    qz::TQzCalendar Loose(nullptr);
    Loose.SetCalendarLeft(200);
    Loose.SetCalendarTop(150);
    fw::Ui::OnNextModal([](fw::TForm* Form) {
        EXPECT_EQ(Form->Left(), 200);
        EXPECT_EQ(Form->Top(), 150);
        fw::Ui::PressKey(fw::VK_RETURN);
    });
    EXPECT_TRUE(Loose.OpenCalendar());
    EXPECT_EQ(Loose.Date(), EncodeDate(2026, 3, 14));
}

TEST_F(CalendarComponent, AnErrorFreesThePopupKeepsTheDateAndSkipsClose) {
    calendar->SetDate(EncodeDate(2003, 12, 25));
    bool Closed = false;
    calendar->OnCloseCalendar = [&](fw::TObject*) { Closed = true; };
    EXPECT_THROW(OpenAndDriveCalendar([](TfrmQzCal*) {
                     fw::Ui::PressKey(fw::VK_RIGHT);
                     throw std::runtime_error("broken");
                 }),
                 std::runtime_error);
    EXPECT_FALSE(AnyPopup());
    EXPECT_FALSE(Closed);
    EXPECT_EQ(calendar->Date(), EncodeDate(2003, 12, 25));
}

TEST_F(CalendarComponent, AnOutOfRangeDateOpensOnToday) {
    calendar->SetDate(1e9);
    OpenAndDriveCalendar([](TfrmQzCal* Popup) {
        EXPECT_EQ(Popup->OriginalDate(), 0);
        EXPECT_EQ(Popup->Date(), EncodeDate(2026, 3, 14));
        fw::Ui::PressKey(fw::VK_ESCAPE);
    });
    EXPECT_EQ(calendar->Date(), 1e9);
}

TEST_F(CalendarComponent, FormFilesStoreThePositionAlwaysAndTheRestWhenChanged) {
    qz::RegisterPackageClasses();
    const fw::String Defaults = fw::WriteComponentToText(calendar);
    EXPECT_NE(Defaults.find("  CalendarLeft = 0\n"), fw::String::npos);
    EXPECT_NE(Defaults.find("  CalendarTop = 0\n"), fw::String::npos);
    EXPECT_EQ(Defaults.find("CalendarFillPage"), fw::String::npos);
    EXPECT_EQ(Defaults.find("CalendarWeekStart"), fw::String::npos);
    calendar->SetCalendarCaption("Due");
    calendar->SetCalendarStyle(qz::csDialog);
    calendar->SetCalendarWeekStart(qz::wsMonday);
    calendar->SetCalendarWeekendColor(fw::clRed);
    calendar->SetCalendarFillPage(false);
    calendar->SetCalendarLeft(12);
    calendar->SetCalendarTop(-3);
    const fw::String Text = fw::WriteComponentToText(calendar);
    std::unique_ptr<fw::TComponent> Read(fw::ReadComponentFromText(Text));
    auto* Copy = dynamic_cast<qz::TQzCalendar*>(Read.get());
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(fw::WriteComponentToText(Copy), Text);
    EXPECT_EQ(Copy->CalendarCaption(), "Due");
    EXPECT_EQ(Copy->CalendarStyle(), qz::csDialog);
    EXPECT_EQ(Copy->CalendarWeekStart(), qz::wsMonday);
    EXPECT_EQ(Copy->CalendarWeekendColor(), fw::clRed);
    EXPECT_FALSE(Copy->CalendarFillPage());
    EXPECT_EQ(Copy->CalendarLeft(), 12);
    EXPECT_EQ(Copy->CalendarTop(), -3);
}

} // namespace
} // namespace qztest
