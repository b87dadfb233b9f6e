#pragma once
// The demo's events on a PostgreSQL server (qzdemo --database CONNINFO): the
// table "events" with the columns of the SQLite file as native types (date,
// timestamp), and the same rows, except that a server date column cannot hold
// the two texts that are not dates: those rows' "happened" is null there.
// Built only with the PostgreSQL dataset (QZ_HAVE_PG).

#ifdef QZ_HAVE_PG

#include <framework/rtl/Types.h>

namespace fw {
class TComponent;
class TDataSet;
} // namespace fw

namespace qzdemo {

// Makes the table with its rows when it does not exist; with Reset an existing
// table gets the original rows back. Raises fw::EDatabaseError (server
// unreachable, no right to create the table...).
void PrepareRecordsServer(const fw::String& ConnInfo, bool Reset);

// One value as the server holds it, read through a connection of its own: the
// text, "NULL" for null, "no row" when there is none.
fw::String ServerStoredValue(const fw::String& ConnInfo, const fw::String& Sql);

// A dataset over the server's "events", owned by Owner, not yet open.
fw::TDataSet* MakeServerEvents(fw::TComponent* Owner, const fw::String& ConnInfo);

} // namespace qzdemo

#endif
