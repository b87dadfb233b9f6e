#pragma once
// Colours: TColor values, the system colour table and the colour names that form files use.

#include <cstdint>
#include <framework/rtl/Types.h>
#include <functional>
#include <optional>

namespace fw {

// 0x00BBGGRR for an explicit colour; 0x80000000 + index for a system colour.
using TColor = std::uint32_t;

// A pixel of a surface: an explicit colour, 0x00BBGGRR, with the top byte zero.
using TPixel = std::uint32_t;

constexpr TColor SystemColorBase = 0x80000000u;

// System colours (the classic colour indices).
constexpr TColor clScrollBar = SystemColorBase + 0;
constexpr TColor clBackground = SystemColorBase + 1;
constexpr TColor clActiveCaption = SystemColorBase + 2;
constexpr TColor clInactiveCaption = SystemColorBase + 3;
constexpr TColor clMenu = SystemColorBase + 4;
constexpr TColor clWindow = SystemColorBase + 5;
constexpr TColor clWindowFrame = SystemColorBase + 6;
constexpr TColor clMenuText = SystemColorBase + 7;
constexpr TColor clWindowText = SystemColorBase + 8;
constexpr TColor clCaptionText = SystemColorBase + 9;
constexpr TColor clActiveBorder = SystemColorBase + 10;
constexpr TColor clInactiveBorder = SystemColorBase + 11;
constexpr TColor clAppWorkSpace = SystemColorBase + 12;
constexpr TColor clHighlight = SystemColorBase + 13;
constexpr TColor clHighlightText = SystemColorBase + 14;
constexpr TColor clBtnFace = SystemColorBase + 15;
constexpr TColor clBtnShadow = SystemColorBase + 16;
constexpr TColor clGrayText = SystemColorBase + 17;
constexpr TColor clBtnText = SystemColorBase + 18;
constexpr TColor clInactiveCaptionText = SystemColorBase + 19;
constexpr TColor clBtnHighlight = SystemColorBase + 20;
constexpr TColor cl3DDkShadow = SystemColorBase + 21;
constexpr TColor cl3DLight = SystemColorBase + 22;
constexpr TColor clInfoText = SystemColorBase + 23;
constexpr TColor clInfoBk = SystemColorBase + 24;

// Named colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(int r, int g, int b) {
    return TColor(r & 0xFF) | TColor(g & 0xFF) << 8 | TColor(b & 0xFF) << 16;
}
constexpr int GetRValue(TColor c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
    return int(c >> 8 & 0xFF);
}
constexpr int GetBValue(TColor c) {
    return int(c >> 16 & 0xFF);
}

// The RGB value of a system colour in the classic light theme (index 0-30; others give black).
TColor GetSysColor(int index);

// Resolves a system colour through the table; an explicit colour keeps its low 24 bits.
TColor ColorToRGB(TColor color);

// Colour names as form files write them ("clBtnFace"); unnamed colours have no identifier.
std::optional<String> ColorToIdent(TColor color);
std::optional<TColor> IdentToColor(const String& ident);
// Calls proc with every colour name, in the table's order (the designer's colour list).
void GetColorValues(const std::function<void(const String&)>& proc);

} // namespace fw
