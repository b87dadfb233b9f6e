#pragma once
// TDBCtrlGrid: a panel of data-aware controls repeated for several records.
//
// The grid shows RowCount rows of PanelHeight pixels. The controls live on
// its panel (Panel(), a real child window), which sits on the row of the
// dataset's current record, so the user edits that record with the real
// controls. The other rows are painted as copies: for each visible record,
// the grid points the dataset's fields at that record (SetPaintRecord) and
// paints every visible csReplicatable control of the panel at its place in
// the row, with csPaintCopy in its control state. Controls without
// csReplicatable show only on the current row.
//
// The grid reaches each control's data link with CM_GETDATALINK, sets it to
// the grid's DataSource and marks it DataSourceFixed (the control's data
// source can then not be changed: SDataSourceFixed). Up, Down, Page Up, Page
// Down, Ctrl+Home and Ctrl+End move through the records while the grid has
// the focus; the mouse wheel scrolls; a click on a row makes its record the
// current one.

#include <framework/controls/GraphicControl.h>
#include <framework/db/DataLink.h>
#include <memory>

namespace fw {

class TDataSet;
class TDataSource;
class TDBCtrlGrid;

// The grid's panel: holds the controls; painted on the current record's row.
class TDBCtrlPanel : public TWinControl {
    FW_CLASS(TDBCtrlPanel, TWinControl)

public:
    explicit TDBCtrlPanel(TComponent* AOwner);

protected:
    // The current record's row: a selected list item holding the controls.
    std::unique_ptr<TAccessible> CreateAccessible() override;
};

class TDBCtrlGrid : public TCustomControl {
    FW_CLASS(TDBCtrlGrid, TCustomControl)

public:
    explicit TDBCtrlGrid(TComponent* AOwner);
    ~TDBCtrlGrid() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int PanelHeight() const { return FPanelHeight; }
    void SetPanelHeight(int Value);
    TDBCtrlPanel* Panel() const { return FPanel; }
    // The record shown on the top row (0-based), and the row of the current
    // record (-1 when there is none).
    int TopRecord() const { return FTopRecord; }
    int ActiveRow() const;
    // Binds the panel's controls to the grid's data source again (after
    // controls were added to the panel in code).
    void UpdateDataLinks();
    // How many control copies the last paint drew (tests).
    int CopiesPainted() const { return FCopiesPainted; }

    bool FocusOnClick() const override { return true; }
    bool WantsKey(Word Key) const override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

protected:
    // The wheel scrolls a row a notch.
    void WMMouseWheel(TMessage& Message) override;
    // A list with one item per row shown: the panel on the current record's
    // row, an item named by its record number on the others.
    std::unique_ptr<TAccessible> CreateAccessible() override;
    void Paint() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BoundsChanged(bool moved, bool resized) override;

private:
    class TGridLink;
    friend class TGridLink;

    TDataSet* ActiveDataSet() const;
    void DataChanged();
    void PlacePanel();
    void Scroll(int Distance);
    void PaintCopies(HDC DC, int Index, int Top);

    std::unique_ptr<TGridLink> FDataLink;
    TDBCtrlPanel* FPanel = nullptr;
    int FRowCount = 3;
    int FPanelHeight = 72;
    int FTopRecord = 0;
    int FCopiesPainted = 0;
};

} // namespace fw
