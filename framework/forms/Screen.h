#pragma once
// TScreen (global Screen): the virtual desktop's size, the forms on it in
// z-order, and which form and control are active.

#include <framework/classes/Component.h>
#include <framework/rtl/Types.h>
#include <vector>

namespace fw {

class TForm;
class TWinControl;

class TScreen : public TComponent {
    FW_CLASS(TScreen, TComponent)

public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // The desktop size: 1024 x 768 unless set.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int width, int height);
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    void SetHeight(int Value) { SetSize(FWidth, Value); }

    // Every existing form, in the order they were made.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TForm* Forms(int Index) const { return FForms.at(static_cast<std::size_t>(Index)); }
    // The forms bottom to top as they are stacked (stay-on-top forms above the others).
    const std::vector<TForm*>& ZOrder() const { return FZOrder; }
    // How many times a form was brought to the front: a desktop raises its
    // window again even when it was on top already (the user clicked a window
    // a modal form keeps from input).
    int RaiseCount() const { return FRaiseCount; }
    // The topmost shown form whose frame contains a screen point, or nullptr.
    TForm* FormAtPoint(const TPoint& p) const;

    TForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const;

    // Bookkeeping for forms; not for application code.
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);
    void BringToFront(TForm* form);
    void SetActiveForm(TForm* form);
    // The shown form to activate when form goes away (the last active one).
    TForm* NextActiveForm(TForm* except) const;
    // Forms in a modal loop, oldest first. They stack above every other form,
    // the newest on top, whatever their FormStyle.
    void PushModal(TForm* form);
    void PopModal(TForm* form);
    const std::vector<TForm*>& ModalForms() const { return FModalForms; }

private:
    int FWidth = 1024;
    int FHeight = 768;
    std::vector<TForm*> FForms;
    std::vector<TForm*> FZOrder;
    std::vector<TForm*> FActivation; // least recently active first
    std::vector<TForm*> FModalForms; // oldest first
    int FRaiseCount = 0;

    // Forms stack by band: normal, stay-on-top, then each modal form.
    std::size_t Band(const TForm* form) const;
    TForm* FActiveForm = nullptr;
};

// Global access, made on first use: `Screen->Width()`.
struct TScreenRef {
    TScreen* operator->() const { return Get(); }
    operator TScreen*() const { return Get(); }
    static TScreen* Get();
};
inline constexpr TScreenRef Screen{};

} // namespace fw
