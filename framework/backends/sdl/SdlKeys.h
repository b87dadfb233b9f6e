#pragma once
// The desktop's keys as the framework's virtual-key codes (inside the window
// backend only: this header includes SDL).

#include <SDL.h>
#include <framework/rtl/Types.h>

namespace fw {

// The virtual-key code of a key by its layout's symbol, or 0 for a key the
// framework does not know. Left and right modifier keys share one code, and
// the keypad's digits and operators are the main keys' codes, so they type
// the same characters.
Word VirtualKeyFor(SDL_Keycode key);
Word VirtualKeyForScancode(SDL_Scancode code);

} // namespace fw
