#pragma once
// The demo's main form TfrmQzDemo: three date edits in different layouts side by
// side, a calendar component behind a "Pick a date..." button, a lamp beside each
// of them showing its state, and a panel listing the latest events.
//
// The form is made from its form file (the resource "TFRMQZDEMO" of the demo's
// own resource module, see DemoResources.h): the file places the controls, sets
// their properties and binds their events to the handlers below. Each handler
// writes the event into the form's event log and posts itself a status refresh,
// so the lamps and captions are brought up to date once the event's own work is
// done (a date edit's exit check runs after its OnExit).

#include "EventLog.h"

#include <Qzde/QzDateControls.h>
#include <Qzled/Qzled.h>
#include <array>
#include <framework/controls/Buttons.h>
#include <framework/controls/Label.h>
#include <framework/forms/Form.h>
#include <functional>

namespace qzdemo {

class TfrmQzDemo : public fw::TForm {
    FW_CLASS(TfrmQzDemo, fw::TForm)

public:
    // Loads the form resource "TFRMQZDEMO" (the demo's resource module must be
    // registered) and shows the initial status.
    explicit TfrmQzDemo(fw::TComponent* AOwner);
    ~TfrmQzDemo() override;

    // ---- published fields, filled by the form file
    qz::TQzDateEdit* edtDayFirst = nullptr;
    qz::TQzDateEdit* edtMonthFirst = nullptr;
    qz::TQzDateEdit* edtYearFirst = nullptr;
    fw::TLabel* lblDayFirst = nullptr;
    fw::TLabel* lblMonthFirst = nullptr;
    fw::TLabel* lblYearFirst = nullptr;
    fw::TLabel* lblDayFirstDate = nullptr;
    fw::TLabel* lblMonthFirstDate = nullptr;
    fw::TLabel* lblYearFirstDate = nullptr;
    qz::TQzLED* ledDayFirst = nullptr;
    qz::TQzLED* ledMonthFirst = nullptr;
    qz::TQzLED* ledYearFirst = nullptr;
    fw::TButton* btnPickDate = nullptr;
    fw::TLabel* lblPicked = nullptr;
    qz::TQzLED* ledPicker = nullptr;
    qz::TQzCalendar* calPicker = nullptr;
    fw::TLabel* lblEvents = nullptr;
    fw::TButton* btnLanguage = nullptr;
    fw::TButton* btnRecords = nullptr;
    // The newer picker features: a delivery day calendar (weekends refused,
    // public holidays marked; Today, Clear, month and year views), an edit with
    // a century window, and a lamp that blinks.
    fw::TButton* btnDelivery = nullptr;
    fw::TLabel* lblDelivery = nullptr;
    qz::TQzCalendar* calDelivery = nullptr;
    qz::TQzDateEdit* edtWindow = nullptr;
    fw::TLabel* lblWindowDate = nullptr;
    fw::TButton* btnBlink = nullptr;
    qz::TQzLED* ledBlink = nullptr;

    // ---- published handlers, bound by the form file
    void DateEditChange(fw::TObject* Sender);
    void DateEditExit(fw::TObject* Sender);
    void DateEditInvalidDate(fw::TObject* Sender);
    void DateEditOpenCalendar(fw::TObject* Sender);
    void DateEditCloseCalendar(fw::TObject* Sender);
    void btnPickDateClick(fw::TObject* Sender);
    void calPickerOpenCalendar(fw::TObject* Sender);
    void calPickerCloseCalendar(fw::TObject* Sender);
    // Switches the month and day names to the next language (English, German,
    // French, Russian, then English again).
    void btnLanguageClick(fw::TObject* Sender);
    // Shows the Records form (through OnShowRecords, which the program sets).
    void btnRecordsClick(fw::TObject* Sender);
    void btnDeliveryClick(fw::TObject* Sender);
    void calDeliveryCloseCalendar(fw::TObject* Sender);
    // Public holidays in bold red, with their names as hints.
    void DeliveryDayStyle(fw::TObject* Sender, fw::TDateTime Date, qz::TDayStyle& Style);
    // Nothing is delivered on Saturdays and Sundays.
    void DeliveryDayDisabled(fw::TObject* Sender, fw::TDateTime Date, bool& Disabled);
    // The lamp's blinking: off, slow, fast, then off again.
    void btnBlinkClick(fw::TObject* Sender);

    // The public holiday on Date ("" for none): New Year's Day, Good Friday,
    // Easter Monday, Labour Day, Christmas Day and Boxing Day.
    static fw::String HolidayName(fw::TDateTime Date);

    // Makes or shows the Records form (the program sets it).
    std::function<void()> OnShowRecords;

    // The languages of the switch, and the one shown.
    static constexpr int LanguageCount = 4;
    static const char* LanguageName(int Index);
    int Language() const { return FLanguage; }
    // Whether the shown language's locale was found (English always is).
    bool LanguageInstalled() const { return FLanguageInstalled; }
    // Shows the names of language Index; false (English names shown) when its
    // locale is not installed.
    bool SetLanguage(int Index);

    // Every event the handlers saw, in order.
    const TEventLog& Events() const { return FEvents; }

    // Brings the lamps, the date captions and the event panel up to date now.
    void RefreshStatus();

    void Dispatch(fw::TMessage& Message) override;

protected:
    // Adds WS_CLIPCHILDREN: the form's own painting (labels, lamps) leaves its
    // windowed controls alone.
    void CreateParams(fw::TCreateParams& Params) override;

private:
    // What a date edit's lamp shows when no calendar of it is open.
    enum class TCheck { None, Accepted, Rejected };

    struct TEditRow {
        qz::TQzDateEdit* Edit;
        fw::TLabel* DateLabel;
        qz::TQzLED* Lamp;
        TCheck Check = TCheck::None;
        bool CalendarOpen = false;
    };

    TEditRow* RowOf(fw::TObject* Sender);
    void Log(fw::TObject* Sender, const fw::String& Event, const fw::String& Detail);
    // Posts one status refresh (several events in a row give one refresh).
    void PostRefresh();

    std::array<TEditRow, 4> FRows{};
    bool FPickerOpen = false;
    bool FPicked = false;
    bool FRefreshPosted = false;
    int FLanguage = 0;
    bool FLanguageInstalled = true;
    TEventLog FEvents;
};

} // namespace qzdemo
