// The data-aware date edit: binding, the field-to-text and text-to-field paths, the
// key tables, the clipboard, focus and exit handling, and the calendar.

#include <Qzde/QzDateControls.h>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/controls/ControlCanvas.h>
#include <framework/db/DataLink.h>
#include <framework/db/DataSource.h>
#include <framework/db/Field.h>
#include <framework/forms/Form.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/FormatSettings.h>

namespace qz {

namespace {

// The characters that ask the dataset to enter edit mode: the clipboard keys,
// undo, Backspace, "/" and the digits.
bool IsEditCharacter(fw::Char Key) {
    return Key == fw::CtrlC || Key == fw::CharBackspace || Key == fw::CtrlV || Key == fw::CtrlX ||
           Key == fw::CtrlZ || (Key >= '/' && Key <= '9');
}

void Beep() {
    fw::MessageBeep(fw::MB_OK);
}

} // namespace

FW_PUBLISH(TQzDBDateEdit) {
    // The link's switch replaces the edit's own read-only property in its place.
    cls.Bool("ReadOnly", &TQzDBDateEdit::GetReadOnly, &TQzDBDateEdit::SetReadOnly, false);
    // The text comes from the field: a form file does not keep it.
    cls.Redeclare("Text").NotStored();
    cls.Component("DataSource", &TQzDBDateEdit::GetDataSource, &TQzDBDateEdit::SetDataSource);
    cls.Str("DataField", &TQzDBDateEdit::GetDataField, &TQzDBDateEdit::SetDataField, "");
}

TQzDBDateEdit::TQzDBDateEdit(fw::TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle(ControlStyle() + fw::csReplicatable);
    // The user can change the text only while the link is editing.
    inherited::SetReadOnly(true);
    FDataLink = new fw::TFieldDataLink();
    FDataLink->SetControl(this);
    FDataLink->OnDataChange = [this](fw::TObject* Sender) { DataChange(Sender); };
    FDataLink->OnEditingChange = [this](fw::TObject* Sender) { EditingChange(Sender); };
    FDataLink->OnUpdateData = [this](fw::TObject* Sender) { UpdateData(Sender); };
    CalcTextMargin();
}

TQzDBDateEdit::~TQzDBDateEdit() {
    // Children and partners go while this object is still whole.
    PrepareDestroy();
    // The link may report its last changes while it detaches: nobody listens now.
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnEditingChange = nullptr;
    FDataLink->OnUpdateData = nullptr;
    delete FDataLink;
    FDataLink = nullptr;
    delete FCanvas;
    FCanvas = nullptr;
}

void TQzDBDateEdit::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    // The data source is going: the link lets go of it, also inside a control
    // grid, whose fixed data source it is.
    if (Operation == fw::opRemove && FDataLink) FDataLink->DataSourceFreed(AComponent);
}

void TQzDBDateEdit::Dispatch(fw::TMessage& Message) {
    switch (Message.Msg) {
    case fw::WM_CUT:
        WMCut(Message);
        break;
    case fw::WM_PASTE:
        WMPaste(Message);
        break;
    case fw::WM_UNDO:
    case fw::EM_UNDO:
        // Undo changes the text as typing does: the dataset enters edit mode.
        if (CanUndo() && AllowKeyEntry()) (void)FDataLink->Edit();
        inherited::Dispatch(Message);
        break;
    default:
        inherited::Dispatch(Message);
        break;
    }
}

// ---------------------------------------------------------------- the link

fw::TDataSource* TQzDBDateEdit::GetDataSource() const {
    return FDataLink->DataSource();
}

void TQzDBDateEdit::SetDataSource(fw::TDataSource* Value) {
    FDataLink->SetDataSource(Value);
    // Wherever the data source is owned, its end reaches Notification.
    if (Value) Value->FreeNotification(this);
}

fw::String TQzDBDateEdit::GetDataField() const {
    return FDataLink->FieldName();
}

void TQzDBDateEdit::SetDataField(const fw::String& Value) {
    FDataLink->SetFieldName(Value);
}

bool TQzDBDateEdit::GetReadOnly() const {
    return FDataLink->ReadOnly();
}

void TQzDBDateEdit::SetReadOnly(bool Value) {
    FDataLink->SetReadOnly(Value);
}

fw::TField* TQzDBDateEdit::GetField() const {
    return FDataLink->Field();
}

void TQzDBDateEdit::Reset() {
    FDataLink->Reset();
    SelectAll();
}

bool TQzDBDateEdit::EditCanModify() {
    return FDataLink->Edit();
}

bool TQzDBDateEdit::StartEdit() {
    return FDataLink->Edit();
}

// ---------------------------------------------------------------- field to text

void TQzDBDateEdit::DataChange(fw::TObject*) {
    fw::TField* F = FDataLink->Field();
    if (!F) {
        FAlignment = fw::taLeftJustify;
        SetMaxLength(0);
        SetText(ComponentState().Contains(fw::csDesigning) ? Name() : fw::String());
        return;
    }
    if (F->Alignment() != FAlignment) {
        // The old text must not flash in the other alignment.
        SetText("");
        FAlignment = F->Alignment();
    }
    SetMaxLength(F->DataType() == fw::ftString ? F->Size() : 0);
    fw::String S = FFocused && FDataLink->CanModify() ? F->Text() : F->DisplayText();
    // A two-digit year in the field's text is shown expanded, as the exit check
    // would expand it; while editing in the edit's own layout the text is kept.
    if (!(FDataLink->Editing() && fw::FormatSettings.ShortDateFormat == DateFormat())) (void)IsValidDate(S);
    SetText(S);
}

void TQzDBDateEdit::EditingChange(fw::TObject*) {
    inherited::SetReadOnly(!FDataLink->Editing());
}

// ---------------------------------------------------------------- text to field

void TQzDBDateEdit::UpdateData(fw::TObject*) {
    if (FDataLink->Editing()) FDataLink->Field()->SetText(Text());
}

void TQzDBDateEdit::Change() {
    FDataLink->Modified();
    inherited::Change();
}

// ---------------------------------------------------------------- keys and clipboard

void TQzDBDateEdit::KeyDown(fw::Word& Key, fw::TShiftState Shift) {
    inherited::KeyDown(Key, Shift);
    if (Key == fw::VK_DELETE || (Key == fw::VK_INSERT && Shift.Contains(fw::ssShift)))
        (void)FDataLink->Edit();
}

void TQzDBDateEdit::KeyPress(fw::Char& Key) {
    // The date edit's filter runs first and may already have beeped and dropped
    // the key; a dropped key (0) then beeps once more here.
    inherited::KeyPress(Key);
    if (IsEditCharacter(Key)) {
        fw::TField* F = FDataLink->Field();
        if (F && !F->IsValidChar(Key)) {
            Beep();
            Key = 0;
            return;
        }
        (void)FDataLink->Edit();
        return;
    }
    // Selecting everything changes nothing.
    if (Key == fw::CtrlA) return;
    if (Key == fw::CharEscape) {
        // Reloads the field's value; the dataset stays in its edit state.
        FDataLink->Reset();
        SelectAll();
        Key = 0;
        return;
    }
    Beep();
    Key = 0;
}

void TQzDBDateEdit::WMCut(fw::TMessage& Message) {
    // Without typing no clipboard path changes the text (as in the plain edit).
    if (!AllowKeyEntry()) return;
    (void)FDataLink->Edit();
    DefaultHandler(Message);
}

void TQzDBDateEdit::WMPaste(fw::TMessage& Message) {
    if (!AllowKeyEntry()) return;
    (void)FDataLink->Edit();
    DefaultHandler(Message);
}

// ---------------------------------------------------------------- focus

void TQzDBDateEdit::SetFocused(bool Value) {
    if (FFocused == Value) return;
    FFocused = Value;
    // The painting switches between the platform edit's and the aligned one.
    if (FAlignment != fw::taLeftJustify) Invalidate();
    FDataLink->Reset();
}

void TQzDBDateEdit::CMEnter(fw::TMessage& Message) {
    SetFocused(true);
    inherited::CMEnter(Message);
}

void TQzDBDateEdit::CMExit(fw::TMessage&) {
    if (!FDataLink->CanModify()) {
        // The text cannot be changed here, so there is nothing to check or write:
        // the focus goes, even over a stored text that is no date (kept, it
        // would hold the form for ever).
        fw::TEdit::DoExit();
        SetFocused(false);
        fw::SetCursor(nullptr);
        return;
    }
    // Whether the user changed the text since it was loaded: the exit check's
    // normalising alone is no change, and an untouched field is never rewritten.
    const bool Touched = FDataLink->IsModified();
    // The date edit's exit check: OnExit, then the text is normalised or reported.
    DoExit();
    if (!FDateValid) return;
    try {
        if (Touched) FDataLink->UpdateRecord();
    } catch (const fw::ELoopError&) {
        throw; // not a refusal: it ends the loop it happened in
    } catch (const fw::Exception& E) {
        // The field refused the text: it is reported like an invalid date, and
        // the user's text stays (selected, focused) until it is corrected or
        // Escape reloads the field's value.
        SelectAll();
        if (CanFocus()) SetFocus();
        if (OnInvalidDate) OnInvalidDate(this);
        ReportRefusal([&] { ShowMessageText(E.Message()); });
        return;
    }
    SetFocused(false);
    fw::SetCursor(nullptr);
}

// ---------------------------------------------------------------- the calendar

bool TQzDBDateEdit::OpenCalendar() {
    // A handler, or a timer while the popup is open, may free the edit.
    fw::TComponentRef<TQzDBDateEdit> Self(this);
    if (OnOpenCalendar) OnOpenCalendar(this);
    if (!Self) return false;
    // A date picked while the link cannot edit would look accepted and then be
    // lost on leaving: the popup does not open at all.
    if (!StartEdit()) {
        Beep();
        return false;
    }
    const bool Result = RunCalendarPopup();
    if (!Self) return false;
    if (CanFocus()) SetFocus();
    if (Self && OnCloseCalendar) OnCloseCalendar(this);
    return Result;
}

} // namespace qz
