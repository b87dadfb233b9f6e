// Identifier tables of the controls' published enumerations and cursors.

#include <cstdint>
#include <framework/classes/Published.h>
#include <framework/controls/ControlTypes.h>
#include <strings.h>

namespace fw {

const std::vector<String> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<String> BorderStyleNames{"bsNone", "bsSingle"};
const std::vector<String> FormBorderStyleNames{"bsNone",   "bsSingle",     "bsSizeable",
                                               "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const std::vector<String> DragModeNames{"dmManual", "dmAutomatic"};
const std::vector<String> CharCaseNames{"ecNormal", "ecUpperCase", "ecLowerCase"};
const std::vector<String> AlignNames{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};

namespace {

struct TCursorName {
    TCursor Value;
    const char* Name;
};

constexpr TCursorName CursorNames[] = {
    {crDefault, "crDefault"},
    {crNone, "crNone"},
    {crArrow, "crArrow"},
    {crCross, "crCross"},
    {crIBeam, "crIBeam"},
    {crSize, "crSize"},
    {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},
    {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"},
};

bool CursorRegistered = false;

} // namespace

void RegisterControlIdents() {
    if (CursorRegistered) return;
    CursorRegistered = true;
    RegisterIntegerIdents(
        CursorIdentKind,
        [](std::int64_t value, String& ident) {
            for (const auto& c : CursorNames)
                if (c.Value == value) {
                    ident = c.Name;
                    return true;
                }
            return false;
        },
        [](const String& ident, std::int64_t& value) {
            for (const auto& c : CursorNames)
                if (strcasecmp(c.Name, ident.c_str()) == 0) {
                    value = c.Value;
                    return true;
                }
            return false;
        });
}

} // namespace fw
