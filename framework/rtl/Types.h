#pragma once
// Basic value types shared by every layer: strings, dates, points and rectangles.

#include <cstdint>
#include <string>

namespace fw {

// Texts are byte strings, as the date routines and form files see them.
using String = std::string;

// Days since 30 December 1899 (day 0); the fraction is the time of day.
using TDateTime = double;

// One character, as typed and as key filters see it: a Unicode code point.
using Char = char32_t;

using Word = std::uint16_t;
using Cardinal = std::uint32_t;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle with Right and Bottom exclusive where the drawing rules say so;
// some callers (the popup grid) keep inclusive edges in the same record.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) {
    return {x, y};
}

// A + B as a coordinate: kept inside the int range instead of overflowing, for
// positions that come from settings holding any integer.
constexpr int ClampedSum(std::int64_t a, std::int64_t b) {
    const std::int64_t sum = a + b;
    return sum < INT32_MIN ? INT32_MIN : sum > INT32_MAX ? INT32_MAX : static_cast<int>(sum);
}
inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}

} // namespace fw
