// Every SQLite call of the framework, with the test hook for failures.

#include <algorithm>
#include <array>
#include <framework/db/SqliteApi.h>
#include <sqlite3.h>
#include <utility>
#include <vector>

namespace fw {

namespace {

struct TFault {
    TSqliteCall Call;
    int Remaining;
    int Code;
};

// Constant-initialised: no guard to pass on each call.
std::vector<TFault> Faults;
std::array<long long, 5> Counts{};

// Counts the call; the result code of an injected fault, or SQLITE_OK.
int Injected(TSqliteCall call) {
    ++Counts[call];
    ++Counts[sqAny];
    if (Faults.empty()) return SQLITE_OK;
    for (auto it = Faults.begin(); it != Faults.end(); ++it) {
        if (it->Call != call && it->Call != sqAny) continue;
        if (--it->Remaining == 0) {
            int code = it->Code;
            Faults.erase(it);
            return code;
        }
    }
    return SQLITE_OK;
}

[[noreturn]] void Fail(sqlite3* db, int code, bool injected) {
    String message = injected || !db ? sqlite3_errstr(code) : sqlite3_errmsg(db);
    throw ESqliteError(message, injected || !db ? code : sqlite3_extended_errcode(db));
}

} // namespace

void InjectSqliteFault(TSqliteCall Call, int N, int Code) {
    Faults.push_back({Call, N < 1 ? 1 : N, Code});
}
void ClearSqliteFaults() {
    Faults.clear();
}
long long SqliteCallCount(TSqliteCall Call) {
    return Counts[Call];
}

// ---------------------------------------------------------------- statements

TSqliteStatement::TSqliteStatement(TSqliteStatement&& Other) noexcept
    : FDb(std::exchange(Other.FDb, nullptr)), FStmt(std::exchange(Other.FStmt, nullptr)) {}

TSqliteStatement& TSqliteStatement::operator=(TSqliteStatement&& Other) noexcept {
    if (this != &Other) {
        if (FStmt) sqlite3_finalize(FStmt);
        FDb = std::exchange(Other.FDb, nullptr);
        FStmt = std::exchange(Other.FStmt, nullptr);
    }
    return *this;
}

TSqliteStatement::~TSqliteStatement() {
    if (FStmt) sqlite3_finalize(FStmt);
}

void TSqliteStatement::Bind(int Index, const TStoredValue& Value, bool Copy) {
    int rc;
    if (auto* i = std::get_if<std::int64_t>(&Value))
        rc = sqlite3_bind_int64(FStmt, Index, *i);
    else if (auto* d = std::get_if<double>(&Value))
        rc = sqlite3_bind_double(FStmt, Index, *d);
    else if (auto* s = std::get_if<String>(&Value))
        rc = sqlite3_bind_text(FStmt, Index, s->data(), static_cast<int>(s->size()),
                               Copy ? SQLITE_TRANSIENT : SQLITE_STATIC);
    else
        rc = sqlite3_bind_null(FStmt, Index);
    if (rc != SQLITE_OK) Fail(FDb, rc, false);
}

void TSqliteStatement::BindInt64(int Index, std::int64_t Value) {
    int rc = sqlite3_bind_int64(FStmt, Index, Value);
    if (rc != SQLITE_OK) Fail(FDb, rc, false);
}

bool TSqliteStatement::Step() {
    int rc = Injected(sqStep);
    const bool injected = rc != SQLITE_OK;
    if (!injected) rc = sqlite3_step(FStmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    if (!injected) {
        // The statement's own error: read the message before the reset.
        String message = sqlite3_errmsg(FDb);
        int code = sqlite3_extended_errcode(FDb);
        sqlite3_reset(FStmt);
        throw ESqliteError(message, code);
    }
    sqlite3_reset(FStmt);
    Fail(FDb, rc, true);
}

void TSqliteStatement::Reset() {
    sqlite3_reset(FStmt);
}

int TSqliteStatement::ColumnCount() const {
    return sqlite3_column_count(FStmt);
}

String TSqliteStatement::ColumnName(int Col) const {
    const char* name = sqlite3_column_name(FStmt, Col);
    return name ? name : "";
}

String TSqliteStatement::ColumnDeclType(int Col) const {
    const char* type = sqlite3_column_decltype(FStmt, Col);
    return type ? type : "";
}

TStoredValue TSqliteStatement::Column(int Col) const {
    switch (sqlite3_column_type(FStmt, Col)) {
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(FStmt, Col));
    case SQLITE_FLOAT:
        return sqlite3_column_double(FStmt, Col);
    case SQLITE_NULL:
        return {};
    default: {
        auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, Col));
        return String(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(FStmt, Col)));
    }
    }
}

void TSqliteStatement::ReadColumn(int Col, TStoredValue& Into) const {
    // One look-up of the column, then its value as it is.
    sqlite3_value* value = sqlite3_column_value(FStmt, Col);
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        Into = static_cast<std::int64_t>(sqlite3_value_int64(value));
        break;
    case SQLITE_FLOAT:
        Into = sqlite3_value_double(value);
        break;
    case SQLITE_NULL:
        Into = std::monostate();
        break;
    default: {
        auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const auto size = static_cast<std::size_t>(sqlite3_value_bytes(value));
        auto* s = std::get_if<String>(&Into);
        if (!s) s = &Into.emplace<String>();
        s->assign(text ? text : "", size);
    }
    }
}

std::int64_t TSqliteStatement::ColumnInt64(int Col) const {
    return sqlite3_column_int64(FStmt, Col);
}

// ---------------------------------------------------------------- connections

TSqliteDatabase::~TSqliteDatabase() {
    Close();
}

void TSqliteDatabase::Open(const String& FileName, bool ReadOnly, bool Create, int BusyTimeoutMs) {
    Close();
    int flags = ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (Create ? SQLITE_OPEN_CREATE : 0);
    int rc = Injected(sqOpen);
    if (rc != SQLITE_OK) Fail(nullptr, rc, true);
    sqlite3* db = nullptr;
    rc = sqlite3_open_v2(FileName.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        String message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw ESqliteError(message + ": " + FileName, rc);
    }
    FDb = db;
    sqlite3_extended_result_codes(FDb, 1);
    // A double-quoted name that is no column must not be read as a string: a
    // column dropped or renamed by another connection would otherwise read back
    // as its own name on every row not read yet.
    sqlite3_db_config(FDb, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_busy_timeout(FDb, BusyTimeoutMs);
}

void TSqliteDatabase::Close() {
    if (FDb) sqlite3_close_v2(FDb);
    FDb = nullptr;
}

void TSqliteDatabase::Exec(const String& Sql) {
    int rc = Injected(sqExec);
    if (rc != SQLITE_OK) Fail(FDb, rc, true);
    char* error = nullptr;
    rc = sqlite3_exec(FDb, Sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        String message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw ESqliteError(message, sqlite3_extended_errcode(FDb));
    }
}

TSqliteStatement TSqliteDatabase::Prepare(const String& Sql) {
    int rc = Injected(sqPrepare);
    if (rc != SQLITE_OK) Fail(FDb, rc, true);
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v3(FDb, Sql.c_str(), static_cast<int>(Sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                            nullptr);
    if (rc != SQLITE_OK) Fail(FDb, rc, false);
    return TSqliteStatement(FDb, stmt);
}

int TSqliteDatabase::Changes() const {
    return sqlite3_changes(FDb);
}
std::int64_t TSqliteDatabase::LastInsertRowid() const {
    return sqlite3_last_insert_rowid(FDb);
}
bool TSqliteDatabase::InTransaction() const {
    return FDb && sqlite3_get_autocommit(FDb) == 0;
}
bool TSqliteDatabase::IsReadOnly() const {
    return FDb && sqlite3_db_readonly(FDb, "main") == 1;
}

} // namespace fw
