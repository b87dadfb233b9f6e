#include "PopupList.h"

#include <framework/platform/Keys.h>
#include <framework/platform/Text.h>

namespace qzdesign {

namespace {

constexpr int Frame = 1;

} // namespace

TPopupList::TPopupList(std::vector<fw::String> Items, TPopupStyle Style, int Width, int Current)
    : fw::TForm(nullptr), FItems(std::move(Items)), FStyle(Style), FHot(Current) {
    SetBorderStyle(fw::bsNone);
    SetKeyPreview(true);
    FItemHeight = Style == TPopupStyle::Menu ? 20 : 16;
    SetColor(Style == TPopupStyle::Menu ? fw::clBtnFace : fw::clWindow);
    SetClientWidth(Width);
    SetClientHeight(int(FItems.size()) * FItemHeight + 2 * Frame);
}

int TPopupList::Choose(const fw::TPoint& Screen) {
    SetBounds(Screen.X, Screen.Y, Width(), Height());
    FChosen = -1;
    return ShowModal() == fw::mrOk ? FChosen : -1;
}

fw::TRect TPopupList::ItemRect(int Index) const {
    return {Frame, Frame + Index * FItemHeight, ClientWidth() - Frame, Frame + (Index + 1) * FItemHeight};
}

int TPopupList::IndexAt(int Y) const {
    const int index = (Y - Frame) / FItemHeight;
    return Y >= Frame && index >= 0 && index < int(FItems.size()) ? index : -1;
}

void TPopupList::Paint() {
    fw::TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->Brush()->SetColor(fw::clBlack);
    canvas->FrameRect(ClientRect());
    for (int i = 0; i < int(FItems.size()); ++i) {
        const fw::TRect item = ItemRect(i);
        const bool hot = i == FHot;
        canvas->Brush()->SetColor(hot ? fw::clHighlight : Color());
        canvas->FillRect(item);
        canvas->Font()->SetColor(hot ? fw::clHighlightText : fw::clWindowText);
        fw::TRect text = item;
        text.Left += FStyle == TPopupStyle::Menu ? 18 : 3;
        const unsigned prefix = FStyle == TPopupStyle::Menu ? 0 : fw::DT_NOPREFIX;
        fw::DrawTextA(canvas->Handle(), FItems[std::size_t(i)].c_str(), -1, &text,
                      fw::DT_SINGLELINE | fw::DT_VCENTER | prefix);
    }
}

void TPopupList::MouseDown(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) {
    fw::TForm::MouseDown(Button, Shift, X, Y);
    const int index = IndexAt(Y);
    if (Button != fw::mbLeft || index < 0) return;
    FChosen = index;
    SetModalResult(fw::mrOk);
}

void TPopupList::MouseMove(fw::TShiftState Shift, int X, int Y) {
    fw::TForm::MouseMove(Shift, X, Y);
    const int index = IndexAt(Y);
    if (index >= 0 && index != FHot) {
        FHot = index;
        Invalidate();
    }
}

void TPopupList::KeyDown(fw::Word& Key, fw::TShiftState Shift) {
    if (Key == fw::VK_ESCAPE) {
        SetModalResult(fw::mrCancel);
        Key = 0;
    } else if (Key == fw::VK_RETURN && FHot >= 0) {
        FChosen = FHot;
        SetModalResult(fw::mrOk);
        Key = 0;
    }
    fw::TForm::KeyDown(Key, Shift);
}

} // namespace qzdesign
