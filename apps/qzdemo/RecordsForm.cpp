#include "RecordsForm.h"

#include "RecordsDatabase.h"

#include <framework/classes/Published.h>
#include <framework/db/Field.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/Exceptions.h>

namespace qzdemo {

namespace {

fw::String NameOf(fw::TObject* Sender) {
    auto* Component = dynamic_cast<fw::TComponent*>(Sender);
    return Component != nullptr ? Component->Name() : fw::String("?");
}

fw::String TextOf(fw::TObject* Sender) {
    auto* Edit = dynamic_cast<qz::TQzDBDateEdit*>(Sender);
    return Edit != nullptr ? "text \"" + Edit->Text() + "\"" : fw::String();
}

const char* StateName(fw::TDataSetState State) {
    switch (State) {
    case fw::dsInactive:
        return "closed";
    case fw::dsBrowse:
        return "browsing";
    case fw::dsEdit:
        return "editing";
    case fw::dsInsert:
        return "inserting";
    }
    return "?";
}

} // namespace

FW_PUBLISH(TfrmQzRecords) {
    cls.Field("tblEvents", &TfrmQzRecords::tblEvents);
    cls.Field("srcEvents", &TfrmQzRecords::srcEvents);
    cls.Field("navEvents", &TfrmQzRecords::navEvents);
    cls.Field("grdEvents", &TfrmQzRecords::grdEvents);
    cls.Field("txtRowHappened", &TfrmQzRecords::txtRowHappened);
    cls.Field("edtHappened", &TfrmQzRecords::edtHappened);
    cls.Field("edtDue", &TfrmQzRecords::edtDue);
    cls.Field("edtReview", &TfrmQzRecords::edtReview);
    cls.Field("txtLogged", &TfrmQzRecords::txtLogged);
    cls.Field("lblRecord", &TfrmQzRecords::lblRecord);
    cls.Field("lblStored", &TfrmQzRecords::lblStored);
    cls.Method("DateEditExit", &TfrmQzRecords::DateEditExit);
    cls.Method("DateEditInvalidDate", &TfrmQzRecords::DateEditInvalidDate);
    cls.Method("DateEditOpenCalendar", &TfrmQzRecords::DateEditOpenCalendar);
    cls.Method("DateEditCloseCalendar", &TfrmQzRecords::DateEditCloseCalendar);
    cls.Method("srcEventsStateChange", &TfrmQzRecords::srcEventsStateChange);
    cls.Method("srcEventsDataChange", &TfrmQzRecords::srcEventsDataChange);
}

TfrmQzRecords::TfrmQzRecords(fw::TComponent* AOwner, const std::filesystem::path& Database)
    : inherited(AOwner), FDatabase(Database) {
    LoadFormResource();
    if (!tblEvents || !srcEvents || !navEvents || !grdEvents || !edtHappened || !edtDue || !edtReview ||
        !lblRecord || !lblStored)
        throw fw::EResourceError("The records form file lacks one of its controls");
    tblEvents->SetFileName(FDatabase.string());
    tblEvents->Open();
    // What the application adds to the columns: the due date centred, the review
    // left-aligned, and a review never before the event.
    tblEvents->FieldByName("due")->SetAlignment(fw::taCenter);
    tblEvents->FieldByName("review")->SetAlignment(fw::taLeftJustify);
    tblEvents->FieldByName("review")->OnValidate = [this](fw::TField* Review) {
        fw::TField* Happened = tblEvents->FieldByName("happened");
        fw::TDateTime When = 0;
        try {
            When = Happened->AsDateTime();
        } catch (const fw::Exception&) {
            return; // no event date to compare with
        }
        if (!Review->IsNull() && !Happened->IsNull() && Review->AsDateTime() < When)
            fw::DatabaseError("A review cannot come before the event (" + Happened->DisplayText() + ")");
    };
    // The controls read the new alignments on the next data change.
    tblEvents->First();
    ShowRecord();
}

TfrmQzRecords::~TfrmQzRecords() {
    PrepareDestroy();
}

void TfrmQzRecords::Log(fw::TObject* Sender, const fw::String& Event, const fw::String& Detail) {
    FEvents.Add({NameOf(Sender), Event, Detail});
}

void TfrmQzRecords::ShowRecord() {
    if (!tblEvents->Active()) return;
    lblRecord->SetCaption("Record " + std::to_string(tblEvents->RecNo()) + " of " +
                          std::to_string(tblEvents->RecordCount()) + ", " + StateName(tblEvents->State()));
}

void TfrmQzRecords::ShowStored(const fw::String& Column) {
    const fw::String Id = tblEvents->FieldByName("id")->AsString();
    lblStored->SetCaption(
        "events.db holds " + Column + " = " +
        StoredValue(FDatabase, "SELECT quote(" + Column + ") FROM events WHERE id = " + Id) + " for record " +
        Id);
}

// ---------------------------------------------------------------- handlers

void TfrmQzRecords::DateEditExit(fw::TObject* Sender) {
    Log(Sender, "OnExit", TextOf(Sender));
}

void TfrmQzRecords::DateEditInvalidDate(fw::TObject* Sender) {
    Log(Sender, "OnInvalidDate", TextOf(Sender));
}

void TfrmQzRecords::DateEditOpenCalendar(fw::TObject* Sender) {
    Log(Sender, "OnOpenCalendar", TextOf(Sender));
}

void TfrmQzRecords::DateEditCloseCalendar(fw::TObject* Sender) {
    Log(Sender, "OnCloseCalendar", TextOf(Sender));
}

void TfrmQzRecords::srcEventsStateChange(fw::TObject* Sender) {
    Log(Sender, "OnStateChange", StateName(tblEvents->State()));
    ShowRecord();
}

void TfrmQzRecords::srcEventsDataChange(fw::TObject*, fw::TField* Field) {
    // A record change (not a field's) moves the status line on.
    if (Field == nullptr) ShowRecord();
}

} // namespace qzdemo
