// The PostgreSQL dataset against raw libpq loops on the same throwaway server
// in the same run: scrolling a 100,000-row table from first to last through a
// data source with a field data link listening, and posting 10,000 edits in
// one transaction. Both sides wait on the server, so these compare wall time
// (UseRealTime; scripts/bench reads real time for them).

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <framework/db/DataLink.h>
#include <framework/db/DataSource.h>
#include <framework/db/pg/PgDataSet.h>
#include <libpq-fe.h>
#include <memory>
#include <tests/support/PgTestServer.h>

namespace {

constexpr int TableRows = 100000;
constexpr int Edits = 10000;

// The table, made once per run.
const std::string& Server() {
    static const std::string ConnInfo = [] {
        const std::string Info = qztest::PgTestServer::ConnInfo();
        if (!Info.empty()) {
            fw::TPgConnection Db(Info);
            Db.Exec(
                "DROP TABLE IF EXISTS bench_rows; "
                "CREATE TABLE bench_rows (id int PRIMARY KEY, name text NOT NULL, born date, amount float8); "
                "INSERT INTO bench_rows SELECT i, 'name ' || i, date '1950-01-01' + i % 20000, i / 8.0 "
                "FROM generate_series(1, " +
                std::to_string(TableRows) + ") i");
            Db.Exec("VACUUM ANALYZE bench_rows");
        }
        return Info;
    }();
    return ConnInfo;
}

bool Skip(benchmark::State& State) {
    if (!Server().empty()) return false;
    State.SkipWithError(("no PostgreSQL test server: " + qztest::PgTestServer::Reason()).c_str());
    return true;
}

struct PgConnDeleter {
    void operator()(PGconn* Conn) const { PQfinish(Conn); }
};
using RawConnection = std::unique_ptr<PGconn, PgConnDeleter>;

RawConnection RawConnect() {
    RawConnection Conn(PQconnectdb(Server().c_str()));
    if (PQstatus(Conn.get()) != CONNECTION_OK) std::abort();
    return Conn;
}

void RawExec(PGconn* Conn, const char* Sql) {
    PGresult* Result = PQexec(Conn, Sql);
    if (PQresultStatus(Result) != PGRES_COMMAND_OK && PQresultStatus(Result) != PGRES_TUPLES_OK) std::abort();
    PQclear(Result);
}

// The reference scroll: one SELECT of every row in key order, each value read.
void BM_Reference_PgScroll(benchmark::State& State) {
    if (Skip(State)) return;
    RawConnection Conn = RawConnect();
    for (auto _ : State) {
        PGresult* Result = PQexec(Conn.get(), "SELECT id, name, born, amount FROM bench_rows ORDER BY id");
        const int Rows = PQntuples(Result);
        long Sum = 0;
        for (int R = 0; R < Rows; ++R) {
            Sum += std::atol(PQgetvalue(Result, R, 0));
            Sum += PQgetlength(Result, R, 1) + PQgetlength(Result, R, 2);
            Sum += static_cast<long>(std::atof(PQgetvalue(Result, R, 3)));
        }
        PQclear(Result);
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(State.iterations() * TableRows);
}
BENCHMARK(BM_Reference_PgScroll)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the dataset and scrolling first to last, a data-aware listener
// hearing every move, each visited record's values read through its fields.
void BM_PgDataSetScroll(benchmark::State& State) {
    if (Skip(State)) return;
    fw::TComponent Owner(nullptr);
    auto* Data = new fw::TPgDataSet(&Owner);
    Data->SetConnectionString(Server());
    Data->SetTableName("bench_rows");
    auto* Source = new fw::TDataSource(&Owner);
    Source->SetDataSet(Data);
    fw::TFieldDataLink Link;
    int Heard = 0;
    Link.OnDataChange = [&](fw::TObject*) { ++Heard; };
    Link.SetDataSource(Source);
    Link.SetFieldName("born");
    for (auto _ : State) {
        Data->Open();
        fw::TField* Id = Data->FieldByName("id");
        fw::TField* Name = Data->FieldByName("name");
        fw::TField* Born = Data->FieldByName("born");
        fw::TField* Amount = Data->FieldByName("amount");
        double Sum = 0;
        for (Data->First(); !Data->Eof(); Data->Next())
            Sum += Id->AsInteger() + Name->AsString().size() + Born->AsDateTime() + Amount->AsFloat();
        benchmark::DoNotOptimize(Sum);
        Data->Close();
    }
    benchmark::DoNotOptimize(Heard);
    State.SetItemsProcessed(State.iterations() * TableRows);
    State.SetLabel("ref=BM_Reference_PgScroll/real_time");
}
BENCHMARK(BM_PgDataSetScroll)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference writes: 10,000 prepared UPDATEs by key in one transaction.
void BM_Reference_PgPost(benchmark::State& State) {
    if (Skip(State)) return;
    RawConnection Conn = RawConnect();
    PGresult* Prepared =
        PQprepare(Conn.get(), "upd", "UPDATE bench_rows SET amount = $1 WHERE id = $2", 2, nullptr);
    PQclear(Prepared);
    static int Round = 0;
    for (auto _ : State) {
        ++Round;
        RawExec(Conn.get(), "BEGIN");
        for (int Id = 1; Id <= Edits; ++Id) {
            const std::string Amount = std::to_string(Id + Round * 0.5);
            const std::string Key = std::to_string(Id);
            const char* Values[] = {Amount.c_str(), Key.c_str()};
            PGresult* Result = PQexecPrepared(Conn.get(), "upd", 2, Values, nullptr, nullptr, 0);
            if (PQresultStatus(Result) != PGRES_COMMAND_OK) std::abort();
            PQclear(Result);
        }
        RawExec(Conn.get(), "COMMIT");
    }
    State.SetItemsProcessed(State.iterations() * Edits);
}
BENCHMARK(BM_Reference_PgPost)->Unit(benchmark::kMillisecond)->UseRealTime();

// Edit, set one field, Post, Next: 10,000 times in one transaction, each
// write checked against the row version it read.
void BM_PgDataSetPost(benchmark::State& State) {
    if (Skip(State)) return;
    fw::TComponent Owner(nullptr);
    auto* Data = new fw::TPgDataSet(&Owner);
    Data->SetConnectionString(Server());
    Data->SetTableName("bench_rows");
    Data->Open();
    fw::TField* Amount = Data->FieldByName("amount");
    static int Round = 0; // every run writes new values (an unchanged post writes nothing)
    for (auto _ : State) {
        ++Round;
        Data->StartTransaction();
        Data->First();
        for (int I = 1; I <= Edits; ++I, Data->Next()) {
            Data->Edit();
            Amount->SetAsFloat(I + Round * 0.25);
            Data->Post();
        }
        Data->Commit();
    }
    State.SetItemsProcessed(State.iterations() * Edits);
    State.SetLabel("ref=BM_Reference_PgPost/real_time");
}
BENCHMARK(BM_PgDataSetPost)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
