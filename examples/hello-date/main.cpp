// hello-date: a date edit, a calendar and a lamp on a form. The lamp is green
// while the typed text is a date, red otherwise; the button drops the calendar.
// It opens a window on a desktop and runs on the headless screen elsewhere
// (--headless forces that), where it shows the form and ends at once.

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzDateControls.h>
#include <Qzled/Qzled.h>
#include <framework/controls/Buttons.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/rtl/Clock.h>
#include <iostream>

int main(int argc, char** argv) {
    fw::Application->Initialize(argc, argv);
    qz::RegisterPackageClasses();

    fw::TForm Form(nullptr);
    Form.SetCaption("Hello, date");
    Form.SetClientWidth(248);
    Form.SetClientHeight(80);

    auto* Edit = new qz::TQzDateEdit(&Form);
    Edit->SetParent(&Form);
    Edit->SetBounds(16, 16, 121, 21);
    Edit->SetDateFormat("dd/mm/yyyy");
    Edit->SetGlyphType(qz::gtDropArrow);
    auto* Lamp = new qz::TQzLED(&Form);
    Lamp->SetParent(&Form);
    Lamp->SetBounds(146, 21, 11, 11);
    auto* Calendar = new qz::TQzCalendar(&Form);
    auto* Pick = new fw::TButton(&Form);
    Pick->SetParent(&Form);
    Pick->SetBounds(16, 46, 121, 25);
    Pick->SetCaption("Pick a date...");

    Edit->OnChange = [&](fw::TObject*) {
        fw::String Text = Edit->Text();
        Lamp->SetLEDColor(Edit->IsValidDate(Text) ? qz::lcGreen : qz::lcRed);
    };
    Pick->OnClick = [&](fw::TObject*) {
        Calendar->SetDate(Edit->Date());
        if (Calendar->OpenCalendar()) Edit->SetDate(Calendar->Date());
    };
    Edit->SetDate(fw::Date());

    fw::Application->SetMainForm(&Form);
    Form.Show();
    fw::Application->Run();
    fw::Application->SetMainForm(nullptr);
    std::cout << "hello-date: " << Edit->Text() << "\n";
    return 0;
}
