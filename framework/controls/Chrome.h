#pragma once
// Drawing helpers for the framework's own window chrome (frames, edges,
// caption bars): a one-pixel line and a solid fill in a colour, drawn straight
// on a device context without touching its selected pen or brush.

#include <framework/graphics/Color.h>
#include <framework/platform/Gdi.h>

namespace fw {

// A one-pixel line from (x1, y1) up to, but not including, (x2, y2).
void DrawSolidLine(HDC dc, int x1, int y1, int x2, int y2, TColor color);
// Fills r (right and bottom exclusive) with color.
void FillSolid(HDC dc, const TRect& r, TColor color);

} // namespace fw
