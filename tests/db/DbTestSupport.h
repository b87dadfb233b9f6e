#pragma once
// Shared by the data-layer tests: a database file in a fresh temporary
// folder, written and read through a connection of its own (another user,
// as far as the datasets are concerned), and a field data link that records
// what it hears.

#include <filesystem>
#include <framework/db/DataLink.h>
#include <framework/db/DataSource.h>
#include <framework/db/SqliteDataSet.h>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <string>

namespace fw::test {

class TTempDatabase {
public:
    TTempDatabase() {
        char dir[] = "/tmp/qzdbXXXXXX";
        FDir = mkdtemp(dir);
        FFile = FDir + "/test.db";
        Exec("PRAGMA journal_mode = DELETE");
        Exec("PRAGMA synchronous = OFF");
    }
    ~TTempDatabase() {
        Disconnect();
        std::error_code ec;
        std::filesystem::remove_all(FDir, ec);
    }
    const std::string& File() const { return FFile; }
    const std::string& Dir() const { return FDir; }

    // Runs SQL on the other connection; fails the test on an error.
    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(Db(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (error ? error : "?");
            sqlite3_free(error);
        }
    }
    // The first column of the first row as text ("NULL" for null, "" for none).
    std::string Scalar(const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        std::string out;
        if (sqlite3_prepare_v2(Db(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(Db());
            return out;
        }
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            auto* t = sqlite3_column_text(stmt, 0);
            out = t ? reinterpret_cast<const char*>(t) : "NULL";
        }
        sqlite3_finalize(stmt);
        return out;
    }
    sqlite3* Db() {
        if (!FDb) sqlite3_open(FFile.c_str(), &FDb);
        return FDb;
    }
    void Disconnect() {
        if (FDb) sqlite3_close(FDb);
        FDb = nullptr;
    }

    // A table of people: id, name (NOT NULL, UNIQUE), born (DATE), score
    // (REAL, CHECK >= 0), active (BOOLEAN), seen (DATETIME), visits (INTEGER
    // DEFAULT 7), with Rows rows ("p1".."pN").
    void MakePeople(int rows) {
        Exec("CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(20) NOT NULL UNIQUE, born DATE,"
             " score REAL CHECK (score >= 0), active BOOLEAN, seen DATETIME, visits INTEGER DEFAULT 7)");
        Exec("BEGIN");
        for (int i = 1; i <= rows; ++i)
            Exec("INSERT INTO people (name, born, score, active, seen) VALUES ('p" + std::to_string(i) +
                 "', '2026-12-" + (i % 28 + 1 < 10 ? "0" : "") + std::to_string(i % 28 + 1) + "', " +
                 std::to_string(i) + ".5, " + std::to_string(i % 2) + ", '2026-12-07 10:30:00')");
        Exec("COMMIT");
    }

private:
    std::string FDir, FFile;
    sqlite3* FDb = nullptr;
};

// A field data link that records what it hears, as a data-aware control's
// link would.
struct TLinkProbe {
    TFieldDataLink Link;
    int DataChanges = 0;
    int EditingChanges = 0;
    int ActiveChanges = 0;
    int Updates = 0;
    std::string LastText;    // the field's DisplayText at the last data change
    std::string PendingText; // written into the field by OnUpdateData

    TLinkProbe(TDataSource* source, const std::string& field) {
        Link.OnDataChange = [this](TObject*) {
            ++DataChanges;
            LastText = Link.Field() ? Link.Field()->DisplayText() : "";
        };
        Link.OnEditingChange = [this](TObject*) { ++EditingChanges; };
        Link.OnActiveChange = [this](TObject*) { ++ActiveChanges; };
        Link.OnUpdateData = [this](TObject*) {
            ++Updates;
            Link.Field()->SetText(PendingText);
        };
        Link.SetFieldName(field);
        Link.SetDataSource(source);
    }
    // What a control does when the user types: enter edit mode, change its
    // text, mark the link modified.
    bool Type(const std::string& text) {
        if (!Link.Edit()) return false;
        PendingText = text;
        Link.Modified();
        return true;
    }
};

// A dataset on the people table with a data source.
struct TPeople {
    std::unique_ptr<TSQLiteDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    explicit TPeople(const std::string& file, bool open = true) {
        Data = std::make_unique<TSQLiteDataSet>(nullptr);
        Data->SetFileName(file);
        Data->SetTableName("people");
        Data->SetBusyTimeout(0);
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        if (open) Open();
    }
    // Opens without waiting for the disk on each commit (tests only).
    void Open() {
        Data->Open();
        Data->Database().Exec("PRAGMA synchronous = OFF");
    }
    TField* F(const char* name) const { return Data->FieldByName(name); }
};

} // namespace fw::test
