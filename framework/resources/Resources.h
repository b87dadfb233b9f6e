#pragma once
// Looking up resources: the registered modules, bitmaps, strings and form resources.

#include <cstdint>
#include <framework/platform/Gdi.h>
#include <framework/resources/ResourceModule.h>
#include <vector>

namespace fw {

// Modules are searched newest first (a language module registered after the package wins).
void RegisterResourceModule(TResourceModule* module);
void UnregisterResourceModule(TResourceModule* module);
const std::vector<TResourceModule*>& ResourceModules();

// The framework's own module (registered on first use).
HINSTANCE FrameworkInstance();

// A bitmap resource of the module, by number or by name (case-insensitive), decoded into a new
// bitmap that the caller owns (a TBitmap takes it over). A missing resource or an unreadable one
// gives 0.
HBITMAP LoadBitmapA(HINSTANCE instance, int id);
HBITMAP LoadBitmapA(HINSTANCE instance, const char* name);
// How many times LoadBitmapA has been called in this process, found or not. Tests read it to
// check that a setter given its current value loads nothing.
std::uint64_t LoadBitmapCallCount();

// An entry of the module's string table; a missing entry gives an empty text.
String LoadStr(HINSTANCE instance, int id);

// The text of a form resource, searched in every registered module; nullptr when none has it.
const String* FindFormResource(const String& name);

} // namespace fw
