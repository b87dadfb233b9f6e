#pragma once
// Text calls of the window system: metrics, measuring and formatted drawing.

#include <cstdint>
#include <framework/platform/Gdi.h>

namespace fw {

// DrawTextA flags.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_EXTERNALLEADING = 0x0200;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_HIDEPREFIX = 0x00100000;

// ExtTextOutA options.
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;

struct TEXTMETRICA {
    std::int32_t tmHeight = 0;
    std::int32_t tmAscent = 0;
    std::int32_t tmDescent = 0;
    std::int32_t tmInternalLeading = 0;
    std::int32_t tmExternalLeading = 0;
    std::int32_t tmAveCharWidth = 0;
    std::int32_t tmMaxCharWidth = 0;
    std::int32_t tmWeight = 0;
    std::int32_t tmOverhang = 0;
    std::int32_t tmDigitizedAspectX = 0;
    std::int32_t tmDigitizedAspectY = 0;
    char tmFirstChar = 0;
    char tmLastChar = 0;
    char tmDefaultChar = 0;
    char tmBreakChar = 0;
    std::uint8_t tmItalic = 0;
    std::uint8_t tmUnderlined = 0;
    std::uint8_t tmStruckOut = 0;
    std::uint8_t tmPitchAndFamily = 0;
    std::uint8_t tmCharSet = 0;
};
using TTextMetric = TEXTMETRICA;

struct SIZE {
    int cx = 0;
    int cy = 0;
};

// Metrics of the font selected into dc: tmHeight is ascent plus descent, each rounded up;
// tmAveCharWidth the weighted average advance of a-z and space.
bool GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);

// Width and height of the first count characters (-1: up to the terminating zero).
bool GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size);

// Draws text with its cell's top-left corner at (x, y), in the text colour; in OPAQUE mode the
// cell is filled with the background colour first.
bool TextOutA(HDC dc, int x, int y, const char* text, int count);

// TextOutA with options: ETO_OPAQUE fills rect with the background colour, ETO_CLIPPED keeps the
// text inside rect.
bool ExtTextOutA(HDC dc, int x, int y, unsigned options, const TRect* rect, const char* text, int count);

// Formatted text in a rectangle: alignment, vertical placement (single line), line and word
// breaks, '&' prefixes (underlined; "&&" is "&") and DT_CALCRECT measuring. Returns the height
// of the text (for DT_VCENTER and DT_BOTTOM, the offset of its bottom from rect's top).
int DrawTextA(HDC dc, const char* text, int count, TRect* rect, unsigned format);

} // namespace fw
