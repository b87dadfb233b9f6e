#include <Qzde/QzDateControls.h>
#include <Qzde/QzRegister.h>
#include <Qzled/Qzled.h>
#include <framework/classes/ClassRegistry.h>

namespace qz {

void RegisterPackageClasses() {
    fw::RegisterClasses({TQzDateEdit::StaticClass(), TQzCalendarButton::StaticClass(),
                         TQzCalendar::StaticClass(), TfrmQzCal::StaticClass(), TQzLED::StaticClass()});
}

} // namespace qz
