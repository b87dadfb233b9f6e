#pragma once
// The framework's clipboard: one text shared by every edit of the program.

#include <framework/rtl/Types.h>

namespace fw {

class TClipboard {
public:
    const String& AsText() const { return FText; }
    void SetAsText(const String& Value) { FText = Value; }
    bool HasText() const { return !FText.empty(); }
    void Clear() { FText.clear(); }

private:
    String FText;
};

TClipboard& Clipboard();

} // namespace fw
