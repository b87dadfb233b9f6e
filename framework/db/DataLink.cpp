// TDataLink and TFieldDataLink.

#include <framework/classes/Published.h>
#include <framework/db/DataLink.h>
#include <framework/db/DataSet.h>
#include <framework/db/DataSource.h>

namespace fw {

FW_PUBLISH(TDataLink) {}
FW_PUBLISH(TFieldDataLink) {}

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
    FDataSourceFixed = false;
    SetDataSource(nullptr);
}

TDataSet* TDataLink::DataSet() const {
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

void TDataLink::SetDataSource(TDataSource* Value) {
    if (Value == FDataSource) return;
    if (FDataSourceFixed) DatabaseError(SDataSourceFixed);
    ChangeDataSource(Value);
}

void TDataLink::DataSourceFreed(const TComponent* Component) {
    if (Component != nullptr && FDataSource != nullptr && Component == FDataSource) ChangeDataSource(nullptr);
}

void TDataLink::ChangeDataSource(TDataSource* Value) {
    if (FDataSource) {
        FDataSource->RemoveLink(this);
        FDataSource = nullptr;
        UpdateActive();
    }
    FDataSource = Value;
    if (FDataSource) {
        FDataSource->AddLink(this);
        UpdateActive();
    }
}

void TDataLink::SetReadOnly(bool Value) {
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    UpdateEditing();
}

void TDataLink::UpdateActive() {
    const bool active = FDataSource && FDataSource->State() != dsInactive;
    if (active != FActive) {
        FActive = active;
        ActiveChanged();
    }
    UpdateEditing();
}

void TDataLink::UpdateEditing() {
    const TDataSetState state = FDataSource ? FDataSource->State() : dsInactive;
    const bool editing = FActive && (state == dsEdit || state == dsInsert) && CanModifyLink();
    if (editing == FEditing) return;
    FEditing = editing;
    EditingChanged();
}

bool TDataLink::Edit() {
    if (!FReadOnly && FDataSource) FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord() {
    struct Guard {
        bool& Flag;
        ~Guard() { Flag = false; }
    } guard{FUpdating};
    FUpdating = true;
    UpdateData();
}

void TDataLink::SetBufferCount(int Value) {
    FBufferCount = Value < 1 ? 1 : Value;
}

int TDataLink::ActiveRecord() const {
    TDataSet* ds = DataSet();
    return ds && ds->Active() && ds->RecNo() > 0 ? 0 : 0;
}

int TDataLink::RecordCount() const {
    TDataSet* ds = DataSet();
    return ds && FActive ? ds->RecordCount() : 0;
}

void TDataLink::DataEvent(TDataEvent Event, std::intptr_t Info) {
    switch (Event) {
    case deFieldChange:
    case deRecordChange:
        if (!FUpdating) RecordChanged(reinterpret_cast<TField*>(Info));
        break;
    case deDataSetChange:
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled(static_cast<int>(Info));
        break;
    case deLayoutChange:
        LayoutChanged();
        break;
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- field links

void TFieldDataLink::SetFieldName(const String& Value) {
    if (Value == FFieldName) return;
    FFieldName = Value;
    UpdateField();
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && FField && FField->CanModify();
}

bool TFieldDataLink::Edit() {
    if (CanModify()) TDataLink::Edit();
    return Editing();
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

// A field name the dataset does not have binds nothing (no error): the
// control shows no data until the name or the dataset is corrected.
void TFieldDataLink::UpdateField() {
    TDataSet* ds = DataSet();
    SetField(Active() && ds && !FFieldName.empty() ? ds->FindField(FFieldName) : nullptr);
}

void TFieldDataLink::SetField(TField* Value) {
    if (Value == FField) return;
    FField = Value;
    UpdateEditing();
    RecordChanged(nullptr);
}

void TFieldDataLink::EditingChanged() {
    if (OnEditingChange) OnEditingChange(this);
}

void TFieldDataLink::RecordChanged(TField* Field) {
    if (Field && Field != FField) return;
    if (OnDataChange) OnDataChange(this);
    FModified = false;
}

void TFieldDataLink::UpdateData() {
    if (!FModified) return;
    if (FField && OnUpdateData) OnUpdateData(this);
    FModified = false;
}

} // namespace fw
