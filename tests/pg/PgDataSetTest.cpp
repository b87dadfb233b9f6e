// TPgDataSet against a throwaway server: column kinds and paging, writes seen
// by another connection, two users on one record, a server that goes away in
// the middle of an edit, read-only SELECTs through a cursor.

#include <framework/classes/FormFile.h>
#include <framework/db/DataSource.h>
#include <framework/db/pg/PgDataSet.h>
#include <framework/rtl/DateUtils.h>
#include <gtest/gtest.h>
#include <set>
#include <tests/support/PgTestServer.h>

namespace {

using namespace fw;

class PgDataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        QZ_REQUIRE_PG();
        Db.emplace(qztest::PgTestServer::ConnInfo());
        Db->Exec("DROP TABLE IF EXISTS people, notes, nokey CASCADE;"
                 "CREATE TABLE people (id serial PRIMARY KEY, name varchar(20) NOT NULL, born date, "
                 "  seen timestamp, seen_tz timestamptz, score numeric(6,2), n int8, ok boolean, "
                 "  note text, CHECK (length(name) > 0));"
                 "INSERT INTO people (name, born, seen, seen_tz, score, n, ok) "
                 "  SELECT 'p' || i, date '2000-01-01' + i, timestamp '2026-12-08 10:30:15' + i * interval "
                 "'1 minute', "
                 "    timestamptz '2026-12-08 10:30:15+00', i / 4.0, i::int8 * 1000000000, i % 2 = 0 "
                 "  FROM generate_series(1, 1234) i;"
                 "CREATE TABLE notes (a int, b text, body text, PRIMARY KEY (b, a));"
                 "INSERT INTO notes VALUES (1, 'x', 'first'), (2, 'x', 'second'), (1, 'y', 'third');"
                 "CREATE TABLE nokey (v int); INSERT INTO nokey SELECT generate_series(1, 700);");
    }

    TPgDataSet* Open(const String& Table, const String& Sql = "") {
        auto* Data = new TPgDataSet(&Owner);
        Data->SetConnectionString(qztest::PgTestServer::ConnInfo());
        Data->SetTableName(Table);
        Data->SetSQL(Sql);
        Data->Open();
        return Data;
    }

    // Through a connection of its own: the server may have restarted since SetUp.
    static String ServerValue(const String& Sql) {
        return String(TPgConnection(qztest::PgTestServer::ConnInfo()).Exec(Sql).Value(0, 0));
    }

    TComponent Owner{nullptr};
    std::optional<TPgConnection> Db;
};

TEST_F(PgDataSetTest, ColumnsMapToFieldKindsAndPagesReadInKeyOrder) {
    TPgDataSet* People = Open("people");
    struct Row {
        const char* Name;
        TFieldType Type;
        int Size;
        bool Required;
    } Rows[] = {{"id", ftInteger, 0, false},       {"name", ftString, 20, true},
                {"born", ftDate, 0, false},        {"seen", ftDateTime, 0, false},
                {"seen_tz", ftDateTime, 0, false}, {"score", ftFloat, 0, false},
                {"ok", ftBoolean, 0, false},       {"note", ftString, 0, false}};
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        TField* F = People->FieldByName(R.Name);
        EXPECT_EQ(F->DataType(), R.Type);
        EXPECT_EQ(F->Size(), R.Size);
        EXPECT_EQ(F->Required(), R.Required);
        EXPECT_TRUE(F->Visible());
    }
    EXPECT_FALSE(People->FieldByName("xmin")->Visible());
    EXPECT_TRUE(People->FieldByName("xmin")->ReadOnly());

    EXPECT_EQ(People->RecordCount(), 1234);
    EXPECT_EQ(People->FieldByName("born")->AsDateTime(), EncodeDate(2000, 1, 2));
    EXPECT_DOUBLE_EQ(People->FieldByName("seen")->AsDateTime(),
                     EncodeDate(2026, 12, 8) + (10 * 3600 + 31 * 60 + 15) / 86400.0);
    EXPECT_EQ(People->FieldByName("seen_tz")->AsDateTime(), People->FieldByName("seen_tz")->AsDateTime());
    EXPECT_DOUBLE_EQ(People->FieldByName("score")->AsFloat(), 0.25);
    EXPECT_EQ(People->FieldByName("n")->AsLargeInt(), 1000000000);
    EXPECT_FALSE(People->FieldByName("ok")->AsBoolean());
    EXPECT_TRUE(People->FieldByName("note")->IsNull());

    // Across page boundaries both ways, and the last record.
    int Expected = 1;
    for (People->First(); !People->Eof(); People->Next())
        ASSERT_EQ(People->FieldByName("id")->AsInteger(), Expected++);
    EXPECT_EQ(Expected, 1235);
    People->Last();
    EXPECT_EQ(People->RecNo(), 1234);
    EXPECT_EQ(People->FieldByName("name")->AsString(), "p1234");
    People->MoveBy(-734);
    EXPECT_EQ(People->FieldByName("id")->AsInteger(), 500);
    People->Prior();
    EXPECT_EQ(People->FieldByName("id")->AsInteger(), 499);

    // Jumping to the end first, and an insert in the middle of rows read so far.
    TPgDataSet* Jumper = Open("people");
    Jumper->Last();
    EXPECT_EQ(Jumper->FieldByName("id")->AsInteger(), 1234);
    Jumper->First();
    TPgDataSet* Reader = Open("people");
    Reader->MoveBy(10);
    Reader->Insert();
    Reader->FieldByName("name")->SetAsString("middle");
    Reader->Post();
    std::set<int> Seen;
    for (Reader->First(); !Reader->Eof(); Reader->Next())
        Seen.insert(Reader->FieldByName("id")->AsInteger());
    EXPECT_EQ(Seen.size(), 1235u);
    EXPECT_EQ(Reader->RecordCount(), 1235);

    // Composite keys.
    TPgDataSet* Notes = Open("notes");
    EXPECT_EQ(Notes->RecordCount(), 3);
    Notes->Last();
    EXPECT_EQ(Notes->FieldByName("body")->AsString(), "third");
    Notes->Edit();
    Notes->FieldByName("body")->SetAsString("3rd");
    Notes->Post();
    EXPECT_EQ(ServerValue("SELECT body FROM notes WHERE a = 1 AND b = 'y'"), "3rd");
}

TEST_F(PgDataSetTest, PostInsertAndDeleteReachTheServerWithDatesAsDates) {
    TPgDataSet* People = Open("people");
    People->Edit();
    People->FieldByName("born")->SetAsDateTime(EncodeDate(1969, 7, 20));
    People->FieldByName("seen")->SetText("12/7/2026");
    People->FieldByName("note")->SetAsString("it's \"here\"");
    People->Post();
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_EQ(ServerValue("SELECT born FROM people WHERE id = 1"), "1969-07-20");
    EXPECT_EQ(ServerValue("SELECT seen FROM people WHERE id = 1"), "2026-12-07 00:00:00");
    EXPECT_EQ(ServerValue("SELECT note FROM people WHERE id = 1"), "it's \"here\"");

    // An insert takes the server's defaults (the serial key) and shows them.
    People->Insert();
    People->FieldByName("name")->SetAsString("new");
    People->Post();
    EXPECT_EQ(People->FieldByName("id")->AsInteger(), 1235);
    EXPECT_EQ(People->RecordCount(), 1235);
    EXPECT_EQ(ServerValue("SELECT name FROM people WHERE id = 1235"), "new");

    People->Delete();
    EXPECT_EQ(People->RecordCount(), 1234);
    EXPECT_EQ(ServerValue("SELECT count(*) FROM people"), "1234");

    // The server refuses a value: the error is its own, the edit stays, a corrected retry posts.
    People->First();
    People->Edit();
    People->FieldByName("name")->SetAsString("");
    People->FieldByName("note")->SetAsString("kept");
    try {
        People->Post();
        FAIL() << "posted a value the server refuses";
    } catch (const EDatabaseError& E) {
        EXPECT_NE(String(E.what()).find("check constraint"), String::npos) << E.what();
    }
    EXPECT_EQ(People->State(), dsEdit);
    EXPECT_EQ(People->FieldByName("note")->AsString(), "kept");
    People->FieldByName("name")->SetAsString("fixed");
    People->Post();
    EXPECT_EQ(ServerValue("SELECT name || note FROM people WHERE id = 1"), "fixedkept");
}

TEST_F(PgDataSetTest, TwoUsersOnOneRecordTheSecondPostIsRefusedAndNothingIsLost) {
    TPgDataSet* Ann = Open("people");
    TPgDataSet* Bob = Open("people");
    Ann->Edit();
    Bob->Edit();
    Ann->FieldByName("name")->SetAsString("Ann's");
    Bob->FieldByName("name")->SetAsString("Bob's");
    Bob->FieldByName("note")->SetAsString("Bob's note");
    Ann->Post();
    try {
        Bob->Post();
        FAIL() << "Bob overwrote Ann's change";
    } catch (const EDatabaseError& E) {
        EXPECT_STREQ(E.what(), SRecordChanged);
    }
    EXPECT_EQ(Bob->State(), dsEdit);
    EXPECT_EQ(Bob->FieldByName("name")->AsString(), "Bob's");
    EXPECT_EQ(Bob->FieldByName("note")->AsString(), "Bob's note");
    EXPECT_EQ(ServerValue("SELECT name || coalesce(note, '-') FROM people WHERE id = 1"), "Ann's-");

    // Bob looks again: he sees Ann's value, and his next change applies on top of it.
    Bob->Cancel();
    Bob->Refresh();
    EXPECT_EQ(Bob->FieldByName("name")->AsString(), "Ann's");
    Bob->Edit();
    Bob->FieldByName("note")->SetAsString("Bob's note");
    Bob->Post();
    EXPECT_EQ(ServerValue("SELECT name || note FROM people WHERE id = 1"), "Ann'sBob's note");

    // A row deleted by the other user: neither an edit nor a delete goes through blindly.
    Ann->Refresh();
    Ann->Delete();
    Bob->Edit();
    Bob->FieldByName("name")->SetAsString("ghost");
    EXPECT_THROW(Bob->Post(), EDatabaseError);
    EXPECT_EQ(Bob->State(), dsEdit);
    Bob->Cancel();
    EXPECT_THROW(Bob->Delete(), EDatabaseError);
    EXPECT_EQ(ServerValue("SELECT count(*) FROM people WHERE name = 'ghost'"), "0");
}

TEST_F(PgDataSetTest, AServerStoppedDuringAnEditKeepsTheValuesAndTheNextPostSucceeds) {
    TPgDataSet* People = Open("people");
    People->MoveBy(600);
    People->Edit();
    People->FieldByName("born")->SetAsDateTime(EncodeDate(2026, 12, 8));
    ASSERT_TRUE(qztest::PgTestServer::Stop());
    try {
        People->Post();
        FAIL() << "posted to a stopped server";
    } catch (const EDatabaseError& E) {
        EXPECT_NE(String(E.what()).find("database server"), String::npos) << E.what();
    }
    EXPECT_EQ(People->State(), dsEdit);
    EXPECT_EQ(People->FieldByName("born")->AsDateTime(), EncodeDate(2026, 12, 8));
    EXPECT_THROW(People->Post(), EDatabaseError); // still down: still a clear error

    ASSERT_TRUE(qztest::PgTestServer::Start());
    People->Post();
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_EQ(ServerValue("SELECT born FROM people WHERE id = 601"), "2026-12-08");

    // Browsing into rows not read yet while the server is down: reading the record
    // raises a clear error, and reads it once the server is back.
    ASSERT_TRUE(qztest::PgTestServer::Stop());
    People->MoveBy(500);
    EXPECT_THROW(People->FieldByName("id")->AsInteger(), EDatabaseError);
    ASSERT_TRUE(qztest::PgTestServer::Start());
    EXPECT_EQ(People->FieldByName("id")->AsInteger(), 1101);

    // Browsing after a restart the connection has not noticed yet reads again without a word.
    ASSERT_TRUE(qztest::PgTestServer::Stop());
    ASSERT_TRUE(qztest::PgTestServer::Start());
    People->Refresh();
    People->First();
    EXPECT_EQ(People->FieldByName("id")->AsInteger(), 1);
}

TEST_F(PgDataSetTest, OneTransactionAroundManyPostsCommitsOrRollsBackWhole) {
    TPgDataSet* People = Open("people");
    People->StartTransaction();
    for (int I = 0; I < 3; ++I, People->Next()) {
        People->Edit();
        People->FieldByName("note")->SetAsString("batch");
        People->Post();
    }
    EXPECT_EQ(ServerValue("SELECT count(*) FROM people WHERE note = 'batch'"), "0"); // not yet visible
    People->Rollback();
    EXPECT_FALSE(People->InTransaction());
    EXPECT_EQ(ServerValue("SELECT count(*) FROM people WHERE note = 'batch'"), "0");
    EXPECT_TRUE(People->FieldByName("note")->IsNull());

    People->StartTransaction();
    People->Edit();
    People->FieldByName("note")->SetAsString("batch");
    People->Post();
    People->Commit();
    EXPECT_EQ(ServerValue("SELECT count(*) FROM people WHERE note = 'batch'"), "1");
}

TEST_F(PgDataSetTest, SelectsAndKeylessTablesAreReadOnlyAndReadByPages) {
    TPgDataSet* Query = Open("", "SELECT id, name, born FROM people WHERE id % 2 = 0 ORDER BY name DESC");
    EXPECT_FALSE(Query->CanModify());
    EXPECT_EQ(Query->RecordCount(), 617);
    EXPECT_EQ(Query->FieldByName("born")->DataType(), ftDate);
    EXPECT_EQ(Query->FieldByName("name")->AsString(), "p998");
    Query->Last();
    EXPECT_EQ(Query->FieldByName("name")->AsString(), "p10");
    Query->MoveBy(-600);
    EXPECT_EQ(Query->RecNo(), 17);
    EXPECT_THROW(Query->Edit(), EDatabaseError);

    TPgDataSet* NoKey = Open("nokey");
    EXPECT_FALSE(NoKey->CanModify());
    NoKey->Last();
    EXPECT_EQ(NoKey->RecordCount(), 700);

    // Errors in the statement or the name are the server's, and the dataset stays closed.
    auto* Bad = new TPgDataSet(&Owner);
    Bad->SetConnectionString(qztest::PgTestServer::ConnInfo());
    for (auto [Table, Sql] :
         {std::pair<String, String>{"", "SELECT nothing FROM people"}, {"no_table", ""}}) {
        Bad->SetTableName(Table);
        Bad->SetSQL(Sql);
        EXPECT_THROW(Bad->Open(), EDatabaseError);
        EXPECT_FALSE(Bad->Active());
    }
}

// Form files written before the backends shared their base keep their order
// (and ReadOnly stays unpublished here).
TEST(PgDataSetFormFiles, EveryPropertyKeepsItsPlace) {
    TPgDataSet Data(nullptr);
    Data.SetName("tbl");
    Data.SetConnectionString("dbname=app");
    Data.SetTableName("t");
    Data.SetSQL("SELECT 1");
    Data.SetStatementTimeout(5);
    Data.SetLockTimeout(6);
    Data.SetReadOnly(true);
    Data.SetDesignLeft(1);
    Data.SetDesignTop(2);
    EXPECT_EQ(WriteComponentToText(&Data), "object tbl: TPgDataSet\n"
                                           "  ConnectionString = 'dbname=app'\n"
                                           "  TableName = 't'\n"
                                           "  SQL = 'SELECT 1'\n"
                                           "  StatementTimeout = 5\n"
                                           "  LockTimeout = 6\n"
                                           "  Left = 1\n"
                                           "  Top = 2\n"
                                           "end\n");
}

TEST_F(PgDataSetTest, ConnectionAndTableAreStreamedInFormFiles) {
    RegisterPgDataClasses();
    auto* People = new TPgDataSet(&Owner);
    People->SetName("People");
    People->SetConnectionString(qztest::PgTestServer::ConnInfo());
    People->SetTableName("people");
    People->Open();
    const String Text = WriteComponentToText(People);
    EXPECT_NE(Text.find("TableName = 'people'"), String::npos) << Text;
    EXPECT_NE(Text.find("Active = True"), String::npos) << Text;
    std::unique_ptr<TComponent> Read(ReadComponentFromText(Text));
    auto* Copy = dynamic_cast<TPgDataSet*>(Read.get());
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->ConnectionString(), qztest::PgTestServer::ConnInfo());
    EXPECT_TRUE(Copy->Active());
    EXPECT_EQ(Copy->RecordCount(), 1234);
}

} // namespace
