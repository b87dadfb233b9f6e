#pragma once
// Window styles, message-box flags and results, and the window-system calls
// that are not drawing calls (MessageBeep, SetCursor). The drawing calls and
// device contexts are in the GDI headers of this folder.

#include <framework/platform/Messages.h>
#include <functional>

namespace fw {

// ---------------------------------------------------------------- window styles
constexpr Cardinal WS_OVERLAPPED = 0x00000000;
constexpr Cardinal WS_POPUP = 0x80000000;
constexpr Cardinal WS_CHILD = 0x40000000;
constexpr Cardinal WS_MINIMIZE = 0x20000000;
constexpr Cardinal WS_VISIBLE = 0x10000000;
constexpr Cardinal WS_DISABLED = 0x08000000;
constexpr Cardinal WS_CLIPSIBLINGS = 0x04000000;
constexpr Cardinal WS_CLIPCHILDREN = 0x02000000;
constexpr Cardinal WS_MAXIMIZE = 0x01000000;
constexpr Cardinal WS_CAPTION = 0x00C00000;
constexpr Cardinal WS_BORDER = 0x00800000;
constexpr Cardinal WS_DLGFRAME = 0x00400000;
constexpr Cardinal WS_VSCROLL = 0x00200000;
constexpr Cardinal WS_HSCROLL = 0x00100000;
constexpr Cardinal WS_SYSMENU = 0x00080000;
constexpr Cardinal WS_THICKFRAME = 0x00040000;
constexpr Cardinal WS_GROUP = 0x00020000;
constexpr Cardinal WS_TABSTOP = 0x00010000;

constexpr Cardinal WS_EX_DLGMODALFRAME = 0x00000001;
constexpr Cardinal WS_EX_TOPMOST = 0x00000008;
constexpr Cardinal WS_EX_CLIENTEDGE = 0x00000200;

// Edit styles.
constexpr Cardinal ES_LEFT = 0x0000;
constexpr Cardinal ES_UPPERCASE = 0x0008;
constexpr Cardinal ES_LOWERCASE = 0x0010;
constexpr Cardinal ES_PASSWORD = 0x0020;
constexpr Cardinal ES_AUTOHSCROLL = 0x0080;
constexpr Cardinal ES_READONLY = 0x0800;

// ---------------------------------------------------------------- message boxes
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;

// Message-box results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// ---------------------------------------------------------------- windows
class TDeviceContext;

struct PAINTSTRUCT {
    TDeviceContext* hdc = nullptr;
    bool fErase = false;
    TRect rcPaint; // the part to paint, client coordinates
};

// What a window handle names. The controls layer implements it for every
// windowed control; the calls below reach a window only through it.
class TPlatformWindow {
public:
    virtual ~TPlatformWindow() = default;
    // A context on the window's client area, clipped to its update region;
    // validates the window.
    virtual TDeviceContext* BeginPaint(PAINTSTRUCT& ps) = 0;
    virtual void EndPaint(const PAINTSTRUCT& ps) = 0;
    // A context on the client area (freed with ReleaseDC).
    virtual TDeviceContext* GetDC() = 0;
    virtual void ReleaseDC(TDeviceContext* dc) = 0;
    virtual void InvalidateRect(const TRect* rect) = 0;
};
using HWND = TPlatformWindow*;

TDeviceContext* BeginPaint(HWND wnd, PAINTSTRUCT* ps);
bool EndPaint(HWND wnd, const PAINTSTRUCT* ps);
TDeviceContext* GetDC(HWND wnd);
int ReleaseDC(HWND wnd, TDeviceContext* dc);
bool InvalidateRect(HWND wnd, const TRect* rect, bool erase);

// ---------------------------------------------------------------- beeps and cursors
// Sounds the given alert. There is no speaker: beeps are counted, so tests and
// the automation can read how many there were and which kind came last.
// A backend with a real desktop also rings the desktop's bell for each
// (SetBeepSound; an empty function: counted only).
bool MessageBeep(UINT type);
void SetBeepSound(std::function<void(UINT)> sound);
int BeepCount();
UINT LastBeepType();
void ResetBeeps();

struct HCURSOR__;
using HCURSOR = HCURSOR__*;

// Sets the pointer shape and returns the previous one. Null hides the pointer.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// How many times SetCursor was called: the data-aware edit's exit calls it.
int SetCursorCount();

// ---------------------------------------------------------------- the caret
// How long the caret of a focused edit stays shown, then hidden, in
// milliseconds; 0 (the headless screen's setting, so that pictures repeat)
// keeps it shown. A backend with a real desktop sets the desktop's rate.
UINT GetCaretBlinkTime();
void SetCaretBlinkTime(UINT ms);
// Whether the desktop's keyboard focus is in one of the program's windows
// (always on the headless screen). While it is not, carets stand still.
bool GetApplicationActive();
void SetApplicationActive(bool active);

} // namespace fw
