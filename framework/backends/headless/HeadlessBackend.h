#pragma once
// The headless backend: the desktop lives in memory, the clock is virtual
// (an idle loop jumps to the next due timer), and screenshots of the whole
// desktop or of one form are PNG files.

#include <framework/forms/Backend.h>
#include <framework/graphics/Surface.h>

namespace fw {

class TForm;

class THeadlessBackend : public TBackend {
public:
    bool Idle(bool hasTimer, Cardinal due) override;
};

// The desktop as it shows: the background, then every shown form bottom to
// top at its place, frame included. Paints what waits first.
TSurface ComposeScreen();
// One form's pixels, frame included (the form is painted first if it waits).
TSurface CaptureForm(TForm* form);
void SaveScreenshot(const String& path);
void SaveFormScreenshot(TForm* form, const String& path);

// The colour of the empty desktop.
constexpr TColor DesktopColor = 0x808000;

} // namespace fw
