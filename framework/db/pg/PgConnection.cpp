#include <cstdlib>
#include <cstring>
#include <framework/db/pg/PgConnection.h>
#include <libpq-fe.h>

namespace fw {

namespace {

String Trimmed(const char* Text) {
    String S = Text ? Text : "";
    while (!S.empty() && (S.back() == '\n' || S.back() == ' ' || S.back() == '\r'))
        S.pop_back();
    return S;
}

// The session settings the field conversions rely on: ISO dates and exact floats.
constexpr const char* SessionSetup = "SET DateStyle = 'ISO, YMD'; SET extra_float_digits = 3";

} // namespace

void TPgResult::Clear::operator()(pg_result* Result) const {
    PQclear(Result);
}

TPgResult::TPgResult(pg_result* Result) : FResult(Result) {}

int TPgResult::RowCount() const {
    return FResult ? PQntuples(FResult.get()) : 0;
}
int TPgResult::ColumnCount() const {
    return FResult ? PQnfields(FResult.get()) : 0;
}
String TPgResult::ColumnName(int Column) const {
    return PQfname(FResult.get(), Column);
}
unsigned TPgResult::ColumnType(int Column) const {
    return PQftype(FResult.get(), Column);
}
int TPgResult::ColumnModifier(int Column) const {
    return PQfmod(FResult.get(), Column);
}
unsigned TPgResult::ColumnTable(int Column) const {
    return PQftable(FResult.get(), Column);
}
int TPgResult::ColumnTableColumn(int Column) const {
    return PQftablecol(FResult.get(), Column);
}

bool TPgResult::IsNull(int Row, int Column) const {
    return PQgetisnull(FResult.get(), Row, Column) != 0;
}

std::string_view TPgResult::Value(int Row, int Column) const {
    return {PQgetvalue(FResult.get(), Row, Column),
            static_cast<std::size_t>(PQgetlength(FResult.get(), Row, Column))};
}

String TPgResult::CommandTag() const {
    return FResult ? PQcmdStatus(FResult.get()) : "";
}

long TPgResult::AffectedRows() const {
    const char* Count = FResult ? PQcmdTuples(FResult.get()) : "";
    return *Count ? std::strtol(Count, nullptr, 10) : 0;
}

TPgConnection::TPgConnection(String ConnInfo) : FConnInfo(std::move(ConnInfo)) {}

TPgConnection::~TPgConnection() {
    Close();
}

bool TPgConnection::Connected() const {
    return FConn && PQstatus(FConn) == CONNECTION_OK;
}

void TPgConnection::Open() {
    if (Connected()) return;
    Close();
    // Defaults first: settings in the connection string override them.
    const char* Keys[] = {"connect_timeout", "client_encoding", "fallback_application_name", "dbname",
                          nullptr};
    const char* Values[] = {"10", "UTF8", "qz", FConnInfo.c_str(), nullptr};
    FConn = PQconnectdbParams(Keys, Values, 1);
    if (!FConn || PQstatus(FConn) != CONNECTION_OK) {
        String Reason = FConn ? Trimmed(PQerrorMessage(FConn)) : "out of memory";
        Close();
        throw EPgError("Cannot connect to the database server: " + Reason, "08001", true);
    }
    PQsetNoticeProcessor(
        FConn, [](void*, const char*) {}, nullptr);
    PGresult* Setup = PQexec(FConn, SessionSetup);
    const bool SetupOk = PQresultStatus(Setup) == PGRES_COMMAND_OK;
    PQclear(Setup);
    if (!SetupOk) {
        String Reason = Trimmed(PQerrorMessage(FConn));
        Close();
        throw EPgError("Cannot connect to the database server: " + Reason, "08001", true);
    }
    ++FSession;
}

void TPgConnection::Close() {
    if (FConn) PQfinish(FConn);
    FConn = nullptr;
}

void TPgConnection::RaiseLost() {
    // Later statements must not run outside the transaction the application opened.
    FTransactionLost = FWasInTransaction;
    String Reason = FConn ? Trimmed(PQerrorMessage(FConn)) : String();
    Close();
    throw EPgError("The connection to the database server was lost" + (Reason.empty() ? "" : ": " + Reason),
                   "08006", true);
}

void TPgConnection::RaiseFromResult(pg_result* Result) {
    if (!Result || PQstatus(FConn) != CONNECTION_OK) {
        PQclear(Result);
        RaiseLost();
    }
    const char* State = PQresultErrorField(Result, PG_DIAG_SQLSTATE);
    const char* Primary = PQresultErrorField(Result, PG_DIAG_MESSAGE_PRIMARY);
    const char* Detail = PQresultErrorField(Result, PG_DIAG_MESSAGE_DETAIL);
    String Message = Primary ? Primary : Trimmed(PQresultErrorMessage(Result));
    if (Message.empty())
        Message =
            String("Unexpected result from the database server: ") + PQresStatus(PQresultStatus(Result));
    if (Detail) Message += String(" (") + Detail + ")";
    String SqlState = State ? State : "";
    PQclear(Result);
    throw EPgError(Message, SqlState, false);
}

TPgResult TPgConnection::Run(TPgStatement* Statement, const String& Sql, const TPgParams& Params) {
    if (FTransactionLost)
        throw EPgError(
            "The transaction was lost with the connection to the database server and nothing of it "
            "was saved; roll it back before going on",
            "08006", false);
    Open();
    FWasInTransaction = InTransaction();
    std::vector<const char*> Values;
    Values.reserve(Params.size());
    for (const TPgParam& P : Params)
        Values.push_back(P ? P->c_str() : nullptr);
    const int Count = static_cast<int>(Values.size());

    PGresult* Result = nullptr;
    if (Statement) {
        if (Statement->FSession != FSession || Statement->FName.empty()) {
            String Name = "qz_" + std::to_string(++FStatementCount);
            PGresult* Prepared = PQprepare(FConn, Name.c_str(), Sql.c_str(), 0, nullptr);
            if (PQresultStatus(Prepared) != PGRES_COMMAND_OK) RaiseFromResult(Prepared);
            PQclear(Prepared);
            Statement->FName = std::move(Name);
            Statement->FSession = FSession;
        }
        Result = PQexecPrepared(FConn, Statement->FName.c_str(), Count, Values.data(), nullptr, nullptr, 0);
    } else if (Params.empty()) {
        Result = PQexec(FConn, Sql.c_str());
    } else {
        Result = PQexecParams(FConn, Sql.c_str(), Count, nullptr, Values.data(), nullptr, nullptr, 0);
    }
    const ExecStatusType Status = Result ? PQresultStatus(Result) : PGRES_FATAL_ERROR;
    if (Status != PGRES_COMMAND_OK && Status != PGRES_TUPLES_OK) RaiseFromResult(Result);
    return TPgResult(Result);
}

TPgResult TPgConnection::Exec(const String& Sql, const TPgParams& Params) {
    return Run(nullptr, Sql, Params);
}

TPgResult TPgConnection::Exec(TPgStatement& Statement, const TPgParams& Params) {
    return Run(&Statement, Statement.Sql(), Params);
}

TPgResult TPgConnection::Query(TPgStatement& Statement, const TPgParams& Params) {
    // A connection that looks healthy may still be dead (the server restarted
    // since the last statement); only then is a second try worth it.
    const bool Idle = Connected() && !InTransaction() && !FTransactionLost;
    try {
        return Run(&Statement, Statement.Sql(), Params);
    } catch (const EPgError& E) {
        if (!E.ConnectionLost() || !Idle) throw;
    }
    return Run(&Statement, Statement.Sql(), Params);
}

void TPgConnection::StartTransaction() {
    Exec("BEGIN");
}

void TPgConnection::Commit() {
    // COMMIT of a transaction that already failed answers "ROLLBACK": not a success.
    if (Exec("COMMIT").CommandTag() == "ROLLBACK")
        throw EPgError("The transaction was rolled back by the server; nothing was saved", "40000", false);
}

void TPgConnection::Rollback() {
    // Nothing to undo on a broken connection: the server dropped the transaction.
    FTransactionLost = false;
    if (!Connected() || !InTransaction()) return;
    PQclear(PQexec(FConn, "ROLLBACK"));
}

bool TPgConnection::InTransaction() const {
    if (FTransactionLost) return true;
    if (!FConn) return false;
    const PGTransactionStatusType Status = PQtransactionStatus(FConn);
    return Status == PQTRANS_INTRANS || Status == PQTRANS_INERROR || Status == PQTRANS_ACTIVE;
}

String TPgConnection::QuoteIdent(std::string_view Name) {
    String Quoted = "\"";
    for (char C : Name) {
        if (C == '"') Quoted += '"';
        Quoted += C;
    }
    return Quoted + '"';
}

} // namespace fw
