#pragma once
// Virtual-key codes with their classic values, and the keyboard layout the
// framework uses to turn a key press into a character and back (a US layout:
// the automation types text through it, the message loop translates with it).

#include <framework/platform/Messages.h>

namespace fw {

constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_CANCEL = 0x03;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_CLEAR = 0x0C;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F5 = 0x74;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_OEM_1 = 0xBA;      // ;:
constexpr Word VK_OEM_PLUS = 0xBB;   // =+
constexpr Word VK_OEM_COMMA = 0xBC;  // ,<
constexpr Word VK_OEM_MINUS = 0xBD;  // -_
constexpr Word VK_OEM_PERIOD = 0xBE; // .>
constexpr Word VK_OEM_2 = 0xBF;      // /?
constexpr Word VK_OEM_3 = 0xC0;      // `~
constexpr Word VK_OEM_4 = 0xDB;      // [{
constexpr Word VK_OEM_5 = 0xDC;      // \|
constexpr Word VK_OEM_6 = 0xDD;      // ]}
constexpr Word VK_OEM_7 = 0xDE;      // '"

// The control characters a key press gives (see CharForKey): Ctrl with a
// letter gives 1..26, and the editing keys their classic codes. Edits and
// entry filters compare WM_CHAR characters against these.
constexpr char CtrlA = 1;
constexpr char CtrlC = 3;
constexpr char CtrlV = 22;
constexpr char CtrlX = 24;
constexpr char CtrlZ = 26;
constexpr char CharBackspace = 8;
constexpr char CharTab = 9;
constexpr char CharEnter = 13;
constexpr char CharEscape = 27;

// The key and Shift state that type a character, for the characters a US
// keyboard has (printable ASCII, Enter, Tab, Backspace, Escape).
struct TKeyStroke {
    Word Key = 0;
    bool Shift = false;
};
// False when no key types this character.
bool KeyForChar(char c, TKeyStroke& stroke);

// The character a key press gives with the modifier state, as the message
// loop's translation produces it: letters, digits and punctuation by Shift;
// Ctrl with a letter gives the control code 1..26; Enter 13, Tab 9,
// Backspace 8, Escape 27. False when the key gives no character (arrows,
// function keys, the modifiers themselves, Alt combinations).
bool CharForKey(Word key, bool shift, bool ctrl, bool alt, char& c);

} // namespace fw
