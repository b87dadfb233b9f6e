#include <framework/platform/Gdi.h>
#include <memory>

namespace fw {

namespace {

// The backend's screen surface, when it has one.
TSurface*& ScreenSurface() {
    static TSurface* surface = nullptr;
    return surface;
}

bool Live(const void* handle) {
    return IsLiveGdiObject(handle);
}

template <typename T, typename... Args>
T* Make(Args&&... args) {
    // The handle owns the object until DeleteObject (or DeleteDC) frees it.
    return std::make_unique<T>(std::forward<Args>(args)...).release();
}

TSurface* SourceSurface(HDC dc) {
    return Live(dc) ? dc->Surface() : nullptr;
}

} // namespace

HGDIOBJ GetStockObject(int which) {
    switch (which) {
    case WHITE_BRUSH:
        return StockWhiteBrush();
    case NULL_BRUSH:
        return StockNullBrush();
    case BLACK_BRUSH: {
        static std::unique_ptr<TGdiBrush> black;
        if (!black) {
            black = std::make_unique<TGdiBrush>(bsSolid, clBlack);
            black->MarkStock();
        }
        return black.get();
    }
    case BLACK_PEN:
        return StockBlackPen();
    case NULL_PEN:
        return StockNullPen();
    case SYSTEM_FONT:
        return StockSystemFont();
    default:
        return nullptr;
    }
}

HDC GetDC(int screen) {
    if (screen != 0) return nullptr;
    TSurface* surface = ScreenSurface();
    if (!surface) return Make<TDeviceContext>();
    return Make<TDeviceContext>(surface, TPoint{}, nullptr);
}

int ReleaseDC(int, HDC dc) {
    return DeleteDC(dc) ? 1 : 0;
}

void SetScreenSurface(TSurface* surface) {
    ScreenSurface() = surface;
}

HDC CreateSurfaceDC(TSurface* surface, TPoint origin, const TRect& clip) {
    return Make<TDeviceContext>(surface, origin, &clip);
}

HDC CreateCompatibleDC(HDC) {
    HDC dc = Make<TDeviceContext>();
    dc->SetMemory(true);
    return dc;
}

bool DeleteDC(HDC dc) {
    if (!Live(dc) || dc->Kind() != TGdiKind::DeviceContext) return false;
    delete dc;
    return true;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) style = PS_SOLID;
    return Make<TGdiPen>(TPenStyle(style), width, color);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return Make<TGdiBrush>(bsSolid, color);
}

HBRUSH CreateBrush(TBrushStyle style, COLORREF color) {
    return Make<TGdiBrush>(style, color);
}

HFONT CreateFontIndirect(const TLogFont& font) {
    return Make<TGdiFont>(font);
}

HBITMAP CreateBitmap(int width, int height) {
    return Make<TGdiBitmap>(TSurface(width, height, clWhite));
}

HBITMAP CreateBitmapFromSurface(TSurface surface) {
    return Make<TGdiBitmap>(std::move(surface));
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!Live(dc) || !Live(object) || object->Kind() == TGdiKind::DeviceContext) return nullptr;
    return dc->Select(object);
}

bool DeleteObject(HGDIOBJ object) {
    if (!Live(object) || object->Stock() || object->Kind() == TGdiKind::DeviceContext) return false;
    TDeviceContext::DeselectEverywhere(object);
    delete object;
    return true;
}

TSurface* BitmapSurface(HBITMAP bitmap) {
    if (!Live(bitmap) || bitmap->Kind() != TGdiKind::Bitmap) return nullptr;
    return &bitmap->Surface;
}

int SetBkMode(HDC dc, int mode) {
    if (!Live(dc) || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = dc->BkMode;
    dc->BkMode = TBkMode(mode);
    return old;
}

int GetBkMode(HDC dc) {
    return Live(dc) ? dc->BkMode : 0;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    if (!Live(dc)) return CLR_INVALID;
    COLORREF old = dc->BkColor;
    dc->BkColor = color;
    return old;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    if (!Live(dc)) return CLR_INVALID;
    COLORREF old = dc->TextColor;
    dc->TextColor = color;
    return old;
}

COLORREF GetTextColor(HDC dc) {
    return Live(dc) ? dc->TextColor : CLR_INVALID;
}
COLORREF GetBkColor(HDC dc) {
    return Live(dc) ? dc->BkColor : CLR_INVALID;
}

namespace {
// Region kinds that the clipping calls report.
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

int RegionKind(HDC dc) {
    auto count = dc->ClipRects().size();
    return count == 0 ? NULLREGION : count == 1 ? SIMPLEREGION : COMPLEXREGION;
}
} // namespace

int SaveDC(HDC dc) {
    return Live(dc) ? dc->Save() : 0;
}

bool RestoreDC(HDC dc, int level) {
    return Live(dc) && dc->Restore(level);
}

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous) {
    if (!Live(dc)) return false;
    if (previous) *previous = dc->Origin();
    dc->SetOrigin({x, y});
    return true;
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    if (!Live(dc)) return 0;
    dc->IntersectClipRect({left, top, right, bottom});
    return RegionKind(dc);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    if (!Live(dc)) return 0;
    dc->ExcludeClipRect({left, top, right, bottom});
    return RegionKind(dc);
}

int GetClipBox(HDC dc, TRect* rect) {
    if (!Live(dc) || !rect) return 0;
    *rect = dc->ClipBox();
    return RegionKind(dc);
}

bool MoveToEx(HDC dc, int x, int y, TPoint* previous) {
    if (!Live(dc)) return false;
    if (previous) *previous = dc->PenPos;
    dc->MoveTo(x, y);
    return true;
}

bool LineTo(HDC dc, int x, int y) {
    if (!Live(dc)) return false;
    dc->LineTo(x, y);
    return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
    if (!Live(dc)) return false;
    dc->Rectangle(left, top, right, bottom);
    return true;
}

int FillRect(HDC dc, const TRect* rect, HBRUSH brush) {
    if (!Live(dc) || !rect || !Live(brush)) return 0;
    dc->FillRect(*rect, brush);
    return 1;
}

int FrameRect(HDC dc, const TRect* rect, HBRUSH brush) {
    if (!Live(dc) || !rect || !Live(brush)) return 0;
    dc->FrameRect(*rect, brush);
    return 1;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    if (!Live(dc)) return CLR_INVALID;
    dc->SetPixel(x, y, color);
    return ColorToRGB(color);
}

COLORREF GetPixel(HDC dc, int x, int y) {
    return Live(dc) ? dc->GetPixel(x, y) : CLR_INVALID;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, unsigned rop) {
    return StretchBlt(dest, x, y, width, height, source, sx, sy, width, height, rop);
}

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                unsigned rop) {
    if (!Live(dest) || rop != SRCCOPY) return false;
    TSurface* from = SourceSurface(source);
    if (!from) return false;
    TPoint o = source->Origin();
    dest->Blit({x, y, x + width, y + height}, *from, {sx + o.X, sy + o.Y, sx + o.X + sw, sy + o.Y + sh});
    return true;
}

} // namespace fw
