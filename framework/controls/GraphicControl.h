#pragma once
// TGraphicControl: a windowless control painted on its parent's surface
// through its own Canvas, by its virtual Paint. TCustomControl: a windowed
// control that paints itself the same way.

#include <framework/controls/ControlCanvas.h>
#include <framework/controls/WinControl.h>

namespace fw {

class TGraphicControl : public TControl {
    FW_CLASS(TGraphicControl, TControl)

public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    // The canvas Paint draws on; during a paint it holds the paint's context,
    // outside one it makes a context on the parent's surface when used.
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint();
    void WMPaint(TMessage& Message) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
    FW_CLASS(TCustomControl, TWinControl)

public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint();
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

} // namespace fw
