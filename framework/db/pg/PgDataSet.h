#pragma once
// TPgDataSet: a dataset over a table or a SELECT of a PostgreSQL database.
//
// A table with a primary key is opened by reading only its keys, in key
// order; the values come a page at a time as records are visited, fetched
// by key. Its records can be edited, inserted and deleted: Post writes one
// UPDATE or INSERT, Delete one DELETE, each its own transaction unless the
// application opened one (StartTransaction). Every UPDATE and DELETE names
// the row version read with the record (the system column xmin, kept in a
// hidden read-only field "xmin"): a row that another user changed or deleted
// since is not touched, and Post or Delete raises SRecordChanged with the
// user's values kept; Refresh then shows the other user's values.
//
// TableName may name the schema ("sales.orders"). A SELECT (SQL), or a table
// without a primary key, is read through a scroll cursor in a read-only
// transaction of a second connection, a page at a time, and is read-only.
//
// A lost connection raises a clear EDatabaseError for the operation that met
// it (the dataset keeps its state and the user's values); the next operation
// connects again. PgValues.h tells how column types map to field kinds.

#include <framework/db/SqlDataSet.h>
#include <framework/db/pg/PgConnection.h>
#include <map>
#include <unordered_map>

namespace fw {

class TPgDataSet : public TSqlDataSet {
    FW_CLASS(TPgDataSet, TSqlDataSet)

public:
    explicit TPgDataSet(TComponent* AOwner);
    ~TPgDataSet() override;

    // A libpq connection string: "host=/run/postgresql dbname=app" or
    // "postgresql://user@server/app". Changing it closes the connection. A password
    // in it is taken out into Password: the connection string read back (and
    // stored in form files) never holds one.
    const String& ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const String& Value);
    // The password, kept in memory only (not published, never in a message). Without
    // one libpq still reads PGPASSWORD and the password file (~/.pgpass); when the
    // server asks for a password and none was given, OnPassword is asked for one.
    const String& Password() const { return FPassword; }
    void SetPassword(const String& Value);
    std::function<bool(TPgDataSet* Sender, String& Password)> OnPassword;
    // Bounds of every wait on the server in milliseconds (0: none): a statement
    // running longer, or waiting longer for another session's row lock, is ended
    // by the server with an error; a server that does not answer at all for twice
    // the statement bound (and a second) is given up as a lost connection.
    int StatementTimeout() const { return FStatementTimeout; }
    void SetStatementTimeout(int Value);
    int LockTimeout() const { return FLockTimeout; }
    void SetLockTimeout(int Value);

    // A transaction lost with its connection is not silently replaced: Post
    // and Commit raise until Rollback.
    void StartTransaction() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;

    // The connection, for statements of the application's own.
    TPgConnection& Connection();

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
    void InternalRefresh() override;
    int PageSize() const override { return 1000; }

private:
    struct TColumn {
        String Quoted;   // the quoted column name
        String TypeName; // for casts: "integer", "character varying(20)"
        unsigned Oid = 0;
        bool HasDefault = false;
        bool Generated = false;
    };

    void CountRows();
    void FetchRows(int First, int Count, std::vector<TRecordBuffer>& Rows);
    void LoadKeys();
    void AddFields(const TPgResult& Described, int FirstColumn);
    TRecordBuffer ReadRow(const TPgResult& Result, int Row) const;
    String KeyOf(const TRecordBuffer& Values) const;
    int PlaceOf(int Index, const String& Key) const;
    TPgParams KeyArrays(const std::vector<const String*>& Keys) const;
    String KeyMatch(int FirstParam) const;
    void AddKeyParams(const TRecordBuffer& Values, TPgParams& Params) const;
    TPgParam ColumnParam(std::size_t C, const TStoredValue& Value) const;
    TPgStatement& Cached(const String& Sql);
    std::unique_ptr<TPgConnection> MakeConnection();

    String FConnectionString;
    String FConnectionProblem; // the text cannot be read near its password
    String FPassword;
    int FStatementTimeout = PgDefaultStatementTimeout;
    int FLockTimeout = PgDefaultLockTimeout;
    std::unique_ptr<TPgConnection> FDb;     // keys and writes
    std::unique_ptr<TPgConnection> FReader; // the cursor of a SELECT
    std::vector<TColumn> FColumns; // the table's columns, fields 0..n-1 (the version field is n)
    std::vector<int> FKeyColumns;  // indexes into FColumns
    int FVersionField = -1;        // the hidden xmin field
    std::vector<String> FKeys;     // keyed: the rows' keys ('\0' between columns), in order
    bool FKeysComplete = false;    // FKeys holds every row's key, else the first rows' only
    int FRowCount = 0;             // counted at open and refresh, until every key is read
    int FCursorCount = 0;          // not keyed: rows in the cursor
    std::vector<unsigned> FCursorTypes;
    String FSelectList; // ""a", "b", ..., xmin::text"
    String FFetchRange; // the rows of a range of keys
    String FFetchKeys;  // the rows of a list of keys
    String FFetchFirst; // the first rows in key order
    String FFetchAfter; // the next rows in key order after a key
    std::map<String, TPgStatement> FStatements;
};

// Registers TPgDataSet for form files; safe to call more than once.
void RegisterPgDataClasses();

} // namespace fw
