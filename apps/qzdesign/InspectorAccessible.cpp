// The inspector as a screen reader finds it: a table "Properties of Form1:
// TForm" with one row per property. Each row has a row header and a cell
// named by the property; the cell's text is the value, which a screen reader
// can set (as typed and applied) unless the property is read-only, and its
// action "edit" opens the value's drop-down or edit field as a click does.
// The selected row's cell is selected, and focused while the grid has the
// focus; each move of the selection is announced.
//
// The rows' objects are made as they are first asked for and kept for the
// grid's life: after a rebuild row n is the new row n (renamed, its text
// told), so an action still waiting in the message loop never meets a freed
// object.

#include "Inspector.h"

#include <framework/controls/AccessibleControls.h>
#include <framework/designer/PropertyEditors.h>

namespace qzdesign {

using fw::TAccessible;
using fw::TAccRole;
using fw::TAccStates;

namespace {

class TInspectorAccessible;

// The column header "Value", a row's header, or a row's value cell.
class TInspectorPart : public fw::TAccElement {
public:
    TInspectorPart(TAccessible* Table, TInspectorGrid* Grid, int Row) : TAccElement(Table, Grid), FGrid(Grid), FRow(Row) {}
    bool Exists() const { return FRow < FGrid->RowCount(); }
    TAccStates States() const override {
        TAccStates s = TAccElement::States();
        // A row scrolled out of the window is not showing.
        if (FRow >= 0 && (FRow < FGrid->TopRow() || FRow >= FGrid->TopRow() + FGrid->VisibleRows() + 1))
            s.Exclude(fw::asShowing);
        return s;
    }

protected:
    TInspectorGrid* FGrid;
    int FRow;
};

class TRowHeader : public TInspectorPart {
public:
    using TInspectorPart::TInspectorPart;
    TAccRole Role() const override { return TAccRole::RowHeader; }
    fw::String Name() const override { return Exists() ? FGrid->Editor(FRow)->GetName() : fw::String(); }

protected:
    fw::TRect ClientBounds() const override {
        const fw::TRect value = FGrid->ValueRect(FRow);
        return {0, value.Top, FGrid->NameWidth(), value.Bottom};
    }
};

class TValueHeader : public TInspectorPart {
public:
    using TInspectorPart::TInspectorPart;
    TAccRole Role() const override { return TAccRole::ColumnHeader; }
    fw::String Name() const override { return "Value"; }

protected:
    fw::TRect ClientBounds() const override { return {FGrid->NameWidth() + 1, 0, FGrid->ClientWidth(), 0}; }
};

class TValueCell : public TInspectorPart {
public:
    using TInspectorPart::TInspectorPart;
    TAccRole Role() const override { return TAccRole::TableCell; }
    fw::String Name() const override { return Exists() ? FGrid->Editor(FRow)->GetName() : fw::String(); }
    // The values a drop-down offers, or that the selection's values differ.
    fw::String Description() const override {
        if (!Exists()) return {};
        if (!FGrid->Editor(FRow)->AllEqual()) return "Values differ";
        return FGrid->Editor(FRow)->GetAttributes().Contains(fw::paValueList) ? "Choose from a list" : fw::String();
    }
    TAccStates States() const override {
        TAccStates s = TInspectorPart::States();
        if (!Exists()) return s;
        s << fw::asSelectable << fw::asFocusable << fw::asSingleLine;
        if (FRow == FGrid->SelectedRow()) {
            s << fw::asSelected;
            if (FGrid->Focused()) s << fw::asFocused;
        }
        const fw::TPropertyAttributes a = FGrid->Editor(FRow)->GetAttributes();
        s << (a.Contains(fw::paReadOnly) ? fw::asReadOnly : fw::asEditable);
        if (a.Contains(fw::paValueList)) s << fw::asHasPopup;
        return s;
    }
    bool CellPosition(int& Row, int& Column) const override {
        Row = FRow, Column = 0;
        return true;
    }
    bool HasText() const override { return true; }
    fw::String Text() const override { return Exists() ? FGrid->ShownValue(FRow) : fw::String(); }
    int CaretOffset() const override { return 0; }
    bool SetTextContents(const fw::String& Value) override { return Exists() && FGrid->SetRowValue(FRow, Value); }
    int ActionCount() const override {
        return Exists() && !FGrid->Editor(FRow)->GetAttributes().Contains(fw::paReadOnly) ? 1 : 0;
    }
    fw::String ActionName(int Index) const override { return Index == 0 ? "edit" : fw::String(); }
    fw::String ActionDescription(int Index) const override {
        return Index == 0 ? "Opens the value's list or edit field" : fw::String();
    }
    void RunAction(int Index) override {
        if (Index == 0 && ActionCount() > 0 && FGrid->Showing()) FGrid->EditRow(FRow);
    }
    bool GrabFocus() override {
        if (!Exists()) return false;
        FGrid->SelectRow(FRow);
        return true;
    }

protected:
    fw::TRect ClientBounds() const override { return FGrid->ValueRect(FRow); }
};

class TInspectorAccessible : public fw::TControlAccessible {
public:
    explicit TInspectorAccessible(TInspectorGrid* Grid)
        : TControlAccessible(Grid), FValueHeader(this, Grid, -1), FAnnounced(Grid->SelectedRow()) {}

    TAccRole Role() const override { return TAccRole::Table; }
    fw::String Name() const override {
        const fw::String title = TControlAccessible::Name();
        return title.empty() ? fw::String("Properties") : "Properties of " + title;
    }
    TAccStates States() const override { return TControlAccessible::States() << fw::asFocusable; }
    TAccessible* FocusTarget() override {
        FAnnounced = Grid()->SelectedRow();
        TAccessible* cell = CellAt(FAnnounced, 0);
        return cell ? cell : this;
    }

    int RowCount() const override { return Grid()->RowCount(); }
    int ColumnCount() const override { return 1; }
    TAccessible* CellAt(int Row, int Column) const override {
        return Column == 0 ? Make<TValueCell>(Row, FCells) : nullptr;
    }
    TAccessible* ColumnHeader(int Column) const override {
        return Column == 0 ? const_cast<TValueHeader*>(&FValueHeader) : nullptr;
    }
    TAccessible* RowHeader(int Row) const override { return Make<TRowHeader>(Row, FHeaders); }

    // Announces a move of the selected row.
    void AnnounceSelection() {
        const int row = Grid()->SelectedRow();
        if (row == FAnnounced) return;
        if (TAccessible* old = Made(FAnnounced, FCells))
            fw::AccNotify({fw::TAccEventKind::StateChanged, old, fw::asSelected, 0});
        FAnnounced = row;
        TAccessible* cell = CellAt(row, 0);
        if (!cell) return;
        fw::AccNotify({fw::TAccEventKind::StateChanged, cell, fw::asSelected, 1});
        fw::AccNotify({fw::TAccEventKind::SelectionChanged, this});
        if (Grid()->Focused()) fw::AccNotify({fw::TAccEventKind::Focus, cell});
    }
    // Rows that were read take new names after a rebuild; values are told as text changes.
    void AnnounceRows(bool Renamed) {
        if (Renamed)
            for (auto& header : FHeaders)
                if (header) fw::AccNotify({fw::TAccEventKind::NameChanged, header.get()});
        for (auto& cell : FCells) {
            if (!cell) continue;
            if (Renamed) fw::AccNotify({fw::TAccEventKind::NameChanged, cell.get()});
            fw::AccNotify({fw::TAccEventKind::TextChanged, cell.get()});
        }
        if (Renamed) {
            fw::AccNotify({fw::TAccEventKind::ChildrenChanged, this});
            FAnnounced = -2; // the selected row is told again
            AnnounceSelection();
        }
    }

protected:
    // After the visible child controls (the edit field while it shows): the
    // column header, then each row's header and cell.
    int ElementCount() const override { return 1 + 2 * RowCount(); }
    TAccessible* Element(int Index) const override {
        if (Index == 0) return ColumnHeader(0);
        --Index;
        return Index % 2 == 0 ? RowHeader(Index / 2) : CellAt(Index / 2, 0);
    }

private:
    TInspectorGrid* Grid() const { return static_cast<TInspectorGrid*>(FControl); }
    using TParts = std::vector<std::unique_ptr<TInspectorPart>>;
    // Row's header or cell, made on first use (nullptr outside the rows).
    template <class T> TAccessible* Make(int Row, TParts& Parts) const {
        if (Row < 0 || Row >= RowCount()) return nullptr;
        if (Parts.size() <= std::size_t(Row)) Parts.resize(std::size_t(Row) + 1);
        auto& part = Parts[std::size_t(Row)];
        if (!part) part = std::make_unique<T>(const_cast<TInspectorAccessible*>(this), Grid(), Row);
        return part.get();
    }
    static TAccessible* Made(int Row, const TParts& Parts) {
        return Row >= 0 && std::size_t(Row) < Parts.size() ? Parts[std::size_t(Row)].get() : nullptr;
    }

    TValueHeader FValueHeader;
    mutable TParts FHeaders, FCells;
    int FAnnounced;
};

class TInspectorEditAccessible : public fw::TEditAccessible {
public:
    TInspectorEditAccessible(fw::TCustomEdit* Edit, TInspectorGrid* Grid) : TEditAccessible(Edit), FGrid(Grid) {}
    fw::String Name() const override {
        const int row = FGrid->EditingRow();
        return row >= 0 && row < FGrid->RowCount() ? FGrid->Editor(row)->GetName() : fw::String();
    }

private:
    TInspectorGrid* FGrid;
};

} // namespace

std::unique_ptr<TAccessible> TInspectorGrid::CreateAccessible() {
    return std::make_unique<TInspectorAccessible>(this);
}

void TInspectorGrid::AnnounceSelection() {
    if (!fw::AccListening() || !HasAccessible()) return;
    static_cast<TInspectorAccessible*>(Accessible())->AnnounceSelection();
}

// Text changes are told also to a quiet listener, which keeps the texts it knows.
void TInspectorGrid::AnnounceRows() {
    if (!HasAccessible()) return;
    static_cast<TInspectorAccessible*>(Accessible())->AnnounceRows(true);
}

void TInspectorGrid::AnnounceValues() {
    if (!HasAccessible()) return;
    static_cast<TInspectorAccessible*>(Accessible())->AnnounceRows(false);
}

TInspectorEdit::TInspectorEdit(TInspectorGrid* Grid) : fw::TEdit(Grid), FGrid(Grid) {}

std::unique_ptr<TAccessible> TInspectorEdit::CreateAccessible() {
    return std::make_unique<TInspectorEditAccessible>(this, FGrid);
}

} // namespace qzdesign
