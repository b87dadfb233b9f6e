#pragma once
// TSqlDataSet: what the datasets over a database connection share: a table
// (TableName) or a query (SQL), named while the dataset is closed; the
// opening that checks them, connects and reads one or the other; and one
// transaction the application may hold around many posts.
//
// A backend adds its connection's own properties and implements Connect,
// OpenTable, OpenQuery and the rest of TDataSet's storage contract. A table
// whose rows the backend can find again by a key is keyed, and only a keyed
// table takes changes; a query, or a table without a key, is read-only.
//
// TableName, SQL and ReadOnly are published unlisted: each backend lists them
// where its form files have them (`cls.Redeclare("TableName")`).

#include <framework/db/DataSet.h>

namespace fw {

class TSqlDataSet : public TDataSet {
    FW_CLASS(TSqlDataSet, TDataSet)

public:
    // The table to open; ignored when SQL is set.
    const String& TableName() const { return FTableName; }
    void SetTableName(const String& Value);
    // A SELECT to open instead of a table (read-only).
    const String& SQL() const { return FSQL; }
    void SetSQL(const String& Value);

    // One transaction around many posts (the posts then do not commit one by
    // one). Rollback cancels a pending edit and re-reads the rows.
    virtual void StartTransaction() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() const = 0;

protected:
    explicit TSqlDataSet(TComponent* AOwner);
    // For a backend's destructor: closes, swallowing a failure (the base's
    // destructor runs too late to reach the storage).
    void CloseQuietly() noexcept;
    // Raises while the dataset is open (except while a form file is read):
    // for the setters of what it was opened with.
    void CheckInactive() const;

    // Checks that a table or SQL is given, connects, and reads the query or
    // the table.
    void InternalOpen() override;
    // Checks the backend's own connection properties and connects (or only
    // checks, for a backend that connects on first use).
    virtual void Connect() = 0;
    // Opens TableName: adds its fields and sets FKeyed and FTable. A table
    // without a key to find its rows by is read through OpenQuery(QueryText()).
    virtual void OpenTable() = 0;
    // Opens a SELECT, read-only.
    virtual void OpenQuery(const String& Sql) = 0;
    bool InternalCanModify() const override { return FKeyed; }

    // What a dataset that is not keyed reads: its SQL, or the whole table.
    String QueryText() const { return FSQL.empty() ? "SELECT * FROM " + FTable : FSQL; }

    bool FKeyed = false; // a table found by its keys: paged and writable
    String FTable;       // the open table's name as statements spell it

private:
    String FTableName;
    String FSQL;
};

} // namespace fw
