#pragma once
// TDataSet: an ordered set of records with one current record, browsed and
// edited through fields, and heard by data sources.
//
// States: dsInactive (closed), dsBrowse, dsEdit (the current record is being
// changed), dsInsert (a new record is being made). Edit, Insert and Append
// enter the editing states; Post writes the record and Cancel drops the
// changes, both back to dsBrowse. Moving to another record (First, Next,
// MoveBy, RecNo...) posts a pending edit first. A Post that fails (required
// field, database error, a record changed by another user) raises and
// leaves the dataset in its editing state with every value the user entered.
//
// Storage backends derive from TDataSet and implement the protected
// Internal... functions: open and describe the columns, count rows, fetch a
// page of rows, post a row, delete a row, refresh. docs/architecture.md
// ("Data layer") states the contract in full.

#include <framework/classes/Component.h>
#include <framework/db/Field.h>
#include <memory>

namespace fw {

class TDataSource;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;

class TDataSet : public TComponent {
    FW_CLASS(TDataSet, TComponent)

public:
    explicit TDataSet(TComponent* AOwner);
    ~TDataSet() override;

    // ---------------------------------------------------------------- opening
    bool Active() const { return FState != dsInactive; }
    // While a form file is read, the value is kept and applied in Loaded.
    void SetActive(bool Value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return FState; }

    // ---------------------------------------------------------------- moving
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves Distance records (clamped to the ends); returns how far it moved.
    int MoveBy(int Distance);
    bool Bof() const { return FBof; }
    bool Eof() const { return FEof; }
    // The current record's position, 1-based (0 when empty or inserting).
    int RecNo() const;
    void SetRecNo(int Value);
    int RecordCount() const;
    bool IsEmpty() const;

    // ---------------------------------------------------------------- editing
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Re-reads the rows from storage, staying on the current record's
    // position as far as possible.
    void Refresh();
    // Posts (when modified) or cancels a pending edit; links finish first.
    void CheckBrowseMode();
    // Asks every link to write its pending text into the record.
    void UpdateRecord();
    // Whether the record being edited has changes.
    bool Modified() const { return FModified; }
    bool CanModify() const;
    // Why the storage takes no changes, when it says ("" otherwise).
    String ReadOnlyReason() const { return Active() ? InternalReadOnlyReason() : String(); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);

    // ---------------------------------------------------------------- fields
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int Index) const { return FFields.at(static_cast<std::size_t>(Index)).get(); }
    // The field of that name (ignoring case); FieldByName raises when absent.
    TField* FieldByName(const String& Name) const;
    TField* FindField(const String& Name) const;

    // ---------------------------------------------------------------- controls
    // Counted: while disabled, links hear nothing; EnableControls sends one
    // deDataSetChange when the last disabling ends.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    // Points the fields at another record without moving (no events): the
    // data-aware control grid paints its rows this way. -1 goes back to
    // the current record. Only while browsing; Index is 0-based.
    void SetPaintRecord(int Index);
    int PaintRecord() const { return FPaintRecord; }
    // For controls that show several records: the 0-based place of the
    // current record (a record being inserted counts at its place; -1 when
    // empty), and the number of places (RecordCount plus that record).
    int ActiveIndex() const { return FState == dsInsert ? FInsertIndex : FCurrent; }
    int PlaceCount() const { return RecordCount() + (FState == dsInsert ? 1 : 0); }

    // ---------------------------------------------------------------- events
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeEdit, AfterEdit, BeforeInsert, AfterInsert;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord;

    // Used by fields: the active record's stored values and their writing.
    const TStoredValue& FieldStoredValue(int FieldNo) const;
    void SetFieldStoredValue(TField* Field, TStoredValue Value);
    // Whether Field was assigned while inserting (unassigned columns take the
    // storage's defaults).
    bool FieldAssigned(int FieldNo) const;

protected:
    // ================================================================ the storage contract
    // Opens the storage and adds the fields (AddField) in column order.
    // Raises EDatabaseError on failure; the dataset then stays closed.
    virtual void InternalOpen() = 0;
    // Releases the storage; must not raise.
    virtual void InternalClose() = 0;
    // Number of rows.
    virtual int InternalRecordCount() const = 0;
    // Reads rows [First, First + Count) into Values: FieldCount() values a
    // row, row by row, the columns in field order. Only the columns Columns
    // marks are wanted: write those and leave the others as they are (they
    // may hold values read before, which must stay); a backend that reads
    // every column anyway may write all and mark them all in Columns. A row
    // that no longer exists in the storage (deleted by someone else) is left
    // as it is (a new page's rows are null: the record then reads null and
    // cannot be posted).
    virtual void InternalFetch(int First, int Count, TFieldFlags& Columns, TStoredValue* Values) = 0;
    // Writes row Index. Inserting: a new row that becomes row Index (the rows
    // from there move down by one); Values holds the new values and Assigned
    // which columns were set. Updating: Old holds the values the row had when
    // read, for the columns Read marks (a column nobody read is null in Old
    // and in Values unless Assigned: write it only when Assigned, and do not
    // compare it); the backend must raise EDatabaseError(SRecordChanged) when
    // the stored row no longer matches Old in those columns (changed or
    // deleted by someone else). On success Values receives the row as stored
    // (keys, defaults), Read marking the columns of Values that hold it, and
    // Index the row's place when the backend's list of rows changed under it
    // (rows deleted elsewhere: an insert past the end is placed last). On
    // failure raise EDatabaseError with the storage's message and change
    // nothing, Values and Read included (they are the user's edit buffer).
    virtual void InternalPost(int& Index, bool Inserting, const TRecordBuffer& Old, TRecordBuffer& Values,
                              const TFieldFlags& Assigned, TFieldFlags& Read) = 0;
    // Deletes row Index (Old: its values as read; raise SRecordChanged when
    // the stored row no longer matches). The rows after it move up by one.
    virtual void InternalDelete(int Index, const TRecordBuffer& Old) = 0;
    // Re-reads the set of rows.
    virtual void InternalRefresh() = 0;
    // Whether nobody else can change the rows until the edit about to begin
    // has ended (the application holds a transaction no one has written
    // around): Edit then takes only the fields read so far, and reads the
    // others when they are asked for. Otherwise it reads the whole record,
    // whose every field a write then checks.
    virtual bool InternalRowsHeld() { return false; }
    // Whether the storage accepts changes (a query may not).
    virtual bool InternalCanModify() const { return true; }
    // Why the storage accepts no changes when that is not plain (added to the
    // read-only error); empty otherwise.
    virtual String InternalReadOnlyReason() const { return String(); }
    // Rows fetched per InternalFetch call.
    virtual int PageSize() const { return 256; }

    // For InternalOpen: adds a field of that kind for the next column.
    TField* AddField(const String& Name, TFieldType Type, int Size = 0, bool Required = false,
                     bool ReadOnly = false);
    // Forgets every fetched row (after the storage changed behind the cache).
    void ClearRowCache();

    void Loaded() override;

private:
    friend class TDataSource;
    friend class TField;
    // Rows [First, First + Count), FieldCount() values a row, holding the
    // columns Columns marks (read when first asked for).
    struct TPage {
        int First = 0;
        int Count = 0;
        TFieldFlags Columns;
        std::vector<TStoredValue> Values;
        unsigned LastUse = 0;
    };

    void OpenCursor();
    void CloseCursor();
    void CheckActive() const;
    void CheckBrowsing() const;
    void CheckCanModify() const;
    void SetState(TDataSetState Value);
    void DataEvent(TDataEvent Event, std::intptr_t Info = 0);
    // The values of row Index, holding field FieldNo (every field when
    // AllFields, the fields read so far when NoField).
    static constexpr int AllFields = -1, NoField = -2;
    const TStoredValue* Row(int Index, int FieldNo) const;
    // Editing: reads field FieldNo of the record into the old and edit buffers.
    void ReadEditField(std::size_t FieldNo);
    void ReadEditRecord();
    TPage* FindPage(int Index) const;
    TPage& KeepPage(TPage&& Page) const;
    void BeginInsert(bool append);
    void DoScroll(int newIndex);
    void Fire(const TDataSetNotifyEvent& Event) {
        if (Event) Event(this);
    }
    void AddDataSource(TDataSource* Source);
    void RemoveDataSource(TDataSource* Source);
    void StoreRow(int Index, TRecordBuffer&& Values);

    TDataSetState FState = dsInactive;
    std::vector<std::unique_ptr<TField>> FFields;
    std::vector<std::unique_ptr<TField>> FOldFields; // kept from the last open for reuse
    std::vector<TDataSource*> FDataSources;
    int FCurrent = -1; // 0-based current row, -1 when empty
    int FInsertIndex = -1;
    int FPaintRecord = -1;
    bool FBof = true;
    bool FEof = true;
    bool FModified = false;
    bool FReadOnly = false;
    bool FStreamedActive = false;
    int FDisableCount = 0;
    bool FChangedWhileDisabled = false;
    TRecordBuffer FEditBuffer;
    TRecordBuffer FOldBuffer;
    TFieldFlags FAssigned;
    TFieldFlags FRead; // editing: the fields of FOldBuffer read from the storage
    mutable std::vector<TPage> FPages;
    mutable unsigned FUseClock = 0;
    mutable int FLastPage = -1;
    mutable TFieldFlags FWanted;       // the fields read so far: what a new page reads
    unsigned FCacheGeneration = 0;     // counts ClearRowCache calls
};

} // namespace fw
