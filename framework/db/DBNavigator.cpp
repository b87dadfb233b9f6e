// TDBNavigator: painted buttons that drive a dataset.

#include <framework/classes/Published.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/db/DBNavigator.h>
#include <framework/db/DataSet.h>
#include <framework/db/DataSource.h>
#include <framework/forms/Dialogs.h>

namespace fw {

namespace {

constexpr int ButtonCount = nbRefresh + 1;
const TEnumNames ButtonNames{"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                             "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};

TButtonSet AllButtons() {
    TButtonSet all;
    for (int i = 0; i < ButtonCount; ++i)
        all << static_cast<TNavigateBtn>(i);
    return all;
}

} // namespace

class TDBNavigator::TNavLink : public TDataLink {
public:
    explicit TNavLink(TDBNavigator* nav) : FNav(nav) {}

protected:
    void ActiveChanged() override { FNav->Invalidate(); }
    void DataSetChanged() override { FNav->Invalidate(); }
    void EditingChanged() override { FNav->Invalidate(); }

private:
    TDBNavigator* FNav;
};

FW_PUBLISH(TDBNavigator) {
    cls.Component("DataSource", &TDBNavigator::DataSource, &TDBNavigator::SetDataSource);
    cls.SetOf("VisibleButtons", &TDBNavigator::VisibleButtons, &TDBNavigator::SetVisibleButtons, ButtonNames,
              AllButtons());
    cls.Bool("ConfirmDelete", &TDBNavigator::ConfirmDelete, &TDBNavigator::SetConfirmDelete, true);
    cls.Event("BeforeAction", &TDBNavigator::BeforeAction);
    cls.Event("OnClick", &TDBNavigator::OnClick);
}

TDBNavigator::TDBNavigator(TComponent* AOwner)
    : TCustomControl(AOwner), FDataLink(std::make_unique<TNavLink>(this)), FVisibleButtons(AllButtons()) {
    SetControlStyle(ControlStyle() + csOpaque - csAcceptsControls - csClickEvents);
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 240, 25);
}

TDBNavigator::~TDBNavigator() {
    FDataLink->SetDataSource(nullptr);
    PrepareDestroy();
}

TDataSource* TDBNavigator::DataSource() const {
    return FDataLink->DataSource();
}

void TDBNavigator::SetDataSource(TDataSource* Value) {
    if (Value == DataSource()) return;
    if (Value) Value->FreeNotification(this);
    FDataLink->SetDataSource(Value);
    Invalidate();
}

void TDBNavigator::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && FDataLink && AComponent == DataSource()) SetDataSource(nullptr);
}

void TDBNavigator::SetVisibleButtons(TButtonSet Value) {
    if (Value == FVisibleButtons) return;
    FVisibleButtons = Value;
    Invalidate();
}

TDataSet* TDBNavigator::ActiveDataSet() const {
    TDataSet* ds = FDataLink->DataSet();
    return FDataLink->Active() && ds ? ds : nullptr;
}

bool TDBNavigator::ButtonEnabled(TNavigateBtn Button) const {
    TDataSet* ds = ActiveDataSet();
    if (!ds || !Enabled() || !FVisibleButtons.Contains(Button)) return false;
    const bool editing = ds->State() == dsEdit || ds->State() == dsInsert;
    const bool canModify = ds->CanModify() && !FDataLink->ReadOnly();
    switch (Button) {
    case nbFirst:
    case nbPrior:
        return !ds->Bof();
    case nbNext:
    case nbLast:
        return !ds->Eof();
    case nbInsert:
        return canModify;
    case nbDelete:
        return canModify && !ds->IsEmpty();
    case nbEdit:
        return canModify && !editing && !ds->IsEmpty();
    case nbPost:
    case nbCancel:
        return canModify && editing;
    case nbRefresh:
        return !editing;
    }
    return false;
}

TRect TDBNavigator::ButtonRect(TNavigateBtn Button) const {
    if (!FVisibleButtons.Contains(Button)) return {};
    int count = 0, place = 0;
    for (int i = 0; i < ButtonCount; ++i) {
        if (!FVisibleButtons.Contains(static_cast<TNavigateBtn>(i))) continue;
        if (i < Button) ++place;
        ++count;
    }
    const int width = ClientWidth();
    // Equal widths; the rounding spreads over the buttons.
    return {place * width / count, 0, (place + 1) * width / count, ClientHeight()};
}

int TDBNavigator::ButtonAt(int X, int Y) const {
    for (int i = 0; i < ButtonCount; ++i) {
        const TRect r = ButtonRect(static_cast<TNavigateBtn>(i));
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
    }
    return -1;
}

void TDBNavigator::BtnClick(TNavigateBtn Button) {
    TDataSet* ds = ActiveDataSet();
    if (!ds || !ButtonEnabled(Button)) return;
    if (BeforeAction) BeforeAction(this, Button);
    switch (Button) {
    case nbFirst:
        ds->First();
        break;
    case nbPrior:
        ds->Prior();
        break;
    case nbNext:
        ds->Next();
        break;
    case nbLast:
        ds->Last();
        break;
    case nbInsert:
        ds->Insert();
        break;
    case nbEdit:
        ds->Edit();
        break;
    case nbPost:
        ds->Post();
        break;
    case nbCancel:
        ds->Cancel();
        break;
    case nbRefresh:
        ds->Refresh();
        break;
    case nbDelete:
        if (FConfirmDelete && MessageDlg(SDeleteRecordQuestion, mtConfirmation, {mbOK, mbCancel}, 0) != mrOk)
            return;
        ds->Delete();
        break;
    }
    if (OnClick) OnClick(this, Button);
}

void TDBNavigator::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    inherited::MouseDown(Button, Shift, X, Y);
    const int hit = ButtonAt(X, Y);
    if (Button != mbLeft || hit < 0 || !ButtonEnabled(static_cast<TNavigateBtn>(hit))) return;
    FPressed = hit;
    Invalidate();
}

void TDBNavigator::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    inherited::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || FPressed < 0) return;
    const int pressed = FPressed;
    FPressed = -1;
    Invalidate();
    if (ButtonAt(X, Y) == pressed) BtnClick(static_cast<TNavigateBtn>(pressed));
}

// ---------------------------------------------------------------- painting

void TDBNavigator::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    for (int i = 0; i < ButtonCount; ++i) {
        const auto b = static_cast<TNavigateBtn>(i);
        const TRect r = ButtonRect(b);
        if (r.IsEmpty()) continue;
        const bool down = FPressed == i;
        auto line = [c](const TRect& rect, TColor color) {
            c->Brush()->SetColor(color);
            c->FillRect(rect);
        };
        // A raised (or, pressed, sunken) button edge.
        line({r.Left, r.Top, r.Right, r.Top + 1}, down ? clBtnShadow : clBtnHighlight);
        line({r.Left, r.Top, r.Left + 1, r.Bottom}, down ? clBtnShadow : clBtnHighlight);
        line({r.Left, r.Bottom - 1, r.Right, r.Bottom}, down ? clBtnHighlight : clWindowFrame);
        line({r.Right - 1, r.Top, r.Right, r.Bottom}, down ? clBtnHighlight : clWindowFrame);
        if (!down) {
            line({r.Left + 1, r.Bottom - 2, r.Right - 1, r.Bottom - 1}, clBtnShadow);
            line({r.Right - 2, r.Top + 1, r.Right - 1, r.Bottom - 1}, clBtnShadow);
        }
        DrawGlyph(b, r, ButtonEnabled(b), down);
    }
}

// Small pictures in the classic manner: triangles, bars, plus, minus, a
// check, a cross and a turning arrow; grey when the button does not work.
void TDBNavigator::DrawGlyph(TNavigateBtn Button, const TRect& R, bool Enabled, bool Down) {
    TCanvas* c = Canvas();
    const int cx = (R.Left + R.Right) / 2 + (Down ? 1 : 0);
    const int cy = (R.Top + R.Bottom) / 2 + (Down ? 1 : 0);
    auto draw = [&](TColor color, int dx) {
        auto px = [&](int x, int y, int w = 1, int h = 1) {
            c->Brush()->SetColor(color);
            c->FillRect({cx + x + dx, cy + y + dx, cx + x + w + dx, cy + y + h + dx});
        };
        auto left = [&](int x) { // a triangle pointing left, tip at x
            for (int i = 0; i < 5; ++i)
                px(x + i, -i, 1, 2 * i + 1);
        };
        auto right = [&](int x) {
            for (int i = 0; i < 5; ++i)
                px(x - i, -i, 1, 2 * i + 1);
        };
        switch (Button) {
        case nbFirst:
            px(-4, -4, 2, 9);
            left(-1);
            break;
        case nbPrior:
            left(-2);
            break;
        case nbNext:
            right(2);
            break;
        case nbLast:
            right(1);
            px(3, -4, 2, 9);
            break;
        case nbInsert:
            px(-4, -1, 9, 2);
            px(-1, -4, 2, 9);
            break;
        case nbDelete:
            px(-4, -1, 9, 2);
            break;
        case nbEdit: // a triangle pointing up
            for (int i = 0; i < 5; ++i)
                px(-i, -2 + i, 2 * i + 1, 1);
            break;
        case nbPost:
            for (int i = 0; i < 3; ++i)
                px(-4 + i, i, 1, 2);
            for (int i = 0; i < 6; ++i)
                px(-1 + i, 2 - i, 1, 2);
            break;
        case nbCancel:
            for (int i = -3; i <= 3; ++i) {
                px(i, i, 2, 1);
                px(i, -i, 2, 1);
            }
            break;
        case nbRefresh:
            px(-4, -3, 2, 7);
            px(-3, 3, 7, 2);
            px(3, -3, 2, 6);
            px(-2, -4, 4, 2);
            px(0, -6, 1, 6); // the arrow head
            px(1, -5, 1, 4);
            break;
        }
    };
    if (Enabled) {
        draw(clBlack, 0);
    } else {
        draw(clBtnHighlight, 1);
        draw(clBtnShadow, 0);
    }
}

} // namespace fw
