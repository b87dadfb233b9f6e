#include <framework/classes/ClassRegistry.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Form.h>
#include <framework/forms/Registration.h>
#include <framework/graphics/GraphicsObject.h>

namespace fw {

void RegisterControlClasses() {
    // Colour and charset names must read even in a file that holds no control.
    RegisterGraphicsIdents();
    RegisterClasses({TEdit::StaticClass(), TLabel::StaticClass(), TButton::StaticClass(),
                     TBitBtn::StaticClass(), TTimer::StaticClass(), TForm::StaticClass(),
                     TMessageForm::StaticClass()});
}

} // namespace fw
