#pragma once
// How PostgreSQL column types map to field kinds, and how values travel
// between the server's text form and the dataset's stored values.
//
// Whole numbers (int2, int4, int8, oid) are stored as integers, real and
// exact numbers (float4, float8, numeric) as doubles, booleans as 0 or 1,
// date and timestamp columns as their ISO text ('YYYY-MM-DD',
// 'YYYY-MM-DD HH:MM:SS[.ffffff]'; timestamptz without its offset, so it
// reads and writes in the session's time zone), everything else as text.
// A value the server sends in an unexpected form ('infinity', a BC date)
// stays text: the field shows it and its typed readers refuse it.

#include <framework/db/DbTypes.h>
#include <framework/db/pg/PgConnection.h>

namespace fw {

// Type oids of the built-in types the dataset knows.
namespace pgtype {
inline constexpr unsigned Bool = 16, Bytea = 17, Name = 19, Int8 = 20, Int2 = 21, Int4 = 23, Text = 25,
                          Oid = 26, Float4 = 700, Float8 = 701, BpChar = 1042, VarChar = 1043, Date = 1082,
                          Timestamp = 1114, TimestampTz = 1184, Numeric = 1700;
} // namespace pgtype

// The field kind of a column of type Oid with type modifier Modifier; Size
// receives the length limit of char(n) and varchar(n) columns (else 0).
TFieldType PgFieldType(unsigned Oid, int Modifier, int& Size);

// A value in the server's text form as the dataset stores it.
TStoredValue PgToStored(unsigned Oid, std::string_view Text);
// A stored value as a statement parameter (nullopt for null).
TPgParam StoredToPg(const TStoredValue& Value);

} // namespace fw
