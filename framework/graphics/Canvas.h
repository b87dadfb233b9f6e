#pragma once
// TCanvas: drawing with a pen, a brush and a font on a device context.
//
// Every operation first selects the canvas's pen, brush and font into the context and sets
// the text colour (the font's), the background colour (the brush's) and the background mode
// (opaque for a solid brush, transparent for bsClear). Handle() does the same, so platform
// calls made on Handle() draw with the canvas's current settings.

#include <framework/graphics/Brush.h>
#include <framework/graphics/DeviceContext.h>
#include <framework/graphics/Font.h>
#include <framework/graphics/Pen.h>
#include <memory>
#include <string_view>

namespace fw {

class TBitmap;

class TCanvas : public TPersistent {
    FW_CLASS(TCanvas, TPersistent)

public:
    TCanvas();
    ~TCanvas() override;

    // The device context, with the canvas's objects selected (nullptr when there is none).
    TDeviceContext* Handle();
    // Attaches a device context (nullptr detaches). The canvas does not own it; the context
    // it leaves gets its stock objects back.
    void SetHandle(TDeviceContext* dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    TFont* Font() { return &FFont; }
    void SetPen(const TPen* value) { FPen.Assign(value); }
    void SetBrush(const TBrush* value) { FBrush.Assign(value); }
    void SetFont(const TFont* value) { FFont.Assign(value); }

    TPoint PenPos();
    void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
    // The clip box in the canvas's coordinates.
    TRect ClipRect();

    void MoveTo(int x, int y);
    // A line from the pen position to (x, y); the end point is not drawn.
    void LineTo(int x, int y);
    // Outline with the pen, interior with the brush; Right and Bottom are outside.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& r);
    void TextOut(int x, int y, std::string_view text);
    // Fills r with the brush (unless bsClear), then draws text at (x, y) clipped to r.
    void TextRect(const TRect& r, int x, int y, std::string_view text);
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);
    TPoint TextExtent(std::string_view text);
    // Draws the bitmap with its top-left corner at (x, y).
    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& r, TBitmap* bitmap);
    // Copies source of the bitmap to dest; pixels of the colour color take the brush colour.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);
    // Copies source of another canvas to dest of this one.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called when a context is needed and none is attached (a control's canvas gets one here).
    virtual void CreateHandle() {}
    // Selects the objects and colours; false when there is no context.
    bool RequiredState();
    void Changing();
    void Changed();

private:
    TDeviceContext* FHandle = nullptr;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
};

} // namespace fw
