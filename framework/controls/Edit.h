#pragma once
// TCustomEdit / TEdit: a single-line edit.
//
// The edit's own behaviour (what the window system's edit does) lives in its
// DefaultHandler, so a derived class sees every message first and can refuse
// it or pass it on:
// - WM_CHAR inserts the character at the caret (replacing the selection);
//   Backspace deletes; Ctrl+C, Ctrl+X and Ctrl+V (characters 3, 24 and 22)
//   become WM_COPY, WM_CUT and WM_PASTE sent to the edit itself; Ctrl+A
//   (character 1) selects everything, Ctrl+Z (26) sends WM_UNDO;
// - WM_KEYDOWN moves the caret (Left, Right, Home, End; Ctrl+Left and
//   Ctrl+Right by words; with Shift they extend the selection) and deletes (Delete; Shift+Delete cuts,
//   Shift+Insert pastes, Ctrl+Insert copies);
// - WM_CUT, WM_COPY, WM_PASTE work with the framework clipboard; a selection
//   made by the user is offered as the primary selection, and the middle
//   button pastes that at the pointer (WM_PASTE with PasteFromPrimary);
// - WM_UNDO (EM_UNDO) takes back the last change, a run of typing as one;
//   undoing again redoes it (one level, EM_CANUNDO);
// - WM_IME_COMPOSITION shows an input method's uncommitted text at the caret,
//   underlined; only the committed text arrives, as WM_CHAR;
// - WM_PAINT draws the text left-aligned at the top of the client area, the
//   selection, and the caret while focused (blinking at GetCaretBlinkTime
//   while the program has the desktop's activation, steady otherwise).
// A read-only edit refuses every change (typing, Backspace, Delete, cut,
// paste) but copies; MaxLength (0: no limit) limits typing and pasting.
// Every change of the text, typed or set, calls Change, which fires OnChange.

#include <framework/controls/WinControl.h>

namespace fw {

class TCustomEdit : public TWinControl {
    FW_CLASS(TCustomEdit, TWinControl)

public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    // Writing the text puts the caret at its start, keeps Modified as it is
    // and calls Change.
    void SetText(const String& Value) override;

    int SelStart() const { return FSelStart; }
    void SetSelStart(int Value);
    int SelLength() const { return FSelLength; }
    void SetSelLength(int Value);
    String SelText() const;
    // Replaces the selection, as typing would (ReadOnly and MaxLength are not checked).
    void SetSelText(const String& Value);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(""); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void CutToClipboard() { Perform(WM_CUT); }
    void PasteFromClipboard() { Perform(WM_PASTE); }
    // Single-level undo: the text and selection before the last change (a
    // run of typing counts as one); Undo swaps them with the current ones.
    // Writing Text empties it.
    bool CanUndo() const { return FCanUndo; }
    void Undo() { Perform(WM_UNDO); }
    void ClearUndo() { FCanUndo = false; }
    // An input method's text shown at the caret, not part of Text.
    const String& CompositionText() const { return FComposition; }

    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    // The character shown for each character of the text (a code point; 0 shows the text).
    char32_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char32_t Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    // The caret position (an end of the selection).
    int CaretPos() const { return FCaret; }
    // Where the caret is drawn, in client coordinates (inside a composition,
    // at the input method's caret): a desktop puts its input method's
    // candidate window there.
    TRect CaretRect();

    TRect BorderInsets() const override;
    void DefaultHandler(TMessage& Message) override;
    bool FocusOnClick() const override { return true; }
    TCursor ClassCursor() const override { return crIBeam; }

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    std::unique_ptr<TAccessible> CreateAccessible() override;
    // The caret or the selection moved: tells the accessibility listeners.
    void CaretMoved();
    void CreateParams(TCreateParams& Params) override;
    void EraseBackground(HDC DC) override;
    void PaintNonClient(HDC DC) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

    // The text as shown: PasswordChar in place of every character.
    String DisplayText() const;
    // What the edit shows for the bytes [from, to) of the text.
    String Shown(int from, int to) const;
    // Left and top of the text in the client area.
    static constexpr int TextMarginX = 1;
    static constexpr int TextMarginY = 1;

private:
    void PaintEdit(HDC DC);
    void KeyDownDefault(Word key);
    void CharDefault(Char c);
    void ReplaceSelection(const String& s, bool typing = false);
    void UndoDefault();
    void OfferSelection();
    void PaintComposition(HDC DC, int x0, int caretIndex);
    void SetCaret(int pos, bool extend);
    int CharAtX(int x);
    int TextX(int index);
    void ScrollToCaret();
    int PreviousWordStart(int from) const;
    int NextWordStart(int from) const;
    void StartCaretBlink();
    void StopCaretBlink();
    void ShowCaretNow();
    void AdjustHeight();
    int FontTextHeight();

    int FSelStart = 0;
    int FSelLength = 0;
    int FCaret = 0; // the moving end of the selection
    int FScrollX = 0;
    bool FModified = false;
    bool FReadOnly = false;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    char32_t FPasswordChar = 0;
    bool FAutoSelect = true;
    bool FAutoSize = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FHideSelection = true;
    bool FSelecting = false;
    int FLastFontHeight = 0;
    unsigned FBlinkTimer = 0;
    bool FCaretHidden = false;
    // Undo: what the text and selection were before the last change.
    bool FCanUndo = false;
    String FUndoText;
    int FUndoSelStart = 0;
    int FUndoSelLength = 0;
    int FTypingEnd = -1; // where typing continues the run being undone as one
    String FComposition;
    int FCompositionCursor = 0;
};

// WM_PASTE's WParam for a paste of the desktop's primary selection (the
// middle button) instead of the clipboard.
constexpr WPARAM PasteFromPrimary = 1;

class TEdit : public TCustomEdit {
    FW_CLASS(TEdit, TCustomEdit)

public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

} // namespace fw
