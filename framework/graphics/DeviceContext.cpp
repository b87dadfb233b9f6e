#include <algorithm>
#include <climits>
#include <cstdlib>
#include <framework/graphics/DeviceContext.h>
#include <framework/graphics/FontEngine.h>
#include <framework/rtl/Utf8.h>
#include <memory>

namespace fw {

namespace {

constexpr int Huge = INT_MAX / 4;
constexpr TRect Everything{-Huge, -Huge, Huge, Huge};

// On/off run lengths of the styled one-pixel pens.
struct DashPattern {
    int Count;
    int Runs[6];
};
constexpr DashPattern DashPatterns[] = {
    {2, {18, 6}},            // psDash
    {2, {3, 3}},             // psDot
    {4, {9, 6, 3, 6}},       // psDashDot
    {6, {9, 3, 3, 3, 3, 3}}, // psDashDotDot
};

bool DashOn(TPenStyle style, int step) {
    if (style < psDash || style > psDashDotDot) return true;
    const DashPattern& p = DashPatterns[style - psDash];
    int period = 0;
    for (int i = 0; i < p.Count; ++i)
        period += p.Runs[i];
    int pos = step % period;
    for (int i = 0; i < p.Count; ++i) {
        if (pos < p.Runs[i]) return i % 2 == 0;
        pos -= p.Runs[i];
    }
    return true;
}

// Hatch patterns of the hatched brushes, on an 8 x 8 grid tied to the surface.
bool HatchOn(TBrushStyle style, int x, int y) {
    int hx = x & 7;
    int hy = y & 7;
    switch (style) {
    case bsHorizontal:
        return hy == 7;
    case bsVertical:
        return hx == 7;
    case bsFDiagonal:
        return hx == hy;
    case bsBDiagonal:
        return hx == 7 - hy;
    case bsCross:
        return hx == 7 || hy == 7;
    case bsDiagCross:
        return hx == hy || hx == 7 - hy;
    default:
        return true;
    }
}

TRect Normalized(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

TPixel Blend(TPixel under, TPixel over, unsigned alpha) {
    auto mix = [alpha](unsigned a, unsigned b) { return (a * (255 - alpha) + b * alpha + 127) / 255; };
    unsigned r = mix(under & 0xFF, over & 0xFF);
    unsigned g = mix(under >> 8 & 0xFF, over >> 8 & 0xFF);
    unsigned b = mix(under >> 16 & 0xFF, over >> 16 & 0xFF);
    return r | g << 8 | b << 16;
}

template <typename T>
T* MakeStock(std::unique_ptr<T>& slot, auto... args) {
    if (!slot) {
        slot = std::make_unique<T>(args...);
        slot->MarkStock();
    }
    return slot.get();
}

// Every live device context, so that freeing an object can deselect it.
std::vector<TDeviceContext*>& LiveContexts() {
    static std::vector<TDeviceContext*> contexts;
    return contexts;
}

} // namespace

TGdiPen* StockBlackPen() {
    static std::unique_ptr<TGdiPen> pen;
    return MakeStock(pen, psSolid, 1, clBlack);
}
TGdiPen* StockNullPen() {
    static std::unique_ptr<TGdiPen> pen;
    return MakeStock(pen, psClear, 1, clBlack);
}
TGdiBrush* StockWhiteBrush() {
    static std::unique_ptr<TGdiBrush> brush;
    return MakeStock(brush, bsSolid, clWhite);
}
TGdiBrush* StockNullBrush() {
    static std::unique_ptr<TGdiBrush> brush;
    return MakeStock(brush, bsClear, clWhite);
}
TGdiFont* StockSystemFont() {
    static std::unique_ptr<TGdiFont> font;
    // The system font: a bold sans face 16 pixels high (ascent plus descent).
    return MakeStock(font, TLogFont{SystemFontName, 16, true, false, false, false, DEFAULT_CHARSET});
}
TGdiBitmap* StockEmptyBitmap() {
    static std::unique_ptr<TGdiBitmap> bitmap;
    return MakeStock(bitmap);
}

std::vector<TRect> SubtractRect(const std::vector<TRect>& region, const TRect& cut) {
    std::vector<TRect> out;
    for (const TRect& r : region) {
        TRect i = IntersectRects(r, cut);
        if (i.IsEmpty()) {
            out.push_back(r);
            continue;
        }
        if (r.Top < i.Top) out.push_back({r.Left, r.Top, r.Right, i.Top});
        if (i.Bottom < r.Bottom) out.push_back({r.Left, i.Bottom, r.Right, r.Bottom});
        if (r.Left < i.Left) out.push_back({r.Left, i.Top, i.Left, i.Bottom});
        if (i.Right < r.Right) out.push_back({i.Right, i.Top, r.Right, i.Bottom});
    }
    return out;
}

TDeviceContext::TDeviceContext(TSurface* surface, TPoint origin, const TRect* clip)
    : TGdiObject(TGdiKind::DeviceContext), FSurface(surface), FOrigin(origin), FPen(StockBlackPen()),
      FBrush(StockWhiteBrush()), FFont(StockSystemFont()) {
    if (clip) SetClipRect(*clip);
    LiveContexts().push_back(this);
}

TDeviceContext::~TDeviceContext() {
    auto& live = LiveContexts();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void TDeviceContext::DeselectEverywhere(const TGdiObject* object) {
    for (TDeviceContext* dc : LiveContexts()) {
        if (dc->FPen == object) dc->FPen = StockBlackPen();
        if (dc->FBrush == object) dc->FBrush = StockWhiteBrush();
        if (dc->FFont == object) dc->FFont = StockSystemFont();
        if (dc->FBitmap == object) {
            dc->FBitmap = nullptr;
            dc->FSurface = nullptr;
            dc->FClipDirty = true;
        }
    }
}

void TDeviceContext::SetClipRect(const TRect& surfaceRect) {
    FHasClip = true;
    FClip.assign(1, surfaceRect);
    FClipDirty = true;
}

void TDeviceContext::ResetClip() {
    FHasClip = false;
    FClip.clear();
    FClipDirty = true;
}

void TDeviceContext::IntersectClipRect(const TRect& logical) {
    TRect r{logical.Left + FOrigin.X, logical.Top + FOrigin.Y, logical.Right + FOrigin.X,
            logical.Bottom + FOrigin.Y};
    if (!FHasClip) FClip.assign(1, Everything);
    FHasClip = true;
    std::vector<TRect> out;
    for (const TRect& c : FClip)
        if (TRect i = IntersectRects(c, r); !i.IsEmpty()) out.push_back(i);
    FClip = std::move(out);
    FClipDirty = true;
}

void TDeviceContext::ExcludeClipRect(const TRect& logical) {
    TRect r{logical.Left + FOrigin.X, logical.Top + FOrigin.Y, logical.Right + FOrigin.X,
            logical.Bottom + FOrigin.Y};
    if (!FHasClip) FClip.assign(1, Everything);
    FHasClip = true;
    FClip = SubtractRect(FClip, r);
    FClipDirty = true;
}

const std::vector<TRect>& TDeviceContext::ClipRects() const {
    int w = FSurface ? FSurface->Width() : 0;
    int h = FSurface ? FSurface->Height() : 0;
    if (FClipDirty || w != FClipSurfaceW || h != FClipSurfaceH) RebuildClip();
    return FEffectiveClip;
}

void TDeviceContext::RebuildClip() const {
    FEffectiveClip.clear();
    FClipSurfaceW = FSurface ? FSurface->Width() : 0;
    FClipSurfaceH = FSurface ? FSurface->Height() : 0;
    FClipDirty = false;
    if (!FSurface || FSurface->Empty()) return;
    TRect bounds = FSurface->Bounds();
    if (!FHasClip) {
        FEffectiveClip.push_back(bounds);
        return;
    }
    for (const TRect& c : FClip)
        if (TRect i = IntersectRects(c, bounds); !i.IsEmpty()) FEffectiveClip.push_back(i);
}

TRect TDeviceContext::ClipBox() const {
    const auto& rects = ClipRects();
    if (rects.empty()) return {};
    TRect box = rects.front();
    for (const TRect& r : rects) {
        box.Left = std::min(box.Left, r.Left);
        box.Top = std::min(box.Top, r.Top);
        box.Right = std::max(box.Right, r.Right);
        box.Bottom = std::max(box.Bottom, r.Bottom);
    }
    return {box.Left - FOrigin.X, box.Top - FOrigin.Y, box.Right - FOrigin.X, box.Bottom - FOrigin.Y};
}

TGdiObject* TDeviceContext::Select(TGdiObject* object) {
    if (!object) return nullptr;
    TGdiObject* previous = nullptr;
    switch (object->Kind()) {
    case TGdiKind::Pen:
        previous = FPen;
        FPen = static_cast<TGdiPen*>(object);
        break;
    case TGdiKind::Brush:
        previous = FBrush;
        FBrush = static_cast<TGdiBrush*>(object);
        break;
    case TGdiKind::Font:
        previous = FFont;
        FFont = static_cast<TGdiFont*>(object);
        break;
    case TGdiKind::Bitmap:
        previous = FBitmap ? static_cast<TGdiObject*>(FBitmap) : StockEmptyBitmap();
        FBitmap = static_cast<TGdiBitmap*>(object);
        FSurface = FBitmap == StockEmptyBitmap() ? nullptr : &FBitmap->Surface;
        if (FBitmap == StockEmptyBitmap()) FBitmap = nullptr;
        FClipDirty = true;
        break;
    case TGdiKind::DeviceContext:
        break;
    }
    return previous;
}

int TDeviceContext::Save() {
    FSaved.push_back({FOrigin, FHasClip, FClip, FPen, FBrush, FFont, FBitmap, FSurface, TextColor, BkColor,
                      BkMode, PenPos});
    return int(FSaved.size());
}

bool TDeviceContext::Restore(int level) {
    int count = int(FSaved.size());
    if (level < 0) level = count + 1 + level;
    if (level < 1 || level > count) return false;
    SavedState state = std::move(FSaved[std::size_t(level - 1)]);
    FSaved.resize(std::size_t(level - 1));
    FOrigin = state.Origin;
    FHasClip = state.HasClip;
    FClip = std::move(state.Clip);
    FClipDirty = true;
    FPen = IsLiveGdiObject(state.Pen) ? state.Pen : StockBlackPen();
    FBrush = IsLiveGdiObject(state.Brush) ? state.Brush : StockWhiteBrush();
    FFont = IsLiveGdiObject(state.Font) ? state.Font : StockSystemFont();
    if (!state.Bitmap || IsLiveGdiObject(state.Bitmap)) {
        FBitmap = state.Bitmap;
        FSurface = state.Bitmap ? &state.Bitmap->Surface : state.Surface;
    } else {
        FBitmap = nullptr;
        FSurface = nullptr;
    }
    TextColor = state.TextColor;
    BkColor = state.BkColor;
    BkMode = state.BkMode;
    PenPos = state.PenPos;
    return true;
}

// ---------------------------------------------------------------- pixels and fills

void TDeviceContext::FillSurface(const TRect& surfaceRect, TPixel value) {
    for (const TRect& c : ClipRects()) {
        TRect i = IntersectRects(surfaceRect, c);
        if (i.IsEmpty()) continue;
        for (int y = i.Top; y < i.Bottom; ++y)
            FillPixels(FSurface->Row(y) + i.Left, std::size_t(i.Right - i.Left), value);
    }
}

void TDeviceContext::FillSolid(const TRect& r, TColor color) {
    if (!FSurface) return;
    FillSurface({r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y},
                ColorToRGB(color));
}

void TDeviceContext::FillBrush(const TRect& logical, const TGdiBrush& brush) {
    if (!FSurface || brush.Style == bsClear || logical.IsEmpty()) return;
    TRect s{logical.Left + FOrigin.X, logical.Top + FOrigin.Y, logical.Right + FOrigin.X,
            logical.Bottom + FOrigin.Y};
    TPixel color = ColorToRGB(brush.Color);
    if (brush.Style == bsSolid) {
        FillSurface(s, color);
        return;
    }
    TPixel back = ColorToRGB(BkColor);
    for (const TRect& c : ClipRects()) {
        TRect i = IntersectRects(s, c);
        for (int y = i.Top; y < i.Bottom; ++y)
            for (int x = i.Left; x < i.Right; ++x) {
                if (HatchOn(brush.Style, x, y))
                    FSurface->Row(y)[x] = color;
                else if (BkMode == OPAQUE)
                    FSurface->Row(y)[x] = back;
            }
    }
}

void TDeviceContext::FillRect(const TRect& r, const TGdiBrush* brush) {
    if (brush) FillBrush(r, *brush);
}

void TDeviceContext::FrameRect(const TRect& r, const TGdiBrush* brush) {
    if (!brush || r.IsEmpty()) return;
    FillBrush({r.Left, r.Top, r.Right, r.Top + 1}, *brush);
    FillBrush({r.Left, r.Bottom - 1, r.Right, r.Bottom}, *brush);
    FillBrush({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, *brush);
    FillBrush({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, *brush);
}

TColor TDeviceContext::GetPixel(int x, int y) const {
    if (!FSurface) return 0xFFFFFFFF;
    int sx = x + FOrigin.X;
    int sy = y + FOrigin.Y;
    for (const TRect& c : ClipRects())
        if (sx >= c.Left && sx < c.Right && sy >= c.Top && sy < c.Bottom) return FSurface->Row(sy)[sx];
    return 0xFFFFFFFF; // CLR_INVALID: outside the clip
}

void TDeviceContext::SetPixel(int x, int y, TColor color) {
    if (!FSurface) return;
    FillSurface({x + FOrigin.X, y + FOrigin.Y, x + FOrigin.X + 1, y + FOrigin.Y + 1}, ColorToRGB(color));
}

// ---------------------------------------------------------------- lines and rectangles

void TDeviceContext::PlotPen(int x, int y, int width, TPixel value) {
    int sx = x + FOrigin.X;
    int sy = y + FOrigin.Y;
    if (width <= 1) {
        for (const TRect& c : ClipRects())
            if (sx >= c.Left && sx < c.Right && sy >= c.Top && sy < c.Bottom) {
                FSurface->Row(sy)[sx] = value;
                return;
            }
        return;
    }
    int half = width / 2;
    FillSurface({sx - half, sy - half, sx - half + width, sy - half + width}, value);
}

void TDeviceContext::LineTo(int x, int y) {
    TPoint from = PenPos;
    PenPos = {x, y};
    if (!FSurface || !FPen || FPen->Style == psClear) return;
    TPixel color = ColorToRGB(FPen->Color);
    TPixel back = ColorToRGB(BkColor);
    int width = std::max(1, FPen->Width);
    // Styled lines are one pixel wide; their gaps take the background colour in OPAQUE mode.
    bool styled = FPen->Style >= psDash && FPen->Style <= psDashDotDot;
    if (styled) width = 1;
    if (!styled && (from.X == x || from.Y == y) && from != PenPos) {
        // A straight solid line is one fill: the points from the start up to the
        // end, which is left out, each covered by the pen's square.
        auto span = [](int start, int end, int& first, int& last) {
            first = start <= end ? start : end + 1;
            last = start < end ? end - 1 : start;
        };
        int firstX, lastX, firstY, lastY;
        span(from.X, x, firstX, lastX);
        span(from.Y, y, firstY, lastY);
        const int half = width / 2;
        FillSurface({firstX + FOrigin.X - half, firstY + FOrigin.Y - half, lastX + FOrigin.X - half + width,
                     lastY + FOrigin.Y - half + width},
                    color);
        return;
    }
    int x0 = from.X, y0 = from.Y;
    int dx = std::abs(x - x0), dy = std::abs(y - y0);
    int stepX = x0 < x ? 1 : -1, stepY = y0 < y ? 1 : -1;
    int err = dx - dy;
    for (int step = 0; x0 != x || y0 != y; ++step) {
        if (!styled || DashOn(FPen->Style, step))
            PlotPen(x0, y0, width, color);
        else if (BkMode == OPAQUE)
            PlotPen(x0, y0, 1, back);
        int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x0 += stepX;
        }
        if (e2 < dx) {
            err += dx;
            y0 += stepY;
        }
    }
}

void TDeviceContext::Rectangle(int x1, int y1, int x2, int y2) {
    TRect r = Normalized(x1, y1, x2, y2);
    if (r.IsEmpty()) return;
    bool nullPen = !FPen || FPen->Style == psClear;
    if (nullPen) {
        // Without a pen the interior loses its right column and bottom row.
        if (FBrush) FillBrush({r.Left, r.Top, r.Right - 1, r.Bottom - 1}, *FBrush);
        return;
    }
    int w = std::max(1, FPen->Width);
    if (FBrush) FillBrush({r.Left + w, r.Top + w, r.Right - w, r.Bottom - w}, *FBrush);
    bool styled = FPen->Style >= psDash && FPen->Style <= psDashDotDot;
    if (styled) {
        TPoint saved = PenPos;
        MoveTo(r.Left, r.Top);
        LineTo(r.Right - 1, r.Top);
        LineTo(r.Right - 1, r.Bottom - 1);
        LineTo(r.Left, r.Bottom - 1);
        LineTo(r.Left, r.Top);
        PenPos = saved;
        return;
    }
    // Wide pens stay inside the rectangle.
    TPixel color = ColorToRGB(FPen->Color);
    auto fill = [&](int l, int t, int rr, int b) {
        FillSurface({l + FOrigin.X, t + FOrigin.Y, rr + FOrigin.X, b + FOrigin.Y}, color);
    };
    fill(r.Left, r.Top, r.Right, std::min(r.Bottom, r.Top + w));
    fill(r.Left, std::max(r.Top, r.Bottom - w), r.Right, r.Bottom);
    fill(r.Left, r.Top, std::min(r.Right, r.Left + w), r.Bottom);
    fill(std::max(r.Left, r.Right - w), r.Top, r.Right, r.Bottom);
}

// ---------------------------------------------------------------- bitmaps

void TDeviceContext::Blit(const TRect& dest, const TSurface& source, const TRect& src,
                          const TColor* transparent, TColor replacement) {
    if (!FSurface || dest.IsEmpty() || src.IsEmpty() || source.Empty()) return;
    const int dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
    const TPixel key = transparent ? ColorToRGB(*transparent) : 0;
    const TPixel fill = ColorToRGB(replacement);
    TRect s{dest.Left + FOrigin.X, dest.Top + FOrigin.Y, dest.Right + FOrigin.X, dest.Bottom + FOrigin.Y};
    // Copying a surface onto itself must read the original pixels.
    const TSurface* from = &source;
    TSurface copy;
    if (from == FSurface) {
        copy = source;
        from = &copy;
    }
    if (dw == sw && dh == sh) {
        // Unscaled, the common case (button glyphs, lamps): row by row, no division per pixel.
        for (const TRect& c : ClipRects()) {
            // Target pixel x shows source pixel x - dx.
            const int dx = s.Left - src.Left, dy = s.Top - src.Top;
            const TRect i =
                IntersectRects(IntersectRects(s, c), {dx, dy, dx + from->Width(), dy + from->Height()});
            for (int y = i.Top; y < i.Bottom; ++y) {
                const TPixel* in = from->Row(y - dy);
                TPixel* out = FSurface->Row(y);
                for (int x = i.Left; x < i.Right; ++x) {
                    const TPixel p = in[x - dx];
                    out[x] = transparent && p == key ? fill : p;
                }
            }
        }
        return;
    }
    for (const TRect& c : ClipRects()) {
        TRect i = IntersectRects(s, c);
        for (int y = i.Top; y < i.Bottom; ++y) {
            int sy = src.Top + int((long long)(y - s.Top) * sh / dh);
            if (sy < 0 || sy >= from->Height()) continue;
            const TPixel* in = from->Row(sy);
            TPixel* out = FSurface->Row(y);
            for (int x = i.Left; x < i.Right; ++x) {
                int sx = src.Left + int((long long)(x - s.Left) * sw / dw);
                if (sx < 0 || sx >= from->Width()) continue;
                TPixel p = in[sx];
                out[x] = transparent && p == key ? fill : p;
            }
        }
    }
}

// ---------------------------------------------------------------- text

TFontInstance& TDeviceContext::FontInstance() {
    return (FFont ? FFont : StockSystemFont())->Instance();
}

int TDeviceContext::TextWidth(std::string_view text) {
    return FontInstance().TextWidth(text);
}

void TDeviceContext::TextOut(int x, int y, std::string_view text, const TRect* clip, const TRect* opaque) {
    if (!FSurface) return;
    if (opaque) {
        TRect fill = clip ? IntersectRects(*opaque, *clip) : *opaque;
        FillSurface(
            {fill.Left + FOrigin.X, fill.Top + FOrigin.Y, fill.Right + FOrigin.X, fill.Bottom + FOrigin.Y},
            ColorToRGB(BkColor));
    }
    DrawRun(x, y, text, -1, clip, !opaque && BkMode == OPAQUE);
}

void TDeviceContext::TextOutUnderlined(int x, int y, std::string_view text, int underlineIndex,
                                       const TRect* clip) {
    if (!FSurface) return;
    DrawRun(x, y, text, underlineIndex, clip, BkMode == OPAQUE);
}

void TDeviceContext::DrawRun(int x, int y, std::string_view text, int underlineIndex, const TRect* clip,
                             bool fillCell) {
    TFontInstance& font = FontInstance();
    const TFontMetrics& m = font.Metrics();
    const int width = font.TextWidth(text);
    TRect cell{x, y, x + width, y + m.Height};
    TRect limit = clip ? IntersectRects(cell, *clip) : cell;
    auto toSurface = [&](const TRect& r) {
        return TRect{r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y};
    };
    TRect sLimit = clip ? toSurface(*clip) : Everything;
    if (fillCell) FillSurface(toSurface(limit), ColorToRGB(BkColor));

    const TPixel color = ColorToRGB(TextColor);
    const int baseline = y + m.Ascent + FOrigin.Y;
    int pen = x + FOrigin.X;
    const auto& clipRects = ClipRects();
    for (std::size_t pos = 0; pos < text.size();) {
        const int index = int(pos);
        const TGlyph& g = font.Glyph(NextCodePoint(text, pos));
        if (!g.Coverage.empty()) {
            TRect box{pen + g.Left, baseline - g.Top, pen + g.Left + g.Width, baseline - g.Top + g.Height};
            box = IntersectRects(box, sLimit);
            for (const TRect& c : clipRects) {
                TRect i = IntersectRects(box, c);
                for (int yy = i.Top; yy < i.Bottom; ++yy) {
                    const std::uint8_t* cov =
                        g.Coverage.data() + std::size_t(yy - (baseline - g.Top)) * std::size_t(g.Width);
                    const int gx = pen + g.Left;
                    TPixel* out = FSurface->Row(yy);
                    for (int xx = i.Left; xx < i.Right; ++xx) {
                        unsigned a = cov[xx - gx];
                        if (a == 255)
                            out[xx] = color;
                        else if (a)
                            out[xx] = Blend(out[xx], color, a);
                    }
                }
            }
        }
        if (index == underlineIndex) {
            int uy = baseline + m.UnderlinePosition;
            TRect line = IntersectRects({pen, uy, pen + g.Advance, uy + m.LineThickness}, sLimit);
            FillSurface(line, color);
        }
        pen += g.Advance;
    }
    const TLogFont* log = FFont ? &FFont->Log : nullptr;
    if (log && log->Underline) {
        int uy = baseline + m.UnderlinePosition;
        FillSurface(IntersectRects({x + FOrigin.X, uy, pen, uy + m.LineThickness}, sLimit), color);
    }
    if (log && log->StrikeOut) {
        int sy = baseline - m.StrikeOutPosition;
        FillSurface(IntersectRects({x + FOrigin.X, sy, pen, sy + m.LineThickness}, sLimit), color);
    }
}

} // namespace fw
