// The accessibility model: the base answers, listeners and notifications.

#include <algorithm>
#include <deque>
#include <framework/controls/Accessibility.h>
#include <framework/controls/Label.h>
#include <framework/controls/MessageQueue.h>
#include <framework/controls/WinControl.h>

namespace fw {

namespace {

struct TListenerEntry {
    int Id;
    TAccListener Listener;
    bool Removed = false;
    bool Quiet = false;
};

// A deque: listeners added while an event is sent do not move the one running.
std::deque<TListenerEntry>& Listeners() {
    static std::deque<TListenerEntry> list;
    return list;
}
int ListenerCount = 0;
// The listeners that are not quiet.
int InformedCount = 0;
int NextListenerId = 1;

// The object of a control that is alive and not going. Only the focus and a
// window's appearance make it: listeners know of no other object they never
// asked for (and a control still being made must not make its object yet).
TAccessible* LiveObject(TControl* Control, bool Make = false) {
    if (!Control || Control->ComponentState().Contains(csDestroying)) return nullptr;
    if (!Make && !Control->HasAccessible()) return nullptr;
    return Control->Accessible();
}

} // namespace

// ---------------------------------------------------------------- TAccessible

TAccessible::TAccessible() = default;

TAccessible::~TAccessible() {
    if (ListenerCount > 0) AccNotify({TAccEventKind::Destroyed, this});
}

int TAccessible::IndexInParent() const {
    const TAccessible* parent = Parent();
    if (!parent) return -1;
    for (int i = 0, n = parent->ChildCount(); i < n; ++i)
        if (parent->Child(i) == this) return i;
    return -1;
}

int TAccessible::FindAction(const String& Name) const {
    for (int i = 0, n = ActionCount(); i < n; ++i)
        if (ActionName(i) == Name) return i;
    return -1;
}

bool TAccessible::DoAction(int Index) {
    TControl* host = Host();
    if (Index < 0 || Index >= ActionCount() || !host || host->ComponentState().Contains(csDestroying)) return false;
    PostMessage(host, CM_ACCACTION, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(this));
    return true;
}

const char* TAccessible::RoleName(TAccRole Role) {
    switch (Role) {
    case TAccRole::Unknown: return "unknown";
    case TAccRole::Application: return "application";
    case TAccRole::Frame: return "frame";
    case TAccRole::Dialog: return "dialog";
    case TAccRole::Panel: return "panel";
    case TAccRole::Label: return "label";
    case TAccRole::PushButton: return "push button";
    case TAccRole::Text: return "text";
    case TAccRole::StatusIndicator: return "status bar";
    case TAccRole::ToolBar: return "tool bar";
    case TAccRole::Table: return "table";
    case TAccRole::ColumnHeader: return "column header";
    case TAccRole::RowHeader: return "row header";
    case TAccRole::TableCell: return "table cell";
    case TAccRole::List: return "list";
    case TAccRole::ListItem: return "list item";
    case TAccRole::Heading: return "heading";
    }
    return "unknown";
}

TAccessible* TAccessible::HitTest(const TPoint& Point) {
    const TRect r = Bounds();
    if (Point.X < r.Left || Point.X >= r.Right || Point.Y < r.Top || Point.Y >= r.Bottom) return nullptr;
    // The topmost child first: children come in z-order, bottom first.
    for (int i = ChildCount() - 1; i >= 0; --i) {
        TAccessible* child = Child(i);
        if (!child || !child->States().Contains(asShowing)) continue;
        if (TAccessible* hit = child->HitTest(Point)) return hit;
    }
    return this;
}

// ---------------------------------------------------------------- TControlAccessible

String TControlAccessible::Name() const {
    if (const TControl* label = LabelFor(FControl)) return StripAccelerator(label->Text());
    return FControl->Hint();
}

TAccStates TControlAccessible::States() const {
    TAccStates s;
    const bool enabled = FControl->Enabled() && (!FControl->Parent() || FControl->Parent()->Enabled());
    if (enabled) s << asEnabled << asSensitive;
    if (FControl->Visible()) s << asVisible;
    if (FControl->Showing()) s << asShowing;
    if (auto* win = dynamic_cast<TWinControl*>(FControl)) {
        if (win->TabStop() || win->Focused()) s << asFocusable;
        if (win->Focused()) s << asFocused;
    }
    return s;
}

TRect TControlAccessible::Bounds() const {
    TPoint p{FControl->Left(), FControl->Top()};
    if (FControl->Parent()) p = FControl->Parent()->ClientToScreen(p);
    return {p.X, p.Y, ClampedSum(p.X, FControl->Width()), ClampedSum(p.Y, FControl->Height())};
}

TAccessible* TControlAccessible::Parent() const {
    if (TWinControl* parent = FControl->Parent()) return parent->Accessible();
    return nullptr;
}

std::vector<TControl*> TControlAccessible::VisibleChildren() const {
    std::vector<TControl*> list;
    if (auto* win = dynamic_cast<TWinControl*>(FControl))
        for (int i = 0; i < win->ControlCount(); ++i)
            if (win->Controls(i)->Visible()) list.push_back(win->Controls(i));
    return list;
}

int TControlAccessible::ChildCount() const {
    return static_cast<int>(VisibleChildren().size()) + ElementCount();
}

TAccessible* TControlAccessible::Child(int Index) const {
    if (Index < 0) return nullptr;
    const std::vector<TControl*> list = VisibleChildren();
    if (Index < static_cast<int>(list.size())) return list[static_cast<std::size_t>(Index)]->Accessible();
    return Element(Index - static_cast<int>(list.size()));
}

bool TControlAccessible::GrabFocus() {
    auto* win = dynamic_cast<TWinControl*>(FControl);
    if (!win || !win->CanFocus()) return false;
    win->SetFocus();
    return true;
}

// ---------------------------------------------------------------- TAccElement

TRect TAccElement::Bounds() const {
    const TRect r = ClientBounds();
    const TPoint p = FHost->ClientToScreen({r.Left, r.Top});
    return {p.X, p.Y, ClampedSum(p.X, r.Width()), ClampedSum(p.Y, r.Height())};
}

TAccStates TAccElement::States() const {
    TAccStates s;
    const TAccStates host = FParent ? FParent->States() : TAccStates{};
    if (host.Contains(asEnabled)) s << asEnabled << asSensitive;
    s << asVisible;
    if (host.Contains(asShowing)) s << asShowing;
    return s;
}

// ---------------------------------------------------------------- listeners

int AddAccListener(TAccListener Listener) {
    const int id = NextListenerId++;
    Listeners().push_back({id, std::move(Listener)});
    ++ListenerCount;
    ++InformedCount;
    return id;
}

namespace {

// While events are being sent a removed listener is only marked (it may be the
// one running); the list is tidied when the outermost sending ends.
int Sending = 0;
bool Untidy = false;

void TidyListeners() {
    if (!Untidy) return;
    Untidy = false;
    auto& list = Listeners();
    list.erase(std::remove_if(list.begin(), list.end(), [](const TListenerEntry& e) { return e.Removed; }),
               list.end());
}

} // namespace

void RemoveAccListener(int Id) {
    for (TListenerEntry& e : Listeners())
        if (e.Id == Id && !e.Removed) {
            e.Removed = true;
            Untidy = true;
            --ListenerCount;
            if (!e.Quiet) --InformedCount;
        }
    if (Sending == 0) TidyListeners();
}

void SetAccListenerQuiet(int Id, bool Quiet) {
    for (TListenerEntry& e : Listeners())
        if (e.Id == Id && !e.Removed && e.Quiet != Quiet) {
            e.Quiet = Quiet;
            InformedCount += Quiet ? -1 : 1;
        }
}

bool AccEventInforms(TAccEventKind Kind) {
    switch (Kind) {
    case TAccEventKind::TextChanged:
    case TAccEventKind::ChildrenChanged:
    case TAccEventKind::WindowShown:
    case TAccEventKind::WindowHidden:
    case TAccEventKind::Destroyed: return false;
    default: return true;
    }
}

bool AccListening() {
    return InformedCount > 0;
}

void AccNotify(const TAccEvent& Event) {
    if (ListenerCount == 0 || !Event.Object) return;
    const bool informs = AccEventInforms(Event.Kind);
    if (informs && InformedCount == 0) return;
    // A listener may add listeners (they hear the next event) or remove some.
    auto& list = Listeners();
    ++Sending;
    try {
        for (std::size_t i = 0, n = list.size(); i < n && i < list.size(); ++i)
            if (!list[i].Removed && !(informs && list[i].Quiet)) list[i].Listener(Event);
    } catch (...) {
        if (--Sending == 0) TidyListeners();
        throw;
    }
    if (--Sending == 0) TidyListeners();
}

void AccNotify(TControl* Control, TAccEventKind Kind) {
    if (ListenerCount == 0 || (InformedCount == 0 && AccEventInforms(Kind))) return;
    const bool make = Kind == TAccEventKind::WindowShown || Kind == TAccEventKind::WindowActivated;
    if (TAccessible* object = LiveObject(Control, make)) AccNotify({Kind, object});
}

void AccNotifyState(TControl* Control, TAccState State, bool On) {
    if (InformedCount == 0) return;
    if (TAccessible* object = LiveObject(Control)) AccNotify({TAccEventKind::StateChanged, object, State, On ? 1 : 0});
}

void AccNotifyCaret(TControl* Control, int CharOffset) {
    if (InformedCount == 0) return;
    if (TAccessible* object = LiveObject(Control))
        AccNotify({TAccEventKind::CaretMoved, object, asEnabled, CharOffset});
}

void AccNotifyFocus(TControl* Control) {
    if (InformedCount == 0) return;
    if (TAccessible* object = LiveObject(Control, true)) AccNotify({TAccEventKind::Focus, object->FocusTarget()});
}

void AccTextSet(TControl* Control) {
    if (InformedCount == 0) return;
    TAccessible* object = LiveObject(Control);
    if (!object) return;
    if (object->HasText()) return; // an edit announces its text itself, typed or set
    AccNotify({TAccEventKind::NameChanged, object});
    if (auto* label = dynamic_cast<TCustomLabel*>(Control))
        if (TAccessible* target = LiveObject(label->FocusControl())) AccNotify({TAccEventKind::NameChanged, target});
}

// ---------------------------------------------------------------- helpers

String StripAccelerator(const String& Caption) {
    String s;
    s.reserve(Caption.size());
    for (std::size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&' && i + 1 < Caption.size()) ++i;
        else if (Caption[i] == '&') continue;
        s += Caption[i];
    }
    return s;
}

namespace {

const TControl* FindLabel(const TWinControl* Parent, const TControl* Target) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        const TControl* c = Parent->Controls(i);
        if (auto* label = dynamic_cast<const TCustomLabel*>(c); label && label->FocusControl() == Target)
            return label;
        if (auto* win = dynamic_cast<const TWinControl*>(c))
            if (const TControl* found = FindLabel(win, Target)) return found;
    }
    return nullptr;
}

void Collect(TAccessible* Object, const std::function<bool(TAccessible*)>& Pred, std::vector<TAccessible*>& Out,
             bool First) {
    if (!Object || (First && !Out.empty())) return;
    if (Pred(Object)) {
        Out.push_back(Object);
        if (First) return;
    }
    for (int i = 0, n = Object->ChildCount(); i < n; ++i) Collect(Object->Child(i), Pred, Out, First);
}

} // namespace

TControl* LabelFor(const TControl* Control) {
    const TWinControl* top = Control ? Control->TopLevel() : nullptr;
    return top ? const_cast<TControl*>(FindLabel(top, Control)) : nullptr;
}

TAccessible* FindAccessible(TAccessible* Root, TAccRole Role, const String& Name) {
    std::vector<TAccessible*> found;
    Collect(
        Root, [&](TAccessible* a) { return a->Role() == Role && (Name.empty() || a->Name() == Name); }, found, true);
    return found.empty() ? nullptr : found.front();
}

std::vector<TAccessible*> FindAllAccessible(TAccessible* Root, const std::function<bool(TAccessible*)>& Pred) {
    std::vector<TAccessible*> found;
    Collect(Root, Pred, found, false);
    return found;
}

} // namespace fw
