// TTimer over the message queue's timers.

#include <framework/classes/Published.h>
#include <framework/controls/MessageQueue.h>
#include <framework/controls/Timer.h>

namespace fw {

FW_PUBLISH(TTimer) {
    cls.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
    cls.Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
    cls.Event("OnTimer", &TTimer::OnTimer);
    cls.DesignPosition();
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
    if (FTimerId) MessageQueue().KillTimer(FTimerId);
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
    if (Value == FInterval) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
    OnTimer = std::move(Value);
    UpdateTimer();
}

void TTimer::Loaded() {
    inherited::Loaded();
    UpdateTimer();
}

// The timer runs while enabled with a non-zero interval, once loading is
// over; a handler assigned later is called from the next tick on.
void TTimer::UpdateTimer() {
    if (FTimerId) {
        MessageQueue().KillTimer(FTimerId);
        FTimerId = 0;
    }
    if (FEnabled && FInterval != 0 && !ComponentState().Contains(csLoading) &&
        !ComponentState().Contains(csDesigning))
        FTimerId = MessageQueue().SetTimer([this] { Timer(); }, FInterval);
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

} // namespace fw
