// TSqlDataSet: the table or query, and the opening every backend shares.

#include <framework/classes/Published.h>
#include <framework/db/SqlDataSet.h>

namespace fw {

FW_PUBLISH(TSqlDataSet) {
    cls.Str("TableName", &TSqlDataSet::TableName, &TSqlDataSet::SetTableName, "").Unlisted();
    cls.Str("SQL", &TSqlDataSet::SQL, &TSqlDataSet::SetSQL, "").Unlisted();
}

TSqlDataSet::TSqlDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

void TSqlDataSet::CloseQuietly() noexcept {
    try {
        Close();
    } catch (const Exception&) {
    }
}

void TSqlDataSet::CheckInactive() const {
    if (Active() && !ComponentState().Contains(csLoading)) DatabaseError(SDataSetOpen);
}

void TSqlDataSet::SetTableName(const String& Value) {
    if (Value == FTableName) return;
    CheckInactive();
    FTableName = Value;
}

void TSqlDataSet::SetSQL(const String& Value) {
    if (Value == FSQL) return;
    CheckInactive();
    FSQL = Value;
}

void TSqlDataSet::InternalOpen() {
    FKeyed = false;
    FTable.clear();
    Connect();
    if (FSQL.empty() && FTableName.empty())
        DatabaseError("No table name or SQL: set TableName or SQL before opening the dataset");
    if (!FSQL.empty())
        OpenQuery(FSQL);
    else
        OpenTable();
}

} // namespace fw
