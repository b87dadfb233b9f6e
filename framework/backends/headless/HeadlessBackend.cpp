// The headless backend: virtual time and composed screenshots.

#include <framework/backends/headless/HeadlessBackend.h>
#include <framework/controls/MessageQueue.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>
#include <framework/graphics/Png.h>

namespace fw {

namespace {

// Paints everything that waits, without running input or timers.
void PaintPending() {
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (TForm* f = Screen->Forms(i); f->Visible()) f->Update();
}

void Blit(TSurface& dest, const TSurface& src, int x, int y) {
    for (int row = 0; row < src.Height(); ++row) {
        const int dy = y + row;
        if (dy < 0 || dy >= dest.Height()) continue;
        for (int col = 0; col < src.Width(); ++col) {
            const int dx = x + col;
            if (dx >= 0 && dx < dest.Width()) dest.SetPixel(dx, dy, src.Pixel(col, row));
        }
    }
}

} // namespace

std::unique_ptr<TBackend> CreateDefaultBackend() {
    return std::make_unique<THeadlessBackend>();
}

bool THeadlessBackend::Idle(bool hasTimer, Cardinal due) {
    if (!hasTimer) return false;
    MessageQueue().AdvanceClockTo(due);
    return true;
}

TSurface ComposeScreen() {
    PaintPending();
    TSurface screen(Screen->Width(), Screen->Height(), DesktopColor);
    for (TForm* f : Screen->ZOrder())
        if (f->Visible())
            if (const TSurface* s = f->WindowSurface()) Blit(screen, *s, f->Left(), f->Top());
    return screen;
}

TSurface CaptureForm(TForm* form) {
    form->HandleNeeded();
    if (form->Visible())
        form->Update();
    else if (!form->UpdateRect().IsEmpty()) {
        form->Perform(WM_NCPAINT);
        form->Perform(WM_PAINT);
    }
    const TSurface* s = form->WindowSurface();
    return s ? *s : TSurface();
}

void SaveScreenshot(const String& path) {
    SavePng(ComposeScreen(), path);
}

void SaveFormScreenshot(TForm* form, const String& path) {
    SavePng(CaptureForm(form), path);
}

} // namespace fw
