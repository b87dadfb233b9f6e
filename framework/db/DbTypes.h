#pragma once
// The small types the data layer shares: field kinds, dataset states, the
// events a dataset sends its data sources, stored values, and the database
// error with its standard messages.

#include <cstdint>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/Types.h>
#include <variant>
#include <vector>

namespace fw {

enum TFieldType { ftUnknown, ftString, ftInteger, ftLargeint, ftFloat, ftBoolean, ftDate, ftDateTime };

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What a dataset tells its data sources, and they their links.
enum TDataEvent {
    deFieldChange,     // one field's value changed (Info: the field)
    deRecordChange,    // the current record's values changed (Info: a field or null)
    deDataSetChange,   // the whole set of visible records changed
    deDataSetScroll,   // the current record moved (Info: the distance)
    deLayoutChange,    // the fields changed
    deUpdateRecord,    // write pending control text into the record now
    deUpdateState,     // the state or Active changed
    deCheckBrowseMode, // about to leave the record: links finish their editing
};

// One stored value as a storage backend hands it over: null, a whole
// number, a real number or text. Field kinds convert from these; a value
// of an unexpected form (text in a date column that is not a date) is
// kept as it was read.
using TStoredValue = std::variant<std::monostate, std::int64_t, double, String>;
using TRecordBuffer = std::vector<TStoredValue>;
// One mark a field (1: set), in field order: the fields read, assigned or
// wanted. Bytes rather than bits, as every edit copies and tests them.
using TFieldFlags = std::vector<std::uint8_t>;

inline bool IsNullValue(const TStoredValue& v) {
    return std::holds_alternative<std::monostate>(v);
}

inline void ClearValue(TStoredValue& v) {
    if (!IsNullValue(v)) v = std::monostate();
}

// Raises EDatabaseError with Message.
[[noreturn]] void DatabaseError(const String& Message);

// Standard messages.
inline constexpr const char* SDataSourceFixed = "Operation not allowed in a DBCtrlGrid";
inline constexpr const char* SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* SFieldRequired = "Field '%s' must have a value";
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SRecordChanged = "The record was changed or deleted by another user";
inline constexpr const char* SCircularDataLink = "Circular datalinks are not allowed";

} // namespace fw
