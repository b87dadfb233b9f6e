// The data-aware date label over the same SQLite table: layouts, the fall-back to
// the display text, null dates, its DateFormat rule, AutoSize, and form files.

#include "DBDateFixture.h"

#include <QzComponents5/QzRegister.h>
#include <framework/classes/FormFile.h>
#include <framework/db/DBCtrlGrid.h>
#include <framework/db/DataLink.h>
#include <framework/db/DbRegistration.h>
#include <gtest/gtest.h>
#include <tests/support/Golden.h>

namespace qztest {
namespace {

class Label : public DBDateFixture {
protected:
    void SetUp() override {
        DBDateFixture::SetUp();
        label = new qz::TQzDBDateText(form.get());
        label->SetName("DBDateText1");
        label->SetParent(form.get());
        label->SetBounds(140, 8, 120, 17);
        label->SetDataSource(dataSource);
        label->SetDataField("met");
    }
    // Shows the current record again (a data change).
    void Refresh() {
        dataSet->Next();
        dataSet->Prior();
    }

    qz::TQzDBDateText* label = nullptr;
};

TEST_F(Label, EachLayoutAndTheDateSeparator) {
    // 2026-03-14 09:30:00: the time of day is not shown.
    const struct {
        const char* Layout;
        char Separator;
        const char* Text;
    } Rows[] = {{"dd/mm/yyyy", '/', "14/03/2026"}, {"yyyy/mm/dd", '/', "2026/03/14"},
                {"d/m/yyyy", '/', "14/3/2026"},    {"mm/dd/yyyy", '/', "03/14/2026"},
                {"m/d/yyyy", '/', "3/14/2026"},    {"dd/mm/yyyy", '.', "14.03.2026"}};
    for (const auto& Row : Rows) {
        fw::FormatSettings.DateSeparator = Row.Separator;
        label->SetDateFormat(Row.Layout);
        Refresh();
        EXPECT_EQ(label->Caption(), Row.Text) << Row.Layout;
    }
}

TEST_F(Label, NullsNonDatesAndTextsAsTheyAre) {
    label->SetDataField("born");
    const char* Expected[] = {"10/12/1955", "09/12/1906", "", "garbage"};
    for (const char* Text : Expected) {
        EXPECT_EQ(label->Caption(), Text) << "a null date shows nothing, a non-date its display text";
        dataSet->Next();
    }
    dataSet->First();
    label->SetDataField("note");
    EXPECT_EQ(label->Caption(), "Rock & roll");
    EXPECT_FALSE(label->ShowAccelChar()) << "the ampersand is shown";
    label->SetDataField("");
    EXPECT_EQ(label->Caption(), "");
    label->SetDataField("met");
    label->SetDesigning(true);
    label->SetDataField("");
    EXPECT_EQ(label->Caption(), "DBDateText1");
}

TEST_F(Label, ANewLayoutShowsFromTheNextDataChange) {
    const int Before = label->InvalidateCount();
    label->SetDateFormat("YYYY/MM/DD");
    EXPECT_EQ(label->DateFormat(), "yyyy/mm/dd");
    EXPECT_GT(label->InvalidateCount(), Before);
    EXPECT_EQ(label->Caption(), "14/03/2026");
    label->SetDateFormat("dd-mm-yyyy");
    EXPECT_EQ(label->DateFormat(), "yyyy/mm/dd");
    Refresh();
    EXPECT_EQ(label->Caption(), "2026/03/14");
    // A painted copy computes its text at once.
    label->SetDateFormat("d/m/yyyy");
    label->SetControlState(label->ControlState() + fw::csPaintCopy);
    EXPECT_EQ(label->GetLabelText(), "14/3/2026");
    label->SetControlState(label->ControlState() - fw::csPaintCopy);
    EXPECT_EQ(label->GetLabelText(), "2026/03/14");
}

TEST_F(Label, AutoSizeFollowsTheTextButNotInsideAControlGrid) {
    EXPECT_FALSE(label->AutoSize());
    EXPECT_EQ(reinterpret_cast<fw::TFieldDataLink*>(label->Perform(fw::CM_GETDATALINK)), label->DataLink());
    label->SetAutoSize(true);
    EXPECT_LT(label->Width(), 120);
    label->SetAutoSize(false);
    label->DataLink()->SetDataSourceFixed(true);
    try {
        label->SetAutoSize(true);
        FAIL() << "no error";
    } catch (const fw::EDatabaseError& E) {
        EXPECT_STREQ(E.what(), fw::SDataSourceFixed);
    }
    EXPECT_FALSE(label->AutoSize());
}

// The label inside a data-aware control grid: one copy per visible record, each
// with its own record's date; a golden of four rows.
TEST_F(Label, CopiesInAControlGridShowEachRecordsDate) {
    form->SetBorderStyle(fw::bsNone);
    form->SetColor(fw::clBtnFace);
    form->SetBounds(0, 0, 200, 4 * 24);
    edit->SetVisible(false);
    other->SetVisible(false);
    label->SetVisible(false);
    auto* Grid = new fw::TDBCtrlGrid(form.get());
    Grid->SetParent(form.get());
    Grid->SetBounds(0, 0, 200, 4 * 24);
    Grid->SetPanelHeight(24);
    Grid->SetRowCount(4);
    auto* Caption = new fw::TLabel(form.get());
    Caption->SetParent(Grid->Panel());
    Caption->SetBounds(6, 5, 40, 13);
    Caption->SetCaption("Born");
    auto* Copy = new qz::TQzDBDateText(form.get());
    Copy->SetParent(Grid->Panel());
    Copy->SetBounds(50, 5, 140, 13);
    Copy->SetDateFormat("yyyy/mm/dd");
    Copy->SetDataField("born");
    Grid->SetDataSource(dataSource);
    fw::Ui::Pump();
    EXPECT_EQ(Copy->GetDataSource(), dataSource);
    EXPECT_GE(Grid->CopiesPainted(), 3);
    EXPECT_GOLDEN(fw::Ui::FormImage(form.get()), "dbdate", "grid-copies");
    EXPECT_THROW(Copy->SetAutoSize(true), fw::EDatabaseError);
    EXPECT_FALSE(Copy->AutoSize());
    // Its data source may go first, wherever it is owned.
    delete dataSource;
    EXPECT_EQ(Copy->GetDataSource(), nullptr);
    EXPECT_TRUE(Copy->DataLink()->DataSourceFixed()); // still the grid's to set
}

TEST_F(Label, BothControlsGoThroughAFormFileWithTheirBinding) {
    edit->SetReadOnly(true);
    edit->SetDateFormat("yyyy/mm/dd");
    label->SetDateFormat("d/m/yyyy");
    dataSet->SetName("People");
    dataSource->SetName("PeopleSource");
    form->SetName("Records");
    qz::RegisterPackageClasses();
    fw::RegisterDataClasses();
    const fw::String Text = fw::WriteComponentToText(form.get());
    const std::size_t Begin = Text.find("object DBDateEdit1");
    ASSERT_NE(Begin, fw::String::npos);
    EXPECT_EQ(Text.substr(Begin, Text.find("\n  end", Begin) - Begin).find("Text ="), fw::String::npos)
        << "the edit's text comes from the field";
    std::unique_ptr<fw::TComponent> Copy(fw::ReadComponentFromText(Text));
    auto* Edit = dynamic_cast<qz::TQzDBDateEdit*>(Copy->FindComponent("DBDateEdit1"));
    auto* Text2 = dynamic_cast<qz::TQzDBDateText*>(Copy->FindComponent("DBDateText1"));
    ASSERT_TRUE(Edit && Text2);
    EXPECT_EQ(Edit->GetDataSource(), Copy->FindComponent("PeopleSource"));
    EXPECT_EQ(Edit->GetDataField(), "born");
    EXPECT_TRUE(Edit->GetReadOnly());
    EXPECT_EQ(Text2->GetDataField(), "met");
    EXPECT_EQ(Text2->DateFormat(), "d/m/yyyy");
    EXPECT_EQ(fw::WriteComponentToText(Copy.get()), Text);
}

} // namespace
} // namespace qztest
