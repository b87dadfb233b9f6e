#pragma once
// The framework's clipboard: one text shared by every edit of the program.
// On its own it keeps the text in memory; a backend with a real desktop
// connects it to the desktop's clipboard, so other programs see what is copied.

#include <framework/rtl/Types.h>
#include <functional>

namespace fw {

class TClipboard {
public:
    String AsText() const { return FRead ? FRead() : FText; }
    void SetAsText(const String& Value);
    bool HasText() const { return !AsText().empty(); }
    void Clear() { SetAsText(String()); }

    // Reads and writes go to these functions from now on (the desktop's
    // clipboard); empty functions bring back the text in memory.
    void Connect(std::function<String()> Read, std::function<void(const String&)> Write);

private:
    String FText;
    std::function<String()> FRead;
    std::function<void(const String&)> FWrite;
};

TClipboard& Clipboard();
// The desktop's primary selection (the text last selected, pasted with the
// middle button); in memory until a backend connects it.
TClipboard& PrimarySelection();

} // namespace fw
