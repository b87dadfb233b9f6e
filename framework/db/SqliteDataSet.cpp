// TSQLiteDataSet: tables by pages of rowids, queries read whole.

#include <algorithm>
#include <framework/classes/Published.h>
#include <framework/db/SqliteDataSet.h>
#include <framework/rtl/Format.h>
#include <framework/rtl/SysUtils.h>

namespace fw {

namespace {

// Runs BEGIN IMMEDIATE unless a transaction is open, and COMMIT at Done;
// leaving without Done rolls back.
class TWriteScope {
public:
    explicit TWriteScope(TSqliteDatabase& db) : FDb(db), FOwn(!db.InTransaction()) {
        if (FOwn) FDb.Exec("BEGIN IMMEDIATE");
    }
    void Done() {
        if (FOwn) FDb.Exec("COMMIT");
        FOwn = false;
    }
    ~TWriteScope() {
        if (!FOwn) return;
        try {
            if (FDb.InTransaction()) FDb.Exec("ROLLBACK");
        } catch (const Exception&) {
        }
    }

private:
    TSqliteDatabase& FDb;
    bool FOwn;
};

const TStoredValue NullValue;

constexpr const char* STransactionLost =
    "The database rolled the transaction back and nothing of it was saved; roll it back before going on";

bool Contains(const String& text, const char* part) {
    return text.find(part) != String::npos;
}

// A statement's cache key: its kind and the set of columns it names.
String Mask(char kind, const TFieldFlags& bits) {
    String m(1, kind);
    unsigned char byte = 0;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (bits[i]) byte |= static_cast<unsigned char>(1u << (i % 8));
        if (i % 8 == 7 || i + 1 == bits.size()) {
            m += static_cast<char>(byte);
            byte = 0;
        }
    }
    return m;
}

} // namespace

String QuoteIdent(const String& Name) {
    String out = "\"";
    for (char c : Name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

TFieldType FieldTypeForDecl(const String& DeclType, int& Size) {
    String t = UpperCase(DeclType);
    Size = 0;
    if (Contains(t, "DATETIME") || Contains(t, "TIMESTAMP")) return ftDateTime;
    if (Contains(t, "DATE")) return ftDate;
    if (Contains(t, "BOOL")) return ftBoolean;
    if (Contains(t, "INT")) return ftInteger;
    if (Contains(t, "CHAR") || Contains(t, "CLOB") || Contains(t, "TEXT")) {
        auto open = t.find('('), close = t.find(')');
        if (open != String::npos && close != String::npos && close > open + 1)
            TryStrToInt(t.substr(open + 1, close - open - 1), Size);
        if (Size < 0) Size = 0;
        return ftString;
    }
    if (Contains(t, "REAL") || Contains(t, "FLOA") || Contains(t, "DOUB") || Contains(t, "NUMERIC") ||
        Contains(t, "DECIMAL"))
        return ftFloat;
    return ftString;
}

FW_PUBLISH(TSQLiteDataSet) {
    cls.Str("FileName", &TSQLiteDataSet::FileName, &TSQLiteDataSet::SetFileName, "");
    cls.Redeclare("TableName");
    cls.Redeclare("SQL");
    cls.Int("BusyTimeout", &TSQLiteDataSet::BusyTimeout, &TSQLiteDataSet::SetBusyTimeout, 2000);
    cls.Redeclare("ReadOnly");
}

TSQLiteDataSet::TSQLiteDataSet(TComponent* AOwner) : TSqlDataSet(AOwner) {}

TSQLiteDataSet::~TSQLiteDataSet() {
    CloseQuietly();
}

void TSQLiteDataSet::SetFileName(const String& Value) {
    if (Value == FFileName) return;
    CheckInactive();
    FFileName = Value;
}

// ---------------------------------------------------------------- opening

void TSQLiteDataSet::Connect() {
    if (FFileName.empty()) DatabaseError("No database file name given");
    FDb.Open(FFileName, ReadOnly(), false, FBusyTimeout);
    FReadOnlyFile = FDb.IsReadOnly();
}

void TSQLiteDataSet::OpenTable() {
    FTable = QuoteIdent(TableName());
    struct TColumn {
        String Name, Type;
        bool NotNull, HasDefault;
        int Pk;
    };
    std::vector<TColumn> columns;
    {
        TSqliteStatement info = FDb.Prepare("PRAGMA table_info(" + FTable + ")");
        while (info.Step()) {
            TColumn c;
            c.Name = std::get<String>(info.Column(1));
            TStoredValue type = info.Column(2);
            if (auto* t = std::get_if<String>(&type)) c.Type = *t;
            c.NotNull = info.ColumnInt64(3) != 0;
            c.HasDefault = !IsNullValue(info.Column(4));
            c.Pk = static_cast<int>(info.ColumnInt64(5));
            columns.push_back(std::move(c));
        }
    }
    if (columns.empty()) DatabaseError(Format("Table '%s' not found in '%s'", {TableName(), FFileName}));
    int pkCount = 0;
    for (const auto& c : columns)
        pkCount += c.Pk > 0;
    // The row id under a name none of the table's own columns takes (imported
    // data often has a column "rowid", which then hides it).
    FRowid.clear();
    bool hidden = true;
    for (const char* alias : {"rowid", "_rowid_", "oid"}) {
        if (std::any_of(columns.begin(), columns.end(),
                        [&](const TColumn& c) { return LowerCase(c.Name) == alias; }))
            continue;
        hidden = false;
        try {
            FDb.Prepare(String("SELECT ") + alias + " FROM " + FTable + " LIMIT 0");
            FRowid = alias;
        } catch (const ESqliteError&) {
            // WITHOUT ROWID: read whole, read-only
        }
        break;
    }
    if (hidden) {
        // Every alias is a column: an INTEGER PRIMARY KEY is the row id under its own name.
        TSqliteStatement pkIndex =
            FDb.Prepare("SELECT count(*) FROM pragma_index_list(?1) WHERE origin = 'pk'");
        pkIndex.Bind(1, TableName());
        const bool rowidTable = pkIndex.Step() && pkIndex.ColumnInt64(0) == 0;
        for (const auto& c : columns)
            if (rowidTable && pkCount == 1 && c.Pk == 1 && UpperCase(c.Type) == "INTEGER")
                FRowid = QuoteIdent(c.Name);
        if (FRowid.empty())
            FReadOnlyReason = "the table's own columns rowid, _rowid_ and oid hide SQLite's row id, and it "
                              "has no INTEGER PRIMARY KEY to find its rows by";
    }
    if (FRowid.empty()) return OpenQuery(QueryText());
    FKeyed = true;

    FColumns.clear();
    for (const auto& c : columns) {
        int size = 0;
        TFieldType type = FieldTypeForDecl(c.Type, size);
        const bool rowidAlias = pkCount == 1 && c.Pk == 1 && UpperCase(c.Type) == "INTEGER";
        AddField(c.Name, type, size, c.NotNull && !c.HasDefault && !rowidAlias);
        FColumns.push_back(QuoteIdent(c.Name));
    }
    FAll.assign(FColumns.size(), true);
    {
        TSqliteStatement triggers =
            FDb.Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?1");
        triggers.Bind(1, TableName());
        FHasTriggers = triggers.Step() && triggers.ColumnInt64(0) > 0;
    }
    String list;
    for (const auto& c : FColumns)
        list += (list.empty() ? "" : ", ") + c;
    FFetchOne = FDb.Prepare("SELECT " + list + " FROM " + FTable + " WHERE " + FRowid + " = ?1");
    LoadKeys();
}

void TSQLiteDataSet::LoadKeys() {
    // The rows read before stay in use when this fails part-way: until the keys
    // are read whole, every write compares them with the stored row.
    FCleanVersion = -1;
    const std::int64_t version = DataVersion();
    std::vector<std::int64_t> keys;
    TSqliteStatement stmt = FDb.Prepare("SELECT " + FRowid + " FROM " + FTable + " ORDER BY " + FRowid);
    while (stmt.Step())
        keys.push_back(stmt.ColumnInt64(0));
    keys.shrink_to_fit();
    FKeys = std::move(keys);
    FCleanVersion = version;
}

// Every row of a query, in place of the rows read before when it succeeds.
void TSQLiteDataSet::ReadAll(TSqliteStatement& Stmt) {
    const int n = Stmt.ColumnCount();
    std::vector<TRecordBuffer> rows;
    while (Stmt.Step()) {
        TRecordBuffer row(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            row[static_cast<std::size_t>(i)] = Stmt.Column(i);
        rows.push_back(std::move(row));
    }
    FRows = std::move(rows);
}

void TSQLiteDataSet::OpenQuery(const String& Sql) {
    TSqliteStatement stmt = FDb.Prepare(Sql);
    if (!stmt.Valid()) DatabaseError("The SQL text holds no statement");
    ReadAll(stmt);
    const int n = stmt.ColumnCount();
    for (int i = 0; i < n; ++i) {
        int size = 0;
        String decl = stmt.ColumnDeclType(i);
        TFieldType type = ftString;
        if (!decl.empty()) {
            type = FieldTypeForDecl(decl, size);
        } else {
            // An expression: the kind of its first value.
            for (const auto& row : FRows) {
                const TStoredValue& v = row[static_cast<std::size_t>(i)];
                if (IsNullValue(v)) continue;
                type = std::holds_alternative<std::int64_t>(v) ? ftInteger
                       : std::holds_alternative<double>(v)     ? ftFloat
                                                               : ftString;
                break;
            }
        }
        AddField(stmt.ColumnName(i), type, size, false, true);
    }
}

void TSQLiteDataSet::InternalClose() {
    FOwnTransaction = FCleanInTransaction = FTransactionLost = false;
    FReadOnlyReason.clear();
    FStatements.clear();
    FLastWrite = nullptr;
    FFetchOne = TSqliteStatement();
    FDataVersion = TSqliteStatement();
    FKeys.clear();
    FKeys.shrink_to_fit();
    FRows.clear();
    FRows.shrink_to_fit();
    FDb.Close();
}

int TSQLiteDataSet::InternalRecordCount() const {
    return static_cast<int>(FKeyed ? FKeys.size() : FRows.size());
}

bool TSQLiteDataSet::InternalCanModify() const {
    return TSqlDataSet::InternalCanModify() && !FReadOnlyFile;
}

String TSQLiteDataSet::InternalReadOnlyReason() const {
    return FReadOnlyReason;
}

void TSQLiteDataSet::InternalRefresh() {
    if (FKeyed) {
        LoadKeys();
    } else {
        // Re-run the query; the fields stay as they are.
        TSqliteStatement stmt = FDb.Prepare(QueryText());
        ReadAll(stmt);
    }
}

// ---------------------------------------------------------------- reading

void TSQLiteDataSet::ReadRow(std::int64_t Key, TRecordBuffer& Values) {
    FFetchOne.Reset();
    FFetchOne.BindInt64(1, Key);
    Values.clear();
    if (FFetchOne.Step()) {
        Values.resize(FColumns.size());
        for (std::size_t i = 0; i < FColumns.size(); ++i)
            Values[i] = FFetchOne.Column(static_cast<int>(i));
    }
    FFetchOne.Reset();
}

void TSQLiteDataSet::InternalFetch(int First, int Count, TFieldFlags& Columns, TStoredValue* Values) {
    const std::size_t n = FColumns.size();
    if (!FKeyed) {
        // Read whole at open: the page gets every column.
        for (int i = 0; i < Count; ++i) {
            const TRecordBuffer& row = FRows[static_cast<std::size_t>(First + i)];
            std::copy(row.begin(), row.end(), Values + static_cast<std::size_t>(i) * n);
        }
        Columns.assign(n, true);
        return;
    }
    if (Count <= 0) return;
    std::vector<int> wanted; // the columns to read, in order
    for (std::size_t i = 0; i < n; ++i)
        if (Columns[i]) wanted.push_back(static_cast<int>(i));
    const auto begin = FKeys.begin() + First, end = begin + Count;
    if (!std::is_sorted(begin, end) || std::adjacent_find(begin, end) != end) {
        TRecordBuffer row;
        for (auto it = begin; it != end; ++it, Values += n) {
            ReadRow(*it, row);
            if (!row.empty())
                for (int c : wanted)
                    Values[c] = std::move(row[static_cast<std::size_t>(c)]);
        }
        return;
    }
    // One range query for the page, reading the wanted columns only; rows
    // missing from it were deleted by someone else, rows in it that are not
    // ours were added by someone else. It stops at the page's last key.
    TSqliteStatement& stmt = Cached(Mask('F', Columns), [&] {
        String list;
        for (int c : wanted)
            list += ", " + FColumns[static_cast<std::size_t>(c)];
        return "SELECT " + FRowid + list + " FROM " + FTable + " WHERE " + FRowid + " >= ?1 ORDER BY " + FRowid;
    });
    stmt.BindInt64(1, *begin);
    auto key = begin;
    while (key != end && stmt.Step()) {
        const std::int64_t rowid = stmt.ColumnInt64(0);
        while (key != end && *key < rowid)
            ++key; // deleted elsewhere: left as it was
        if (key == end || *key != rowid) continue;
        TStoredValue* row = Values + static_cast<std::size_t>(key - begin) * n;
        for (std::size_t i = 0; i < wanted.size(); ++i)
            stmt.ReadColumn(static_cast<int>(i) + 1, row[wanted[i]]);
        ++key;
    }
    stmt.Reset();
}

// ---------------------------------------------------------------- writing

// "rowid = ?k AND c1 IS ?k+1 AND ...": the row still holds what was read
// (in the columns Read marks; none when not Full).
String TSQLiteDataSet::OldMatch(bool Full, const TFieldFlags& Read) const {
    String where = FRowid + " = ?";
    if (Full)
        for (std::size_t i = 0; i < FColumns.size(); ++i)
            if (Read[i]) where += " AND " + FColumns[i] + " IS ?";
    return where;
}

// Whether no other connection has committed anything since the rows were
// read: then no row can differ from what was read, and the key alone finds
// it. Asked inside the write transaction, so nobody can commit in between.
// Inside the application's own transaction nobody else can commit, so one
// answer holds until it ends.
bool TSQLiteDataSet::Unchanged() {
    const bool ownTransaction = FOwnTransaction && FDb.InTransaction();
    if (ownTransaction && FCleanInTransaction) return true;
    const bool clean = DataVersion() == FCleanVersion;
    FCleanInTransaction = ownTransaction && clean;
    return clean;
}

// Inside the application's transaction, once no other connection has
// committed since the keys were read, none can until it ends.
bool TSQLiteDataSet::InternalRowsHeld() {
    if (!FOwnTransaction || FTransactionLost || !FDb.InTransaction()) return false;
    try {
        return Unchanged();
    } catch (const ESqliteError&) {
        return false; // the edit then reads the whole record
    }
}

std::int64_t TSQLiteDataSet::DataVersion() {
    if (!FDataVersion.Valid()) FDataVersion = FDb.Prepare("PRAGMA data_version");
    FDataVersion.Reset();
    std::int64_t version = FDataVersion.Step() ? FDataVersion.ColumnInt64(0) : -1;
    FDataVersion.Reset();
    return version;
}

void TSQLiteDataSet::BindOld(TSqliteStatement& Stmt, int First, const TRecordBuffer& Old,
                             const TFieldFlags& Read) {
    // Old outlives the statement's step: its text need not be copied.
    for (std::size_t i = 0; i < FColumns.size(); ++i)
        if (Read[i]) Stmt.Bind(First++, i < Old.size() ? Old[i] : NullValue, false);
}

void TSQLiteDataSet::InternalPost(int& Index, bool Inserting, const TRecordBuffer& Old, TRecordBuffer& Values,
                                  const TFieldFlags& Assigned, TFieldFlags& Read) {
    CheckTransactionKept();
    try {
        if (Inserting)
            InsertRow(Index, Values, Assigned, Read);
        else
            UpdateRow(Index, Old, Values, Assigned, Read);
    } catch (const ESqliteError& E) {
        if (FOwnTransaction && !FDb.InTransaction()) RaiseLost(E);
        throw;
    }
}

void TSQLiteDataSet::InsertRow(int Index, TRecordBuffer& Values, const TFieldFlags& Assigned,
                               TFieldFlags& Read) {
    const std::size_t n = FColumns.size();
    TWriteScope scope(FDb);
    TFieldFlags use(n);
    for (std::size_t i = 0; i < n; ++i)
        use[i] = i < Assigned.size() && Assigned[i];
    TSqliteStatement& stmt = Cached(Mask('I', use), [&] {
        String cols, params;
        for (std::size_t i = 0; i < n; ++i) {
            if (!use[i]) continue;
            cols += (cols.empty() ? "" : ", ") + FColumns[i];
            params += params.empty() ? "?" : ", ?";
        }
        return cols.empty() ? "INSERT INTO " + FTable + " DEFAULT VALUES"
                            : "INSERT INTO " + FTable + " (" + cols + ") VALUES (" + params + ")";
    });
    int p = 1;
    for (std::size_t i = 0; i < n; ++i)
        if (use[i]) stmt.Bind(p++, Values[i]);
    stmt.Step();
    stmt.Reset();
    const std::int64_t rowid = FDb.LastInsertRowid();
    TRecordBuffer stored;
    ReadRow(rowid, stored); // keys and defaults as stored
    scope.Done();
    FKeys.insert(FKeys.begin() + Index, rowid);
    Values.swap(stored);
    Read.assign(n, true);
}

// A column read is written when it changed; a column nobody read, when it was
// assigned (it is not known to differ). The statement's key names the columns
// written, and the columns compared when a check is due. (Kept apart from the
// statement's making and from the rare steps, so that a run of posts goes
// through little code.)
void TSQLiteDataSet::UpdateRow(int Index, const TRecordBuffer& Old, TRecordBuffer& Values,
                               const TFieldFlags& Assigned, TFieldFlags& Read) {
    const std::size_t n = FColumns.size();
    TWriteScope scope(FDb);
    const bool clean = Unchanged();
    String& key = FWriteKey;
    key.assign(1, clean ? 'u' : 'U');
    key.append((n + 7) / 8, '\0');
    const auto set = [&](std::size_t i) { key[1 + i / 8] = static_cast<char>(key[1 + i / 8] | (1 << (i % 8))); };
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        const bool read = i < Read.size() && Read[i];
        if (read ? i >= Old.size() || Values[i] != Old[i] : i < Assigned.size() && Assigned[i]) {
            set(i);
            any = true;
        }
    }
    if (!any) // still checks that the row is there
        for (std::size_t i = 0; i < n; ++i)
            if (i < Read.size() && Read[i]) set(i);
    if (!clean) key += Mask('r', Read);
    if (FLastWrite == nullptr || key != FLastWriteKey) FLastWrite = &UpdateStatement(key, clean, Read);
    TSqliteStatement& stmt = *FLastWrite;
    int p = 1;
    for (std::size_t i = 0; i < n; ++i)
        if ((static_cast<unsigned char>(key[1 + i / 8]) >> (i % 8)) & 1) stmt.Bind(p++, Values[i], false);
    stmt.BindInt64(p++, FKeys[static_cast<std::size_t>(Index)]);
    if (!clean) BindOld(stmt, p, Old, Read);
    stmt.Step();
    stmt.Reset();
    if (FDb.Changes() == 0) DatabaseError(SRecordChanged);
    if (!FHasTriggers) return scope.Done();
    TRecordBuffer stored;
    ReadRow(FKeys[static_cast<std::size_t>(Index)], stored); // what the triggers made of it
    scope.Done();
    Values.swap(stored);
    Read.assign(n, true);
}

// The UPDATE for a write key (see UpdateRow), made once, and kept as the last one.
TSqliteStatement& TSQLiteDataSet::UpdateStatement(const String& Key, bool Clean, const TFieldFlags& Read) {
    TSqliteStatement& stmt = Cached(Key, [&] {
        String columns;
        for (std::size_t i = 0; i < FColumns.size(); ++i)
            if ((static_cast<unsigned char>(Key[1 + i / 8]) >> (i % 8)) & 1)
                columns += (columns.empty() ? "" : ", ") + FColumns[i] + " = ?";
        if (columns.empty()) columns = FRowid + " = " + FRowid;
        return "UPDATE " + FTable + " SET " + columns + " WHERE " + OldMatch(!Clean, Read);
    });
    FLastWriteKey = Key;
    return stmt;
}

void TSQLiteDataSet::InternalDelete(int Index, const TRecordBuffer& Old) {
    CheckTransactionKept();
    try {
        DeleteRow(Index, Old);
    } catch (const ESqliteError& E) {
        if (FOwnTransaction && !FDb.InTransaction()) RaiseLost(E);
        throw;
    }
}

void TSQLiteDataSet::DeleteRow(int Index, const TRecordBuffer& Old) {
    const std::int64_t key = FKeys[static_cast<std::size_t>(Index)];
    TWriteScope scope(FDb);
    const bool clean = Unchanged();
    TSqliteStatement& stmt =
        Cached(clean ? "d" : "D", [&] { return "DELETE FROM " + FTable + " WHERE " + OldMatch(!clean, FAll); });
    stmt.BindInt64(1, key);
    if (!clean) BindOld(stmt, 2, Old, FAll);
    stmt.Step();
    stmt.Reset();
    if (FDb.Changes() == 0) DatabaseError(SRecordChanged);
    scope.Done();
    FKeys.erase(FKeys.begin() + Index);
}

// ---------------------------------------------------------------- transactions

// SQLite ends a transaction by itself when a statement fails for want of disk
// or memory or by an I/O error; the posts after it would each commit alone.
void TSQLiteDataSet::CheckTransactionKept() const {
    if (FTransactionLost) DatabaseError(STransactionLost);
}

void TSQLiteDataSet::RaiseLost(const ESqliteError& Cause) {
    FOwnTransaction = FCleanInTransaction = false;
    FTransactionLost = true;
    throw ESqliteError(Cause.Message() + ". " + STransactionLost, Cause.ExtendedCode());
}

void TSQLiteDataSet::StartTransaction() {
    if (!Active()) DatabaseError(SDataSetClosed);
    CheckTransactionKept();
    if (FDb.InTransaction()) DatabaseError("A transaction is already open");
    FDb.Exec("BEGIN IMMEDIATE");
    FOwnTransaction = true;
    FCleanInTransaction = false;
}

void TSQLiteDataSet::Commit() {
    CheckTransactionKept();
    if (!FDb.InTransaction()) DatabaseError("No transaction is open");
    CheckBrowseMode();
    try {
        FDb.Exec("COMMIT");
    } catch (const ESqliteError& E) {
        if (FDb.InTransaction()) throw; // still open (a busy reader): commit again or roll back
        // Rolled back: the rows shown must be the file's again.
        FOwnTransaction = FCleanInTransaction = false;
        FTransactionLost = true;
        try {
            Refresh();
        } catch (const Exception&) {
        }
        throw ESqliteError(E.Message() + ". " + STransactionLost, E.ExtendedCode());
    }
    FOwnTransaction = FCleanInTransaction = false;
}

void TSQLiteDataSet::Rollback() {
    if (!InTransaction()) DatabaseError("No transaction is open");
    Cancel();
    FOwnTransaction = FCleanInTransaction = FTransactionLost = false;
    if (FDb.InTransaction()) FDb.Exec("ROLLBACK");
    Refresh();
}

} // namespace fw
