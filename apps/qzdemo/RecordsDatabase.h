#pragma once
// The demo's database: an SQLite file of events with several date columns, made
// next to the tour's output the first time the demo runs.

#include <filesystem>
#include <framework/rtl/Types.h>

namespace qzdemo {

// The table "events": id, title, happened (DATE, right-aligned, refuses dates
// before 1900 in the form), logged (DATETIME), due (DATE, shown centred) and
// review (DATE, null in some rows). Two rows hold a stored value in "happened"
// that is not a date ('someday', '2026-02-30'), as another program might leave.
//
// Makes the file with its rows when it does not exist. With Reset, an existing
// file gets the original rows back (the tour needs known rows; a person's
// changes from an earlier run are replaced). Raises fw::EDatabaseError when the
// file cannot be made or written.
void PrepareRecordsDatabase(const std::filesystem::path& File, bool Reset);

// One value of the file as stored, read through a connection of its own (as
// another program would read it): the text, "NULL" for null.
fw::String StoredValue(const std::filesystem::path& File, const fw::String& Sql);

} // namespace qzdemo
