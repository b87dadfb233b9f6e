#pragma once
// The accessibility model: what a screen reader or any other assistive
// technology learns about the user interface, independent of any desktop.
//
// Every control answers through an accessible object (TAccessible) that it
// makes on first use and owns: its role, a name taken from what a person sees
// (a caption, the label that points at it, a form's caption, the hint where
// nothing else names it), a description, states, bounds on the screen, a value
// or text where it has one, and the actions it offers. Parts of a control that
// are not controls themselves (the cells of a calendar grid, the buttons a
// navigator paints) are accessible elements owned by the control's object.
//
// Changes are announced as events (TAccEvent) to the listeners registered with
// AddAccListener: a bridge to the desktop, or a test. While nobody listens a
// notification is one test of a global counter and nothing is made.
//
// Index: roles, states, events; TAccessible; TControlAccessible (the answers a
// control gets from its base classes); listeners and notifications; helpers.

#include <framework/classes/Set.h>
#include <framework/rtl/Types.h>
#include <functional>
#include <memory>
#include <vector>

namespace fw {

class TControl;
class TWinControl;

enum class TAccRole {
    Unknown,
    Application,
    Frame,   // a top-level window
    Dialog,  // a dialog window (a message box, a popup calendar)
    Panel,   // a container without a role of its own
    Label,
    PushButton,
    Text,    // an edit
    StatusIndicator,
    ToolBar,
    Table,
    ColumnHeader,
    RowHeader,
    TableCell,
    List,
    ListItem,
    Heading,
};

enum TAccState {
    asEnabled,
    asSensitive,
    asVisible,
    asShowing,
    asFocusable,
    asFocused,
    asSelectable,
    asSelected,
    asEditable,
    asReadOnly,
    asSingleLine,
    asInvalid, // the entry was refused
    asRequired,
    asExpandable,
    asExpanded,
    asActive, // the active window
    asModal,
    asPressed,
    asDefault,
    asCurrent, // today's cell of a calendar
    asHasPopup,
    asMultiLine,
};
using TAccStates = Set<TAccState>;

enum class TAccEventKind {
    Focus,            // the object has the keyboard focus now (also a cell inside a grid)
    NameChanged,
    DescriptionChanged,
    ValueChanged,     // a range value, or the state a status indicator shows
    TextChanged,      // Text() now differs
    CaretMoved,       // Detail is the caret offset in characters
    SelectionChanged, // the selected child (a grid's day) or the selected text
    StateChanged,     // State is the state, Detail 1 when it is now on
    ChildrenChanged,
    WindowShown,      // a top-level window appeared (shown), or went (hidden)
    WindowHidden,
    WindowActivated,
    WindowDeactivated,
    Destroyed,        // the object goes: only its address may be used
};

class TAccessible;

struct TAccEvent {
    TAccEventKind Kind;
    TAccessible* Object;
    TAccState State = asEnabled;
    int Detail = 0;
};

class TAccessible {
public:
    TAccessible();
    virtual ~TAccessible();
    TAccessible(const TAccessible&) = delete;
    TAccessible& operator=(const TAccessible&) = delete;

    virtual TAccRole Role() const = 0;
    virtual String Name() const { return {}; }
    virtual String Description() const { return {}; }
    virtual TAccStates States() const { return {}; }
    // On the screen of the framework (the backend scales it for a desktop).
    virtual TRect Bounds() const = 0;
    virtual TAccessible* Parent() const = 0;
    virtual int ChildCount() const { return 0; }
    virtual TAccessible* Child(int Index) const { return nullptr; }
    // The position among the parent's children (-1 without a parent).
    int IndexInParent() const;
    // The control behind the object (nullptr for an element of a control).
    virtual TControl* Control() const { return nullptr; }
    // The control whose messages run this object's actions (the control itself,
    // or the control an element is part of). An element lives as long as it.
    virtual TControl* Host() const { return Control(); }
    // The object that speaks for this one when it gets the focus: the
    // selected cell of a grid that keeps the focus itself.
    virtual TAccessible* FocusTarget() { return this; }
    // Extra facts for a desktop, as name-value pairs ("live" "polite").
    virtual std::vector<std::pair<String, String>> Attributes() const { return {}; }

    // ---- a range value (a lamp's state, a position)
    virtual bool HasValue() const { return false; }
    virtual double Value() const { return 0; }
    virtual double MinValue() const { return 0; }
    virtual double MaxValue() const { return 0; }
    // The value in words ("On, green").
    virtual String ValueText() const { return {}; }

    // ---- text (offsets in characters, not bytes)
    virtual bool HasText() const { return false; }
    virtual String Text() const { return {}; }
    virtual int CaretOffset() const { return 0; }
    virtual bool SetCaretOffset(int Offset) { return false; }
    // The selected characters [Start, End); Start == End when none.
    virtual void Selection(int& Start, int& End) const { Start = End = CaretOffset(); }
    virtual bool SetSelection(int Start, int End) { return false; }
    // Replaces the whole text as the user would (false when refused).
    virtual bool SetTextContents(const String& Value) { return false; }

    // ---- actions
    virtual int ActionCount() const { return 0; }
    virtual String ActionName(int Index) const { return {}; }
    virtual String ActionDescription(int Index) const { return {}; }
    // Asks for the action: it runs from the message loop (RunAction), as input
    // would, so one that opens a modal loop returns at once. False when there
    // is no such action or it cannot run now.
    virtual bool DoAction(int Index);
    // Runs the action now.
    virtual void RunAction(int Index) {}
    // The index of the action named Name, or -1.
    int FindAction(const String& Name) const;

    // ---- focus
    virtual bool GrabFocus() { return false; }

    // ---- a table (a grid of cells with column and row headers)
    virtual int RowCount() const { return 0; }
    virtual int ColumnCount() const { return 0; }
    virtual TAccessible* CellAt(int Row, int Column) const { return nullptr; }
    virtual TAccessible* ColumnHeader(int Column) const { return nullptr; }
    virtual TAccessible* RowHeader(int Row) const { return nullptr; }
    // Where a cell sits in its table (false when this is no cell).
    virtual bool CellPosition(int& Row, int& Column) const { return false; }

    // A name for the role, as the desktop's "push button", "table cell".
    static const char* RoleName(TAccRole Role);

    // The object at a screen point among this one's descendants (deepest
    // showing one), or this, or nullptr when the point lies outside.
    TAccessible* HitTest(const TPoint& Point);
};

// The answers of a control from its base classes: the role Panel, a name from
// the hint, the enabled, visible, showing and focus states, the bounds on the
// screen, and the accessible objects of its visible child controls as children.
// Controls with more to say make their own object from CreateAccessible.
class TControlAccessible : public TAccessible {
public:
    explicit TControlAccessible(TControl* AControl) : FControl(AControl) {}

    TAccRole Role() const override { return TAccRole::Panel; }
    String Name() const override;
    TAccStates States() const override;
    TRect Bounds() const override;
    TAccessible* Parent() const override;
    int ChildCount() const override;
    TAccessible* Child(int Index) const override;
    TControl* Control() const override { return FControl; }
    bool GrabFocus() override;

protected:
    // The visible child controls in z-order, and the elements that follow them.
    std::vector<TControl*> VisibleChildren() const;
    virtual int ElementCount() const { return 0; }
    virtual TAccessible* Element(int Index) const { return nullptr; }

    TControl* FControl;
};

// A part of a control that is no control (a cell, a painted button): its
// parent is given, its bounds are a rectangle in the control's client area.
class TAccElement : public TAccessible {
public:
    TAccElement(TAccessible* AParent, TControl* AHost) : FParent(AParent), FHost(AHost) {}
    TAccessible* Parent() const override { return FParent; }
    TRect Bounds() const override;
    TAccStates States() const override;
    TControl* Host() const override { return FHost; }

protected:
    // The element's rectangle in the host's client coordinates.
    virtual TRect ClientBounds() const = 0;
    TAccessible* FParent;
    TControl* FHost;
};

// ---- listeners
using TAccListener = std::function<void(const TAccEvent&)>;
// Registers a listener; the id removes it again.
int AddAccListener(TAccListener Listener);
void RemoveAccListener(int Id);
// A quiet listener hears only the events that keep what it knows true (texts,
// windows shown and hidden, children, objects destroyed), not those that only
// inform (focus, names, values, states, carets, selections, activation): a
// bridge while no assistive technology listens on the desktop.
void SetAccListenerQuiet(int Id, bool Quiet);
// Whether an event of the kind only informs.
bool AccEventInforms(TAccEventKind Kind);
// Whether anyone listens to every event (notifications that only inform cost
// nothing otherwise).
bool AccListening();
// Sends an event to every listener.
void AccNotify(const TAccEvent& Event);
// The same for a control's object: nothing when nobody listens, or the
// control is being destroyed.
void AccNotify(TControl* Control, TAccEventKind Kind);
void AccNotifyState(TControl* Control, TAccState State, bool On);
void AccNotifyCaret(TControl* Control, int CharOffset);
// The focus moved to Control (its object's FocusTarget is announced).
void AccNotifyFocus(TControl* Control);
// Control's Text changed: a name change for an object without a text of its
// own (and for the control a label names); an edit announces its text itself.
void AccTextSet(TControl* Control);

// ---- helpers
// A caption as it is read: "&Next" is "Next", "&&" is "&".
String StripAccelerator(const String& Caption);
// The label on Control's form whose FocusControl is Control, or nullptr.
TControl* LabelFor(const TControl* Control);
// Depth-first search from Root (itself included) for an object of the role
// whose name is Name (any name when Name is empty); nullptr when none.
TAccessible* FindAccessible(TAccessible* Root, TAccRole Role, const String& Name = {});
// Every object under Root (itself included) that Pred accepts, depth first.
std::vector<TAccessible*> FindAllAccessible(TAccessible* Root, const std::function<bool(TAccessible*)>& Pred);

} // namespace fw
