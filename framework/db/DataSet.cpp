// TDataSet: states, moving, editing, the row cache and the events.

#include <algorithm>
#include <framework/classes/Published.h>
#include <framework/db/DataSet.h>
#include <framework/db/DataSource.h>
#include <framework/rtl/Format.h>
#include <framework/rtl/SysUtils.h>

namespace fw {

namespace {

const TStoredValue NullStored;
constexpr std::size_t MaxCachedPages = 8;

// Restores a flag on every path out of a scope.
struct TFlagGuard {
    bool& Flag;
    bool Saved;
    explicit TFlagGuard(bool& flag, bool value) : Flag(flag), Saved(flag) { Flag = value; }
    ~TFlagGuard() { Flag = Saved; }
};

// The kind a field class reports for a requested kind.
TFieldType ClassKind(TFieldType type) {
    switch (type) {
    case ftLargeint:
        return ftInteger;
    case ftUnknown:
        return ftString;
    default:
        return type;
    }
}

} // namespace

void DatabaseError(const String& Message) {
    throw EDatabaseError(Message);
}

FW_PUBLISH(TDataSet) {
    cls.Bool("Active", &TDataSet::Active, &TDataSet::SetActive, false);
    cls.Event("AfterCancel", &TDataSet::AfterCancel);
    cls.Event("AfterClose", &TDataSet::AfterClose);
    cls.Event("AfterDelete", &TDataSet::AfterDelete);
    cls.Event("AfterEdit", &TDataSet::AfterEdit);
    cls.Event("AfterInsert", &TDataSet::AfterInsert);
    cls.Event("AfterOpen", &TDataSet::AfterOpen);
    cls.Event("AfterPost", &TDataSet::AfterPost);
    cls.Event("AfterScroll", &TDataSet::AfterScroll);
    cls.Event("BeforeCancel", &TDataSet::BeforeCancel);
    cls.Event("BeforeClose", &TDataSet::BeforeClose);
    cls.Event("BeforeDelete", &TDataSet::BeforeDelete);
    cls.Event("BeforeEdit", &TDataSet::BeforeEdit);
    cls.Event("BeforeInsert", &TDataSet::BeforeInsert);
    cls.Event("BeforeOpen", &TDataSet::BeforeOpen);
    cls.Event("BeforePost", &TDataSet::BeforePost);
    cls.Event("BeforeScroll", &TDataSet::BeforeScroll);
    cls.Event("OnNewRecord", &TDataSet::OnNewRecord);
    cls.Bool("ReadOnly", &TDataSet::ReadOnly, &TDataSet::SetReadOnly, false).Unlisted();
    cls.DesignPosition();
}

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

// A backend closes itself in its own destructor (its storage is gone by
// the time this runs); what is left here only detaches the data sources.
TDataSet::~TDataSet() {
    FState = dsInactive;
    auto sources = FDataSources;
    for (TDataSource* source : sources)
        source->SetDataSet(nullptr);
}

// ---------------------------------------------------------------- opening

void TDataSet::SetActive(bool Value) {
    if (ComponentState().Contains(csLoading)) {
        FStreamedActive = Value;
        return;
    }
    if (Value == Active()) return;
    if (Value) {
        Fire(BeforeOpen);
        OpenCursor();
        Fire(AfterOpen);
        Fire(AfterScroll);
    } else {
        Fire(BeforeClose);
        CloseCursor();
        Fire(AfterClose);
    }
}

void TDataSet::Loaded() {
    inherited::Loaded();
    if (FStreamedActive) {
        FStreamedActive = false;
        SetActive(true);
    }
}

void TDataSet::OpenCursor() {
    FOldFields = std::move(FFields);
    FFields.clear();
    try {
        InternalOpen();
    } catch (...) {
        InternalClose();
        for (auto& f : FFields)
            FOldFields.push_back(std::move(f));
        FFields = std::move(FOldFields);
        FOldFields.clear();
        throw;
    }
    FOldFields.clear();
    ClearRowCache();
    FWanted.assign(FFields.size(), false);
    const int count = InternalRecordCount();
    FCurrent = count > 0 ? 0 : -1;
    FBof = true;
    FEof = count == 0;
    FModified = false;
    SetState(dsBrowse);
}

void TDataSet::CloseCursor() {
    InternalClose();
    ClearRowCache();
    FEditBuffer.clear();
    FOldBuffer.clear();
    FCurrent = -1;
    FPaintRecord = -1;
    FBof = FEof = true;
    FModified = false;
    SetState(dsInactive);
}

TField* TDataSet::AddField(const String& Name, TFieldType Type, int Size, bool Required, bool ReadOnly) {
    std::unique_ptr<TField> field;
    String key = LowerCase(Name);
    auto old = std::find_if(FOldFields.begin(), FOldFields.end(), [&](const std::unique_ptr<TField>& f) {
        return f && LowerCase(f->FieldName()) == key && f->DataType() == ClassKind(Type);
    });
    if (old != FOldFields.end()) {
        field = std::move(*old); // reused: keeps its events and display settings
    } else {
        field.reset(CreateFieldOfType(Type, nullptr));
        field->SetFieldName(Name);
        field->SetReadOnly(ReadOnly);
    }
    field->FDataSet = this;
    field->FFieldNo = static_cast<int>(FFields.size());
    field->FIndex = field->FFieldNo;
    field->SetSize(field->DataType() == ftString ? Size : 0);
    field->SetRequired(Required);
    if (ReadOnly) field->SetReadOnly(true);
    FFields.push_back(std::move(field));
    return FFields.back().get();
}

void TDataSet::CheckActive() const {
    if (FState == dsInactive) DatabaseError(SDataSetClosed);
}

bool TDataSet::CanModify() const {
    return !FReadOnly && Active() && InternalCanModify();
}

void TDataSet::CheckCanModify() const {
    if (CanModify()) return;
    const String reason = !FReadOnly && Active() ? InternalReadOnlyReason() : String();
    DatabaseError(reason.empty() ? String(SDataSetReadOnly) : String(SDataSetReadOnly) + ": " + reason);
}

void TDataSet::SetReadOnly(bool Value) {
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    if (Active()) {
        for (TDataSource* source : FDataSources)
            source->NotifyState(true);
    }
}

void TDataSet::SetState(TDataSetState Value) {
    if (Value == FState) return;
    FState = Value;
    DataEvent(deUpdateState);
}

// ---------------------------------------------------------------- notification

void TDataSet::AddDataSource(TDataSource* Source) {
    FDataSources.push_back(Source);
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), Source), FDataSources.end());
}

// Links hear nothing while controls are disabled, except the requests to
// write their pending text (so a post never loses what a control holds).
void TDataSet::DataEvent(TDataEvent Event, std::intptr_t Info) {
    if (FDisableCount > 0 && Event != deUpdateRecord && Event != deCheckBrowseMode) {
        FChangedWhileDisabled = true;
        return;
    }
    if (FDataSources.size() == 1) return FDataSources[0]->DataEvent(Event, Info); // the usual case
    // A handler may detach a source: the loop then stays on the index that
    // now holds the next one.
    for (std::size_t i = 0; i < FDataSources.size();) {
        TDataSource* source = FDataSources[i];
        source->DataEvent(Event, Info);
        if (i < FDataSources.size() && FDataSources[i] == source) ++i;
    }
}

void TDataSet::DisableControls() {
    ++FDisableCount;
}

void TDataSet::EnableControls() {
    if (FDisableCount == 0) return;
    if (--FDisableCount > 0 || !FChangedWhileDisabled) return;
    FChangedWhileDisabled = false;
    auto sources = FDataSources;
    for (TDataSource* source : sources)
        source->NotifyState(false);
    DataEvent(deDataSetChange);
}

// ---------------------------------------------------------------- rows

void TDataSet::ClearRowCache() {
    FPages.clear();
    FLastPage = -1;
    ++FCacheGeneration;
}

// The cached page of row Index, or null.
TDataSet::TPage* TDataSet::FindPage(int Index) const {
    const int first = Index - Index % PageSize();
    if (FLastPage >= 0 && FPages[static_cast<std::size_t>(FLastPage)].First == first)
        return &FPages[static_cast<std::size_t>(FLastPage)];
    ++FUseClock;
    for (std::size_t i = 0; i < FPages.size(); ++i) {
        if (FPages[i].First == first) {
            FPages[i].LastUse = FUseClock;
            FLastPage = static_cast<int>(i);
            return &FPages[i];
        }
    }
    return nullptr;
}

// A page reads only the fields asked for so far; a field asked for the first
// time is read into the page then, beside the values already there (which
// stay as they were read: they are what the user has seen).
const TStoredValue* TDataSet::Row(int Index, int FieldNo) const {
    const std::size_t width = FFields.size();
    const auto has = [&](const TPage& page) -> bool {
        if (FieldNo == NoField) return true;
        return FieldNo >= 0 ? page.Columns[static_cast<std::size_t>(FieldNo)]
                            : std::find(page.Columns.begin(), page.Columns.end(), false) == page.Columns.end();
    };
    // A page none of whose fields was asked for holds no values yet.
    const auto row = [&](const TPage& page) -> const TStoredValue* {
        if (page.Values.empty()) return nullptr;
        return page.Values.data() + static_cast<std::size_t>(Index - page.First) * width;
    };
    if (TPage* cached = FindPage(Index); cached && Index - cached->First < cached->Count && has(*cached))
        return row(*cached);

    // The page is read outside the cache: a backend may drop the cache while
    // it reads (its list of rows changed).
    TPage page;
    if (TPage* cached = FindPage(Index)) {
        page = std::move(*cached);
        FPages.erase(FPages.begin() + (cached - FPages.data()));
        FLastPage = -1;
    } else {
        page.First = Index - Index % PageSize();
        page.Count = std::max(std::min(PageSize(), InternalRecordCount() - page.First), 0);
        page.Columns.assign(width, false);
    }
    const int at = Index - page.First;
    if (at >= page.Count) {
        // A row past the end (the list shrank since the position was taken)
        // reads as an empty record.
        page.Count = at + 1;
        if (!page.Values.empty()) page.Values.resize(static_cast<std::size_t>(page.Count) * width);
    }
    if (FieldNo >= 0)
        FWanted[static_cast<std::size_t>(FieldNo)] = true;
    else if (FieldNo == AllFields)
        FWanted.assign(width, true);
    TFieldFlags columns(width);
    bool any = false;
    for (std::size_t c = 0; c < width; ++c) {
        columns[c] = FWanted[c] && !page.Columns[c];
        any = any || columns[c];
    }
    if (any && page.Values.empty()) page.Values.resize(static_cast<std::size_t>(page.Count) * width);
    const unsigned generation = FCacheGeneration;
    const int count = any ? std::min(page.Count, InternalRecordCount() - page.First) : 0;
    try {
        if (count > 0) const_cast<TDataSet*>(this)->InternalFetch(page.First, count, columns, page.Values.data());
    } catch (...) {
        // The page keeps what it held (the columns asked for stay unread).
        if (generation == FCacheGeneration) KeepPage(std::move(page));
        throw;
    }
    if (generation != FCacheGeneration) {
        // The rows moved while they were read: what the page held before
        // belongs to other positions.
        for (std::size_t c = 0; c < width; ++c)
            if (!columns[c] && page.Columns[c]) {
                page.Columns[c] = false;
                for (int r = 0; r < page.Count; ++r)
                    page.Values[static_cast<std::size_t>(r) * width + c] = TStoredValue();
            }
    }
    for (std::size_t c = 0; c < width; ++c)
        if (columns[c]) page.Columns[c] = true;
    return row(KeepPage(std::move(page)));
}

// Puts a page into the cache, in the place of the least recently used one
// when full.
TDataSet::TPage& TDataSet::KeepPage(TPage&& Page) const {
    Page.LastUse = ++FUseClock;
    if (FPages.size() < MaxCachedPages) {
        FPages.push_back(std::move(Page));
        FLastPage = static_cast<int>(FPages.size()) - 1;
    } else {
        auto oldest = std::min_element(FPages.begin(), FPages.end(),
                                       [](const TPage& a, const TPage& b) { return a.LastUse < b.LastUse; });
        *oldest = std::move(Page);
        FLastPage = static_cast<int>(oldest - FPages.begin());
    }
    return FPages[static_cast<std::size_t>(FLastPage)];
}

// The record as posted into its cached row: the fields read or assigned
// (the others keep what the page holds; a field the page has not read is
// read with it when asked for).
void TDataSet::StoreRow(int Index, TRecordBuffer&& Values) {
    TPage* page = FindPage(Index);
    if (!page || Index - page->First >= page->Count || page->Values.empty()) return;
    const std::size_t width = FFields.size();
    TStoredValue* row = page->Values.data() + static_cast<std::size_t>(Index - page->First) * width;
    for (std::size_t c = 0; c < width && c < Values.size(); ++c)
        if (page->Columns[c] && (FRead[c] || FAssigned[c])) row[c] = std::move(Values[c]);
}

const TStoredValue& TDataSet::FieldStoredValue(int FieldNo) const {
    if (FState == dsInactive || FieldNo < 0 || FieldNo >= FieldCount()) return NullStored;
    const auto no = static_cast<std::size_t>(FieldNo);
    const bool editing = FState == dsEdit || FState == dsInsert;
    if (FPaintRecord < 0 || (editing && FPaintRecord == (FState == dsInsert ? FInsertIndex : FCurrent))) {
        if (!editing) return FCurrent >= 0 ? Row(FCurrent, FieldNo)[no] : NullStored;
        if (FState == dsEdit && no < FRead.size() && !FRead[no]) const_cast<TDataSet*>(this)->ReadEditField(no);
        return no < FEditBuffer.size() ? FEditBuffer[no] : NullStored;
    }
    int index = FPaintRecord;
    if (FState == dsInsert && index > FInsertIndex) --index; // rows below the new one
    return index < InternalRecordCount() ? Row(index, FieldNo)[no] : NullStored;
}

// A field of the record being edited that was not read when the edit began:
// read now (beside what the page held), as the old value, and as the value
// unless the user has assigned one.
void TDataSet::ReadEditField(std::size_t FieldNo) {
    const TStoredValue& value = Row(FCurrent, static_cast<int>(FieldNo))[FieldNo];
    FOldBuffer[FieldNo] = value;
    if (!FAssigned[FieldNo]) FEditBuffer[FieldNo] = value;
    FRead[FieldNo] = true;
}

// Every field of the record being edited read (for a check against the whole row).
void TDataSet::ReadEditRecord() {
    if (std::find(FRead.begin(), FRead.end(), false) == FRead.end()) return;
    const TStoredValue* row = Row(FCurrent, AllFields);
    for (std::size_t c = 0; c < FRead.size(); ++c)
        if (!FRead[c]) {
            FOldBuffer[c] = row[c];
            if (!FAssigned[c]) FEditBuffer[c] = row[c];
            FRead[c] = true;
        }
}

bool TDataSet::FieldAssigned(int FieldNo) const {
    return FieldNo >= 0 && static_cast<std::size_t>(FieldNo) < FAssigned.size() &&
           FAssigned[static_cast<std::size_t>(FieldNo)];
}

void TDataSet::SetPaintRecord(int Index) {
    FPaintRecord = Active() ? Index : -1;
}

void TDataSet::SetFieldStoredValue(TField* Field, TStoredValue Value) {
    if (FState != dsEdit && FState != dsInsert) DatabaseError(SNotEditing);
    if (Field->ReadOnly()) DatabaseError(Format(SFieldReadOnly, {Field->DisplayLabel()}));
    const auto no = static_cast<std::size_t>(Field->FieldNo());
    TStoredValue old = std::move(FEditBuffer[no]);
    const bool wasAssigned = FAssigned[no];
    FEditBuffer[no] = std::move(Value);
    FAssigned[no] = true; // a handler reading the field now reads the new value
    if (Field->OnValidate) {
        try {
            Field->OnValidate(Field);
        } catch (...) {
            // An unread field read by the handler takes what was read.
            FEditBuffer[no] = wasAssigned || FRead[no] ? std::move(old) : FOldBuffer[no];
            FAssigned[no] = wasAssigned;
            throw;
        }
    }
    FModified = true;
    if (Field->OnChange) Field->OnChange(Field);
    DataEvent(deFieldChange, reinterpret_cast<std::intptr_t>(Field));
}

// ---------------------------------------------------------------- moving

int TDataSet::RecordCount() const {
    return Active() ? InternalRecordCount() : 0;
}

bool TDataSet::IsEmpty() const {
    return Active() && FState != dsInsert && InternalRecordCount() == 0;
}

int TDataSet::RecNo() const {
    if (!Active() || FState == dsInsert || FCurrent < 0) return 0;
    return FCurrent + 1;
}

void TDataSet::SetRecNo(int Value) {
    CheckActive();
    CheckBrowseMode();
    const int count = InternalRecordCount();
    if (count == 0) return;
    MoveBy(std::clamp(Value, 1, count) - 1 - FCurrent);
}

void TDataSet::First() {
    CheckActive();
    CheckBrowseMode();
    Fire(BeforeScroll);
    const int count = InternalRecordCount();
    FCurrent = count > 0 ? 0 : -1;
    FBof = true;
    FEof = count == 0;
    DataEvent(deDataSetChange);
    Fire(AfterScroll);
}

void TDataSet::Last() {
    CheckActive();
    CheckBrowseMode();
    Fire(BeforeScroll);
    const int count = InternalRecordCount();
    FCurrent = count - 1;
    FEof = true;
    FBof = count == 0;
    DataEvent(deDataSetChange);
    Fire(AfterScroll);
}

int TDataSet::MoveBy(int Distance) {
    CheckActive();
    CheckBrowseMode();
    if (Distance == 0) return 0;
    Fire(BeforeScroll);
    const int count = InternalRecordCount();
    int moved = 0;
    FBof = FEof = false;
    if (count == 0) {
        FBof = FEof = true;
    } else {
        const long long wanted = static_cast<long long>(FCurrent) + Distance;
        const int target = static_cast<int>(std::clamp<long long>(wanted, 0, count - 1));
        if (wanted > count - 1) FEof = true;
        if (wanted < 0) FBof = true;
        moved = target - FCurrent;
        FCurrent = target;
    }
    if (moved != 0) DataEvent(deDataSetScroll, moved);
    Fire(AfterScroll);
    return moved;
}

// ---------------------------------------------------------------- editing

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (FState == dsEdit || FState == dsInsert) {
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::UpdateRecord() {
    if (FState != dsEdit && FState != dsInsert) DatabaseError(SNotEditing);
    DataEvent(deUpdateRecord);
}

void TDataSet::Edit() {
    if (FState == dsEdit || FState == dsInsert) return;
    CheckActive();
    if (InternalRecordCount() == 0) return Insert();
    CheckBrowseMode();
    CheckCanModify();
    Fire(BeforeEdit);
    // While the storage holds the rows, the fields read so far come with the
    // record and any other is read when first asked for (ReadEditField).
    const TStoredValue* row = Row(FCurrent, InternalRowsHeld() ? NoField : AllFields);
    FRead = FindPage(FCurrent)->Columns;
    const std::size_t n = FFields.size();
    // The buffers keep their size from one edit to the next (a post leaves
    // them as they are); what the last edit left is cleared here.
    FOldBuffer.resize(n);
    FEditBuffer.resize(n);
    for (std::size_t c = 0; c < n; ++c)
        if (FRead[c]) {
            FOldBuffer[c] = row[c];
            FEditBuffer[c] = row[c];
        } else {
            ClearValue(FOldBuffer[c]);
            ClearValue(FEditBuffer[c]);
        }
    FAssigned.resize(n);
    std::fill(FAssigned.begin(), FAssigned.end(), 0);
    FModified = false;
    SetState(dsEdit);
    DataEvent(deRecordChange);
    Fire(AfterEdit);
}

void TDataSet::Insert() {
    BeginInsert(false);
}
void TDataSet::Append() {
    BeginInsert(true);
}

void TDataSet::BeginInsert(bool append) {
    CheckActive();
    CheckBrowseMode();
    CheckCanModify();
    Fire(BeforeInsert);
    Fire(BeforeScroll);
    const int count = InternalRecordCount();
    FInsertIndex = append ? count : std::max(FCurrent, 0);
    FEditBuffer.assign(FFields.size(), TStoredValue());
    FOldBuffer.clear();
    FAssigned.assign(FFields.size(), false);
    FRead.assign(FFields.size(), true);
    FModified = false;
    SetState(dsInsert);
    if (OnNewRecord) {
        try {
            OnNewRecord(this);
        } catch (...) {
            Cancel();
            throw;
        }
    }
    FModified = false; // defaults alone do not make a record worth keeping
    DataEvent(deDataSetChange);
    Fire(AfterInsert);
    Fire(AfterScroll);
}

void TDataSet::Post() {
    CheckActive();
    UpdateRecord();
    const bool inserting = FState == dsInsert;
    Fire(BeforePost);
    if (inserting || FModified) {
        for (const auto& field : FFields) {
            const auto no = static_cast<std::size_t>(field->FieldNo());
            const bool known = inserting || FRead[no] || FAssigned[no]; // else not written
            if (field->Required() && !field->ReadOnly() && known && IsNullValue(FEditBuffer[no]))
                DatabaseError(Format(SFieldRequired, {field->DisplayLabel()}));
        }
        int index = inserting ? FInsertIndex : FCurrent;
        // The backend changes the edit buffer only when the write succeeded,
        // so a failure leaves the user's values as they were. It moves the
        // index when its rows changed underneath (deleted elsewhere).
        InternalPost(index, inserting, FOldBuffer, FEditBuffer, FAssigned, FRead);
        const int count = InternalRecordCount();
        index = std::clamp(index, 0, std::max(count - 1, 0));
        if (inserting || index != FCurrent) {
            ClearRowCache();
            FCurrent = count > 0 ? index : -1;
            FBof = FEof = count == 0;
        } else {
            StoreRow(index, std::move(FEditBuffer));
        }
    }
    FModified = false;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterPost);
}

void TDataSet::Cancel() {
    if (FState != dsEdit && FState != dsInsert) return;
    Fire(BeforeCancel);
    FEditBuffer.clear();
    FOldBuffer.clear();
    FModified = false;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterCancel);
}

void TDataSet::Delete() {
    CheckActive();
    if (FState == dsInsert) return Cancel();
    if (InternalRecordCount() == 0) DatabaseError(SDataSetEmpty);
    CheckCanModify();
    DataEvent(deCheckBrowseMode);
    Fire(BeforeDelete);
    Fire(BeforeScroll);
    TRecordBuffer old;
    if (FState == dsEdit) {
        ReadEditRecord();
        old = FOldBuffer;
    } else {
        const TStoredValue* row = Row(FCurrent, AllFields);
        old.assign(row, row + FFields.size());
    }
    InternalDelete(FCurrent, old);
    ClearRowCache();
    FEditBuffer.clear();
    FOldBuffer.clear();
    FModified = false;
    const int count = InternalRecordCount();
    if (FCurrent >= count) FCurrent = count - 1;
    FBof = FCurrent <= 0;
    FEof = count == 0;
    SetState(dsBrowse);
    DataEvent(deDataSetChange);
    Fire(AfterDelete);
    Fire(AfterScroll);
}

void TDataSet::Refresh() {
    CheckBrowseMode();
    InternalRefresh();
    ClearRowCache();
    const int count = InternalRecordCount();
    FCurrent = std::min(std::max(FCurrent, 0), count - 1);
    FBof = FCurrent <= 0;
    FEof = count == 0;
    DataEvent(deDataSetChange);
}

// ---------------------------------------------------------------- fields

TField* TDataSet::FindField(const String& Name) const {
    String key = LowerCase(Name);
    for (const auto& f : FFields)
        if (LowerCase(f->FieldName()) == key) return f.get();
    return nullptr;
}

TField* TDataSet::FieldByName(const String& Name) const {
    TField* f = FindField(Name);
    if (!f) DatabaseError(Format(SFieldNotFound, {Name}));
    return f;
}

} // namespace fw
