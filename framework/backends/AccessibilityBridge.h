#pragma once
// The bridge from the accessibility model (framework/controls/Accessibility.h)
// to the desktop's assistive technology. A window backend calls these three:
// Start when it opens, Pump each time its loop is about to sleep, Stop when it
// closes. Built from framework/backends/atspi where the AT-SPI libraries are
// there, otherwise from NoAccessibilityBridge.cpp, which does nothing.

#include <functional>

namespace fw::AccessibilityBridge {

// Starts the bridge when the desktop's accessibility bus is enabled (an
// assistive technology may listen); otherwise nothing is made and the other
// calls cost nothing. Scale is screen pixels per framework pixel; Wake is
// called from another thread when the bridge has requests to answer and the
// backend's loop should stop sleeping and call Pump. True when it started.
bool Start(int Scale, std::function<void()> Wake);
// Answers what waits (requests from assistive technologies, events to send),
// then returns how long the loop may sleep in milliseconds: -1 for as long as
// it likes (Wake ends the sleep when a request comes).
int Pump();
void Stop();
// Whether the bridge runs, and why not when it does not.
bool Active();
const char* InactiveReason();

} // namespace fw::AccessibilityBridge
