#pragma once
// The package's own resource module: bitmaps, string table, form resources and version record,
// embedded into the library at build time from the files under resources/.

#include <framework/graphics/Surface.h>
#include <framework/resources/Resources.h>

namespace qz {

// The package module's instance handle. The module is made from the embedded files and
// registered with the framework on the first call.
fw::HINSTANCE HInstance();

// An entry of the package's string table (empty when missing).
fw::String LoadStr(int id);

// The package's picture for program windows: the calendar glyph (bitmap 203,
// its first frame) at twice its size on a 32 x 32 square of button face.
fw::TSurface PackageIcon();

} // namespace qz
