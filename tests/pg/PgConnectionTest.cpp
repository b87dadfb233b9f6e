// The libpq wrapper against a throwaway server: server errors arrive as
// EPgError with the server's message and code, a failed transaction never
// commits as a success, and a broken connection is reported once and reopened
// by the next statement.

#include <framework/db/pg/PgConnection.h>
#include <gtest/gtest.h>
#include <tests/support/PgTestServer.h>

namespace {

using fw::EPgError;
using fw::TPgConnection;
using fw::TPgStatement;

class PgConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        QZ_REQUIRE_PG();
        Db.emplace(qztest::PgTestServer::ConnInfo());
        Db->Exec("DROP TABLE IF EXISTS conn_t; "
                 "CREATE TABLE conn_t (id int PRIMARY KEY, name text NOT NULL, n int CHECK (n > 0))");
    }
    std::optional<TPgConnection> Db;
};

TEST_F(PgConnectionTest, ServerErrorsCarryTheServersMessageAndCodeAndLeaveTheConnectionUsable) {
    Db->Exec("INSERT INTO conn_t VALUES (1, 'one', 1)");
    struct Row {
        const char* Sql;
        const char* SqlState;
        const char* MessagePart;
    } Rows[] = {
        {"INSERT INTO conn_t VALUES (1, 'again', 1)", "23505",
         "duplicate key value violates unique constraint"},
        {"INSERT INTO conn_t VALUES (2, NULL, 1)", "23502", "null value in column \"name\""},
        {"INSERT INTO conn_t VALUES (3, 'x', 0)", "23514", "violates check constraint"},
        {"SELEC 1", "42601", "syntax error"},
        {"SELECT * FROM no_such_table", "42P01", "relation \"no_such_table\" does not exist"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Sql);
        try {
            Db->Exec(R.Sql);
            ADD_FAILURE() << "no error";
        } catch (const EPgError& E) {
            EXPECT_EQ(E.SqlState(), R.SqlState);
            EXPECT_NE(E.Message().find(R.MessagePart), std::string::npos) << E.Message();
            EXPECT_FALSE(E.ConnectionLost());
        }
        EXPECT_EQ(Db->Exec("SELECT count(*) FROM conn_t").Value(0, 0), "1");
    }
}

TEST_F(PgConnectionTest, ParametersAndNullsRoundTripThroughPreparedStatements) {
    TPgStatement Insert("INSERT INTO conn_t VALUES ($1, $2, $3) RETURNING id, n");
    auto Result = Db->Exec(Insert, {"7", "it's \"quoted\"", std::nullopt});
    EXPECT_EQ(Result.Value(0, 0), "7");
    EXPECT_TRUE(Result.IsNull(0, 1));
    auto Read = Db->Exec("SELECT name FROM conn_t WHERE id = $1", {"7"});
    EXPECT_EQ(Read.Value(0, 0), "it's \"quoted\"");
    EXPECT_EQ(Db->Exec("UPDATE conn_t SET n = 5").AffectedRows(), 1);
}

TEST_F(PgConnectionTest, AFailedTransactionNeverCommitsAsASuccess) {
    Db->StartTransaction();
    Db->Exec("INSERT INTO conn_t VALUES (1, 'one', 1)");
    EXPECT_THROW(Db->Exec("INSERT INTO conn_t VALUES (1, 'dup', 1)"), EPgError);
    EXPECT_TRUE(Db->InTransaction());
    EXPECT_THROW(Db->Commit(), EPgError);
    EXPECT_FALSE(Db->InTransaction());
    EXPECT_EQ(Db->Exec("SELECT count(*) FROM conn_t").Value(0, 0), "0");
}

TEST_F(PgConnectionTest, AnUnreachableServerGivesAClearError) {
    TPgConnection Nowhere("host=/nonexistent/folder dbname=x connect_timeout=2");
    try {
        Nowhere.Open();
        FAIL() << "connected to nothing";
    } catch (const EPgError& E) {
        EXPECT_TRUE(E.ConnectionLost());
        EXPECT_EQ(E.Message().rfind("Cannot connect to the database server: ", 0), 0u) << E.Message();
    }
    EXPECT_THROW(TPgConnection("no_such_keyword=1").Open(), EPgError);
}

TEST_F(PgConnectionTest, ABrokenConnectionIsReportedOnceAndReopenedByTheNextStatement) {
    TPgStatement Count("SELECT count(*) FROM conn_t");
    Db->Exec("INSERT INTO conn_t VALUES (1, 'one', 1)");
    EXPECT_EQ(Db->Exec(Count).Value(0, 0), "1");

    // A write in a transaction: the server goes away under it.
    Db->StartTransaction();
    Db->Exec("INSERT INTO conn_t VALUES (2, 'two', 2)");
    ASSERT_TRUE(qztest::PgTestServer::Stop());
    try {
        Db->Exec("INSERT INTO conn_t VALUES (3, 'three', 3)");
        FAIL() << "wrote to a stopped server";
    } catch (const EPgError& E) {
        EXPECT_TRUE(E.ConnectionLost()) << E.Message();
    }
    // The lost transaction stays pending: nothing runs outside it until it is rolled back.
    EXPECT_TRUE(Db->InTransaction());
    EXPECT_THROW(Db->Commit(), EPgError);
    Db->Rollback();
    EXPECT_FALSE(Db->InTransaction());
    try {
        Db->Exec(Count);
        FAIL() << "read from a stopped server";
    } catch (const EPgError& E) {
        EXPECT_NE(E.Message().find("Cannot connect to the database server"), std::string::npos)
            << E.Message();
    }

    ASSERT_TRUE(qztest::PgTestServer::Start());
    // The statement prepares itself again in the new session; the lost transaction left nothing.
    EXPECT_EQ(Db->Exec(Count).Value(0, 0), "1");

    // A read on a connection that looks healthy but whose server restarted: one quiet retry.
    ASSERT_TRUE(qztest::PgTestServer::Stop());
    ASSERT_TRUE(qztest::PgTestServer::Start());
    EXPECT_EQ(Db->Query(Count).Value(0, 0), "1");
}

} // namespace
