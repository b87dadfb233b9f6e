#pragma once
// Driving the user interface like a person, for tests and scripted demos.
//
// Every call goes through the real input path: it queues raw key or mouse
// input, and the message loop translates it into messages for the focused
// control or the control under the pointer. The calls then run the loop until
// nothing is pending (without moving the clock), so their effects are done
// when they return. Used inside a modal loop (from a step queued with
// OnNextModal) they drive that loop's form.
//
//     Ui::OnNextModal([](TForm* box) {            // runs inside the next modal loop
//         EXPECT_EQ(Ui::MessageBoxText(), "'31/02/2003' is not a valid date!");
//         Ui::PressButton("OK");
//     });
//     Ui::Click(button);                          // opens the box; the step answers it

#include <framework/controls/Accessibility.h>
#include <framework/controls/ControlTypes.h>
#include <framework/graphics/Surface.h>
#include <functional>

namespace fw {

class TControl;
class TForm;
class TMessageForm;

namespace Ui {

// Runs the loop until nothing is pending (no clock jump).
void Pump();
// Lets ms milliseconds pass, firing timers in order: the headless clock jumps,
// a window backend waits for real (and takes input meanwhile).
void Wait(Cardinal ms);

// ---- keyboard
// Types each character as the key stroke that makes it (Shift when needed);
// a character beyond ASCII (text is UTF-8) comes as one typed character, as
// a keyboard layout or an input method delivers it.
void TypeText(const String& text);
// Presses and releases a key with the modifiers held around it.
void PressKey(Word key, TShiftState shift = {});
void KeyDown(Word key);
void KeyUp(Word key);
void Tab();
void ShiftTab();

// ---- mouse: points are client coordinates of the control
void Click(TControl* control, TMouseButton button = mbLeft);
void Click(TControl* control, int x, int y, TMouseButton button = mbLeft);
void DoubleClick(TControl* control, int x, int y);
void MouseDown(TControl* control, int x, int y, TMouseButton button = mbLeft);
void MouseMove(TControl* control, int x, int y);
void MouseUp(TControl* control, int x, int y, TMouseButton button = mbLeft);
// Turns the wheel over a point: 120 a notch, positive away from the user. Hold
// Ctrl or Shift with KeyDown first for a turn with modifiers.
void Wheel(TControl* control, int x, int y, int delta);
// ... or screen points.
void ClickAt(const TPoint& screen, TMouseButton button = mbLeft);
void MouseDownAt(const TPoint& screen, TMouseButton button = mbLeft);
void MouseMoveAt(const TPoint& screen);
void MouseUpAt(const TPoint& screen, TMouseButton button = mbLeft);

// ---- modal loops
// Queues a step to run when the next modal loop has nothing to do; the step
// gets the active form of that moment (the modal form).
void OnNextModal(std::function<void(TForm* form)> step);
// The form of the innermost running modal loop, or nullptr.
TForm* ActiveModalForm();

// ---- message boxes
// The message box (or dialog) that is active now; raises ELoopError if none is.
TMessageForm* ActiveMessageBox();
String MessageBoxCaption();
String MessageBoxText();
// Clicks the button with this caption ('&' and case ignored) on the active
// form; raises ELoopError when there is no such button.
void PressButton(const String& caption);

// ---- the accessibility tree, as a screen reader reads it
// The first object of the role named Name (any name when Name is empty), on
// the shown forms from the topmost down; nullptr when there is none.
TAccessible* Find(TAccRole role, const String& name = {});
// The same, below Root.
TAccessible* FindIn(TAccessible* root, TAccRole role, const String& name = {});
// The control behind the first such object; nullptr when none (or an element).
TControl* FindControl(TAccRole role, const String& name);
// Runs the object's action of that name, as a screen reader asks for it, then
// pumps; raises ELoopError when the object offers no such action now.
void DoAction(TAccessible* object, const String& action);

// ---- what a person sees and hears
int BeepCount();
TSurface Screenshot();
TSurface FormImage(TForm* form);

} // namespace Ui

} // namespace fw
