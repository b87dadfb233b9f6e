// What goes wrong while writing: the database's own errors, another
// connection's lock or changes, failures injected into the SQLite wrapper,
// and a process killed in the middle of a run of posts. Each time: a clear
// EDatabaseError, the dataset still editing with the user's values, and a
// retry that succeeds once the cause is gone.

#include "DbTestSupport.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fw::test {
namespace {

std::string PostError(TDataSet* ds) {
    try {
        ds->Post();
    } catch (const EDatabaseError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(PostFaults, ConstraintViolationsKeepTheRecordEditingUntilFixed) {
    TTempDatabase db;
    db.MakePeople(3);
    db.Exec("ALTER TABLE people ADD COLUMN code TEXT NOT NULL DEFAULT 'c'");
    struct {
        const char* Case;
        bool Inserting;
        const char* Field;
        const char* Value; // nullptr: cleared
        const char* Message;
        std::function<void(TPeople&)> Fix;
    } const rows[] = {
        {"UNIQUE", false, "name", "p2", "UNIQUE constraint failed: people.name",
         [](TPeople& p) { p.F("name")->SetAsString("p9"); }},
        {"CHECK", false, "score", "-1", "CHECK constraint failed",
         [](TPeople& p) { p.F("score")->SetAsFloat(1); }},
        {"NOT NULL", false, "code", nullptr, "NOT NULL constraint failed: people.code",
         [](TPeople& p) { p.F("code")->SetAsString("d"); }},
        {"UNIQUE on insert", true, "name", "p3", "UNIQUE constraint failed: people.name",
         [](TPeople& p) { p.F("name")->SetAsString("p10"); }},
    };
    TPeople people(db.File());
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Case);
        if (r.Inserting) {
            people.Data->Append();
        } else {
            people.Data->First();
            people.Data->Edit();
        }
        if (r.Value)
            people.F(r.Field)->SetAsString(r.Value);
        else
            people.F(r.Field)->Clear();
        const std::string before = people.F(r.Field)->AsString();
        EXPECT_NE(PostError(people.Data.get()).find(r.Message), std::string::npos);
        EXPECT_EQ(people.Data->State(), r.Inserting ? dsInsert : dsEdit);
        EXPECT_EQ(people.F(r.Field)->AsString(), before) << "the user's value is kept";
        EXPECT_TRUE(people.Data->Modified());
        r.Fix(people);
        people.Data->Post();
        EXPECT_EQ(people.Data->State(), dsBrowse);
    }
    EXPECT_EQ(db.Scalar("SELECT name || score || code FROM people WHERE id = 1"), "p91.0d");
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM people"), "4");
}

TEST(PostFaults, AnotherConnectionsLockFailsThePostAndARetrySucceeds) {
    TTempDatabase db;
    db.MakePeople(2);
    TPeople people(db.File());
    people.Data->Edit();
    people.F("name")->SetAsString("mine");
    db.Exec("BEGIN IMMEDIATE");
    db.Exec("UPDATE people SET score = 5 WHERE id = 2");
    EXPECT_EQ(PostError(people.Data.get()), "database is locked");
    EXPECT_EQ(people.Data->State(), dsEdit);
    EXPECT_EQ(people.F("name")->AsString(), "mine");
    db.Exec("COMMIT");
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT name FROM people WHERE id = 1"), "mine");
}

TEST(PostFaults, ReadOnlyDatabases) {
    TTempDatabase db;
    db.MakePeople(2);
    {
        // Opened read-only on purpose: browsing works, editing is refused.
        TPeople people(db.File(), false);
        people.Data->SetReadOnly(true);
        people.Data->Open();
        EXPECT_EQ(people.F("name")->AsString(), "p1");
        EXPECT_FALSE(people.Data->CanModify());
        EXPECT_THROW(people.Data->Edit(), EDatabaseError);
    }
    if (geteuid() != 0) {
        // A write-protected file opens read-only (root ignores file modes).
        db.Disconnect();
        chmod(db.File().c_str(), 0444);
        TPeople people(db.File());
        EXPECT_FALSE(people.Data->CanModify());
        chmod(db.File().c_str(), 0644);
    }
    // The file becomes read-only while the user edits: the database's own
    // message, the record kept.
    TPeople people(db.File());
    people.Data->Edit();
    people.F("name")->SetAsString("late");
    InjectSqliteFault(sqStep, 1, 8 /* SQLITE_READONLY */);
    EXPECT_EQ(PostError(people.Data.get()), "attempt to write a readonly database");
    EXPECT_EQ(people.Data->State(), dsEdit);
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT name FROM people WHERE id = 1"), "late");
}

TEST(PostFaults, InjectedFailuresAtEachCallLeaveNothingHalfWritten) {
    struct {
        const char* Case;
        TSqliteCall Call;
        int N;
        int Code;
        const char* Message;
    } const rows[] = {
        {"BEGIN busy", sqExec, 1, 5, "database is locked"},
        {"prepare out of memory", sqPrepare, 1, 7, "out of memory"},
        {"step I/O error", sqStep, 1, 10, "disk I/O error"},
        {"second step I/O error (the write, or the read-back)", sqStep, 2, 10, "disk I/O error"},
        {"COMMIT busy", sqExec, 2, 5, "database is locked"},
    };
    for (bool inserting : {false, true}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(r.Case) + (inserting ? " (insert)" : " (edit)"));
            TTempDatabase db;
            db.MakePeople(2);
            TPeople people(db.File());
            if (inserting)
                people.Data->Append();
            else
                people.Data->Edit();
            people.F("name")->SetAsString("new");
            ClearSqliteFaults();
            InjectSqliteFault(r.Call, r.N, r.Code);
            const std::string error = PostError(people.Data.get());
            ClearSqliteFaults();
            EXPECT_EQ(error, r.Message);
            EXPECT_EQ(people.Data->State(), inserting ? dsInsert : dsEdit);
            EXPECT_EQ(db.Scalar("SELECT count(*) FROM people WHERE name = 'new'"), "0") << "rolled back";
            EXPECT_EQ(people.Data->RecordCount(), 2);
            people.Data->Post();
            EXPECT_EQ(db.Scalar("SELECT count(*) FROM people WHERE name = 'new'"), "1");
            EXPECT_EQ(people.Data->RecordCount(), inserting ? 3 : 2);
        }
    }
    // A failed open leaves the dataset closed; the next one works.
    TTempDatabase db;
    db.MakePeople(1);
    TPeople people(db.File(), false);
    InjectSqliteFault(sqOpen, 1, 14 /* SQLITE_CANTOPEN */);
    EXPECT_THROW(people.Data->Open(), EDatabaseError);
    EXPECT_FALSE(people.Data->Active());
    people.Data->Open();
    EXPECT_EQ(people.Data->RecordCount(), 1);
    people.Data->Close();
    people.Data->SetTableName("nope");
    EXPECT_THROW(people.Data->Open(), EDatabaseError);
    people.Data->SetFileName(db.Dir() + "/missing.db");
    EXPECT_THROW(people.Data->Open(), EDatabaseError);
    EXPECT_FALSE(std::filesystem::exists(db.Dir() + "/missing.db")) << "opening never creates a file";
}

TEST(ConcurrentChanges, ARowChangedOrDeletedElsewhereIsNeverOverwrittenBlindly) {
    TTempDatabase db;
    db.MakePeople(3);
    TPeople people(db.File());
    TLinkProbe probe(people.Source.get(), "name");
    // Changed by another connection since it was read.
    people.Data->Edit();
    people.F("name")->SetAsString("mine");
    db.Exec("UPDATE people SET score = 42 WHERE id = 1");
    EXPECT_EQ(PostError(people.Data.get()), "The record was changed or deleted by another user");
    EXPECT_EQ(people.Data->State(), dsEdit);
    EXPECT_EQ(people.F("name")->AsString(), "mine");
    EXPECT_EQ(db.Scalar("SELECT name || score FROM people WHERE id = 1"), "p142.0");
    people.Data->Cancel();
    people.Data->Refresh();
    EXPECT_EQ(people.F("score")->AsFloat(), 42);
    people.Data->Edit();
    people.F("name")->SetAsString("mine");
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT name || score FROM people WHERE id = 1"), "mine42.0");

    // Deleted by another connection: neither post nor delete pretends to work.
    people.Data->SetRecNo(2);
    people.Data->Edit();
    people.F("score")->SetAsFloat(1);
    db.Exec("DELETE FROM people WHERE id = 2");
    EXPECT_EQ(PostError(people.Data.get()), "The record was changed or deleted by another user");
    people.Data->Cancel();
    EXPECT_THROW(people.Data->Delete(), EDatabaseError);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM people"), "2");
    people.Data->Refresh();
    EXPECT_EQ(people.Data->RecordCount(), 2);
}

TEST(Paging, BigTablesAreReadByPagesAndFollowChangesElsewhere) {
    TTempDatabase db;
    db.MakePeople(2000);
    TPeople people(db.File());
    EXPECT_EQ(people.Data->RecordCount(), 2000);
    const long long steps = SqliteCallCount(sqStep);
    people.Data->SetRecNo(1500);
    EXPECT_EQ(people.F("name")->AsString(), "p1500");
    EXPECT_LE(SqliteCallCount(sqStep) - steps, 257) << "one page, not the table";

    // Rows deleted elsewhere in a page not yet read show as empty records;
    // rows added elsewhere appear after Refresh.
    db.Exec("DELETE FROM people WHERE id = 1801");
    db.Exec("INSERT INTO people (id, name) VALUES (5000, 'elsewhere')");
    people.Data->SetRecNo(1801);
    EXPECT_TRUE(people.F("name")->IsNull());
    people.Data->Next();
    EXPECT_EQ(people.F("name")->AsString(), "p1802");
    EXPECT_EQ(people.Data->RecordCount(), 2000);
    people.Data->Refresh();
    EXPECT_EQ(people.Data->RecordCount(), 2000);
    people.Data->Last();
    EXPECT_EQ(people.F("name")->AsString(), "elsewhere");

    // A record inserted inside a page puts its keys out of order: the page is
    // then read row by row, with the same values.
    people.Data->SetRecNo(10);
    people.Data->Insert();
    people.F("name")->SetAsString("middle");
    people.Data->Post();
    for (int recNo : {9, 10, 11, 12}) {
        people.Data->SetRecNo(recNo);
        EXPECT_EQ(people.F("name")->AsString(),
                  recNo == 10 ? "middle" : "p" + std::to_string(recNo - (recNo > 10)));
    }
}

TEST(KilledProcess, EveryCommittedPostSurvivesAndNothingIsHalfWritten) {
    TTempDatabase db;
    db.MakePeople(0);
    db.Disconnect();
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        try {
            TSQLiteDataSet ds(nullptr);
            ds.SetFileName(db.File());
            ds.SetTableName("people");
            ds.Open();
            for (int i = 0;; ++i) {
                ds.Append();
                ds.FieldByName("name")->SetAsString("k" + std::to_string(i));
                ds.FieldByName("score")->SetAsFloat(i);
                ds.FieldByName("born")->SetAsString("1/2/2020");
                ds.Post();
                if (write(pipeFds[1], &i, sizeof i) != sizeof i) _exit(3);
            }
        } catch (...) {
            _exit(2);
        }
    }
    close(pipeFds[1]);
    int acknowledged = -1, value = 0;
    while (acknowledged < 60 && read(pipeFds[0], &value, sizeof value) == sizeof value)
        acknowledged = value;
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    while (read(pipeFds[0], &value, sizeof value) == sizeof value)
        acknowledged = value;
    close(pipeFds[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child was killed while posting";
    ASSERT_GE(acknowledged, 60);

    EXPECT_EQ(db.Scalar("PRAGMA integrity_check"), "ok");
    const int rows = std::stoi(db.Scalar("SELECT count(*) FROM people"));
    EXPECT_TRUE(rows == acknowledged + 1 || rows == acknowledged + 2) << rows << " rows, " << acknowledged;
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM people WHERE name IS NULL OR score IS NULL OR born IS NULL"),
              "0");
    EXPECT_EQ(db.Scalar("SELECT max(score) + 1 = count(*) FROM people"), "1") << "no gap";
    TPeople people(db.File());
    people.Data->Last();
    EXPECT_EQ(people.F("name")->AsString(), "k" + std::to_string(rows - 1));
}

} // namespace
} // namespace fw::test

namespace fw::test {
namespace {

TEST(Transactions, ManyPostsCommitTogetherOrRollBackTogether) {
    TTempDatabase db;
    db.MakePeople(5);
    TPeople people(db.File());
    for (bool commit : {false, true}) {
        SCOPED_TRACE(commit ? "commit" : "rollback");
        people.Data->StartTransaction();
        EXPECT_THROW(people.Data->StartTransaction(), EDatabaseError);
        people.Data->First();
        while (!people.Data->Eof()) {
            people.Data->Edit();
            people.F("visits")->SetAsInteger(commit ? 100 : 50);
            people.Data->Next();
        }
        people.Data->Append();
        people.F("name")->SetAsString("extra");
        if (commit)
            people.Data->Commit();
        else
            people.Data->Rollback();
        EXPECT_FALSE(people.Data->InTransaction());
        EXPECT_EQ(people.Data->State(), dsBrowse);
        EXPECT_EQ(db.Scalar("SELECT group_concat(DISTINCT visits) FROM people WHERE name LIKE 'p%'"),
                  commit ? "100" : "7");
        EXPECT_EQ(people.Data->RecordCount(), commit ? 6 : 5);
        EXPECT_EQ(people.F("visits")->AsInteger(), 7);
    }
    EXPECT_THROW(people.Data->Commit(), EDatabaseError);
}

// Inside the application's transaction nobody else can write, so an edit
// takes only the fields read so far and reads the others when asked: what
// it shows, checks and writes must be what a whole-record edit would.
TEST(Transactions, AnEditReadsFieldsWhenAskedAndWritesOnlyWhatChanged) {
    TTempDatabase db;
    db.MakePeople(3);
    TPeople people(db.File());
    people.Data->StartTransaction();

    people.Data->Edit(); // nothing read yet
    EXPECT_EQ(people.F("name")->AsString(), "p1") << "read when asked for";
    people.F("score")->SetAsFloat(9);
    EXPECT_EQ(people.F("visits")->AsInteger(), 7);
    people.Data->Post(); // name is required but unread fields are not written
    EXPECT_EQ(people.F("score")->AsFloat(), 9);
    EXPECT_EQ(people.F("name")->AsString(), "p1");
    EXPECT_FALSE(people.F("born")->IsNull());

    // A refused value leaves the field as stored, not empty.
    people.Data->Next();
    people.F("visits")->OnValidate = [](TField*) { throw EDatabaseError("no"); };
    people.Data->Edit();
    EXPECT_THROW(people.F("visits")->SetAsInteger(99), EDatabaseError);
    people.F("visits")->OnValidate = nullptr;
    EXPECT_EQ(people.F("visits")->AsInteger(), 7);
    people.F("active")->SetAsBoolean(true);
    people.Data->Post();

    // Deleting while editing compares the whole row as read.
    people.Data->Next();
    people.Data->Edit();
    people.Data->Delete();
    people.Data->Commit();

    EXPECT_EQ(db.Scalar("SELECT count(*) FROM people"), "2");
    EXPECT_EQ(db.Scalar("SELECT score FROM people WHERE id = 1"), "9.0");
    EXPECT_EQ(db.Scalar("SELECT visits || active FROM people WHERE id = 2"), "71");
    EXPECT_EQ(db.Scalar("SELECT name || born || visits FROM people WHERE id = 1"), "p12026-12-027");
}

} // namespace
} // namespace fw::test
