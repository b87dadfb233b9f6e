// Ways a write could lose or overwrite data without saying so: a refresh that
// failed part-way, a transaction SQLite rolled back by itself (full disk, failed
// COMMIT), a table whose own column hides the row id, a column another
// connection dropped or renamed. Each on a real file.

#include "DbTestSupport.h"

#include <csignal>
#include <sys/resource.h>

namespace fw::test {
namespace {

std::string Error(const std::function<void()>& action) {
    try {
        action();
    } catch (const EDatabaseError& e) {
        return e.what();
    }
    return "(no error)";
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ChangesElsewhere, AFailedRefreshKeepsTheChangeCheckStrict) {
    // The refresh fails at its n-th step (the data version, the first key, a later key):
    // the rows shown are the old ones, so a post must still compare them with the file.
    for (int failingStep : {1, 2, 4}) {
        SCOPED_TRACE(failingStep);
        TTempDatabase db;
        db.MakePeople(5);
        TPeople people(db.File());
        EXPECT_EQ(people.F("name")->AsString(), "p1");
        db.Exec("UPDATE people SET name = 'theirs' WHERE id = 1");
        InjectSqliteFault(sqStep, failingStep, 10 /* SQLITE_IOERR */);
        EXPECT_EQ(Error([&] { people.Data->Refresh(); }), "disk I/O error");
        ClearSqliteFaults();
        people.Data->Edit();
        people.F("name")->SetAsString("mine");
        EXPECT_EQ(Error([&] { people.Data->Post(); }), SRecordChanged);
        EXPECT_EQ(db.Scalar("SELECT name FROM people WHERE id = 1"), "theirs");
        people.Data->Cancel();
        people.Data->Refresh();
        EXPECT_EQ(people.F("name")->AsString(), "theirs");
    }
}

TEST(ChangesElsewhere, AColumnDroppedOrRenamedElsewhereIsAnErrorNotItsOwnName) {
    const struct {
        const char* Change;
        const char* Field;
    } rows[] = {
        {"ALTER TABLE people RENAME COLUMN name TO full_name", "name"},
        {"ALTER TABLE people DROP COLUMN seen", "seen"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Change);
        TTempDatabase db;
        db.MakePeople(600);
        TPeople people(db.File());
        EXPECT_EQ(people.F("name")->AsString(), "p1");
        db.Exec(r.Change);
        people.Data->SetRecNo(500); // a page not read yet
        const std::string error = Error([&] { (void)people.F(r.Field)->AsString(); });
        EXPECT_TRUE(Contains(error, std::string("no such column: ") + r.Field)) << error;
    }
}

TEST(LostTransactions, AFullDiskRollsTheWholeTransactionBackAndNothingCommitsAlone) {
    TTempDatabase db;
    db.MakePeople(3);
    db.Exec("ALTER TABLE people ADD COLUMN note TEXT");
    TPeople people(db.File());
    people.Data->StartTransaction();
    people.Data->Edit();
    people.F("name")->SetAsString("first");
    people.Data->Post();
    // The file may not grow: the next post needs new pages and fails as on a full disk,
    // and SQLite rolls the whole transaction back (the first post too).
    people.Data->Database().Exec("PRAGMA max_page_count = " + db.Scalar("PRAGMA page_count"));
    people.Data->Next();
    people.Data->Edit();
    const std::string big(100000, 'x');
    people.F("note")->SetAsString(big);
    const std::string lost = Error([&] { people.Data->Post(); });
    EXPECT_TRUE(Contains(lost, "database or disk is full")) << lost;
    EXPECT_TRUE(Contains(lost, "rolled the transaction back and nothing of it was saved")) << lost;
    EXPECT_EQ(people.Data->State(), dsEdit);
    EXPECT_EQ(people.F("note")->AsString(), big) << "the user's values stay";
    EXPECT_TRUE(people.Data->InTransaction());

    // Nothing continues outside the transaction: a retry, a delete and Commit all refuse.
    people.Data->Database().Exec("PRAGMA max_page_count = 1000000");
    people.F("note")->SetAsString("small");
    EXPECT_TRUE(Contains(Error([&] { people.Data->Post(); }), "roll it back before going on"));
    people.Data->Cancel();
    EXPECT_TRUE(Contains(Error([&] { people.Data->Delete(); }), "roll it back before going on"));
    EXPECT_TRUE(Contains(Error([&] { people.Data->Commit(); }), "roll it back before going on"));
    EXPECT_TRUE(Contains(Error([&] { people.Data->StartTransaction(); }), "roll it back before going on"));
    EXPECT_EQ(db.Scalar("SELECT group_concat(name || '/' || coalesce(note, '-')) FROM people"),
              "p1/-,p2/-,p3/-");

    // Rollback ends it and shows the file again; writing works as before.
    people.Data->Rollback();
    EXPECT_FALSE(people.Data->InTransaction());
    people.Data->First();
    EXPECT_EQ(people.F("name")->AsString(), "p1");
    people.Data->Edit();
    people.F("note")->SetAsString("after");
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT note FROM people WHERE id = 1"), "after");
}

TEST(LostTransactions, AFailedCommitShowsTheFileAndRollbackDoesNotRefuse) {
    TTempDatabase db;
    db.MakePeople(3);
    db.Exec("ALTER TABLE people ADD COLUMN note TEXT");
    TPeople people(db.File());
    people.Data->StartTransaction();
    people.Data->Edit();
    people.F("note")->SetAsString(std::string(200000, 'y')); // the file must grow at COMMIT
    people.Data->Post();
    EXPECT_EQ(people.F("note")->AsString().size(), 200000u);

    // The file may not grow past its size: COMMIT fails writing and SQLite rolls back.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(std::filesystem::file_size(db.File()));
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string failed = Error([&] { people.Data->Commit(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_TRUE(Contains(failed, "nothing of it was saved")) << failed;
    EXPECT_TRUE(people.F("note")->IsNull()) << "the record shows what the file holds";
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM people WHERE note IS NOT NULL"), "0");
    EXPECT_EQ(db.Scalar("PRAGMA integrity_check"), "ok");
    people.Data->Rollback();
    EXPECT_FALSE(people.Data->InTransaction());
    people.Data->Edit();
    people.F("note")->SetAsString("again");
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT note FROM people WHERE id = 1"), "again");
}

TEST(ShadowedRowids, RowsAreFoundByAnIdTheTableDoesNotHideOrTheTableIsReadOnly) {
    TTempDatabase db;
    // Imported data with a column of its own named rowid, its values repeated.
    db.Exec("CREATE TABLE imported (rowid INTEGER, name TEXT)");
    db.Exec("INSERT INTO imported VALUES (7, 'a'), (7, 'b'), (3, 'c')");
    {
        TSQLiteDataSet ds(nullptr);
        ds.SetFileName(db.File());
        ds.SetTableName("imported");
        ds.Open();
        std::string shown;
        for (ds.First(); !ds.Eof(); ds.Next())
            shown += ds.FieldByName("rowid")->AsString() + ds.FieldByName("name")->AsString() + " ";
        EXPECT_EQ(shown, "7a 7b 3c ");
        ds.SetRecNo(2);
        ds.Edit();
        ds.FieldByName("name")->SetAsString("B");
        ds.Post();
        ds.First();
        ds.Delete();
        EXPECT_EQ(db.Scalar("SELECT group_concat(rowid || name, ' ') FROM imported"), "7B 3c");
        ds.Append();
        ds.FieldByName("rowid")->SetAsInteger(7);
        ds.FieldByName("name")->SetAsString("d");
        ds.Post();
        EXPECT_EQ(ds.FieldByName("name")->AsString(), "d");
        EXPECT_EQ(ds.RecordCount(), 3);
    }
    // All three names taken: the INTEGER PRIMARY KEY finds the rows; without one the
    // table is read-only, and the refusal says why.
    db.Exec("CREATE TABLE keyed (rowid TEXT, _rowid_ TEXT, oid TEXT, id INTEGER PRIMARY KEY)");
    db.Exec("CREATE TABLE keyless (rowid TEXT, _rowid_ TEXT, oid TEXT)");
    for (const char* table : {"keyed", "keyless"}) {
        SCOPED_TRACE(table);
        db.Exec(std::string("INSERT INTO ") + table +
                " (rowid, _rowid_, oid) VALUES ('x', 'x', 'x'), ('x', 'x', 'x')");
        TSQLiteDataSet ds(nullptr);
        ds.SetFileName(db.File());
        ds.SetTableName(table);
        ds.Open();
        EXPECT_EQ(ds.RecordCount(), 2);
        const bool keyed = std::string(table) == "keyed";
        EXPECT_EQ(ds.CanModify(), keyed);
        if (keyed) {
            ds.Last();
            ds.Edit();
            ds.FieldByName("oid")->SetAsString("y");
            ds.Post();
            EXPECT_EQ(db.Scalar("SELECT group_concat(oid) FROM keyed"), "x,y");
        } else {
            const std::string refused = Error([&] { ds.Edit(); });
            EXPECT_TRUE(Contains(refused, SDataSetReadOnly)) << refused;
            EXPECT_TRUE(Contains(refused, "hide SQLite's row id")) << refused;
            EXPECT_EQ(ds.ReadOnlyReason(), refused.substr(std::string(SDataSetReadOnly).size() + 2));
        }
    }
}

} // namespace
} // namespace fw::test
