// The accessible objects of edits and buttons.

#include <framework/classes/ComponentRef.h>
#include <framework/controls/AccessibleControls.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/rtl/Utf8.h>

namespace fw {

namespace {

int Chars(const String& Text, int ByteOffset) {
    const auto end = static_cast<std::size_t>(std::clamp(ByteOffset, 0, static_cast<int>(Text.size())));
    return static_cast<int>(CharCount(std::string_view(Text).substr(0, end)));
}

int Bytes(const String& Text, int CharOffset) {
    return static_cast<int>(CharOffset <= 0 ? 0 : fw::CharOffset(Text, static_cast<std::size_t>(CharOffset)));
}

} // namespace

// ---------------------------------------------------------------- edits

TEditAccessible::TEditAccessible(TCustomEdit* Edit) : TControlAccessible(Edit) {}

TCustomEdit* TEditAccessible::Edit() const {
    return static_cast<TCustomEdit*>(FControl);
}

TAccStates TEditAccessible::States() const {
    TAccStates s = TControlAccessible::States();
    s << asFocusable << asSingleLine;
    s << (Edit()->ReadOnly() ? asReadOnly : asEditable);
    return s;
}

String TEditAccessible::Text() const {
    const String& text = Edit()->Text();
    if (!Edit()->PasswordChar()) return text;
    // A password reads as the marks the edit shows, one a character.
    const String mark = CharToUtf8(Edit()->PasswordChar());
    String shown;
    for (std::size_t i = CharCount(text); i > 0; --i) shown += mark;
    return shown;
}

int TEditAccessible::CaretOffset() const {
    return Chars(Edit()->Text(), Edit()->CaretPos());
}

bool TEditAccessible::SetCaretOffset(int Offset) {
    Edit()->SetSelStart(Bytes(Edit()->Text(), Offset));
    return true;
}

void TEditAccessible::Selection(int& Start, int& End) const {
    const String& text = Edit()->Text();
    Start = Chars(text, Edit()->SelStart());
    End = Chars(text, Edit()->SelStart() + Edit()->SelLength());
}

bool TEditAccessible::SetSelection(int Start, int End) {
    const String& text = Edit()->Text();
    const int from = Bytes(text, std::min(Start, End));
    Edit()->SetSelStart(from);
    Edit()->SetSelLength(Bytes(text, std::max(Start, End)) - from);
    return true;
}

bool TEditAccessible::SetTextContents(const String& Value) {
    if (Edit()->ReadOnly() || !Edit()->Enabled()) return false;
    Edit()->SetText(Value);
    Edit()->SetModified(true);
    return true;
}

std::unique_ptr<TAccessible> TCustomEdit::CreateAccessible() {
    return std::make_unique<TEditAccessible>(this);
}

void TCustomEdit::CaretMoved() {
    if (AccListening()) AccNotifyCaret(this, Chars(FText, FCaret));
}

// ---------------------------------------------------------------- buttons

TButtonAccessible::TButtonAccessible(TButton* Button) : TControlAccessible(Button) {}

TButton* TButtonAccessible::Button() const {
    return static_cast<TButton*>(FControl);
}

String TButtonAccessible::Name() const {
    String name = StripAccelerator(Button()->Caption());
    return name.empty() ? TControlAccessible::Name() : name;
}

TAccStates TButtonAccessible::States() const {
    TAccStates s = TControlAccessible::States();
    s << asFocusable;
    if (Button()->Default()) s << asDefault;
    if (Button()->Pressed()) s << asPressed;
    return s;
}

void TButtonAccessible::RunAction(int Index) {
    if (Index == 0 && Button()->Enabled() && Button()->Showing()) Button()->Click();
}

std::unique_ptr<TAccessible> TButton::CreateAccessible() {
    return std::make_unique<TButtonAccessible>(this);
}

} // namespace fw
