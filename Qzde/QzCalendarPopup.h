#pragma once
// The popup month calendar TfrmQzCal and its settings types.
//
// The popup shows one month as six weeks of seven days under a title line ("mmmm
// yyyy") with four navigation buttons and a row of two-letter weekday names. It is
// made afresh for every opening, with its opener as owner: a date edit (or a
// descendant) or a TQzCalendar. It reads its settings and its starting date from the
// opener when it is made, places itself on the screen, and ends with mrOk (the
// picked date is in Date) or mrCancel. While it is open it mirrors the selected date
// into a date edit opener's text, and it puts the opening text back on a cancel.
//
// The calling protocol of an opener:
//
//     if (OnOpenCalendar) OnOpenCalendar(this);
//     Result = TfrmQzCal::Run(this, [this](fw::TDateTime D) { SetDate(D); });  // freed on every path
//     ... (a date edit takes the focus back) ...
//     if (OnCloseCalendar) OnCloseCalendar(this);
//
// The popup is painted entirely on its canvas: FormPaint draws the whole window,
// DrawSelector only the old and the new selected cell, DrawButton one navigation
// button. The model, the painting and the input handling live in
// QzCalendarPopupModel.cpp, QzCalendarPopupPaint.cpp and QzCalendarPopupInput.cpp.

#include <Qzde/QzDateRange.h>
#include <array>
#include <cstdint>
#include <functional>
#include <framework/classes/Published.h>
#include <framework/classes/Set.h>
#include <framework/controls/Timer.h>
#include <framework/forms/Form.h>
#include <framework/graphics/Bitmap.h>
#include <framework/graphics/Color.h>
#include <memory>

namespace qz {

class TQzDateEdit;

// The weekday the popup's grid starts its weeks on.
enum TWeekStart : std::uint8_t {
    wsSunday,
    wsMonday,
    wsTuesday,
    wsWednesday,
    wsThursday,
    wsFriday,
    wsSaturday
};

// csStandard: a borderless popup below its opener; csDialog: a dialog frame with a caption.
enum TCalendarStyles : std::uint8_t { csStandard, csDialog };

// Whether a value (possibly cast from an integer) is one of the enumeration's
// values. Setters ignore any other value: the popup turns the week start into
// grid and name indexes.
constexpr bool IsWeekStart(TWeekStart Value) {
    return Value <= wsSaturday;
}
constexpr bool IsCalendarStyle(TCalendarStyles Value) {
    return Value <= csDialog;
}

// The identifiers form files write for the two settings above, by ordinal.
inline fw::TEnumNames WeekStartIdents() {
    return {"wsSunday", "wsMonday", "wsTuesday", "wsWednesday", "wsThursday", "wsFriday", "wsSaturday"};
}
inline fw::TEnumNames CalendarStyleIdents() {
    return {"csStandard", "csDialog"};
}

// Optional features of the popup, all off by default: a frame on today's cell
// and the T key that selects today; ISO 8601 week numbers in a column before
// the first weekday; paging by the mouse wheel (a month a notch, a year with
// Ctrl); closing as Escape does on a click anywhere outside the popup or when
// the program loses the desktop's activation (without it the popup stays
// modal: such a click rings the bell and brings the popup to the front).
// A foot row under the grid with a Today button (selects today) and a Clear
// button (closes the popup with no date).
// coZoomViews: the title (or Ctrl+Up) zooms out to the twelve months of the
// year and again to twelve years; choosing one zooms back in.
enum TCalendarOption : std::uint8_t {
    coShowToday,
    coWeekNumbers,
    coWheelPaging,
    coCloseOnClickOutside,
    coTodayButton,
    coClearButton,
    coZoomViews
};
using TCalendarOptions = fw::Set<TCalendarOption>;
inline fw::TEnumNames CalendarOptionIdents() {
    return {"coShowToday",   "coWeekNumbers", "coWheelPaging", "coCloseOnClickOutside",
            "coTodayButton", "coClearButton", "coZoomViews"};
}
// The options a set may hold; the setters drop any other bit.
constexpr TCalendarOptions KnownCalendarOptions(TCalendarOptions Value) {
    return TCalendarOptions::FromBits(Value.Bits() & 0x7F);
}

// What the popup shows: the days of a month, the months of a year, or twelve
// years (a decade with a year either side).
enum TCalendarView : std::uint8_t { cvDays, cvMonths, cvYears };

// How the popup shows one day, as an opener's OnDayStyle gives it: bold
// digits, a colour of their own (clNone: the classic colour) and a hint
// (shown while the pointer rests on the day). Greyed days stay grey.
struct TDayStyle {
    bool Bold = false;
    fw::TColor Color = fw::clNone;
    fw::String Hint;
};
// Asked for days inside the range: setting Disabled refuses the day like one
// outside MinDate-MaxDate.
using TDayDisabledEvent = std::function<void(fw::TObject* Sender, fw::TDateTime Date, bool& Disabled)>;
// Asked once for each day the popup shows, when it builds a month.
using TDayStyleEvent = std::function<void(fw::TObject* Sender, fw::TDateTime Date, TDayStyle& Style)>;

// The popup's settings as its openers publish them: the date edit and the
// calendar component both hold one. The setters only store (a value outside
// its enumeration, or an unknown option bit, is ignored).
class TQzCalendarSettings {
public:
    // The caption of a csDialog popup.
    const fw::String& CalendarCaption() const { return FCalendarCaption; }
    void SetCalendarCaption(const fw::String& Value) { FCalendarCaption = Value; }
    // Whether the days of the neighbouring months fill the grid.
    bool CalendarFillPage() const { return FCalendarFillPage; }
    void SetCalendarFillPage(bool Value) { FCalendarFillPage = Value; }
    TCalendarStyles CalendarStyle() const { return FCalendarStyle; }
    void SetCalendarStyle(TCalendarStyles Value) {
        if (IsCalendarStyle(Value)) FCalendarStyle = Value;
    }
    fw::TColor CalendarWeekendColor() const { return FCalendarWeekendColor; }
    void SetCalendarWeekendColor(fw::TColor Value) { FCalendarWeekendColor = Value; }
    TWeekStart CalendarWeekStart() const { return FCalendarWeekStart; }
    void SetCalendarWeekStart(TWeekStart Value) {
        if (IsWeekStart(Value)) FCalendarWeekStart = Value;
    }
    // The permitted range (0: that end open). The popup greys and refuses the
    // days outside it.
    fw::TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(fw::TDateTime Value) { FMinDate = Value; }
    fw::TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(fw::TDateTime Value) { FMaxDate = Value; }
    TDateRange Range() const { return TDateRange::Of(FMinDate, FMaxDate); }
    // The popup's optional features (none by default).
    TCalendarOptions CalendarOptions() const { return FCalendarOptions; }
    void SetCalendarOptions(TCalendarOptions Value) { FCalendarOptions = KnownCalendarOptions(Value); }
    // Disabled and marked days (none unless assigned). The popup passes its
    // opener as Sender.
    TDayDisabledEvent OnDayDisabled;
    TDayStyleEvent OnDayStyle;
    // Whether Date is refused by OnDayDisabled (false when unassigned).
    bool DayDisabled(fw::TObject* Sender, fw::TDateTime Date) const {
        bool Disabled = false;
        if (OnDayDisabled) OnDayDisabled(Sender, Date, Disabled);
        return Disabled;
    }

protected:
    ~TQzCalendarSettings() = default;

private:
    fw::String FCalendarCaption;
    bool FCalendarFillPage = true;
    TCalendarStyles FCalendarStyle = csStandard;
    fw::TColor FCalendarWeekendColor = fw::clBtnText;
    TWeekStart FCalendarWeekStart = wsSunday;
    fw::TDateTime FMinDate = 0;
    fw::TDateTime FMaxDate = 0;
    TCalendarOptions FCalendarOptions;
};

// The four navigation buttons, in their order in FButtonRect and FGlyphs.
enum TCalButtons : std::uint8_t { cbMonthPrev, cbMonthNext, cbYearPrev, cbYearNext };

// One step of the selected date.
enum TAdjustAmounts : std::uint8_t {
    aaDayPrev,
    aaDayNext,
    aaWeekPrev,
    aaWeekNext,
    aaMonthPrev,
    aaMonthNext,
    aaYearPrev,
    aaYearNext
};

class TfrmQzCal : public fw::TForm {
    FW_CLASS(TfrmQzCal, fw::TForm)

public:
    // The grid: cells 1..42, row by row.
    static constexpr int ColumnCount = 7;
    static constexpr int RowCount = 6;
    static constexpr int CellCount = ColumnCount * RowCount;

    // Loads the form resource "TFRMQZCAL", reads the settings and the starting date
    // from AOwner (a TQzDateEdit or descendant, or a TQzCalendar), sizes itself from
    // its font, places itself on the screen and builds the month grid. Any other
    // owner (or none) gives a popup with the default settings, opening on today's
    // date at the screen's top-left corner.
    explicit TfrmQzCal(fw::TComponent* AOwner);
    ~TfrmQzCal() override;

    // The openers' run of a popup: makes it with Opener as owner, shows it
    // modally and, on mrOk, calls Take with its Date while it still exists;
    // true then. False when it was cancelled, or when the opener or the popup
    // went meanwhile (nothing of either is touched then). The popup is freed
    // on every path; an exception goes on to the caller after that.
    static bool Run(fw::TComponent* Opener, const std::function<void(fw::TDateTime)>& Take);

    // ---- published
    fw::TTimer* tmr = nullptr;
    // The selected date (0 after Clear). Writing it does not rebuild the grid.
    fw::TDateTime Date() const { return FDate; }
    void SetDate(fw::TDateTime Value) { FDate = Value; }

    // Ends the popup with mrCancel (the opener's text is not touched here).
    void FormCancel(fw::TObject* Sender);
    void FormKeyDown(fw::TObject* Sender, fw::Word& Key, fw::TShiftState Shift);
    void FormMouseDown(fw::TObject* Sender, fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y);
    void FormMouseMove(fw::TObject* Sender, fw::TShiftState Shift, int X, int Y);
    void FormMouseUp(fw::TObject* Sender, fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y);
    // Draws the whole window: frame, buttons, title, weekday names, separator, days
    // and the selection.
    void FormPaint(fw::TObject* Sender);
    void tmrTimer(fw::TObject* Sender);

    // ---- the grid model
    // The cell (1..7) in which D would stand if it were day 1 of its month.
    int GetFirstDay(fw::TDateTime D) const;
    // Fills the grid for the month of Date; neither repaints nor touches FPrevSelIndex.
    void BuildCalendarDates();
    // The cell (1..42) under a client point inside FGridRect.
    int FindArrayIndex(int X, int Y) const;
    // The rectangle of cell Index; Right and Bottom are its last pixels inside.
    fw::TRect FindArrayRect(int Index) const;

    // ---- painting and stepping
    // Redraws the previously selected cell plain and the selected one bold with a
    // sunken frame, and mirrors Date into a date edit opener's text.
    void DrawSelector();
    // Draws a navigation button up or pressed.
    void DrawButton(TCalButtons Button, bool Pressed);
    // A one-pixel bevel on R's edges: TopLeft on the left and top, BottomRight on
    // the right and bottom (shadow first for a sunken cell, highlight first for a raised one).
    void DrawBevel(const fw::TRect& R, fw::TColor TopLeft, fw::TColor BottomRight);
    // One step of the selected date: moves the selection (two cells repainted) or,
    // when the month changes, rebuilds the grid and repaints the window. A step that
    // would leave the years 1-9999 does nothing.
    void AdjustCalendar(TAdjustAmounts Amount);
    // Waits Interval ms on tmr, dispatching messages meanwhile.
    void Delay(fw::Word Interval);

    // The cell size for a font's tmHeight and tmAveCharWidth: the height widened by
    // 30 % and three average characters widened by 60 % each, rounded to the nearest
    // integer with halves going to the even neighbour.
    static int CellHeightFor(int TextHeight);
    static int CellWidthFor(int AveCharWidth);
    // The ISO 8601 week number (1-53) of the week holding D.
    static int IsoWeekNumber(fw::TDateTime D);

    // With coCloseOnClickOutside, a click outside or the loss of the
    // desktop's activation cancels.
    void Dispatch(fw::TMessage& Message) override;

    // Whether the popup still has its opener to ask and write to: false once
    // the opener went (see Notification).
    bool HasOpener() const { return FOwnerComponent != nullptr; }

    // ---- read access to the model (tests, tools)
    fw::TComponent* OwnerComponent() const { return FOwnerComponent; }
    fw::TDateTime OriginalDate() const { return FOriginalDate; }
    // The day shown in cell Index (1..42); 0 for any other index.
    int DayNumbers(int Index) const {
        return Index >= 1 && Index <= CellCount ? FDayNumbers[static_cast<std::size_t>(Index - 1)] : 0;
    }
    int SelIndex() const { return FSelIndex; }
    int PrevSelIndex() const { return FPrevSelIndex; }
    int FirstIndex() const { return FFirstIndex; }
    int LastIndex() const { return FLastIndex; }
    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }
    const fw::TRect& GridRect() const { return FGridRect; }
    const fw::TRect& TitleRect() const { return FTitleRect; }
    const fw::TRect& DayNameRect() const { return FDayNameRect; }
    const fw::TRect& ButtonRect(TCalButtons Button) const { return FButtonRect[Button]; }
    bool Selecting() const { return FSelecting; }
    int MonthShift() const { return FMonthShift; }
    const fw::String& OwnerDateFormat() const { return FOwnerDateFormat; }
    bool FillPage() const { return FFillPage; }
    fw::TColor WeekendColor() const { return FWeekendColor; }
    TWeekStart WeekStart() const { return FWeekStart; }
    fw::TBitmap* Glyph(int Index) const { return FGlyphs[static_cast<std::size_t>(Index)].get(); }
    // The permitted range and the options, as read from the opener.
    const TDateRange& Range() const { return FRange; }
    TCalendarOptions Options() const { return FOptions; }
    // The width of the week-number column (0 without it).
    int WeekColumnWidth() const { return FWeekColumnWidth; }
    // The date shown in cell Index of the displayed month's grid.
    fw::TDateTime CellDate(int Index) const { return FFirstCellDate + (Index - 1); }
    // Whether cell Index holds a day inside the permitted range that the
    // opener's OnDayDisabled does not refuse.
    bool CellAllowed(int Index) const {
        return Index >= 1 && Index <= CellCount && FRange.Contains(CellDate(Index)) &&
               !FCellDisabled[static_cast<std::size_t>(Index - 1)];
    }
    // Whether any date is permitted: in the range and not refused.
    bool DayAllowed(fw::TDateTime D) const;
    // The style OnDayStyle gave cell Index (the classic style without it).
    const TDayStyle& CellStyle(int Index) const {
        static const TDayStyle Plain;
        return Index >= 1 && Index <= CellCount ? FCellStyles[static_cast<std::size_t>(Index - 1)] : Plain;
    }
    // Whether a navigation button's step would reach a month with a permitted day.
    bool ButtonEnabled(TCalButtons Button) const;
    // The cell of today when the grid shows it and coShowToday is set, else 0.
    int TodayIndex() const;
    // The foot buttons' rectangles (empty without their option).
    const fw::TRect& TodayButtonRect() const { return FTodayButtonRect; }
    const fw::TRect& ClearButtonRect() const { return FClearButtonRect; }
    // The view shown, the month (cvMonths) or year (cvYears) it has in focus
    // as a date, and the rectangle of zoomed cell Index (0-11).
    TCalendarView View() const { return FView; }
    fw::TDateTime ZoomDate() const { return FZoomDate; }
    fw::TRect ZoomCellRect(int Index) const;
    // The year of the first of the twelve cells of the year view.
    int ZoomFirstYear() const;
    // Whether zoomed cell Index holds a month or year that meets the range.
    bool ZoomCellAllowed(int Index) const;
    // The zoomed cell in focus.
    int ZoomIndex() const;
    // Whether the popup was closed by Clear (Date is then 0).
    bool Cleared() const { return FCleared; }
    // How often FormPaint ran.
    int FormPaintCount() const { return FFormPaintCount; }

protected:
    // A dialog holding the title, the four navigation buttons and the grid:
    // column headers with the full weekday names, one cell per day named with
    // the full date. The selected cell speaks for the popup when it has the focus.
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;
    // The opener's drop button is expanded while the popup shows.
    void DoShow() override;
    void DoHide() override;
    // Tells the accessibility listeners of a new selection or month (after
    // every move of the selection, from DrawSelector).
    void AnnounceSelection();

    // The opener going. From then on the popup asks its day events nothing and
    // writes nothing into it. When the opener is freed by one of its own day
    // events (the popup is inside the call), the popup leaves it instead of
    // being freed with it, ends with mrCancel and is freed by whoever opened it.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

    // The wheel pages by months (by years with Ctrl) when coWheelPaging is set.
    void WMMouseWheel(fw::TMessage& Message) override;

    // FormPaint covers every client pixel, starting with a filled rectangle over
    // the whole client area: the window system's erase would only be painted over.
    void EraseBackground(fw::HDC DC) override;

    fw::TComponent* FOwnerComponent = nullptr; // the opener; not owned
    fw::TDateTime FOriginalDate = 0;
    fw::TDateTime FDate = 0;
    std::array<int, CellCount> FDayNumbers{};
    int FSelIndex = 1;
    int FPrevSelIndex = 0;
    int FFirstIndex = 1;
    int FLastIndex = 1;
    int FCellWidth = 0;
    int FCellHeight = 0;
    fw::TRect FGridRect;
    fw::TRect FTitleRect;
    fw::TRect FDayNameRect;
    std::array<fw::TRect, 4> FButtonRect{};
    bool FSelecting = false;
    int FMonthShift = 0;
    fw::String FOwnerDateFormat;
    bool FFillPage = true;
    fw::TColor FWeekendColor = fw::clBtnText;
    TWeekStart FWeekStart = wsSunday;
    // The four up images in TCalButtons order, then the four pressed ones.
    std::array<std::unique_ptr<fw::TBitmap>, 8> FGlyphs;
    TDateRange FRange;
    TCalendarOptions FOptions;
    int FWeekColumnWidth = 0;
    // The date of cell 1 of the displayed month's grid.
    fw::TDateTime FFirstCellDate = 0;
    // The opener's day events, and what they said for the shown grid's cells
    // (asked once per cell whenever a month is built).
    TDayDisabledEvent FOnDayDisabled;
    TDayStyleEvent FOnDayStyle;
    std::array<bool, CellCount> FCellDisabled{};
    std::array<TDayStyle, CellCount> FCellStyles{};
    fw::TRect FTodayButtonRect;
    fw::TRect FClearButtonRect;
    bool FCleared = false;
    TCalendarView FView = cvDays;
    fw::TDateTime FZoomDate = 0;

private:
    friend class TfrmQzCalAccessible;

    // Whether D lies in the years 1-9999, the range dates can be built in.
    static bool InDateRange(fw::TDateTime D);
    // Reads the settings and the starting date from the opener.
    void ReadOwnerSettings();
    // Client size from the font; screen position; layout rectangles.
    void SizeFromFont();
    void PlaceOnScreen();
    void LayOut();

    // FWeekStart as a column offset 0-6 (Sunday for a value outside the enumeration).
    int StartDay() const { return IsWeekStart(FWeekStart) ? static_cast<int>(FWeekStart) : 0; }
    // The displayed month (the one the grid shows).
    void DisplayedMonth(fw::Word& Year, fw::Word& Month) const;
    // -1 before FFirstIndex, +1 after FLastIndex, 0 inside the displayed month.
    int CellSide(int Index) const;
    fw::TColor CellColor(int Index) const;
    void DrawDayText(int Index);
    // The date edit opener, or nullptr.
    TQzDateEdit* DateEditOwner() const;

    // The date a step leads to, before the range is applied; false when it
    // would leave the years 1-9999.
    bool StepDate(TAdjustAmounts Amount, fw::TDateTime& NewDate) const;
    // The nearest permitted day from Value on in the direction Step (+1 or -1),
    // looking a year ahead at most and never past the range; false when there
    // is none.
    bool NextAllowedDay(fw::TDateTime Value, int Step, fw::TDateTime& Found) const;
    // Zooming: out one level, in (choosing the focused cell), back to the
    // days unchanged (Escape), and a step of the focus by Delta cells.
    void ZoomOut();
    void ZoomIn();
    void ZoomCancel();
    void ZoomStep(int Delta);
    void DrawZoomView();
    // A press in a zoomed view (or on the title): title out, a cell chosen,
    // buttons a page, the foot buttons as ever.
    void ZoomMouseDown(int X, int Y);
    // The height the foot row adds (0 without Today and Clear buttons).
    int FootHeight() const;
    // Draws the Today and Clear buttons.
    void DrawFootButtons();
    // Today (as the T key) and Clear (closes with no date).
    void SelectToday();
    void ClearDate();
    // A press on a shown foot button does what it says; false elsewhere.
    bool FootButtonDown(int X, int Y);
    // Asks the opener's day events for every cell of the grid.
    void ReadDayMarks();
    // Moves the selection to Value (a step, T): the two cells, or the whole
    // window when the month changes.
    void MoveSelection(fw::TDateTime Value);
    // The greyed image of a button, made from its up image; shared by every
    // popup and good until the next call.
    fw::TBitmap* DisabledGlyph(TCalButtons Button);
    // Draws the week numbers column.
    void DrawWeekNumbers();
    // The frame on today's cell.
    void DrawTodayMark(int Index);

    // Selects cell Index by the pointer (press or drag); false, changing nothing,
    // for a neighbouring-month cell outside the years 1-9999.
    bool SelectCell(int Index);
    // Escape and the right button: puts the opening text back, then FormCancel.
    void CancelPopup();
    // Puts a date edit opener's opening text back (once).
    void RestoreOwnerText();
    // Any close with mrCancel (the close box of a dialog popup too) restores the text.
    void FormClose(fw::TObject* Sender, fw::TCloseAction& Action);

    // The opener's text was put back: the popup no longer writes it.
    bool FTextRestored = false;
    // Wheel turns below a notch, kept for the next turn.
    int FWheelRest = 0;
    int FFormPaintCount = 0;
    // How deep the popup is in calls to the opener's day events.
    mutable int FOpenerCalls = 0;
    // FormPaint has drawn the navigation buttons for the current selection.
    bool FButtonsDrawn = false;
};

// Declared for form code that expects it; every opening makes its own popup, and
// nothing assigns or reads this variable.
extern TfrmQzCal* frmQzCal;

} // namespace qz
