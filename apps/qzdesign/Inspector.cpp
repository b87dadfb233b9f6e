#include "Inspector.h"

#include "PopupList.h"

#include <algorithm>
#include <framework/classes/TypInfo.h>
#include <framework/forms/Application.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Text.h>
#include <framework/platform/Windows.h>

namespace qzdesign {

// ---------------------------------------------------------------- the grid

TInspectorGrid::TInspectorGrid(fw::TComponent* AOwner, TFormDesigner* Designer)
    : fw::TCustomControl(AOwner), FDesigner(Designer) {
    SetColor(fw::clWindow);
    FEdit = new TInspectorEdit(this);
    FEdit->SetBorderStyle(fw::bsNone);
    FEdit->SetVisible(false);
    FEdit->SetParent(this);
    FEdit->OnKeyDown = [this](fw::TObject*, fw::Word& Key, fw::TShiftState) {
        if (Key == fw::VK_RETURN || Key == fw::VK_ESCAPE) {
            const bool apply = Key == fw::VK_RETURN;
            Key = 0;
            CloseEdit(apply);
        }
    };
}

void TInspectorGrid::Rebuild() {
    FEdit->SetVisible(false);
    FEditRow = -1;
    std::vector<fw::TObject*> selection(FDesigner->Selection().begin(), FDesigner->Selection().end());
    FEditors = fw::GetComponentProperties(selection, FDesigner);
    // Events are bound in code, not here.
    std::erase_if(FEditors, [](const auto& e) { return e->PropInfo()->Kind == fw::TTypeKind::Event; });
    FSelected = std::min(FSelected, RowCount() - 1);
    FTopRow = std::max(0, std::min(FTopRow, RowCount() - VisibleRows()));
    Invalidate();
    AnnounceRows();
}

int TInspectorGrid::RowOf(const fw::String& Name) const {
    for (int i = 0; i < RowCount(); ++i)
        if (Editor(i)->GetName() == Name) return i;
    return -1;
}

fw::TRect TInspectorGrid::ValueRect(int Row) const {
    const int top = (Row - FTopRow) * RowHeight;
    return {NameWidth() + 1, top, ClientWidth() - (HasScrollBar() ? ScrollBarWidth : 0), top + RowHeight - 1};
}

fw::TRect TInspectorGrid::ThumbRect() const {
    if (!HasScrollBar()) return {};
    const int track = ClientHeight();
    const int height = std::max(12, track * VisibleRows() / RowCount());
    const int range = std::max(1, RowCount() - VisibleRows());
    const int top = (track - height) * FTopRow / range;
    return {ClientWidth() - ScrollBarWidth, top, ClientWidth(), top + height};
}

void TInspectorGrid::ScrollTo(int Top) {
    Top = std::clamp(Top, 0, std::max(0, RowCount() - VisibleRows()));
    if (Top == FTopRow) return;
    CloseEdit(true);
    FTopRow = Top;
    Invalidate();
}

fw::String TInspectorGrid::ShownValue(int Row) const {
    fw::TPropertyEditor* e = Editor(Row);
    return e->AllEqual() ? e->GetValue() : fw::String();
}

void TInspectorGrid::Paint() {
    fw::TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(fw::clWindow);
    canvas->FillRect(ClientRect());
    for (int row = FTopRow; row < RowCount() && row < FTopRow + VisibleRows() + 1; ++row) {
        const int top = (row - FTopRow) * RowHeight;
        const fw::TRect name{0, top, NameWidth(), top + RowHeight - 1};
        const bool selected = row == FSelected;
        canvas->Brush()->SetColor(selected ? fw::clHighlight : fw::clBtnFace);
        canvas->FillRect(name);
        canvas->Font()->SetColor(selected ? fw::clHighlightText : fw::clWindowText);
        fw::TRect text{name.Left + 3, name.Top, name.Right, name.Bottom};
        fw::DrawTextA(canvas->Handle(), Editor(row)->GetName().c_str(), -1, &text,
                      fw::DT_SINGLELINE | fw::DT_VCENTER | fw::DT_NOPREFIX);
        const fw::TRect value = ValueRect(row);
        canvas->Brush()->SetColor(fw::clWindow);
        canvas->FillRect(value);
        canvas->Font()->SetColor(fw::clNavy);
        text = {value.Left + 3, value.Top, value.Right - 16, value.Bottom};
        fw::DrawTextA(canvas->Handle(), ShownValue(row).c_str(), -1, &text,
                      fw::DT_SINGLELINE | fw::DT_VCENTER | fw::DT_NOPREFIX);
        if (selected && Editor(row)->GetAttributes().Contains(fw::paValueList)) {
            // The drop-down button at the right end of the selected value.
            const fw::TRect button{value.Right - 15, value.Top, value.Right, value.Bottom};
            canvas->Brush()->SetColor(fw::clBtnFace);
            canvas->FillRect(button);
            canvas->Brush()->SetColor(fw::clBlack);
            const int cx = (button.Left + button.Right) / 2, cy = (button.Top + button.Bottom) / 2 - 1;
            for (int i = 0; i < 4; ++i)
                canvas->FillRect({cx - 3 + i, cy + i, cx + 4 - i, cy + i + 1});
        }
        canvas->Pen()->SetColor(fw::clBtnShadow);
        canvas->MoveTo(0, top + RowHeight - 1);
        canvas->LineTo(ClientWidth(), top + RowHeight - 1);
        canvas->MoveTo(NameWidth(), top);
        canvas->LineTo(NameWidth(), top + RowHeight - 1);
    }
    if (!HasScrollBar()) return;
    const fw::TRect track{ClientWidth() - ScrollBarWidth, 0, ClientWidth(), ClientHeight()};
    canvas->Brush()->SetColor(fw::cl3DLight);
    canvas->FillRect(track);
    const fw::TRect thumb = ThumbRect();
    canvas->Brush()->SetColor(fw::clBtnFace);
    canvas->FillRect(thumb);
    canvas->Pen()->SetColor(fw::clBtnShadow);
    canvas->MoveTo(thumb.Left, thumb.Bottom - 1);
    canvas->LineTo(thumb.Right - 1, thumb.Bottom - 1);
    canvas->LineTo(thumb.Right - 1, thumb.Top - 1);
    canvas->Pen()->SetColor(fw::clBtnHighlight);
    canvas->MoveTo(thumb.Left, thumb.Bottom - 2);
    canvas->LineTo(thumb.Left, thumb.Top);
    canvas->LineTo(thumb.Right - 1, thumb.Top);
}

void TInspectorGrid::MouseDown(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) {
    fw::TCustomControl::MouseDown(Button, Shift, X, Y);
    if (HasScrollBar() && X >= ClientWidth() - ScrollBarWidth) {
        // The scroll bar: a press above or below the thumb pages, on it drags.
        if (Button != fw::mbLeft) return;
        const fw::TRect thumb = ThumbRect();
        const int page = std::max(1, VisibleRows() - 1);
        if (Y < thumb.Top)
            ScrollTo(FTopRow - page);
        else if (Y >= thumb.Bottom)
            ScrollTo(FTopRow + page);
        else
            FThumbGrab = Y - thumb.Top;
        return;
    }
    const int row = FTopRow + Y / RowHeight;
    if (Button != fw::mbLeft || Y < 0 || row >= RowCount()) return;
    CloseEdit(true);
    SelectRow(row);
    if (X > NameWidth()) EditRow(row);
}

void TInspectorGrid::MouseMove(fw::TShiftState Shift, int X, int Y) {
    fw::TCustomControl::MouseMove(Shift, X, Y);
    if (FThumbGrab < 0) return;
    const fw::TRect thumb = ThumbRect();
    const int free = std::max(1, ClientHeight() - thumb.Height());
    const int range = RowCount() - VisibleRows();
    ScrollTo(((Y - FThumbGrab) * range + free / 2) / free);
}

void TInspectorGrid::MouseUp(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) {
    fw::TCustomControl::MouseUp(Button, Shift, X, Y);
    FThumbGrab = -1;
}

// The wheel scrolls three rows a notch (finer wheels add up), away from the user up.
void TInspectorGrid::Dispatch(fw::TMessage& Message) {
    if (Message.Msg != fw::WM_MOUSEWHEEL) {
        fw::TCustomControl::Dispatch(Message);
        return;
    }
    FWheelRest += static_cast<std::int16_t>((Message.WParam >> 16) & 0xFFFF);
    const int notches = FWheelRest / 120;
    FWheelRest -= notches * 120;
    if (notches) ScrollTo(FTopRow - notches * WheelRows);
}

void TInspectorGrid::SelectRow(int Row) {
    if (RowCount() == 0) return;
    FSelected = std::clamp(Row, 0, RowCount() - 1);
    if (FSelected < FTopRow) FTopRow = FSelected;
    if (FSelected >= FTopRow + VisibleRows()) FTopRow = FSelected - VisibleRows() + 1;
    Invalidate();
    AnnounceSelection();
}

void TInspectorGrid::KeyDown(fw::Word& Key, fw::TShiftState Shift) {
    fw::TCustomControl::KeyDown(Key, Shift);
    const int page = std::max(1, VisibleRows() - 1);
    switch (Key) {
    case fw::VK_UP:
        SelectRow(FSelected - 1);
        break;
    case fw::VK_DOWN:
        SelectRow(FSelected + 1);
        break;
    case fw::VK_PRIOR:
        SelectRow(FSelected - page);
        break;
    case fw::VK_NEXT:
        SelectRow(FSelected + page);
        break;
    case fw::VK_HOME:
        SelectRow(0);
        break;
    case fw::VK_END:
        SelectRow(RowCount() - 1);
        break;
    case fw::VK_RETURN:
        if (FSelected >= 0) EditRow(FSelected);
        break;
    default:
        return;
    }
    Key = 0;
}

void TInspectorGrid::EditRow(int Row) {
    SelectRow(Row);
    fw::TPropertyEditor* editor = Editor(Row);
    const fw::TPropertyAttributes attributes = editor->GetAttributes();
    if (attributes.Contains(fw::paValueList)) {
        std::vector<fw::String> values;
        editor->GetValues([&](const fw::String& s) { values.push_back(s); });
        if (attributes.Contains(fw::paSortList)) std::sort(values.begin(), values.end());
        const fw::String shown = ShownValue(Row);
        const auto current = std::find(values.begin(), values.end(), shown);
        Repaint();
        const fw::TRect cell = ValueRect(Row);
        TPopupList list(values, TPopupStyle::DropDown, cell.Right - cell.Left,
                        current == values.end() ? -1 : int(current - values.begin()));
        // Below the cell, or above it when the screen ends first.
        fw::TPoint at = ClientToScreen({cell.Left, cell.Bottom + 1});
        if (at.Y + list.Height() > fw::Screen->Height())
            at = ClientToScreen({cell.Left, cell.Top - list.Height()});
        const int chosen = list.Choose(at);
        if (chosen >= 0) Apply(editor, values[std::size_t(chosen)]);
    } else if (!attributes.Contains(fw::paReadOnly)) {
        const fw::TRect cell = ValueRect(Row);
        FEditRow = Row;
        FEdit->SetBounds(cell.Left + 1, cell.Top + 1, cell.Right - cell.Left - 1, cell.Bottom - cell.Top - 1);
        FEdit->SetMaxLength(editor->GetEditLimit());
        FEdit->SetText(ShownValue(Row));
        FEdit->SetVisible(true);
        FEdit->SetFocus();
        FEdit->SelectAll();
    }
}

void TInspectorGrid::CloseEdit(bool ApplyText) {
    if (FEditRow < 0) return;
    const int row = FEditRow;
    FEditRow = -1;
    FEdit->SetVisible(false);
    if (ApplyText) Apply(Editor(row), FEdit->Text());
}

void TInspectorGrid::Apply(fw::TPropertyEditor* Editor, const fw::String& Value) {
    try {
        Editor->SetValue(Value);
    } catch (const fw::EPropertyError& e) {
        fw::Application->MessageBox(e.what(), "Object Inspector", fw::MB_OK | fw::MB_ICONSTOP);
    }
    Invalidate();
    AnnounceValues();
}

bool TInspectorGrid::SetRowValue(int Row, const fw::String& Value) {
    if (Row < 0 || Row >= RowCount() || Editor(Row)->GetAttributes().Contains(fw::paReadOnly)) return false;
    try {
        Editor(Row)->SetValue(Value);
    } catch (const fw::EPropertyError&) {
        return false;
    }
    Invalidate();
    AnnounceValues();
    return true;
}

// ---------------------------------------------------------------- the form

TInspectorForm::TInspectorForm(TFormDesigner* Designer) : fw::TForm(nullptr), FDesigner(Designer) {
    SetCaption("Object Inspector");
    SetBorderStyle(fw::bsSizeToolWin);
    SetClientWidth(260);
    SetClientHeight(560);
    FTitle = new fw::TLabel(this);
    FTitle->SetParent(this);
    FTitle->SetBounds(4, 4, 252, 16);
    FGrid = new TInspectorGrid(this, Designer);
    FGrid->SetParent(this);
    FGrid->SetBounds(2, 24, 256, 534);
    // The title says what the rows belong to, also to a screen reader.
    FTitle->SetFocusControl(FGrid);
}

void TInspectorForm::ValuesChanged() {
    const auto& sel = FDesigner->Selection();
    if (sel.size() == 1) FTitle->SetCaption(sel[0]->Name() + ": " + sel[0]->ClassName());
    FGrid->Invalidate();
    FGrid->AnnounceValues();
}

void TInspectorForm::SelectionChanged() {
    const auto& sel = FDesigner->Selection();
    if (sel.size() == 1)
        FTitle->SetCaption(sel[0]->Name() + ": " + sel[0]->ClassName());
    else
        FTitle->SetCaption(std::to_string(sel.size()) + " components selected");
    FGrid->Rebuild();
}

} // namespace qzdesign
