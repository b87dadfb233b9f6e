#pragma once
// The small types controls and forms share: shift states, mouse buttons,
// control styles and states, cursors, border styles, alignment, modal results,
// window-creation parameters and the event signatures.

#include <framework/classes/Set.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/Types.h>
#include <functional>
#include <vector>

namespace fw {

class TObject;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// What a control class can do; set by its constructor.
enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse, // keeps the mouse from press to release
    csDesignInteractive,
    csClickEvents, // a press and release inside make a Click
    csFramed,
    csSetCaption,
    csOpaque,       // paints every pixel of its bounds
    csDoubleClicks, // a second press soon after the first is a double click
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable, // can be painted as copies (a data-aware control grid)
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using TControlStyle = Set<TControlStyleItem>;

// What is happening to a control right now.
enum TControlStateItem {
    csLButtonDown,
    csClicked, // pressed with csClickEvents; a release inside clicks
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing, // inside a focus change towards this control
    csCreating,
    csPaintCopy, // painted as a copy of another record
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
};
using TControlState = Set<TControlStateItem>;

// Pointer shapes: stored values, published by name.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSize = -22;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;

enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Frames of forms and of edits (an edit knows only bsNone and bsSingle).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Modal results: what ShowModal returns.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

// What CreateParams fills in when a control's window is made.
struct TCreateParams {
    String Caption;
    Cardinal Style = 0;
    Cardinal ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    String WinClassName;
};

// Event signatures.
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, Char& Key)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TObject*& DragObject)>;

// Identifier tables shared by the published-property declarations.
extern const std::vector<String> AlignmentNames;
extern const std::vector<String> BorderStyleNames;     // bsNone, bsSingle
extern const std::vector<String> FormBorderStyleNames; // all six
extern const std::vector<String> DragModeNames;
extern const std::vector<String> CharCaseNames;
extern const std::vector<String> AlignNames;

// The identifier table of cursor properties ("crHandPoint"), plugged into the
// form files by RegisterControlIdents (every control's constructor calls it).
inline const String CursorIdentKind = "TCursor";
void RegisterControlIdents();

} // namespace fw
