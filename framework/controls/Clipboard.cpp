// The clipboard: the text in memory, or the desktop's clipboard once connected.

#include <framework/controls/Clipboard.h>

namespace fw {

namespace {
TClipboard TheClipboard;
TClipboard ThePrimarySelection;
} // namespace

void TClipboard::SetAsText(const String& Value) {
    if (FWrite)
        FWrite(Value);
    else
        FText = Value;
}

void TClipboard::Connect(std::function<String()> Read, std::function<void(const String&)> Write) {
    FRead = std::move(Read);
    FWrite = std::move(Write);
}

TClipboard& Clipboard() {
    return TheClipboard;
}

TClipboard& PrimarySelection() {
    return ThePrimarySelection;
}

} // namespace fw
