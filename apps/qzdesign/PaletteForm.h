#pragma once
// The designer's main window: the component palette (a tab per page, a button per class showing
// the class's palette image, the arrow button to select instead of dropping), the form file's
// name with Open and Save, and a status line.

#include "FormDesigner.h"

#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/designer/Palette.h>

namespace qzdesign {

class TPaletteForm : public fw::TForm {
public:
    explicit TPaletteForm(TFormDesigner* Designer);

    // Shows the buttons of the page (the first page when the name is empty).
    void ShowPage(const fw::String& Page);
    const fw::String& PageName() const { return FPage; }
    // The button of a class on the shown page, in palette order; the arrow button is not counted.
    const std::vector<fw::TBitBtn*>& ClassButtons() const { return FButtons; }
    fw::TBitBtn* ArrowButton() const { return FArrow; }
    fw::TEdit* FileEdit() const { return FFile; }
    fw::TButton* OpenButton() const { return FOpen; }
    fw::TButton* SaveButton() const { return FSave; }
    void SetStatus(const fw::String& Text);
    fw::String Status() const { return FStatus->Caption(); }

protected:
    void Paint() override;

private:
    void OpenClick(fw::TObject* Sender);
    void SaveClick(fw::TObject* Sender);
    // Closing with unsaved changes asks whether to save them first (Cancel keeps the designer).
    void PaletteCloseQuery(fw::TObject* Sender, bool& CanClose);

    TFormDesigner* FDesigner;
    fw::String FPage;
    fw::TBitBtn* FArrow;
    std::vector<fw::TBitBtn*> FButtons;
    fw::TEdit* FFile;
    fw::TButton* FOpen;
    fw::TButton* FSave;
    fw::TLabel* FStatus;
};

} // namespace qzdesign
