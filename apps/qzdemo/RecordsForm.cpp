#include "RecordsForm.h"

#include "RecordsDatabase.h"
#include "RecordsServer.h"

#include <framework/classes/Published.h>
#include <framework/db/Field.h>
#include <framework/rtl/DateFormat.h>
#include <framework/rtl/Exceptions.h>

namespace qzdemo {

namespace {

fw::String TextOf(fw::TObject* Sender) {
    auto* Edit = dynamic_cast<qz::TQzDBDateEdit*>(Sender);
    return Edit != nullptr ? TextDetail(Edit->Text()) : fw::String();
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

TfrmQzRecords::TfrmQzRecords(fw::TComponent* AOwner, const std::filesystem::path& Database,
                             const fw::String& Server)
    : inherited(AOwner), FDatabase(Database), FServer(Server) {
    LoadFormResource();
    if (!tblEvents || !srcEvents || !navEvents || !grdEvents || !edtHappened || !edtDue || !edtReview ||
        !lblRecord || !lblStored)
        throw fw::EResourceError("The records form file lacks one of its controls");
    if (FServer.empty()) {
        tblEvents->SetFileName(FDatabase.string());
        FEventsSet = tblEvents;
    } else {
#ifdef QZ_HAVE_PG
        // The same form over the server's table: the data source takes the other dataset.
        FEventsSet = MakeServerEvents(this, FServer);
        srcEvents->SetDataSet(FEventsSet);
        if (auto* Title = dynamic_cast<fw::TLabel*>(FindComponent("lblTitle")))
            Title->SetCaption("Events on the server");
#else
        throw fw::EDatabaseError("This program was built without PostgreSQL support");
#endif
    }
    FEventsSet->Open();
    // What the application adds to the columns: the due date centred, the review
    // left-aligned, and a review never before the event.
    FEventsSet->FieldByName("due")->SetAlignment(fw::taCenter);
    FEventsSet->FieldByName("review")->SetAlignment(fw::taLeftJustify);
    FEventsSet->FieldByName("review")->OnValidate = [this](fw::TField* Review) {
        fw::TField* Happened = FEventsSet->FieldByName("happened");
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
    FEventsSet->First();
    ShowRecord();
}

TfrmQzRecords::~TfrmQzRecords() {
    PrepareDestroy();
}

void TfrmQzRecords::ShowRecord() {
    if (!FEventsSet->Active()) return;
    lblRecord->SetCaption("Record " + std::to_string(FEventsSet->RecNo()) + " of " +
                          std::to_string(FEventsSet->RecordCount()) + ", " + StateName(FEventsSet->State()));
}

fw::String TfrmQzRecords::Stored(const fw::String& Column) const {
    const fw::String Id = FEventsSet->FieldByName("id")->AsString();
#ifdef QZ_HAVE_PG
    if (!FServer.empty())
        return ServerStoredValue(FServer,
                                 "SELECT quote_nullable(" + Column + "::text) FROM events WHERE id = " + Id);
#endif
    return StoredValue(FDatabase, "SELECT quote(" + Column + ") FROM events WHERE id = " + Id);
}

void TfrmQzRecords::ShowStored(const fw::String& Column) {
    const fw::String Id = FEventsSet->FieldByName("id")->AsString();
    lblStored->SetCaption((FServer.empty() ? "events.db" : "the server") + fw::String(" holds ") + Column +
                          " = " + Stored(Column) + " for record " + Id);
}

// ---------------------------------------------------------------- handlers

void TfrmQzRecords::DateEditExit(fw::TObject* Sender) {
    FEvents.Add(Sender, "OnExit", TextOf(Sender));
}

void TfrmQzRecords::DateEditInvalidDate(fw::TObject* Sender) {
    FEvents.Add(Sender, "OnInvalidDate", TextOf(Sender));
}

void TfrmQzRecords::DateEditOpenCalendar(fw::TObject* Sender) {
    FEvents.Add(Sender, "OnOpenCalendar", TextOf(Sender));
}

void TfrmQzRecords::DateEditCloseCalendar(fw::TObject* Sender) {
    FEvents.Add(Sender, "OnCloseCalendar", TextOf(Sender));
}

void TfrmQzRecords::srcEventsStateChange(fw::TObject* Sender) {
    FEvents.Add(Sender, "OnStateChange", StateName(FEventsSet->State()));
    ShowRecord();
}

void TfrmQzRecords::srcEventsDataChange(fw::TObject*, fw::TField* Field) {
    // A record change (not a field's) moves the status line on.
    if (Field == nullptr) ShowRecord();
}

} // namespace qzdemo
