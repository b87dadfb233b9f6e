// The calendar component: its published settings and the opening of the popup.

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>

namespace qz {

FW_PUBLISH(TQzCalendar) {
    cls.Str("CalendarCaption", &TQzCalendar::CalendarCaption, &TQzCalendar::SetCalendarCaption);
    cls.Bool("CalendarFillPage", &TQzCalendar::CalendarFillPage, &TQzCalendar::SetCalendarFillPage, true);
    cls.Enum("CalendarStyle", &TQzCalendar::CalendarStyle, &TQzCalendar::SetCalendarStyle,
             CalendarStyleIdents(), csStandard);
    cls.Color("CalendarWeekendColor", &TQzCalendar::CalendarWeekendColor,
              &TQzCalendar::SetCalendarWeekendColor, fw::clBtnText);
    cls.Enum("CalendarWeekStart", &TQzCalendar::CalendarWeekStart, &TQzCalendar::SetCalendarWeekStart,
             WeekStartIdents(), wsSunday);
    cls.Int("CalendarLeft", &TQzCalendar::CalendarLeft, &TQzCalendar::SetCalendarLeft).NoDefault();
    cls.Int("CalendarTop", &TQzCalendar::CalendarTop, &TQzCalendar::SetCalendarTop).NoDefault();
    cls.SetOf("CalendarOptions", &TQzCalendar::CalendarOptions, &TQzCalendar::SetCalendarOptions,
              CalendarOptionIdents(), TCalendarOptions{});
    cls.Float("MaxDate", &TQzCalendar::MaxDate, &TQzCalendar::SetMaxDate, 0.0);
    cls.Float("MinDate", &TQzCalendar::MinDate, &TQzCalendar::SetMinDate, 0.0);
    cls.Event("OnCloseCalendar", &TQzCalendar::OnCloseCalendar);
    cls.Event("OnOpenCalendar", &TQzCalendar::OnOpenCalendar);
    cls.Event("OnDayDisabled", &TQzCalendar::OnDayDisabled);
    cls.Event("OnDayStyle", &TQzCalendar::OnDayStyle);
    cls.DesignPosition();
}

TQzCalendar::TQzCalendar(fw::TComponent* AOwner) : inherited(AOwner) {}

bool TQzCalendar::OpenCalendar() {
    // A handler, or a timer while the popup is open, may free the component;
    // its popup goes with it and nothing here touches either afterwards.
    fw::TComponentRef<TQzCalendar> Self(this);
    if (OnOpenCalendar) OnOpenCalendar(this);
    if (!Self) return false;
    const bool Result = TfrmQzCal::Run(this, [this](fw::TDateTime Picked) { SetDate(Picked); });
    if (!Self) return false;
    if (OnCloseCalendar) OnCloseCalendar(this);
    return Result;
}

} // namespace qz
