#pragma once
// Data links: how a control follows a data source.
//
// TDataLink hears every event of its source's dataset and turns it into
// calls of its virtuals (ActiveChanged, DataSetChanged, DataSetScrolled,
// RecordChanged, EditingChanged, UpdateData...). TFieldDataLink binds one
// field by name and reports through events: OnDataChange (the record, the
// field's value, the field or the data source changed), OnEditingChange
// (Editing changed), OnUpdateData (write the control's text now),
// OnActiveChange (the dataset opened or closed).
//
// Editing: Edit asks the data source to put the dataset in edit mode (only
// when the link may modify: not ReadOnly, and for a field link a field that
// may be modified; the source must allow AutoEdit) and returns Editing.
// Modified marks the control's text as changed; UpdateRecord calls
// OnUpdateData when marked and clears the mark; Reset reloads the control
// (OnDataChange) and clears it. The dataset calls UpdateRecord on every link
// before it posts, so a control that still has the focus writes its text.

#include <framework/classes/Object.h>
#include <framework/db/DbTypes.h>

namespace fw {

class TComponent;
class TDataSet;
class TDataSource;
class TField;

class TDataLink : public TPersistent {
    FW_CLASS(TDataLink, TPersistent)

public:
    TDataLink();
    ~TDataLink() override;

    TDataSource* DataSource() const { return FDataSource; }
    // Raises EDatabaseError(SDataSourceFixed) while DataSourceFixed.
    void SetDataSource(TDataSource* Value);
    // For a control's Notification: when Component (being freed) is the data
    // source, lets go of it, also while DataSourceFixed (which stays as it is).
    void DataSourceFreed(const TComponent* Component);
    TDataSet* DataSet() const;
    // Set by the data-aware control grid on the links of the controls it
    // holds: their data source is the grid's and cannot be changed.
    bool DataSourceFixed() const { return FDataSourceFixed; }
    void SetDataSourceFixed(bool Value) { FDataSourceFixed = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // The dataset is open and the source enabled.
    bool Active() const { return FActive; }
    // The dataset is in dsEdit or dsInsert and the link may modify.
    bool Editing() const { return FEditing; }
    // Enters edit mode when allowed; returns Editing.
    virtual bool Edit();
    void UpdateRecord();
    // The number of records the link shows at once, and which of them is
    // the current one (0-based), for controls that show several.
    int BufferCount() const { return FBufferCount; }
    void SetBufferCount(int Value);
    int ActiveRecord() const;
    int RecordCount() const;

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int Distance) { DataSetChanged(); }
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* Field) {}
    virtual void UpdateData() {}
    virtual bool CanModifyLink() const { return !FReadOnly; }
    // Recomputes Editing and calls EditingChanged when it changed.
    void UpdateEditing();

private:
    friend class TDataSource;
    void DataEvent(TDataEvent Event, std::intptr_t Info);
    void UpdateActive();
    void ChangeDataSource(TDataSource* Value);

    TDataSource* FDataSource = nullptr;
    bool FDataSourceFixed = false;
    bool FReadOnly = false;
    bool FActive = false;
    bool FEditing = false;
    bool FUpdating = false;
    int FBufferCount = 1;
};

class TFieldDataLink : public TDataLink {
    FW_CLASS(TFieldDataLink, TDataLink)

public:
    TFieldDataLink() = default;

    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value);
    // The bound field: data source set, field name set, dataset open.
    TField* Field() const { return FField; }
    // The control that owns the link (for the dataset's focus requests).
    TComponent* Control() const { return FControl; }
    void SetControl(TComponent* Value) { FControl = Value; }
    // Not ReadOnly, a field bound, and the field may be modified.
    bool CanModify() const;
    bool Edit() override;
    // Marks the control's text as changed.
    void Modified() { FModified = true; }
    bool IsModified() const { return FModified; }
    // Reloads the control from the field (OnDataChange) and clears the mark.
    void Reset() { RecordChanged(nullptr); }

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;
    bool CanModifyLink() const override { return CanModify(); }

private:
    void UpdateField();
    void SetField(TField* Value);

    String FFieldName;
    TField* FField = nullptr;
    TComponent* FControl = nullptr;
    bool FModified = false;
};

} // namespace fw
