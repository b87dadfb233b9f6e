// TControlCanvas and the contexts it makes for itself.

#include <algorithm>
#include <framework/classes/Published.h>
#include <framework/controls/Control.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/platform/Gdi.h>
#include <vector>

namespace fw {

namespace {

// The canvases holding a context they made: freed after each message.
std::vector<TControlCanvas*> CanvasesWithOwnDC;

} // namespace

FW_PUBLISH(TControlCanvas) {}

TControlCanvas::TControlCanvas() = default;

TControlCanvas::TControlCanvas(TControl* AControl) : FControl(AControl) {}

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* AControl) {
    if (AControl == FControl) return;
    FreeHandle();
    FControl = AControl;
}

void TControlCanvas::CreateHandle() {
    if (!FControl) return;
    if (FOwnDC) {
        SetHandle(FOwnDC);
        return;
    }
    FOwnDC = FControl->GetDeviceContext();
    SetHandle(FOwnDC);
    CanvasesWithOwnDC.push_back(this);
}

void TControlCanvas::FreeHandle() {
    if (FOwnDC) {
        if (HandleAllocated()) SetHandle(nullptr);
        DeleteDC(FOwnDC);
        FOwnDC = nullptr;
        CanvasesWithOwnDC.erase(std::remove(CanvasesWithOwnDC.begin(), CanvasesWithOwnDC.end(), this),
                                CanvasesWithOwnDC.end());
    }
}

void FreeDeviceContexts() {
    while (!CanvasesWithOwnDC.empty())
        CanvasesWithOwnDC.back()->FreeHandle();
}

} // namespace fw
