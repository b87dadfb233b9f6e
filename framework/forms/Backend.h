#pragma once
// The backend: what stands between the message loop and a display. The
// headless backend (the default) keeps the desktop in memory and moves a
// virtual clock; a window backend would show the desktop and feed real input
// into the message queue.

#include <framework/rtl/Types.h>
#include <memory>

namespace fw {

class TForm;

class TBackend {
public:
    virtual ~TBackend() = default;

    // The loop has nothing to do. hasTimer/due tell when the next timer is due
    // (milliseconds of the queue's clock). The backend waits for input or moves
    // the clock; it returns false when nothing can ever arrive.
    virtual bool Idle(bool hasTimer, Cardinal due) = 0;
    // A form was shown, hidden or repainted: a display would update.
    virtual void FormChanged(TForm* form) {}
    // Whether input comes from a person at a real display.
    virtual bool Interactive() const { return false; }
};

// The backend the application starts with (the headless one).
std::unique_ptr<TBackend> CreateDefaultBackend();

} // namespace fw
