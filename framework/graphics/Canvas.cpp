#include <framework/classes/Published.h>
#include <framework/graphics/Bitmap.h>
#include <framework/graphics/Canvas.h>
#include <framework/graphics/FontEngine.h>

namespace fw {

FW_PUBLISH(TCanvas) {}

TCanvas::TCanvas() {
    // A change of the pen, brush or font takes effect at the next operation; only
    // TCanvas's own OnChange listeners need to hear about it.
    FPen.OnChange = [this](TObject*) { Changed(); };
    FBrush.OnChange = [this](TObject*) { Changed(); };
    FFont.OnChange = [this](TObject*) { Changed(); };
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

void TCanvas::SetHandle(TDeviceContext* dc) {
    if (dc == FHandle) return;
    if (FHandle && IsLiveGdiObject(FHandle)) {
        FHandle->Select(StockBlackPen());
        FHandle->Select(StockWhiteBrush());
        FHandle->Select(StockSystemFont());
    }
    FHandle = dc;
}

bool TCanvas::RequiredState() {
    if (!FHandle) CreateHandle();
    if (!FHandle) return false;
    FHandle->Select(FPen.Handle());
    FHandle->Select(FBrush.Handle());
    FHandle->Select(FFont.Handle());
    FHandle->TextColor = FFont.Color();
    FHandle->BkColor = FBrush.Color();
    FHandle->BkMode = FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE;
    return true;
}

TDeviceContext* TCanvas::Handle() {
    RequiredState();
    return FHandle;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
    return RequiredState() ? FHandle->PenPos : TPoint{};
}

TRect TCanvas::ClipRect() {
    return RequiredState() ? FHandle->ClipBox() : TRect{};
}

void TCanvas::MoveTo(int x, int y) {
    if (RequiredState()) FHandle->MoveTo(x, y);
}

void TCanvas::LineTo(int x, int y) {
    if (!RequiredState()) return;
    Changing();
    FHandle->LineTo(x, y);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (!RequiredState()) return;
    Changing();
    FHandle->Rectangle(x1, y1, x2, y2);
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    if (!RequiredState()) return;
    Changing();
    FHandle->FillRect(r, FBrush.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    if (!RequiredState()) return;
    Changing();
    FHandle->FrameRect(r, FBrush.Handle());
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    if (!RequiredState()) return;
    Changing();
    FHandle->TextOut(x, y, text);
    FHandle->MoveTo(x + FHandle->TextWidth(text), y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
    if (!RequiredState()) return;
    Changing();
    FHandle->TextOut(x, y, text, &r, FBrush.Style() != bsClear ? &r : nullptr);
    Changed();
}

int TCanvas::TextWidth(std::string_view text) {
    return TextExtent(text).X;
}

int TCanvas::TextHeight(std::string_view text) {
    return TextExtent(text).Y;
}

TPoint TCanvas::TextExtent(std::string_view text) {
    // Measuring needs no context: the font alone decides.
    TFontInstance& font = FFont.Handle()->Instance();
    return {font.TextWidth(text), font.Metrics().Height};
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty() || !RequiredState()) return;
    Changing();
    const TSurface& s = *bitmap->Surface();
    FHandle->Blit({x, y, x + s.Width(), y + s.Height()}, s, s.Bounds());
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty() || !RequiredState()) return;
    Changing();
    const TSurface& s = *bitmap->Surface();
    FHandle->Blit(r, s, s.Bounds());
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
    if (!bitmap || bitmap->Empty() || !RequiredState()) return;
    Changing();
    FHandle->Blit(dest, *bitmap->Surface(), source, &color, FBrush.Color());
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (!canvas || !RequiredState() || !canvas->RequiredState()) return;
    TDeviceContext* from = canvas->FHandle;
    if (!from->Surface()) return;
    Changing();
    TPoint o = from->Origin();
    FHandle->Blit(dest, *from->Surface(),
                  {source.Left + o.X, source.Top + o.Y, source.Right + o.X, source.Bottom + o.Y});
    Changed();
}

TColor TCanvas::Pixel(int x, int y) {
    return RequiredState() ? FHandle->GetPixel(x, y) : 0xFFFFFFFF;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (!RequiredState()) return;
    Changing();
    FHandle->SetPixel(x, y, color);
    Changed();
}

} // namespace fw
