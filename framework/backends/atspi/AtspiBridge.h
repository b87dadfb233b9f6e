#pragma once
// The ATK side of the AT-SPI bridge without the bus, for tests: the wrappers
// of the model's objects and the model's events as ATK signals, as the
// bridge has them once started, but no atk-bridge and no D-Bus.

#include <atk/atk.h>
#include <framework/controls/Accessibility.h>

namespace fw::AccessibilityBridge {

// Wraps the model as Start does (Scale: desktop pixels per framework pixel),
// without talking to any bus; Stop undoes it.
void StartWithoutBus(int Scale);
// Whether assistive technologies listen for events, as the registry on the
// bus tells it a started bridge (true without a bus): while none does, the
// events that only inform are dropped before any wrapper is looked up.
void SetClientsListening(bool Value);
// The wrapper of an object (made on first use; owned by the bridge).
AtkObject* WrapperOf(TAccessible* Object);

} // namespace fw::AccessibilityBridge
