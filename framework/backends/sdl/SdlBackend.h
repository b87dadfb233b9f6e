#pragma once
// The window backend: every shown form is a window on the desktop (through
// SDL2), and the desktop's keyboard, mouse, clock and clipboard drive the
// message loop.
//
// - A form with a frame is a desktop window showing its client area, with the
//   form's caption as title (the desktop draws the frame); a form without one
//   (the calendar popup) is a borderless window above its owner. Windows sit
//   where the framework places the forms, and a window the user moves moves
//   its form.
// - After each pass of the loop the changed part of every form's pixels is
//   copied to its window; nothing else is drawn. At a scale of 2 or more each
//   framework pixel is a square block, and pointer positions are divided back.
// - The loop sleeps in Idle until an event arrives or the next timer is due;
//   the queue's clock is real time.
// - Keys become the framework's virtual keys with their modifiers, mouse
//   buttons, moves and the wheel become raw input at screen points; the
//   pointer takes the shape of the control under it (an I-beam over edits).
// - Closing a window closes its form (closing the main form ends Run).

#include <framework/forms/Backend.h>
#include <memory>

namespace fw {

class TForm;

class TSdlBackend : public TBackend {
public:
    // Opens the display. scale 0 takes the display's scale (2 or more on a
    // high-density display, else 1). Returns nullptr with the reason in
    // `reason` when no display can be opened.
    static std::unique_ptr<TSdlBackend> Open(int scale, String& reason);
    ~TSdlBackend() override;

    bool Idle(bool hasTimer, Cardinal due) override;
    bool Interactive() const override { return true; }
    void SetIcon(const TSurface& image) override;

    // Brings every window up to date: windows for newly shown forms, none for
    // hidden or freed ones, the changed pixels, the pointer's shape.
    void Present();
    // Translates the events that have arrived into input, without waiting;
    // returns how many there were.
    int PollEvents();

    int Scale() const;
    // How many windows are open, and how many framework pixels were copied to
    // windows so far (a changed caret copies a few, a new window all of it).
    int WindowCount() const;
    long long PixelsCopied() const;
    // The desktop's id of a form's window (an X window), 0 when it has none.
    unsigned long NativeWindow(const TForm* form) const;

private:
    TSdlBackend();
    struct TImpl;
    std::unique_ptr<TImpl> F;
};

} // namespace fw
