#include <framework/classes/Published.h>
#include <framework/graphics/Brush.h>
#include <framework/graphics/Pen.h>

namespace fw {

FW_PUBLISH(TPen) {
    cls.Color("Color", &TPen::Color, &TPen::SetColor, clBlack);
    cls.Enum("Style", &TPen::Style, &TPen::SetStyle,
             {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
             psSolid);
    cls.Int("Width", &TPen::Width, &TPen::SetWidth, 1);
}

void TPen::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TPen::SetWidth(int value) {
    if (value < 0 || value == FWidth) return;
    FWidth = value;
    Changed();
}

void TPen::Assign(const TPersistent* Source) {
    if (auto* pen = dynamic_cast<const TPen*>(Source)) {
        if (pen == this) return;
        FColor = pen->FColor;
        FStyle = pen->FStyle;
        FWidth = pen->FWidth;
        Changed();
        return;
    }
    inherited::Assign(Source);
}

std::unique_ptr<TGdiObject> TPen::CreateHandleObject() const {
    return std::make_unique<TGdiPen>(FStyle, FWidth, FColor);
}

bool TPen::Describes(const TGdiObject& handle) const {
    if (handle.Kind() != TGdiKind::Pen) return false;
    const auto& pen = static_cast<const TGdiPen&>(handle);
    return pen.Style == FStyle && pen.Width == FWidth && pen.Color == FColor;
}

FW_PUBLISH(TBrush) {
    cls.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite);
    cls.Enum("Style", &TBrush::Style, &TBrush::SetStyle,
             {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
              "bsDiagCross"},
             bsSolid);
}

void TBrush::SetColor(TColor value) {
    if (value == FColor && FStyle != bsClear) return;
    FColor = value;
    // Classic behaviour: giving a clear brush a colour makes it solid again.
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TBrush::Assign(const TPersistent* Source) {
    if (auto* brush = dynamic_cast<const TBrush*>(Source)) {
        if (brush == this) return;
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        Changed();
        return;
    }
    inherited::Assign(Source);
}

std::unique_ptr<TGdiObject> TBrush::CreateHandleObject() const {
    return std::make_unique<TGdiBrush>(FStyle, FColor);
}

bool TBrush::Describes(const TGdiObject& handle) const {
    if (handle.Kind() != TGdiKind::Brush) return false;
    const auto& brush = static_cast<const TGdiBrush&>(handle);
    return brush.Style == FStyle && brush.Color == FColor;
}

} // namespace fw
