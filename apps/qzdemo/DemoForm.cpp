#include "DemoForm.h"

#include <framework/classes/Published.h>
#include <framework/controls/MessageQueue.h>
#include <framework/platform/Windows.h>
#include <cmath>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/LocaleSettings.h>

namespace qzdemo {

namespace {

// Posted to the form by the event handlers: refresh the status once the event's
// work is done.
constexpr fw::UINT WM_REFRESHSTATUS = fw::WM_USER + 1;

// How many event lines the panel shows.
constexpr std::size_t EventPanelLines = 16;

fw::String NameOf(fw::TObject* Sender) {
    auto* Component = dynamic_cast<fw::TComponent*>(Sender);
    return Component != nullptr ? Component->Name() : fw::String("?");
}

fw::String LongDate(fw::TDateTime Value) {
    return fw::FormatDateTime("dddd, d mmmm yyyy", Value);
}

fw::String ShortDate(fw::TDateTime Value) {
    return fw::FormatDateTime("ddd d mmm yyyy", Value);
}

// Whether a date edit's text holds a date its layout accepts (empty does not).
bool TextIsDate(const qz::TQzDateEdit* Edit) {
    fw::String Text = Edit->Text();
    return Edit->IsValidDate(Text);
}

// The date edit a date-edit handler was called for; a form file that binds one
// of them to another kind of component is an error of that file.
qz::TQzDateEdit* DateEditOf(fw::TObject* Sender, const char* Handler) {
    auto* Edit = dynamic_cast<qz::TQzDateEdit*>(Sender);
    if (Edit == nullptr)
        throw fw::Exception(fw::String(Handler) + " is bound to " + NameOf(Sender) +
                            ", which is not a date edit");
    return Edit;
}

// The languages of the switch: the name shown and the C-library locale (empty:
// the built-in English names).
constexpr struct {
    const char* Name;
    const char* Locale;
} Languages[] = {
    {"English", ""}, {"German", "de_DE.UTF-8"}, {"French", "fr_FR.UTF-8"}, {"Russian", "ru_RU.UTF-8"}};

// Easter Sunday of a Gregorian year (the anonymous algorithm).
fw::TDateTime EasterSunday(int Year) {
    const int A = Year % 19, B = Year / 100, C = Year % 100;
    const int D = B / 4, E = B % 4, F = (B + 8) / 25, G = (B - F + 1) / 3;
    const int H = (19 * A + B - D - G + 15) % 30;
    const int I = C / 4, K = C % 4;
    const int L = (32 + 2 * E + 2 * I - H - K) % 7;
    const int M = (A + 11 * H + 22 * L) / 451;
    const int Month = (H + L - 7 * M + 114) / 31;
    const int Day = (H + L - 7 * M + 114) % 31 + 1;
    return fw::EncodeDate(static_cast<fw::Word>(Year), static_cast<fw::Word>(Month), static_cast<fw::Word>(Day));
}

const char* BlinkNames[] = {"off", "slow", "fast"};

void SetLamp(qz::TQzLED* Lamp, qz::TLEDColor Color, qz::TLEDState State) {
    if (Lamp == nullptr) return;
    Lamp->SetLEDColor(Color);
    Lamp->SetLEDState(State);
}

} // namespace

FW_PUBLISH(TfrmQzDemo) {
    cls.Field("edtDayFirst", &TfrmQzDemo::edtDayFirst);
    cls.Field("edtMonthFirst", &TfrmQzDemo::edtMonthFirst);
    cls.Field("edtYearFirst", &TfrmQzDemo::edtYearFirst);
    cls.Field("lblDayFirst", &TfrmQzDemo::lblDayFirst);
    cls.Field("lblMonthFirst", &TfrmQzDemo::lblMonthFirst);
    cls.Field("lblYearFirst", &TfrmQzDemo::lblYearFirst);
    cls.Field("lblDayFirstDate", &TfrmQzDemo::lblDayFirstDate);
    cls.Field("lblMonthFirstDate", &TfrmQzDemo::lblMonthFirstDate);
    cls.Field("lblYearFirstDate", &TfrmQzDemo::lblYearFirstDate);
    cls.Field("ledDayFirst", &TfrmQzDemo::ledDayFirst);
    cls.Field("ledMonthFirst", &TfrmQzDemo::ledMonthFirst);
    cls.Field("ledYearFirst", &TfrmQzDemo::ledYearFirst);
    cls.Field("btnPickDate", &TfrmQzDemo::btnPickDate);
    cls.Field("lblPicked", &TfrmQzDemo::lblPicked);
    cls.Field("ledPicker", &TfrmQzDemo::ledPicker);
    cls.Field("calPicker", &TfrmQzDemo::calPicker);
    cls.Field("lblEvents", &TfrmQzDemo::lblEvents);
    cls.Method("DateEditChange", &TfrmQzDemo::DateEditChange);
    cls.Method("DateEditExit", &TfrmQzDemo::DateEditExit);
    cls.Method("DateEditInvalidDate", &TfrmQzDemo::DateEditInvalidDate);
    cls.Method("DateEditOpenCalendar", &TfrmQzDemo::DateEditOpenCalendar);
    cls.Method("DateEditCloseCalendar", &TfrmQzDemo::DateEditCloseCalendar);
    cls.Method("btnPickDateClick", &TfrmQzDemo::btnPickDateClick);
    cls.Method("calPickerOpenCalendar", &TfrmQzDemo::calPickerOpenCalendar);
    cls.Method("calPickerCloseCalendar", &TfrmQzDemo::calPickerCloseCalendar);
    cls.Field("btnLanguage", &TfrmQzDemo::btnLanguage);
    cls.Method("btnLanguageClick", &TfrmQzDemo::btnLanguageClick);
    cls.Field("btnRecords", &TfrmQzDemo::btnRecords);
    cls.Method("btnRecordsClick", &TfrmQzDemo::btnRecordsClick);
    cls.Field("btnDelivery", &TfrmQzDemo::btnDelivery);
    cls.Field("lblDelivery", &TfrmQzDemo::lblDelivery);
    cls.Field("calDelivery", &TfrmQzDemo::calDelivery);
    cls.Field("edtWindow", &TfrmQzDemo::edtWindow);
    cls.Field("lblWindowDate", &TfrmQzDemo::lblWindowDate);
    cls.Field("btnBlink", &TfrmQzDemo::btnBlink);
    cls.Field("ledBlink", &TfrmQzDemo::ledBlink);
    cls.Method("btnDeliveryClick", &TfrmQzDemo::btnDeliveryClick);
    cls.Method("calDeliveryCloseCalendar", &TfrmQzDemo::calDeliveryCloseCalendar);
    cls.Method("DeliveryDayStyle", &TfrmQzDemo::DeliveryDayStyle);
    cls.Method("DeliveryDayDisabled", &TfrmQzDemo::DeliveryDayDisabled);
    cls.Method("btnBlinkClick", &TfrmQzDemo::btnBlinkClick);
}

TfrmQzDemo::TfrmQzDemo(fw::TComponent* AOwner) : inherited(AOwner) {
    LoadFormResource();
    FRows = {TEditRow{edtDayFirst, lblDayFirstDate, ledDayFirst},
             TEditRow{edtMonthFirst, lblMonthFirstDate, ledMonthFirst},
             TEditRow{edtYearFirst, lblYearFirstDate, ledYearFirst},
             TEditRow{edtWindow, lblWindowDate, nullptr}};
    for (const TEditRow& Row : FRows)
        if (Row.Edit == nullptr || Row.DateLabel == nullptr)
            throw fw::EResourceError("The demo's form file lacks a date edit or its date label");
    if (btnPickDate == nullptr || lblPicked == nullptr || calPicker == nullptr || lblEvents == nullptr)
        throw fw::EResourceError(
            "The demo's form file lacks the calendar button, its label or the event panel");
    if (calDelivery == nullptr || lblDelivery == nullptr || ledBlink == nullptr || btnBlink == nullptr)
        throw fw::EResourceError("The demo's form file lacks the delivery calendar, its label or the blinking lamp");
    RefreshStatus();
}

void TfrmQzDemo::btnRecordsClick(fw::TObject* Sender) {
    Log(Sender, "OnClick", "the Records form");
    if (OnShowRecords) OnShowRecords();
}

TfrmQzDemo::~TfrmQzDemo() {
    PrepareDestroy();
}

void TfrmQzDemo::CreateParams(fw::TCreateParams& Params) {
    inherited::CreateParams(Params);
    Params.Style |= fw::WS_CLIPCHILDREN;
}

TfrmQzDemo::TEditRow* TfrmQzDemo::RowOf(fw::TObject* Sender) {
    for (TEditRow& Row : FRows)
        if (Row.Edit == Sender) return &Row;
    return nullptr;
}

void TfrmQzDemo::Log(fw::TObject* Sender, const fw::String& Event, const fw::String& Detail) {
    FEvents.Add(Sender, Event, Detail);
    PostRefresh();
}

void TfrmQzDemo::PostRefresh() {
    if (FRefreshPosted) return;
    FRefreshPosted = true;
    fw::PostMessage(this, WM_REFRESHSTATUS);
}

void TfrmQzDemo::Dispatch(fw::TMessage& Message) {
    if (Message.Msg == WM_REFRESHSTATUS) {
        FRefreshPosted = false;
        RefreshStatus();
        return;
    }
    inherited::Dispatch(Message);
}

// ---------------------------------------------------------------- handlers

void TfrmQzDemo::DateEditChange(fw::TObject* Sender) {
    qz::TQzDateEdit* Edit = DateEditOf(Sender, "DateEditChange");
    Log(Sender, "OnChange", TextDetail(Edit->Text()));
}

void TfrmQzDemo::DateEditExit(fw::TObject* Sender) {
    qz::TQzDateEdit* Edit = DateEditOf(Sender, "DateEditExit");
    // OnExit comes before the edit's own check; an invalid text is reported by
    // OnInvalidDate right after, which turns the lamp red.
    if (TEditRow* Row = RowOf(Sender)) Row->Check = Edit->Text().empty() ? TCheck::None : TCheck::Accepted;
    Log(Sender, "OnExit", TextDetail(Edit->Text()));
}

void TfrmQzDemo::DateEditInvalidDate(fw::TObject* Sender) {
    qz::TQzDateEdit* Edit = DateEditOf(Sender, "DateEditInvalidDate");
    if (TEditRow* Row = RowOf(Sender)) Row->Check = TCheck::Rejected;
    Log(Sender, "OnInvalidDate", TextDetail(Edit->Text()));
}

void TfrmQzDemo::DateEditOpenCalendar(fw::TObject* Sender) {
    qz::TQzDateEdit* Edit = DateEditOf(Sender, "DateEditOpenCalendar");
    if (TEditRow* Row = RowOf(Sender)) Row->CalendarOpen = true;
    Log(Sender, "OnOpenCalendar", TextDetail(Edit->Text()));
    // The popup opens modally right after this handler: show the lamp now.
    RefreshStatus();
}

void TfrmQzDemo::DateEditCloseCalendar(fw::TObject* Sender) {
    qz::TQzDateEdit* Edit = DateEditOf(Sender, "DateEditCloseCalendar");
    if (TEditRow* Row = RowOf(Sender)) {
        Row->CalendarOpen = false;
        Row->Check = TextIsDate(Edit) ? TCheck::Accepted : TCheck::None;
    }
    Log(Sender, "OnCloseCalendar", TextDetail(Edit->Text()));
}

void TfrmQzDemo::btnPickDateClick(fw::TObject* Sender) {
    Log(Sender, "OnClick", "");
    calPicker->OpenCalendar();
}

void TfrmQzDemo::calPickerOpenCalendar(fw::TObject* Sender) {
    FPickerOpen = true;
    Log(Sender, "OnOpenCalendar",
        calPicker->Date() == 0 ? "no date yet" : "date " + ShortDate(calPicker->Date()));
    RefreshStatus();
}

void TfrmQzDemo::calPickerCloseCalendar(fw::TObject* Sender) {
    FPickerOpen = false;
    FPicked = calPicker->Date() != 0;
    Log(Sender, "OnCloseCalendar", FPicked ? "date " + ShortDate(calPicker->Date()) : "no date");
}

void TfrmQzDemo::btnLanguageClick(fw::TObject* Sender) {
    const int Next = (FLanguage + 1) % LanguageCount;
    const bool Shown = SetLanguage(Next);
    Log(Sender, "OnClick",
        fw::String("language ") + LanguageName(Next) +
            (Shown ? "" : " (locale not installed: English names)"));
}

void TfrmQzDemo::btnDeliveryClick(fw::TObject* Sender) {
    Log(Sender, "OnClick", "");
    calDelivery->OpenCalendar();
}

void TfrmQzDemo::calDeliveryCloseCalendar(fw::TObject* Sender) {
    Log(Sender, "OnCloseCalendar", calDelivery->Date() != 0 ? "date " + ShortDate(calDelivery->Date()) : "no date");
}

void TfrmQzDemo::DeliveryDayStyle(fw::TObject*, fw::TDateTime Date, qz::TDayStyle& Style) {
    const fw::String Name = HolidayName(Date);
    if (Name.empty()) return;
    Style.Bold = true;
    Style.Color = fw::clRed;
    Style.Hint = Name;
}

void TfrmQzDemo::DeliveryDayDisabled(fw::TObject*, fw::TDateTime Date, bool& Disabled) {
    const int Day = fw::DayOfWeek(Date);
    Disabled = Day == 1 || Day == 7;
}

fw::String TfrmQzDemo::HolidayName(fw::TDateTime Date) {
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(Date, Year, Month, Day);
    if (Year == 0) return {};
    const struct {
        fw::Word Month, Day;
        const char* Name;
    } Fixed[] = {{1, 1, "New Year's Day"}, {5, 1, "Labour Day"}, {12, 25, "Christmas Day"}, {12, 26, "Boxing Day"}};
    for (const auto& H : Fixed)
        if (H.Month == Month && H.Day == Day) return H.Name;
    const fw::TDateTime Easter = EasterSunday(Year);
    const fw::TDateTime Whole = std::floor(Date);
    if (Whole == Easter - 2) return "Good Friday";
    if (Whole == Easter + 1) return "Easter Monday";
    return {};
}

void TfrmQzDemo::btnBlinkClick(fw::TObject* Sender) {
    const auto Next = static_cast<qz::TLEDBlink>((ledBlink->Blink() + 1) % 3);
    ledBlink->SetBlink(Next);
    btnBlink->SetCaption(fw::String("Blink: ") + BlinkNames[Next]);
    Log(Sender, "OnClick", fw::String("blinking ") + BlinkNames[Next]);
}

const char* TfrmQzDemo::LanguageName(int Index) {
    return Index >= 0 && Index < LanguageCount ? Languages[Index].Name : "";
}

bool TfrmQzDemo::SetLanguage(int Index) {
    if (Index < 0 || Index >= LanguageCount) return false;
    FLanguage = Index;
    // Only the names follow the language: the edits keep their own layouts and
    // the calendars their week starts.
    fw::TFormatSettings Names;
    const bool Found =
        !*Languages[Index].Locale || fw::GetLocaleFormatSettings(Languages[Index].Locale, Names);
    fw::FormatSettings.LongMonthNames = Names.LongMonthNames;
    fw::FormatSettings.ShortMonthNames = Names.ShortMonthNames;
    fw::FormatSettings.LongDayNames = Names.LongDayNames;
    fw::FormatSettings.ShortDayNames = Names.ShortDayNames;
    FLanguageInstalled = Found;
    if (btnLanguage) btnLanguage->SetCaption(fw::String("Language: ") + LanguageName(Index));
    RefreshStatus();
    return Found;
}

// ---------------------------------------------------------------- status

void TfrmQzDemo::RefreshStatus() {
    for (TEditRow& Row : FRows) {
        const fw::TDateTime Value = Row.Edit->Date();
        Row.DateLabel->SetCaption(Value > 0 ? LongDate(Value) : fw::String("no date yet"));
        if (Row.CalendarOpen)
            SetLamp(Row.Lamp, qz::lcAmber, qz::lsBright);
        else if (Row.Check == TCheck::Accepted)
            SetLamp(Row.Lamp, qz::lcGreen, qz::lsBright);
        else if (Row.Check == TCheck::Rejected)
            SetLamp(Row.Lamp, qz::lcRed, qz::lsBright);
        else
            SetLamp(Row.Lamp, qz::lcGreen, qz::lsOff);
    }
    lblPicked->SetCaption(FPicked ? "Picked: " + LongDate(calPicker->Date())
                                  : fw::String("No date picked yet"));
    lblDelivery->SetCaption(calDelivery->Date() != 0 ? "Delivery on " + LongDate(calDelivery->Date())
                                                     : fw::String("No delivery day yet"));
    if (FPickerOpen)
        SetLamp(ledPicker, qz::lcAmber, qz::lsBright);
    else
        SetLamp(ledPicker, qz::lcGreen, FPicked ? qz::lsBright : qz::lsOff);

    fw::String Panel;
    for (const fw::String& Line : FEvents.LastLines(EventPanelLines)) {
        if (!Panel.empty()) Panel += "\r\n";
        Panel += Line;
    }
    lblEvents->SetCaption(Panel.empty() ? fw::String("(no events yet)") : Panel);
}

} // namespace qzdemo
