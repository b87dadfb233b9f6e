// The accessibility bridge to AT-SPI, the desktop's accessibility protocol on
// Linux, through ATK and its bridge (atk-bridge): each object of the
// accessibility model is wrapped in an AtkObject whose interfaces answer from
// it, and atk-bridge speaks D-Bus with the assistive technologies. Why this
// route, and not our own D-Bus service: docs/decisions.md.
//
// Index: the wrappers (one GType per set of interfaces); the interfaces
// (component, action, text, value, table, table cell, selection, window); the
// toolkit hooks ATK asks of us (the root, event listeners); the model's events
// as ATK signals; the loop (GLib's main context polled by a watcher thread
// that wakes the window backend); start and stop.

#define ATK_DISABLE_DEPRECATION_WARNINGS
#include <algorithm>
#include <atk-bridge.h>
#include <atk/atk.h>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <framework/backends/AccessibilityBridge.h>
#include <framework/backends/atspi/AtspiBridge.h>
#include <framework/controls/Accessibility.h>
#include <framework/controls/Control.h>
#include <framework/forms/FormAccessible.h>
#include <gio/gio.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <utility>
#include <vector>

namespace fw::AccessibilityBridge {

namespace {

// ---------------------------------------------------------------- the wrappers

struct TNode {
    TAccessible* Acc = nullptr;
    // Strings ATK hands out without a copy live here until the next call.
    std::string Name, Description, ActionName, ActionDescription;
    // The text as the listeners last knew it (for insert and remove events).
    std::string Text;
};

struct QzAtk {
    AtkObject Parent;
    TNode* Node;
};
struct QzAtkClass {
    AtkObjectClass Parent;
};

int Scale = 1;
bool Running = false;
const char* Reason = "not started";
std::unordered_map<TAccessible*, AtkObject*> Wrappers;
TAccessible* Focused = nullptr;

TNode* NodeOf(gpointer Object) {
    return reinterpret_cast<QzAtk*>(Object)->Node;
}
TAccessible* AccOf(gpointer Object) {
    return NodeOf(Object)->Acc;
}

enum TIface : unsigned { ifAction = 1, ifText = 2, ifValue = 4, ifTable = 8, ifCell = 16, ifWindow = 32 };

unsigned IfacesOf(TAccessible* a) {
    unsigned mask = 0;
    if (a->ActionCount() > 0 || a->Role() == TAccRole::PushButton) mask |= ifAction;
    if (a->HasText()) mask |= ifText;
    if (a->HasValue()) mask |= ifValue;
    if (a->Role() == TAccRole::Table) mask |= ifTable;
    int row = 0, column = 0;
    if (a->CellPosition(row, column)) mask |= ifCell;
    if (a->Role() == TAccRole::Frame || a->Role() == TAccRole::Dialog) mask |= ifWindow;
    return mask;
}

GType TypeFor(unsigned Mask);

AtkObject* Wrap(TAccessible* a) {
    if (!a) return nullptr;
    if (auto it = Wrappers.find(a); it != Wrappers.end()) return it->second;
    auto* object = ATK_OBJECT(g_object_new(TypeFor(IfacesOf(a)), nullptr));
    NodeOf(object)->Acc = a;
    if (a->HasText()) NodeOf(object)->Text = a->Text();
    Wrappers[a] = object; // the map holds the first reference
    return object;
}

AtkObject* Existing(TAccessible* a) {
    auto it = Wrappers.find(a);
    return it == Wrappers.end() ? nullptr : it->second;
}

AtkObject* Ref(AtkObject* o) {
    return o ? ATK_OBJECT(g_object_ref(o)) : nullptr;
}

AtkRole RoleOf(TAccRole Role) {
    switch (Role) {
    case TAccRole::Unknown: return ATK_ROLE_UNKNOWN;
    case TAccRole::Application: return ATK_ROLE_APPLICATION;
    case TAccRole::Frame: return ATK_ROLE_FRAME;
    case TAccRole::Dialog: return ATK_ROLE_DIALOG;
    case TAccRole::Panel: return ATK_ROLE_PANEL;
    case TAccRole::Label: return ATK_ROLE_LABEL;
    case TAccRole::PushButton: return ATK_ROLE_PUSH_BUTTON;
    case TAccRole::Text: return ATK_ROLE_TEXT;
    case TAccRole::StatusIndicator: return ATK_ROLE_STATUSBAR;
    case TAccRole::ToolBar: return ATK_ROLE_TOOL_BAR;
    case TAccRole::Table: return ATK_ROLE_TABLE;
    case TAccRole::ColumnHeader: return ATK_ROLE_COLUMN_HEADER;
    case TAccRole::RowHeader: return ATK_ROLE_ROW_HEADER;
    case TAccRole::TableCell: return ATK_ROLE_TABLE_CELL;
    case TAccRole::List: return ATK_ROLE_LIST;
    case TAccRole::ListItem: return ATK_ROLE_LIST_ITEM;
    case TAccRole::Heading: return ATK_ROLE_HEADING;
    }
    return ATK_ROLE_UNKNOWN;
}

// The ATK state of a model state; ATK_STATE_INVALID where there is none.
AtkStateType StateOf(TAccState State) {
    switch (State) {
    case asEnabled: return ATK_STATE_ENABLED;
    case asSensitive: return ATK_STATE_SENSITIVE;
    case asVisible: return ATK_STATE_VISIBLE;
    case asShowing: return ATK_STATE_SHOWING;
    case asFocusable: return ATK_STATE_FOCUSABLE;
    case asFocused: return ATK_STATE_FOCUSED;
    case asSelectable: return ATK_STATE_SELECTABLE;
    case asSelected: return ATK_STATE_SELECTED;
    case asEditable: return ATK_STATE_EDITABLE;
    case asReadOnly: return ATK_STATE_READ_ONLY;
    case asSingleLine: return ATK_STATE_SINGLE_LINE;
    case asInvalid: return ATK_STATE_INVALID_ENTRY;
    case asRequired: return ATK_STATE_REQUIRED;
    case asExpandable: return ATK_STATE_EXPANDABLE;
    case asExpanded: return ATK_STATE_EXPANDED;
    case asActive: return ATK_STATE_ACTIVE;
    case asModal: return ATK_STATE_MODAL;
    case asPressed: return ATK_STATE_PRESSED;
    case asDefault: return ATK_STATE_DEFAULT;
    case asHasPopup: return ATK_STATE_HAS_POPUP;
    case asMultiLine: return ATK_STATE_MULTI_LINE;
    case asCurrent: break; // an attribute ("current"), not a state
    }
    return ATK_STATE_INVALID;
}

// ---- AtkObject

const gchar* GetName(AtkObject* o) {
    TNode* n = NodeOf(o);
    n->Name = n->Acc ? n->Acc->Name() : std::string();
    return n->Name.c_str();
}

const gchar* GetDescription(AtkObject* o) {
    TNode* n = NodeOf(o);
    n->Description = n->Acc ? n->Acc->Description() : std::string();
    return n->Description.c_str();
}

AtkObject* GetParent(AtkObject* o) {
    TAccessible* a = AccOf(o);
    return a ? Wrap(a->Parent()) : nullptr;
}

gint GetChildCount(AtkObject* o) {
    TAccessible* a = AccOf(o);
    return a ? a->ChildCount() : 0;
}

AtkObject* RefChild(AtkObject* o, gint i) {
    TAccessible* a = AccOf(o);
    return a ? Ref(Wrap(a->Child(i))) : nullptr;
}

gint GetIndexInParent(AtkObject* o) {
    TAccessible* a = AccOf(o);
    return a ? a->IndexInParent() : -1;
}

AtkRole GetRole(AtkObject* o) {
    TAccessible* a = AccOf(o);
    return a ? RoleOf(a->Role()) : ATK_ROLE_INVALID;
}

AtkStateSet* RefStateSet(AtkObject* o) {
    AtkStateSet* set = atk_state_set_new();
    TAccessible* a = AccOf(o);
    if (!a) {
        atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
        return set;
    }
    const TAccStates states = a->States();
    for (int s = asEnabled; s <= asMultiLine; ++s)
        if (states.Contains(static_cast<TAccState>(s)))
            if (AtkStateType t = StateOf(static_cast<TAccState>(s)); t != ATK_STATE_INVALID)
                atk_state_set_add_state(set, t);
    return set;
}

AtkAttributeSet* GetAttributes(AtkObject* o) {
    TAccessible* a = AccOf(o);
    AtkAttributeSet* list = nullptr;
    if (!a) return list;
    for (const auto& [name, value] : a->Attributes()) {
        auto* attribute = static_cast<AtkAttribute*>(g_malloc(sizeof(AtkAttribute)));
        attribute->name = g_strdup(name.c_str());
        attribute->value = g_strdup(value.c_str());
        list = g_slist_prepend(list, attribute);
    }
    return g_slist_reverse(list);
}

void InstanceInit(GTypeInstance* Instance, gpointer) {
    reinterpret_cast<QzAtk*>(Instance)->Node = new TNode();
}

void Finalize(GObject* Object) {
    delete NodeOf(Object);
    reinterpret_cast<QzAtk*>(Object)->Node = nullptr;
    G_OBJECT_CLASS(g_type_class_peek(ATK_TYPE_OBJECT))->finalize(Object);
}

void ClassInit(gpointer Class, gpointer) {
    G_OBJECT_CLASS(Class)->finalize = Finalize;
    auto* k = ATK_OBJECT_CLASS(Class);
    k->get_name = GetName;
    k->get_description = GetDescription;
    k->get_parent = GetParent;
    k->get_n_children = GetChildCount;
    k->ref_child = RefChild;
    k->get_index_in_parent = GetIndexInParent;
    k->get_role = GetRole;
    k->ref_state_set = RefStateSet;
    k->get_attributes = GetAttributes;
}

// ---------------------------------------------------------------- the interfaces

// ---- component: bounds on the desktop (framework pixels times the scale)

TAccessible* WindowOf(TAccessible* a) {
    while (a && a->Parent() && a->Parent()->Role() != TAccRole::Application) a = a->Parent();
    return a;
}

// What the desktop shows of an object: a top-level window shows its client
// area only (the desktop draws the frame).
TRect DesktopBounds(TAccessible* a) {
    TRect r = a->Bounds();
    if (TControl* c = a->Control(); c && !c->Parent() && a->Role() != TAccRole::Application) {
        const TPoint o = c->ClientOrigin();
        r = {o.X, o.Y, o.X + c->ClientWidth(), o.Y + c->ClientHeight()};
    }
    return {r.Left * Scale, r.Top * Scale, r.Right * Scale, r.Bottom * Scale};
}

void GetExtents(AtkComponent* c, gint* x, gint* y, gint* w, gint* h, AtkCoordType type) {
    TAccessible* a = AccOf(c);
    TRect r = a ? DesktopBounds(a) : TRect{};
    TPoint origin{};
    if (a && type == ATK_XY_WINDOW) {
        const TRect win = DesktopBounds(WindowOf(a));
        origin = {win.Left, win.Top};
    } else if (a && type == ATK_XY_PARENT && a->Parent()) {
        const TRect p = DesktopBounds(a->Parent());
        origin = {p.Left, p.Top};
    }
    if (x) *x = r.Left - origin.X;
    if (y) *y = r.Top - origin.Y;
    if (w) *w = r.Width();
    if (h) *h = r.Height();
}

gboolean GrabFocus(AtkComponent* c) {
    TAccessible* a = AccOf(c);
    return a && a->GrabFocus();
}

AtkObject* RefAccessibleAtPoint(AtkComponent* c, gint x, gint y, AtkCoordType type) {
    TAccessible* a = AccOf(c);
    if (!a) return nullptr;
    if (type == ATK_XY_WINDOW) {
        const TRect win = DesktopBounds(WindowOf(a));
        x += win.Left, y += win.Top;
    }
    return Ref(Wrap(a->HitTest({x / Scale, y / Scale})));
}

void ComponentInit(gpointer Iface, gpointer) {
    auto* i = static_cast<AtkComponentIface*>(Iface);
    i->get_extents = GetExtents;
    i->grab_focus = GrabFocus;
    i->ref_accessible_at_point = RefAccessibleAtPoint;
}

// ---- action

gboolean DoAction(AtkAction* o, gint i) {
    TAccessible* a = AccOf(o);
    return a && a->DoAction(i);
}
gint GetActionCount(AtkAction* o) {
    TAccessible* a = AccOf(o);
    return a ? a->ActionCount() : 0;
}
const gchar* GetActionName(AtkAction* o, gint i) {
    TNode* n = NodeOf(o);
    n->ActionName = n->Acc ? n->Acc->ActionName(i) : std::string();
    return n->ActionName.c_str();
}
const gchar* GetActionDescription(AtkAction* o, gint i) {
    TNode* n = NodeOf(o);
    n->ActionDescription = n->Acc ? n->Acc->ActionDescription(i) : std::string();
    return n->ActionDescription.c_str();
}

void ActionInit(gpointer Iface, gpointer) {
    auto* i = static_cast<AtkActionIface*>(Iface);
    i->do_action = DoAction;
    i->get_n_actions = GetActionCount;
    i->get_name = GetActionName;
    i->get_localized_name = GetActionName;
    i->get_description = GetActionDescription;
}

// ---- text (offsets in characters)

std::string TextOf(gpointer o) {
    TAccessible* a = AccOf(o);
    return a ? a->Text() : std::string();
}

glong Length(const std::string& s) {
    return g_utf8_strlen(s.c_str(), static_cast<gssize>(s.size()));
}

gchar* Substring(const std::string& s, glong start, glong end) {
    const glong len = Length(s);
    if (end < 0 || end > len) end = len;
    start = std::clamp<glong>(start, 0, end);
    return g_utf8_substring(s.c_str(), start, end);
}

gchar* GetText(AtkText* o, gint start, gint end) {
    return Substring(TextOf(o), start, end);
}
gint GetCharacterCount(AtkText* o) {
    return static_cast<gint>(Length(TextOf(o)));
}
gint GetCaretOffset(AtkText* o) {
    TAccessible* a = AccOf(o);
    return a ? a->CaretOffset() : 0;
}
gboolean SetCaretOffset(AtkText* o, gint offset) {
    TAccessible* a = AccOf(o);
    return a && a->SetCaretOffset(offset);
}
gunichar GetCharacterAtOffset(AtkText* o, gint offset) {
    const std::string s = TextOf(o);
    if (offset < 0 || offset >= Length(s)) return 0;
    return g_utf8_get_char(g_utf8_offset_to_pointer(s.c_str(), offset));
}
gint GetSelectionCount(AtkText* o) {
    TAccessible* a = AccOf(o);
    int start = 0, end = 0;
    if (a) a->Selection(start, end);
    return start != end ? 1 : 0;
}
gchar* GetSelection(AtkText* o, gint n, gint* start, gint* end) {
    TAccessible* a = AccOf(o);
    int s = 0, e = 0;
    if (a && n == 0) a->Selection(s, e);
    *start = s, *end = e;
    return s == e ? nullptr : Substring(TextOf(o), s, e);
}
gboolean SetSelection(AtkText* o, gint n, gint start, gint end) {
    TAccessible* a = AccOf(o);
    return n == 0 && a && a->SetSelection(start, end);
}
gboolean AddSelection(AtkText* o, gint start, gint end) {
    return SetSelection(o, 0, start, end);
}
gboolean RemoveSelection(AtkText* o, gint n) {
    TAccessible* a = AccOf(o);
    return n == 0 && a && a->SetSelection(a->CaretOffset(), a->CaretOffset());
}

// The piece of a single-line text around offset: a character, a word (a run
// of letters and digits with what follows it up to the next word), or the line.
gchar* Piece(const std::string& s, gint offset, bool Word, bool Char, gint* start, gint* end) {
    const glong len = Length(s);
    glong from = 0, to = len;
    if (Char) {
        from = std::clamp<glong>(offset, 0, len);
        to = std::min<glong>(from + 1, len);
    } else if (Word) {
        std::vector<gunichar> chars;
        for (const char* p = s.c_str(); *p; p = g_utf8_next_char(p)) chars.push_back(g_utf8_get_char(p));
        auto inWord = [&](glong i) { return i >= 0 && i < len && g_unichar_isalnum(chars[static_cast<std::size_t>(i)]); };
        from = std::clamp<glong>(offset, 0, len);
        while (from > 0 && !inWord(from)) --from;
        while (from > 0 && inWord(from - 1)) --from;
        to = from;
        while (to < len && inWord(to)) ++to;
        while (to < len && !inWord(to)) ++to;
    }
    *start = static_cast<gint>(from), *end = static_cast<gint>(to);
    return Substring(s, from, to);
}

gchar* GetStringAtOffset(AtkText* o, gint offset, AtkTextGranularity g, gint* start, gint* end) {
    return Piece(TextOf(o), offset, g == ATK_TEXT_GRANULARITY_WORD, g == ATK_TEXT_GRANULARITY_CHAR, start, end);
}
gchar* GetTextAtOffset(AtkText* o, gint offset, AtkTextBoundary b, gint* start, gint* end) {
    const bool word = b == ATK_TEXT_BOUNDARY_WORD_START || b == ATK_TEXT_BOUNDARY_WORD_END;
    return Piece(TextOf(o), offset, word, b == ATK_TEXT_BOUNDARY_CHAR, start, end);
}

void TextInit(gpointer Iface, gpointer) {
    auto* i = static_cast<AtkTextIface*>(Iface);
    i->get_text = GetText;
    i->get_character_count = GetCharacterCount;
    i->get_caret_offset = GetCaretOffset;
    i->set_caret_offset = SetCaretOffset;
    i->get_character_at_offset = GetCharacterAtOffset;
    i->get_n_selections = GetSelectionCount;
    i->get_selection = GetSelection;
    i->set_selection = SetSelection;
    i->add_selection = AddSelection;
    i->remove_selection = RemoveSelection;
    i->get_string_at_offset = GetStringAtOffset;
    i->get_text_at_offset = GetTextAtOffset;
}

void SetTextContents(AtkEditableText* o, const gchar* text) {
    if (TAccessible* a = AccOf(o); a && text) a->SetTextContents(text);
}

void EditableTextInit(gpointer Iface, gpointer) {
    static_cast<AtkEditableTextIface*>(Iface)->set_text_contents = SetTextContents;
}

// ---- value

void SetDouble(GValue* v, double d) {
    g_value_init(v, G_TYPE_DOUBLE);
    g_value_set_double(v, d);
}
void GetCurrentValue(AtkValue* o, GValue* v) {
    TAccessible* a = AccOf(o);
    SetDouble(v, a ? a->Value() : 0);
}
void GetMinimumValue(AtkValue* o, GValue* v) {
    TAccessible* a = AccOf(o);
    SetDouble(v, a ? a->MinValue() : 0);
}
void GetMaximumValue(AtkValue* o, GValue* v) {
    TAccessible* a = AccOf(o);
    SetDouble(v, a ? a->MaxValue() : 0);
}
void GetValueAndText(AtkValue* o, gdouble* value, gchar** text) {
    TAccessible* a = AccOf(o);
    if (value) *value = a ? a->Value() : 0;
    if (text) *text = g_strdup(a ? a->ValueText().c_str() : "");
}
AtkRange* GetRange(AtkValue* o) {
    TAccessible* a = AccOf(o);
    return a ? atk_range_new(a->MinValue(), a->MaxValue(), nullptr) : nullptr;
}

void ValueInit(gpointer Iface, gpointer) {
    auto* i = static_cast<AtkValueIface*>(Iface);
    i->get_current_value = GetCurrentValue;
    i->get_minimum_value = GetMinimumValue;
    i->get_maximum_value = GetMaximumValue;
    i->get_value_and_text = GetValueAndText;
    i->get_range = GetRange;
}

// ---- table, table cell, selection (the selected cells)

AtkObject* RefAt(AtkTable* o, gint row, gint column) {
    TAccessible* a = AccOf(o);
    return a ? Ref(Wrap(a->CellAt(row, column))) : nullptr;
}
gint GetRowCount(AtkTable* o) {
    TAccessible* a = AccOf(o);
    return a ? a->RowCount() : 0;
}
gint GetColumnCount(AtkTable* o) {
    TAccessible* a = AccOf(o);
    return a ? a->ColumnCount() : 0;
}
AtkObject* GetColumnHeader(AtkTable* o, gint column) {
    TAccessible* a = AccOf(o);
    return a ? Wrap(a->ColumnHeader(column)) : nullptr;
}
AtkObject* GetRowHeader(AtkTable* o, gint row) {
    TAccessible* a = AccOf(o);
    return a ? Wrap(a->RowHeader(row)) : nullptr;
}
gint GetIndexAt(AtkTable* o, gint row, gint column) {
    TAccessible* a = AccOf(o);
    TAccessible* cell = a ? a->CellAt(row, column) : nullptr;
    return cell ? cell->IndexInParent() : -1;
}
bool PositionOfChild(AtkTable* o, gint index, int& row, int& column) {
    TAccessible* a = AccOf(o);
    TAccessible* child = a ? a->Child(index) : nullptr;
    return child && child->CellPosition(row, column);
}
gint GetRowAtIndex(AtkTable* o, gint index) {
    int row = -1, column = -1;
    return PositionOfChild(o, index, row, column) ? row : -1;
}
gint GetColumnAtIndex(AtkTable* o, gint index) {
    int row = -1, column = -1;
    return PositionOfChild(o, index, row, column) ? column : -1;
}

void TableInit(gpointer Iface, gpointer) {
    auto* i = static_cast<AtkTableIface*>(Iface);
    i->ref_at = RefAt;
    i->get_n_rows = GetRowCount;
    i->get_n_columns = GetColumnCount;
    i->get_column_header = GetColumnHeader;
    i->get_row_header = GetRowHeader;
    i->get_index_at = GetIndexAt;
    i->get_row_at_index = GetRowAtIndex;
    i->get_column_at_index = GetColumnAtIndex;
}

gboolean GetCellPosition(AtkTableCell* o, gint* row, gint* column) {
    TAccessible* a = AccOf(o);
    int r = 0, c = 0;
    if (!a || !a->CellPosition(r, c)) return FALSE;
    *row = r, *column = c;
    return TRUE;
}
gint SpanOfOne(AtkTableCell*) {
    return 1;
}
gboolean GetRowColumnSpan(AtkTableCell* o, gint* row, gint* column, gint* rowSpan, gint* columnSpan) {
    *rowSpan = *columnSpan = 1;
    return GetCellPosition(o, row, column);
}
AtkObject* GetTable(AtkTableCell* o) {
    TAccessible* a = AccOf(o);
    return a ? Ref(Wrap(a->Parent())) : nullptr;
}
GPtrArray* GetColumnHeaderCells(AtkTableCell* o) {
    GPtrArray* list = g_ptr_array_new_with_free_func(g_object_unref);
    TAccessible* a = AccOf(o);
    int r = 0, c = 0;
    if (a && a->Parent() && a->CellPosition(r, c))
        if (AtkObject* header = Wrap(a->Parent()->ColumnHeader(c))) g_ptr_array_add(list, Ref(header));
    return list;
}
GPtrArray* GetRowHeaderCells(AtkTableCell* o) {
    GPtrArray* list = g_ptr_array_new_with_free_func(g_object_unref);
    TAccessible* a = AccOf(o);
    int r = 0, c = 0;
    if (a && a->Parent() && a->CellPosition(r, c))
        if (AtkObject* header = Wrap(a->Parent()->RowHeader(r))) g_ptr_array_add(list, Ref(header));
    return list;
}

void TableCellInit(gpointer Iface, gpointer) {
    auto* i = static_cast<AtkTableCellIface*>(Iface);
    i->get_position = GetCellPosition;
    i->get_row_span = SpanOfOne;
    i->get_column_span = SpanOfOne;
    i->get_row_column_span = GetRowColumnSpan;
    i->get_table = GetTable;
    i->get_column_header_cells = GetColumnHeaderCells;
    i->get_row_header_cells = GetRowHeaderCells;
}

std::vector<TAccessible*> SelectedChildren(gpointer o) {
    std::vector<TAccessible*> list;
    if (TAccessible* a = AccOf(o))
        for (int i = 0, n = a->ChildCount(); i < n; ++i)
            if (TAccessible* c = a->Child(i); c && c->States().Contains(asSelected)) list.push_back(c);
    return list;
}
gint GetSelectedCount(AtkSelection* o) {
    return static_cast<gint>(SelectedChildren(o).size());
}
AtkObject* RefSelection(AtkSelection* o, gint i) {
    const auto list = SelectedChildren(o);
    return i >= 0 && i < static_cast<gint>(list.size()) ? Ref(Wrap(list[static_cast<std::size_t>(i)])) : nullptr;
}
gboolean IsChildSelected(AtkSelection* o, gint i) {
    TAccessible* a = AccOf(o);
    TAccessible* c = a ? a->Child(i) : nullptr;
    return c && c->States().Contains(asSelected);
}
gboolean AddChildSelection(AtkSelection* o, gint i) {
    TAccessible* a = AccOf(o);
    TAccessible* c = a ? a->Child(i) : nullptr;
    return c && c->GrabFocus();
}

void SelectionInit(gpointer Iface, gpointer) {
    auto* i = static_cast<AtkSelectionIface*>(Iface);
    i->get_selection_count = GetSelectedCount;
    i->ref_selection = RefSelection;
    i->is_child_selected = IsChildSelected;
    i->add_selection = AddChildSelection;
}

// A window has only signals (create, activate...).
void WindowInit(gpointer, gpointer) {}

GType TypeFor(unsigned Mask) {
    static std::map<unsigned, GType> types;
    if (auto it = types.find(Mask); it != types.end()) return it->second;
    GTypeInfo info{};
    info.class_size = sizeof(QzAtkClass);
    info.class_init = ClassInit;
    info.instance_size = sizeof(QzAtk);
    info.instance_init = InstanceInit;
    const std::string name = "QzAccessible" + std::to_string(Mask);
    const GType type = g_type_register_static(ATK_TYPE_OBJECT, name.c_str(), &info, GTypeFlags(0));
    auto add = [type](GType iface, GInterfaceInitFunc init) {
        const GInterfaceInfo i{init, nullptr, nullptr};
        g_type_add_interface_static(type, iface, &i);
    };
    add(ATK_TYPE_COMPONENT, ComponentInit);
    if (Mask & ifAction) add(ATK_TYPE_ACTION, ActionInit);
    if (Mask & ifText) add(ATK_TYPE_TEXT, TextInit), add(ATK_TYPE_EDITABLE_TEXT, EditableTextInit);
    if (Mask & ifValue) add(ATK_TYPE_VALUE, ValueInit);
    if (Mask & ifTable) add(ATK_TYPE_TABLE, TableInit), add(ATK_TYPE_SELECTION, SelectionInit);
    if (Mask & ifCell) add(ATK_TYPE_TABLE_CELL, TableCellInit);
    if (Mask & ifWindow) add(ATK_TYPE_WINDOW, WindowInit);
    types[Mask] = type;
    return type;
}

// ---------------------------------------------------------------- what ATK asks of the toolkit

struct THook {
    guint Signal;
    gulong Hook;
};
std::map<guint, THook> Hooks;
guint NextHookId = 1;

// "Gtk:AtkObject:state-change": a hook on the signal of that ATK type. Other
// forms ("window:create") are refused, so atk-bridge uses AtkWindow's signals.
guint AddGlobalEventListener(GSignalEmissionHook Listener, const gchar* EventType) {
    gchar** parts = g_strsplit(EventType, ":", 3);
    guint id = 0;
    if (g_strv_length(parts) == 3) {
        const GType type = g_type_from_name(parts[1]);
        const guint signal = type ? g_signal_lookup(parts[2], type) : 0;
        if (signal) {
            const gulong hook = g_signal_add_emission_hook(signal, 0, Listener, g_strdup(EventType), g_free);
            id = NextHookId++;
            Hooks[id] = {signal, hook};
        }
    }
    g_strfreev(parts);
    return id;
}

void RemoveGlobalEventListener(guint Id) {
    if (auto it = Hooks.find(Id); it != Hooks.end()) {
        g_signal_remove_emission_hook(it->second.Signal, it->second.Hook);
        Hooks.erase(it);
    }
}

AtkObject* GetRoot() {
    return Wrap(ApplicationAccessible());
}
const gchar* GetToolkitName() {
    return "Qz";
}
const gchar* GetToolkitVersion() {
    return "5.0";
}

// ---------------------------------------------------------------- the model's events

// Tells the listeners what changed in a text since they last knew it: the
// removed run, then the inserted one (offsets in characters).
void TextChanged(AtkObject* o, TAccessible* a) {
    TNode* n = NodeOf(o);
    const std::string now = a->Text();
    if (now == n->Text) return;
    const std::string before = n->Text;
    n->Text = now;
    std::size_t head = 0;
    while (head < before.size() && head < now.size() && before[head] == now[head]) ++head;
    while (head > 0 && (static_cast<unsigned char>(now[head]) & 0xC0) == 0x80) --head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < now.size() - head &&
           before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
        ++tail;
    while (tail > 0 && (static_cast<unsigned char>(now[now.size() - tail]) & 0xC0) == 0x80) --tail;
    const gint at = static_cast<gint>(g_utf8_strlen(now.c_str(), static_cast<gssize>(head)));
    const std::string removed = before.substr(head, before.size() - head - tail);
    const std::string inserted = now.substr(head, now.size() - head - tail);
    if (!removed.empty())
        g_signal_emit_by_name(o, "text-remove", at, static_cast<gint>(Length(removed)), removed.c_str());
    if (!inserted.empty())
        g_signal_emit_by_name(o, "text-insert", at, static_cast<gint>(Length(inserted)), inserted.c_str());
}

// Whether an assistive technology listens for events: the registry on the
// accessibility bus tells every application which events its clients listen
// for (atk-bridge drops the rest by the same list). While none listens the
// bridge's listener is quiet: the model's events that only inform (focus,
// names, values, states, carets, selections, activation) are neither sent nor
// worked out, so a bridge that runs with nobody listening costs the user
// interface next to nothing. What keeps the wrappers true (texts, windows
// coming and going, objects going) is always heard.
bool ClientsListen = true;
int ListenerId = 0;

void SetListening(bool Value) {
    ClientsListen = Value;
    if (ListenerId) SetAccListenerQuiet(ListenerId, !Value);
}

// The events registered on the registry, per client and event.
std::map<std::pair<std::string, std::string>, int> Registrations;

void Register(const char* Client, const char* Event, int Delta) {
    auto& count = Registrations[{Client, Event}];
    count += Delta;
    if (count <= 0) Registrations.erase({Client, Event});
    if (Registrations.empty() == ClientsListen) SetListening(!Registrations.empty());
}

void OnEvent(const TAccEvent& e) {
    if (e.Kind == TAccEventKind::Destroyed) {
        if (Focused == e.Object) Focused = nullptr;
        auto it = Wrappers.find(e.Object);
        if (it == Wrappers.end()) return;
        AtkObject* o = it->second;
        Wrappers.erase(it);
        NodeOf(o)->Acc = nullptr;
        atk_object_notify_state_change(o, ATK_STATE_DEFUNCT, TRUE);
        g_object_unref(o);
        return;
    }
    const bool make = e.Kind == TAccEventKind::Focus || e.Kind == TAccEventKind::WindowShown ||
                      e.Kind == TAccEventKind::WindowActivated;
    AtkObject* o = make ? Wrap(e.Object) : Existing(e.Object);
    if (!o) return;
    switch (e.Kind) {
    case TAccEventKind::Focus: {
        if (Focused && Focused != e.Object)
            if (AtkObject* old = Existing(Focused)) atk_object_notify_state_change(old, ATK_STATE_FOCUSED, FALSE);
        Focused = e.Object;
        // A cell of a grid that keeps the focus itself is its active descendant.
        if (TAccessible* p = e.Object->Parent(); p && p->Role() == TAccRole::Table) {
            static const guint activeDescendant = g_signal_lookup("active-descendant-changed", ATK_TYPE_OBJECT);
            g_signal_emit(Wrap(p), activeDescendant, 0, o);
        }
        atk_object_notify_state_change(o, ATK_STATE_FOCUSED, TRUE);
        atk_focus_tracker_notify(o);
        break;
    }
    case TAccEventKind::NameChanged: g_object_notify(G_OBJECT(o), "accessible-name"); break;
    case TAccEventKind::DescriptionChanged: g_object_notify(G_OBJECT(o), "accessible-description"); break;
    case TAccEventKind::ValueChanged: g_object_notify(G_OBJECT(o), "accessible-value"); break;
    case TAccEventKind::TextChanged:
        if (ATK_IS_TEXT(o)) TextChanged(o, e.Object);
        break;
    case TAccEventKind::CaretMoved:
        if (ATK_IS_TEXT(o)) g_signal_emit_by_name(o, "text-caret-moved", static_cast<gint>(e.Detail));
        break;
    case TAccEventKind::SelectionChanged:
        if (ATK_IS_SELECTION(o)) {
            static const guint selectionChanged = g_signal_lookup("selection-changed", ATK_TYPE_SELECTION);
            g_signal_emit(o, selectionChanged, 0);
        } else if (ATK_IS_TEXT(o)) {
            g_signal_emit_by_name(o, "text-selection-changed");
        }
        break;
    case TAccEventKind::StateChanged:
        if (AtkStateType t = StateOf(e.State); t != ATK_STATE_INVALID) atk_object_notify_state_change(o, t, e.Detail != 0);
        break;
    case TAccEventKind::ChildrenChanged: break;
    case TAccEventKind::WindowShown:
    case TAccEventKind::WindowHidden: {
        // Heard even while nobody listens (atk-bridge's cache follows the
        // windows): the signals are looked up once, not by name each time.
        static const guint childrenChanged = g_signal_lookup("children-changed", ATK_TYPE_OBJECT);
        static const GQuark add = g_quark_from_static_string("add");
        static const GQuark remove = g_quark_from_static_string("remove");
        static const guint create = g_signal_lookup("create", ATK_TYPE_WINDOW);
        static const guint destroy = g_signal_lookup("destroy", ATK_TYPE_WINDOW);
        const bool shown = e.Kind == TAccEventKind::WindowShown;
        const gint index = shown ? e.Object->IndexInParent() : -1;
        g_signal_emit(GetRoot(), childrenChanged, shown ? add : remove, static_cast<guint>(std::max(index, 0)), o);
        if (ATK_IS_WINDOW(o)) g_signal_emit(o, shown ? create : destroy, 0);
        break;
    }
    case TAccEventKind::WindowActivated:
    case TAccEventKind::WindowDeactivated: {
        const bool active = e.Kind == TAccEventKind::WindowActivated;
        atk_object_notify_state_change(o, ATK_STATE_ACTIVE, active);
        if (ATK_IS_WINDOW(o)) g_signal_emit_by_name(o, active ? "activate" : "deactivate");
        break;
    }
    case TAccEventKind::Destroyed: break;
    }
}

// ---------------------------------------------------------------- the loop

// GLib's main context, which atk-bridge's D-Bus connection runs on, is driven
// from the window backend's loop: Pump checks and dispatches what is ready and
// prepares the next wait; while the backend sleeps a watcher thread polls the
// context's descriptors (it never touches GLib) and wakes the backend when one
// is ready. So an idle window sleeps until a request comes.
class TWatcher {
public:
    explicit TWatcher(std::function<void()> Wake) : FWake(std::move(Wake)), FCancel(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        FThread = std::thread([this] { Run(); });
    }
    ~TWatcher() {
        {
            std::lock_guard lock(FMutex);
            FQuit = true;
        }
        Interrupt();
        FReady.notify_all();
        FThread.join();
        close(FCancel);
    }
    // Polls these until one is ready (then Wake) or Stop.
    void Watch(const std::vector<GPollFD>& Fds) {
        std::lock_guard lock(FMutex);
        FFds = Fds;
        FArmed = true;
        FReady.notify_all();
    }
    // Ends the poll; the descriptors' results go into Fds.
    void Stop(std::vector<GPollFD>& Fds) {
        std::unique_lock lock(FMutex);
        if (FArmed && !FPolling) {
            // Not polling yet: nothing was seen.
            FArmed = false;
            for (GPollFD& f : FFds) f.revents = 0;
        } else if (FArmed) {
            Interrupt();
            FReady.wait(lock, [this] { return !FArmed; });
        }
        for (std::size_t i = 0; i < Fds.size() && i < FFds.size(); ++i) Fds[i].revents = FFds[i].revents;
    }

private:
    void Interrupt() {
        const std::uint64_t one = 1;
        (void)!write(FCancel, &one, sizeof one);
    }
    void Run() {
        std::unique_lock lock(FMutex);
        for (;;) {
            FReady.wait(lock, [this] { return FQuit || (FArmed && !FPolling); });
            if (FQuit) return;
            // An interruption that came after the last poll had ended is stale.
            std::uint64_t stale = 0;
            (void)!read(FCancel, &stale, sizeof stale);
            std::vector<pollfd> fds;
            for (const GPollFD& f : FFds) fds.push_back({f.fd, static_cast<short>(f.events), 0});
            fds.push_back({FCancel, POLLIN, 0});
            FPolling = true;
            lock.unlock();
            int ready = 0;
            do ready = poll(fds.data(), fds.size(), -1);
            while (ready < 0 && errno == EINTR);
            lock.lock();
            FPolling = false;
            const bool cancelled = fds.back().revents != 0;
            if (cancelled) {
                std::uint64_t count = 0;
                (void)!read(FCancel, &count, sizeof count);
            }
            for (std::size_t i = 0; i < FFds.size(); ++i) FFds[i].revents = static_cast<gushort>(fds[i].revents);
            FArmed = false;
            FReady.notify_all();
            if (!cancelled && !FQuit) {
                lock.unlock();
                FWake();
                lock.lock();
            }
        }
    }

    std::function<void()> FWake;
    int FCancel;
    std::mutex FMutex;
    std::condition_variable FReady;
    std::vector<GPollFD> FFds;
    bool FArmed = false;
    bool FPolling = false;
    bool FQuit = false;
    std::thread FThread;
};

std::unique_ptr<TWatcher> Watcher;
std::vector<GPollFD> Fds;
gint Priority = 0;
bool Prepared = false;
// Whether GLib's main context is ours and the watcher runs: while the bridge
// runs, and before, while the session bus is watched for the accessibility
// bus to be enabled.
bool Looping = false;
std::function<void()> WakeLoop;

// Whether the desktop's accessibility bus is enabled: org.a11y.Status on the
// session bus (never started for this question, and no bus launched for it).
// Whether a session bus is there to ask (its address is set, or its socket exists).
bool SessionBusExists() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return (address && *address) || (runtime && std::filesystem::exists(std::filesystem::path(runtime) / "bus"));
}

bool AccessibilityEnabled(const char*& Why) {
    if (!SessionBusExists()) {
        Why = "no session bus";
        return false;
    }
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus) {
        Why = "the session bus cannot be reached";
        g_clear_error(&error);
        return false;
    }
    bool enabled = false;
    for (const char* property : {"IsEnabled", "ScreenReaderEnabled"}) {
        GVariant* reply = g_dbus_connection_call_sync(
            bus, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get",
            g_variant_new("(ss)", "org.a11y.Status", property), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NO_AUTO_START,
            1000, nullptr, &error);
        if (!reply) {
            g_clear_error(&error);
            continue;
        }
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        if (g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value)) enabled = true;
        g_variant_unref(value);
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    if (!enabled) Why = "the accessibility bus is not enabled (org.a11y.Status)";
    return enabled;
}

// ---- the registry's list of events that clients listen for

GDBusConnection* AccessibilityBus = nullptr;
std::vector<guint> Subscriptions;

void OnRegistration(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* Signal,
                    GVariant* Parameters, gpointer) {
    if (!g_variant_is_of_type(Parameters, G_VARIANT_TYPE_TUPLE) || g_variant_n_children(Parameters) < 2) return;
    const gchar* client = nullptr;
    const gchar* event = nullptr;
    g_variant_get_child(Parameters, 0, "&s", &client);
    g_variant_get_child(Parameters, 1, "&s", &event);
    Register(client, event, std::string_view(Signal) == "EventListenerRegistered" ? 1 : -1);
}

// Connects to the accessibility bus (the address atk-bridge uses too), reads
// the events registered so far and follows their changes. When any step
// fails, every event is handled, as if someone listened.
void WatchRegistrations() {
    Registrations.clear();
    SetListening(true);
    GError* error = nullptr;
    std::string address;
    if (const char* a = std::getenv("AT_SPI_BUS_ADDRESS"); a && *a) {
        address = a;
    } else if (GDBusConnection* session = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
        if (GVariant* reply = g_dbus_connection_call_sync(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                                          "GetAddress", nullptr, G_VARIANT_TYPE("(s)"),
                                                          G_DBUS_CALL_FLAGS_NO_AUTO_START, 1000, nullptr, nullptr)) {
            const gchar* a = nullptr;
            g_variant_get(reply, "(&s)", &a);
            address = a;
            g_variant_unref(reply);
        }
        g_object_unref(session);
    }
    if (address.empty()) return;
    AccessibilityBus = g_dbus_connection_new_for_address_sync(
        address.c_str(),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    if (!AccessibilityBus) {
        g_clear_error(&error);
        return;
    }
    for (const char* signal : {"EventListenerRegistered", "EventListenerDeregistered"})
        Subscriptions.push_back(g_dbus_connection_signal_subscribe(
            AccessibilityBus, nullptr, "org.a11y.atspi.Registry", signal, "/org/a11y/atspi/registry", nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE, OnRegistration, nullptr, nullptr));
    GVariant* reply = g_dbus_connection_call_sync(
        AccessibilityBus, "org.a11y.atspi.Registry", "/org/a11y/atspi/registry", "org.a11y.atspi.Registry",
        "GetRegisteredEvents", nullptr, G_VARIANT_TYPE("(a(ss))"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, &error);
    if (!reply) {
        g_clear_error(&error);
        return;
    }
    GVariantIter* list = nullptr;
    g_variant_get(reply, "(a(ss))", &list);
    const gchar* client = nullptr;
    const gchar* event = nullptr;
    while (g_variant_iter_next(list, "(&s&s)", &client, &event)) Register(client, event, 1);
    g_variant_iter_free(list);
    g_variant_unref(reply);
    SetListening(!Registrations.empty());
}

// ---- the accessibility bus being enabled later (a screen reader started after the program)

GDBusConnection* SessionBus = nullptr;
guint StatusSubscription = 0;
// A change of org.a11y.Status was seen: Pump asks again whether the bus is enabled.
bool StatusChanged = false;

void OnStatusChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant*, gpointer) {
    StatusChanged = true;
}

// Follows the changes of org.a11y.Status (IsEnabled, ScreenReaderEnabled) on
// the session bus. The signal only prompts the question: the answer comes from
// the bus's owner, as at the start.
bool WatchStatus() {
    SessionBus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!SessionBus) return false;
    StatusSubscription = g_dbus_connection_signal_subscribe(
        SessionBus, nullptr, "org.freedesktop.DBus.Properties", "PropertiesChanged", "/org/a11y/bus",
        "org.a11y.Status", G_DBUS_SIGNAL_FLAGS_NONE, OnStatusChanged, nullptr, nullptr);
    return true;
}

void UnwatchStatus() {
    if (!SessionBus) return;
    g_dbus_connection_signal_unsubscribe(SessionBus, StatusSubscription);
    g_object_unref(SessionBus);
    SessionBus = nullptr;
    StatusSubscription = 0;
    StatusChanged = false;
}

void UnwatchRegistrations() {
    if (AccessibilityBus) {
        for (guint id : Subscriptions) g_dbus_connection_signal_unsubscribe(AccessibilityBus, id);
        g_dbus_connection_close_sync(AccessibilityBus, nullptr, nullptr);
        g_object_unref(AccessibilityBus);
        AccessibilityBus = nullptr;
    }
    Subscriptions.clear();
    Registrations.clear();
    SetListening(true);
}

} // namespace

namespace {

// The toolkit's part for ATK and the model's listener: what Start and
// StartWithoutBus share.
void Install(int AScale) {
    Scale = std::max(AScale, 1);
    // The interfaces must exist before atk-bridge looks up their signals.
    for (GType t : {ATK_TYPE_COMPONENT, ATK_TYPE_ACTION, ATK_TYPE_TEXT, ATK_TYPE_EDITABLE_TEXT, ATK_TYPE_VALUE,
                    ATK_TYPE_TABLE, ATK_TYPE_TABLE_CELL, ATK_TYPE_SELECTION, ATK_TYPE_WINDOW})
        g_type_default_interface_unref(g_type_default_interface_ref(t));
    auto* util = ATK_UTIL_CLASS(g_type_class_ref(ATK_TYPE_UTIL));
    util->add_global_event_listener = AddGlobalEventListener;
    util->remove_global_event_listener = RemoveGlobalEventListener;
    util->get_root = GetRoot;
    util->get_toolkit_name = GetToolkitName;
    util->get_toolkit_version = GetToolkitVersion;
    ListenerId = AddAccListener(OnEvent);
}

// Drops every wrapper and the model's listener.
void Uninstall() {
    RemoveAccListener(ListenerId);
    ListenerId = 0;
    Focused = nullptr;
    ClientsListen = true;
    Registrations.clear();
    for (auto& [acc, object] : Wrappers) {
        NodeOf(object)->Acc = nullptr;
        g_object_unref(object);
    }
    Wrappers.clear();
}

bool WithoutBus = false;

} // namespace

namespace {

// Takes GLib's main context and starts the watcher, once.
void StartLoop() {
    if (Looping) return;
    g_main_context_acquire(g_main_context_default());
    Watcher = std::make_unique<TWatcher>(WakeLoop);
    Looping = true;
}

void StopLoop() {
    if (!Looping) return;
    Looping = false;
    Watcher->Stop(Fds);
    Watcher.reset();
    if (Prepared) {
        Prepared = false;
        g_main_context_check(g_main_context_default(), Priority, Fds.data(), static_cast<gint>(Fds.size()));
    }
}

// The toolkit's part, atk-bridge and the registry's list.
bool StartBridge(int AScale) {
    Install(AScale);
    StartLoop();
    if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
        Uninstall();
        Reason = "atk-bridge could not start";
        return false;
    }
    WatchRegistrations();
    Running = true;
    Reason = "";
    return true;
}

} // namespace

bool Start(int AScale, std::function<void()> Wake) {
    if (Running) return true;
    const char* request = std::getenv("QZ_ACCESSIBILITY");
    const char* noBridge = std::getenv("NO_AT_BRIDGE");
    if ((request && std::string(request) == "0") || (noBridge && std::string(noBridge) == "1")) {
        Reason = "switched off (QZ_ACCESSIBILITY=0 or NO_AT_BRIDGE=1)";
        return false;
    }
    Scale = std::max(AScale, 1);
    WakeLoop = std::move(Wake);
    const bool forced = request && std::string(request) == "1";
    if (forced || AccessibilityEnabled(Reason)) {
        if (StartBridge(AScale)) return true;
        StopLoop();
        g_main_context_release(g_main_context_default());
        return false;
    }
    // Not enabled now: a screen reader started later enables the bus, and the
    // bridge starts then (Pump). Without a session bus nothing is watched.
    if (SessionBus || (SessionBusExists() && WatchStatus())) StartLoop();
    return false;
}

void StartWithoutBus(int AScale) {
    if (Running) return;
    Install(AScale);
    Running = WithoutBus = true;
}

void SetClientsListening(bool Value) {
    SetListening(Value);
}

AtkObject* WrapperOf(TAccessible* Object) {
    return Wrap(Object);
}

int Pump() {
    if (!Looping) return -1;
    GMainContext* context = g_main_context_default();
    Watcher->Stop(Fds);
    if (Prepared) {
        Prepared = false;
        if (g_main_context_check(context, Priority, Fds.data(), static_cast<gint>(Fds.size())))
            g_main_context_dispatch(context);
    }
    for (int i = 0; i < 64 && g_main_context_iteration(context, FALSE); ++i) {
    }
    // The accessibility bus was enabled after the program started: the bridge
    // starts now, outside any dispatch.
    if (StatusChanged && !Running) {
        StatusChanged = false;
        if (AccessibilityEnabled(Reason) && StartBridge(Scale)) {
            UnwatchStatus();
            for (int i = 0; i < 64 && g_main_context_iteration(context, FALSE); ++i) {
            }
        }
    }
    g_main_context_prepare(context, &Priority);
    gint timeout = -1;
    Fds.resize(8);
    gint count = 0;
    while ((count = g_main_context_query(context, Priority, &timeout, Fds.data(), static_cast<gint>(Fds.size()))) >
           static_cast<gint>(Fds.size()))
        Fds.resize(static_cast<std::size_t>(count));
    Fds.resize(static_cast<std::size_t>(count));
    Prepared = true;
    Watcher->Watch(Fds);
    return timeout;
}

void Stop() {
    if (WithoutBus) {
        Running = WithoutBus = false;
        Uninstall();
        return;
    }
    if (!Running && !Looping) return;
    const bool running = std::exchange(Running, false);
    const bool looping = Looping;
    StopLoop();
    UnwatchStatus();
    if (running) {
        UnwatchRegistrations();
        atk_bridge_adaptor_cleanup();
        Uninstall();
    }
    if (looping) g_main_context_release(g_main_context_default());
    Reason = "stopped";
}

bool Active() {
    return Running;
}

const char* InactiveReason() {
    return Reason;
}

} // namespace fw::AccessibilityBridge
