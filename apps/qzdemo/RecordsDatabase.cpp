#include "RecordsDatabase.h"

#include <framework/db/SqliteApi.h>
#include <type_traits>
#include <variant>

namespace qzdemo {

namespace {

constexpr const char* Schema = "CREATE TABLE IF NOT EXISTS events("
                               " id INTEGER PRIMARY KEY,"
                               " title TEXT(24) NOT NULL,"
                               " happened DATE,"
                               " logged DATETIME,"
                               " due DATE,"
                               " review DATE)";

constexpr const char* Rows =
    "INSERT INTO events VALUES"
    " (1, 'Kick-off meeting', '2026-01-12', '2026-01-12 09:15:00', '2026-02-01', '2026-03-01'),"
    " (2, 'Design review', '2026-02-03', '2026-02-03 14:00:00', '2026-02-20', NULL),"
    " (3, 'First release', '2026-03-09', '2026-03-10 08:05:00', '2026-03-31', '2026-04-15'),"
    " (4, 'Customer visit', 'someday', NULL, '2026-04-02', NULL),"
    " (5, 'Budget planning', '2026-02-30', '2026-03-01 11:45:00', '2026-05-15', '2026-06-01'),"
    " (6, 'Team outing', '2026-06-19', '2026-03-12 16:30:00', '2026-06-19', NULL)";

} // namespace

void PrepareRecordsDatabase(const std::filesystem::path& File, bool Reset) {
    const bool Existed = std::filesystem::exists(File);
    fw::TSqliteDatabase Db;
    Db.Open(File.string(), false, true, 1000);
    if (Existed && !Reset) return;
    Db.Exec("BEGIN");
    try {
        Db.Exec(Schema);
        Db.Exec("DELETE FROM events");
        Db.Exec(Rows);
        Db.Exec("COMMIT");
    } catch (...) {
        Db.Exec("ROLLBACK");
        throw;
    }
}

fw::String StoredValue(const std::filesystem::path& File, const fw::String& Sql) {
    fw::TSqliteDatabase Db;
    Db.Open(File.string(), true, false, 1000);
    fw::TSqliteStatement Statement = Db.Prepare(Sql);
    if (!Statement.Step()) return "no row";
    return std::visit(
        [](const auto& V) -> fw::String {
            using V_t = std::decay_t<decltype(V)>;
            if constexpr (std::is_same_v<V_t, std::monostate>)
                return "NULL";
            else if constexpr (std::is_same_v<V_t, fw::String>)
                return V;
            else
                return std::to_string(V);
        },
        Statement.Column(0));
}

} // namespace qzdemo
