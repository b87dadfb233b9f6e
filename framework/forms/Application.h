#pragma once
// TApplication (global Application): the message loop over the one message
// queue, exception reporting, message boxes and the modal-loop support.
//
// One pass of the loop takes, in this order: a posted message, then one
// input event (translated into messages for the focused control or the
// control under the pointer), then a paint of every waiting window (parents
// first), then one timer that is due. An exception that escapes a handler is
// reported by HandleException in an error box and the loop goes on; one that a
// handler raises while that box shows or closes is reported as well, and
// nothing but a loop error leaves a pass of the loop.

#include <deque>
#include <exception>
#include <framework/classes/Component.h>
#include <framework/controls/MessageQueue.h>
#include <framework/forms/Backend.h>
#include <functional>

namespace fw {

class TForm;

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
    FW_CLASS(TApplication, TComponent)

public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Chooses the backend from the command line and the environment (see
    // ReadBackendRequest: --headless, --window, --scale N, QZ_BACKEND,
    // QZ_SCALE), takes its options out of argv and installs it: a window on
    // a desktop, the headless screen otherwise. Call before showing forms.
    void Initialize(int& argc, char** argv);
    // The same from the environment alone, for programs without options.
    void Initialize();

    // Dispatches everything pending now. When nothing at all was pending and
    // a timer waits, the clock moves to it (a headless run has no real time
    // passing) and the timer fires: a busy wait on ProcessMessages ends.
    void ProcessMessages();
    // Dispatches one message; false when nothing was pending.
    bool ProcessMessage();
    // One message, or the idle handling when there is none (modal loops).
    void HandleMessage();

    // Reports the exception being handled (call inside a catch block):
    // OnException if assigned, else an error box. Loop errors are rethrown.
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    // HandleException for places nothing may leave (destructors, clean-up
    // after another exception): a loop error, or one raised while reporting,
    // is dropped.
    void ReportException(TObject* Sender) noexcept;
    int HandledExceptionCount() const { return FHandledExceptions; }

    // A modal message box with the flags' buttons and icon; returns the ID
    // of the button pressed (IDOK...).
    int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

    // Runs the loop until Terminate or until the main form closes; a headless
    // run with nothing left to do ends by itself.
    void Run();
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Value) { FMainForm = Value; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }

    TExceptionEvent OnException;
    TNotifyEvent OnIdle;

    // ---- modal loops
    // Runs form's modal loop until its ModalResult is set.
    void RunModalLoop(TForm* form);
    // A step to run when a modal loop next has nothing to do (to drive a
    // popup or answer a message box): steps run in the order queued, one per
    // idle moment, inside whichever modal loop is running then.
    void QueueModalStep(std::function<void()> step);
    int PendingModalSteps() const { return static_cast<int>(FModalSteps.size()); }
    // How many modal loops are running.
    int ModalLevel() const { return FModalLevel; }
    // The longest a modal loop may wait on timers alone (virtual ms) before
    // the headless backend gives up with EModalLoopIdle.
    static constexpr Cardinal MaxIdleTimerWait = 10 * 60 * 1000;

    TBackend* Backend();
    void SetBackend(std::unique_ptr<TBackend> backend);

    // Back to a clean state between tests: empties the queue and the steps.
    void Reset();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool RunModalStep();
    void Dispatch(const TPostedMessage& m);
    void PaintPass();

    std::unique_ptr<TBackend> FBackend;
    std::deque<std::function<void()>> FModalSteps;
    TForm* FMainForm = nullptr;
    String FTitle;
    bool FTerminated = false;
    int FModalLevel = 0;
    int FHandledExceptions = 0;
};

// Global access, made on first use: `Application->ProcessMessages()`.
struct TApplicationRef {
    TApplication* operator->() const { return Get(); }
    operator TApplication*() const { return Get(); }
    static TApplication* Get();
};
inline constexpr TApplicationRef Application{};

// Sends input to the focused control or the control under the pointer: the
// message loop's translation of one raw input event.
void RouteInput(const TInputEvent& event);
// Forgets the mouse's history (the last press, a double click under way): Reset.
void ResetInputRouting();

} // namespace fw
