#pragma once
// The designer's scripted tour: through the real input path (clicks, typing, the drop-down and
// the context menu inside their modal loops) it drops each palette component on the form, sets
// DateFormat for two selected date edits, runs the component editor's verb and double-click,
// saves, reopens and compares, and tries a broken form file. After each step it saves the screen
// as NN-name.png and appends to transcript.txt what it did and what it saw. It also saves three
// close-ups: palette.png, inspector-dateformat.png and about.png.

#include "FormDesigner.h"
#include "Inspector.h"
#include "PaletteForm.h"

#include <filesystem>
#include <iosfwd>

namespace qzdesign {

class ETourFailed : public fw::ELoopError {
public:
    using ELoopError::ELoopError;
};

struct TDesignerWindows {
    TFormDesigner* Designer;
    TPaletteForm* Palette;
    TInspectorForm* Inspector;
};

void RunTour(const TDesignerWindows& Windows, const fw::String& ModulePath, const std::filesystem::path& Dir,
             std::ostream& Progress);

} // namespace qzdesign
