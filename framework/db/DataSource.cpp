// TDataSource: passes a dataset's events to its links.

#include <algorithm>
#include <framework/classes/Published.h>
#include <framework/db/DataLink.h>
#include <framework/db/DataSet.h>
#include <framework/db/DataSource.h>

namespace fw {

FW_PUBLISH(TDataSource) {
    cls.Bool("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit, true);
    cls.Component("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
    cls.Bool("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled, true);
    cls.Event("OnStateChange", &TDataSource::OnStateChange);
    cls.Event("OnDataChange", &TDataSource::OnDataChange);
    cls.Event("OnUpdateData", &TDataSource::OnUpdateData);
    cls.DesignPosition();
}

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
    auto links = FLinks;
    for (TDataLink* link : links) {
        link->FDataSource = nullptr;
        link->UpdateActive();
    }
    FLinks.clear();
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
    if (Value == FDataSet) return;
    if (FDataSet) {
        FDataSet->RemoveDataSource(this);
        FDataSet->RemoveFreeNotification(this);
        FDataSet = nullptr;
        NotifyState();
    }
    FDataSet = Value;
    if (FDataSet) {
        FDataSet->AddDataSource(this);
        FDataSet->FreeNotification(this);
        NotifyState();
    }
}

void TDataSource::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    NotifyState();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

void TDataSource::NotifyState(bool Relink) {
    const TDataSetState state = FDataSet && FEnabled ? FDataSet->State() : dsInactive;
    if (state == FState && !Relink) return;
    FState = state;
    // A link may leave while it is told: the loop then stays on the index
    // that now holds the next one.
    for (std::size_t i = 0; i < FLinks.size();) {
        TDataLink* link = FLinks[i];
        link->UpdateActive(); // and its editing
        if (i < FLinks.size() && FLinks[i] == link) ++i;
    }
    if (OnStateChange) OnStateChange(this);
}

void TDataSource::Edit() {
    if (FAutoEdit && FState == dsBrowse && FDataSet) FDataSet->Edit();
}

void TDataSource::DataEvent(TDataEvent Event, std::intptr_t Info) {
    if (Event == deUpdateState) return NotifyState();
    if (FState == dsInactive) return;
    if (FLinks.size() == 1) {
        FLinks[0]->DataEvent(Event, Info); // the usual case
    } else {
        // A link may leave while it is told: the loop then stays on the
        // index that now holds the next one.
        for (std::size_t i = 0; i < FLinks.size();) {
            TDataLink* link = FLinks[i];
            link->DataEvent(Event, Info);
            if (i < FLinks.size() && FLinks[i] == link) ++i;
        }
    }
    switch (Event) {
    case deFieldChange:
    case deRecordChange:
        if (OnDataChange) OnDataChange(this, reinterpret_cast<TField*>(Info));
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange) OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData) OnUpdateData(this);
        break;
    default:
        break;
    }
}

void TDataSource::AddLink(TDataLink* Link) {
    FLinks.push_back(Link);
}

void TDataSource::RemoveLink(TDataLink* Link) {
    FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), Link), FLinks.end());
}

} // namespace fw
