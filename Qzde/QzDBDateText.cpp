// The data-aware date label: a field's value as a date in one of the twelve layouts.

#include <Qzde/QzDateControls.h>
#include <framework/classes/Published.h>
#include <framework/db/DataLink.h>
#include <framework/db/DataSource.h>
#include <framework/db/Field.h>
#include <framework/rtl/DateFormat.h>

namespace qz {

FW_PUBLISH(TQzDBDateText) {
    cls.Enum("Align", &TQzDBDateText::Align, &TQzDBDateText::SetAlign, fw::AlignNames, fw::alNone);
    cls.Enum("Alignment", &TQzDBDateText::Alignment, &TQzDBDateText::SetAlignment, fw::AlignmentNames,
             fw::taLeftJustify);
    cls.Bool("AutoSize", &TQzDBDateText::AutoSize, &TQzDBDateText::SetAutoSize, false);
    // A colour taken from the parent is not the label's own: it is not written.
    cls.Color("Color", &TQzDBDateText::Color, &TQzDBDateText::SetColor, fw::clWindow)
        .StoredIf([](const fw::TObject* o) { return !static_cast<const TQzDBDateText*>(o)->ParentColor(); });
    cls.Str("DataField", &TQzDBDateText::GetDataField, &TQzDBDateText::SetDataField, "");
    cls.Str("DateFormat", &TQzDBDateText::DateFormat, &TQzDBDateText::SetDateFormat);
    cls.Component("DataSource", &TQzDBDateText::GetDataSource, &TQzDBDateText::SetDataSource);
    cls.Int("DragCursor", &TQzDBDateText::DragCursor, &TQzDBDateText::SetDragCursor, fw::crDrag)
        .Idents(fw::CursorIdentKind);
    cls.Enum("DragMode", &TQzDBDateText::DragMode, &TQzDBDateText::SetDragMode, fw::DragModeNames,
             fw::dmManual);
    cls.Bool("Enabled", &TQzDBDateText::Enabled, &TQzDBDateText::SetEnabled, true);
    cls.Object("Font", &TQzDBDateText::Font);
    cls.Bool("ParentColor", &TQzDBDateText::ParentColor, &TQzDBDateText::SetParentColor, true);
    cls.Bool("ParentFont", &TQzDBDateText::ParentFont, &TQzDBDateText::SetParentFont, true);
    cls.Bool("ParentShowHint", &TQzDBDateText::ParentShowHint, &TQzDBDateText::SetParentShowHint, true);
    cls.Component("PopupMenu", &TQzDBDateText::PopupMenu, &TQzDBDateText::SetPopupMenu);
    cls.Bool("Transparent", &TQzDBDateText::Transparent, &TQzDBDateText::SetTransparent, false);
    cls.Bool("ShowHint", &TQzDBDateText::ShowHint, &TQzDBDateText::SetShowHint, false);
    cls.Bool("Visible", &TQzDBDateText::Visible, &TQzDBDateText::SetVisible, true);
    cls.Bool("WordWrap", &TQzDBDateText::WordWrap, &TQzDBDateText::SetWordWrap, false);
    cls.Event("OnClick", &TQzDBDateText::OnClick);
    cls.Event("OnDblClick", &TQzDBDateText::OnDblClick);
    cls.Event("OnDragDrop", &TQzDBDateText::OnDragDrop);
    cls.Event("OnDragOver", &TQzDBDateText::OnDragOver);
    cls.Event("OnEndDrag", &TQzDBDateText::OnEndDrag);
    cls.Event("OnMouseDown", &TQzDBDateText::OnMouseDown);
    cls.Event("OnMouseMove", &TQzDBDateText::OnMouseMove);
    cls.Event("OnMouseUp", &TQzDBDateText::OnMouseUp);
    cls.Event("OnStartDrag", &TQzDBDateText::OnStartDrag);
}

TQzDBDateText::TQzDBDateText(fw::TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle(ControlStyle() + fw::csReplicatable);
    SetAutoSize(false);
    // An ampersand in a field's text is shown as it is.
    SetShowAccelChar(false);
    FDateFormat = "dd/mm/yyyy";
    FDataLink = new fw::TFieldDataLink();
    FDataLink->OnDataChange = [this](fw::TObject* Sender) { DataChange(Sender); };
}

TQzDBDateText::~TQzDBDateText() {
    PrepareDestroy();
    FDataLink->OnDataChange = nullptr;
    delete FDataLink;
    FDataLink = nullptr;
}

void TQzDBDateText::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    // The data source is going: the link lets go of it, also inside a control
    // grid, whose fixed data source it is.
    if (Operation == fw::opRemove && FDataLink) FDataLink->DataSourceFreed(AComponent);
}

void TQzDBDateText::Dispatch(fw::TMessage& Message) {
    if (Message.Msg == fw::CM_GETDATALINK)
        CMGetDataLink(Message);
    else
        inherited::Dispatch(Message);
}

void TQzDBDateText::CMGetDataLink(fw::TMessage& Message) {
    Message.Result = reinterpret_cast<fw::LRESULT>(FDataLink);
}

// ---------------------------------------------------------------- properties

fw::TDataSource* TQzDBDateText::GetDataSource() const {
    return FDataLink->DataSource();
}

void TQzDBDateText::SetDataSource(fw::TDataSource* Value) {
    FDataLink->SetDataSource(Value);
    if (Value) Value->FreeNotification(this);
}

fw::String TQzDBDateText::GetDataField() const {
    return FDataLink->FieldName();
}

void TQzDBDateText::SetDataField(const fw::String& Value) {
    FDataLink->SetFieldName(Value);
}

fw::TField* TQzDBDateText::GetField() const {
    return FDataLink->Field();
}

void TQzDBDateText::SetDateFormat(const fw::String& Value) {
    if (Value == FDateFormat) return;
    fw::String Accepted = AcceptDateFormat(Value);
    if (Accepted.empty()) return;
    FDateFormat = std::move(Accepted);
    // The caption keeps its layout until the next data change; copies repaint.
    Invalidate();
}

void TQzDBDateText::SetAutoSize(bool Value) {
    if (Value == AutoSize()) return;
    // Inside a data-aware control grid every copy has the template's size.
    if (Value && FDataLink && FDataLink->DataSourceFixed()) fw::DatabaseError(fw::SDataSourceFixed);
    inherited::SetAutoSize(Value);
}

// ---------------------------------------------------------------- the text

fw::String TQzDBDateText::GetFieldText() const {
    const fw::TField* F = FDataLink->Field();
    if (!F) return ComponentState().Contains(fw::csDesigning) ? Name() : fw::String();
    // No value is no date: an empty text rather than the day count 0.
    if (F->IsNull()) return fw::String();
    try {
        return fw::FormatDateTime(FDateFormat, F->AsDateTime());
    } catch (const fw::Exception&) {
        // Not a date (a text column holding something else): shown as the field has it.
        return F->DisplayText();
    }
}

void TQzDBDateText::DataChange(fw::TObject*) {
    SetCaption(GetFieldText());
}

fw::String TQzDBDateText::GetLabelText() const {
    if (ControlState().Contains(fw::csPaintCopy)) return GetFieldText();
    return Caption();
}

} // namespace qz
