#pragma once
// TControlCanvas: a canvas bound to a control. Its handle may be set from
// outside (a paint message's device context) and set back to nullptr; when
// something draws on it while no handle is set, it makes a context on the
// control's client area itself and frees it again after the message being
// handled (FreeDeviceContexts, called by the loop).

#include <framework/graphics/Canvas.h>

namespace fw {

class TControl;

class TControlCanvas : public TCanvas {
    FW_CLASS(TControlCanvas, TCanvas)

public:
    TControlCanvas();
    explicit TControlCanvas(TControl* AControl);
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* AControl);
    // Frees a context the canvas made itself; one set from outside is only dropped.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    TDeviceContext* FOwnDC = nullptr;
};

// Frees the contexts every control canvas made for itself. The loop calls it
// after each message, so a context never outlives a move of its control.
void FreeDeviceContexts();

} // namespace fw
