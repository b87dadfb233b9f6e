#include "RecordsServer.h"

#ifdef QZ_HAVE_PG

#include <framework/db/pg/PgDataSet.h>

namespace qzdemo {

namespace {

constexpr const char* Schema = "CREATE TABLE IF NOT EXISTS events ("
                               " id integer PRIMARY KEY,"
                               " title varchar(24) NOT NULL,"
                               " happened date,"
                               " logged timestamp,"
                               " due date,"
                               " review date)";

constexpr const char* Rows =
    "INSERT INTO events VALUES"
    " (1, 'Kick-off meeting', '2026-01-12', '2026-01-12 09:15:00', '2026-02-01', '2026-03-01'),"
    " (2, 'Design review', '2026-02-03', '2026-02-03 14:00:00', '2026-02-20', NULL),"
    " (3, 'First release', '2026-03-09', '2026-03-10 08:05:00', '2026-03-31', '2026-04-15'),"
    " (4, 'Customer visit', NULL, NULL, '2026-04-02', NULL),"
    " (5, 'Budget planning', NULL, '2026-03-01 11:45:00', '2026-05-15', '2026-06-01'),"
    " (6, 'Team outing', '2026-06-19', '2026-03-12 16:30:00', '2026-06-19', NULL)";

} // namespace

void PrepareRecordsServer(const fw::String& ConnInfo, bool Reset) {
    fw::TPgConnection Db(ConnInfo);
    const bool Existed = Db.Exec("SELECT to_regclass('events') IS NOT NULL").Value(0, 0) == "t";
    if (Existed && !Reset) return;
    Db.StartTransaction();
    try {
        Db.Exec(Schema);
        Db.Exec("DELETE FROM events");
        Db.Exec(Rows);
        Db.Commit();
    } catch (...) {
        Db.Rollback();
        throw;
    }
}

fw::String ServerStoredValue(const fw::String& ConnInfo, const fw::String& Sql) {
    fw::TPgResult Result = fw::TPgConnection(ConnInfo).Exec(Sql);
    if (Result.RowCount() == 0) return "no row";
    return Result.IsNull(0, 0) ? "NULL" : fw::String(Result.Value(0, 0));
}

fw::TDataSet* MakeServerEvents(fw::TComponent* Owner, const fw::String& ConnInfo) {
    auto* Events = new fw::TPgDataSet(Owner);
    Events->SetName("tblServerEvents");
    Events->SetConnectionString(ConnInfo);
    Events->SetTableName("events");
    return Events;
}

} // namespace qzdemo

#endif
