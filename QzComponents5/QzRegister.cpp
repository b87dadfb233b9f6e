#include <QzComponents5/QzRegister.h>
#include <Qzde/QzDateControls.h>
#include <Qzled/Qzled.h>
#include <framework/classes/ClassRegistry.h>
#include <framework/db/DbRegistration.h>
#include <framework/forms/Registration.h>

namespace qz {

void RegisterPackageClasses() {
    // Package forms hold framework components (the popup's timer) too.
    fw::RegisterControlClasses();
    fw::RegisterDataClasses();
    fw::RegisterClasses({TQzDateEdit::StaticClass(), TQzCalendarButton::StaticClass(),
                         TQzDBDateEdit::StaticClass(), TQzDBDateText::StaticClass(),
                         TQzCalendar::StaticClass(), TfrmQzCal::StaticClass(), TQzLED::StaticClass()});
}

} // namespace qz
