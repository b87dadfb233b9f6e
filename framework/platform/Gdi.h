#pragma once
// The drawing calls of the window system, over the framework's own device contexts and objects.
// Handles are typed pointers to those objects; a call given a dead or foreign handle does nothing
// and reports failure.

#include <framework/graphics/DeviceContext.h>
#include <framework/graphics/GdiObjects.h>

namespace fw {

class TResourceModule;

using HGDIOBJ = TGdiObject*;
using HPEN = TGdiPen*;
using HBRUSH = TGdiBrush*;
using HFONT = TGdiFont*;
using HBITMAP = TGdiBitmap*;
using HDC = TDeviceContext*;
using HINSTANCE = TResourceModule*;
using COLORREF = TColor;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
HGDIOBJ GetStockObject(int which);

// Pen styles (the same numbers as TPenStyle) and hatch styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

constexpr unsigned SRCCOPY = 0x00CC0020;

// ---- device contexts
// GetDC(0): a context for the screen, carrying the system font (tmHeight 16). It draws on the
// screen surface when the backend has registered one, otherwise only measures.
HDC GetDC(int screen);
int ReleaseDC(int screen, HDC dc);
void SetScreenSurface(TSurface* surface);
// A context on a surface: logical (0, 0) is at origin, drawing stays inside clip (surface
// coordinates). Windows and controls paint through these; free with DeleteDC.
HDC CreateSurfaceDC(TSurface* surface, TPoint origin, const TRect& clip);
// A memory context: draws on the bitmap selected into it.
HDC CreateCompatibleDC(HDC dc);
bool DeleteDC(HDC dc);

// ---- objects
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrush(TBrushStyle style, COLORREF color);
HFONT CreateFontIndirect(const TLogFont& font);
// A bitmap of the given size, filled with white, or holding a copy of the surface.
HBITMAP CreateBitmap(int width, int height);
HBITMAP CreateBitmapFromSurface(TSurface surface);
// Selects an object and returns the one of the same kind it replaces (nullptr on failure).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Frees an object; stock objects and dead handles are refused. A context that still holds the
// object gets the stock object of its kind instead.
bool DeleteObject(HGDIOBJ object);
// The surface a bitmap handle holds (nullptr for a dead handle).
TSurface* BitmapSurface(HBITMAP bitmap);

// ---- state
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF GetBkColor(HDC dc);

// Saves and restores a context's state (origin, clip, objects, colours); see TDeviceContext::Save.
int SaveDC(HDC dc);
bool RestoreDC(HDC dc, int level);
// Moves the context's logical origin to the surface point (x, y).
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous);

// ---- clipping (logical coordinates)
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, TRect* rect);

// ---- drawing
bool MoveToEx(HDC dc, int x, int y, TPoint* previous);
bool LineTo(HDC dc, int x, int y);
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
int FillRect(HDC dc, const TRect* rect, HBRUSH brush);
int FrameRect(HDC dc, const TRect* rect, HBRUSH brush);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, unsigned rop);
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                unsigned rop);

} // namespace fw
