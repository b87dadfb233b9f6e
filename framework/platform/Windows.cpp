// Beeps, the pointer shape and the caret rate: process-wide state of the one user-interface thread.

#include <framework/platform/Windows.h>

namespace fw {

namespace {

struct TBeepState {
    int Count = 0;
    UINT LastType = 0;
};

TBeepState Beeps;
std::function<void(UINT)> BeepSound;
HCURSOR CurrentCursor = nullptr;
int CursorCalls = 0;
UINT CaretBlinkTime = 0;
bool ApplicationActive = true;

} // namespace

bool MessageBeep(UINT type) {
    ++Beeps.Count;
    Beeps.LastType = type;
    if (BeepSound) BeepSound(type);
    return true;
}

void SetBeepSound(std::function<void(UINT)> sound) {
    BeepSound = std::move(sound);
}

int BeepCount() {
    return Beeps.Count;
}
UINT LastBeepType() {
    return Beeps.LastType;
}
void ResetBeeps() {
    Beeps = {};
}

TDeviceContext* BeginPaint(HWND wnd, PAINTSTRUCT* ps) {
    if (!wnd || !ps) return nullptr;
    return wnd->BeginPaint(*ps);
}

bool EndPaint(HWND wnd, const PAINTSTRUCT* ps) {
    if (!wnd || !ps) return false;
    wnd->EndPaint(*ps);
    return true;
}

TDeviceContext* GetDC(HWND wnd) {
    return wnd ? wnd->GetDC() : nullptr;
}

int ReleaseDC(HWND wnd, TDeviceContext* dc) {
    if (!wnd || !dc) return 0;
    wnd->ReleaseDC(dc);
    return 1;
}

bool InvalidateRect(HWND wnd, const TRect* rect, bool) {
    if (!wnd) return false;
    wnd->InvalidateRect(rect);
    return true;
}

HCURSOR SetCursor(HCURSOR cursor) {
    ++CursorCalls;
    HCURSOR previous = CurrentCursor;
    CurrentCursor = cursor;
    return previous;
}

HCURSOR GetCursor() {
    return CurrentCursor;
}
int SetCursorCount() {
    return CursorCalls;
}

UINT GetCaretBlinkTime() {
    return CaretBlinkTime;
}
void SetCaretBlinkTime(UINT ms) {
    CaretBlinkTime = ms;
}

bool GetApplicationActive() {
    return ApplicationActive;
}
void SetApplicationActive(bool active) {
    ApplicationActive = active;
}

} // namespace fw
