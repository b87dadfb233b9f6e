// TApplication: the message loop, exception reporting and modal loops.

#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/controls/WinControl.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>

namespace fw {

FW_PUBLISH(TApplication) {}

TApplication* TApplicationRef::Get() {
    // Made on first use and kept for the life of the program.
    static TApplication* application = new TApplication(nullptr);
    return application;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() = default;

TBackend* TApplication::Backend() {
    if (!FBackend) FBackend = CreateDefaultBackend();
    return FBackend.get();
}

void TApplication::SetBackend(std::unique_ptr<TBackend> backend) {
    FBackend = std::move(backend);
}

void TApplication::Initialize(int& argc, char** argv) {
    // The old backend goes first: a window backend gives the display back.
    FBackend.reset();
    SetBackend(CreateBackend(ReadBackendRequest(argc, argv)));
}

void TApplication::Initialize() {
    int argc = 0;
    Initialize(argc, nullptr);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

// ---------------------------------------------------------------- one message

void TApplication::Dispatch(const TPostedMessage& m) {
    if (m.Message.Msg == CM_RELEASE) {
        if (auto* form = dynamic_cast<TForm*>(m.Target)) {
            delete form;
            return;
        }
    }
    m.Target->Perform(m.Message.Msg, m.Message.WParam, m.Message.LParam);
}

namespace {

// Visible itself and in every parent below its top-level window (whose own
// state the loop's paint list already follows).
bool VisibleInItsWindow(const TControl* Control) {
    for (; Control && Control->Parent(); Control = Control->Parent())
        if (!Control->Visible()) return false;
    return true;
}

} // namespace

void TApplication::PaintPass() {
    TMessageQueue& q = MessageQueue();
    while (TWinControl* c = q.NextDirty()) {
        // A window hidden since it was invalidated, or inside a hidden control,
        // has nothing to paint; showing it invalidates it again.
        if (!VisibleInItsWindow(c)) {
            q.RemoveDirty(c);
            continue;
        }
        try {
            c->Perform(WM_NCPAINT);
            c->Perform(WM_PAINT);
        } catch (const ELoopError&) {
            q.RemoveDirty(c);
            throw;
        } catch (const std::exception&) {
            // A paint that failed before validating its window would fail
            // again forever: it counts as painted.
            q.RemoveDirty(c);
            HandleException(c);
        }
        q.RemoveDirty(c);
        FreeDeviceContexts();
    }
}

bool TApplication::ProcessMessage() {
    TMessageQueue& q = MessageQueue();
    bool done = false;
    try {
        TPostedMessage posted;
        TInputEvent input;
        if (q.TakePosted(posted)) {
            done = true;
            Dispatch(posted);
        } else if (q.TakeInput(input)) {
            done = true;
            RouteInput(input);
        } else if (q.HasDirty()) {
            done = true;
            PaintPass();
        } else {
            done = q.FireDueTimer();
        }
    } catch (const ELoopError&) {
        FreeDeviceContexts();
        throw;
    } catch (const std::exception&) {
        FreeDeviceContexts();
        try {
            HandleException(nullptr);
        } catch (const ELoopError&) {
            throw;
        } catch (const std::exception&) {
            // A handler raised while the error box showed or closed: that one
            // is reported too, and whatever its report raises is dropped, so
            // a handler that always raises cannot end or stall the loop.
            ReportException(nullptr);
        }
    }
    FreeDeviceContexts();
    return done;
}

void TApplication::ProcessMessages() {
    bool any = false;
    while (ProcessMessage())
        any = true;
    if (any) return;
    // Nothing was pending: whoever calls us is waiting for time to pass.
    Cardinal due = 0;
    if (MessageQueue().NextTimerDue(due) && Backend()->Idle(true, due))
        while (ProcessMessage()) {
        }
}

void TApplication::HandleMessage() {
    if (ProcessMessage() || RunModalStep()) return;
    if (OnIdle) OnIdle(this);
    Cardinal due = 0;
    const bool hasTimer = MessageQueue().NextTimerDue(due);
    Backend()->Idle(hasTimer, due);
}

bool TApplication::RunModalStep() {
    if (FModalSteps.empty()) return false;
    auto step = std::move(FModalSteps.front());
    FModalSteps.pop_front();
    step();
    return true;
}

void TApplication::QueueModalStep(std::function<void()> step) {
    FModalSteps.push_back(std::move(step));
}

void TApplication::Reset() {
    MessageQueue().Reset();
    FModalSteps.clear();
    FTerminated = false;
    SetCaptureControl(nullptr);
    ResetInputRouting();
}

// ---------------------------------------------------------------- loops

void TApplication::RunModalLoop(TForm* form) {
    ++FModalLevel;
    struct TLevel {
        int& Level;
        ~TLevel() { --Level; }
    } level{FModalLevel};
    // A handler may free the form (or its owner): the loop then ends.
    TComponentRef<TForm> alive(form);
    TMessageQueue& q = MessageQueue();
    Cardinal lastActivity = q.TickCount();
    for (;;) {
        if (!alive) return;
        if (form->ModalResult() != mrNone) {
            if (form->CloseModal() || !alive) break;
            continue;
        }
        if (FTerminated) {
            form->SetModalResult(mrCancel);
            continue;
        }
        const bool hadInput = q.HasInput();
        if (ProcessMessage()) {
            if (hadInput) lastActivity = q.TickCount();
            continue;
        }
        if (RunModalStep()) {
            lastActivity = q.TickCount();
            continue;
        }
        if (OnIdle) OnIdle(this);
        if (!alive) return;
        Cardinal due = 0;
        const bool hasTimer = q.NextTimerDue(due);
        if (hasTimer && !Backend()->Interactive() && due - lastActivity > MaxIdleTimerWait)
            throw EModalLoopIdle("The modal loop of form '" + form->Name() + "' (" + form->ClassName() +
                                 ") only waits on timers: no input and no scripted step");
        if (!Backend()->Idle(hasTimer, due))
            throw EModalLoopIdle("The modal loop of form '" + form->Name() + "' (" + form->ClassName() +
                                 ") is idle: no input, no due timer and no scripted step");
    }
}

void TApplication::Run() {
    FTerminated = false;
    while (!FTerminated) {
        if (FMainForm && !FMainForm->Visible()) break;
        if (ProcessMessage() || RunModalStep()) continue;
        if (OnIdle) OnIdle(this);
        Cardinal due = 0;
        const bool hasTimer = MessageQueue().NextTimerDue(due);
        if (!Backend()->Idle(hasTimer, due)) break;
    }
}

// ---------------------------------------------------------------- exceptions

void TApplication::HandleException(TObject* Sender) {
    try {
        throw;
    } catch (const ELoopError&) {
        throw;
    } catch (const std::exception& e) {
        ++FHandledExceptions;
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    }
}

void TApplication::ReportException(TObject* Sender) noexcept {
    try {
        HandleException(Sender);
    } catch (...) {
    }
}

void TApplication::ShowException(const std::exception& E) {
    String message = E.what();
    if (!message.empty() && message.back() != '.') message += '.';
    MessageBox(message, FTitle.empty() ? String("Error") : FTitle, MB_OK | MB_ICONSTOP);
}

} // namespace fw
