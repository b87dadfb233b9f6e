#include <framework/classes/ClassRegistry.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Form.h>
#include <framework/forms/Registration.h>

namespace fw {

void RegisterControlClasses() {
    RegisterClasses({TEdit::StaticClass(), TLabel::StaticClass(), TButton::StaticClass(),
                     TBitBtn::StaticClass(), TTimer::StaticClass(), TForm::StaticClass(),
                     TMessageForm::StaticClass()});
}

} // namespace fw
