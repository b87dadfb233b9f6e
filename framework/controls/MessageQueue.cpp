// The application's message queue and its clock.

#include <algorithm>
#include <chrono>
#include <framework/controls/MessageQueue.h>
#include <framework/controls/WinControl.h>

namespace fw {

namespace {

TMessageQueue TheQueue;

long long SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// How far a control sits below its form: the form is 0.
int Depth(const TWinControl* control) {
    int depth = 0;
    for (const TWinControl* p = control->Parent(); p; p = p->Parent())
        ++depth;
    return depth;
}

} // namespace

TMessageQueue& MessageQueue() {
    return TheQueue;
}

TMessageQueue::TMessageQueue() = default;

void TMessageQueue::PostMessage(TControl* target, UINT msg, WPARAM wParam, LPARAM lParam) {
    TPostedMessage m;
    m.Target = target;
    m.Message.Msg = msg;
    m.Message.WParam = wParam;
    m.Message.LParam = lParam;
    FPosted.push_back(m);
}

bool TMessageQueue::TakePosted(TPostedMessage& out) {
    if (FPosted.empty()) return false;
    out = FPosted.front();
    FPosted.pop_front();
    return true;
}

void TMessageQueue::PostInput(const TInputEvent& event) {
    FInput.push_back(event);
}

bool TMessageQueue::TakeInput(TInputEvent& out) {
    if (FInput.empty()) return false;
    out = FInput.front();
    FInput.pop_front();
    return true;
}

void TMessageQueue::AddDirty(TWinControl* control) {
    if (std::find(FDirty.begin(), FDirty.end(), control) == FDirty.end()) FDirty.push_back(control);
}

void TMessageQueue::RemoveDirty(TWinControl* control) {
    FDirty.erase(std::remove(FDirty.begin(), FDirty.end(), control), FDirty.end());
}

TWinControl* TMessageQueue::NextDirty() const {
    TWinControl* best = nullptr;
    int bestDepth = 0;
    for (TWinControl* c : FDirty) {
        const int d = Depth(c);
        if (!best || d < bestDepth) {
            best = c;
            bestDepth = d;
        }
    }
    return best;
}

unsigned TMessageQueue::SetTimer(TTimerProc proc, Cardinal interval) {
    if (interval == 0) interval = 1;
    const unsigned id = FNextTimerId++;
    FTimers.push_back({id, interval, TickCount() + interval, std::move(proc)});
    return id;
}

void TMessageQueue::KillTimer(unsigned id) {
    FTimers.erase(
        std::remove_if(FTimers.begin(), FTimers.end(), [id](const TTimerEntry& t) { return t.Id == id; }),
        FTimers.end());
}

bool TMessageQueue::NextTimerDue(Cardinal& due) const {
    if (FTimers.empty()) return false;
    due = FTimers.front().Due;
    for (const auto& t : FTimers)
        due = std::min(due, t.Due);
    return true;
}

bool TMessageQueue::FireDueTimer() {
    const Cardinal now = TickCount();
    const TTimerEntry* first = nullptr;
    for (const auto& t : FTimers)
        if (t.Due <= now && (!first || t.Due < first->Due)) first = &t;
    if (!first) return false;
    const unsigned id = first->Id;
    // Rearm before the call: the handler may kill or restart the timer.
    TTimerProc proc = first->Proc;
    for (auto& t : FTimers)
        if (t.Id == id) t.Due = now + t.Interval;
    proc();
    return true;
}

Cardinal TMessageQueue::TickCount() const {
    if (FRealTime) return FVirtualTick + static_cast<Cardinal>(SteadyMilliseconds() - FRealStart);
    return FVirtualTick;
}

void TMessageQueue::AdvanceClockTo(Cardinal tick) {
    if (FRealTime) return;
    if (tick > FVirtualTick) FVirtualTick = tick;
}

void TMessageQueue::SetRealTime(bool on) {
    if (on == FRealTime) return;
    if (on) {
        FRealStart = SteadyMilliseconds();
    } else {
        FVirtualTick = TickCount();
    }
    FRealTime = on;
}

void TMessageQueue::Forget(TControl* control) {
    FPosted.erase(std::remove_if(FPosted.begin(), FPosted.end(),
                                 [control](const TPostedMessage& m) { return m.Target == control; }),
                  FPosted.end());
    FDirty.erase(std::remove(FDirty.begin(), FDirty.end(), static_cast<TWinControl*>(nullptr)), FDirty.end());
    FDirty.erase(std::remove_if(FDirty.begin(), FDirty.end(),
                                [control](TWinControl* c) { return static_cast<TControl*>(c) == control; }),
                 FDirty.end());
}

void TMessageQueue::Reset() {
    FPosted.clear();
    FInput.clear();
    FDirty.clear();
    FTimers.clear();
}

} // namespace fw
