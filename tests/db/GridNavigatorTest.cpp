// The data-aware control grid and the navigator on a shown form, driven by
// keys, the wheel and clicks, on a real SQLite file.

#include "../support/UiFixture.h"
#include "DbTestSupport.h"

#include <framework/backends/headless/Automation.h>
#include <framework/classes/ClassRegistry.h>
#include <framework/classes/FormFile.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/db/DBCtrlGrid.h>
#include <framework/db/DBNavigator.h>
#include <framework/db/DbRegistration.h>
#include <framework/forms/Form.h>
#include <framework/forms/Registration.h>
#include <framework/graphics/Png.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Messages.h>

namespace fw::test {
namespace {

// A minimal data-aware label, as a data-aware control is built: it owns a
// field data link, answers CM_GETDATALINK, is csReplicatable, and paints
// the field of the record it is painted for while csPaintCopy is set.
class TProbeText : public TCustomLabel {
public:
    explicit TProbeText(TComponent* AOwner) : TCustomLabel(AOwner) {
        SetControlStyle(ControlStyle() + csReplicatable);
        SetAutoSize(false);
        FLink.OnDataChange = [this](TObject*) {
            SetCaption(FLink.Field() ? FLink.Field()->DisplayText() : "");
        };
    }
    TFieldDataLink& Link() { return FLink; }
    String GetLabelText() const override {
        const bool copy = ControlState().Contains(csPaintCopy);
        String text = copy && FLink.Field() ? FLink.Field()->DisplayText() : Caption();
        Painted.push_back((copy ? "copy " : "live ") + text);
        return text;
    }
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_GETDATALINK) {
            Message.Result = reinterpret_cast<LRESULT>(&FLink);
            return;
        }
        TCustomLabel::Dispatch(Message);
    }
    mutable std::vector<std::string> Painted;

private:
    TFieldDataLink FLink;
};

class GridTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        db.MakePeople(10);
        people = std::make_unique<TPeople>(db.File());
        form = new TForm(nullptr);
        form->SetBounds(10, 10, 320, 260);
        grid = new TDBCtrlGrid(form);
        grid->SetParent(form);
        grid->SetBounds(8, 8, 200, 0);
        grid->SetPanelHeight(30);
        grid->SetRowCount(3);
        probe = new TProbeText(form);
        probe->SetParent(grid->Panel());
        probe->SetBounds(4, 4, 100, 20);
        probe->Link().SetFieldName("name");
        edit = new TEdit(form); // not replicatable: only on the current row
        edit->SetParent(grid->Panel());
        edit->SetBounds(110, 4, 60, 21);
        grid->SetDataSource(people->Source.get());
        form->Show();
        Ui::Pump();
    }
    void TearDown() override {
        delete form;
        people.reset();
        UiFixture::TearDown();
    }
    // Paints the grid again and returns what the probe painted.
    std::vector<std::string> Repaint() {
        probe->Painted.clear();
        grid->Refresh();
        Ui::Pump();
        return probe->Painted;
    }

    TTempDatabase db;
    std::unique_ptr<TPeople> people;
    TForm* form = nullptr;
    TDBCtrlGrid* grid = nullptr;
    TProbeText* probe = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(GridTest, CopiesArePaintedPerRecordAndTheLiveRowIsTheCurrentRecord) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Repaint(), (V{"copy p2", "copy p3", "live p1"}));
    EXPECT_EQ(grid->CopiesPainted(), 2) << "the edit is not replicatable";
    EXPECT_EQ(grid->Panel()->Top(), 0);
    EXPECT_FALSE(probe->ControlState().Contains(csPaintCopy));
    EXPECT_EQ(people->Data->PaintRecord(), -1) << "the fields point at the current record again";

    people->Data->SetRecNo(2);
    EXPECT_EQ(grid->Panel()->Top(), 30);
    EXPECT_EQ(Repaint(), (V{"copy p1", "copy p3", "live p2"}));
    // An edit in progress shows on the live row; the copies show what is stored.
    people->Data->Edit();
    people->F("name")->SetAsString("changed");
    EXPECT_EQ(Repaint(), (V{"copy p1", "copy p3", "live changed"}));
    people->Data->Cancel();

    // The links of the controls follow the grid's data source and are fixed.
    EXPECT_EQ(probe->Link().DataSource(), people->Source.get());
    EXPECT_TRUE(probe->Link().DataSourceFixed());
    EXPECT_THROW(probe->Link().SetDataSource(nullptr), EDatabaseError);

    // A picture for a person to look at.
    SavePng(Ui::FormImage(form), QZ_BINARY_DIR "/dbctrlgrid.png");
}

TEST_F(GridTest, KeysWheelAndClicksMoveThroughTheRecords) {
    struct {
        const char* Step;
        std::function<void()> Act;
        int RecNo, Top, Row;
    } const steps[] = {
        {"click the grid", [&] { Ui::Click(grid, 190, 5); }, 1, 0, 0},
        {"Down", [] { Ui::PressKey(VK_DOWN); }, 2, 0, 1},
        {"Down", [] { Ui::PressKey(VK_DOWN); }, 3, 0, 2},
        {"Down scrolls", [] { Ui::PressKey(VK_DOWN); }, 4, 1, 2},
        {"Page Down", [] { Ui::PressKey(VK_NEXT); }, 7, 4, 2},
        {"Up", [] { Ui::PressKey(VK_UP); }, 6, 4, 1},
        {"Ctrl+End", [] { Ui::PressKey(VK_END, {ssCtrl}); }, 10, 7, 2},
        {"wheel up a notch", [&] { grid->Perform(WM_MOUSEWHEEL, WPARAM(120) << 16); }, 9, 7, 1},
        {"click the top row", [&] { Ui::Click(grid, 190, 5); }, 8, 7, 0},
        {"Ctrl+Home", [] { Ui::PressKey(VK_HOME, {ssCtrl}); }, 1, 0, 0},
        {"wheel down two notches", [&] { grid->Perform(WM_MOUSEWHEEL, WPARAM(0x10000 - 240) << 16); }, 3, 0,
         2},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Step);
        s.Act();
        Ui::Pump();
        EXPECT_EQ(people->Data->RecNo(), s.RecNo);
        EXPECT_EQ(grid->TopRecord(), s.Top);
        EXPECT_EQ(grid->ActiveRow(), s.Row);
        EXPECT_EQ(grid->Panel()->Top(), s.Row * 30);
        EXPECT_EQ(probe->Caption(), "p" + std::to_string(s.RecNo));
    }
    // Closing leaves the panel on the first row, empty.
    people->Data->Close();
    Ui::Pump();
    EXPECT_EQ(grid->Panel()->Top(), 0);
    EXPECT_EQ(probe->Caption(), "");
    EXPECT_EQ(Repaint(), (std::vector<std::string>{"live "}));
}

TEST_F(GridTest, ControlsNestedInAFormFileLandOnThePanel) {
    RegisterControlClasses();
    RegisterDataClasses();
    RegisterClasses({TDBCtrlGrid::StaticClass(), TDBNavigator::StaticClass()});
    delete probe;
    delete edit;
    auto* lbl = new TLabel(form);
    lbl->SetName("lblName");
    lbl->SetParent(grid->Panel());
    grid->SetName("grid");
    form->SetName("frm");
    const String text = WriteComponentToText(form);
    EXPECT_NE(text.find("object grid: TDBCtrlGrid"), String::npos) << text;
    EXPECT_NE(text.find("    object lblName: TLabel"), String::npos) << "nested in the grid:\n" << text;
    std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
    auto* grid2 = dynamic_cast<TDBCtrlGrid*>(copy->FindComponent("grid"));
    ASSERT_NE(grid2, nullptr);
    EXPECT_EQ(static_cast<TControl*>(copy->FindComponent("lblName"))->Parent(), grid2->Panel());
    EXPECT_EQ(grid2->RowCount(), 3);
    EXPECT_EQ(grid2->PanelHeight(), 30);
}

class NavigatorTest : public GridTest {
protected:
    void SetUp() override {
        GridTest::SetUp();
        nav = new TDBNavigator(form);
        nav->SetParent(form);
        nav->SetBounds(8, 110, 250, 25);
        nav->SetDataSource(people->Source.get());
        Ui::Pump();
    }
    std::string Enabled() const {
        std::string out;
        const char* names[] = {"First",  "Prior", "Next", "Last",   "Insert",
                               "Delete", "Edit",  "Post", "Cancel", "Refresh"};
        for (int b = nbFirst; b <= nbRefresh; ++b)
            if (nav->ButtonEnabled(static_cast<TNavigateBtn>(b)))
                out += std::string(out.empty() ? "" : " ") + names[b];
        return out;
    }
    void Press(TNavigateBtn b) {
        const TRect r = nav->ButtonRect(b);
        Ui::Click(nav, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    TDBNavigator* nav = nullptr;
};

TEST_F(NavigatorTest, ButtonsFollowTheDataSetAndDriveIt) {
    struct {
        const char* Step;
        std::function<void()> Act;
        const char* Enabled;
        int RecNo;
    } const steps[] = {
        {"first record", [] {}, "Next Last Insert Delete Edit Refresh", 1},
        {"Next", [&] { Press(nbNext); }, "First Prior Next Last Insert Delete Edit Refresh", 2},
        {"Last", [&] { Press(nbLast); }, "First Prior Insert Delete Edit Refresh", 10},
        {"Edit", [&] { Press(nbEdit); }, "First Prior Insert Delete Post Cancel", 10},
        {"Cancel", [&] { Press(nbCancel); }, "First Prior Insert Delete Edit Refresh", 10},
        {"First", [&] { Press(nbFirst); }, "Next Last Insert Delete Edit Refresh", 1},
        {"disabled Prior does nothing", [&] { Press(nbPrior); }, "Next Last Insert Delete Edit Refresh", 1},
        {"Insert", [&] { Press(nbInsert); }, "Next Last Insert Delete Post Cancel", 0},
        {"Cancel", [&] { Press(nbCancel); }, "Next Last Insert Delete Edit Refresh", 1},
        {"read-only", [&] { people->Data->SetReadOnly(true); }, "Next Last Refresh", 1},
        {"closed", [&] { people->Data->Close(); }, "", 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Step);
        s.Act();
        Ui::Pump();
        EXPECT_EQ(Enabled(), s.Enabled);
        EXPECT_EQ(people->Data->RecNo(), s.RecNo);
    }
}

TEST_F(NavigatorTest, DeleteAsksFirstAndAFailedPostKeepsTheEdit) {
    people->Data->SetRecNo(2);
    Ui::OnNextModal([](TForm*) {
        EXPECT_EQ(Ui::MessageBoxText(), "Delete record?");
        Ui::PressButton("Cancel");
    });
    Press(nbDelete);
    EXPECT_EQ(people->Data->RecordCount(), 10);
    Ui::OnNextModal([](TForm*) { Ui::PressButton("OK"); });
    Press(nbDelete);
    EXPECT_EQ(people->Data->RecordCount(), 9);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM people WHERE name = 'p2'"), "0");

    std::string error;
    Application->OnException = [&](TObject*, const std::exception& e) { error = e.what(); };
    people->Data->Edit();
    people->F("name")->SetAsString("p5");
    Press(nbPost);
    EXPECT_NE(error.find("UNIQUE constraint failed"), std::string::npos) << error;
    EXPECT_EQ(people->Data->State(), dsEdit);
    EXPECT_EQ(people->F("name")->AsString(), "p5");
    SavePng(Ui::FormImage(form), QZ_BINARY_DIR "/dbnavigator.png");
}

} // namespace
} // namespace fw::test
