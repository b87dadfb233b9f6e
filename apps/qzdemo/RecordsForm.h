#pragma once
// The demo's second form TfrmQzRecords, "Records": the data-aware date controls
// over an SQLite file of events. A navigator moves through the records, a
// control grid shows several of them at once with a data-aware date label per
// row, and data-aware date edits edit the current record's date columns.
//
// Made from its form file (the resource "TFRMQZRECORDS" of the demo's resource
// module); the constructor points the dataset at the database file and opens it.
// The form's own code adds two things a real application would: the "due"
// column is shown centred, and the "happened" column refuses dates before 1900.

#include "EventLog.h"

#include <Qzde/QzDateControls.h>
#include <filesystem>
#include <framework/controls/Label.h>
#include <framework/db/DBCtrlGrid.h>
#include <framework/db/DBNavigator.h>
#include <framework/db/DataSource.h>
#include <framework/db/SqliteDataSet.h>
#include <framework/forms/Form.h>

namespace qzdemo {

class TfrmQzRecords : public fw::TForm {
    FW_CLASS(TfrmQzRecords, fw::TForm)

public:
    // Loads the form resource and opens the table "events" of Database, or of the
    // PostgreSQL server that the connection string Server names (tblEvents then
    // stays closed and the data source shows the server's dataset).
    TfrmQzRecords(fw::TComponent* AOwner, const std::filesystem::path& Database,
                  const fw::String& Server = "");
    ~TfrmQzRecords() override;

    // ---- published fields, filled by the form file
    fw::TSQLiteDataSet* tblEvents = nullptr;
    fw::TDataSource* srcEvents = nullptr;
    fw::TDBNavigator* navEvents = nullptr;
    fw::TDBCtrlGrid* grdEvents = nullptr;
    qz::TQzDBDateText* txtRowHappened = nullptr;
    qz::TQzDBDateEdit* edtHappened = nullptr;
    qz::TQzDBDateEdit* edtDue = nullptr;
    qz::TQzDBDateEdit* edtReview = nullptr;
    qz::TQzDBDateText* txtLogged = nullptr;
    fw::TLabel* lblRecord = nullptr;
    fw::TLabel* lblStored = nullptr;

    // ---- published handlers, bound by the form file
    void DateEditExit(fw::TObject* Sender);
    void DateEditInvalidDate(fw::TObject* Sender);
    void DateEditOpenCalendar(fw::TObject* Sender);
    void DateEditCloseCalendar(fw::TObject* Sender);
    void srcEventsStateChange(fw::TObject* Sender);
    void srcEventsDataChange(fw::TObject* Sender, fw::TField* Field);

    const TEventLog& Events() const { return FEvents; }
    const std::filesystem::path& Database() const { return FDatabase; }
    const fw::String& Server() const { return FServer; }
    // The dataset the controls show: tblEvents, or the server's.
    fw::TDataSet* EventsSet() const { return FEventsSet; }
    // What the file or the server holds for a column of the current record, read
    // through a connection of its own, quoted ('2026-12-07', NULL).
    fw::String Stored(const fw::String& Column) const;

    // Shows under the grid what the file holds for a column of the current
    // record, read through a connection of its own.
    void ShowStored(const fw::String& Column);

private:
    void ShowRecord();

    std::filesystem::path FDatabase;
    fw::String FServer;
    fw::TDataSet* FEventsSet = nullptr;
    TEventLog FEvents;
};

} // namespace qzdemo
