// TGraphicControl and TCustomControl: controls that paint through a canvas.

#include <framework/classes/Published.h>
#include <framework/controls/GraphicControl.h>

namespace fw {

namespace {

// Binds the control's canvas to a paint's device context, with the control's
// font, for the length of `paint`; the canvas lets go of the context after.
template <typename F>
void PaintThrough(TControlCanvas& Canvas, HDC DC, const TFont* Font, F paint) {
    Canvas.FreeHandle();
    Canvas.SetHandle(DC);
    struct TDetach {
        TControlCanvas& Canvas;
        ~TDetach() { Canvas.SetHandle(nullptr); }
    } detach{Canvas};
    Canvas.SetFont(Font);
    paint();
}

} // namespace

FW_PUBLISH(TGraphicControl) {}
FW_PUBLISH(TCustomControl) {}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() {
    PrepareDestroy();
    DetachFromParent();
}

// The parent sends WM_PAINT with a context whose origin is this control's
// top-left corner.
void TGraphicControl::WMPaint(TMessage& Message) {
    auto* dc = reinterpret_cast<TDeviceContext*>(Message.WParam);
    if (!dc) return;
    PaintThrough(*FCanvas, dc, Font(), [this] { Paint(); });
}

void TGraphicControl::Paint() {}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
    PrepareDestroy();
    FCanvas->FreeHandle();
}

void TCustomControl::PaintWindow(HDC DC) {
    PaintThrough(*FCanvas, DC, Font(), [this] { Paint(); });
}

void TCustomControl::Paint() {}

} // namespace fw
