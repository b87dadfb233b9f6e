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
    bool Result = false;
    {
        // Freed on every path (unless its owner freed it first); an exception
        // goes on to the caller.
        fw::TComponentRef<TfrmQzCal> Popup(new TfrmQzCal(this));
        struct TFreePopup {
            fw::TComponentRef<TfrmQzCal>& Popup;
            ~TFreePopup() { delete Popup.Get(); }
        } FreePopup{Popup};
        // A day event may free the component while the popup asks about its first month.
        if (!Self) return false;
        const fw::TModalResult ModalResult = Popup->ShowModal();
        if (!Self) return false;
        if (Popup && ModalResult == fw::mrOk) {
            Result = true;
            SetDate(Popup->Date());
        }
    }
    if (OnCloseCalendar) OnCloseCalendar(this);
    return Result;
}

} // namespace qz
