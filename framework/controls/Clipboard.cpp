#include <framework/controls/Clipboard.h>

namespace fw {

namespace {
TClipboard TheClipboard;
} // namespace

TClipboard& Clipboard() {
    return TheClipboard;
}

} // namespace fw
