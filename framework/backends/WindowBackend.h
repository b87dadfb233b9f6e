#pragma once
// The window backend, where the framework was built with one (SDL2).

#include <framework/forms/Backend.h>

namespace fw {

// Opens the display and returns the window backend; nullptr with the reason
// when there is no display or no window backend was built.
std::unique_ptr<TBackend> CreateWindowBackend(int scale, String& reason);

} // namespace fw
