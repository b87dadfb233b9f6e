// The loop's translation of raw input into messages: keys go to the focused
// control (after the form's dialog keys), characters are made from key
// presses, mouse events go to the control under the pointer or to the one
// holding the mouse.

#include <algorithm>
#include <cstdlib>
#include <framework/classes/ComponentRef.h>
#include <framework/controls/WinControl.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Windows.h>

namespace fw {

namespace {

constexpr Cardinal DoubleClickTime = 500;
constexpr int DoubleClickDistance = 4;

struct TMouseState {
    bool Left = false;
    bool Right = false;
    bool Middle = false;
    // Turns null when the control goes, so a control made later at the same
    // address does not take its first press for the second of a double click.
    TComponentRef<TControl> LastDownTarget{nullptr};
    TMouseButton LastDownButton = mbLeft;
    Cardinal LastDownTime = 0;
    TPoint LastDownPos;
    bool LastWasDouble = false;
    // The form of the last press (null once freed) and whether there was one.
    TComponentRef<TForm> LastDownForm{nullptr};
    bool LastDownOnForm = false;
    // A swallowed press whose release is swallowed too.
    bool Swallowing = false;
    TMouseButton Swallowed = mbLeft;
};

TMouseState Mouse;

void UpdateModifiers(Word key, bool down) {
    TShiftState s = KeyboardShiftState();
    TShiftStateItem item;
    switch (key) {
    case VK_SHIFT:
        item = ssShift;
        break;
    case VK_CONTROL:
        item = ssCtrl;
        break;
    case VK_MENU:
        item = ssAlt;
        break;
    default:
        return;
    }
    if (down)
        s << item;
    else
        s >> item;
    SetKeyboardShiftState(s);
}

WPARAM MouseKeys() {
    WPARAM keys = 0;
    const TShiftState s = KeyboardShiftState();
    if (s.Contains(ssShift)) keys |= MK_SHIFT;
    if (s.Contains(ssCtrl)) keys |= MK_CONTROL;
    if (Mouse.Left) keys |= MK_LBUTTON;
    if (Mouse.Right) keys |= MK_RBUTTON;
    if (Mouse.Middle) keys |= MK_MBUTTON;
    return keys;
}

bool EnabledChain(const TControl* c) {
    for (; c; c = c->Parent())
        if (!c->Enabled()) return false;
    return true;
}

// The control a key goes to: the focused control of the active form, or the
// form itself.
TWinControl* KeyTarget(TForm*& form) {
    form = Screen->ActiveForm();
    if (!form || !form->Visible() || !form->AcceptsInput()) return nullptr;
    TWinControl* target = FocusedWindow();
    // A disabled or hidden control never takes keys (the focus leaves it when
    // it changes; this covers whatever slips past that).
    if (!target || target->TopLevel() != form || !target->CanFocus()) target = form;
    return target;
}

void KeyDown(Word key, bool textApart) {
    UpdateModifiers(key, true);
    TForm* form = nullptr;
    TWinControl* target = KeyTarget(form);
    if (!target) return;
    const TShiftState shift = KeyboardShiftState();
    const bool alt = shift.Contains(ssAlt);
    const bool ctrl = shift.Contains(ssCtrl);
    // Dialog keys first: Tab moves the focus, Enter and Escape press the
    // default and cancel buttons. A key used here makes no character.
    if (!alt && (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) && !target->WantsKey(key))
        if (form->Perform(CM_DIALOGKEY, key) != 0) return;
    // A printable character comes from the desktop's text input when it sends
    // one (it knows the layout); the key then makes only control characters.
    char c = 0;
    if (CharForKey(key, shift.Contains(ssShift), ctrl, alt, c) && !(textApart && c >= ' '))
        PostMessage(target, WM_CHAR, static_cast<unsigned char>(c));
    target->Perform(alt || key == VK_MENU || key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, key);
}

// A character from a text input (a keyboard layout or an input method): it
// reaches the focused control as WM_CHAR alone, without key messages.
void TypeCharacter(Char c) {
    TForm* form = nullptr;
    if (TWinControl* target = KeyTarget(form)) PostMessage(target, WM_CHAR, c);
}

// An input method's text not yet committed goes to the focused control, which
// shows it; only the committed text arrives as characters.
void Compose(const String& text, int cursor) {
    TForm* form = nullptr;
    if (TWinControl* target = KeyTarget(form))
        target->Perform(WM_IME_COMPOSITION, static_cast<WPARAM>(std::max(0, cursor)),
                        reinterpret_cast<LPARAM>(&text));
}

void KeyUp(Word key) {
    const bool alt = KeyboardShiftState().Contains(ssAlt);
    UpdateModifiers(key, false);
    TForm* form = nullptr;
    if (TWinControl* target = KeyTarget(form))
        target->Perform(alt || key == VK_MENU || key == VK_F10 ? WM_SYSKEYUP : WM_KEYUP, key);
}

UINT ButtonMessage(TMouseButton b, bool down, bool dbl) {
    switch (b) {
    case mbLeft:
        return down ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
    case mbRight:
        return down ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
    default:
        return down ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
    }
}

void SetButton(TMouseButton b, bool down) {
    switch (b) {
    case mbLeft:
        Mouse.Left = down;
        break;
    case mbRight:
        Mouse.Right = down;
        break;
    default:
        Mouse.Middle = down;
        break;
    }
}

// The enabled control under a screen point of a form that takes input;
// nullptr when the point hits nothing that may have it.
TControl* ControlAt(const TPoint& p, TForm** formOut = nullptr) {
    TForm* form = Screen->FormAtPoint(p);
    if (formOut) *formOut = form;
    if (!form || !form->AcceptsInput()) return nullptr;
    const TPoint c = form->ScreenToClient(p);
    if (c.X < 0 || c.Y < 0 || c.X >= form->ClientWidth() || c.Y >= form->ClientHeight()) return nullptr;
    TControl* target = form->DeepestControlAtPos(c);
    // On a form being designed the controls take no input of their own: the form (the designer's
    // surface) gets the mouse and decides what it selects.
    if (form->ComponentState().Contains(csDesigning)) return form;
    if (!EnabledChain(target)) {
        // A disabled windowless control lets its parent have the mouse; a
        // disabled window swallows it.
        if (!target->IsWindowed() && EnabledChain(target->Parent())) return target->Parent();
        return nullptr;
    }
    return target;
}

void SendMouse(TControl* target, UINT msg, const TPoint& screen) {
    const TPoint local = target->ScreenToClient(screen);
    target->Perform(msg, MouseKeys(), MakeLParam(local.X, local.Y));
}

// A press on a form that a modal form keeps from input (its owner, or any
// other form of the program): the topmost modal form may take it as a click
// outside itself (CM_CANCELMODE, a popup that closes on it); otherwise the
// bell rings and that form comes to the front, so the user sees what waits.
void PressOutsideModal() {
    if (Screen->ModalForms().empty()) return;
    TForm* modal = Screen->ModalForms().back();
    TComponentRef<TForm> alive(modal);
    if (modal->Perform(CM_CANCELMODE) != 0 || !alive) return;
    MessageBeep(MB_OK);
    modal->BringToFront();
    if (alive && modal->Visible() && !modal->Active()) modal->SetActive(true);
}

// The second press of a double click whose first press ended the form it
// landed on (a popup picking a day): the pair was meant for that form, so the
// press, and its release, reach nothing underneath.
bool SwallowsPartnerPress(TMouseButton button, const TPoint& p, Cardinal now) {
    const bool partner = Mouse.LastDownOnForm && !Mouse.LastWasDouble && Mouse.LastDownButton == button &&
                         now - Mouse.LastDownTime <= DoubleClickTime &&
                         std::abs(p.X - Mouse.LastDownPos.X) <= DoubleClickDistance &&
                         std::abs(p.Y - Mouse.LastDownPos.Y) <= DoubleClickDistance;
    TForm* before = Mouse.LastDownForm.Get();
    if (!partner || (before && before->Visible())) return false;
    // A modal form opened since (a new popup at the same place) takes it.
    TForm* under = Screen->FormAtPoint(p);
    if (under && !Screen->ModalForms().empty() && under == Screen->ModalForms().back()) return false;
    Mouse.LastWasDouble = true;
    Mouse.LastDownOnForm = false;
    Mouse.Swallowed = button;
    Mouse.Swallowing = true;
    return true;
}

void MouseDown(TMouseButton button, const TPoint& p) {
    if (SwallowsPartnerPress(button, p, MessageQueue().TickCount())) return;
    TForm* form = nullptr;
    TControl* target = ControlAt(p, &form);
    if (form && !form->AcceptsInput()) {
        PressOutsideModal();
        return;
    }
    // The activation runs handlers, which may free the form or the control pressed.
    TComponentRef<TForm> formAlive(form);
    TComponentRef<TControl> alive(target);
    if (form && form->AcceptsInput() && !form->Active()) {
        form->BringToFront();
        form->SetActive(true);
        if (!formAlive || (target && !alive)) return;
    }
    if (!target) {
        // The frame: a left press on the close box closes the form.
        if (form && form->AcceptsInput() && button == mbLeft) {
            const TRect box = form->CloseBoxRect();
            if (p.X >= box.Left && p.Y >= box.Top && p.X < box.Right && p.Y < box.Bottom)
                form->Perform(WM_SYSCOMMAND, SC_CLOSE);
        }
        return;
    }
    if (target->IsWindowed()) {
        auto* w = static_cast<TWinControl*>(target);
        // The exit check of the control losing the focus may free the one clicked.
        if (w->FocusOnClick() && w->CanFocus() && !w->Focused()) {
            TWinControl* before = FocusedWindow();
            w->SetFocus();
            if (!alive) return;
            // The control being left refused to let the focus go (an exit check
            // that kept it): the press is refused with it and clicks nothing.
            if (before && FocusedWindow() == before) return;
        }
    }
    SetButton(button, true);
    const Cardinal now = MessageQueue().TickCount();
    const bool dbl = !Mouse.LastWasDouble && Mouse.LastDownTarget.Get() == target &&
                     Mouse.LastDownButton == button && now - Mouse.LastDownTime <= DoubleClickTime &&
                     std::abs(p.X - Mouse.LastDownPos.X) <= DoubleClickDistance &&
                     std::abs(p.Y - Mouse.LastDownPos.Y) <= DoubleClickDistance &&
                     target->ControlStyle().Contains(csDoubleClicks);
    Mouse.LastDownTarget.Reset(target);
    Mouse.LastDownForm.Reset(form);
    Mouse.LastDownOnForm = form != nullptr;
    Mouse.LastDownButton = button;
    Mouse.LastDownTime = now;
    Mouse.LastDownPos = p;
    Mouse.LastWasDouble = dbl;
    if (target->ControlStyle().Contains(csCaptureMouse)) SetCaptureControl(target);
    SendMouse(target, ButtonMessage(button, true, dbl), p);
}

void MouseUp(TMouseButton button, const TPoint& p) {
    if (Mouse.Swallowing && Mouse.Swallowed == button) {
        Mouse.Swallowing = false;
        return;
    }
    SetButton(button, false);
    TControl* target = CaptureControl();
    if (target) {
        if (!Mouse.Left && !Mouse.Right && !Mouse.Middle) SetCaptureControl(nullptr);
    } else {
        target = ControlAt(p);
    }
    if (target) SendMouse(target, ButtonMessage(button, false, false), p);
}

void MouseMove(const TPoint& p) {
    TControl* target = CaptureControl();
    if (!target) target = ControlAt(p);
    if (target) SendMouse(target, WM_MOUSEMOVE, p);
}

// The wheel turns for the control under the pointer (or the one holding the
// mouse); the point stays in screen coordinates, as the window system sends it.
void MouseWheel(int delta, const TPoint& p) {
    TControl* target = CaptureControl();
    if (!target) target = ControlAt(p);
    if (!target) return;
    const WPARAM wParam = MouseKeys() | (static_cast<WPARAM>(static_cast<Word>(delta)) << 16);
    target->Perform(WM_MOUSEWHEEL, wParam, MakeLParam(p.X, p.Y));
}

} // namespace

void ResetInputRouting() {
    Mouse.Left = Mouse.Right = Mouse.Middle = false;
    Mouse.LastDownTarget.Reset(nullptr);
    Mouse.LastDownForm.Reset(nullptr);
    Mouse.LastDownOnForm = false;
    Mouse.LastWasDouble = false;
    Mouse.Swallowing = false;
}

void RouteInput(const TInputEvent& event) {
    switch (event.Kind) {
    case TInputKind::KeyDown:
        KeyDown(event.Key, event.TextApart);
        break;
    case TInputKind::KeyUp:
        KeyUp(event.Key);
        break;
    case TInputKind::Character:
        TypeCharacter(event.Character);
        break;
    case TInputKind::Composition:
        Compose(event.Text, event.Cursor);
        break;
    case TInputKind::MouseDown:
        MouseDown(event.Button, event.Pos);
        break;
    case TInputKind::MouseUp:
        MouseUp(event.Button, event.Pos);
        break;
    case TInputKind::MouseMove:
        MouseMove(event.Pos);
        break;
    case TInputKind::MouseWheel:
        MouseWheel(event.WheelDelta, event.Pos);
        break;
    }
}

} // namespace fw
