// TDBCtrlGrid: one live panel on the current record, painted copies elsewhere.

#include <algorithm>
#include <framework/classes/Published.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/db/DBCtrlGrid.h>
#include <framework/db/DataSet.h>
#include <framework/db/DataSource.h>
#include <framework/platform/Gdi.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Messages.h>
#include <framework/platform/Rects.h>

namespace fw {

class TDBCtrlGrid::TGridLink : public TDataLink {
public:
    explicit TGridLink(TDBCtrlGrid* grid) : FGrid(grid) {}

protected:
    void ActiveChanged() override { FGrid->DataChanged(); }
    void DataSetChanged() override { FGrid->DataChanged(); }
    void DataSetScrolled(int) override { FGrid->DataChanged(); }
    void RecordChanged(TField*) override { FGrid->Invalidate(); }

private:
    TDBCtrlGrid* FGrid;
};

FW_PUBLISH(TDBCtrlPanel) {}

TDBCtrlPanel::TDBCtrlPanel(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    SetParentColor(true);
}

FW_PUBLISH(TDBCtrlGrid) {
    cls.Component("DataSource", &TDBCtrlGrid::DataSource, &TDBCtrlGrid::SetDataSource);
    cls.Color("Color", &TDBCtrlGrid::Color, &TDBCtrlGrid::SetColor, clBtnFace);
    cls.Int("PanelHeight", &TDBCtrlGrid::PanelHeight, &TDBCtrlGrid::SetPanelHeight, 72);
    cls.Int("RowCount", &TDBCtrlGrid::RowCount, &TDBCtrlGrid::SetRowCount, 3);
}

TDBCtrlGrid::TDBCtrlGrid(TComponent* AOwner)
    : TCustomControl(AOwner), FDataLink(std::make_unique<TGridLink>(this)) {
    SetControlStyle(ControlStyle() + csOpaque - csAcceptsControls);
    SetColor(clBtnFace);
    SetTabStop(true);
    FPanel = new TDBCtrlPanel(this);
    FPanel->SetParent(this);
    SetBounds(Left(), Top(), 200, FRowCount * FPanelHeight);
    PlacePanel();
}

TDBCtrlGrid::~TDBCtrlGrid() {
    FDataLink->SetDataSourceFixed(false);
    FDataLink->SetDataSource(nullptr);
    PrepareDestroy();
}

TDataSource* TDBCtrlGrid::DataSource() const {
    return FDataLink->DataSource();
}

TDataSet* TDBCtrlGrid::ActiveDataSet() const {
    TDataSet* ds = FDataLink->DataSet();
    return FDataLink->Active() && ds ? ds : nullptr;
}

void TDBCtrlGrid::SetDataSource(TDataSource* Value) {
    if (Value == FDataLink->DataSource()) return;
    if (Value) Value->FreeNotification(this);
    FDataLink->SetDataSource(Value);
    UpdateDataLinks();
    DataChanged();
}

void TDBCtrlGrid::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && FDataLink && AComponent == FDataLink->DataSource()) SetDataSource(nullptr);
}

void TDBCtrlGrid::UpdateDataLinks() {
    for (int i = 0; i < FPanel->ControlCount(); ++i) {
        TControl* control = FPanel->Controls(i);
        auto* link = reinterpret_cast<TDataLink*>(control->Perform(CM_GETDATALINK));
        if (!link) continue;
        link->SetDataSourceFixed(false);
        link->SetDataSource(DataSource());
        link->SetDataSourceFixed(true);
    }
}

void TDBCtrlGrid::SetRowCount(int Value) {
    Value = std::max(1, Value);
    if (Value == FRowCount) return;
    FRowCount = Value;
    SetBounds(Left(), Top(), Width(), Height() - ClientHeight() + FRowCount * FPanelHeight);
    DataChanged();
}

void TDBCtrlGrid::SetPanelHeight(int Value) {
    Value = std::max(1, Value);
    if (Value == FPanelHeight) return;
    FPanelHeight = Value;
    SetBounds(Left(), Top(), Width(), Height() - ClientHeight() + FRowCount * FPanelHeight);
    DataChanged();
}

void TDBCtrlGrid::BoundsChanged(bool moved, bool resized) {
    inherited::BoundsChanged(moved, resized);
    if (resized && FPanel) PlacePanel();
}

// Controls read from a form file were made inside the grid: they belong
// on the panel.
void TDBCtrlGrid::Loaded() {
    inherited::Loaded();
    std::vector<TControl*> moved;
    for (int i = 0; i < ControlCount(); ++i)
        if (Controls(i) != FPanel) moved.push_back(Controls(i));
    for (TControl* c : moved)
        c->SetParent(FPanel);
    UpdateDataLinks();
    DataChanged();
}

void TDBCtrlGrid::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (int i = 0; i < FPanel->ControlCount(); ++i)
        if (FPanel->Controls(i)->Owner() == root) proc(FPanel->Controls(i));
}

int TDBCtrlGrid::ActiveRow() const {
    TDataSet* ds = ActiveDataSet();
    if (!ds || ds->ActiveIndex() < 0) return -1;
    return ds->ActiveIndex() - FTopRecord;
}

// Keeps the current record in view and puts the panel on its row.
void TDBCtrlGrid::DataChanged() {
    TDataSet* ds = ActiveDataSet();
    if (!ds) {
        FTopRecord = 0;
    } else {
        const int index = ds->ActiveIndex();
        const int count = ds->PlaceCount();
        if (index < FTopRecord) FTopRecord = std::max(index, 0);
        if (index >= FTopRecord + FRowCount) FTopRecord = index - FRowCount + 1;
        FTopRecord = std::clamp(FTopRecord, 0, std::max(0, count - FRowCount));
    }
    PlacePanel();
    Invalidate();
}

void TDBCtrlGrid::PlacePanel() {
    const int row = ActiveRow();
    FPanel->SetBounds(0, std::max(row, 0) * FPanelHeight, ClientWidth(), FPanelHeight);
    // Without a current record (closed or empty) the panel still shows on the
    // first row, where the controls show no data.
    FPanel->SetVisible(row >= 0 || !ActiveDataSet() || ActiveDataSet()->PlaceCount() == 0);
}

void TDBCtrlGrid::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    const TRect all = ClientRect();
    canvas->FillRect(all);
    FCopiesPainted = 0;
    TDataSet* ds = ActiveDataSet();
    if (!ds) return;
    const int count = ds->PlaceCount();
    const int active = ds->ActiveIndex();
    HDC dc = canvas->Handle();
    for (int row = 0; row < FRowCount; ++row) {
        const int index = FTopRecord + row;
        const int top = row * FPanelHeight;
        if (index < count && index != active) PaintCopies(dc, index, top);
        // A line under every row.
        canvas->Brush()->SetColor(clBtnShadow);
        const TRect line{0, top + FPanelHeight - 1, all.Right, top + FPanelHeight};
        canvas->FillRect(line);
    }
}

void TDBCtrlGrid::PaintCopies(HDC DC, int Index, int Top) {
    TDataSet* ds = ActiveDataSet();
    struct TRestore {
        TDataSet* DataSet;
        ~TRestore() { DataSet->SetPaintRecord(-1); }
    } restore{ds};
    ds->SetPaintRecord(Index);
    for (int i = 0; i < FPanel->ControlCount(); ++i) {
        TControl* c = FPanel->Controls(i);
        if (!c->Visible() || !c->ControlStyle().Contains(csReplicatable)) continue;
        struct TCopyState {
            TControl* Control;
            ~TCopyState() { Control->SetControlState(Control->ControlState() - csPaintCopy); }
        } state{c};
        c->SetControlState(c->ControlState() + csPaintCopy);
        if (c->IsWindowed()) {
            static_cast<TWinControl*>(c)->PaintTo(DC, c->Left(), Top + c->Top());
        } else {
            TRect clip = DC->ClipBox();
            const TRect own{c->Left(), Top + c->Top(), c->Left() + c->Width(), Top + c->Top() + c->Height()};
            IntersectRect(&clip, &clip, &own);
            if (clip.IsEmpty()) continue;
            const TPoint o{DC->Origin().X + own.Left, DC->Origin().Y + own.Top};
            const TRect surfaceClip{DC->Origin().X + clip.Left, DC->Origin().Y + clip.Top,
                                    DC->Origin().X + clip.Right, DC->Origin().Y + clip.Bottom};
            auto release = [](HDC dc) { DeleteDC(dc); };
            std::unique_ptr<TDeviceContext, decltype(release)> copy(
                CreateSurfaceDC(DC->Surface(), o, surfaceClip), release);
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(copy.get()), 0);
        }
        ++FCopiesPainted;
    }
}

// ---------------------------------------------------------------- input

void TDBCtrlGrid::Scroll(int Distance) {
    if (TDataSet* ds = ActiveDataSet()) ds->MoveBy(Distance);
}

bool TDBCtrlGrid::WantsKey(Word Key) const {
    return false;
}

void TDBCtrlGrid::KeyDown(Word& Key, TShiftState Shift) {
    inherited::KeyDown(Key, Shift);
    TDataSet* ds = ActiveDataSet();
    if (!ds || Key == 0) return;
    switch (Key) {
    case VK_DOWN:
        ds->Next();
        break;
    case VK_UP:
        ds->Prior();
        break;
    case VK_NEXT:
        ds->MoveBy(FRowCount);
        break;
    case VK_PRIOR:
        ds->MoveBy(-FRowCount);
        break;
    case VK_HOME:
        if (!Shift.Contains(ssCtrl)) return;
        ds->First();
        break;
    case VK_END:
        if (!Shift.Contains(ssCtrl)) return;
        ds->Last();
        break;
    default:
        return;
    }
    Key = 0;
}

void TDBCtrlGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && !Focused()) SetFocus();
    if (TDataSet* ds = ActiveDataSet(); ds && Button == mbLeft && Y >= 0) {
        const int index = FTopRecord + Y / FPanelHeight;
        if (Y / FPanelHeight < FRowCount && index < ds->RecordCount() && ds->ActiveIndex() >= 0)
            ds->MoveBy(index - ds->ActiveIndex());
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void TDBCtrlGrid::WMMouseWheel(TMessage& Message) {
    const auto delta = static_cast<std::int16_t>((Message.WParam >> 16) & 0xFFFF);
    Scroll(-delta / 120);
    Message.Result = 0;
}

} // namespace fw
