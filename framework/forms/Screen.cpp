// TScreen: the desktop, the stacking of the forms and the active form.

#include <algorithm>
#include <framework/classes/Published.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>

namespace fw {

FW_PUBLISH(TScreen) {}

TScreen* TScreenRef::Get() {
    // Made on first use and kept for the life of the program.
    static TScreen* screen = new TScreen(nullptr);
    return screen;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}
TScreen::~TScreen() = default;

void TScreen::SetSize(int width, int height) {
    FWidth = std::max(1, width);
    FHeight = std::max(1, height);
}

void TScreen::AddForm(TForm* form) {
    FForms.push_back(form);
    FZOrder.insert(FZOrder.begin(), form);
}

void TScreen::RemoveForm(TForm* form) {
    auto drop = [form](std::vector<TForm*>& v) { v.erase(std::remove(v.begin(), v.end(), form), v.end()); };
    drop(FForms);
    drop(FZOrder);
    drop(FActivation);
    drop(FModalForms);
    if (FActiveForm == form) FActiveForm = nullptr;
}

std::size_t TScreen::Band(const TForm* form) const {
    const auto modal = std::find(FModalForms.begin(), FModalForms.end(), form);
    if (modal != FModalForms.end()) return 2 + static_cast<std::size_t>(modal - FModalForms.begin());
    return form->FormStyle() == fsStayOnTop ? 1 : 0;
}

void TScreen::BringToFront(TForm* form) {
    FZOrder.erase(std::remove(FZOrder.begin(), FZOrder.end(), form), FZOrder.end());
    // Above every form of its band, below the forms of higher bands: a message
    // box opened from a stay-on-top popup is seen above it.
    const std::size_t band = Band(form);
    const auto pos =
        std::find_if(FZOrder.begin(), FZOrder.end(), [&](const TForm* f) { return Band(f) > band; });
    FZOrder.insert(pos, form);
    ++FRaiseCount;
}

void TScreen::PushModal(TForm* form) {
    FModalForms.erase(std::remove(FModalForms.begin(), FModalForms.end(), form), FModalForms.end());
    FModalForms.push_back(form);
    BringToFront(form);
}

void TScreen::PopModal(TForm* form) {
    FModalForms.erase(std::remove(FModalForms.begin(), FModalForms.end(), form), FModalForms.end());
}

TForm* TScreen::FormAtPoint(const TPoint& p) const {
    for (auto it = FZOrder.rbegin(); it != FZOrder.rend(); ++it) {
        TForm* f = *it;
        if (!f->Visible()) continue;
        if (p.X >= f->Left() && p.Y >= f->Top() && p.X < f->Left() + f->Width() &&
            p.Y < f->Top() + f->Height())
            return f;
    }
    return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
    return FActiveForm ? FActiveForm->ActiveControl() : nullptr;
}

void TScreen::SetActiveForm(TForm* form) {
    FActiveForm = form;
    if (form) {
        FActivation.erase(std::remove(FActivation.begin(), FActivation.end(), form), FActivation.end());
        FActivation.push_back(form);
    }
}

TForm* TScreen::NextActiveForm(TForm* except) const {
    for (auto it = FActivation.rbegin(); it != FActivation.rend(); ++it)
        if (*it != except && (*it)->Visible() && (*it)->AcceptsInput()) return *it;
    for (auto it = FZOrder.rbegin(); it != FZOrder.rend(); ++it)
        if (*it != except && (*it)->Visible() && (*it)->AcceptsInput()) return *it;
    return nullptr;
}

} // namespace fw
