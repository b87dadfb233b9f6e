#pragma once
// The one thin wrapper every SQLite call of the framework goes through:
// a connection and a prepared statement, both owning their handles, and
// failures raised as ESqliteError with the database's own message.
//
// Tests make any call fail: InjectSqliteFault(call, n, code) makes the n-th
// next call of that kind (or of any kind, sqAny) return code instead of
// reaching SQLite (SQLITE_BUSY, SQLITE_IOERR, SQLITE_NOMEM...).

#include <cstdint>
#include <framework/db/DbTypes.h>

struct sqlite3;
struct sqlite3_stmt;

namespace fw {

// A failed SQLite call: the database's message and its result code.
class ESqliteError : public EDatabaseError {
public:
    ESqliteError(const String& Message, int Code) : EDatabaseError(Message), FCode(Code) {}
    // The primary result code (SQLITE_BUSY, SQLITE_CONSTRAINT, ...).
    int Code() const { return FCode & 0xFF; }
    int ExtendedCode() const { return FCode; }

private:
    int FCode;
};

enum TSqliteCall { sqAny, sqOpen, sqPrepare, sqStep, sqExec };

// The Nth next call of kind Call (1: the very next) fails with Code.
void InjectSqliteFault(TSqliteCall Call, int N, int Code);
void ClearSqliteFaults();
// Calls of a kind made so far (tests count statements).
long long SqliteCallCount(TSqliteCall Call);

class TSqliteStatement {
public:
    TSqliteStatement() = default;
    TSqliteStatement(sqlite3* Db, sqlite3_stmt* Stmt) : FDb(Db), FStmt(Stmt) {}
    TSqliteStatement(TSqliteStatement&& Other) noexcept;
    TSqliteStatement& operator=(TSqliteStatement&& Other) noexcept;
    ~TSqliteStatement();

    bool Valid() const { return FStmt != nullptr; }
    // Parameters count from 1. Without Copy, text is not copied and must
    // stay unchanged until the statement is stepped and reset.
    void Bind(int Index, const TStoredValue& Value, bool Copy = true);
    void BindInt64(int Index, std::int64_t Value);
    // True while a row is there; raises on failure (the statement is reset).
    bool Step();
    // Ready to run again; the bindings stay until bound again (every use
    // binds every parameter).
    void Reset();
    int ColumnCount() const;
    String ColumnName(int Col) const;
    // The declared type of a result column taken straight from a table ("" otherwise).
    String ColumnDeclType(int Col) const;
    TStoredValue Column(int Col) const;
    // The same into Into, reusing the text it holds.
    void ReadColumn(int Col, TStoredValue& Into) const;
    std::int64_t ColumnInt64(int Col) const;

private:
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FStmt = nullptr;
};

class TSqliteDatabase {
public:
    TSqliteDatabase() = default;
    TSqliteDatabase(const TSqliteDatabase&) = delete;
    TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;
    ~TSqliteDatabase();

    // Opens (creating when Create) the file; raises on failure. Strings in
    // statements are single-quoted: "x" is always a name.
    void Open(const String& FileName, bool ReadOnly, bool Create, int BusyTimeoutMs);
    void Close();
    bool IsOpen() const { return FDb != nullptr; }
    void Exec(const String& Sql);
    TSqliteStatement Prepare(const String& Sql);
    int Changes() const;
    std::int64_t LastInsertRowid() const;
    // Inside BEGIN ... COMMIT.
    bool InTransaction() const;
    bool IsReadOnly() const;

private:
    sqlite3* FDb = nullptr;
};

} // namespace fw
