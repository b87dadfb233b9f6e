#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <framework/db/pg/PgConnection.h>
#include <libpq-fe.h>
#include <poll.h>

namespace fw {

namespace {

String Trimmed(const char* Text) {
    String S = Text ? Text : "";
    while (!S.empty() && (S.back() == '\n' || S.back() == ' ' || S.back() == '\r'))
        S.pop_back();
    return S;
}

// The session settings the field conversions rely on: ISO dates and exact floats.
constexpr const char* SessionSetup = "SET DateStyle = 'ISO, YMD'; SET extra_float_digits = 3; ";

constexpr const char* SUnreadablePassword =
    "the connection string cannot be read from its password on (quote a password that holds blanks or "
    "quotes: password='...')";

bool IsUri(const String& Text) {
    return Text.rfind("postgresql://", 0) == 0 || Text.rfind("postgres://", 0) == 0;
}

// %XX escapes of a URI part; false on a bad one.
bool PercentDecode(std::string_view In, String& Out) {
    Out.clear();
    for (std::size_t I = 0; I < In.size(); ++I) {
        if (In[I] != '%') {
            Out += In[I];
            continue;
        }
        if (I + 2 >= In.size() || !std::isxdigit(static_cast<unsigned char>(In[I + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(In[I + 2])))
            return false;
        Out += static_cast<char>(std::stoi(String(In.substr(I + 1, 2)), nullptr, 16));
        I += 2;
    }
    return true;
}

String QuoteValue(const String& Value) {
    String Out = "'";
    for (char C : Value) {
        if (C == '\\' || C == '\'') Out += '\\';
        Out += C;
    }
    return Out + "'";
}

TPgConnInfo SplitUri(const String& Uri) {
    TPgConnInfo R;
    const std::size_t Start = Uri.find("://") + 3;
    // The user part ends at the first '@' before any '/', as libpq reads it.
    std::size_t At = Start;
    while (At < Uri.size() && Uri[At] != '@' && Uri[At] != '/')
        ++At;
    String Rest = Uri;
    if (At < Uri.size() && Uri[At] == '@') {
        const std::size_t Colon = Uri.find(':', Start);
        if (Colon < At) {
            if (!PercentDecode(std::string_view(Uri).substr(Colon + 1, At - Colon - 1), R.Password))
                R.Problem = SUnreadablePassword;
            Rest = Uri.substr(0, Colon) + Uri.substr(At);
        }
    }
    // A "password" parameter of the query.
    const std::size_t Query = Rest.find('?');
    if (Query != String::npos) {
        String Kept;
        std::size_t From = Query + 1;
        while (From <= Rest.size()) {
            std::size_t To = Rest.find('&', From);
            if (To == String::npos) To = Rest.size();
            const String Param = Rest.substr(From, To - From);
            if (Param.rfind("password=", 0) == 0) {
                if (!PercentDecode(std::string_view(Param).substr(9), R.Password))
                    R.Problem = SUnreadablePassword;
            } else if (!Param.empty()) {
                Kept += (Kept.empty() ? "" : "&") + Param;
            }
            From = To + 1;
        }
        Rest = Rest.substr(0, Query) + (Kept.empty() ? "" : "?" + Kept);
    }
    R.Text = R.Problem.empty() ? Rest : Rest.substr(0, Start);
    return R;
}

// The keyword = value form, read the way libpq reads it.
TPgConnInfo SplitKeywords(const String& Text) {
    TPgConnInfo R;
    auto Space = [](char C) { return std::isspace(static_cast<unsigned char>(C)) != 0; };
    std::size_t I = 0;
    const std::size_t N = Text.size();
    bool AfterPassword = false;
    while (I < N) {
        while (I < N && Space(Text[I]))
            ++I;
        if (I == N) break;
        const std::size_t PairStart = I;
        while (I < N && !Space(Text[I]) && Text[I] != '=')
            ++I;
        const String Keyword = Text.substr(PairStart, I - PairStart);
        while (I < N && Space(Text[I]))
            ++I;
        bool Readable = I < N && Text[I] == '=';
        String Value;
        if (Readable) {
            ++I;
            while (I < N && Space(Text[I]))
                ++I;
            if (I < N && Text[I] == '\'') {
                ++I;
                Readable = false;
                for (; I < N; ++I) {
                    if (Text[I] == '\\' && I + 1 < N) {
                        Value += Text[++I];
                    } else if (Text[I] == '\'') {
                        ++I;
                        Readable = true;
                        break;
                    } else {
                        Value += Text[I];
                    }
                }
            } else {
                for (; I < N && !Space(Text[I]); ++I) {
                    if (Text[I] == '\\' && I + 1 < N) ++I;
                    Value += Text[I];
                }
            }
        }
        if (!Readable) {
            // What cannot be read is left to libpq's error, unless the password is
            // nearby or further on: then nothing from it on is kept or shown.
            if (AfterPassword || Keyword == "password" || Text.find("password", PairStart) != String::npos) {
                R.Problem = SUnreadablePassword;
            } else {
                R.Text += (R.Text.empty() ? "" : " ") + Text.substr(PairStart);
            }
            return R;
        }
        AfterPassword = false;
        if (Keyword == "password") {
            R.Password = Value;
            AfterPassword = true;
            continue;
        }
        if (Keyword == "dbname" && (IsUri(Value) || Value.find('=') != String::npos)) {
            // libpq reads a connection string here too.
            TPgConnInfo Inner = SplitPassword(Value);
            if (!Inner.Problem.empty()) {
                R.Problem = Inner.Problem;
                return R;
            }
            if (!Inner.Password.empty()) {
                R.Password = Inner.Password;
                R.Text += (R.Text.empty() ? "dbname=" : " dbname=") + QuoteValue(Inner.Text);
                continue;
            }
        }
        R.Text += (R.Text.empty() ? "" : " ") + Text.substr(PairStart, I - PairStart);
    }
    return R;
}

} // namespace

TPgConnInfo SplitPassword(const String& ConnInfo) {
    TPgConnInfo Split = IsUri(ConnInfo) ? SplitUri(ConnInfo) : SplitKeywords(ConnInfo);
    // A text without a password stays as it was written.
    if (Split.Password.empty() && Split.Problem.empty()) Split.Text = ConnInfo;
    return Split;
}

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

TPgConnection::TPgConnection(String ConnInfo, String Password) {
    TPgConnInfo Split = SplitPassword(ConnInfo);
    FConnInfo = std::move(Split.Text);
    FPassword = Password.empty() ? std::move(Split.Password) : std::move(Password);
    FProblem = std::move(Split.Problem);
}

void TPgConnection::SetTimeouts(int StatementMs, int LockMs) {
    FStatementTimeout = std::max(StatementMs, 0);
    FLockTimeout = std::max(LockMs, 0);
    FTimeoutsChanged = Connected();
}

String TPgConnection::TimeoutSettings() const {
    return "SET statement_timeout = " + std::to_string(FStatementTimeout) +
           "; SET lock_timeout = " + std::to_string(FLockTimeout);
}

// The password never leaves in a message, whatever libpq or the server put in it.
String TPgConnection::Masked(String Text) const {
    if (FPassword.size() < 4) return Text;
    for (std::size_t At = Text.find(FPassword); At != String::npos; At = Text.find(FPassword, At + 8))
        Text.replace(At, FPassword.size(), "********");
    return Text;
}

TPgConnection::~TPgConnection() {
    Close();
}

bool TPgConnection::Connected() const {
    return FConn && PQstatus(FConn) == CONNECTION_OK;
}

void TPgConnection::Open() {
    if (Connected()) return;
    Close();
    if (!FProblem.empty())
        throw EPgError("Cannot connect to the database server: " + FProblem, "08001", true);
    for (bool Asked = false;;) {
        // Defaults first: settings in the connection string override them; the password last.
        const char* Keys[] = {"connect_timeout",
                              "client_encoding",
                              "fallback_application_name",
                              "dbname",
                              FPassword.empty() ? nullptr : "password",
                              nullptr};
        const char* Values[] = {"10", "UTF8", "qz", FConnInfo.c_str(), FPassword.c_str(), nullptr};
        FConn = PQconnectdbParams(Keys, Values, 1);
        if (FConn && PQstatus(FConn) == CONNECTION_OK) break;
        const bool NeedsPassword = FConn && PQconnectionNeedsPassword(FConn);
        String Reason = FConn ? Trimmed(PQerrorMessage(FConn)) : "out of memory";
        Close();
        String Given;
        if (NeedsPassword && !Asked && OnPassword && OnPassword(Given) && !Given.empty()) {
            FPassword = std::move(Given);
            Asked = true;
            continue;
        }
        throw EPgError(Masked("Cannot connect to the database server: " + Reason), "08001", true);
    }
    PQsetNoticeProcessor(
        FConn, [](void*, const char*) {}, nullptr);
    FWasInTransaction = false;
    PGresult* Setup = Await(PQsendQuery(FConn, (SessionSetup + TimeoutSettings()).c_str()));
    const bool SetupOk = PQresultStatus(Setup) == PGRES_COMMAND_OK;
    PQclear(Setup);
    if (!SetupOk) {
        String Reason = Trimmed(PQerrorMessage(FConn));
        Close();
        throw EPgError(Masked("Cannot connect to the database server: " + Reason), "08001", true);
    }
    ++FSession;
    FTimeoutsChanged = false;
}

pg_result* TPgConnection::Await(bool Sent) {
    if (!Sent) RaiseLost();
    // The server ends a statement at its statement timeout; no answer at all for twice
    // that (and a second) means it is not answering (stopped, or the network gone).
    const int Limit = FStatementTimeout > 0 ? 2 * FStatementTimeout + 1000 : 0;
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Limit);
    PGresult* Last = nullptr;
    for (;;) {
        while (PQisBusy(FConn)) {
            int Wait = -1;
            if (Limit > 0) {
                const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      Deadline - std::chrono::steady_clock::now())
                                      .count();
                if (Left <= 0) {
                    PQclear(Last);
                    RaiseNoAnswer(Limit);
                }
                Wait = static_cast<int>(Left);
            }
            pollfd Socket{PQsocket(FConn), POLLIN, 0};
            const int Ready = poll(&Socket, 1, Wait);
            if ((Ready < 0 && errno != EINTR) || (Ready > 0 && !PQconsumeInput(FConn))) {
                PQclear(Last);
                RaiseLost();
            }
        }
        PGresult* Next = PQgetResult(FConn);
        if (!Next) return Last;
        // The first error is the answer; what follows it is dropped.
        if (Last && PQresultStatus(Last) == PGRES_FATAL_ERROR) {
            PQclear(Next);
            continue;
        }
        PQclear(Last);
        Last = Next;
    }
}

void TPgConnection::RaiseNoAnswer(int WaitedMs) {
    FTransactionLost = FWasInTransaction;
    Close();
    throw EPgError("The database server did not answer within " + std::to_string((WaitedMs + 999) / 1000) +
                       " s; the connection was closed",
                   "08006", true);
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
    throw EPgError(
        Masked("The connection to the database server was lost" + (Reason.empty() ? "" : ": " + Reason)),
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
    throw EPgError(Masked(Message), SqlState, false);
}

TPgResult TPgConnection::Run(TPgStatement* Statement, const String& Sql, const TPgParams& Params) {
    if (FTransactionLost)
        throw EPgError(
            "The transaction was lost with the connection to the database server and nothing of it "
            "was saved; roll it back before going on",
            "08006", false);
    Open();
    FWasInTransaction = InTransaction();
    if (FTimeoutsChanged && !FWasInTransaction) {
        // New bounds for this session, set between transactions so a rollback keeps them.
        PGresult* Set = Await(PQsendQuery(FConn, TimeoutSettings().c_str()));
        if (PQresultStatus(Set) != PGRES_COMMAND_OK) RaiseFromResult(Set);
        PQclear(Set);
        FTimeoutsChanged = false;
    }
    std::vector<const char*> Values;
    Values.reserve(Params.size());
    for (const TPgParam& P : Params)
        Values.push_back(P ? P->c_str() : nullptr);
    const int Count = static_cast<int>(Values.size());

    PGresult* Result = nullptr;
    if (Statement) {
        if (Statement->FSession != FSession || Statement->FName.empty()) {
            String Name = "qz_" + std::to_string(++FStatementCount);
            PGresult* Prepared = Await(PQsendPrepare(FConn, Name.c_str(), Sql.c_str(), 0, nullptr));
            if (PQresultStatus(Prepared) != PGRES_COMMAND_OK) RaiseFromResult(Prepared);
            PQclear(Prepared);
            Statement->FName = std::move(Name);
            Statement->FSession = FSession;
        }
        Result = Await(
            PQsendQueryPrepared(FConn, Statement->FName.c_str(), Count, Values.data(), nullptr, nullptr, 0));
    } else if (Params.empty()) {
        Result = Await(PQsendQuery(FConn, Sql.c_str()));
    } else {
        Result =
            Await(PQsendQueryParams(FConn, Sql.c_str(), Count, nullptr, Values.data(), nullptr, nullptr, 0));
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
    try {
        FWasInTransaction = true;
        PQclear(Await(PQsendQuery(FConn, "ROLLBACK")));
    } catch (const EPgError&) {
        // Lost on the way: the server drops the transaction with the connection.
        FTransactionLost = false;
    }
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
