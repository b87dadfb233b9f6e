#include <framework/controls/Chrome.h>

namespace fw {

void DrawSolidLine(HDC dc, int x1, int y1, int x2, int y2, TColor color) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void FillSolid(HDC dc, const TRect& r, TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

} // namespace fw
