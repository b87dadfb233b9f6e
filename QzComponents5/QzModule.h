#pragma once
// The package's own resource module: bitmaps, string table, form resources and version record,
// embedded into the library at build time from the files under resources/.

#include <framework/resources/Resources.h>

namespace qz {

// The package module's instance handle. The module is made from the embedded files and
// registered with the framework on the first call.
fw::HINSTANCE HInstance();

// An entry of the package's string table (empty when missing).
fw::String LoadStr(int id);

} // namespace qz
