#pragma once
// TTimer: a non-visual component that fires OnTimer every Interval
// milliseconds of the application's clock while it is Enabled. It fires from
// the message loop (never from inside another handler), so a handler that
// waits with ProcessMessages lets the timer run.

#include <framework/classes/Component.h>

namespace fw {

class TTimer : public TComponent {
    FW_CLASS(TTimer, TComponent)

public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    Cardinal Interval() const { return FInterval; }
    // Restarts a running timer with the new interval.
    void SetInterval(Cardinal Value);

    TNotifyEvent OnTimer;
    void SetOnTimer(TNotifyEvent Value);

protected:
    virtual void Timer();
    void Loaded() override;

private:
    void UpdateTimer();

    bool FEnabled = true;
    Cardinal FInterval = 1000;
    unsigned FTimerId = 0;
};

} // namespace fw
