#pragma once
// TSQLiteDataSet: a dataset over a table or a SELECT of an SQLite database
// file.
//
// A table is opened by keeping only its row keys (rowids, in rowid order);
// the values are fetched a page at a time as records are visited, so a
// million-row table opens quickly and stays small. Its records can be
// edited, inserted and deleted: Post writes one prepared UPDATE or INSERT,
// Delete one DELETE, each inside its own transaction unless the
// application opened one (StartTransaction). An UPDATE or DELETE only
// touches the row when it still holds the values read, so a row changed or
// deleted by another connection raises SRecordChanged instead of being
// overwritten. (While no other connection has committed anything since the
// rows were read, the key alone is enough and the values are not compared.) A SELECT (SQL) is read whole and
// is read-only, as is a table without rowids. Rows are found by "rowid", or
// by "_rowid_" or "oid" when the table has a column of that name; a table
// whose columns take all three is found by its INTEGER PRIMARY KEY, or is
// read-only (ReadOnlyReason says why).
//
// Column types map to field kinds by their declared type: "DATETIME" or
// "TIMESTAMP" date-time, "DATE" date, "BOOL" Boolean, "INT" integer,
// "CHAR"/"CLOB"/"TEXT" string (its size from "(n)"), "REAL"/"FLOA"/"DOUB"/
// "NUMERIC"/"DECIMAL" float, anything else string. Dates are stored as
// 'YYYY-MM-DD' text and date-times as 'YYYY-MM-DD HH:MM:SS'.

#include <framework/db/SqlDataSet.h>
#include <framework/db/SqliteApi.h>
#include <map>

namespace fw {

class TSQLiteDataSet : public TSqlDataSet {
    FW_CLASS(TSQLiteDataSet, TSqlDataSet)

public:
    explicit TSQLiteDataSet(TComponent* AOwner);
    ~TSQLiteDataSet() override;

    // The database file (never created by opening).
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& Value);
    // How long a write waits for another connection's lock before it fails
    // with "database is locked", in milliseconds.
    int BusyTimeout() const { return FBusyTimeout; }
    void SetBusyTimeout(int Value) { FBusyTimeout = Value; }

    // A transaction that SQLite rolls back by itself under a failed statement
    // (a full disk, an I/O error) or a failed COMMIT is lost: the error says
    // so, InTransaction stays true, and Post, Delete and Commit raise until
    // Rollback (which then only re-reads), so nothing meant for it is
    // committed on its own. After a failed COMMIT the rows are re-read.
    void StartTransaction() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override { return FDb.InTransaction() || FTransactionLost; }

    // The connection, for statements of the application's own.
    TSqliteDatabase& Database() { return FDb; }

protected:
    void Connect() override;
    void OpenTable() override;
    void OpenQuery(const String& Sql) override;
    void InternalClose() override;
    int InternalRecordCount() const override;
    void InternalFetch(int First, int Count, TFieldFlags& Columns, TStoredValue* Values) override;
    void InternalPost(int& Index, bool Inserting, const TRecordBuffer& Old, TRecordBuffer& Values,
                      const TFieldFlags& Assigned, TFieldFlags& Read) override;
    void InternalDelete(int Index, const TRecordBuffer& Old) override;
    void InsertRow(int Index, TRecordBuffer& Values, const TFieldFlags& Assigned, TFieldFlags& Read);
    void UpdateRow(int Index, const TRecordBuffer& Old, TRecordBuffer& Values, const TFieldFlags& Assigned,
                   TFieldFlags& Read);
    void DeleteRow(int Index, const TRecordBuffer& Old);
    void InternalRefresh() override;
    bool InternalRowsHeld() override;
    bool InternalCanModify() const override;
    String InternalReadOnlyReason() const override;

private:
    void LoadKeys();
    void ReadAll(TSqliteStatement& Stmt);
    void ReadRow(std::int64_t Key, TRecordBuffer& Values);
    // The statement cached under Key, prepared from MakeSql() the first time.
    template <typename F>
    TSqliteStatement& Cached(const String& Key, F&& MakeSql) {
        auto it = FStatements.find(Key);
        if (it == FStatements.end()) it = FStatements.emplace(Key, FDb.Prepare(MakeSql())).first;
        it->second.Reset();
        return it->second;
    }
    void BindOld(TSqliteStatement& Stmt, int First, const TRecordBuffer& Old, const TFieldFlags& Read);
    String OldMatch(bool Full, const TFieldFlags& Read) const;
    TSqliteStatement& UpdateStatement(const String& Key, bool Clean, const TFieldFlags& Read);
    bool Unchanged();
    std::int64_t DataVersion();
    void CheckTransactionKept() const;
    [[noreturn]] void RaiseLost(const ESqliteError& Cause);

    String FFileName;
    int FBusyTimeout = 2000;
    TSqliteDatabase FDb;
    bool FReadOnlyFile = false;       // opened read-only (asked, or the file allows no writing)
    bool FHasTriggers = false;        // re-read rows after writing
    std::vector<std::int64_t> FKeys;  // keyed: the rowids in order
    std::vector<TRecordBuffer> FRows; // not keyed: every row
    std::vector<String> FColumns;     // quoted column names
    String FRowid;                    // the row id's name in statements ("rowid", "_rowid_", ...)
    String FReadOnlyReason;           // why a table is read-only though the file is not
    TSqliteStatement FFetchOne, FDataVersion;
    std::int64_t FCleanVersion = -1;  // data_version when the keys were read
    bool FOwnTransaction = false;     // inside StartTransaction ... Commit
    bool FCleanInTransaction = false; // checked clean since it began
    bool FTransactionLost = false;    // rolled back by SQLite under the application
    std::map<String, TSqliteStatement> FStatements;
    String FWriteKey;                      // the key of the update being written
    String FLastWriteKey;                  // the key of the last update's statement
    TSqliteStatement* FLastWrite = nullptr; // it, in FStatements
    TFieldFlags FAll;                       // every column (a delete compares the whole row)
};

// Quotes an SQL identifier ("a""b").
String QuoteIdent(const String& Name);
// The field kind and size for a declared column type.
TFieldType FieldTypeForDecl(const String& DeclType, int& Size);

} // namespace fw
