#pragma once
// The object inspector: one row per published property the selection shares, its name on the
// left and its value on the right (blank when the selected components differ). A click on a
// value opens the editor's drop-down when it has a value list, or an edit field when its text may
// be typed (Enter applies, Escape cancels). The arrow keys, Page Up and Down, Home and End move
// the selected row and scroll it into view; Enter edits it. Rows beyond the window scroll with the
// scroll bar at the right (a press above or below the thumb pages, the thumb drags) and the wheel.

#include "FormDesigner.h"

#include <framework/controls/Edit.h>
#include <framework/controls/GraphicControl.h>
#include <framework/controls/Label.h>
#include <framework/designer/PropertyEditors.h>
#include <framework/platform/Keys.h>

namespace qzdesign {

class TInspectorGrid;

// The field that edits a value in place, named for a screen reader by the
// row's property.
class TInspectorEdit : public fw::TEdit {
public:
    explicit TInspectorEdit(TInspectorGrid* Grid);

protected:
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;

private:
    TInspectorGrid* FGrid;
};

class TInspectorGrid : public fw::TCustomControl {
public:
    TInspectorGrid(fw::TComponent* AOwner, TFormDesigner* Designer);

    // Rebuilds the rows from the designer's selection.
    void Rebuild();

    static constexpr int RowHeight = 16;
    int NameWidth() const { return 96; }
    int RowCount() const { return int(FEditors.size()); }
    int RowOf(const fw::String& Name) const;
    fw::TPropertyEditor* Editor(int Row) const { return FEditors.at(std::size_t(Row)).get(); }
    int SelectedRow() const { return FSelected; }
    int TopRow() const { return FTopRow; }
    int VisibleRows() const { return ClientHeight() / RowHeight; }
    static constexpr int ScrollBarWidth = 16;
    static constexpr int WheelRows = 3;
    bool HasScrollBar() const { return RowCount() > VisibleRows(); }
    // The scroll bar's thumb, in client coordinates (empty without a scroll bar).
    fw::TRect ThumbRect() const;
    // Shows the rows from Top on (kept within the rows there are).
    void ScrollTo(int Top);
    // The value cell of a visible row, in client coordinates.
    fw::TRect ValueRect(int Row) const;
    // What the row shows as its value.
    fw::String ShownValue(int Row) const;
    // Starts editing a row's value, as a click on it does.
    void EditRow(int Row);
    // The row whose value is being typed in place (-1: none).
    int EditingRow() const { return FEditRow; }
    // Selects a row (kept within the rows there are) and scrolls it into view.
    void SelectRow(int Row);
    // Sets a row's value as if typed there and applied; false when the
    // property refuses it (nothing is shown then).
    bool SetRowValue(int Row, const fw::String& Value);
    // Tells the accessibility listeners that the values may have changed.
    void AnnounceValues();

protected:
    // A table of the properties (InspectorAccessible.cpp): per row a header
    // and a cell named by the property, the cell's text its value.
    std::unique_ptr<fw::TAccessible> CreateAccessible() override;
    void Paint() override;
    void MouseDown(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) override;
    void MouseMove(fw::TShiftState Shift, int X, int Y) override;
    void MouseUp(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) override;
    void Dispatch(fw::TMessage& Message) override;
    void KeyDown(fw::Word& Key, fw::TShiftState Shift) override;
    bool FocusOnClick() const override { return true; }
    bool WantsKey(fw::Word Key) const override { return Key == fw::VK_RETURN; }

private:
    // Tells the accessibility listeners of the selected row, or of new rows.
    void AnnounceSelection();
    void AnnounceRows();
    void Apply(fw::TPropertyEditor* Editor, const fw::String& Value);
    void CloseEdit(bool Apply);

    TFormDesigner* FDesigner;
    std::vector<std::unique_ptr<fw::TPropertyEditor>> FEditors;
    int FSelected = -1;
    int FTopRow = 0;
    fw::TEdit* FEdit = nullptr;
    int FEditRow = -1;
    int FThumbGrab = -1; // where the thumb was taken, from its top; -1: not dragging
    int FWheelRest = 0;
};

class TInspectorForm : public fw::TForm {
public:
    explicit TInspectorForm(TFormDesigner* Designer);

    TInspectorGrid* Grid() const { return FGrid; }
    // Follows the designer's selection.
    void SelectionChanged();
    // A value changed (here, on the form, or by a component editor): the rows show it.
    void ValuesChanged();

private:
    TFormDesigner* FDesigner;
    fw::TLabel* FTitle;
    TInspectorGrid* FGrid;
};

} // namespace qzdesign
