// TGraphicControl and TCustomControl: controls that paint through a canvas.

#include <framework/classes/Published.h>
#include <framework/controls/GraphicControl.h>

namespace fw {

FW_PUBLISH(TGraphicControl) {}
FW_PUBLISH(TCustomControl) {}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() {
    PrepareDestroy();
    DetachFromParent();
}

void TGraphicControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PAINT)
        WMPaint(Message);
    else
        TControl::Dispatch(Message);
}

// The parent sends WM_PAINT with a context whose origin is this control's
// top-left corner.
void TGraphicControl::WMPaint(TMessage& Message) {
    auto* dc = reinterpret_cast<TDeviceContext*>(Message.WParam);
    if (!dc) return;
    FCanvas->FreeHandle();
    FCanvas->SetHandle(dc);
    try {
        FCanvas->SetFont(Font());
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        throw;
    }
    FCanvas->SetHandle(nullptr);
}

void TGraphicControl::Paint() {}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
    PrepareDestroy();
    FCanvas->FreeHandle();
}

void TCustomControl::PaintWindow(HDC DC) {
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
    try {
        FCanvas->SetFont(Font());
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        throw;
    }
    FCanvas->SetHandle(nullptr);
}

void TCustomControl::Paint() {}

} // namespace fw
