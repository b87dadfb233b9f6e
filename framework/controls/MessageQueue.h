#pragma once
// The application's message queue: posted messages, queued input, the windows
// waiting to be painted, timers and the millisecond clock they run on.
//
// The queue only stores; the application's loop (TApplication) takes from it
// in the classic order: posted messages, then input, then paints, then timers.
// Controls post to it (Invalidate, PostMessage, TTimer) and take themselves
// out of it when they are destroyed, so nothing is ever delivered to a freed
// control.
//
// The clock is virtual by default: it stands still until the loop, finding
// nothing to do, moves it to the next timer that is due. A backend with a real
// display switches it to real time.

#include <deque>
#include <framework/controls/ControlTypes.h>
#include <framework/platform/Messages.h>
#include <functional>
#include <vector>

namespace fw {

class TControl;
class TWinControl;

// Raw input as a keyboard or a mouse delivers it, in screen coordinates. The
// loop turns it into messages for the focused control or the control under
// the pointer.
enum class TInputKind { KeyDown, KeyUp, MouseDown, MouseUp, MouseMove, MouseWheel, Character, Composition };

struct TInputEvent {
    TInputKind Kind = TInputKind::KeyDown;
    Word Key = 0; // KeyDown, KeyUp
    // KeyDown: the desktop delivers the key's printable character as a text
    // input of its own (a Character event, by the keyboard layout), so the key
    // makes none; control characters (Enter, Backspace, Ctrl+letter) it still makes.
    bool TextApart = false;
    TMouseButton Button = mbLeft; // MouseDown, MouseUp
    TPoint Pos;                   // mouse events: screen point
    int WheelDelta = 0;           // MouseWheel: 120 a notch, positive away from the user
    Char Character = 0;           // Character: a typed character that no key of its own makes
    // Composition: an input method's text not yet committed (empty when it
    // ends), and the caret's place in it in bytes.
    String Text;
    int Cursor = 0;
};

struct TPostedMessage {
    TControl* Target = nullptr;
    TMessage Message;
};

class TMessageQueue {
public:
    TMessageQueue();
    TMessageQueue(const TMessageQueue&) = delete;
    TMessageQueue& operator=(const TMessageQueue&) = delete;

    // ---- posted messages
    void PostMessage(TControl* target, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    bool TakePosted(TPostedMessage& out);
    bool HasPosted() const { return !FPosted.empty(); }

    // ---- input
    void PostInput(const TInputEvent& event);
    bool TakeInput(TInputEvent& out);
    bool HasInput() const { return !FInput.empty(); }
    void ClearInput() { FInput.clear(); }

    // ---- paints: windowed controls with an update region
    void AddDirty(TWinControl* control);
    void RemoveDirty(TWinControl* control);
    bool HasDirty() const { return !FDirty.empty(); }
    // The waiting window nearest to its form (parents paint before children);
    // nullptr when none waits. It stays listed until it paints.
    TWinControl* NextDirty() const;

    // ---- timers
    using TTimerProc = std::function<void()>;
    // Starts a timer that calls proc every interval ms (at least 1) of the
    // clock, from the loop. Returns its id (never 0).
    unsigned SetTimer(TTimerProc proc, Cardinal interval);
    void KillTimer(unsigned id);
    int TimerCount() const { return static_cast<int>(FTimers.size()); }
    // The earliest moment a timer is due; false without timers.
    bool NextTimerDue(Cardinal& due) const;
    // Runs the earliest timer that is due now and rearms it; false if none is due.
    bool FireDueTimer();

    // ---- the clock, in milliseconds
    Cardinal TickCount() const;
    // Moves the virtual clock forward (never back).
    void AdvanceClockTo(Cardinal tick);
    void AdvanceClockBy(Cardinal ms) { AdvanceClockTo(TickCount() + ms); }
    void SetRealTime(bool on);
    bool RealTime() const { return FRealTime; }

    // ---- a control is going away: drop everything addressed to it
    void Forget(TControl* control);

    // Empties the queue and stops every timer (between tests).
    void Reset();

private:
    struct TTimerEntry {
        unsigned Id;
        Cardinal Interval;
        Cardinal Due;
        TTimerProc Proc;
    };

    std::deque<TPostedMessage> FPosted;
    std::deque<TInputEvent> FInput;
    std::vector<TWinControl*> FDirty;
    std::vector<TTimerEntry> FTimers;
    unsigned FNextTimerId = 1;
    Cardinal FVirtualTick = 0;
    bool FRealTime = false;
    long long FRealStart = 0;
};

// The one queue of the user-interface thread.
TMessageQueue& MessageQueue();

// Posts a message to a control; it is delivered by the loop through Perform.
inline void PostMessage(TControl* target, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    MessageQueue().PostMessage(target, msg, wParam, lParam);
}

} // namespace fw
