// The accessibility bridge where the AT-SPI libraries were not there at build time.

#include <framework/backends/AccessibilityBridge.h>

namespace fw::AccessibilityBridge {

bool Start(int, std::function<void()>) {
    return false;
}
int Pump() {
    return -1;
}
void Stop() {}
bool Active() {
    return false;
}
const char* InactiveReason() {
    return "built without the AT-SPI libraries (atk, atk-bridge)";
}

} // namespace fw::AccessibilityBridge
