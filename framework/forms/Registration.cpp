#include <cctype>
#include <framework/classes/ClassRegistry.h>
#include <framework/classes/FormFile.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/Form.h>
#include <framework/forms/Registration.h>
#include <framework/graphics/GraphicsObject.h>
#include <framework/resources/Resources.h>

namespace fw {

void RegisterControlClasses() {
    // Colour and charset names must read even in a file that holds no control.
    RegisterGraphicsIdents();
    // Ancestor forms and frames are found among the modules' form resources,
    // by class name in capitals, as a form finds its own.
    SetFormResourceLookup([](const TClassInfo* cls) {
        String name = cls->Name;
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return FindFormResource(name);
    });
    // A lenient read of another application's form makes a plain form of it.
    SetLenientRootClass(TForm::StaticClass());
    RegisterClasses({TEdit::StaticClass(), TLabel::StaticClass(), TButton::StaticClass(),
                     TBitBtn::StaticClass(), TTimer::StaticClass(), TForm::StaticClass(),
                     TMessageForm::StaticClass()});
}

} // namespace fw
