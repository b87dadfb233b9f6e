// The accessible objects of the date controls and the popup calendar, after
// the date picker and grid patterns: an editable text with its layout as
// description and an action that opens the calendar; a drop button "Choose
// date", expanded while the popup shows; the popup as a dialog with a title,
// named navigation buttons and a grid whose column headers carry the full
// weekday names and whose cells are named with the full date (a marked day's
// hint is its description); the foot's Today and Clear buttons; the month and
// year views as grids of twelve named cells.
//
// Index: the date edits and labels; the popup's parts (title, buttons,
// headers, cells, grid, the zoomed views' grid, the foot buttons); the popup;
// the announcements.

#include <QzComponents5/QzModule.h>
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <array>
#include <cmath>
#include <framework/controls/AccessibleControls.h>
#include <framework/db/DataLink.h>
#include <framework/db/Field.h>
#include <framework/forms/FormAccessible.h>
#include <framework/forms/Screen.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <framework/rtl/SysUtils.h>

namespace qz {

using fw::TAccessible;
using fw::TAccRole;
using fw::TAccStates;

namespace {

// A date as a person reads it in full: the long date layout ("Thursday,
// December 25, 2003").
fw::String SpokenDate(fw::TDateTime Value) {
    return fw::FormatDateTime("dddddd", std::floor(Value));
}

// ---------------------------------------------------------------- the date edits

class TQzDateEditAccessible : public fw::TEditAccessible {
public:
    explicit TQzDateEditAccessible(TQzDateEdit* Edit) : TEditAccessible(Edit) {}

    fw::String Name() const override {
        const fw::String name = TEditAccessible::Name();
        return name.empty() ? fw::String("Date") : name;
    }
    fw::String Description() const override { return "Date as " + DateEdit()->DateFormat(); }
    TAccStates States() const override {
        TAccStates s = TEditAccessible::States();
        if (DateEdit()->Refused()) s << fw::asInvalid;
        if (DateEdit()->CalendarEnabled()) s << fw::asHasPopup;
        return s;
    }
    int ActionCount() const override { return DateEdit()->CalendarEnabled() ? 1 : 0; }
    fw::String ActionName(int Index) const override { return Index == 0 ? "open calendar" : fw::String(); }
    fw::String ActionDescription(int Index) const override {
        return Index == 0 ? "Opens the calendar to pick a date" : fw::String();
    }
    void RunAction(int Index) override {
        if (Index == 0 && DateEdit()->CalendarEnabled() && DateEdit()->Showing() && DateEdit()->Enabled())
            DateEdit()->OpenCalendar();
    }

protected:
    TQzDateEdit* DateEdit() const { return static_cast<TQzDateEdit*>(FControl); }
};

class TQzDBDateEditAccessible : public TQzDateEditAccessible {
public:
    using TQzDateEditAccessible::TQzDateEditAccessible;

    fw::String Name() const override {
        fw::String name = TEditAccessible::Name();
        if (name.empty() && DBEdit()->Field()) name = DBEdit()->Field()->DisplayLabel();
        return name.empty() ? fw::String("Date") : name;
    }
    // The edit is read-only between edits of the record; what matters to a
    // person is whether typing can change the field.
    TAccStates States() const override {
        TAccStates s = TQzDateEditAccessible::States();
        s.Exclude(fw::asReadOnly);
        s.Exclude(fw::asEditable);
        const fw::TField* field = DBEdit()->Field();
        const bool canEdit = field && !field->ReadOnly() && !DBEdit()->GetReadOnly();
        s << (canEdit ? fw::asEditable : fw::asReadOnly);
        if (field && field->Required()) s << fw::asRequired;
        return s;
    }

private:
    TQzDBDateEdit* DBEdit() const { return static_cast<TQzDBDateEdit*>(FControl); }
};

class TQzDBDateTextAccessible : public fw::TLabelAccessible {
public:
    using TLabelAccessible::TLabelAccessible;
    fw::String Description() const override {
        const fw::TField* field = static_cast<TQzDBDateText*>(FControl)->Field();
        return field ? field->DisplayLabel() : fw::String();
    }
};

class TQzCalendarButtonAccessible : public fw::TButtonAccessible {
public:
    explicit TQzCalendarButtonAccessible(TQzCalendarButton* Button) : TButtonAccessible(Button) {}

    fw::String Name() const override {
        const TQzDateEdit* edit = Edit();
        if (edit && edit->GetDate() != 0) return "Choose date, " + SpokenDate(edit->GetDate());
        return "Choose date";
    }
    TAccStates States() const override {
        TAccStates s = TButtonAccessible::States();
        s << fw::asExpandable << fw::asHasPopup;
        if (Edit() && Edit()->OpenPopup()) s << fw::asExpanded;
        return s;
    }

private:
    TQzDateEdit* Edit() const { return dynamic_cast<TQzDateEdit*>(FControl->Parent()); }
};

} // namespace

std::unique_ptr<TAccessible> TQzDateEdit::CreateAccessible() {
    return std::make_unique<TQzDateEditAccessible>(this);
}

std::unique_ptr<TAccessible> TQzDBDateEdit::CreateAccessible() {
    return std::make_unique<TQzDBDateEditAccessible>(this);
}

std::unique_ptr<TAccessible> TQzDBDateText::CreateAccessible() {
    return std::make_unique<TQzDBDateTextAccessible>(this);
}

std::unique_ptr<TAccessible> TQzCalendarButton::CreateAccessible() {
    return std::make_unique<TQzCalendarButtonAccessible>(this);
}

void TQzDateEdit::SetRefused(bool Value) {
    if (Value == FRefused) return;
    FRefused = Value;
    fw::AccNotifyState(this, fw::asInvalid, Value);
}

TfrmQzCal* TQzDateEdit::OpenPopup() const {
    for (int i = 0; i < fw::Screen->FormCount(); ++i)
        if (auto* popup = dynamic_cast<TfrmQzCal*>(fw::Screen->Forms(i));
            popup && popup->OwnerComponent() == this && popup->Visible())
            return popup;
    return nullptr;
}

// ---------------------------------------------------------------- the popup's parts

class TfrmQzCalAccessible : public fw::TFormAccessible {
public:
    explicit TfrmQzCalAccessible(TfrmQzCal* Popup);

    TAccRole Role() const override { return TAccRole::Dialog; }
    fw::String Name() const override {
        return Popup()->Caption().empty() ? fw::String("Choose date") : Popup()->Caption();
    }
    fw::String Description() const override { return MonthTitle(); }
    TAccessible* FocusTarget() override;

    TfrmQzCal* Popup() const { return static_cast<TfrmQzCal*>(FControl); }
    // "December 2003": the month the grid shows.
    fw::String MonthTitle() const {
        fw::Word Year = 0, Month = 0;
        Popup()->DisplayedMonth(Year, Month);
        return fw::FormatDateTime("mmmm yyyy", fw::EncodeDate(Year, Month, 1));
    }
    int MonthKey() const {
        fw::Word Year = 0, Month = 0;
        Popup()->DisplayedMonth(Year, Month);
        return Year * 12 + Month;
    }
    // The popup's own model, for its parts.
    int CellSide(int Index) const { return Popup()->CellSide(Index); }
    int StartDay() const { return Popup()->StartDay(); }
    bool SelectCell(int Index) const { return Popup()->SelectCell(Index); }
    void MoveSelection(fw::TDateTime Value) const { Popup()->MoveSelection(Value); }
    void SelectToday() const { Popup()->SelectToday(); }
    void ClearDate() const { Popup()->ClearDate(); }
    // The zoomed views: focus cell Index (0-11), and choose it as a click does.
    void ZoomTo(int Index) const { Popup()->ZoomStep(Index - Popup()->ZoomIndex()); }
    void ZoomChoose(int Index) const {
        ZoomTo(Index);
        Popup()->ZoomIn();
    }
    void ZoomPage(int Delta) const { Popup()->ZoomStep(Delta); }
    // What the title shows: the month, the year (month view) or the decade (year view).
    fw::String Title() const;
    TAccessible* Cell(int Index) const;
    TAccessible* Grid() const;
    TAccessible* ZoomGrid() const;
    // Tells the listeners what changed since the last announcement.
    void Announce();

protected:
    // The title, the four buttons, the days' grid or the zoomed view's, the foot buttons.
    int ElementCount() const override { return static_cast<int>(Elements().size()) - 1; }
    TAccessible* Element(int Index) const override {
        if (Index < 0 || Index >= ElementCount()) return nullptr;
        if (Index == GridElement && Popup()->View() != cvDays) return ZoomGrid();
        return Elements()[static_cast<std::size_t>(Index < ZoomElement ? Index : Index + 1)].get();
    }

private:
    static constexpr int GridElement = 5, ZoomElement = 6;
    void AnnounceZoom();
    // The title, the four buttons, the days' grid, the zoomed views' grid, the
    // foot buttons, made when first asked for (the window's appearance needs none).
    const std::vector<std::unique_ptr<TAccessible>>& Elements() const;
    mutable std::vector<std::unique_ptr<TAccessible>> FElements;
    // What the listeners were last told: the view, the month (year * 12 +
    // month) and the date, the zoomed view's names (its first year) and focus.
    TCalendarView FAnnouncedView = cvDays;
    int FAnnouncedMonth = 0;
    double FAnnouncedDate = 0;
    int FAnnouncedIndex = 0;
    int FAnnouncedZoomYear = 0;
    int FAnnouncedZoomIndex = -1;
};

namespace {

// A part of the popup, placed in its client area.
class TCalElement : public fw::TAccElement {
public:
    TCalElement(TAccessible* AParent, TfrmQzCalAccessible* Dialog)
        : TAccElement(AParent, Dialog->Popup()), FDialog(Dialog) {}

protected:
    TfrmQzCal* Popup() const { return FDialog->Popup(); }
    TfrmQzCalAccessible* FDialog;
};

class TCalTitle : public TCalElement {
public:
    using TCalElement::TCalElement;
    TAccRole Role() const override { return TAccRole::Heading; }
    fw::String Name() const override { return FDialog->Title(); }
    std::vector<std::pair<fw::String, fw::String>> Attributes() const override {
        return {{"live", "polite"}, {"level", "2"}};
    }

protected:
    fw::TRect ClientBounds() const override { return Popup()->TitleRect(); }
};

class TCalNavButton : public TCalElement {
public:
    TCalNavButton(TAccessible* AParent, TfrmQzCalAccessible* Dialog, TCalButtons Button)
        : TCalElement(AParent, Dialog), FButton(Button) {}
    TAccRole Role() const override { return TAccRole::PushButton; }
    // In the zoomed views both buttons of a side page by a year (months) or a decade (years).
    fw::String Name() const override {
        static const std::array<const char*, 4> names{"Previous month", "Next month", "Previous year", "Next year"};
        if (Popup()->View() == cvDays) return names[FButton];
        const bool back = FButton == cbMonthPrev || FButton == cbYearPrev;
        if (Popup()->View() == cvMonths) return back ? "Previous year" : "Next year";
        return back ? "Previous decade" : "Next decade";
    }
    TAccStates States() const override {
        TAccStates s = TCalElement::States();
        if (Popup()->View() == cvDays && !Popup()->ButtonEnabled(FButton))
            s.Exclude(fw::asEnabled), s.Exclude(fw::asSensitive);
        return s;
    }
    int ActionCount() const override { return 1; }
    fw::String ActionName(int Index) const override { return Index == 0 ? "click" : fw::String(); }
    void RunAction(int Index) override {
        static const std::array<TAdjustAmounts, 4> steps{aaMonthPrev, aaMonthNext, aaYearPrev, aaYearNext};
        if (Index != 0 || Popup()->ModalResult() != fw::mrNone) return;
        if (Popup()->View() != cvDays) {
            const int page = Popup()->View() == cvMonths ? 12 : 10;
            FDialog->ZoomPage(FButton == cbMonthPrev || FButton == cbYearPrev ? -page : page);
        } else if (Popup()->ButtonEnabled(FButton)) {
            Popup()->AdjustCalendar(steps[FButton]);
        }
    }

protected:
    fw::TRect ClientBounds() const override { return Popup()->ButtonRect(FButton); }

private:
    TCalButtons FButton;
};

class TCalHeader : public TCalElement {
public:
    TCalHeader(TAccessible* AParent, TfrmQzCalAccessible* Dialog, int Column)
        : TCalElement(AParent, Dialog), FColumn(Column) {}
    TAccRole Role() const override { return TAccRole::ColumnHeader; }
    fw::String Name() const override {
        return fw::FormatSettings.LongDayNames[static_cast<std::size_t>((FDialog->StartDay() + FColumn) % 7)];
    }

protected:
    fw::TRect ClientBounds() const override {
        const fw::TRect cell = Popup()->FindArrayRect(FColumn + 1);
        const fw::TRect& names = Popup()->DayNameRect();
        return {cell.Left, names.Top, cell.Right + 1, names.Bottom};
    }

private:
    int FColumn;
};

// A row's week number, in the column before the first weekday when the popup
// shows week numbers: the ISO week of the row's Thursday, as painted.
class TCalWeekHeader : public TCalElement {
public:
    TCalWeekHeader(TAccessible* AParent, TfrmQzCalAccessible* Dialog, int Row)
        : TCalElement(AParent, Dialog), FRow(Row) {}
    TAccRole Role() const override { return TAccRole::RowHeader; }
    // Without fill page a row of the next month alone shows no number.
    bool Shown() const { return Popup()->FillPage() || FirstCell() <= Popup()->LastIndex(); }
    fw::String Name() const override { return Shown() ? "Week " + fw::IntToStr(Week()) : fw::String(); }
    int Week() const {
        const int thursday = (4 - FDialog->StartDay() + TfrmQzCal::ColumnCount) % TfrmQzCal::ColumnCount;
        return TfrmQzCal::IsoWeekNumber(Popup()->CellDate(FirstCell() + thursday));
    }

protected:
    fw::TRect ClientBounds() const override {
        const fw::TRect first = Popup()->FindArrayRect(FirstCell());
        return {4, first.Top, first.Left, first.Bottom + 1};
    }

private:
    int FirstCell() const { return FRow * TfrmQzCal::ColumnCount + 1; }
    int FRow;
};

class TCalCell : public TCalElement {
public:
    TCalCell(TAccessible* AParent, TfrmQzCalAccessible* Dialog, int Index)
        : TCalElement(AParent, Dialog), FIndex(Index) {}
    TAccRole Role() const override { return TAccRole::TableCell; }
    // A cell of a neighbouring month shows nothing without fill page.
    bool Shown() const { return FDialog->CellSide(FIndex) == 0 || Popup()->FillPage(); }
    fw::String Name() const override { return Shown() ? SpokenDate(Popup()->CellDate(FIndex)) : fw::String(); }
    // "Today", and the hint of a day the opener marked.
    fw::String Description() const override {
        const fw::String& hint = Popup()->CellStyle(FIndex).Hint;
        if (!Today()) return Shown() ? hint : fw::String();
        return hint.empty() ? fw::String("Today") : "Today, " + hint;
    }
    TAccStates States() const override {
        TAccStates s = TCalElement::States();
        // Days outside the displayed month or the permitted range, and the
        // days the opener refuses, are disabled.
        if (FDialog->CellSide(FIndex) != 0 || !Popup()->CellAllowed(FIndex))
            s.Exclude(fw::asEnabled), s.Exclude(fw::asSensitive);
        if (Shown() && Popup()->CellAllowed(FIndex)) s << fw::asSelectable << fw::asFocusable;
        if (FIndex == Popup()->SelIndex()) {
            s << fw::asSelected;
            if (Popup()->Active()) s << fw::asFocused;
        }
        if (Today()) s << fw::asCurrent;
        return s;
    }
    std::vector<std::pair<fw::String, fw::String>> Attributes() const override {
        if (Today()) return {{"current", "date"}};
        return {};
    }
    bool CellPosition(int& Row, int& Column) const override {
        Row = (FIndex - 1) / TfrmQzCal::ColumnCount;
        Column = (FIndex - 1) % TfrmQzCal::ColumnCount;
        return true;
    }
    // Picks the day, as a click on it does.
    int ActionCount() const override { return 1; }
    fw::String ActionName(int Index) const override { return Index == 0 ? "click" : fw::String(); }
    fw::String ActionDescription(int Index) const override { return Index == 0 ? "Picks the day" : fw::String(); }
    void RunAction(int Index) override {
        TfrmQzCal* popup = Popup();
        if (Index != 0 || !Shown() || !popup->CellAllowed(FIndex) || popup->ModalResult() != fw::mrNone) return;
        if (FDialog->SelectCell(FIndex)) popup->SetModalResult(fw::mrOk);
    }
    bool GrabFocus() override {
        TfrmQzCal* popup = Popup();
        if (!Shown() || !popup->CellAllowed(FIndex)) return false;
        if (FIndex != popup->SelIndex()) FDialog->MoveSelection(popup->CellDate(FIndex));
        return true;
    }

protected:
    fw::TRect ClientBounds() const override {
        const fw::TRect r = Popup()->FindArrayRect(FIndex);
        return {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
    }

private:
    bool Today() const { return std::floor(Popup()->CellDate(FIndex)) == std::floor(fw::Date()); }
    int FIndex;
};

class TCalGrid : public TCalElement {
public:
    // The headers and cells are made as they are first asked for: the focus
    // event that brings the popup needs only the selected cell. The children
    // are the column headers, the cells, then the week numbers' row headers.
    TCalGrid(TAccessible* AParent, TfrmQzCalAccessible* Dialog) : TCalElement(AParent, Dialog) {}
    TAccRole Role() const override { return TAccRole::Table; }
    fw::String Name() const override { return FDialog->MonthTitle(); }
    TAccStates States() const override { return TCalElement::States() << fw::asFocusable; }
    int ChildCount() const override {
        return TfrmQzCal::ColumnCount + TfrmQzCal::CellCount + (WeekNumbers() ? TfrmQzCal::RowCount : 0);
    }
    TAccessible* Child(int Index) const override {
        if (Index < 0 || Index >= ChildCount()) return nullptr;
        if (Index < TfrmQzCal::ColumnCount) return ColumnHeader(Index);
        Index -= TfrmQzCal::ColumnCount;
        return Index < TfrmQzCal::CellCount ? Cell(Index + 1) : RowHeader(Index - TfrmQzCal::CellCount);
    }
    int RowCount() const override { return TfrmQzCal::RowCount; }
    int ColumnCount() const override { return TfrmQzCal::ColumnCount; }
    TAccessible* CellAt(int Row, int Column) const override {
        if (Row < 0 || Row >= RowCount() || Column < 0 || Column >= ColumnCount()) return nullptr;
        return Cell(Row * TfrmQzCal::ColumnCount + Column + 1);
    }
    TAccessible* ColumnHeader(int Column) const override {
        if (Column < 0 || Column >= ColumnCount()) return nullptr;
        auto& header = FHeaders[static_cast<std::size_t>(Column)];
        if (!header) header = std::make_unique<TCalHeader>(const_cast<TCalGrid*>(this), FDialog, Column);
        return header.get();
    }
    TAccessible* RowHeader(int Row) const override {
        if (!WeekNumbers() || Row < 0 || Row >= RowCount()) return nullptr;
        auto& header = FWeeks[static_cast<std::size_t>(Row)];
        if (!header) header = std::make_unique<TCalWeekHeader>(const_cast<TCalGrid*>(this), FDialog, Row);
        return header.get();
    }
    // The row headers that were made, renamed with a new month.
    TAccessible* MadeRowHeader(int Row) const { return FWeeks[static_cast<std::size_t>(Row)].get(); }
    TAccessible* Cell(int Index) const {
        if (Index < 1 || Index > TfrmQzCal::CellCount) return nullptr;
        auto& cell = FCells[static_cast<std::size_t>(Index - 1)];
        if (!cell) cell = std::make_unique<TCalCell>(const_cast<TCalGrid*>(this), FDialog, Index);
        return cell.get();
    }
    // The cell if it was made (events about cells nobody asked for are not sent).
    TAccessible* MadeCell(int Index) const {
        return Index >= 1 && Index <= TfrmQzCal::CellCount ? FCells[static_cast<std::size_t>(Index - 1)].get()
                                                          : nullptr;
    }

protected:
    fw::TRect ClientBounds() const override {
        fw::TRect r = Popup()->GridRect();
        if (WeekNumbers()) r.Left = 4;
        return r;
    }

private:
    bool WeekNumbers() const { return Popup()->WeekColumnWidth() > 0; }
    mutable std::array<std::unique_ptr<TAccessible>, TfrmQzCal::ColumnCount> FHeaders;
    mutable std::array<std::unique_ptr<TAccessible>, TfrmQzCal::RowCount> FWeeks;
    mutable std::array<std::unique_ptr<TAccessible>, TfrmQzCal::CellCount> FCells;
};

// A cell of the month view ("March 2026") or the year view ("2031").
class TCalZoomCell : public TCalElement {
public:
    TCalZoomCell(TAccessible* AParent, TfrmQzCalAccessible* Dialog, int Index)
        : TCalElement(AParent, Dialog), FIndex(Index) {}
    TAccRole Role() const override { return TAccRole::TableCell; }
    int Year() const { return Popup()->View() == cvYears ? Popup()->ZoomFirstYear() + FIndex : ZoomYear(); }
    // The year view's first and last cells can lie outside the years 1-9999: they show nothing.
    bool Shown() const { return Year() >= 1 && Year() <= 9999; }
    fw::String Name() const override {
        if (!Shown()) return {};
        if (Popup()->View() == cvYears) return fw::IntToStr(Year());
        return fw::FormatDateTime("mmmm yyyy", fw::EncodeDate(static_cast<fw::Word>(Year()),
                                                              static_cast<fw::Word>(FIndex + 1), 1));
    }
    TAccStates States() const override {
        TAccStates s = TCalElement::States();
        const bool allowed = Shown() && Popup()->ZoomCellAllowed(FIndex);
        if (!allowed) s.Exclude(fw::asEnabled), s.Exclude(fw::asSensitive);
        else s << fw::asSelectable << fw::asFocusable;
        if (FIndex == Popup()->ZoomIndex()) {
            s << fw::asSelected;
            if (Popup()->Active()) s << fw::asFocused;
        }
        return s;
    }
    bool CellPosition(int& Row, int& Column) const override {
        Row = FIndex / 4, Column = FIndex % 4;
        return true;
    }
    // Chooses the month or year, as a click on it does.
    int ActionCount() const override { return 1; }
    fw::String ActionName(int Index) const override { return Index == 0 ? "click" : fw::String(); }
    void RunAction(int Index) override {
        if (Index == 0 && Popup()->View() != cvDays && Popup()->ZoomCellAllowed(FIndex) &&
            Popup()->ModalResult() == fw::mrNone)
            FDialog->ZoomChoose(FIndex);
    }
    bool GrabFocus() override {
        if (Popup()->View() == cvDays || !Popup()->ZoomCellAllowed(FIndex)) return false;
        FDialog->ZoomTo(FIndex);
        return true;
    }

protected:
    fw::TRect ClientBounds() const override { return Popup()->ZoomCellRect(FIndex); }

private:
    int ZoomYear() const {
        fw::Word Year = 0, Month = 0, Day = 0;
        fw::DecodeDate(Popup()->ZoomDate(), Year, Month, Day);
        return Year;
    }
    int FIndex;
};

// The month or year view: twelve cells in three rows of four, named by the title.
class TCalZoomGrid : public TCalElement {
public:
    static constexpr int Cells = 12, Columns = 4;
    TCalZoomGrid(TAccessible* AParent, TfrmQzCalAccessible* Dialog) : TCalElement(AParent, Dialog) {}
    TAccRole Role() const override { return TAccRole::Table; }
    fw::String Name() const override { return FDialog->Title(); }
    TAccStates States() const override { return TCalElement::States() << fw::asFocusable; }
    int ChildCount() const override { return Cells; }
    TAccessible* Child(int Index) const override { return Cell(Index); }
    int RowCount() const override { return Cells / Columns; }
    int ColumnCount() const override { return Columns; }
    TAccessible* CellAt(int Row, int Column) const override {
        if (Row < 0 || Row >= RowCount() || Column < 0 || Column >= Columns) return nullptr;
        return Cell(Row * Columns + Column);
    }
    TAccessible* Cell(int Index) const {
        if (Index < 0 || Index >= Cells) return nullptr;
        auto& cell = FCells[static_cast<std::size_t>(Index)];
        if (!cell) cell = std::make_unique<TCalZoomCell>(const_cast<TCalZoomGrid*>(this), FDialog, Index);
        return cell.get();
    }
    TAccessible* MadeCell(int Index) const {
        return Index >= 0 && Index < Cells ? FCells[static_cast<std::size_t>(Index)].get() : nullptr;
    }

protected:
    fw::TRect ClientBounds() const override {
        const fw::TRect first = Popup()->ZoomCellRect(0), last = Popup()->ZoomCellRect(Cells - 1);
        return {first.Left, first.Top, last.Right, last.Bottom};
    }

private:
    mutable std::array<std::unique_ptr<TAccessible>, Cells> FCells;
};

// The foot's Today or Clear button, named by its caption.
class TCalFootButton : public TCalElement {
public:
    TCalFootButton(TAccessible* AParent, TfrmQzCalAccessible* Dialog, bool Today)
        : TCalElement(AParent, Dialog), FToday(Today) {}
    TAccRole Role() const override { return TAccRole::PushButton; }
    fw::String Name() const override {
        const fw::String caption = fw::StripAccelerator(LoadStr(FToday ? 306 : 307));
        return caption.empty() ? fw::String(FToday ? "Today" : "Clear") : caption;
    }
    fw::String Description() const override {
        return FToday ? "Selects today" : "Closes the calendar and empties the date";
    }
    int ActionCount() const override { return 1; }
    fw::String ActionName(int Index) const override { return Index == 0 ? "press" : fw::String(); }
    void RunAction(int Index) override {
        if (Index != 0 || Popup()->ModalResult() != fw::mrNone) return;
        if (FToday) FDialog->SelectToday();
        else FDialog->ClearDate();
    }

protected:
    fw::TRect ClientBounds() const override {
        return FToday ? Popup()->TodayButtonRect() : Popup()->ClearButtonRect();
    }

private:
    bool FToday;
};

} // namespace

// ---------------------------------------------------------------- the popup

TfrmQzCalAccessible::TfrmQzCalAccessible(TfrmQzCal* Popup) : TFormAccessible(Popup) {
    // A listener that came after the popup learns the view, month and day it
    // shows from the object; later announcements start from there.
    FAnnouncedView = Popup->View();
    FAnnouncedMonth = MonthKey();
    FAnnouncedDate = std::floor(Popup->Date());
    FAnnouncedIndex = Popup->SelIndex();
    FAnnouncedZoomYear = Popup->ZoomFirstYear();
    FAnnouncedZoomIndex = Popup->ZoomIndex();
}

const std::vector<std::unique_ptr<TAccessible>>& TfrmQzCalAccessible::Elements() const {
    if (!FElements.empty()) return FElements;
    auto* self = const_cast<TfrmQzCalAccessible*>(this);
    FElements.push_back(std::make_unique<TCalTitle>(self, self));
    for (TCalButtons b : {cbYearPrev, cbMonthPrev, cbMonthNext, cbYearNext})
        FElements.push_back(std::make_unique<TCalNavButton>(self, self, b));
    FElements.push_back(std::make_unique<TCalGrid>(self, self));
    FElements.push_back(std::make_unique<TCalZoomGrid>(self, self));
    if (Popup()->Options().Contains(coTodayButton))
        FElements.push_back(std::make_unique<TCalFootButton>(self, self, true));
    if (Popup()->Options().Contains(coClearButton))
        FElements.push_back(std::make_unique<TCalFootButton>(self, self, false));
    return FElements;
}

fw::String TfrmQzCalAccessible::Title() const {
    TfrmQzCal* popup = Popup();
    if (popup->View() == cvDays) return MonthTitle();
    if (popup->View() == cvYears)
        return fw::IntToStr(popup->ZoomFirstYear() + 1) + "-" + fw::IntToStr(popup->ZoomFirstYear() + 10);
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(popup->ZoomDate(), Year, Month, Day);
    return fw::IntToStr(Year);
}

TAccessible* TfrmQzCalAccessible::ZoomGrid() const {
    return Elements()[ZoomElement].get();
}

TAccessible* TfrmQzCalAccessible::Grid() const {
    return Elements()[GridElement].get();
}

TAccessible* TfrmQzCalAccessible::Cell(int Index) const {
    return static_cast<TCalGrid*>(Grid())->Cell(Index);
}

TAccessible* TfrmQzCalAccessible::FocusTarget() {
    // The focus event that brings the popup names the selected day: later
    // announcements start from it.
    FAnnouncedView = Popup()->View();
    FAnnouncedMonth = MonthKey();
    FAnnouncedDate = std::floor(Popup()->Date());
    FAnnouncedIndex = Popup()->SelIndex();
    if (FAnnouncedView != cvDays) {
        FAnnouncedZoomYear = Popup()->ZoomFirstYear();
        FAnnouncedZoomIndex = Popup()->ZoomIndex();
        return static_cast<TCalZoomGrid*>(ZoomGrid())->Cell(FAnnouncedZoomIndex);
    }
    return Cell(Popup()->SelIndex());
}

void TfrmQzCalAccessible::Announce() {
    TfrmQzCal* popup = Popup();
    if (popup->View() != FAnnouncedView) {
        // The grid changed places with the other view's: the title speaks, the focus follows.
        FAnnouncedView = popup->View();
        fw::AccNotify({fw::TAccEventKind::ChildrenChanged, this});
        // The zoomed views' title is told with their names; the days' title here.
        if (FAnnouncedView == cvDays) fw::AccNotify({fw::TAccEventKind::NameChanged, Elements().front().get()});
        FAnnouncedIndex = -1;
        FAnnouncedZoomIndex = -1;
        FAnnouncedZoomYear = -1;
    }
    if (FAnnouncedView != cvDays) {
        AnnounceZoom();
        return;
    }
    const int month = MonthKey();
    if (month != FAnnouncedMonth) {
        FAnnouncedMonth = month;
        fw::AccNotify({fw::TAccEventKind::NameChanged, Elements().front().get()});
        fw::AccNotify({fw::TAccEventKind::NameChanged, Grid()});
        auto* grid = static_cast<TCalGrid*>(Grid());
        for (int i = 1; i <= TfrmQzCal::CellCount; ++i)
            if (TAccessible* cell = grid->MadeCell(i)) {
                fw::AccNotify({fw::TAccEventKind::NameChanged, cell});
                fw::AccNotify({fw::TAccEventKind::DescriptionChanged, cell});
            }
        for (int row = 0; row < TfrmQzCal::RowCount; ++row)
            if (TAccessible* week = grid->MadeRowHeader(row)) fw::AccNotify({fw::TAccEventKind::NameChanged, week});
    }
    const double date = std::floor(popup->Date());
    if (date == FAnnouncedDate && popup->SelIndex() == FAnnouncedIndex) return;
    if (TAccessible* old = static_cast<TCalGrid*>(Grid())->MadeCell(FAnnouncedIndex))
        fw::AccNotify({fw::TAccEventKind::StateChanged, old, fw::asSelected, 0});
    FAnnouncedDate = date;
    FAnnouncedIndex = popup->SelIndex();
    TAccessible* cell = Cell(FAnnouncedIndex);
    fw::AccNotify({fw::TAccEventKind::StateChanged, cell, fw::asSelected, 1});
    fw::AccNotify({fw::TAccEventKind::SelectionChanged, Grid()});
    if (popup->Active()) fw::AccNotify({fw::TAccEventKind::Focus, cell});
}

void TfrmQzCalAccessible::AnnounceZoom() {
    TfrmQzCal* popup = Popup();
    auto* grid = static_cast<TCalZoomGrid*>(ZoomGrid());
    // The cells' names hang on the year (month view) or the decade (year view).
    fw::Word Year = 0, Month = 0, Day = 0;
    fw::DecodeDate(popup->ZoomDate(), Year, Month, Day);
    const int names = popup->View() == cvYears ? popup->ZoomFirstYear() : Year;
    const bool renamed = names != FAnnouncedZoomYear;
    if (renamed) {
        FAnnouncedZoomYear = names;
        fw::AccNotify({fw::TAccEventKind::NameChanged, Elements().front().get()});
        fw::AccNotify({fw::TAccEventKind::NameChanged, grid});
        for (int i = 0; i < TCalZoomGrid::Cells; ++i)
            if (TAccessible* cell = grid->MadeCell(i)) fw::AccNotify({fw::TAccEventKind::NameChanged, cell});
    }
    const int index = popup->ZoomIndex();
    if (!renamed && index == FAnnouncedZoomIndex) return;
    if (index != FAnnouncedZoomIndex) {
        if (TAccessible* old = grid->MadeCell(FAnnouncedZoomIndex))
            fw::AccNotify({fw::TAccEventKind::StateChanged, old, fw::asSelected, 0});
        FAnnouncedZoomIndex = index;
    }
    TAccessible* cell = grid->Cell(index);
    fw::AccNotify({fw::TAccEventKind::StateChanged, cell, fw::asSelected, 1});
    fw::AccNotify({fw::TAccEventKind::SelectionChanged, grid});
    if (popup->Active()) fw::AccNotify({fw::TAccEventKind::Focus, cell});
}

std::unique_ptr<TAccessible> TfrmQzCal::CreateAccessible() {
    return std::make_unique<TfrmQzCalAccessible>(this);
}

void TfrmQzCal::AnnounceSelection() {
    if (!fw::AccListening() || !Visible() || !HasAccessible()) return;
    if (auto* object = dynamic_cast<TfrmQzCalAccessible*>(Accessible())) object->Announce();
}

void TfrmQzCal::DoShow() {
    inherited::DoShow();
    if (TQzDateEdit* edit = DateEditOwner(); edit && edit->CalendarButton())
        fw::AccNotifyState(edit->CalendarButton(), fw::asExpanded, true);
}

void TfrmQzCal::DoHide() {
    inherited::DoHide();
    if (TQzDateEdit* edit = DateEditOwner(); edit && edit->CalendarButton())
        fw::AccNotifyState(edit->CalendarButton(), fw::asExpanded, false);
}

} // namespace qz
