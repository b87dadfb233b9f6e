#pragma once
// TDataSource: the go-between of one dataset and the data links of the
// controls that show it. It passes the dataset's events on to its links
// (while Enabled), fires its own OnDataChange / OnStateChange, and lets a
// link enter edit mode when AutoEdit allows.

#include <framework/classes/Component.h>
#include <framework/db/DbTypes.h>
#include <functional>

namespace fw {

class TDataSet;
class TDataLink;
class TField;

using TDataChangeEvent = std::function<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
    FW_CLASS(TDataSource, TComponent)

public:
    explicit TDataSource(TComponent* AOwner);
    ~TDataSource() override;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    // Whether a link's Edit may put a browsing dataset into edit mode.
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool Value) { FAutoEdit = Value; }
    // A disabled source tells its links the dataset is inactive.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // The dataset's state as the links see it (dsInactive without a
    // dataset or while disabled).
    TDataSetState State() const { return FState; }
    // Puts the dataset in edit mode when AutoEdit and browsing.
    void Edit();

    int LinkCount() const { return static_cast<int>(FLinks.size()); }
    TDataLink* Links(int Index) const { return FLinks.at(static_cast<std::size_t>(Index)); }

    TDataChangeEvent OnDataChange; // the record or a field's value changed (Field null: the record)
    TNotifyEvent OnStateChange;
    TNotifyEvent OnUpdateData; // the dataset is about to post

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TDataSet;
    friend class TDataLink;

    void DataEvent(TDataEvent Event, std::intptr_t Info);
    // Follows the dataset's state; tells the links when it changed (always
    // with Relink).
    void NotifyState(bool Relink = false);
    void AddLink(TDataLink* Link);
    void RemoveLink(TDataLink* Link);

    TDataSet* FDataSet = nullptr;
    bool FAutoEdit = true;
    bool FEnabled = true;
    TDataSetState FState = dsInactive;
    std::vector<TDataLink*> FLinks;
};

} // namespace fw
