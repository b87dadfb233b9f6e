// TCustomEdit: text, selection, caret, clipboard and painting of a single-line edit.

#include <algorithm>
#include <cctype>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/controls/Chrome.h>
#include <framework/controls/Clipboard.h>
#include <framework/controls/Edit.h>
#include <framework/controls/MessageQueue.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Rects.h>
#include <framework/platform/Text.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/Utf8.h>

namespace fw {

namespace {

String ApplyCase(String s, TEditCharCase c) {
    for (char& ch : s) {
        if (c == ecUpperCase)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        else if (c == ecLowerCase)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return s;
}

bool IsWordChar(char c) {
    return !std::isspace(static_cast<unsigned char>(c));
}

// The first line of a text: an edit holds one line.
String FirstLine(const String& s) {
    const auto end = s.find_first_of("\r\n");
    return end == String::npos ? s : s.substr(0, end);
}

} // namespace

FW_PUBLISH(TCustomEdit) {}

FW_PUBLISH(TEdit) {
    cls.Bool("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect, true);
    cls.Bool("AutoSize", &TEdit::AutoSize, &TEdit::SetAutoSize, true);
    cls.Enum("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle, BorderStyleNames, bsSingle);
    cls.Enum("CharCase", &TEdit::CharCase, &TEdit::SetCharCase, CharCaseNames, ecNormal);
    cls.Color("Color", &TEdit::Color, &TEdit::SetColor, clWindow);
    cls.Bool("Ctl3D", &TEdit::Ctl3D, &TEdit::SetCtl3D, true)
        .NoDefault()
        .StoredIf(&TWinControl::IsCtl3DStored);
    cls.Int("DragCursor", &TEdit::DragCursor, &TEdit::SetDragCursor, crDrag).Idents(CursorIdentKind);
    cls.Enum("DragMode", &TEdit::DragMode, &TEdit::SetDragMode, DragModeNames, dmManual);
    cls.Bool("Enabled", &TEdit::Enabled, &TEdit::SetEnabled, true);
    cls.Object("Font", &TEdit::Font).WholeIf(&TControl::IsFontOwn);
    cls.Bool("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection, true);
    cls.Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, 0);
    cls.Bool("ParentColor", &TEdit::ParentColor, &TEdit::SetParentColor, false);
    cls.Bool("ParentCtl3D", &TEdit::ParentCtl3D, &TEdit::SetParentCtl3D, true);
    cls.Bool("ParentFont", &TEdit::ParentFont, &TEdit::SetParentFont, true);
    cls.Bool("ParentShowHint", &TEdit::ParentShowHint, &TEdit::SetParentShowHint, true);
    cls.Char("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar, 0);
    cls.Component("PopupMenu", &TEdit::PopupMenu, &TEdit::SetPopupMenu);
    cls.Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false);
    cls.Bool("ShowHint", &TEdit::ShowHint, &TEdit::SetShowHint, false)
        .NoDefault()
        .StoredIf(&fw::TControl::IsShowHintStored);
    cls.Int("TabOrder", &TEdit::TabOrder, &TEdit::SetTabOrder, -1);
    cls.Bool("TabStop", &TEdit::TabStop, &TEdit::SetTabStop, true);
    cls.Str("Text", &TEdit::Text, &TEdit::SetText);
    cls.Bool("Visible", &TEdit::Visible, &TEdit::SetVisible, true);
    cls.Event("OnChange", &TEdit::OnChange);
    cls.Event("OnClick", &TEdit::OnClick);
    cls.Event("OnDblClick", &TEdit::OnDblClick);
    cls.Event("OnDragDrop", &TEdit::OnDragDrop);
    cls.Event("OnDragOver", &TEdit::OnDragOver);
    cls.Event("OnEndDrag", &TEdit::OnEndDrag);
    cls.Event("OnEnter", &TEdit::OnEnter);
    cls.Event("OnExit", &TEdit::OnExit);
    cls.Event("OnKeyDown", &TEdit::OnKeyDown);
    cls.Event("OnKeyPress", &TEdit::OnKeyPress);
    cls.Event("OnKeyUp", &TEdit::OnKeyUp);
    cls.Event("OnMouseDown", &TEdit::OnMouseDown);
    cls.Event("OnMouseMove", &TEdit::OnMouseMove);
    cls.Event("OnMouseUp", &TEdit::OnMouseUp);
    cls.Event("OnStartDrag", &TEdit::OnStartDrag);
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    FLastFontHeight = FontTextHeight();
}

TCustomEdit::~TCustomEdit() {
    StopCaretBlink();
    PrepareDestroy();
}

// ---------------------------------------------------------------- text and selection

void TCustomEdit::SetText(const String& Value) {
    const String text = ApplyCase(FirstLine(Value), FCharCase);
    if (text == FText) return;
    FSelStart = 0;
    FSelLength = 0;
    FCaret = 0;
    FScrollX = 0;
    FCanUndo = false;
    FTypingEnd = -1;
    TControl::SetText(text);
}

// A text read from a form file is not a change: handlers bound by the same
// file would otherwise run before the rest of the form is read.
void TCustomEdit::CMTextChanged(TMessage& Message) {
    TWinControl::CMTextChanged(Message);
    Invalidate();
    AccNotify(this, TAccEventKind::TextChanged);
    if (!ComponentState().Contains(csLoading)) Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

// Positions are byte offsets; one inside a character of several bytes goes to
// that character's start, so a selection never splits a character.
void TCustomEdit::SetSelStart(int Value) {
    const int len = static_cast<int>(FText.size());
    FSelStart = static_cast<int>(CharStartAt(FText, static_cast<std::size_t>(std::clamp(Value, 0, len))));
    FSelLength = 0;
    FCaret = FSelStart;
    ScrollToCaret();
    Invalidate();
    CaretMoved();
}

void TCustomEdit::SetSelLength(int Value) {
    const int len = static_cast<int>(FText.size());
    std::size_t end = static_cast<std::size_t>(FSelStart + std::clamp(Value, 0, len - FSelStart));
    if (CharStartAt(FText, end) != end) end = NextCharStart(FText, end); // the whole last character
    FSelLength = static_cast<int>(end) - FSelStart;
    FCaret = FSelStart + FSelLength;
    ScrollToCaret();
    Invalidate();
    CaretMoved();
}

String TCustomEdit::SelText() const {
    return FText.substr(static_cast<std::size_t>(FSelStart), static_cast<std::size_t>(FSelLength));
}

void TCustomEdit::SetSelText(const String& Value) {
    ReplaceSelection(ApplyCase(FirstLine(Value), FCharCase));
}

// Takes back the last change: the text and selection before it come back,
// and the ones replaced become the next undo (so undoing twice redoes).
void TCustomEdit::UndoDefault() {
    if (!FCanUndo || FReadOnly) return;
    String text = FUndoText;
    const int selStart = FUndoSelStart, selLength = FUndoSelLength;
    FUndoText = FText;
    FUndoSelStart = FSelStart;
    FUndoSelLength = FSelLength;
    FTypingEnd = -1;
    FModified = true;
    const bool changed = text != FText;
    FText = std::move(text);
    const int len = static_cast<int>(FText.size());
    FSelStart = std::clamp(selStart, 0, len);
    FSelLength = std::clamp(selLength, 0, len - FSelStart);
    FCaret = FSelStart + FSelLength;
    ScrollToCaret();
    if (changed) {
        TMessage m;
        m.Msg = CM_TEXTCHANGED;
        WndProc(m);
    } else {
        Invalidate();
    }
}

// A selection the user made is what the middle button pastes elsewhere.
void TCustomEdit::OfferSelection() {
    if (FSelLength > 0 && !FPasswordChar) PrimarySelection().SetAsText(SelText());
}

void TCustomEdit::SelectAll() {
    FSelStart = 0;
    FSelLength = static_cast<int>(FText.size());
    FCaret = FSelLength;
    ScrollToCaret();
    Invalidate();
    CaretMoved();
}

void TCustomEdit::ClearSelection() {
    if (FSelLength > 0) ReplaceSelection("");
}

// Puts s in place of the selection and leaves the caret after it. The
// change marks the edit modified and calls Change. What it replaces can be
// undone; characters typed one after the other are undone together.
void TCustomEdit::ReplaceSelection(const String& s, bool typing) {
    String text = FText;
    text.replace(static_cast<std::size_t>(FSelStart), static_cast<std::size_t>(FSelLength), s);
    const int caret = FSelStart + static_cast<int>(s.size());
    FModified = true;
    if (text != FText) {
        const bool continuesRun = typing && FCanUndo && FSelLength == 0 && FSelStart == FTypingEnd;
        if (!continuesRun) {
            FUndoText = FText;
            FUndoSelStart = FSelStart;
            FUndoSelLength = FSelLength;
            FCanUndo = true;
        }
        FTypingEnd = typing ? caret : -1;
        FText = text;
        FSelStart = caret;
        FSelLength = 0;
        FCaret = caret;
        ScrollToCaret();
        TMessage m;
        m.Msg = CM_TEXTCHANGED;
        TComponentRef<TCustomEdit> self(this); // OnChange may free the edit
        WndProc(m);
        if (!self) return;
    } else {
        FSelStart = caret;
        FSelLength = 0;
        FCaret = caret;
        Invalidate();
    }
    CaretMoved();
}

void TCustomEdit::SetCaret(int pos, bool extend) {
    const int len = static_cast<int>(FText.size());
    pos = std::clamp(pos, 0, len);
    if (extend) {
        const int anchor = FCaret == FSelStart ? FSelStart + FSelLength : FSelStart;
        FSelStart = std::min(anchor, pos);
        FSelLength = std::abs(anchor - pos);
    } else {
        FSelStart = pos;
        FSelLength = 0;
    }
    FCaret = pos;
    ScrollToCaret();
    Invalidate();
    CaretMoved();
}

// ---------------------------------------------------------------- properties

void TCustomEdit::SetReadOnly(bool Value) {
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    Invalidate();
    AccNotifyState(this, asReadOnly, Value);
}

void TCustomEdit::SetMaxLength(int Value) {
    FMaxLength = std::max(0, Value);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (Value == FCharCase) return;
    FCharCase = Value;
    SetText(FText);
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
    if (Value == FPasswordChar) return;
    FPasswordChar = Value;
    Invalidate();
}

void TCustomEdit::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    if (Value) AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    if (Value != bsNone) Value = bsSingle;
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
    Invalidate();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (Value == FHideSelection) return;
    FHideSelection = Value;
    Invalidate();
}

TRect TCustomEdit::BorderInsets() const {
    if (FBorderStyle == bsNone) return {};
    const int w = Ctl3D() ? 2 : 1;
    return {w, w, w, w};
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
    if (FReadOnly) Params.Style |= ES_READONLY;
    if (FPasswordChar) Params.Style |= ES_PASSWORD;
    if (FCharCase == ecUpperCase)
        Params.Style |= ES_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        Params.Style |= ES_LOWERCASE;
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

// The height follows the font: the text's height plus the frame and margins
// (21 for the default font). It is adjusted when the font's metrics change,
// not when the window is made, so an explicit Height stays.
void TCustomEdit::AdjustHeight() {
    if (!FAutoSize || FBorderStyle != bsSingle) return;
    SetHeight(FontTextHeight() + (Ctl3D() ? 8 : 6));
}

int TCustomEdit::FontTextHeight() {
    HDC dc = GetDC(0);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    return tm.tmHeight;
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
    TWinControl::CMFontChanged(Message);
    const int h = FontTextHeight();
    if (h != FLastFontHeight) {
        FLastFontHeight = h;
        AdjustHeight();
    }
}

// ---------------------------------------------------------------- measuring

String TCustomEdit::DisplayText() const {
    return Shown(0, static_cast<int>(FText.size()));
}

// A password shows one PasswordChar for each character, whatever its length.
String TCustomEdit::Shown(int from, int to) const {
    const std::string_view part =
        std::string_view(FText).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    if (FPasswordChar) {
        const String mask = CharToUtf8(FPasswordChar);
        String shown;
        for (std::size_t n = CharCount(part); n > 0; --n)
            shown += mask;
        return shown;
    }
    return String(part);
}

int TCustomEdit::TextX(int index) {
    const String shown = Shown(0, index);
    HDC dc = GetDC(0);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SIZE size;
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    return TextMarginX - FScrollX + size.cx;
}

TRect TCustomEdit::CaretRect() {
    int x = TextX(FComposition.empty() ? FCaret : FSelStart);
    int height = 0;
    HDC dc = GetDC(0);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    height = tm.tmHeight;
    if (!FComposition.empty()) {
        SIZE size{};
        GetTextExtentPoint32A(dc, FComposition.c_str(), FCompositionCursor, &size);
        x += size.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(0, dc);
    return {x, TextMarginY, x + 1, TextMarginY + height};
}

// The character boundary nearest to x (never inside a character).
int TCustomEdit::CharAtX(int x) {
    const std::size_t len = FText.size();
    int best = 0;
    int bestDistance = std::abs(x - TextX(0));
    for (std::size_t i = NextCharStart(FText, 0); i > 0 && i <= len;) {
        const int d = std::abs(x - TextX(static_cast<int>(i)));
        if (d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
        if (i == len) break;
        i = NextCharStart(FText, i);
    }
    return best;
}

void TCustomEdit::ScrollToCaret() {
    const int width = ClientWidth() - 2 * TextMarginX;
    if (width <= 0) return;
    const int x = TextX(FCaret) + FScrollX - TextMarginX;
    if (x - FScrollX > width) FScrollX = x - width;
    if (x < FScrollX) FScrollX = x;
}

// Ctrl+Left goes to the start of the word before the caret, Ctrl+Right to the
// start of the next word (the end of the text after the last one). Words are
// runs of characters other than blanks, as for a double click. Blanks are
// single bytes, so a word edge always falls between whole characters.
int TCustomEdit::PreviousWordStart(int from) const {
    int i = from;
    while (i > 0 && !IsWordChar(FText[static_cast<std::size_t>(i - 1)]))
        --i;
    while (i > 0 && IsWordChar(FText[static_cast<std::size_t>(i - 1)]))
        --i;
    return i;
}

int TCustomEdit::NextWordStart(int from) const {
    const int len = static_cast<int>(FText.size());
    int i = from;
    while (i < len && IsWordChar(FText[static_cast<std::size_t>(i)]))
        ++i;
    while (i < len && !IsWordChar(FText[static_cast<std::size_t>(i)]))
        ++i;
    return i;
}

// ---------------------------------------------------------------- messages

void TCustomEdit::CMEnter(TMessage& Message) {
    if (FAutoSelect && !ControlState().Contains(csLButtonDown)) SelectAll();
    Invalidate();
    TWinControl::CMEnter(Message);
}

void TCustomEdit::CMExit(TMessage& Message) {
    FComposition.clear();
    Invalidate();
    TWinControl::CMExit(Message);
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
        // The caret shows at once after input, as it does on a desktop.
        ShowCaretNow();
        break;
    default:
        break;
    }
    switch (Message.Msg) {
    case WM_CHAR:
        CharDefault(static_cast<Char>(Message.WParam));
        break;
    case WM_UNDO:
    case EM_UNDO:
        Message.Result = FCanUndo && !FReadOnly;
        UndoDefault();
        break;
    case EM_CANUNDO:
        Message.Result = FCanUndo;
        break;
    case EM_EMPTYUNDOBUFFER:
        FCanUndo = false;
        break;
    case WM_IME_COMPOSITION: {
        const auto* text = reinterpret_cast<const String*>(Message.LParam);
        String composition = text && !FReadOnly ? *text : String();
        const int cursor = static_cast<int>(
            CharStartAt(composition, std::min<std::size_t>(Message.WParam, composition.size())));
        if (composition == FComposition && cursor == FCompositionCursor) break;
        FComposition = std::move(composition);
        FCompositionCursor = cursor;
        ShowCaretNow();
        Invalidate();
        break;
    }
    case WM_KEYDOWN:
        KeyDownDefault(static_cast<Word>(Message.WParam));
        break;
    case WM_COPY:
        if (FSelLength > 0 && !FPasswordChar) Clipboard().SetAsText(SelText());
        break;
    case WM_CUT:
        if (FReadOnly || FSelLength == 0) break;
        if (!FPasswordChar) Clipboard().SetAsText(SelText());
        ReplaceSelection("");
        break;
    case WM_PASTE: {
        if (FReadOnly) break;
        TClipboard& source = Message.WParam == PasteFromPrimary ? PrimarySelection() : Clipboard();
        String s = ApplyCase(FirstLine(source.AsText()), FCharCase);
        if (FMaxLength > 0) {
            // MaxLength counts characters; a paste is cut at a character's end.
            const int room = FMaxLength - static_cast<int>(CharCount(FText) - CharCount(SelText()));
            s.resize(CharOffset(s, static_cast<std::size_t>(std::max(0, room))));
        }
        if (!s.empty() || FSelLength > 0) ReplaceSelection(s);
        break;
    }
    case WM_CLEAR:
        if (!FReadOnly) ClearSelection();
        break;
    case WM_PAINT:
        PaintEdit(reinterpret_cast<HDC>(Message.WParam));
        break;
    case WM_LBUTTONDOWN: {
        const bool extend = (Message.WParam & MK_SHIFT) != 0;
        SetCaret(CharAtX(LoWordSigned(Message.LParam)), extend);
        FSelecting = true;
        break;
    }
    case WM_LBUTTONDBLCLK: {
        // A double click selects the word under the pointer.
        const int at = CharAtX(LoWordSigned(Message.LParam));
        int start = at;
        int end = at;
        while (start > 0 && IsWordChar(FText[static_cast<std::size_t>(start - 1)]))
            --start;
        while (end < static_cast<int>(FText.size()) && IsWordChar(FText[static_cast<std::size_t>(end)]))
            ++end;
        FSelStart = start;
        FSelLength = end - start;
        FCaret = end;
        Invalidate();
        CaretMoved();
        OfferSelection();
        break;
    }
    case WM_MBUTTONDOWN:
        // The middle button pastes the primary selection where it is pressed.
        if (FReadOnly) break;
        SetCaret(CharAtX(LoWordSigned(Message.LParam)), false);
        Perform(WM_PASTE, PasteFromPrimary);
        break;
    case WM_MOUSEMOVE:
        if (FSelecting && (Message.WParam & MK_LBUTTON))
            SetCaret(CharAtX(LoWordSigned(Message.LParam)), true);
        break;
    case WM_LBUTTONUP:
        if (FSelecting) OfferSelection();
        FSelecting = false;
        break;
    default:
        TWinControl::DefaultHandler(Message);
        break;
    }
}

void TCustomEdit::CharDefault(Char c) {
    switch (c) {
    case 3:
        Perform(WM_COPY);
        return;
    case 22:
        Perform(WM_PASTE);
        return;
    case 24:
        Perform(WM_CUT);
        return;
    case 1:
        SelectAll();
        OfferSelection();
        return;
    case 26:
        Perform(WM_UNDO);
        return;
    case CharBackspace:
        if (FReadOnly) return;
        if (FSelLength == 0 && FSelStart > 0) {
            // A character of several UTF-8 bytes goes as one.
            const int start = static_cast<int>(PrevCharStart(FText, static_cast<std::size_t>(FSelStart)));
            FSelLength = FSelStart - start;
            FSelStart = start;
        }
        if (FSelLength > 0) ReplaceSelection("");
        return;
    default:
        break;
    }
    // Control characters, surrogate halves and values beyond Unicode insert nothing.
    if (c < 32 || (c >= 0x7F && c < 0xA0) || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF || FReadOnly)
        return;
    if (FMaxLength > 0 && static_cast<int>(CharCount(FText) - CharCount(SelText())) + 1 > FMaxLength) return;
    ReplaceSelection(ApplyCase(CharToUtf8(c), FCharCase), true);
}

void TCustomEdit::KeyDownDefault(Word key) {
    const TShiftState shift = KeyboardShiftState();
    const bool extend = shift.Contains(ssShift);
    switch (key) {
    case VK_LEFT:
        if (shift.Contains(ssCtrl))
            SetCaret(PreviousWordStart(FCaret), extend);
        else if (!extend && FSelLength > 0)
            SetCaret(FSelStart, false);
        else
            SetCaret(static_cast<int>(PrevCharStart(FText, static_cast<std::size_t>(FCaret))), extend);
        break;
    case VK_RIGHT:
        if (shift.Contains(ssCtrl))
            SetCaret(NextWordStart(FCaret), extend);
        else if (!extend && FSelLength > 0)
            SetCaret(FSelStart + FSelLength, false);
        else
            SetCaret(static_cast<int>(NextCharStart(FText, static_cast<std::size_t>(FCaret))), extend);
        break;
    case VK_HOME:
        SetCaret(0, extend);
        break;
    case VK_END:
        SetCaret(static_cast<int>(FText.size()), extend);
        break;
    case VK_DELETE:
        if (shift.Contains(ssShift)) {
            Perform(WM_CUT);
            break;
        }
        if (FReadOnly) break;
        if (FSelLength == 0 && FSelStart < static_cast<int>(FText.size()))
            FSelLength =
                static_cast<int>(NextCharStart(FText, static_cast<std::size_t>(FSelStart))) - FSelStart;
        if (FSelLength > 0) ReplaceSelection("");
        break;
    case VK_INSERT:
        if (shift.Contains(ssShift))
            Perform(WM_PASTE);
        else if (shift.Contains(ssCtrl))
            Perform(WM_COPY);
        break;
    default:
        break;
    }
    if (extend && (key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END)) OfferSelection();
}

// ---------------------------------------------------------------- caret blink

// A blinking caret: while the edit has the focus and a blink time is set, a
// timer of the loop shows and hides the caret in turn. It starts with the
// first paint that has the focus and stops as soon as the focus is elsewhere.
void TCustomEdit::StartCaretBlink() {
    const UINT period = GetCaretBlinkTime();
    if (FBlinkTimer || period == 0) return;
    FBlinkTimer = MessageQueue().SetTimer(
        [this] {
            if (!Focused()) {
                StopCaretBlink();
                return;
            }
            // The program's windows lost the desktop's activation: the caret
            // stands still, shown, until it comes back.
            if (!GetApplicationActive()) {
                const bool wasHidden = FCaretHidden;
                StopCaretBlink();
                if (wasHidden) Invalidate();
                return;
            }
            FCaretHidden = !FCaretHidden;
            Invalidate();
        },
        period);
}

void TCustomEdit::StopCaretBlink() {
    if (FBlinkTimer) MessageQueue().KillTimer(FBlinkTimer);
    FBlinkTimer = 0;
    FCaretHidden = false;
}

void TCustomEdit::ShowCaretNow() {
    if (!FBlinkTimer) return;
    const bool wasHidden = FCaretHidden;
    StopCaretBlink();
    if (wasHidden) Invalidate();
    StartCaretBlink();
}

// ---------------------------------------------------------------- painting

void TCustomEdit::EraseBackground(HDC) {
    // The edit paints its whole client area itself.
}

void TCustomEdit::PaintNonClient(HDC DC) {
    if (FBorderStyle == bsNone) return;
    const int w = Width();
    const int h = Height();
    if (Ctl3D()) {
        // Sunken: shadow outside top-left, highlight outside bottom-right,
        // dark shadow inside top-left, light inside bottom-right.
        DrawSolidLine(DC, 0, h - 2, 0, 0, clBtnShadow);
        DrawSolidLine(DC, 0, 0, w - 1, 0, clBtnShadow);
        DrawSolidLine(DC, 0, h - 1, w - 1, h - 1, clBtnHighlight);
        DrawSolidLine(DC, w - 1, h - 1, w - 1, -1, clBtnHighlight);
        DrawSolidLine(DC, 1, h - 3, 1, 1, cl3DDkShadow);
        DrawSolidLine(DC, 1, 1, w - 2, 1, cl3DDkShadow);
        DrawSolidLine(DC, 1, h - 2, w - 2, h - 2, cl3DLight);
        DrawSolidLine(DC, w - 2, h - 2, w - 2, 0, cl3DLight);
    } else {
        HBRUSH brush = CreateSolidBrush(ColorToRGB(clWindowFrame));
        const TRect r{0, 0, w, h};
        FrameRect(DC, &r, brush);
        DeleteObject(brush);
    }
}

void TCustomEdit::PaintEdit(HDC DC) {
    if (!DC) return;
    const TRect client = ClientRect();
    HBRUSH back = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(DC, &client, back);
    DeleteObject(back);

    HGDIOBJ oldFont = SelectObject(DC, Font()->Handle());
    SetBkMode(DC, TRANSPARENT);
    const String shown = DisplayText();
    const TColor textColor = Enabled() ? Font()->Color() : clGrayText;
    SetTextColor(DC, ColorToRGB(textColor));
    const int x0 = TextMarginX - FScrollX;
    TRect clip = client;
    const bool focused = Focused();
    TEXTMETRICA tm;
    GetTextMetricsA(DC, &tm);
    if (focused && !FComposition.empty()) {
        // An input method is composing: its text stands in for the selection.
        PaintComposition(DC, x0, FSelStart);
        if (GetApplicationActive()) StartCaretBlink();
        SelectObject(DC, oldFont);
        return;
    }
    ExtTextOutA(DC, x0, TextMarginY, ETO_CLIPPED, &clip, shown.c_str(), static_cast<int>(shown.size()));
    if (FSelLength > 0 && (focused || !FHideSelection)) {
        const int a = TextX(FSelStart);
        const int b = TextX(FSelStart + FSelLength);
        TRect sel{a, TextMarginY, b, TextMarginY + tm.tmHeight};
        IntersectRect(&sel, &sel, &client);
        SetBkMode(DC, OPAQUE);
        SetBkColor(DC, ColorToRGB(clHighlight));
        SetTextColor(DC, ColorToRGB(clHighlightText));
        const String part = Shown(FSelStart, FSelStart + FSelLength);
        ExtTextOutA(DC, a, TextMarginY, ETO_CLIPPED | ETO_OPAQUE, &sel, part.c_str(),
                    static_cast<int>(part.size()));
    }
    if (focused && GetApplicationActive())
        StartCaretBlink();
    else if (FBlinkTimer)
        StopCaretBlink();
    if (focused && FSelLength == 0 && !FCaretHidden) {
        const int x = TextX(FCaret);
        DrawSolidLine(DC, x, TextMarginY, x, TextMarginY + tm.tmHeight, Font()->Color());
    }
    SelectObject(DC, oldFont);
}

// The text with the composition in place of the selection, the composition
// underlined, and the caret where the input method puts it.
void TCustomEdit::PaintComposition(HDC DC, int x0, int at) {
    const auto width = [DC](const String& part) {
        SIZE size{};
        GetTextExtentPoint32A(DC, part.c_str(), static_cast<int>(part.size()), &size);
        return static_cast<int>(size.cx);
    };
    const String before = Shown(0, at);
    const String after = Shown(FSelStart + FSelLength, static_cast<int>(FText.size()));
    const String whole = before + FComposition + after;
    TRect clip = ClientRect();
    ExtTextOutA(DC, x0, TextMarginY, ETO_CLIPPED, &clip, whole.c_str(), static_cast<int>(whole.size()));
    TEXTMETRICA tm;
    GetTextMetricsA(DC, &tm);
    const int left = x0 + width(before);
    const int right = left + width(FComposition);
    const int underline = TextMarginY + tm.tmAscent + 1;
    DrawSolidLine(DC, left, underline, right, underline, Font()->Color());
    if (!FCaretHidden) {
        const int x = left + width(FComposition.substr(0, static_cast<std::size_t>(FCompositionCursor)));
        DrawSolidLine(DC, x, TextMarginY, x, TextMarginY + tm.tmHeight, Font()->Color());
    }
}

} // namespace fw
