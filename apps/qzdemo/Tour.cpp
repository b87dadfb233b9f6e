#include "Tour.h"

#include "DemoForm.h"
#include "RecordsDatabase.h"
#include "RecordsForm.h"
#include "RecordsServer.h"

#include <Qzde/QzCalendarPopup.h>
#include <cstdio>
#include <framework/backends/headless/Automation.h>
#include <framework/backends/headless/HeadlessBackend.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Application.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <framework/rtl/SysUtils.h>
#include <fstream>
#include <functional>
#include <iomanip>
#include <ostream>
#include <vector>

namespace qzdemo {

namespace {

namespace Ui = fw::Ui;

fw::String Quoted(const fw::String& Text) {
    return "\"" + Text + "\"";
}

fw::String LongDate(fw::TDateTime Value) {
    return fw::FormatDateTime("dddd, d mmmm yyyy", Value);
}

fw::String MonthTitle(fw::TDateTime Value) {
    return fw::FormatDateTime("mmmm yyyy", Value);
}

fw::String TwoDigits(int N) {
    char Buffer[8];
    std::snprintf(Buffer, sizeof Buffer, "%02d", N);
    return Buffer;
}

fw::String LampText(const qz::TQzLED* Lamp) {
    static constexpr const char* Colors[] = {"amber", "blue",   "green", "light blue", "lime",
                                             "pink",  "purple", "red",   "teal"};
    if (Lamp->LEDState() == qz::lsOff) return "dark";
    return fw::String(Lamp->LEDState() == qz::lsBright ? "bright " : "") + Colors[Lamp->LEDColor()];
}

// The middle of a popup rectangle whose Right and Bottom are its last pixels inside.
fw::TPoint Middle(const fw::TRect& R) {
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
}

// How many pixels of a rectangle (Right and Bottom inside) are pure red, the
// colour of a pressed navigation arrow.
int RedPixels(const fw::TSurface& Image, const fw::TRect& R) {
    int Count = 0;
    for (int Y = R.Top; Y <= R.Bottom && Y < Image.Height(); ++Y)
        for (int X = R.Left; X <= R.Right && X < Image.Width(); ++X)
            if (Image.Pixel(X, Y) == fw::clRed) ++Count;
    return Count;
}

// When the picture of a pressed arrow is taken: inside the popup's 60 ms delay.
constexpr fw::Cardinal PressedSnapshotDelay = 30;

// The calendar popup driving the current modal loop, or nullptr.
qz::TfrmQzCal* ActivePopup() {
    return dynamic_cast<qz::TfrmQzCal*>(Ui::ActiveModalForm());
}

// Routes the exceptions the message loop catches to a handler for as long as it
// lives, then puts the previous OnException back.
class TExceptionGuard {
public:
    explicit TExceptionGuard(std::function<void(const std::exception&)> Handler)
        : FPrevious(fw::Application->OnException) {
        fw::Application->OnException = [Handler](fw::TObject*, const std::exception& E) { Handler(E); };
    }
    ~TExceptionGuard() { fw::Application->OnException = FPrevious; }
    TExceptionGuard(const TExceptionGuard&) = delete;
    TExceptionGuard& operator=(const TExceptionGuard&) = delete;

private:
    fw::TExceptionEvent FPrevious;
};

class TTour {
public:
    TTour(TfrmQzDemo* Form, const std::filesystem::path& Dir, std::ostream& Progress,
          const fw::String& Server)
        : F(Form), FDir(Dir), FServer(Server), FProgress(Progress), FTranscript(Dir / "transcript.txt") {
        if (!FTranscript) throw ETourFailed("Cannot write " + (Dir / "transcript.txt").string());
    }

    void Run(const fw::String& FormFile);

private:
    // ---- the steps
    void Start();
    void TypeWithTwoDigitYear();
    void LeaveWithTab();
    void AnotherLayout();
    void DropButtonAndPick();
    void ReopenAndCancel();
    void CalendarComponent();
    void InvalidDate();
    void Correct();
    // ---- the records form
    void RecordsOpen();
    void RecordsBrowse();
    void RecordsTypeTwoDigitYear();
    void RecordsLeaveAndPost();
    void RecordsReopenFile();
    void RecordsPickFromPopup();
    void RecordsEscapeReloads();
    void RecordsRefusedDate();
    void RecordsAlignedPainting();
    void RecordsNullDate();
    void RecordsNotADate();
    void Languages();
    // ---- the newer picker features
    void DeliveryHolidays();
    void CenturyWindow();
    void BlinkingLamp();
    void ClickNavigator(fw::TNavigateBtn Button);
    void ClickGridRow(int Row);

    // ---- recording
    // Opens a step: its picture's name and a one-line title.
    void Begin(const fw::String& Name, const fw::String& Title);
    // What the tour did, and what it saw, in the step's transcript.
    void Did(const fw::String& Text) { FDid.push_back(Text); }
    void Saw(const fw::String& Text) { FSaw.push_back(Text); }
    // A check of the step's effect: seen, or the tour fails with the difference.
    void Expect(bool Ok, const fw::String& Expected, const fw::String& Actual);
    void ExpectText(qz::TQzDateEdit* Edit, const fw::String& Text);
    void ExpectDate(fw::TDateTime Actual, fw::TDateTime Expected, const fw::String& What);
    void ExpectEvent(fw::TComponent* Sender, const fw::String& Event);
    void ExpectLamp(qz::TQzLED* Lamp, const fw::String& Text);
    void ExpectFocus(fw::TWinControl* Control);
    // Takes the picture and writes the step into the transcript.
    void End();
    // Writes the step so far with the failure, then raises ETourFailed.
    [[noreturn]] void Fail(const fw::String& Message);
    void WriteStep(const fw::String& Picture, const fw::String& Failure);
    // A modal step queued before an action that should open a modal loop must
    // have run once the action returns.
    void ExpectStepsUsed(const fw::String& WhatShouldHaveOpened);

    TfrmQzDemo* F;
    // Whose events the steps list: the main form's, then the records form's.
    const TEventLog* FLog = &F->Events();
    std::unique_ptr<TfrmQzRecords> R;
    std::filesystem::path FDir;
    fw::String FServer; // the records on a PostgreSQL server instead of a file
    std::ostream& FProgress;
    std::ofstream FTranscript;

    int FNumber = 0;
    bool FOpen = false;
    fw::String FName;
    fw::String FTitle;
    std::vector<fw::String> FDid;
    std::vector<fw::String> FSaw;
    std::size_t FEventMark = 0;
};

void TTour::Begin(const fw::String& Name, const fw::String& Title) {
    ++FNumber;
    FOpen = true;
    FName = Name;
    FTitle = Title;
    FDid.clear();
    FSaw.clear();
    FEventMark = FLog->Count();
}

void TTour::Expect(bool Ok, const fw::String& Expected, const fw::String& Actual) {
    if (!Ok) Fail("expected " + Expected + ", but " + Actual);
    Saw(Expected);
}

void TTour::ExpectText(qz::TQzDateEdit* Edit, const fw::String& Text) {
    Expect(Edit->Text() == Text, Edit->Name() + " shows " + Quoted(Text),
           Edit->Name() + " shows " + Quoted(Edit->Text()));
}

void TTour::ExpectDate(fw::TDateTime Actual, fw::TDateTime Expected, const fw::String& What) {
    Expect(Actual == Expected, What + " is " + LongDate(Expected),
           What + " is " + (Actual == 0 ? fw::String("no date") : LongDate(Actual)));
}

void TTour::ExpectEvent(fw::TComponent* Sender, const fw::String& Event) {
    for (std::size_t I = FEventMark; I < FLog->Count(); ++I)
        if (const TEventEntry* E = FLog->Entry(I); E && E->Sender == Sender->Name() && E->Event == Event)
            return;
    Fail("expected " + Sender->Name() + "." + Event + " to fire, but it did not");
}

void TTour::ExpectLamp(qz::TQzLED* Lamp, const fw::String& Text) {
    Expect(LampText(Lamp) == Text, "the lamp " + Lamp->Name() + " is " + Text,
           "the lamp " + Lamp->Name() + " is " + LampText(Lamp));
}

void TTour::ExpectFocus(fw::TWinControl* Control) {
    auto* Form = dynamic_cast<fw::TForm*>(fw::Screen->ActiveForm());
    fw::TWinControl* Focused = Form != nullptr ? Form->FocusedControl() : nullptr;
    Expect(Control->Focused(), "the focus is on " + Control->Name(),
           "the focus is on " + (Focused != nullptr ? Focused->Name() : fw::String("nothing")));
}

void TTour::ExpectStepsUsed(const fw::String& WhatShouldHaveOpened) {
    if (fw::Application->PendingModalSteps() == 0) return;
    fw::Application->Reset();
    Fail(WhatShouldHaveOpened + " did not open");
}

void TTour::End() {
    const fw::String Picture = TwoDigits(FNumber) + "-" + FName + ".png";
    fw::SaveScreenshot((FDir / Picture).string());
    WriteStep(Picture, "");
    FProgress << "  " << std::left << std::setw(22) << Picture << FTitle << "\n";
    FOpen = false;
}

void TTour::Fail(const fw::String& Message) {
    const fw::String Heading = "Step " + std::to_string(FNumber) + " (" + FTitle + "): " + Message;
    if (FOpen) {
        const fw::String Picture = TwoDigits(FNumber) + "-" + FName + "-FAILED.png";
        try {
            fw::SaveScreenshot((FDir / Picture).string());
        } catch (const std::exception&) {
            // The failure itself matters more than its picture.
        }
        WriteStep(Picture, Message);
        FOpen = false;
    }
    throw ETourFailed(Heading);
}

void TTour::WriteStep(const fw::String& Picture, const fw::String& Failure) {
    std::ostream& T = FTranscript;
    T << TwoDigits(FNumber) << ". " << FTitle << "\n";
    for (const fw::String& Line : FDid)
        T << "    did:    " << Line << "\n";
    for (const fw::String& Line : FSaw)
        T << "    saw:    " << Line << "\n";
    const std::vector<fw::String> Events = FLog->Lines(FEventMark, FLog->Count());
    if (Events.empty()) T << "    events: none\n";
    for (std::size_t I = 0; I < Events.size(); ++I)
        T << (I == 0 ? "    events: " : "            ") << Events[I] << "\n";
    if (!Failure.empty()) T << "    FAILED: " << Failure << "\n";
    T << "    screen: " << Picture << "\n\n";
    T.flush();
}

// ---------------------------------------------------------------- the steps

void TTour::Start() {
    Begin("start", "The demo form, loaded from its form file");
    Did("showed the form");
    Expect(fw::Screen->ActiveForm() == F, "the demo form is active", "another form is active");
    ExpectFocus(F->edtDayFirst);
    ExpectLamp(F->ledDayFirst, "dark");
    End();
}

void TTour::TypeWithTwoDigitYear() {
    Begin("typed", "Type a date with a two-digit year");
    Did("typed \"14/3/26\" into the dd/mm/yyyy edit");
    Ui::TypeText("14/3/26");
    ExpectText(F->edtDayFirst, "14/3/26");
    ExpectEvent(F->edtDayFirst, "OnChange");
    Expect(F->edtDayFirst->Date() == 0, "the edit holds no date yet (typing alone does not set it)",
           "the edit already holds " + LongDate(F->edtDayFirst->Date()));
    End();
}

void TTour::LeaveWithTab() {
    Begin("left", "Leave with Tab: the year expands and the text is normalised");
    Did("pressed Tab");
    Ui::Tab();
    ExpectText(F->edtDayFirst, "14/03/2026");
    ExpectDate(F->edtDayFirst->Date(), fw::EncodeDate(2026, 3, 14), "the edit's date");
    ExpectEvent(F->edtDayFirst, "OnExit");
    ExpectFocus(F->edtMonthFirst);
    ExpectLamp(F->ledDayFirst, "bright green");
    End();
}

void TTour::AnotherLayout() {
    Begin("month-first", "Another layout: month first, a year past the cusp");
    Did("typed \"7/4/95\" into the m/d/yyyy edit and pressed Tab (cusp year 30: 95 is 1995)");
    Ui::TypeText("7/4/95");
    Ui::Tab();
    ExpectText(F->edtMonthFirst, "7/4/1995");
    ExpectDate(F->edtMonthFirst->Date(), fw::EncodeDate(1995, 7, 4), "the edit's date");
    ExpectFocus(F->edtYearFirst);
    ExpectLamp(F->ledMonthFirst, "bright green");
    End();
}

void TTour::DropButtonAndPick() {
    qz::TQzDateEdit* Edit = F->edtDayFirst;

    // Each queued step runs inside the popup's modal loop, one per idle moment.
    Ui::OnNextModal([this, Edit](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Expect(Popup != nullptr, "the calendar popup is open", "another window is modal");
        Expect(Popup->OwnerComponent() == Edit, "the popup belongs to " + Edit->Name(),
               "it belongs to another");
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 3, 14), "the selected day");
        Expect(Popup->WeekStart() == qz::wsMonday, "weeks start on Monday (the edit's CalendarWeekStart)",
               "weeks start on another day");
        Saw("the popup shows " + MonthTitle(Popup->Date()) + " below the edit, weekends in red");
        ExpectEvent(Edit, "OnOpenCalendar");
        ExpectLamp(F->ledDayFirst, "bright amber");
        End();
    });
    Ui::OnNextModal([this, Edit](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Begin("arrow-pressed", "Click the next-month arrow: it shows pressed while the step waits");
        Did("clicked the single right arrow (next month) at the top of the popup");
        const fw::TRect Arrow = Popup->ButtonRect(qz::cbMonthNext);
        // The popup waits 60 ms between drawing the arrow pressed and stepping;
        // a timer of half that takes the picture in between.
        fw::TTimer Snapshot(nullptr);
        bool Taken = false;
        Snapshot.SetInterval(PressedSnapshotDelay);
        Snapshot.OnTimer = [&](fw::TObject*) {
            Snapshot.SetEnabled(false);
            Taken = true;
            Expect(RedPixels(fw::CaptureForm(Popup), Arrow) > 0, "the arrow is drawn pressed (red)",
                   "the arrow is not drawn pressed");
            ExpectDate(Popup->Date(), fw::EncodeDate(2026, 3, 14), "the selected day (not stepped yet)");
            End();
            Begin("month-arrow", "60 ms later: one month on, the arrow up again");
            Did("waited for the popup's 60 ms delay to pass");
        };
        Snapshot.SetEnabled(true);
        const fw::TPoint P = Middle(Arrow);
        Ui::Click(Popup, P.X, P.Y);
        if (!Taken) Fail("the popup stepped before the arrow could be seen pressed");
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 4, 14), "the selected day");
        ExpectText(Edit, "14/04/2026");
        Expect(RedPixels(fw::CaptureForm(Popup), Arrow) == 0, "the arrow is drawn up again (black)",
               "the arrow is still drawn pressed");
        Saw("the popup mirrors the selection into the edit while it is open");
        End();
    });
    Ui::OnNextModal([this, Edit](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Begin("page-down", "Step a month with Page Down");
        Did("pressed Page Down");
        Ui::PressKey(fw::VK_NEXT);
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 5, 14), "the selected day");
        ExpectText(Edit, "14/05/2026");
        End();
    });
    Ui::OnNextModal([this, Edit](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Begin("dragging", "Drag onto a day of the next month (button still held)");
        const int From = Popup->SelIndex();
        const int To = Popup->LastIndex() + 5;
        if (To > qz::TfrmQzCal::CellCount)
            Fail("the grid of " + MonthTitle(Popup->Date()) + " has no 5th grey cell");
        const fw::TPoint A = Middle(Popup->FindArrayRect(From));
        const fw::TPoint B = Middle(Popup->FindArrayRect(From + 7));
        const fw::TPoint C = Middle(Popup->FindArrayRect(To));
        Did("pressed the mouse on the 14th, moved down a week, then onto the grey " +
            std::to_string(Popup->DayNumbers(To)) + " of the next month");
        Ui::MouseDown(Popup, A.X, A.Y);
        Ui::MouseMove(Popup, B.X, B.Y);
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 5, 21), "the selected day after the first move");
        Ui::MouseMove(Popup, C.X, C.Y);
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 6, 5), "the selected day");
        ExpectText(Edit, "05/06/2026");
        Expect(Popup->ModalResult() == fw::mrNone, "the popup stays open while the button is held",
               "the popup closed");
        Saw("the grid still shows May; the selected grey cell is framed");
        End();

        Begin("accepted", "Release the mouse: the date is accepted");
        Did("released the mouse over the grey 5");
        Ui::MouseUp(Popup, C.X, C.Y);
    });
    Begin("popup-open", "Open the popup with the drop button");
    Did("clicked the drop button of the dd/mm/yyyy edit");
    Ui::Click(Edit->CalendarButton());
    ExpectStepsUsed("the calendar popup (or one of its steps)");

    Expect(ActivePopup() == nullptr, "the popup is gone", "it is still open");
    ExpectText(Edit, "05/06/2026");
    ExpectDate(Edit->Date(), fw::EncodeDate(2026, 6, 5), "the edit's date");
    ExpectEvent(Edit, "OnCloseCalendar");
    ExpectFocus(Edit);
    ExpectLamp(F->ledDayFirst, "bright green");
    End();
}

void TTour::ReopenAndCancel() {
    qz::TQzDateEdit* Edit = F->edtDayFirst;
    Ui::OnNextModal([this, Edit](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Expect(Popup != nullptr, "the calendar popup is open", "another window is modal");
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 6, 5), "the selected day");
        Did("pressed Right twice in the popup");
        Ui::PressKey(fw::VK_RIGHT);
        Ui::PressKey(fw::VK_RIGHT);
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 6, 7), "the selected day");
        ExpectText(Edit, "07/06/2026");
        ExpectEvent(Edit, "OnOpenCalendar");
        End();

        Begin("cancelled", "Cancel with Escape: the edit gets its text back");
        Did("pressed Escape");
        Ui::PressKey(fw::VK_ESCAPE);
    });
    Begin("reopened", "Open the popup again from the keyboard and move the selection");
    Did("pressed Alt+Down in the dd/mm/yyyy edit");
    Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    ExpectStepsUsed("the calendar popup (Alt+Down)");

    Expect(ActivePopup() == nullptr, "the popup is gone", "it is still open");
    ExpectText(Edit, "05/06/2026");
    ExpectDate(Edit->Date(), fw::EncodeDate(2026, 6, 5), "the edit's date (unchanged)");
    ExpectEvent(Edit, "OnCloseCalendar");
    ExpectFocus(Edit);
    End();
}

void TTour::CalendarComponent() {
    qz::TQzCalendar* Calendar = F->calPicker;
    Ui::OnNextModal([this, Calendar](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Expect(Popup != nullptr, "the calendar popup is open", "another window is modal");
        Expect(Popup->OwnerComponent() == Calendar, "the popup belongs to " + Calendar->Name(),
               "it belongs to another");
        Expect(Popup->Caption() == "Pick a date", "a dialog popup captioned \"Pick a date\"",
               "its caption is " + Quoted(Popup->Caption()));
        ExpectDate(Popup->Date(), fw::Date(), "the selected day (today: the component holds no date)");
        ExpectEvent(Calendar, "OnOpenCalendar");
        ExpectLamp(F->ledPicker, "bright amber");
        End();

        Begin("picked", "Pick a day in the calendar component's popup");
        int Cell = 0;
        for (int I = Popup->FirstIndex(); I <= Popup->LastIndex(); ++I)
            if (Popup->DayNumbers(I) == 24) Cell = I;
        const fw::TPoint P = Middle(Popup->FindArrayRect(Cell));
        Did("clicked the 24th");
        Ui::Click(Popup, P.X, P.Y);
    });
    Begin("calendar-open", "Open the calendar component with \"Pick a date...\"");
    Did("clicked the button \"Pick a date...\"");
    Ui::Click(F->btnPickDate);
    ExpectStepsUsed("the calendar component's popup");

    Expect(ActivePopup() == nullptr, "the popup is gone", "it is still open");
    ExpectDate(Calendar->Date(), fw::EncodeDate(2026, 3, 24), "the component's date");
    Expect(F->lblPicked->Caption() == "Picked: Tuesday, 24 March 2026",
           "the label reads \"Picked: Tuesday, 24 March 2026\"",
           "the label reads " + Quoted(F->lblPicked->Caption()));
    ExpectEvent(Calendar, "OnCloseCalendar");
    ExpectLamp(F->ledPicker, "bright green");
    End();
}

void TTour::InvalidDate() {
    qz::TQzDateEdit* Edit = F->edtYearFirst;
    Ui::OnNextModal([this, Edit](fw::TForm*) {
        fw::TMessageForm* Box = Ui::ActiveMessageBox();
        const fw::String Caption = Ui::MessageBoxCaption();
        const fw::String Text = Ui::MessageBoxText();
        Expect(Caption == "Date check",
               "a message box captioned \"Date check\" (the edit's ErrorMessageTitle)",
               "its caption is " + Quoted(Caption));
        Expect(Text == "'2026/02/30' is not a valid date!", "the text \"'2026/02/30' is not a valid date!\"",
               "its text is " + Quoted(Text));
        Expect(Box->Icon() == fw::TMessageIcon::Stop, "a stop icon", "another icon");
        ExpectEvent(Edit, "OnInvalidDate");
        ExpectLamp(F->ledYearFirst, "bright red");
        End();

        Begin("answered", "Answer the message box: the user is back in the edit");
        Did("pressed OK");
        Ui::PressButton("OK");
    });
    Begin("invalid", "Leave with an impossible date: the edit reports it");
    Did("clicked into the yyyy/mm/dd edit, typed \"2026/02/30\" and pressed Tab");
    Ui::Click(F->edtYearFirst, 8, Edit->ClientHeight() / 2);
    Ui::TypeText("2026/02/30");
    Ui::Tab();
    ExpectStepsUsed("the message box");

    ExpectFocus(Edit);
    ExpectText(Edit, "2026/02/30");
    Expect(Edit->SelLength() == 10, "the whole text is selected, ready to be typed over",
           std::to_string(Edit->SelLength()) + " characters are selected");
    ExpectLamp(F->ledYearFirst, "bright red");
    End();
}

void TTour::Correct() {
    Begin("corrected", "Type over the selected text and leave again");
    Did("typed \"2026/2/28\" and pressed Tab");
    Ui::TypeText("2026/2/28");
    Ui::Tab();
    ExpectText(F->edtYearFirst, "2026/02/28");
    ExpectDate(F->edtYearFirst->Date(), fw::EncodeDate(2026, 2, 28), "the edit's date");
    ExpectLamp(F->ledYearFirst, "bright green");
    End();
}

// ---------------------------------------------------------------- the records form

void TTour::ClickNavigator(fw::TNavigateBtn Button) {
    const fw::TRect Rect = R->navEvents->ButtonRect(Button);
    Ui::Click(R->navEvents, (Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2);
}

void TTour::ClickGridRow(int Row) {
    Ui::Click(R->grdEvents, R->grdEvents->ClientWidth() - 6, Row * R->grdEvents->PanelHeight() + 6);
}

void TTour::RecordsOpen() {
    const std::filesystem::path Database = FDir / "events.db";
    if (FServer.empty()) {
        Begin("records", "The Records form over an SQLite file of events");
        Did("made " + Database.filename().string() +
            " beside the pictures (six events; two hold a stored \"happened\""
            " that is not a date) and opened the Records form from its form file");
        PrepareRecordsDatabase(Database, true);
    } else {
#ifdef QZ_HAVE_PG
        Begin("records", "The Records form over the table \"events\" of a PostgreSQL server");
        Did("made the table \"events\" on the server (six events; its date column holds no text, so two"
            " \"happened\" dates are null) and opened the Records form from its form file");
        PrepareRecordsServer(FServer, true);
#endif
    }
    R = std::make_unique<TfrmQzRecords>(nullptr, Database, FServer);
    FLog = &R->Events();
    R->Show();
    Expect(fw::Screen->ActiveForm() == R.get(), "the Records form is active", "another form is active");
    ExpectFocus(R->grdEvents);
    Expect(R->lblRecord->Caption() == "Record 1 of 6, browsing",
           "the status reads \"Record 1 of 6, browsing\"", "it reads " + Quoted(R->lblRecord->Caption()));
    ExpectText(R->edtHappened, "12/01/2026");
    ExpectText(R->edtDue, "01/02/2026");
    Expect(R->grdEvents->TopRecord() == 0 && R->grdEvents->ActiveRow() == 0,
           "the grid shows the first six events, the current one on top",
           "the grid starts at record " + std::to_string(R->grdEvents->TopRecord() + 1));
    Saw("each of the grid's rows paints copies of its labels for its own record");
    Saw("the date-time column \"logged\" shows as " + Quoted(R->txtLogged->Caption()) + " in its date label");
    End();
}

void TTour::RecordsBrowse() {
    Begin("browse", "Browse with the navigator");
    Did("clicked the navigator's Next button twice");
    ClickNavigator(fw::nbNext);
    ClickNavigator(fw::nbNext);
    Expect(R->lblRecord->Caption() == "Record 3 of 6, browsing",
           "the status reads \"Record 3 of 6, browsing\"", "it reads " + Quoted(R->lblRecord->Caption()));
    ExpectText(R->edtHappened, "09/03/2026");
    ExpectText(R->edtDue, "31/03/2026");
    ExpectText(R->edtReview, "15/04/2026");
    Expect(R->grdEvents->ActiveRow() == 2, "the grid's third row holds the current record",
           "row " + std::to_string(R->grdEvents->ActiveRow()) + " does");
    End();
}

void TTour::RecordsTypeTwoDigitYear() {
    Begin("db-typed", "Type a date with a two-digit year into a data-aware edit");
    Did("clicked into \"Happened\", selected its text (Home, Shift+End) and typed \"7/12/26\"");
    Ui::Click(R->edtHappened, 8, R->edtHappened->ClientHeight() / 2);
    Ui::PressKey(fw::VK_HOME);
    Ui::PressKey(fw::VK_END, {fw::ssShift});
    Ui::TypeText("7/12/26");
    ExpectText(R->edtHappened, "7/12/26");
    Expect(R->EventsSet()->State() == fw::dsEdit, "the first digit put the dataset in edit mode",
           "the dataset is not editing");
    Expect(R->lblRecord->Caption() == "Record 3 of 6, editing", "the status reads \"Record 3 of 6, editing\"",
           "it reads " + Quoted(R->lblRecord->Caption()));
    ExpectEvent(R->srcEvents, "OnStateChange");
    End();
}

void TTour::RecordsLeaveAndPost() {
    Begin("db-posted", "Leave with Tab, then post with the navigator");
    Did("pressed Tab, then clicked the navigator's Post button");
    Ui::Tab();
    ExpectText(R->edtHappened, "07/12/2026");
    Expect(R->EventsSet()->FieldByName("happened")->AsDateTime() == fw::EncodeDate(2026, 12, 7),
           "the field holds 7 December 2026",
           "the field holds " + R->EventsSet()->FieldByName("happened")->AsString());
    ClickNavigator(fw::nbPost);
    Expect(R->EventsSet()->State() == fw::dsBrowse, "the dataset is browsing again", "it is still editing");
    ExpectEvent(R->edtHappened, "OnExit");
    End();
}

void TTour::RecordsReopenFile() {
    const bool File = FServer.empty();
    Begin("db-stored", File ? "Read the file back through a connection of its own"
                            : "Read the server's row back through a connection of its own");
    Did(File ? "opened events.db again and read \"happened\" of record 3"
             : "connected to the server again and read \"happened\" of record 3");
    R->ShowStored("happened");
    const fw::String Stored = R->Stored("happened");
    Expect(Stored == "'2026-12-07'",
           File ? "the file holds the ISO text 2026-12-07" : "the server holds the date 2026-12-07",
           "it holds " + Stored);
    Saw("the line under the grid reads " + Quoted(R->lblStored->Caption()));
    End();
}

void TTour::RecordsPickFromPopup() {
    qz::TQzDBDateEdit* Edit = R->edtDue;
    Ui::OnNextModal([this](fw::TForm*) {
        Expect(ActivePopup() != nullptr, "the calendar popup is open", "another window is modal");
        ExpectDate(ActivePopup()->Date(), fw::EncodeDate(2026, 3, 31), "the selected day");
        Did("pressed Right and Enter in the popup");
        Ui::PressKey(fw::VK_RIGHT);
        Ui::PressKey(fw::VK_RETURN);
    });
    Begin("db-picked", "Pick a date with the popup of a data-aware edit");
    Did("clicked the drop button of \"Due\"");
    Ui::Click(Edit->CalendarButton());
    ExpectStepsUsed("the calendar popup");
    ExpectText(Edit, "01/04/2026");
    Expect(R->EventsSet()->State() == fw::dsEdit, "opening the calendar put the dataset in edit mode",
           "the dataset is not editing");
    ExpectEvent(Edit, "OnCloseCalendar");
    ExpectFocus(Edit);
    End();
}

void TTour::RecordsEscapeReloads() {
    Begin("db-escape", "Escape reloads the field's value");
    Did("pressed Escape in \"Due\"");
    Ui::PressKey(fw::VK_ESCAPE);
    ExpectText(R->edtDue, "31/03/2026");
    Expect(R->edtDue->SelLength() == 10, "the reloaded text is selected", "it is not selected");
    Expect(R->EventsSet()->State() == fw::dsEdit,
           "the dataset stays in edit mode (Escape does not cancel it)", "the dataset left edit mode");
    End();
}

void TTour::RecordsRefusedDate() {
    qz::TQzDBDateEdit* Edit = R->edtReview;
    Ui::OnNextModal([this](fw::TForm*) {
        const fw::String Caption = Ui::MessageBoxCaption();
        const fw::String Text = Ui::MessageBoxText();
        Expect(Caption == "Review date",
               "a message box captioned \"Review date\" (the edit's ErrorMessageTitle)",
               "its caption is " + Quoted(Caption));
        Expect(Text == "A review cannot come before the event (07/12/2026)",
               "the field's own message \"A review cannot come before the event (07/12/2026)\"",
               "its text is " + Quoted(Text));
        ExpectEvent(R->edtReview, "OnInvalidDate");
        End();
        Begin("db-refused-ok", "Answer the report: the typed date stays, selected, in the edit");
        Did("pressed OK");
        Ui::PressButton("OK");
    });
    Begin("db-refused", "A date the field refuses is reported when leaving");
    Did("pressed Tab to \"Review\", typed \"1/3/26\" over its text and pressed Tab");
    Ui::Tab();
    Ui::TypeText("1/3/26");
    Ui::Tab();
    ExpectStepsUsed("the report of the refused date");
    ExpectFocus(Edit);
    ExpectText(Edit, "01/03/2026");
    Expect(Edit->SelLength() == 10, "the whole text is selected, ready to be corrected",
           std::to_string(Edit->SelLength()) + " characters are selected");
    Expect(R->EventsSet()->FieldByName("review")->AsDateTime() == fw::EncodeDate(2026, 4, 15),
           "the field kept its value (15 April 2026)", "the field took the refused date");
    End();
}

void TTour::RecordsAlignedPainting() {
    Begin("aligned", "Unfocused, the edits paint their fields' alignment");
    Did("pressed Escape in \"Review\" (the field's value comes back), clicked Cancel on the navigator and "
        "then"
        " the grid's first row");
    Ui::PressKey(fw::VK_ESCAPE);
    ExpectText(R->edtReview, "15/04/2026");
    ClickNavigator(fw::nbCancel);
    ClickGridRow(0);
    ExpectFocus(R->grdEvents);
    Expect(R->lblRecord->Caption() == "Record 1 of 6, browsing",
           "the status reads \"Record 1 of 6, browsing\"", "it reads " + Quoted(R->lblRecord->Caption()));
    Expect(R->edtHappened->FieldAlignment() == fw::taRightJustify && R->edtHappened->HasPaintCanvas(),
           "\"Happened\" paints its text right-aligned itself",
           "it leaves the painting to the platform edit");
    Expect(R->edtDue->FieldAlignment() == fw::taCenter && R->edtDue->HasPaintCanvas(),
           "\"Due\" paints its text centred", "it does not");
    Expect(!R->edtReview->HasPaintCanvas(), "\"Review\" (left-aligned) is painted by the platform edit",
           "it made a canvas of its own");
    End();
}

void TTour::RecordsNullDate() {
    Begin("null-date", "A null date");
    Did("clicked the grid's second row (its review date is null)");
    ClickGridRow(1);
    ExpectText(R->edtReview, "");
    ExpectText(R->edtHappened, "03/02/2026");
    End();
}

void TTour::RecordsNotADate() {
    if (!FServer.empty()) {
        Begin("not-a-date", "A server date column holds dates only");
        Did("clicked the grid's fourth row (its \"happened\" is null on the server)");
        ClickGridRow(3);
        ExpectText(R->edtHappened, "");
        Saw("a file's stray texts ('someday') cannot reach a date column of the server");
        End();
        return;
    }
    Begin("not-a-date", "A stored value that is not a date");
    Did("clicked the grid's fourth row (\"happened\" holds 'someday')");
    ClickGridRow(3);
    ExpectText(R->edtHappened, "someday");
    Expect(R->txtRowHappened->GetLabelText() == "someday",
           "the grid's date label shows \"someday\" as stored",
           "it shows " + Quoted(R->txtRowHappened->GetLabelText()));
    Saw("the fifth row shows '2026-02-30' as stored, the file's text for an impossible date");
    End();
}

void TTour::Languages() {
    // The switch changes the month and day names only; the calendar component
    // shows them with its today mark and week numbers.
    for (int Index = 1; Index <= TfrmQzDemo::LanguageCount; ++Index) {
        const int Language = Index % TfrmQzDemo::LanguageCount;
        const fw::String Name = TfrmQzDemo::LanguageName(Language);
        fw::String Lower = fw::LowerCase(Name);
        const fw::String Before = F->btnLanguage->Caption();
        if (Language == 0) {
            Begin("language-" + Lower, "Back to English");
            Did("clicked " + Quoted(Before));
            Ui::Click(F->btnLanguage);
            Expect(F->Language() == 0, "English names", "another language");
            Saw("the date labels read " + Quoted(F->lblDayFirstDate->Caption()));
            End();
            continue;
        }
        Ui::OnNextModal([this, Name](fw::TForm*) {
            qz::TfrmQzCal* Popup = ActivePopup();
            Expect(Popup != nullptr, "the calendar popup is open", "another window is modal");
            fw::Word Year = 0, Month = 0, Day = 0;
            fw::DecodeDate(Popup->Date(), Year, Month, Day);
            Saw("the popup's title is " +
                Quoted(fw::FormatSettings.LongMonthNames[Month - 1u] + " " + std::to_string(Year)) +
                ", its first weekday heading " + Quoted(fw::FormatSettings.ShortDayNames[0]));
            End();
            Ui::PressKey(fw::VK_ESCAPE);
        });
        Begin("language-" + Lower, "Switch the names to " + Name + " and open the calendar component");
        Did("clicked " + Quoted(Before) + ", then \"Pick a date...\"");
        Ui::Click(F->btnLanguage);
        Expect(F->btnLanguage->Caption() == "Language: " + Name,
               "the button reads \"Language: " + Name + "\"",
               "it reads " + Quoted(F->btnLanguage->Caption()));
        if (!F->LanguageInstalled())
            Saw("the locale of " + Name +
                " is not installed (scripts/bootstrap generates it): English names");
        Ui::Click(F->btnPickDate);
        ExpectStepsUsed("the calendar component's popup");
    }
}

void TTour::DeliveryHolidays() {
    qz::TQzCalendar* Calendar = F->calDelivery;
    // Today, Saturday 14 March, is refused like every weekend day: the popup
    // opens on Monday 16 March. Page Down shows April with Easter.
    Ui::OnNextModal([this, Calendar](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Expect(Popup != nullptr, "the calendar popup is open", "another window is modal");
        Expect(Popup->OwnerComponent() == Calendar, "the popup belongs to " + Calendar->Name(),
               "it belongs to another");
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 3, 16), "the selected day (today is a Saturday)");
        Did("pressed Page Down");
        Ui::PressKey(fw::VK_NEXT);
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 4, 16), "the selected day");
        int GoodFriday = 0;
        for (int I = 1; I <= qz::TfrmQzCal::CellCount; ++I)
            if (Popup->CellDate(I) == fw::EncodeDate(2026, 4, 3)) GoodFriday = I;
        Expect(Popup->CellStyle(GoodFriday).Bold && !Popup->CellAllowed(GoodFriday + 1),
               "Good Friday (3 April) bold and red, the weekend after it grey",
               "the days are drawn otherwise");
        const fw::TPoint P = Middle(Popup->FindArrayRect(GoodFriday));
        Did("rested the pointer on the 3rd");
        Ui::MouseMove(Popup, P.X, P.Y);
        Expect(Popup->Hint() == "Good Friday", "the hint \"Good Friday\"", "the hint is " + Quoted(Popup->Hint()));
        End();

        Begin("weekend-skipped", "Keys skip refused days: Right from Friday lands on Monday");
        Did("pressed Right twice");
        Ui::PressKey(fw::VK_RIGHT);
        Ui::PressKey(fw::VK_RIGHT);
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 4, 20), "the selected day (past Saturday and Sunday)");
        End();

        Begin("zoom-months", "Click the title: the twelve months of the year");
        Did("clicked the title \"April 2026\"");
        const fw::TPoint Title = Middle(Popup->TitleRect());
        Ui::Click(Popup, Title.X, Title.Y);
        Expect(Popup->View() == qz::cvMonths, "the month view", "another view");
        End();

        Begin("zoom-years", "Click the title again: twelve years");
        Did("clicked the title \"2026\"");
        Ui::Click(Popup, Title.X, Title.Y);
        Expect(Popup->View() == qz::cvYears, "the year view", "another view");
        End();

        Begin("zoomed-in", "Choose 2026, then December: back to the days, Christmas marked");
        const fw::TPoint Year = Middle(Popup->ZoomCellRect(2026 - Popup->ZoomFirstYear()));
        Did("clicked 2026, then Dec");
        Ui::Click(Popup, Year.X, Year.Y);
        Expect(Popup->View() == qz::cvMonths, "the month view of 2026", "another view");
        const fw::TPoint December = Middle(Popup->ZoomCellRect(11));
        Ui::Click(Popup, December.X, December.Y);
        Expect(Popup->View() == qz::cvDays, "the days again", "another view");
        // The 20th of December 2026 is a Sunday: the next permitted day is chosen.
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 12, 21), "the selected day (the 20th is a Sunday)");
        End();

        Begin("today-button", "Click Today: today is a Saturday, so the next permitted day");
        Did("clicked Today at the foot of the popup");
        const fw::TPoint Today = Middle(Popup->TodayButtonRect());
        Ui::Click(Popup, Today.X, Today.Y);
        ExpectDate(Popup->Date(), fw::EncodeDate(2026, 3, 16), "the selected day");
        Expect(Popup->ModalResult() == fw::mrNone, "the popup stays open", "it closed");
        End();

        Begin("delivery-picked", "Accept with Enter");
        Did("pressed Enter");
        Ui::PressKey(fw::VK_RETURN);
    });
    Begin("holidays", "A delivery day: weekends refused, public holidays marked with their names");
    Did("clicked \"Delivery day...\", then Page Down in the popup");
    Ui::Click(F->btnDelivery);
    ExpectStepsUsed("the delivery calendar's popup");
    Expect(ActivePopup() == nullptr, "the popup is gone", "it is still open");
    ExpectDate(Calendar->Date(), fw::EncodeDate(2026, 3, 16), "the component's date");
    ExpectEvent(Calendar, "OnCloseCalendar");
    Expect(F->lblDelivery->Caption() == "Delivery on Monday, 16 March 2026",
           "the label reads \"Delivery on Monday, 16 March 2026\"", "it reads " + Quoted(F->lblDelivery->Caption()));
    End();

    Ui::OnNextModal([this](fw::TForm*) {
        qz::TfrmQzCal* Popup = ActivePopup();
        Expect(Popup != nullptr, "the calendar popup is open", "another window is modal");
        Did("clicked Clear at the foot of the popup");
        const fw::TPoint Clear = Middle(Popup->ClearButtonRect());
        Ui::Click(Popup, Clear.X, Clear.Y);
    });
    Begin("cleared", "Open it again and click Clear: the component holds no date");
    Did("clicked \"Delivery day...\"");
    Ui::Click(F->btnDelivery);
    ExpectStepsUsed("the delivery calendar's popup");
    Expect(ActivePopup() == nullptr, "the popup is gone", "it is still open");
    Expect(Calendar->Date() == 0, "no date", "the date is " + LongDate(Calendar->Date()));
    Expect(F->lblDelivery->Caption() == "No delivery day yet", "the label reads \"No delivery day yet\"",
           "it reads " + Quoted(F->lblDelivery->Caption()));
    End();
}

void TTour::CenturyWindow() {
    qz::TQzDateEdit* Edit = F->edtWindow;
    Begin("century-window", "A century window: two-digit years within 20 years of today");
    Did("clicked into the last edit (TwoDigitYearWindow 20: 1947-2046), typed \"1/1/40\" and pressed Tab");
    Ui::Click(Edit);
    Ui::TypeText("1/1/40");
    Ui::Tab();
    ExpectText(Edit, "01/01/2040");
    ExpectDate(Edit->Date(), fw::EncodeDate(2040, 1, 1), "the edit's date (the classic cusp year 30 would give 1940)");
    End();
}

void TTour::BlinkingLamp() {
    qz::TQzLED* Lamp = F->ledBlink;
    Begin("blink-slow", "The lamp blinks slowly");
    Did("clicked \"Blink: off\" and waited half a second");
    Ui::Click(F->btnBlink);
    Expect(Lamp->Blink() == qz::lbSlow && Lamp->Blinking(), "the lamp blinks slowly", "it does not blink");
    Ui::Wait(Lamp->EffectiveBlinkInterval() + 10);
    Expect(Lamp->BlinkDark(), "the lamp in its dark phase", "it is lit");
    End();

    Begin("blink-off", "Faster, then off: the lamp is lit again");
    Did("clicked \"Blink: slow\" and \"Blink: fast\"");
    Ui::Click(F->btnBlink);
    Expect(Lamp->Blink() == qz::lbFast, "the lamp blinks fast", "it does not");
    Ui::Click(F->btnBlink);
    Expect(Lamp->Blink() == qz::lbOff && !Lamp->Blinking() && !Lamp->BlinkDark(),
           "the lamp stopped, lit", "it still blinks or is dark");
    End();
}

void TTour::Run(const fw::String& FormFile) {
    FTranscript << "Qz Components demo: a scripted tour\n"
                << "===================================\n\n"
                << "The main form is read from " << FormFile << ".\n"
                << "Each step below acts through the real input path (keys and mouse go through the message\n"
                << "loop to the control under the pointer or with the focus). After each step the screen is\n"
                << "saved as the numbered picture named in the step. \"events\" lists what the form's event\n"
                << "handlers saw during the step; \"x7\" counts a run of the same event.\n"
                << "Today is fixed at " << LongDate(fw::Date())
                << ", so that every run gives the same pictures.\n\n";
    FTranscript.flush();

    // An exception escaping an event handler would otherwise show an error box
    // that no step answers; it fails the step instead.
    TExceptionGuard Guard([this](const std::exception& E) {
        Fail(fw::String("an exception escaped an event handler: ") + E.what());
    });
    try {
        Start();
        TypeWithTwoDigitYear();
        LeaveWithTab();
        AnotherLayout();
        DropButtonAndPick();
        ReopenAndCancel();
        CalendarComponent();
        InvalidDate();
        Correct();
        // The records form shows the field's own texts: the application's date
        // layout is the edits' layout.
        fw::TFormatSettingsGuard Settings;
        fw::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        fw::FormatSettings.DateSeparator = '/';
        RecordsOpen();
        RecordsBrowse();
        RecordsTypeTwoDigitYear();
        RecordsLeaveAndPost();
        RecordsReopenFile();
        RecordsPickFromPopup();
        RecordsEscapeReloads();
        RecordsRefusedDate();
        RecordsAlignedPainting();
        RecordsNullDate();
        RecordsNotADate();
        R.reset();
        // Back on the main form: its events again.
        FLog = &F->Events();
        Languages();
        DeliveryHolidays();
        CenturyWindow();
        BlinkingLamp();
    } catch (const fw::ELoopError&) {
        throw; // ETourFailed, or a modal loop that waited for nothing: already clear
    } catch (const std::exception& E) {
        Fail(fw::String("the step raised: ") + E.what());
    }

    FTranscript << "All " << FNumber << " steps had their expected effect.\n";
    FTranscript.flush();
}

} // namespace

void RunTour(TfrmQzDemo* Form, const std::filesystem::path& Dir, const fw::String& FormFile,
             std::ostream& Progress, const fw::String& Server) {
    TTour Tour(Form, Dir, Progress, Server);
    Tour.Run(FormFile);
}

} // namespace qzdemo
