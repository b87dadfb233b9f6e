// What must never be lost or overwritten on a server: rows deleted by another
// session under a dataset that keeps writing, and values the server cannot hold.

#include <framework/db/pg/PgDataSet.h>
#include <gtest/gtest.h>
#include <set>
#include <tests/support/PgTestServer.h>

namespace {

using namespace fw;

class PgLostDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        QZ_REQUIRE_PG();
        Db.emplace(qztest::PgTestServer::ConnInfo());
        Db->Exec("DROP TABLE IF EXISTS shrink, blobs CASCADE;"
                 "CREATE TABLE shrink (id int PRIMARY KEY, v text);"
                 "INSERT INTO shrink SELECT i, 'r' || i FROM generate_series(1, 2500) i;"
                 "CREATE TABLE blobs (id int PRIMARY KEY, t text, v varchar(10), b bytea);"
                 "INSERT INTO blobs VALUES (1, 'one', 'one', NULL);");
    }

    TPgDataSet* Open(const String& Table) {
        auto* Data = new TPgDataSet(&Owner);
        Data->SetConnectionString(qztest::PgTestServer::ConnInfo());
        Data->SetTableName(Table);
        Data->Open();
        return Data;
    }

    String Value(const String& Sql) { return String(Db->Exec(Sql).Value(0, 0)); }

    // Every row of the dataset: each server row once, no empty record.
    void ExpectMatchesServer(TPgDataSet* Data) {
        std::set<int> Seen;
        int Records = 0;
        for (Data->First(); !Data->Eof(); Data->Next(), ++Records) {
            ASSERT_FALSE(Data->FieldByName("id")->IsNull()) << "an empty record at " << Data->RecNo();
            Seen.insert(Data->FieldByName("id")->AsInteger());
        }
        EXPECT_EQ(Records, std::stoi(Value("SELECT count(*) FROM shrink")));
        EXPECT_EQ(static_cast<int>(Seen.size()), Records);
        EXPECT_EQ(Data->RecordCount(), Records);
    }

    TComponent Owner{nullptr};
    std::optional<TPgConnection> Db;
};

TEST_F(PgLostDataTest, RowsDeletedByAnotherSessionLeaveTheKeysAndPositionsSound) {
    // The dataset counted 2500 rows; another session deletes 100 of them. Going to the
    // end (by Last, or Next through every page) and inserting there used to write past
    // the end of the key list.
    for (const char* Way : {"Last", "Next"}) {
        SCOPED_TRACE(Way);
        SetUp();
        TPgDataSet* Data = Open("shrink");
        Db->Exec("DELETE FROM shrink WHERE id BETWEEN 1001 AND 1100");
        if (String(Way) == "Last") {
            Data->Last();
        } else {
            while (!Data->Eof())
                Data->Next();
        }
        (void)Data->FieldByName("v")->AsString(); // the record at the old end is read
        Data->Insert();
        Data->FieldByName("id")->SetAsInteger(9000);
        Data->FieldByName("v")->SetAsString("new");
        Data->Post();
        EXPECT_EQ(Data->State(), dsBrowse);
        EXPECT_EQ(Data->FieldByName("v")->AsString(), "new") << "the new row is the current record";
        EXPECT_EQ(Value("SELECT v FROM shrink WHERE id = 9000"), "new");
        ExpectMatchesServer(Data);
    }

    // A key changed after rows before it were deleted: the row is found where the list
    // now has it, and no other row's key is overwritten.
    SetUp();
    TPgDataSet* Data = Open("shrink");
    Data->MoveBy(500);
    EXPECT_EQ(Data->FieldByName("id")->AsInteger(), 501);
    Db->Exec("DELETE FROM shrink WHERE id <= 100");
    Data->Edit();
    Data->FieldByName("id")->SetAsInteger(99999);
    Data->Post();
    EXPECT_EQ(Data->FieldByName("v")->AsString(), "r501") << "still on the edited row";
    EXPECT_EQ(Data->RecNo(), 401);
    ExpectMatchesServer(Data);

    // A delete after rows before it went: the list is read again, and the row deleted
    // is the one shown, wherever it now is.
    SetUp();
    Data = Open("shrink");
    for (int I = 0; I < 1500; ++I, Data->Next())
        ASSERT_EQ(Data->FieldByName("id")->AsInteger(), I + 1);
    Db->Exec("DELETE FROM shrink WHERE id <= 10");
    Data->Delete();
    EXPECT_EQ(Value("SELECT count(*) FROM shrink WHERE id = 1501"), "0");
    EXPECT_EQ(Value("SELECT count(*) FROM shrink"), "2489");
    ExpectMatchesServer(Data);
}

TEST_F(PgLostDataTest, TextWithANulIsRefusedNamingTheFieldAndBytesAreStoredWhole) {
    TPgDataSet* Blobs = Open("blobs");
    const String WithNul("ab\0cd", 5);
    for (bool Inserting : {false, true}) {
        for (const char* Field : {"t", "v"}) {
            SCOPED_TRACE(String(Field) + (Inserting ? " (insert)" : " (edit)"));
            if (Inserting) {
                Blobs->Append();
                Blobs->FieldByName("id")->SetAsInteger(2);
            } else {
                Blobs->First();
                Blobs->Edit();
            }
            Blobs->FieldByName(Field)->SetAsString(WithNul);
            try {
                Blobs->Post();
                ADD_FAILURE() << "posted a text the server would cut";
            } catch (const EDatabaseError& E) {
                EXPECT_NE(String(E.what()).find(String("Field '") + Field + "' holds a NUL character"),
                          String::npos)
                    << E.what();
            }
            EXPECT_EQ(Blobs->State(), Inserting ? dsInsert : dsEdit);
            EXPECT_EQ(Blobs->FieldByName(Field)->AsString(), WithNul) << "the user's value stays";
            Blobs->Cancel();
        }
    }
    EXPECT_EQ(Value("SELECT count(*) || t || v FROM blobs GROUP BY t, v"), "1oneone");

    Blobs->First();
    Blobs->Edit();
    Blobs->FieldByName("b")->SetAsString(WithNul);
    Blobs->Post();
    EXPECT_EQ(Value("SELECT length(b) || ' ' || encode(b, 'hex') FROM blobs"), "5 6162006364");
}

} // namespace
