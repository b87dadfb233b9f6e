#pragma once
// The accessible objects of the framework's edits, buttons and labels, for
// descendants that add to them (the package's date edit and drop button).

#include <framework/controls/Accessibility.h>

namespace fw {

class TButton;
class TCustomEdit;

// An edit: the role Text, the text with its caret and selection (in
// characters), the editable or read-only and single-line states.
class TEditAccessible : public TControlAccessible {
public:
    explicit TEditAccessible(TCustomEdit* Edit);

    TAccRole Role() const override { return TAccRole::Text; }
    TAccStates States() const override;
    bool HasText() const override { return true; }
    String Text() const override;
    int CaretOffset() const override;
    bool SetCaretOffset(int Offset) override;
    void Selection(int& Start, int& End) const override;
    bool SetSelection(int Start, int End) override;
    bool SetTextContents(const String& Value) override;

protected:
    TCustomEdit* Edit() const;
};

// A push button: named by its caption (the hint where it has none), with the
// action "click" and the default state.
class TButtonAccessible : public TControlAccessible {
public:
    explicit TButtonAccessible(TButton* Button);

    TAccRole Role() const override { return TAccRole::PushButton; }
    String Name() const override;
    TAccStates States() const override;
    int ActionCount() const override { return 1; }
    String ActionName(int Index) const override { return Index == 0 ? "click" : String(); }
    String ActionDescription(int Index) const override { return Index == 0 ? "Presses the button" : String(); }
    void RunAction(int Index) override;

protected:
    TButton* Button() const;
};

// A label: named by the text it shows.
class TLabelAccessible : public TControlAccessible {
public:
    using TControlAccessible::TControlAccessible;
    TAccRole Role() const override { return TAccRole::Label; }
    String Name() const override;
};

} // namespace fw
