// The data-aware date edit on a real SQLite file, driven by keys, Tab and the
// popup: what it shows, when the dataset enters edit mode, what reaches the file.

#include "DBDateFixture.h"

#include <Qzde/QzCalendarPopup.h>
#include <framework/controls/Clipboard.h>
#include <framework/db/DataLink.h>
#include <framework/platform/Keys.h>
#include <functional>
#include <gtest/gtest.h>

namespace qztest {
namespace {

using fw::Ui::BeepCount;
using fw::Ui::PressKey;
using fw::Ui::TypeText;

using Showing = DBDateFixture;

TEST_F(Showing, TheFieldsTextFollowsTheRecord) {
    // Focused: the field's edit text; a null date is empty; a stored value that
    // is not a date is shown as the field gives it.
    const char* Expected[] = {"10/12/1955", "09/12/1906", "", "garbage"};
    for (const char* Text : Expected) {
        EXPECT_EQ(edit->Text(), Text);
        dataSet->Next();
    }
    EXPECT_EQ(edit->FieldAlignment(), fw::taRightJustify);
    EXPECT_EQ(edit->MaxLength(), 0);
    EXPECT_EQ(dataSet->State(), fw::dsBrowse);
    EXPECT_TRUE(edit->fw::TCustomEdit::ReadOnly()) << "read-only while the link does not edit";
}

TEST_F(Showing, ATwoDigitYearIsExpandedUnlessEditingInTheApplicationsLayout) {
    // The note column holds "7/12/26" as text in row 2.
    edit->SetDataField("note");
    edit->SetDateFormat("d/mm/yyyy");
    dataSet->Next();
    EXPECT_EQ(edit->Text(), "7/12/2026");
    EXPECT_EQ(edit->MaxLength(), 12) << "a string field's size limits the text";
    EXPECT_EQ(edit->FieldAlignment(), fw::taLeftJustify);
    fw::FormatSettings.ShortDateFormat = "d/mm/yyyy";
    dataSet->Edit();
    edit->Reset();
    EXPECT_EQ(edit->Text(), "7/12/26");
    EXPECT_EQ(edit->SelLength(), 7);
}

TEST_F(Showing, WithoutAFieldTheTextIsEmptyAndTheDesignerShowsTheName) {
    edit->SetMaxLength(5);
    edit->SetDataField("");
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->MaxLength(), 0);
    EXPECT_EQ(edit->FieldAlignment(), fw::taLeftJustify);
    edit->SetDesigning(true);
    edit->Reset();
    EXPECT_EQ(edit->Text(), "DBDateEdit1");
}

TEST_F(Showing, LeavingShowsTheDisplayTextAndEnteringTheEditText) {
    Born()->SetDisplayFormat("d mmm yyyy");
    fw::Ui::Tab();
    EXPECT_FALSE(edit->FocusedState());
    EXPECT_EQ(edit->Text(), "10 Dec 1955");
    fw::Ui::ShiftTab();
    EXPECT_TRUE(edit->FocusedState());
    EXPECT_EQ(edit->Text(), "10/12/1955");
}

using Writing = DBDateFixture;

TEST_F(Writing, ATypedDateReachesTheFileAsISOText) {
    edit->SelectAll();
    TypeText("7");
    EXPECT_EQ(dataSet->State(), fw::dsEdit) << "the first digit asks the dataset to edit";
    TypeText("/12/26");
    fw::Ui::Tab();
    EXPECT_FALSE(edit->Focused());
    EXPECT_EQ(edit->Text(), "07/12/2026");
    EXPECT_EQ(Born()->AsDateTime(), fw::EncodeDate(2026, 12, 7));
    dataSet->Post();
    EXPECT_EQ(StoredText(file, "SELECT born FROM people WHERE id = 1"), "2026-12-07");
    EXPECT_EQ(BeepCount(), 0);
}

TEST_F(Writing, AClearedTextStoresNull) {
    edit->SelectAll();
    PressKey(fw::VK_BACK);
    fw::Ui::Tab();
    dataSet->Post();
    EXPECT_EQ(StoredText(file, "SELECT born FROM people WHERE id = 1"), "<null>");
}

TEST_F(Writing, AnInvalidOrOutOfRangeTextKeepsTheFocusAndWritesNothing) {
    // An impossible date, and a real one before MinDate.
    for (const char* Typed : {"31/02/2003", "01/01/1950"}) {
        SCOPED_TRACE(Typed);
        edit->SetMinDate(fw::EncodeDate(1951, 1, 1));
        int Invalid = 0;
        edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
        edit->SelectAll();
        TypeText(Typed);
        fw::Ui::Tab();
        EXPECT_TRUE(edit->Focused());
        EXPECT_TRUE(edit->FocusedState());
        EXPECT_EQ(Invalid, 1);
        EXPECT_EQ(Born()->Text(), "10/12/1955");
        EXPECT_TRUE(edit->DataLink()->IsModified()) << "the record was not updated";
    }
}

TEST_F(Writing, AReadOnlyLinkKeepsTheDatasetBrowsingAndTheTextUnchanged) {
    edit->SetReadOnly(true);
    edit->SelectAll();
    TypeText("1");
    PressKey(fw::VK_DELETE);
    EXPECT_EQ(dataSet->State(), fw::dsBrowse);
    EXPECT_EQ(edit->Text(), "10/12/1955");
    fw::Ui::Tab();
    EXPECT_EQ(edit->Text(), "10/12/1955");
}

TEST_F(Writing, AFieldPassedThroughWithoutTypingIsNeverRewritten) {
    // Day 0 (30/12/1899) is a date like any other, and a two-digit year stored as
    // text is one the exit check would expand: neither is written back by passing
    // through.
    Execute(file, "UPDATE people SET born = '1899-12-30' WHERE id = 1");
    dataSet->Refresh();
    const struct {
        const char* Field;
        int Record;
        const char* Shown;
        const char* Stored;
    } Rows[] = {{"born", 1, "30/12/1899", "1899-12-30"}, {"note", 2, "7/12/26", "7/12/26"}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Field);
        edit->SetDataField(R.Field);
        dataSet->SetRecNo(R.Record);
        dataSet->Edit();
        fw::Ui::Tab();
        fw::Ui::ShiftTab();
        EXPECT_EQ(edit->Text(), R.Shown) << "shown on entering";
        fw::Ui::Tab();
        EXPECT_FALSE(edit->Focused());
        EXPECT_EQ(edit->Text(), R.Shown) << "still shown after leaving";
        EXPECT_FALSE(dataSet->Modified());
        dataSet->Post();
        EXPECT_EQ(StoredText(file, "SELECT " + std::string(R.Field) +
                                       " FROM people WHERE id = " + std::to_string(R.Record)),
                  R.Stored);
        fw::Ui::ShiftTab();
    }
    // Typed, day 0 is stored as the date it is, not as no date.
    edit->SetDataField("born");
    dataSet->SetRecNo(3);
    TypeAndLeave("30/12/1899");
    EXPECT_EQ(edit->Text(), "30/12/1899");
    dataSet->Post();
    EXPECT_EQ(StoredText(file, "SELECT born FROM people WHERE id = 3"), "1899-12-30");
}

TEST_F(Writing, AnEditThatCannotChangeItsTextLetsTheFocusGo) {
    // Over a stored text that is no date (Edsger's 'garbage'), or a display text the
    // exit check refuses: the user could neither correct nor clear it.
    const struct {
        const char* Case;
        int Record;
        std::function<void(bool)> ReadOnly;
    } Rows[] = {
        {"read-only link", 4, [&](bool On) { edit->SetReadOnly(On); }},
        {"read-only field", 4, [&](bool On) { Born()->SetReadOnly(On); }},
        {"read-only dataset", 4, [&](bool On) { dataSet->SetReadOnly(On); }},
        {"display text", 1,
         [&](bool On) {
             edit->SetReadOnly(On);
             Born()->SetDisplayFormat(On ? "d mmm yyyy" : "");
         }},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Case);
        dataSet->SetRecNo(R.Record);
        R.ReadOnly(true);
        edit->SetFocus();
        const std::string Shown = edit->Text();
        fw::Ui::Tab();
        EXPECT_TRUE(other->Focused()) << "the focus moved on";
        EXPECT_EQ(edit->Text(), Shown);
        EXPECT_EQ(dataSet->State(), fw::dsBrowse);
        R.ReadOnly(false);
    }
    EXPECT_EQ(StoredText(file, "SELECT born FROM people WHERE id = 4"), "garbage");
    EXPECT_EQ(StoredText(file, "SELECT born FROM people WHERE id = 1"), "1955-12-10");
}

TEST_F(Writing, ARefusedTextIsReportedAndStaysUntilEscape) {
    // The application refuses birth dates in the future.
    Born()->OnValidate = [](fw::TField* F) {
        if (F->AsDateTime() > fw::Date()) fw::DatabaseError("A birth date cannot lie in the future");
    };
    const struct {
        qz::TMessageTypes Type;
        int Beeps;
    } Rows[] = {{qz::mtWindows, 0}, {qz::mtBeep, 1}};
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Type);
        fw::ResetBeeps();
        edit->SetErrorMessageType(Row.Type);
        int Invalid = 0;
        edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
        fw::String Caption, Message;
        if (Row.Type == qz::mtWindows)
            fw::Ui::OnNextModal([&](fw::TForm*) {
                Caption = fw::Ui::MessageBoxCaption();
                Message = fw::Ui::MessageBoxText();
                fw::Ui::PressButton("OK");
            });
        edit->SelectAll();
        TypeText("1/1/29");
        fw::Ui::Tab();
        if (Row.Type == qz::mtWindows) {
            EXPECT_EQ(Caption, "Invalid Date!");
            EXPECT_EQ(Message, "A birth date cannot lie in the future");
        }
        EXPECT_EQ(BeepCount(), Row.Beeps);
        EXPECT_EQ(Invalid, 1);
        EXPECT_TRUE(edit->Focused());
        EXPECT_TRUE(edit->FocusedState());
        EXPECT_EQ(edit->Text(), "01/01/2029");
        EXPECT_EQ(edit->SelLength(), 10);
        EXPECT_EQ(Born()->Text(), "10/12/1955");
        EXPECT_EQ(dataSet->State(), fw::dsEdit);
        PressKey(fw::VK_ESCAPE);
        EXPECT_EQ(edit->Text(), "10/12/1955");
        EXPECT_EQ(dataSet->State(), fw::dsEdit) << "Escape reloads without cancelling";
    }
    // The reloaded value leaves without a word; the next valid date is stored.
    fw::Ui::Tab();
    EXPECT_FALSE(edit->FocusedState());
    fw::Ui::ShiftTab();
    edit->SelectAll();
    TypeText("2/3/04");
    fw::Ui::Tab();
    dataSet->Post();
    EXPECT_EQ(StoredText(file, "SELECT born FROM people WHERE id = 1"), "2004-03-02");
}

using Keys = DBDateFixture;

TEST_F(Keys, EachKeyAsksForEditModeOrBeepsAsItsTableSays) {
    const struct {
        const char* Name;
        fw::Word Key;
        fw::TShiftState Shift;
        int Beeps;
        fw::TDataSetState State;
        const char* Text;
    } Rows[] = {
        {"Ctrl+C enters edit mode", 'C', {fw::ssCtrl}, 0, fw::dsEdit, "10/12/1955"},
        {"Delete enters edit mode", fw::VK_DELETE, {}, 0, fw::dsEdit, ""},
        {"Shift+Insert pastes", fw::VK_INSERT, {fw::ssShift}, 0, fw::dsEdit, "25/12/2003"},
        {"Ctrl+V pastes", 'V', {fw::ssCtrl}, 0, fw::dsEdit, "25/12/2003"},
        {"a letter beeps twice", 'A', {}, 2, fw::dsBrowse, "10/12/1955"},
        {"a space beeps twice", fw::VK_SPACE, {}, 2, fw::dsBrowse, "10/12/1955"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        fw::Clipboard().SetAsText("25/12/2003");
        dataSet->Cancel();
        edit->Reset();
        fw::ResetBeeps();
        PressKey(Row.Key, Row.Shift);
        EXPECT_EQ(BeepCount(), Row.Beeps);
        EXPECT_EQ(dataSet->State(), Row.State);
        EXPECT_EQ(edit->Text(), Row.Text);
    }
}

TEST_F(Keys, EscapeReloadsOnlyWhileKeysAreAllowed) {
    edit->SelectAll();
    TypeText("1");
    PressKey(fw::VK_ESCAPE);
    EXPECT_EQ(edit->Text(), "10/12/1955");
    EXPECT_EQ(edit->SelLength(), 10);
    EXPECT_EQ(BeepCount(), 0);
    edit->SelectAll();
    TypeText("2");
    edit->SetAllowKeyEntry(false);
    PressKey(fw::VK_ESCAPE);
    EXPECT_EQ(edit->Text(), "2") << "the date edit's filter drops Escape first";
    EXPECT_EQ(BeepCount(), 1);
}

TEST_F(Keys, ACharacterTheFieldRefusesBeepsOnce) {
    edit->SetDataField("age");
    edit->SelectAll();
    TypeText("4/");
    EXPECT_EQ(edit->Text(), "4");
    EXPECT_EQ(BeepCount(), 1);
}

using Calendar = DBDateFixture;

TEST_F(Calendar, APickedDateEntersEditModeAndIsWrittenOnLeaving) {
    int Opened = 0, Closed = 0;
    edit->OnOpenCalendar = [&](fw::TObject*) { ++Opened; };
    edit->OnCloseCalendar = [&](fw::TObject*) { ++Closed; };
    fw::Ui::OnNextModal([](fw::TForm*) {
        PressKey(fw::VK_RIGHT);
        PressKey(fw::VK_RETURN);
    });
    PressKey(fw::VK_DOWN, {fw::ssAlt});
    EXPECT_EQ(edit->Text(), "11/12/1955");
    EXPECT_EQ(dataSet->State(), fw::dsEdit);
    EXPECT_EQ(Opened, 1);
    EXPECT_EQ(Closed, 1);
    fw::Ui::Tab();
    dataSet->Post();
    EXPECT_EQ(StoredText(file, "SELECT born FROM people WHERE id = 1"), "1955-12-11");
}

TEST_F(Calendar, WhenTheLinkCannotEditThePopupDoesNotOpen) {
    int Opened = 0, Closed = 0;
    edit->OnOpenCalendar = [&](fw::TObject*) { ++Opened; };
    edit->OnCloseCalendar = [&](fw::TObject*) { ++Closed; };
    edit->SetReadOnly(true);
    PressKey(fw::VK_DOWN, {fw::ssAlt});
    fw::Ui::Click(edit->CalendarButton());
    EXPECT_EQ(fw::Ui::ActiveModalForm(), nullptr);
    EXPECT_EQ(BeepCount(), 2);
    EXPECT_EQ(Opened, 2);
    EXPECT_EQ(Closed, 0);
    EXPECT_FALSE(edit->OpenCalendar());
    EXPECT_EQ(edit->Text(), "10/12/1955");
    EXPECT_EQ(dataSet->State(), fw::dsBrowse);
}

TEST(DBDateLinks, AFreedDataSourceIsForgottenWhereverItWasOwned) {
    fw::TComponent Owner(nullptr);
    auto* Source = new fw::TDataSource(&Owner);
    qz::TQzDBDateEdit Edit(nullptr);
    qz::TQzDBDateText Label(nullptr);
    Edit.SetDataSource(Source);
    Label.SetDataSource(Source);
    delete Source;
    EXPECT_EQ(Edit.GetDataSource(), nullptr);
    EXPECT_EQ(Label.GetDataSource(), nullptr);
}

} // namespace
} // namespace qztest
