#pragma once
// TBrush: the colour and style of fills, and the background of opaque text.

#include <framework/graphics/Color.h>
#include <framework/graphics/GraphicsObject.h>

namespace fw {

class TBrush : public TGraphicsObject {
    FW_CLASS(TBrush, TGraphicsObject)

public:
    TBrush() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);

    TGdiBrush* Handle() { return static_cast<TGdiBrush*>(HandleObject()); }
    void Assign(const TPersistent* Source) override;

protected:
    std::unique_ptr<TGdiObject> CreateHandleObject() const override;
    bool Describes(const TGdiObject& handle) const override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

} // namespace fw
