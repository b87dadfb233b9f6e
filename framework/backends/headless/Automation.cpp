// The automation calls: queued input, then the loop runs.

#include <framework/backends/headless/Automation.h>
#include <framework/backends/headless/HeadlessBackend.h>
#include <framework/controls/Buttons.h>
#include <framework/forms/Application.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/FormAccessible.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Utf8.h>

namespace fw::Ui {

namespace {

void PostKey(TInputKind kind, Word key) {
    TInputEvent e;
    e.Kind = kind;
    e.Key = key;
    MessageQueue().PostInput(e);
}

void PostCharacter(Char c) {
    TInputEvent e;
    e.Kind = TInputKind::Character;
    e.Character = c;
    MessageQueue().PostInput(e);
}

void PostMouse(TInputKind kind, const TPoint& p, TMouseButton button) {
    TInputEvent e;
    e.Kind = kind;
    e.Pos = p;
    e.Button = button;
    MessageQueue().PostInput(e);
}

TPoint ScreenPoint(TControl* control, int x, int y) {
    return control->ClientToScreen({x, y});
}

TPoint Centre(TControl* control) {
    return {control->ClientWidth() / 2, control->ClientHeight() / 2};
}

void PostModifiers(TShiftState shift, bool down) {
    const TInputKind kind = down ? TInputKind::KeyDown : TInputKind::KeyUp;
    if (shift.Contains(ssCtrl)) PostKey(kind, VK_CONTROL);
    if (shift.Contains(ssAlt)) PostKey(kind, VK_MENU);
    if (shift.Contains(ssShift)) PostKey(kind, VK_SHIFT);
}

} // namespace

void Pump() {
    while (Application->ProcessMessage()) {
    }
}

// Time passes through the backend: the headless one moves its virtual clock,
// a window backend waits on the real one (taking input meanwhile).
void Wait(Cardinal ms) {
    TMessageQueue& q = MessageQueue();
    const Cardinal end = q.TickCount() + ms;
    Pump();
    Cardinal due = 0;
    while (q.NextTimerDue(due) && due <= end) {
        Application->Backend()->Idle(true, due);
        Pump();
    }
    while (q.TickCount() < end) {
        Application->Backend()->Idle(true, end);
        Pump();
    }
}

void TypeText(const String& text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const Char ch = NextCodePoint(text, pos);
        if (ch >= 0x80) {
            // Beyond ASCII: the character comes as a text input delivers it.
            PostCharacter(ch);
            continue;
        }
        const char c = static_cast<char>(ch);
        TKeyStroke stroke;
        if (!KeyForChar(c, stroke))
            throw ELoopError(String("No key types the character ") +
                             std::to_string(static_cast<unsigned char>(c)));
        if (stroke.Shift) PostKey(TInputKind::KeyDown, VK_SHIFT);
        PostKey(TInputKind::KeyDown, stroke.Key);
        PostKey(TInputKind::KeyUp, stroke.Key);
        if (stroke.Shift) PostKey(TInputKind::KeyUp, VK_SHIFT);
    }
    Pump();
}

void PressKey(Word key, TShiftState shift) {
    PostModifiers(shift, true);
    PostKey(TInputKind::KeyDown, key);
    PostKey(TInputKind::KeyUp, key);
    PostModifiers(shift, false);
    Pump();
}

void KeyDown(Word key) {
    PostKey(TInputKind::KeyDown, key);
    Pump();
}

void KeyUp(Word key) {
    PostKey(TInputKind::KeyUp, key);
    Pump();
}

void Tab() {
    PressKey(VK_TAB);
}
void ShiftTab() {
    PressKey(VK_TAB, {ssShift});
}

void Click(TControl* control, TMouseButton button) {
    const TPoint c = Centre(control);
    Click(control, c.X, c.Y, button);
}

void Click(TControl* control, int x, int y, TMouseButton button) {
    ClickAt(ScreenPoint(control, x, y), button);
}

void DoubleClick(TControl* control, int x, int y) {
    const TPoint p = ScreenPoint(control, x, y);
    PostMouse(TInputKind::MouseDown, p, mbLeft);
    PostMouse(TInputKind::MouseUp, p, mbLeft);
    PostMouse(TInputKind::MouseDown, p, mbLeft);
    PostMouse(TInputKind::MouseUp, p, mbLeft);
    Pump();
}

void MouseDown(TControl* control, int x, int y, TMouseButton button) {
    MouseDownAt(ScreenPoint(control, x, y), button);
}

void MouseMove(TControl* control, int x, int y) {
    MouseMoveAt(ScreenPoint(control, x, y));
}

void MouseUp(TControl* control, int x, int y, TMouseButton button) {
    MouseUpAt(ScreenPoint(control, x, y), button);
}

void Wheel(TControl* control, int x, int y, int delta) {
    TInputEvent e;
    e.Kind = TInputKind::MouseWheel;
    e.Pos = ScreenPoint(control, x, y);
    e.WheelDelta = delta;
    MessageQueue().PostInput(e);
    Pump();
}

void ClickAt(const TPoint& screen, TMouseButton button) {
    PostMouse(TInputKind::MouseDown, screen, button);
    PostMouse(TInputKind::MouseUp, screen, button);
    Pump();
}

void MouseDownAt(const TPoint& screen, TMouseButton button) {
    PostMouse(TInputKind::MouseDown, screen, button);
    Pump();
}

void MouseMoveAt(const TPoint& screen) {
    PostMouse(TInputKind::MouseMove, screen, mbLeft);
    Pump();
}

void MouseUpAt(const TPoint& screen, TMouseButton button) {
    PostMouse(TInputKind::MouseUp, screen, button);
    Pump();
}

void OnNextModal(std::function<void(TForm* form)> step) {
    Application->QueueModalStep([step = std::move(step)] { step(ActiveModalForm()); });
}

TForm* ActiveModalForm() {
    for (auto it = Screen->ZOrder().rbegin(); it != Screen->ZOrder().rend(); ++it)
        if ((*it)->Modal() && (*it)->Visible()) return *it;
    return nullptr;
}

TMessageForm* ActiveMessageBox() {
    auto* box = dynamic_cast<TMessageForm*>(ActiveModalForm());
    if (!box) throw ELoopError("No message box is open");
    return box;
}

String MessageBoxCaption() {
    return ActiveMessageBox()->Caption();
}

String MessageBoxText() {
    return ActiveMessageBox()->MessageText();
}

TAccessible* Find(TAccRole role, const String& name) {
    TAccessible* root = ApplicationAccessible();
    for (int i = root->ChildCount() - 1; i >= 0; --i)
        if (TAccessible* found = FindAccessible(root->Child(i), role, name)) return found;
    return nullptr;
}

TAccessible* FindIn(TAccessible* root, TAccRole role, const String& name) {
    return FindAccessible(root, role, name);
}

TControl* FindControl(TAccRole role, const String& name) {
    TAccessible* found = Find(role, name);
    return found ? found->Control() : nullptr;
}

void DoAction(TAccessible* object, const String& action) {
    const int index = object ? object->FindAction(action) : -1;
    if (index < 0 || !object->DoAction(index))
        throw ELoopError("No action '" + action + "' on '" + (object ? object->Name() : String("nothing")) + "'");
    Pump();
}

void PressButton(const String& caption) {
    TForm* form = ActiveModalForm();
    if (!form) form = Screen->ActiveForm();
    if (!form) throw ELoopError("No form is active");
    TButton* button = nullptr;
    if (auto* box = dynamic_cast<TMessageForm*>(form)) button = box->FindButton(caption);
    if (!button) {
        std::vector<TWinControl*> list;
        form->GetTabOrderList(list);
        for (TWinControl* c : list)
            if (auto* b = dynamic_cast<TButton*>(c); b && b->Caption() == caption) button = b;
    }
    if (!button) throw ELoopError("No button '" + caption + "' on form '" + form->Name() + "'");
    Click(button);
}

int BeepCount() {
    return fw::BeepCount();
}

TSurface Screenshot() {
    return ComposeScreen();
}

TSurface FormImage(TForm* form) {
    return CaptureForm(form);
}

} // namespace fw::Ui
