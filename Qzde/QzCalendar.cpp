// The calendar component: its published settings and the opening of the popup.

#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <framework/classes/Published.h>
#include <memory>

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
    cls.Event("OnCloseCalendar", &TQzCalendar::OnCloseCalendar);
    cls.Event("OnOpenCalendar", &TQzCalendar::OnOpenCalendar);
    cls.DesignPosition();
}

TQzCalendar::TQzCalendar(fw::TComponent* AOwner) : inherited(AOwner) {
    FCalendarStyle = csStandard;
    FCalendarWeekendColor = fw::clBtnText;
    FCalendarWeekStart = wsSunday;
    FCalendarFillPage = true;
    FCalendarLeft = 0;
    FCalendarTop = 0;
}

bool TQzCalendar::OpenCalendar() {
    bool Result = false;
    if (OnOpenCalendar) OnOpenCalendar(this);
    {
        // Freed on every path; an exception goes on to the caller.
        auto Popup = std::make_unique<TfrmQzCal>(this);
        if (Popup->ShowModal() == fw::mrOk) {
            Result = true;
            SetDate(Popup->Date());
        }
    }
    if (OnCloseCalendar) OnCloseCalendar(this);
    return Result;
}

} // namespace qz
