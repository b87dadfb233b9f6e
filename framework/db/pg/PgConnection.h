#pragma once
// A thin, owning wrapper over one libpq connection: statements with text
// parameters, prepared statements, transactions, and errors raised as
// EDatabaseError with the server's own message. A connection that breaks
// (server stopped, network gone) raises a "lost" error for the statement that
// failed and is opened again on the next statement.

#include <framework/rtl/Exceptions.h>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;

namespace fw {

// A database error from the server or from libpq. SqlState is the five-character
// code ("23505", "40001"; empty for client-side failures).
class EPgError : public EDatabaseError {
public:
    EPgError(String Message, String SqlState, bool ConnectionLost)
        : EDatabaseError(std::move(Message)), FSqlState(std::move(SqlState)),
          FConnectionLost(ConnectionLost) {}
    const String& SqlState() const { return FSqlState; }
    // The connection broke (or could not be opened): nothing of the current
    // transaction was kept, and the next statement reconnects.
    bool ConnectionLost() const { return FConnectionLost; }

private:
    String FSqlState;
    bool FConnectionLost;
};

// One parameter in text form; nullopt is SQL NULL.
using TPgParam = std::optional<String>;
using TPgParams = std::vector<TPgParam>;

// The rows of one statement's result, in text form. Owns the libpq result.
class TPgResult {
public:
    TPgResult() = default;
    explicit TPgResult(pg_result* Result);

    int RowCount() const;
    int ColumnCount() const;
    String ColumnName(int Column) const;
    // The column's type oid (see PgTypes.h) and its type modifier (-1 when none).
    unsigned ColumnType(int Column) const;
    int ColumnModifier(int Column) const;
    // The table oid and column number a result column comes from (0 when computed).
    unsigned ColumnTable(int Column) const;
    int ColumnTableColumn(int Column) const;

    bool IsNull(int Row, int Column) const;
    std::string_view Value(int Row, int Column) const;
    // The number of rows an INSERT, UPDATE or DELETE touched.
    long AffectedRows() const;
    // The command tag: "UPDATE 1", "COMMIT", "ROLLBACK".
    String CommandTag() const;

private:
    struct Clear {
        void operator()(pg_result* Result) const;
    };
    std::unique_ptr<pg_result, Clear> FResult;
};

// A statement prepared on first use in each session (a reconnect forgets the
// server's copy; the statement prepares itself again).
class TPgStatement {
public:
    explicit TPgStatement(String Sql) : FSql(std::move(Sql)) {}
    const String& Sql() const { return FSql; }

private:
    friend class TPgConnection;
    String FSql;
    String FName;
    unsigned FSession = 0;
};

// A connection string taken apart from its password.
struct TPgConnInfo {
    String Text;     // the connection string without its password
    String Password; // the password it held ("" when none)
    String Problem;  // why the text around the password cannot be read ("" when it can)
};
// Takes the password out of a libpq connection string: "password=..." (also inside a
// "dbname=" that holds a connection string), the password of a postgresql:// URI and its
// "password" parameter. The rest can be shown, stored and handed to libpq without it.
// When the text around the password cannot be read (an unclosed quote, a blank in an
// unquoted password, a bad %-escape) Problem says so and Text keeps only what comes
// before the password.
TPgConnInfo SplitPassword(const String& ConnInfo);

// Default bounds of every wait on the server, in milliseconds (0: no bound).
inline constexpr int PgDefaultStatementTimeout = 60000;
inline constexpr int PgDefaultLockTimeout = 10000;

class TPgConnection {
public:
    // ConnInfo is a libpq connection string, "host=/tmp/x dbname=app" or
    // "postgresql://user@host/app"; a password in it is taken out (SplitPassword) and
    // kept apart, as is Password when given. Nothing is connected until Open or the first
    // statement.
    explicit TPgConnection(String ConnInfo, String Password = String());
    ~TPgConnection();
    TPgConnection(const TPgConnection&) = delete;
    TPgConnection& operator=(const TPgConnection&) = delete;

    // The connection string without its password.
    const String& ConnInfo() const { return FConnInfo; }
    // The password sent when the server asks for one (libpq also reads PGPASSWORD and the
    // password file). Never part of a message: every error text has it masked.
    void SetPassword(const String& Value) { FPassword = Value; }
    // Asked for a password when the server wants one and none was given: true with a
    // password tries once more with it (and keeps it for reconnecting).
    std::function<bool(String& Password)> OnPassword;

    // The server ends a statement that runs longer than StatementMs, or that waits longer
    // than LockMs for another session's lock ("canceling statement due to ... timeout");
    // a server that does not answer at all for twice StatementMs (and a second) is given
    // up: the connection is closed as lost. 0 switches a bound off. Set in the session
    // before its next statement outside a transaction.
    void SetTimeouts(int StatementMs, int LockMs);
    int StatementTimeout() const { return FStatementTimeout; }
    int LockTimeout() const { return FLockTimeout; }

    // Connects when not connected or when the connection broke; raises EPgError
    // ("Cannot connect to the database server: ...") when the server cannot be reached.
    void Open();
    void Close();
    bool Connected() const;

    TPgResult Exec(const String& Sql, const TPgParams& Params = {});
    TPgResult Exec(TPgStatement& Statement, const TPgParams& Params = {});
    // A read with no effect: when the connection turns out to be broken and no
    // transaction was open, it reconnects and runs once more before giving up.
    TPgResult Query(TPgStatement& Statement, const TPgParams& Params = {});

    // A transaction opened here and lost with its connection stays pending:
    // InTransaction is true and every statement (Commit too) raises until
    // Rollback, so nothing meant for it runs on its own instead.
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // A quoted identifier ("Name" with inner quotes doubled) for building statements.
    static String QuoteIdent(std::string_view Name);

private:
    TPgResult Run(TPgStatement* Statement, const String& Sql, const TPgParams& Params);
    // The result of the statement just sent (the last one of several, or the first error),
    // waiting no longer than the answer bound.
    pg_result* Await(bool Sent);
    String TimeoutSettings() const;
    String Masked(String Text) const;
    [[noreturn]] void RaiseFromResult(pg_result* Result);
    [[noreturn]] void RaiseLost();
    [[noreturn]] void RaiseNoAnswer(int WaitedMs);

    String FConnInfo;
    String FPassword;
    String FProblem; // the connection string cannot be read near its password
    int FStatementTimeout = PgDefaultStatementTimeout;
    int FLockTimeout = PgDefaultLockTimeout;
    bool FTimeoutsChanged = false; // set in the session before its next statement
    pg_conn* FConn = nullptr;
    unsigned FSession = 0; // counts successful connections; statements compare it
    unsigned FStatementCount = 0;
    bool FWasInTransaction = false; // when the running statement started
    bool FTransactionLost = false;
};

} // namespace fw
