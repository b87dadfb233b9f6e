// The framework's keyboard layout: characters to key strokes and back.

#include <cstring>
#include <framework/platform/Keys.h>

namespace fw {

namespace {

struct TPunctuationKey {
    Word Key;
    char Plain;
    char Shifted;
};

constexpr TPunctuationKey PunctuationKeys[] = {
    {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},
};

// Shifted digits row: Shift+1 is '!', and so on.
constexpr char ShiftedDigits[] = ")!@#$%^&*(";

} // namespace

bool KeyForChar(char c, TKeyStroke& stroke) {
    if (c >= 'a' && c <= 'z') {
        stroke = {static_cast<Word>(c - 'a' + 'A'), false};
        return true;
    }
    if (c >= 'A' && c <= 'Z') {
        stroke = {static_cast<Word>(c), true};
        return true;
    }
    if (c >= '0' && c <= '9') {
        stroke = {static_cast<Word>(c), false};
        return true;
    }
    if (const char* p = std::strchr(ShiftedDigits, c); p && c != '\0') {
        stroke = {static_cast<Word>('0' + (p - ShiftedDigits)), true};
        return true;
    }
    switch (c) {
    case ' ':
        stroke = {VK_SPACE, false};
        return true;
    case CharEnter:
    case '\n':
        stroke = {VK_RETURN, false};
        return true;
    case CharTab:
        stroke = {VK_TAB, false};
        return true;
    case CharBackspace:
        stroke = {VK_BACK, false};
        return true;
    case CharEscape:
        stroke = {VK_ESCAPE, false};
        return true;
    default:
        break;
    }
    for (const auto& k : PunctuationKeys) {
        if (k.Plain == c) {
            stroke = {k.Key, false};
            return true;
        }
        if (k.Shifted == c) {
            stroke = {k.Key, true};
            return true;
        }
    }
    return false;
}

bool CharForKey(Word key, bool shift, bool ctrl, bool alt, char& c) {
    if (alt) return false;
    if (key >= 'A' && key <= 'Z') {
        if (ctrl)
            c = static_cast<char>(key - 'A' + CtrlA);
        else
            c = static_cast<char>(shift ? key : key - 'A' + 'a');
        return true;
    }
    switch (key) {
    case VK_RETURN:
        c = CharEnter;
        return true;
    case VK_TAB:
        c = CharTab;
        return !ctrl;
    case VK_BACK:
        c = CharBackspace;
        return true;
    case VK_ESCAPE:
        c = CharEscape;
        return true;
    case VK_SPACE:
        c = ' ';
        return true;
    default:
        break;
    }
    if (ctrl) return false;
    if (key >= '0' && key <= '9') {
        c = shift ? ShiftedDigits[key - '0'] : static_cast<char>(key);
        return true;
    }
    for (const auto& k : PunctuationKeys) {
        if (k.Key == key) {
            c = shift ? k.Shifted : k.Plain;
            return true;
        }
    }
    return false;
}

} // namespace fw
