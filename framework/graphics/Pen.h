#pragma once
// TPen: the colour, style and width of lines and outlines.

#include <framework/graphics/Color.h>
#include <framework/graphics/GraphicsObject.h>

namespace fw {

class TPen : public TGraphicsObject {
    FW_CLASS(TPen, TGraphicsObject)

public:
    TPen() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    int Width() const { return FWidth; }
    void SetWidth(int value);

    TGdiPen* Handle() { return static_cast<TGdiPen*>(HandleObject()); }
    void Assign(const TPersistent* Source) override;

protected:
    std::unique_ptr<TGdiObject> CreateHandleObject() const override;
    bool Describes(const TGdiObject& handle) const override;

private:
    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

} // namespace fw
