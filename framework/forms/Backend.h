#pragma once
// The backend: what stands between the message loop and a display. The
// headless backend (the default) keeps the desktop in memory and moves a
// virtual clock; the window backend (framework/backends/sdl) shows each form
// in a real window and feeds real input into the message queue.

#include <framework/graphics/Surface.h>
#include <framework/platform/Gdi.h>
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
    // The picture a desktop shows for the program's windows.
    virtual void SetIcon(const TSurface& image) {}
};

// A picture for SetIcon: bitmap resource id of the module (its first square
// frame) at twice its size, centred on 32 x 32 of button face; plain button
// face where the module has no such bitmap.
TSurface GlyphIcon(HINSTANCE module, int id);

// The backend the application starts with (the headless one).
std::unique_ptr<TBackend> CreateDefaultBackend();

// Which backend a program runs on. Auto takes the window backend when a
// display is there and the headless screen otherwise.
enum class TBackendKind { Auto, Headless, Window };

struct TBackendRequest {
    TBackendKind Kind = TBackendKind::Auto;
    // Screen pixels per framework pixel in a window; 0 lets the display decide.
    int Scale = 0;
};

// The request of a program's command line and environment: the options
// --headless, --window and --scale N (taken out of argv), else the variables
// QZ_BACKEND (headless or window) and QZ_SCALE. Raises EConvertError for a
// bad value.
TBackendRequest ReadBackendRequest(int& argc, char** argv);
// Makes the backend a request asks for. A window asked for where no display
// can be opened raises EInvalidOperation naming the reason.
std::unique_ptr<TBackend> CreateBackend(const TBackendRequest& request);

} // namespace fw
