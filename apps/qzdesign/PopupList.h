#pragma once
// A modal popup list: the inspector's drop-down and the component context menu. A click on an
// entry chooses it; Escape closes it without a choice.

#include <framework/forms/Form.h>
#include <vector>

namespace qzdesign {

enum class TPopupStyle {
    DropDown, // white, the current entry highlighted
    Menu,     // button face, '&' underlines the accelerator
};

class TPopupList : public fw::TForm {
public:
    TPopupList(std::vector<fw::String> Items, TPopupStyle Style, int Width, int Current = -1);

    // Shows the list with its top-left corner at a screen point and returns the chosen index,
    // or -1.
    int Choose(const fw::TPoint& Screen);

    int ItemHeight() const { return FItemHeight; }
    // An entry's rectangle in client coordinates.
    fw::TRect ItemRect(int Index) const;
    const std::vector<fw::String>& Items() const { return FItems; }

protected:
    void Paint() override;
    void MouseDown(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) override;
    void MouseMove(fw::TShiftState Shift, int X, int Y) override;
    void KeyDown(fw::Word& Key, fw::TShiftState Shift) override;

private:
    int IndexAt(int Y) const;

    std::vector<fw::String> FItems;
    TPopupStyle FStyle;
    int FItemHeight;
    int FHot;
    int FChosen = -1;
};

} // namespace qzdesign
