#pragma once
// The component palette: pages of component classes, in registration order.

#include <framework/classes/Published.h>
#include <framework/platform/Gdi.h>
#include <initializer_list>
#include <vector>

namespace fw {

struct TPalettePage {
    String Name;
    std::vector<const TClassInfo*> Classes;
};

// Puts the classes on the named page (made when new), after the ones already there, and
// registers them for form files. A class already on the page keeps its place.
void RegisterComponents(const String& Page, std::initializer_list<const TClassInfo*> Classes);

// Every page, in the order the pages were first named.
const std::vector<TPalettePage>& PalettePages();
// The page of that name (ignoring case), or nullptr.
const TPalettePage* FindPalettePage(const String& Page);
// Forgets every page (tests).
void ClearPalette();

// The palette image of a class: the bitmap named after the class in capitals, searched in every
// registered resource module. 0 when no module has one.
HBITMAP LoadPaletteBitmap(const TClassInfo* cls);

} // namespace fw
