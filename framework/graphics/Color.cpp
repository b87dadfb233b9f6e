#include <array>
#include <framework/graphics/Color.h>
#include <strings.h>

namespace fw {

namespace {

// The classic light theme: grey 3D faces (192,192,192), white highlights, grey (128,128,128)
// shadows, black text and frames, navy selection.
constexpr std::array<TColor, 31> SystemColors = {
    RGB(192, 192, 192), // 0 scroll bar
    RGB(0, 128, 128),   // 1 desktop background
    RGB(0, 0, 128),     // 2 active caption
    RGB(128, 128, 128), // 3 inactive caption
    RGB(192, 192, 192), // 4 menu
    RGB(255, 255, 255), // 5 window
    RGB(0, 0, 0),       // 6 window frame
    RGB(0, 0, 0),       // 7 menu text
    RGB(0, 0, 0),       // 8 window text
    RGB(255, 255, 255), // 9 caption text
    RGB(192, 192, 192), // 10 active border
    RGB(192, 192, 192), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(0, 0, 128),     // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(192, 192, 192), // 15 button face
    RGB(128, 128, 128), // 16 button shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(192, 192, 192), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(0, 0, 0),       // 21 3D dark shadow
    RGB(192, 192, 192), // 22 3D light
    RGB(0, 0, 0),       // 23 tooltip text
    RGB(255, 255, 225), // 24 tooltip background
    RGB(0, 0, 0),       // 25 (unused)
    RGB(0, 0, 128),     // 26 hot-tracked item
    RGB(16, 132, 208),  // 27 active caption gradient
    RGB(181, 181, 181), // 28 inactive caption gradient
    RGB(0, 0, 128),     // 29 menu highlight
    RGB(192, 192, 192), // 30 menu bar
};

struct NamedColor {
    TColor Color;
    const char* Name;
};

// Names in the order used for writing: the first entry with a colour wins (clSilver, not clLtGray).
constexpr NamedColor ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

} // namespace

TColor GetSysColor(int index) {
    if (index < 0 || index >= int(SystemColors.size())) return clBlack;
    return SystemColors[std::size_t(index)];
}

TColor ColorToRGB(TColor color) {
    if (color & SystemColorBase) return GetSysColor(int(color & 0xFF));
    return color & 0x00FFFFFF;
}

std::optional<String> ColorToIdent(TColor color) {
    for (const auto& entry : ColorNames)
        if (entry.Color == color) return String(entry.Name);
    return std::nullopt;
}

std::optional<TColor> IdentToColor(const String& ident) {
    for (const auto& entry : ColorNames)
        if (strcasecmp(entry.Name, ident.c_str()) == 0) return entry.Color;
    return std::nullopt;
}

void GetColorValues(const std::function<void(const String&)>& proc) {
    for (const auto& entry : ColorNames)
        proc(entry.Name);
}

} // namespace fw
