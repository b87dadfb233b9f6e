// The data-aware date controls on SQLite files made for the run:
// - a data-aware date edit following a scroll step (its DataChange) against the
//   plain date edit's SetDate, with the bare scroll step beside it to show the
//   dataset's own share;
// - scrolling a 1,000,000-row table through a data-aware control grid of 10 rows
//   painting a data-aware date label per row, against a raw sqlite3_step scan of
//   the same column.

#include <Qzde/QzDateControls.h>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/Label.h>
#include <framework/db/DBCtrlGrid.h>
#include <framework/db/DataSource.h>
#include <framework/db/SqliteApi.h>
#include <framework/db/SqliteDataSet.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <functional>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A database file made once per program run in a folder of its own (Folder and
// the process id) under the temporary directory, filled by Fill, and removed
// with its folder at exit.
class TBenchDatabase {
public:
    TBenchDatabase(const std::string& Folder, const std::string& Name,
                   const std::function<void(fw::TSqliteDatabase&)>& Fill) {
        FDir = fs::temp_directory_path() / (Folder + "-" + std::to_string(::getpid()));
        fs::create_directories(FDir);
        FFile = FDir / Name;
        fw::TSqliteDatabase Db;
        Db.Open(FFile.string(), false, true, 1000);
        Fill(Db);
    }
    ~TBenchDatabase() {
        std::error_code Error;
        fs::remove_all(FDir, Error);
    }
    const fs::path& File() const { return FFile; }

private:
    fs::path FDir;
    fs::path FFile;
};

// A dataset and a data source over the table "events" of File.
struct TOpenTable {
    explicit TOpenTable(const fs::path& File) {
        DataSet->SetFileName(File.string());
        DataSet->SetTableName("events");
        Source->SetDataSet(DataSet.get());
        DataSet->Open();
    }
    std::unique_ptr<fw::TSQLiteDataSet> DataSet = std::make_unique<fw::TSQLiteDataSet>(nullptr);
    std::unique_ptr<fw::TDataSource> Source = std::make_unique<fw::TDataSource>(nullptr);
};

// ---------------------------------------------------------------- a scroll step

// Rows dated rows, inserted one by one.
void InsertDatedRows(fw::TSqliteDatabase& Db, int Rows) {
    Db.Exec("CREATE TABLE events(id INTEGER PRIMARY KEY, title TEXT(20), happened DATE)");
    Db.Exec("BEGIN");
    fw::TSqliteStatement Insert = Db.Prepare("INSERT INTO events VALUES(?, ?, ?)");
    for (int I = 1; I <= Rows; ++I) {
        fw::Word Y = 0, M = 0, D = 0;
        fw::DecodeDate(fw::EncodeDate(2000, 1, 1) + I % 10000, Y, M, D);
        char Iso[32];
        std::snprintf(Iso, sizeof Iso, "%04d-%02d-%02d", Y, M, D);
        Insert.BindInt64(1, I);
        Insert.Bind(2, fw::String("Event ") + std::to_string(I));
        Insert.Bind(3, fw::String(Iso));
        Insert.Step();
        Insert.Reset();
    }
    Db.Exec("COMMIT");
}

const TBenchDatabase& SmallTable() {
    static const TBenchDatabase Db("qz-bench-dbdate", "rows2.db",
                                   [](fw::TSqliteDatabase& Db) { InsertDatedRows(Db, 2); });
    return Db;
}

void BM_Reference_DateEditSetDate(benchmark::State& State) {
    qz::TQzDateEdit Edit(nullptr);
    const fw::TDateTime Dates[2] = {fw::EncodeDate(2000, 1, 2), fw::EncodeDate(2000, 1, 3)};
    std::size_t I = 0;
    for (auto _ : State) {
        Edit.SetDate(Dates[I++ & 1]);
        benchmark::DoNotOptimize(Edit.Text().data());
    }
}
BENCHMARK(BM_Reference_DateEditSetDate);

// Alternates between the two rows of a table whose rows stay cached, so the step
// is the dataset's bookkeeping plus what the bound controls do.
void RunScrollSteps(benchmark::State& State, bool Bound) {
    fw::TFormatSettingsGuard Settings;
    fw::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    TOpenTable Table(SmallTable().File());
    qz::TQzDBDateEdit Edit(nullptr);
    if (Bound) {
        Edit.SetDataSource(Table.Source.get());
        Edit.SetDataField("happened");
    }
    std::size_t I = 0;
    for (auto _ : State) {
        if (I++ & 1)
            Table.DataSet->Prior();
        else
            Table.DataSet->Next();
        benchmark::DoNotOptimize(Edit.Text().data());
    }
    State.SetLabel("ref=BM_Reference_DateEditSetDate");
}

void BM_DBDateEdit_ScrollStep(benchmark::State& State) {
    RunScrollSteps(State, true);
}
BENCHMARK(BM_DBDateEdit_ScrollStep);

void BM_DataSet_ScrollStepUnbound(benchmark::State& State) {
    RunScrollSteps(State, false);
}
BENCHMARK(BM_DataSet_ScrollStepUnbound);

// ---------------------------------------------------------------- a million rows

// Made with one statement: a million events, their dates running over 10,000 days.
const TBenchDatabase& Million() {
    static const TBenchDatabase Db("qz-bench-dbdate-million", "million.db", [](fw::TSqliteDatabase& Db) {
        Db.Exec(
            "CREATE TABLE events(id INTEGER PRIMARY KEY, title TEXT(20), happened DATE);"
            "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000)"
            " INSERT INTO events SELECT x, 'Event ' || x, date('2000-01-01', '+' || (x % 10000) || ' days')"
            " FROM c;");
    });
    return Db;
}

// One row of a raw scan of the date column per iteration, as the data layer's
// benchmark scans it, starting over at the end.
void BM_Reference_RawScanRow(benchmark::State& State) {
    sqlite3* Db = nullptr;
    sqlite3_open_v2(Million().File().c_str(), &Db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* Stmt = nullptr;
    sqlite3_prepare_v2(Db, "SELECT happened FROM events ORDER BY rowid", -1, &Stmt, nullptr);
    std::size_t Bytes = 0;
    for (auto _ : State) {
        if (sqlite3_step(Stmt) != SQLITE_ROW) {
            sqlite3_reset(Stmt);
            sqlite3_step(Stmt);
        }
        Bytes += static_cast<std::size_t>(sqlite3_column_bytes(Stmt, 0));
    }
    benchmark::DoNotOptimize(Bytes);
    State.SetItemsProcessed(State.iterations());
    sqlite3_finalize(Stmt);
    sqlite3_close(Db);
}
BENCHMARK(BM_Reference_RawScanRow);

// One scroll step of a data-aware control grid of 10 rows over the million-row
// table: the next record becomes current (the grid scrolls by one row once the
// current record reached its bottom row), then the grid is painted at once, each
// row with a copy of a date label and of a plain label.
void BM_DBCtrlGrid_ScrollStep(benchmark::State& State) {
    fw::TFormatSettingsGuard Settings;
    fw::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    fw::Screen->SetSize(1024, 768);
    TOpenTable Table(Million().File());
    fw::TForm Form(nullptr);
    Form.SetBounds(0, 0, 260, 10 * 20 + 40);
    auto* Grid = new fw::TDBCtrlGrid(&Form);
    Grid->SetParent(&Form);
    Grid->SetBounds(0, 0, 240, 10 * 20);
    Grid->SetPanelHeight(20);
    Grid->SetRowCount(10);
    auto* Caption = new fw::TLabel(&Form);
    Caption->SetParent(Grid->Panel());
    Caption->SetBounds(4, 3, 60, 13);
    Caption->SetCaption("Happened");
    auto* Date = new qz::TQzDBDateText(&Form);
    Date->SetParent(Grid->Panel());
    Date->SetBounds(70, 3, 160, 13);
    Date->SetDataField("happened");
    Grid->SetDataSource(Table.Source.get());
    Form.Show();
    fw::Ui::Pump();
    for (auto _ : State) {
        Table.DataSet->Next();
        if (Table.DataSet->Eof()) Table.DataSet->First();
        Grid->Repaint();
        benchmark::DoNotOptimize(Grid->CopiesPainted());
    }
    State.SetItemsProcessed(State.iterations());
    State.SetLabel("ref=BM_Reference_RawScanRow");
}
BENCHMARK(BM_DBCtrlGrid_ScrollStep);

} // namespace

BENCHMARK_MAIN();
