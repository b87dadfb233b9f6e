#pragma once
// Rectangle helpers of the window system.

#include <algorithm>
#include <framework/rtl/Types.h>

namespace fw {

inline bool InflateRect(TRect* r, int dx, int dy) {
    if (!r) return false;
    r->Left -= dx;
    r->Top -= dy;
    r->Right += dx;
    r->Bottom += dy;
    return true;
}

inline bool OffsetRect(TRect* r, int dx, int dy) {
    if (!r) return false;
    r->Left += dx;
    r->Right += dx;
    r->Top += dy;
    r->Bottom += dy;
    return true;
}

inline bool SetRect(TRect* r, int left, int top, int right, int bottom) {
    if (!r) return false;
    *r = {left, top, right, bottom};
    return true;
}

inline bool IsRectEmpty(const TRect* r) {
    return !r || r->IsEmpty();
}

// Right and bottom excluded, as the window system tests points.
inline bool PtInRect(const TRect* r, TPoint p) {
    return r && p.X >= r->Left && p.X < r->Right && p.Y >= r->Top && p.Y < r->Bottom;
}

// The common part of a and b; an empty result is (0, 0, 0, 0) and gives false.
inline bool IntersectRect(TRect* out, const TRect* a, const TRect* b) {
    if (!out || !a || !b) return false;
    TRect r{std::max(a->Left, b->Left), std::max(a->Top, b->Top), std::min(a->Right, b->Right),
            std::min(a->Bottom, b->Bottom)};
    if (r.IsEmpty()) r = {};
    *out = r;
    return !r.IsEmpty();
}

} // namespace fw
