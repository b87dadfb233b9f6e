// Datasets through data sources and field data links: moving, the events
// in order, editing by a link, inserting, deleting, closing and freeing.

#include "DbTestSupport.h"

#include <framework/classes/ClassRegistry.h>
#include <framework/classes/FormFile.h>
#include <framework/db/DbRegistration.h>
#include <utility>

namespace fw::test {
namespace {

std::vector<std::string>* Events = nullptr;

void Hook(TDataSet* ds) {
    auto add = [](const char* name) { return [name](TDataSet*) { Events->push_back(name); }; };
    ds->BeforeOpen = add("BeforeOpen");
    ds->AfterOpen = add("AfterOpen");
    ds->BeforeClose = add("BeforeClose");
    ds->AfterClose = add("AfterClose");
    ds->BeforeEdit = add("BeforeEdit");
    ds->AfterEdit = add("AfterEdit");
    ds->BeforeInsert = add("BeforeInsert");
    ds->AfterInsert = add("AfterInsert");
    ds->BeforePost = add("BeforePost");
    ds->AfterPost = add("AfterPost");
    ds->BeforeCancel = add("BeforeCancel");
    ds->AfterCancel = add("AfterCancel");
    ds->BeforeDelete = add("BeforeDelete");
    ds->AfterDelete = add("AfterDelete");
    ds->BeforeScroll = add("BeforeScroll");
    ds->AfterScroll = add("AfterScroll");
    ds->OnNewRecord = add("OnNewRecord");
}

struct TEventLog {
    std::vector<std::string> Log;
    TEventLog() { Events = &Log; }
    ~TEventLog() { Events = nullptr; }
    std::vector<std::string> Take() { return std::exchange(Log, {}); }
};

TEST(DataSetMoving, PositionFlagsAndLinkNotifications) {
    TTempDatabase db;
    db.MakePeople(5);
    TPeople people(db.File(), false);
    TLinkProbe probe(people.Source.get(), "name");
    EXPECT_FALSE(probe.Link.Active());
    EXPECT_EQ(probe.Link.Field(), nullptr);
    people.Data->Open();
    EXPECT_TRUE(probe.Link.Active());
    EXPECT_EQ(probe.ActiveChanges, 1);
    EXPECT_EQ(probe.LastText, "p1");
    EXPECT_EQ(people.Data->State(), dsBrowse);
    EXPECT_EQ(people.Source->State(), dsBrowse);

    struct {
        const char* Step;
        std::function<int(TDataSet*)> Act;
        int Moved, RecNo;
        bool Bof, Eof;
    } const steps[] = {
        {"start", [](TDataSet*) { return 0; }, 0, 1, true, false},
        {"Next",
         [](TDataSet* d) {
             d->Next();
             return 1;
         },
         1, 2, false, false},
        {"MoveBy(2)", [](TDataSet* d) { return d->MoveBy(2); }, 2, 4, false, false},
        {"MoveBy(5)", [](TDataSet* d) { return d->MoveBy(5); }, 1, 5, false, true},
        {"Next at the end", [](TDataSet* d) { return d->MoveBy(1); }, 0, 5, false, true},
        {"Prior", [](TDataSet* d) { return d->MoveBy(-1); }, -1, 4, false, false},
        {"MoveBy(-9)", [](TDataSet* d) { return d->MoveBy(-9); }, -3, 1, true, false},
        {"Last",
         [](TDataSet* d) {
             d->Last();
             return 0;
         },
         0, 5, false, true},
        {"First",
         [](TDataSet* d) {
             d->First();
             return 0;
         },
         0, 1, true, false},
        {"RecNo 3",
         [](TDataSet* d) {
             d->SetRecNo(3);
             return 2;
         },
         2, 3, false, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Step);
        EXPECT_EQ(s.Act(people.Data.get()), s.Moved);
        EXPECT_EQ(people.Data->RecNo(), s.RecNo);
        EXPECT_EQ(people.Data->Bof(), s.Bof);
        EXPECT_EQ(people.Data->Eof(), s.Eof);
        EXPECT_EQ(probe.LastText, "p" + std::to_string(s.RecNo)) << "the link heard the move";
    }
    EXPECT_EQ(people.Data->RecordCount(), 5);

    // While controls are disabled, links hear nothing; enabling sends one change.
    const int before = probe.DataChanges;
    people.Data->DisableControls();
    people.Data->DisableControls();
    people.Data->Next();
    people.Data->EnableControls();
    people.Data->Next();
    EXPECT_EQ(probe.DataChanges, before);
    people.Data->EnableControls();
    EXPECT_EQ(probe.DataChanges, before + 1);
    EXPECT_EQ(probe.LastText, "p5");

    people.Data->Close();
    EXPECT_FALSE(probe.Link.Active());
    EXPECT_EQ(probe.Link.Field(), nullptr) << "a closing dataset unbinds the field";
    EXPECT_EQ(probe.LastText, "");
    EXPECT_EQ(people.Data->RecordCount(), 0);
    EXPECT_THROW(people.Data->Next(), EDatabaseError);
}

TEST(DataSetEvents, EachOperationFiresItsEventsInOrder) {
    TTempDatabase db;
    db.MakePeople(2);
    TEventLog events;
    TPeople people(db.File(), false);
    Hook(people.Data.get());
    using V = std::vector<std::string>;
    people.Data->Open();
    EXPECT_EQ(events.Take(), (V{"BeforeOpen", "AfterOpen", "AfterScroll"}));
    people.Data->Next();
    EXPECT_EQ(events.Take(), (V{"BeforeScroll", "AfterScroll"}));
    people.Data->Edit();
    EXPECT_EQ(events.Take(), (V{"BeforeEdit", "AfterEdit"}));
    people.F("score")->SetAsFloat(9);
    people.Data->Post();
    EXPECT_EQ(events.Take(), (V{"BeforePost", "AfterPost"}));
    people.Data->Insert();
    EXPECT_EQ(events.Take(),
              (V{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll"}));
    people.Data->Cancel();
    EXPECT_EQ(events.Take(), (V{"BeforeCancel", "AfterCancel"}));
    people.Data->Delete();
    EXPECT_EQ(events.Take(), (V{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
    // Moving away from a modified record posts it first.
    people.Data->Edit();
    people.F("score")->SetAsFloat(3);
    people.Data->Prior();
    EXPECT_EQ(events.Take(),
              (V{"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost", "BeforeScroll", "AfterScroll"}));
    EXPECT_EQ(db.Scalar("SELECT score FROM people WHERE id = 1"), "3.0");
    people.Data->Close();
    EXPECT_EQ(events.Take(), (V{"BeforeClose", "AfterClose"}));
    // A BeforePost that raises stops the post in edit mode.
    people.Data->Open();
    events.Take();
    people.Data->BeforePost = [](TDataSet*) { throw EDatabaseError("not now"); };
    people.Data->Edit();
    people.F("name")->SetAsString("kept");
    EXPECT_THROW(people.Data->Post(), EDatabaseError);
    EXPECT_EQ(people.Data->State(), dsEdit);
    EXPECT_EQ(people.F("name")->AsString(), "kept");
}

TEST(DataLinkEditing, EditThroughTheLinkFollowsAutoEditReadOnlyAndFieldRights) {
    TTempDatabase db;
    db.MakePeople(2);
    TPeople people(db.File());
    TLinkProbe probe(people.Source.get(), "name");
    struct {
        const char* Case;
        bool AutoEdit, LinkReadOnly, FieldReadOnly, DataSetReadOnly;
        bool Editing;
    } const rows[] = {
        {"allowed", true, false, false, false, true},
        {"no AutoEdit", false, false, false, false, false},
        {"read-only link", true, true, false, false, false},
        {"read-only field", true, false, true, false, false},
        {"read-only dataset", true, false, false, true, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Case);
        people.Source->SetAutoEdit(r.AutoEdit);
        probe.Link.SetReadOnly(r.LinkReadOnly);
        people.F("name")->SetReadOnly(r.FieldReadOnly);
        people.Data->SetReadOnly(r.DataSetReadOnly);
        const int editingChanges = probe.EditingChanges;
        EXPECT_EQ(probe.Link.CanModify(), !r.LinkReadOnly && !r.FieldReadOnly && !r.DataSetReadOnly);
        EXPECT_EQ(probe.Link.Edit(), r.Editing);
        EXPECT_EQ(probe.Link.Editing(), r.Editing);
        EXPECT_EQ(people.Data->State(), r.Editing ? dsEdit : dsBrowse);
        EXPECT_EQ(probe.EditingChanges, editingChanges + (r.Editing ? 1 : 0));
        people.Data->Cancel();
        EXPECT_FALSE(probe.Link.Editing());
    }
    // A dataset put in edit mode by someone else: the link is editing too.
    people.Source->SetAutoEdit(false);
    probe.Link.SetReadOnly(false);
    people.F("name")->SetReadOnly(false);
    people.Data->SetReadOnly(false);
    people.Data->Edit();
    EXPECT_TRUE(probe.Link.Editing());
    EXPECT_TRUE(probe.Link.Edit());
    people.Data->Cancel();
}

TEST(DataLinkEditing, PostAsksModifiedLinksForTheirTextAndResetReloads) {
    TTempDatabase db;
    db.MakePeople(2);
    TPeople people(db.File());
    TLinkProbe name(people.Source.get(), "name");
    TLinkProbe born(people.Source.get(), "born");
    int sourceUpdates = 0;
    people.Source->OnUpdateData = [&](TObject*) { ++sourceUpdates; };

    ASSERT_TRUE(name.Type("Anne"));
    EXPECT_EQ(name.Updates, 0) << "nothing is written before the post";
    people.Data->Post(); // the focused control still holds its text
    EXPECT_EQ(name.Updates, 1);
    EXPECT_EQ(born.Updates, 0) << "an unmodified link is not asked";
    EXPECT_EQ(sourceUpdates, 1);
    EXPECT_EQ(db.Scalar("SELECT name FROM people WHERE id = 1"), "Anne");
    EXPECT_EQ(name.LastText, "Anne");

    // Reset reloads the control from the field and clears the mark.
    ASSERT_TRUE(name.Type("Typed"));
    const int changes = name.DataChanges;
    name.Link.Reset();
    EXPECT_EQ(name.DataChanges, changes + 1);
    EXPECT_FALSE(name.Link.IsModified());
    people.Data->Post();
    EXPECT_EQ(name.Updates, 1);
    EXPECT_EQ(db.Scalar("SELECT name FROM people WHERE id = 1"), "Anne");

    // UpdateRecord: the field refuses the text; the mark stays, the dataset edits on.
    ASSERT_TRUE(born.Type("31/31/2026"));
    EXPECT_THROW(born.Link.UpdateRecord(), EConvertError);
    EXPECT_TRUE(born.Link.IsModified());
    EXPECT_THROW(people.Data->Post(), EConvertError);
    EXPECT_EQ(people.Data->State(), dsEdit);
    born.PendingText = "";
    people.Data->Post();
    EXPECT_EQ(db.Scalar("SELECT born FROM people WHERE id = 1"), "NULL");

    // A field change reaches only the links of that field.
    people.Data->Edit();
    const int nameChanges = name.DataChanges, bornChanges = born.DataChanges;
    people.F("name")->SetAsString("Bea");
    EXPECT_EQ(name.DataChanges, nameChanges + 1);
    EXPECT_EQ(born.DataChanges, bornChanges);
    people.Data->Cancel();
    EXPECT_EQ(name.LastText, "Anne") << "cancel reloads the controls";
}

TEST(DataSetEditing, InsertAppendDeleteAndCancelReachTheFile) {
    TTempDatabase db;
    db.MakePeople(3);
    TPeople people(db.File());
    people.Data->OnNewRecord = [](TDataSet* d) { d->FieldByName("score")->SetAsFloat(1); };
    people.Data->SetRecNo(2);
    people.Data->Insert();
    EXPECT_EQ(people.Data->State(), dsInsert);
    EXPECT_EQ(people.F("score")->AsFloat(), 1) << "OnNewRecord's default";
    EXPECT_TRUE(people.F("name")->IsNull());
    people.F("name")->SetAsString("new");
    people.Data->Post();
    EXPECT_EQ(people.Data->RecNo(), 2) << "inserted before the current record";
    EXPECT_EQ(people.Data->RecordCount(), 4);
    EXPECT_EQ(people.F("visits")->AsInteger(), 7) << "the column default, read back";
    EXPECT_EQ(people.F("id")->AsInteger(), 4) << "the key, read back";
    people.Data->Next();
    EXPECT_EQ(people.F("name")->AsString(), "p2");

    people.Data->Append();
    people.F("name")->SetAsString("last");
    people.Data->Post();
    EXPECT_EQ(people.Data->RecNo(), 5);

    // An untouched new record is dropped when the user moves away.
    people.Data->Insert();
    people.Data->First();
    EXPECT_EQ(people.Data->RecordCount(), 5);

    people.Data->SetRecNo(3);
    people.Data->Delete();
    EXPECT_EQ(people.F("name")->AsString(), "p3");
    EXPECT_EQ(db.Scalar("SELECT group_concat(name, ',') FROM (SELECT name FROM people ORDER BY id)"),
              "p1,p3,new,last");

    // Edit on an empty dataset inserts.
    db.Exec("DELETE FROM people");
    people.Data->Refresh();
    EXPECT_TRUE(people.Data->IsEmpty());
    EXPECT_TRUE(people.Data->Bof() && people.Data->Eof());
    EXPECT_THROW(people.Data->Delete(), EDatabaseError);
    people.Data->Edit();
    EXPECT_EQ(people.Data->State(), dsInsert);
    people.Data->Cancel();

    // Reopened, the file holds what was posted.
    people.Data->Close();
    people.Data->Open();
    EXPECT_TRUE(people.Data->IsEmpty());
}

TEST(DataSetEditing, WritingOutsideEditModeOrToReadOnlyFieldsRaises) {
    TTempDatabase db;
    db.MakePeople(1);
    TPeople people(db.File());
    EXPECT_THROW(people.F("name")->SetAsString("x"), EDatabaseError);
    EXPECT_THROW(people.Data->Post(), EDatabaseError);
    people.F("name")->SetReadOnly(true);
    people.Data->Edit();
    EXPECT_THROW(people.F("name")->SetAsString("x"), EDatabaseError);
    people.Data->Cancel();
    people.Data->SetReadOnly(true);
    EXPECT_FALSE(people.Data->CanModify());
    EXPECT_THROW(people.Data->Edit(), EDatabaseError);
    EXPECT_THROW(people.Data->Insert(), EDatabaseError);
    EXPECT_THROW(people.Data->Delete(), EDatabaseError);
}

TEST(DataSetLifetime, LinksFollowAFreedSourceAndSourcesAFreedDataSet) {
    TTempDatabase db;
    db.MakePeople(1);
    auto people = std::make_unique<TPeople>(db.File());
    TLinkProbe probe(people->Source.get(), "name");
    EXPECT_EQ(people->Source->LinkCount(), 1);
    people->Data.reset();
    EXPECT_EQ(people->Source->DataSet(), nullptr);
    EXPECT_FALSE(probe.Link.Active());
    EXPECT_EQ(probe.Link.Field(), nullptr);
    people->Source.reset();
    EXPECT_EQ(probe.Link.DataSource(), nullptr);

    // A field name the dataset lacks binds nothing and raises nothing.
    TPeople again(db.File());
    TLinkProbe missing(again.Source.get(), "nope");
    EXPECT_TRUE(missing.Link.Active());
    EXPECT_EQ(missing.Link.Field(), nullptr);
    EXPECT_FALSE(missing.Link.Edit());
    missing.Link.SetFieldName("NAME");
    EXPECT_EQ(missing.Link.Field(), again.F("name"));
    // A fixed data source cannot be changed.
    missing.Link.SetDataSourceFixed(true);
    try {
        missing.Link.SetDataSource(nullptr);
        ADD_FAILURE() << "should raise";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Operation not allowed in a DBCtrlGrid");
    }
    missing.Link.SetDataSourceFixed(false);
}

TEST(DataSetFormFiles, PropertiesStreamAndActiveIsRestoredOnLoad) {
    TTempDatabase db;
    db.MakePeople(2);
    RegisterDataClasses();
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* ds = new TSQLiteDataSet(owner.get());
    ds->SetName("tblPeople");
    ds->SetFileName(db.File());
    ds->SetTableName("people");
    auto* src = new TDataSource(owner.get());
    src->SetName("dsPeople");
    src->SetDataSet(ds);
    src->SetAutoEdit(false);
    ds->Open();
    owner->SetName("Holder");
    const String text = WriteComponentToText(owner.get());
    for (const char* line : {"object tblPeople: TSQLiteDataSet", "Active = True", "TableName = 'people'",
                             "object dsPeople: TDataSource", "AutoEdit = False", "DataSet = tblPeople"})
        EXPECT_NE(text.find(line), String::npos) << line << " in\n" << text;

    RegisterClasses({TComponent::StaticClass()});
    std::unique_ptr<TComponent> loaded(ReadComponentFromText(text, nullptr));
    auto* tbl = dynamic_cast<TSQLiteDataSet*>(loaded->FindComponent("tblPeople"));
    auto* source = dynamic_cast<TDataSource*>(loaded->FindComponent("dsPeople"));
    ASSERT_TRUE(tbl && source);
    EXPECT_TRUE(tbl->Active()) << "Active applied once every property was read";
    EXPECT_EQ(tbl->RecordCount(), 2);
    EXPECT_EQ(source->DataSet(), tbl);
    EXPECT_EQ(source->State(), dsBrowse);
    EXPECT_FALSE(source->AutoEdit());
    EXPECT_EQ(WriteComponentToText(loaded.get()), text);
    EXPECT_THROW(tbl->SetTableName("other"), EDatabaseError) << "not while open";
}

// Form files written before the backends shared their base keep their order.
TEST(DataSetFormFiles, EveryPropertyKeepsItsPlace) {
    TSQLiteDataSet ds(nullptr);
    ds.SetName("tbl");
    ds.SetFileName("a.db");
    ds.SetTableName("t");
    ds.SetSQL("SELECT 1");
    ds.SetBusyTimeout(5);
    ds.SetReadOnly(true);
    ds.SetDesignLeft(1);
    ds.SetDesignTop(2);
    EXPECT_EQ(WriteComponentToText(&ds), "object tbl: TSQLiteDataSet\n"
                                         "  FileName = 'a.db'\n"
                                         "  TableName = 't'\n"
                                         "  SQL = 'SELECT 1'\n"
                                         "  BusyTimeout = 5\n"
                                         "  ReadOnly = True\n"
                                         "  Left = 1\n"
                                         "  Top = 2\n"
                                         "end\n");
}

} // namespace
} // namespace fw::test
