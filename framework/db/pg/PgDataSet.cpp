// TPgDataSet: tables by their keys and pages of rows fetched by key, SELECTs
// by a scroll cursor.

#include <algorithm>
#include <framework/classes/ClassRegistry.h>
#include <framework/classes/Published.h>
#include <framework/db/pg/PgDataSet.h>
#include <framework/db/pg/PgValues.h>
#include <unordered_map>

namespace fw {

namespace {

constexpr const char* VersionName = "xmin";
constexpr const char* CursorName = "qz_rows";

// An array literal '{"a","b"}' of key texts for "= ANY($1::type[])".
String ArrayLiteral(const std::vector<const String*>& Items) {
    String Out = "{";
    for (const String* Item : Items) {
        if (Out.size() > 1) Out += ',';
        Out += '"';
        for (char C : *Item) {
            if (C == '"' || C == '\\') Out += '\\';
            Out += C;
        }
        Out += '"';
    }
    return Out + "}";
}

// The parts of a key joined with '\0' (no PostgreSQL text holds one).
std::vector<String> SplitKey(const String& Key, std::size_t Parts) {
    std::vector<String> Out;
    std::size_t Start = 0;
    for (std::size_t I = 0; I < Parts; ++I) {
        const auto End = I + 1 == Parts ? Key.size() : Key.find('\0', Start);
        Out.push_back(Key.substr(Start, End - Start));
        Start = End + 1;
    }
    return Out;
}

} // namespace

FW_PUBLISH(TPgDataSet) {
    cls.Str("ConnectionString", &TPgDataSet::ConnectionString, &TPgDataSet::SetConnectionString, "");
    cls.Redeclare("TableName");
    cls.Redeclare("SQL");
    cls.Int("StatementTimeout", &TPgDataSet::StatementTimeout, &TPgDataSet::SetStatementTimeout,
            PgDefaultStatementTimeout);
    cls.Int("LockTimeout", &TPgDataSet::LockTimeout, &TPgDataSet::SetLockTimeout, PgDefaultLockTimeout);
}

void RegisterPgDataClasses() {
    RegisterClasses({TPgDataSet::StaticClass()});
}

TPgDataSet::TPgDataSet(TComponent* AOwner) : TSqlDataSet(AOwner) {}

TPgDataSet::~TPgDataSet() {
    CloseQuietly();
}

// The password is taken out of the text: it stays in memory only, and ConnectionString
// (which form files store) never holds it.
void TPgDataSet::SetConnectionString(const String& Value) {
    TPgConnInfo Split = SplitPassword(Value);
    if (Split.Text == FConnectionString && Split.Password.empty() && Split.Problem == FConnectionProblem)
        return;
    CheckInactive();
    FConnectionString = std::move(Split.Text);
    FConnectionProblem = std::move(Split.Problem);
    if (!Split.Password.empty()) FPassword = std::move(Split.Password);
    FDb.reset();
    FReader.reset();
}

void TPgDataSet::SetPassword(const String& Value) {
    FPassword = Value;
    for (TPgConnection* Db : {FDb.get(), FReader.get()})
        if (Db) Db->SetPassword(Value);
}

void TPgDataSet::SetStatementTimeout(int Value) {
    FStatementTimeout = std::max(Value, 0);
    for (TPgConnection* Db : {FDb.get(), FReader.get()})
        if (Db) Db->SetTimeouts(FStatementTimeout, FLockTimeout);
}

void TPgDataSet::SetLockTimeout(int Value) {
    FLockTimeout = std::max(Value, 0);
    for (TPgConnection* Db : {FDb.get(), FReader.get()})
        if (Db) Db->SetTimeouts(FStatementTimeout, FLockTimeout);
}

std::unique_ptr<TPgConnection> TPgDataSet::MakeConnection() {
    auto Db = std::make_unique<TPgConnection>(FConnectionString, FPassword);
    Db->SetTimeouts(FStatementTimeout, FLockTimeout);
    Db->OnPassword = [this](String& Password) {
        if (!OnPassword || !OnPassword(this, Password)) return false;
        FPassword = Password; // the other connection and reconnections use it too
        return true;
    };
    return Db;
}

TPgConnection& TPgDataSet::Connection() {
    if (!FDb) FDb = MakeConnection();
    return *FDb;
}

void TPgDataSet::StartTransaction() {
    Connection().StartTransaction();
}

void TPgDataSet::Commit() {
    Connection().Commit();
}

void TPgDataSet::Rollback() {
    if (State() == dsEdit || State() == dsInsert) Cancel();
    Connection().Rollback();
    if (Active()) Refresh();
}

bool TPgDataSet::InTransaction() const {
    return FDb && FDb->InTransaction();
}

TPgStatement& TPgDataSet::Cached(const String& Sql) {
    auto Found = FStatements.find(Sql);
    if (Found == FStatements.end()) Found = FStatements.emplace(Sql, TPgStatement(Sql)).first;
    return Found->second;
}

// ---------------------------------------------------------------- opening

// The connections are made on first use; this checks what they are made from.
void TPgDataSet::Connect() {
    if (FConnectionString.empty() && FConnectionProblem.empty())
        DatabaseError("No connection string: set ConnectionString before opening the dataset");
    if (!FConnectionProblem.empty())
        throw EPgError("Cannot connect to the database server: " + FConnectionProblem, "08001", true);
    FStatements.clear();
    FColumns.clear();
    FKeyColumns.clear();
    FKeys.clear();
    FVersionField = -1;
}

void TPgDataSet::OpenTable() {
    TPgConnection& Db = Connection();
    TPgResult Table = Db.Exec(
        "SELECT c.oid, c.oid::regclass::text FROM pg_class c WHERE c.oid = to_regclass($1)", {TableName()});
    if (Table.RowCount() == 0) DatabaseError("Table '" + TableName() + "' not found");
    const String TableOid(Table.Value(0, 0));
    FTable = String(Table.Value(0, 1));

    TPgResult Columns =
        Db.Exec("SELECT a.attname, a.atttypid, a.atttypmod, a.attnotnull, a.atthasdef, a.attgenerated <> '', "
                "format_type(a.atttypid, a.atttypmod), array_position(i.indkey::int2[], a.attnum) "
                "FROM pg_attribute a LEFT JOIN pg_index i ON i.indrelid = a.attrelid AND i.indisprimary "
                "WHERE a.attrelid = $1::oid AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
                {TableOid});
    std::vector<std::pair<int, int>> KeyOrder; // (position in the key, column)
    for (int R = 0; R < Columns.RowCount(); ++R) {
        if (!Columns.IsNull(R, 7)) KeyOrder.emplace_back(std::stoi(String(Columns.Value(R, 7))), R);
    }
    if (KeyOrder.empty()) {
        // No key to find a row again by: read-only, through a cursor.
        OpenQuery(QueryText());
        return;
    }
    std::sort(KeyOrder.begin(), KeyOrder.end());
    for (auto [Position, Column] : KeyOrder)
        FKeyColumns.push_back(Column);

    for (int R = 0; R < Columns.RowCount(); ++R) {
        TColumn C;
        C.Quoted = TPgConnection::QuoteIdent(Columns.Value(R, 0));
        C.Oid = static_cast<unsigned>(std::stoul(String(Columns.Value(R, 1))));
        C.HasDefault = Columns.Value(R, 4) == "t";
        C.Generated = Columns.Value(R, 5) == "t";
        C.TypeName = String(Columns.Value(R, 6));
        int Size = 0;
        const TFieldType Type = PgFieldType(C.Oid, std::stoi(String(Columns.Value(R, 2))), Size);
        const bool NotNull = Columns.Value(R, 3) == "t";
        AddField(String(Columns.Value(R, 0)), Type, Size, NotNull && !C.HasDefault && !C.Generated,
                 C.Generated);
        FColumns.push_back(std::move(C));
    }
    TField* Version = AddField(VersionName, ftString, 0, false, true);
    Version->SetVisible(false);
    FVersionField = Version->FieldNo();

    FSelectList.clear();
    for (const TColumn& C : FColumns)
        FSelectList += C.Quoted + ", ";
    FSelectList += "xmin::text";

    // The row readers: a range of keys, and a list of keys (one array per key column).
    String Names, Low, High, Arrays;
    const std::size_t Parts = FKeyColumns.size();
    for (std::size_t P = 0; P < Parts; ++P) {
        const TColumn& K = FColumns[static_cast<std::size_t>(FKeyColumns[P])];
        const String Sep = P ? ", " : "";
        Names += Sep + K.Quoted;
        Low += Sep + "$" + std::to_string(P + 1) + "::" + K.TypeName;
        High += Sep + "$" + std::to_string(Parts + P + 1) + "::" + K.TypeName;
        Arrays += Sep + "$" + std::to_string(P + 1) + "::" + K.TypeName + "[]";
    }
    const String Select = "SELECT " + FSelectList + " FROM " + FTable + " WHERE ";
    FFetchRange = Select + "(" + Names + ") >= (" + Low + ") AND (" + Names + ") <= (" + High + ")";
    FFetchKeys = Parts == 1 ? Select + Names + " = ANY(" + Arrays + ")"
                            : Select + "(" + Names + ") IN (SELECT * FROM unnest(" + Arrays + "))";
    FFetchAfter =
        Select + "(" + Names + ") > (" + Low + ") ORDER BY " + Names + " LIMIT $" + std::to_string(Parts + 1);
    FFetchFirst = "SELECT " + FSelectList + " FROM " + FTable + " ORDER BY " + Names + " LIMIT $1";
    FKeyed = true;
    CountRows();
}

void TPgDataSet::CountRows() {
    FKeys.clear();
    FKeysComplete = false;
    FRowCount = std::stoi(String(Connection().Query(Cached("SELECT count(*) FROM " + FTable)).Value(0, 0)));
}

void TPgDataSet::LoadKeys() {
    String Sql = "SELECT ";
    String Order;
    for (int K : FKeyColumns)
        Order += (Order.empty() ? "" : ", ") + FColumns[static_cast<std::size_t>(K)].Quoted;
    Sql += Order + " FROM " + FTable + " ORDER BY " + Order;
    TPgResult Keys = Connection().Query(Cached(Sql));
    // Rows deleted or added elsewhere since the count move the later rows: the
    // pages read by the old positions no longer match the list.
    if (Keys.RowCount() != InternalRecordCount()) ClearRowCache();
    FKeysComplete = true;
    FKeys.clear();
    FKeys.reserve(static_cast<std::size_t>(Keys.RowCount()));
    const int Parts = static_cast<int>(FKeyColumns.size());
    for (int R = 0; R < Keys.RowCount(); ++R) {
        String Key;
        for (int P = 0; P < Parts; ++P) {
            if (P > 0) Key += '\0';
            const unsigned Oid =
                FColumns[static_cast<std::size_t>(FKeyColumns[static_cast<std::size_t>(P)])].Oid;
            Key += *StoredToPg(PgToStored(Oid, Keys.Value(R, P)));
        }
        FKeys.push_back(std::move(Key));
    }
}

void TPgDataSet::OpenQuery(const String& Sql) {
    if (!FReader) FReader = MakeConnection();
    FReader->Rollback();
    FReader->Exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    FReader->Exec(String("DECLARE ") + CursorName + " SCROLL CURSOR FOR " + Sql);
    FCursorCount =
        static_cast<int>(FReader->Exec(String("MOVE FORWARD ALL IN ") + CursorName).AffectedRows());
    TPgResult Described = FReader->Exec(String("FETCH ABSOLUTE 0 FROM ") + CursorName);
    if (FieldCount() == 0) {
        FCursorTypes.clear();
        for (int C = 0; C < Described.ColumnCount(); ++C) {
            int Size = 0;
            const unsigned Oid = Described.ColumnType(C);
            AddField(Described.ColumnName(C), PgFieldType(Oid, Described.ColumnModifier(C), Size), Size,
                     false, true);
            FCursorTypes.push_back(Oid);
        }
    }
}

void TPgDataSet::InternalClose() {
    FStatements.clear();
    FKeys.clear();
    FKeys.shrink_to_fit();
    FCursorCount = 0;
    FReader.reset();
    if (FDb) FDb->Close();
}

// ---------------------------------------------------------------- reading

int TPgDataSet::InternalRecordCount() const {
    if (!FKeyed) return FCursorCount;
    return FKeysComplete ? static_cast<int>(FKeys.size()) : FRowCount;
}

TRecordBuffer TPgDataSet::ReadRow(const TPgResult& Result, int Row) const {
    TRecordBuffer Values(static_cast<std::size_t>(FieldCount()));
    for (int C = 0; C < Result.ColumnCount() && C < FieldCount(); ++C) {
        if (Result.IsNull(Row, C)) continue;
        if (C == FVersionField)
            Values[static_cast<std::size_t>(C)] = String(Result.Value(Row, C));
        else
            Values[static_cast<std::size_t>(C)] =
                PgToStored(FKeyed ? FColumns[static_cast<std::size_t>(C)].Oid
                                  : FCursorTypes[static_cast<std::size_t>(C)],
                           Result.Value(Row, C));
    }
    return Values;
}

String TPgDataSet::KeyOf(const TRecordBuffer& Values) const {
    String Key;
    for (std::size_t P = 0; P < FKeyColumns.size(); ++P) {
        if (P > 0) Key += '\0';
        Key += StoredToPg(Values[static_cast<std::size_t>(FKeyColumns[P])]).value_or(String());
    }
    return Key;
}

// Every column comes with the row (and the row version must come with the
// values it belongs to): the page gets them all.
void TPgDataSet::InternalFetch(int First, int Count, TFieldFlags& Columns, TStoredValue* Values) {
    std::vector<TRecordBuffer> Rows;
    FetchRows(First, Count, Rows);
    const auto Width = static_cast<std::size_t>(FieldCount());
    for (TRecordBuffer& Row : Rows) {
        std::move(Row.begin(), Row.begin() + static_cast<std::ptrdiff_t>(std::min(Row.size(), Width)), Values);
        Values += Width;
    }
    Columns.assign(Width, true);
}

void TPgDataSet::FetchRows(int First, int Count, std::vector<TRecordBuffer>& Rows) {
    if (Count <= 0) return;
    if (!FKeyed) {
        // The cursor went with a lost connection: declare it again.
        if (!FReader || !FReader->InTransaction()) OpenQuery(QueryText());
        TPgResult Page = FReader->Exec("MOVE ABSOLUTE " + std::to_string(First) + " IN " + CursorName +
                                       "; FETCH FORWARD " + std::to_string(Count) + " FROM " + CursorName);
        for (int R = 0; R < Page.RowCount(); ++R)
            Rows.push_back(ReadRow(Page, R));
        Rows.resize(Rows.size() + static_cast<std::size_t>(Count - std::min(Count, Page.RowCount())));
        return;
    }

    // Reading on from the keys known so far (the usual case: scrolling from the
    // top) needs no key list: the next rows in key order come with their keys.
    if (!FKeysComplete && First == static_cast<int>(FKeys.size())) {
        TPgParams Params;
        if (!FKeys.empty())
            for (String& Part : SplitKey(FKeys.back(), FKeyColumns.size()))
                Params.push_back(std::move(Part));
        Params.push_back(std::to_string(Count));
        TPgResult Page = Connection().Query(Cached(FKeys.empty() ? FFetchFirst : FFetchAfter), Params);
        for (int R = 0; R < Page.RowCount(); ++R) {
            Rows.push_back(ReadRow(Page, R));
            FKeys.push_back(KeyOf(Rows.back()));
        }
        // Fewer rows than counted (deleted since): the next read loads every key.
        Rows.resize(Rows.size() + static_cast<std::size_t>(Count - Page.RowCount()));
        return;
    }
    // Any other page needs the row keys up to it: read them all once.
    if (!FKeysComplete && First + Count > static_cast<int>(FKeys.size())) LoadKeys();

    // The page's keys are a run in key order (unless the user inserted rows
    // here, which keep the place they were inserted at): one range scan reads
    // it, and any key the range missed is read by itself.
    const int End = std::min(First + Count, static_cast<int>(FKeys.size()));
    std::unordered_map<String, TRecordBuffer> ByKey;
    auto Collect = [&](const TPgResult& Result) {
        for (int R = 0; R < Result.RowCount(); ++R) {
            TRecordBuffer Values = ReadRow(Result, R);
            String Key = KeyOf(Values);
            ByKey.insert_or_assign(std::move(Key), std::move(Values));
        }
    };
    if (First < End) {
        TPgParams Params;
        for (const String* Bound :
             {&FKeys[static_cast<std::size_t>(First)], &FKeys[static_cast<std::size_t>(End - 1)]})
            for (String& Part : SplitKey(*Bound, FKeyColumns.size()))
                Params.push_back(std::move(Part));
        Collect(Connection().Query(Cached(FFetchRange), Params));
    }
    std::vector<const String*> Missing;
    for (int I = First; I < End; ++I)
        if (!ByKey.count(FKeys[static_cast<std::size_t>(I)]))
            Missing.push_back(&FKeys[static_cast<std::size_t>(I)]);
    if (!Missing.empty()) Collect(Connection().Query(Cached(FFetchKeys), KeyArrays(Missing)));
    for (int I = First; I < First + Count; ++I) {
        auto Found = I < End ? ByKey.find(FKeys[static_cast<std::size_t>(I)]) : ByKey.end();
        // A row deleted by someone else since the keys were read gives an empty buffer.
        Rows.push_back(Found == ByKey.end() ? TRecordBuffer() : std::move(Found->second));
    }
}

// One array literal of key texts per key column.
TPgParams TPgDataSet::KeyArrays(const std::vector<const String*>& Keys) const {
    const std::size_t Parts = FKeyColumns.size();
    if (Parts == 1) return {ArrayLiteral(Keys)};
    std::vector<std::vector<String>> Split(Parts);
    for (const String* Key : Keys) {
        auto Pieces = SplitKey(*Key, Parts);
        for (std::size_t P = 0; P < Parts; ++P)
            Split[P].push_back(std::move(Pieces[P]));
    }
    TPgParams Params;
    for (std::size_t P = 0; P < Parts; ++P) {
        std::vector<const String*> Column;
        for (const String& Piece : Split[P])
            Column.push_back(&Piece);
        Params.push_back(ArrayLiteral(Column));
    }
    return Params;
}

void TPgDataSet::InternalRefresh() {
    ClearRowCache();
    if (FKeyed) {
        CountRows();
    } else {
        FReader.reset();
        OpenQuery(QueryText());
    }
}

// ---------------------------------------------------------------- writing

String TPgDataSet::KeyMatch(int FirstParam) const {
    String Match;
    for (std::size_t P = 0; P < FKeyColumns.size(); ++P) {
        const TColumn& K = FColumns[static_cast<std::size_t>(FKeyColumns[P])];
        Match += (P ? " AND " : "") + K.Quoted + " = $" + std::to_string(FirstParam + static_cast<int>(P)) +
                 "::" + K.TypeName;
    }
    return Match;
}

// A value as the parameter of column C. Text cannot hold a NUL character (libpq
// would cut the value there and store the rest as a success): bytes for a
// bytea column go in its hex form, in full; any other column refuses them.
TPgParam TPgDataSet::ColumnParam(std::size_t C, const TStoredValue& Value) const {
    const auto* Text = std::get_if<String>(&Value);
    if (!Text || Text->find('\0') == String::npos) return StoredToPg(Value);
    if (FColumns[C].Oid == pgtype::Bytea) {
        static constexpr char Digits[] = "0123456789abcdef";
        String Hex = "\\x";
        for (unsigned char Byte : *Text) {
            Hex += Digits[Byte >> 4];
            Hex += Digits[Byte & 15];
        }
        return Hex;
    }
    DatabaseError("Field '" + Fields(static_cast<int>(C))->DisplayLabel() +
                  "' holds a NUL character, which the database server cannot store in text");
}

void TPgDataSet::AddKeyParams(const TRecordBuffer& Values, TPgParams& Params) const {
    for (int K : FKeyColumns)
        Params.push_back(StoredToPg(Values[static_cast<std::size_t>(K)]));
}

// The record's fields all come with its page (Read marks them all).
void TPgDataSet::InternalPost(int& Index, bool Inserting, const TRecordBuffer& Old, TRecordBuffer& Values,
                              const TFieldFlags& Assigned, TFieldFlags& Read) {
    if (!FKeyed) DatabaseError(SDataSetReadOnly);
    // Row positions shift or keys move: the list must hold every key first.
    bool KeyChanged = false;
    for (int K : FKeyColumns)
        KeyChanged = KeyChanged ||
                     (!Inserting && Values[static_cast<std::size_t>(K)] != Old[static_cast<std::size_t>(K)]);
    if (!FKeysComplete && (Inserting || KeyChanged || Index >= static_cast<int>(FKeys.size()))) LoadKeys();
    // Rows deleted elsewhere may have left the position past the end of the list.
    if (Inserting) Index = std::min(Index, static_cast<int>(FKeys.size()));
    TPgParams Params;
    String Sql;
    if (Inserting) {
        String Names, Places;
        for (std::size_t C = 0; C < FColumns.size(); ++C) {
            const bool Set = (C < Assigned.size() && Assigned[C]) || !IsNullValue(Values[C]);
            if (FColumns[C].Generated || !Set) continue;
            Params.push_back(ColumnParam(C, Values[C]));
            Names += (Names.empty() ? "" : ", ") + FColumns[C].Quoted;
            Places += (Places.empty() ? "$" : ", $") + std::to_string(Params.size());
        }
        Sql = "INSERT INTO " + FTable +
              (Names.empty() ? " DEFAULT VALUES" : " (" + Names + ") VALUES (" + Places + ")") +
              " RETURNING " + FSelectList;
    } else {
        String Sets;
        for (std::size_t C = 0; C < FColumns.size(); ++C) {
            if (FColumns[C].Generated || Values[C] == Old[C]) continue;
            Params.push_back(ColumnParam(C, Values[C]));
            Sets += (Sets.empty() ? "" : ", ") + FColumns[C].Quoted + " = $" + std::to_string(Params.size());
        }
        const TStoredValue& Version = Old[static_cast<std::size_t>(FVersionField)];
        if (IsNullValue(Version)) DatabaseError(SRecordChanged); // the row was gone when it was read
        if (Sets.empty()) return;                                // nothing changed: nothing to write
        const int KeyParam = static_cast<int>(Params.size()) + 1;
        AddKeyParams(Old, Params);
        Params.push_back(StoredToPg(Version));
        Sql = "UPDATE " + FTable + " SET " + Sets + " WHERE " + KeyMatch(KeyParam) + " AND xmin = $" +
              std::to_string(Params.size()) + "::xid RETURNING " + FSelectList;
    }
    TPgResult Written = Connection().Exec(Cached(Sql), Params);
    if (Written.RowCount() == 0) DatabaseError(SRecordChanged);
    Values = ReadRow(Written, 0);
    Read.assign(Values.size(), true);
    if (Inserting) {
        FKeys.insert(FKeys.begin() + Index, KeyOf(Values));
    } else if (const int Place = PlaceOf(Index, KeyOf(Old)); Place >= 0) {
        FKeys[static_cast<std::size_t>(Place)] = KeyOf(Values);
        Index = Place;
    }
}

// Where the row with Key is in the list: at Index as a rule, elsewhere when the
// list was read again since the position was taken; -1 when it is not there.
int TPgDataSet::PlaceOf(int Index, const String& Key) const {
    if (Index >= 0 && Index < static_cast<int>(FKeys.size()) && FKeys[static_cast<std::size_t>(Index)] == Key)
        return Index;
    const auto Found = std::find(FKeys.begin(), FKeys.end(), Key);
    return Found == FKeys.end() ? -1 : static_cast<int>(Found - FKeys.begin());
}

void TPgDataSet::InternalDelete(int Index, const TRecordBuffer& Old) {
    if (!FKeyed) DatabaseError(SDataSetReadOnly);
    if (!FKeysComplete) LoadKeys();
    const TStoredValue& Version = Old.size() > static_cast<std::size_t>(FVersionField)
                                      ? Old[static_cast<std::size_t>(FVersionField)]
                                      : TStoredValue();
    if (IsNullValue(Version)) DatabaseError(SRecordChanged);
    TPgParams Params;
    AddKeyParams(Old, Params);
    Params.push_back(StoredToPg(Version));
    const String Sql = "DELETE FROM " + FTable + " WHERE " + KeyMatch(1) + " AND xmin = $" +
                       std::to_string(Params.size()) + "::xid";
    if (Connection().Exec(Cached(Sql), Params).AffectedRows() == 0) DatabaseError(SRecordChanged);
    if (const int Place = PlaceOf(Index, KeyOf(Old)); Place >= 0) FKeys.erase(FKeys.begin() + Place);
}

} // namespace fw
