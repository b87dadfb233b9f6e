// The accessibility tree as a screen reader reads it, on the headless screen:
// the demo's forms control by control, the popup calendar's grid for a month,
// the events that follow the focus, the text and the selection, and the
// automation's search by role and name.

#include "../../apps/qzdemo/DemoForm.h"
#include "../../apps/qzdemo/DemoResources.h"
#include "../../apps/qzdemo/RecordsDatabase.h"
#include "../../apps/qzdemo/RecordsForm.h"
#include "../../apps/qzdesign/Inspector.h"
#include "../support/UiFixture.h"
#include <QzComponents5/QzRegister.h>
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <Qzled/Qzled.h>
#include <algorithm>
#include <filesystem>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/Accessibility.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/controls/Label.h>
#include <framework/db/DBNavigator.h>
#include <framework/db/DataSet.h>
#include <framework/forms/Dialogs.h>
#include <framework/forms/FormAccessible.h>
#include <framework/forms/Registration.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
namespace Ui = fw::Ui;
using fw::TAccessible;
using fw::TAccEventKind;
using fw::TAccRole;

const fs::path FormFile = fs::path(QZ_SOURCE_DIR) / "apps" / "qzdemo" / "MainForm.dfm";

// What the listeners heard: the kind and the object's name, in order.
class TEventLog {
public:
    TEventLog() {
        FId = fw::AddAccListener([this](const fw::TAccEvent& e) {
            if (e.Kind == TAccEventKind::Destroyed) return;
            Events.push_back({e.Kind, e.Object->Name(), e.State, e.Detail});
        });
    }
    ~TEventLog() { fw::RemoveAccListener(FId); }
    struct TEntry {
        TAccEventKind Kind;
        fw::String Name;
        fw::TAccState State;
        int Detail;
    };
    std::vector<fw::String> Names(TAccEventKind Kind) const {
        std::vector<fw::String> list;
        for (const TEntry& e : Events)
            if (e.Kind == Kind) list.push_back(e.Name);
        return list;
    }
    bool Has(TAccEventKind Kind, const fw::String& Name) const {
        const auto list = Names(Kind);
        return std::find(list.begin(), list.end(), Name) != list.end();
    }
    std::vector<TEntry> Events;

private:
    int FId;
};

std::vector<TAccessible*> OfRole(TAccessible* Root, TAccRole Role) {
    return fw::FindAllAccessible(Root, [Role](TAccessible* a) { return a->Role() == Role; });
}

class Accessibility : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        fw::RegisterControlClasses();
        qz::RegisterPackageClasses();
    }
    // 10 March 2026, a Tuesday; the demo's language button changes the names.
    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 10)};
    fw::TFormatSettingsGuard Settings;
};

class DemoAccessibility : public Accessibility {
protected:
    void SetUp() override {
        Accessibility::SetUp();
        Resources = std::make_unique<qzdemo::TDemoResources>(FormFile, *qzdemo::FindRecordsFormFile(FormFile));
        Form = std::make_unique<qzdemo::TfrmQzDemo>(nullptr);
        Form->Show();
    }
    void TearDown() override {
        Form.reset();
        Resources.reset();
        Accessibility::TearDown();
    }
    std::unique_ptr<qzdemo::TDemoResources> Resources;
    std::unique_ptr<qzdemo::TfrmQzDemo> Form;
};

// ---------------------------------------------------------------- the demo's main form

TEST_F(DemoAccessibility, EveryControlOfTheMainFormAnswersWhatAPersonSees) {
    TAccessible* form = Form->Accessible();
    EXPECT_EQ(form->Role(), TAccRole::Frame);
    EXPECT_EQ(form->Name(), "Qz Components demo");
    EXPECT_TRUE(form->States().Contains(fw::asActive));
    EXPECT_EQ(form->Parent(), fw::ApplicationAccessible());

    struct TRow {
        fw::TControl* Control;
        TAccRole Role;
        const char* Name;
        const char* Description;
    };
    const TRow rows[] = {
        {Form->edtDayFirst, TAccRole::Text, "dd/mm/yyyy, from Monday", "Date as dd/mm/yyyy"},
        {Form->edtMonthFirst, TAccRole::Text, "m/d/yyyy, from Sunday", "Date as m/d/yyyy"},
        {Form->edtYearFirst, TAccRole::Text, "yyyy/mm/dd, no fill page", "Date as yyyy/mm/dd"},
        {Form->edtDayFirst->CalendarButton(), TAccRole::PushButton, "Choose date", ""},
        {Form->ledDayFirst, TAccRole::StatusIndicator, "Off, green", "Check of the dd/mm/yyyy edit"},
        {Form->ledPicker, TAccRole::StatusIndicator, "Off, green", "Date from the calendar component"},
        {Form->btnPickDate, TAccRole::PushButton, "Pick a date...", ""},
        {Form->lblDayFirst, TAccRole::Label, "dd/mm/yyyy, from Monday", ""},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TAccessible* a = row.Control->Accessible();
        EXPECT_EQ(a->Role(), row.Role);
        EXPECT_EQ(a->Name(), row.Name);
        EXPECT_EQ(a->Description(), row.Description);
        EXPECT_TRUE(a->States().Contains(fw::asShowing));
        // Every object sits in the tree where its parent lists it.
        ASSERT_NE(a->Parent(), nullptr);
        EXPECT_EQ(a->Parent()->Child(a->IndexInParent()), a);
    }

    // Nothing a person can reach goes unnamed, and bounds lie on the form.
    const fw::TRect formBounds = form->Bounds();
    for (TAccessible* a : fw::FindAllAccessible(form, [](TAccessible*) { return true; })) {
        const auto s = a->States();
        if (s.Contains(fw::asFocusable) || a->ActionCount() > 0) {
            EXPECT_FALSE(a->Name().empty()) << a->RoleName(a->Role());
        }
        const fw::TRect r = a->Bounds();
        EXPECT_TRUE(r.Left >= formBounds.Left && r.Bottom <= formBounds.Bottom) << a->Name();
    }

    // The text, the caret and the value read back in characters.
    Ui::Click(Form->edtDayFirst);
    Ui::TypeText("14/3/26");
    TAccessible* edit = Form->edtDayFirst->Accessible();
    EXPECT_EQ(edit->Text(), "14/3/26");
    EXPECT_EQ(edit->CaretOffset(), 7);
    EXPECT_TRUE(edit->States().Contains(fw::asFocused));
    EXPECT_TRUE(edit->States().Contains(fw::asEditable));
    EXPECT_EQ(Form->ledDayFirst->Accessible()->Value(), qz::lsOff);
}

TEST_F(DemoAccessibility, AutomationFindsControlsByRoleAndName) {
    EXPECT_EQ(Ui::FindControl(TAccRole::PushButton, "Pick a date..."), Form->btnPickDate);
    EXPECT_EQ(Ui::FindControl(TAccRole::Text, "m/d/yyyy, from Sunday"), Form->edtMonthFirst);
    EXPECT_EQ(Ui::Find(TAccRole::Text), Form->edtDayFirst->Accessible());
    EXPECT_EQ(Ui::Find(TAccRole::PushButton, "No such button"), nullptr);
    EXPECT_THROW(Ui::DoAction(Form->ledPicker->Accessible(), "click"), fw::ELoopError);

    // Pressing a button through its action is a click.
    const fw::String before = Form->btnLanguage->Caption();
    Ui::DoAction(Ui::Find(TAccRole::PushButton, before), "click");
    EXPECT_NE(Form->btnLanguage->Caption(), before);
}

TEST_F(DemoAccessibility, EventsFollowFocusTextCaretNamesAndStates) {
    // A screen reader reads the tree first; events then tell it what changed.
    fw::FindAllAccessible(Form->Accessible(), [](TAccessible*) { return true; });
    TEventLog log;
    Ui::Click(Form->edtMonthFirst);
    Ui::Click(Form->edtDayFirst);
    Ui::TypeText("31/2");
    EXPECT_EQ(log.Names(TAccEventKind::Focus),
              (std::vector<fw::String>{"m/d/yyyy, from Sunday", "dd/mm/yyyy, from Monday"}));
    EXPECT_EQ(log.Names(TAccEventKind::TextChanged).size(), 4u);
    int caret = -1;
    for (const auto& e : log.Events)
        if (e.Kind == TAccEventKind::CaretMoved) caret = e.Detail;
    EXPECT_EQ(caret, 4);

    // A refused exit makes the edit invalid, and the next accepted one clears it.
    log.Events.clear();
    Ui::TypeText("/2026");
    Ui::OnNextModal([](fw::TForm*) { Ui::PressButton("OK"); });
    Ui::Tab();
    TAccessible* edit = Form->edtDayFirst->Accessible();
    EXPECT_TRUE(edit->States().Contains(fw::asInvalid));
    EXPECT_TRUE(log.Has(TAccEventKind::StateChanged, "dd/mm/yyyy, from Monday"));
    Form->edtDayFirst->SetText("28/2/2026");
    Ui::Tab();
    EXPECT_FALSE(edit->States().Contains(fw::asInvalid));
    // The drop button's name gains the date, and the lamp's change is told.
    EXPECT_EQ(Form->edtDayFirst->CalendarButton()->Accessible()->Name(), "Choose date, Saturday, February 28, 2026");
    EXPECT_TRUE(log.Has(TAccEventKind::NameChanged, "Bright, green"));

    // A label's new caption renames the control it names.
    log.Events.clear();
    Form->lblMonthFirst->SetCaption("Second date");
    EXPECT_TRUE(log.Has(TAccEventKind::NameChanged, "Second date"));
    EXPECT_EQ(Form->edtMonthFirst->Accessible()->Name(), "Second date");
}

// ---------------------------------------------------------------- the popup calendar

TEST_F(DemoAccessibility, PopupIsADialogWithANamedGridThatSpeaksEveryMove) {
    TEventLog log;
    Form->edtDayFirst->SetText("14/03/2026");
    TAccessible* button = Form->edtDayFirst->CalendarButton()->Accessible();
    bool checked = false;
    Ui::OnNextModal([&](fw::TForm* popup) {
        TAccessible* dialog = popup->Accessible();
        EXPECT_EQ(dialog->Role(), TAccRole::Dialog);
        EXPECT_EQ(dialog->Name(), "Choose date");
        EXPECT_TRUE(button->States().Contains(fw::asExpanded));
        EXPECT_TRUE(log.Has(TAccEventKind::StateChanged, "Choose date"));

        for (const char* name : {"Previous month", "Next month", "Previous year", "Next year"})
            EXPECT_NE(Ui::FindIn(dialog, TAccRole::PushButton, name), nullptr) << name;
        EXPECT_NE(Ui::FindIn(dialog, TAccRole::Heading, "March 2026"), nullptr);

        TAccessible* grid = Ui::FindIn(dialog, TAccRole::Table, "March 2026");
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->RowCount(), 6);
        EXPECT_EQ(grid->ColumnCount(), 7);
        // Weeks start on Monday in this edit.
        const std::vector<fw::String> days{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
        for (int c = 0; c < 7; ++c) EXPECT_EQ(grid->ColumnHeader(c)->Name(), days[static_cast<std::size_t>(c)]);

        const auto cells = OfRole(grid, TAccRole::TableCell);
        ASSERT_EQ(cells.size(), 42u);
        // The grid starts with the last days of February.
        struct TCell {
            int Row, Column;
            const char* Name;
            bool Enabled, Selected, Today;
        };
        const TCell table[] = {
            {0, 0, "Monday, February 23, 2026", false, false, false},
            {0, 6, "Sunday, March 1, 2026", true, false, false},
            {2, 1, "Tuesday, March 10, 2026", true, false, true},
            {2, 5, "Saturday, March 14, 2026", true, true, false},
            {5, 6, "Sunday, April 5, 2026", false, false, false},
        };
        for (const TCell& t : table) {
            SCOPED_TRACE(t.Name);
            TAccessible* cell = grid->CellAt(t.Row, t.Column);
            EXPECT_EQ(cell->Name(), t.Name);
            const auto s = cell->States();
            EXPECT_EQ(s.Contains(fw::asEnabled), t.Enabled);
            EXPECT_EQ(s.Contains(fw::asSelected), t.Selected);
            EXPECT_EQ(s.Contains(fw::asFocused), t.Selected);
            EXPECT_EQ(s.Contains(fw::asCurrent), t.Today);
            int row = -1, column = -1;
            EXPECT_TRUE(cell->CellPosition(row, column));
            EXPECT_EQ(row * 7 + column, t.Row * 7 + t.Column);
        }
        // The popup got the focus: the selected day was spoken.
        EXPECT_TRUE(log.Has(TAccEventKind::Focus, "Saturday, March 14, 2026"));

        // Every move of the selection speaks the new day; a new month its title.
        log.Events.clear();
        Ui::PressKey(fw::VK_RIGHT);
        Ui::PressKey(fw::VK_DOWN);
        Ui::PressKey(fw::VK_NEXT);
        EXPECT_EQ(log.Names(TAccEventKind::Focus),
                  (std::vector<fw::String>{"Sunday, March 15, 2026", "Sunday, March 22, 2026",
                                           "Wednesday, April 22, 2026"}));
        EXPECT_TRUE(log.Has(TAccEventKind::NameChanged, "April 2026"));
        EXPECT_EQ(grid->Name(), "April 2026");

        // A navigation button is pressed through its action; the dialog closes through its own.
        Ui::DoAction(Ui::FindIn(dialog, TAccRole::PushButton, "Previous year"), "click");
        EXPECT_EQ(grid->Name(), "April 2025");
        checked = true;
        Ui::DoAction(dialog, "close");
    });
    Ui::DoAction(Form->edtDayFirst->Accessible(), "open calendar");
    EXPECT_TRUE(checked);
    EXPECT_EQ(Form->edtDayFirst->Text(), "14/03/2026");
    EXPECT_FALSE(button->States().Contains(fw::asExpanded));

    // A day's own action picks it.
    Ui::OnNextModal([](fw::TForm* popup) {
        TAccessible* grid = Ui::FindIn(popup->Accessible(), TAccRole::Table);
        Ui::DoAction(grid->CellAt(3, 2), "click");
    });
    Ui::DoAction(button, "click");
    EXPECT_EQ(Form->edtDayFirst->Text(), "18/03/2026");
}

TEST_F(DemoAccessibility, WeekNumbersAreTheGridsRowHeaders) {
    Form->edtDayFirst->SetCalendarOptions({qz::coWeekNumbers});
    // Weeks start on Monday in this edit; each row is the ISO week of its Thursday.
    const struct {
        const char* Date;
        std::vector<fw::String> Weeks;
    } months[] = {
        {"14/03/2026", {"Week 9", "Week 10", "Week 11", "Week 12", "Week 13", "Week 14"}},
        {"09/12/2026", {"Week 49", "Week 50", "Week 51", "Week 52", "Week 53", "Week 1"}},
    };
    for (const auto& m : months) {
        SCOPED_TRACE(m.Date);
        Form->edtDayFirst->SetText(m.Date);
        Ui::OnNextModal([&](fw::TForm* popup) {
            TAccessible* grid = Ui::FindIn(popup->Accessible(), TAccRole::Table);
            ASSERT_NE(grid, nullptr);
            EXPECT_EQ(grid->ChildCount(), 7 + 42 + 6);
            std::vector<fw::String> weeks;
            for (TAccessible* header : OfRole(grid, TAccRole::RowHeader)) weeks.push_back(header->Name());
            EXPECT_EQ(weeks, m.Weeks);
            for (int row = 0; row < 6; ++row) {
                // Each header stands left of its row, inside the grid.
                const fw::TRect h = grid->RowHeader(row)->Bounds(), cell = grid->CellAt(row, 0)->Bounds();
                EXPECT_EQ(h.Top, cell.Top);
                EXPECT_LE(h.Right, cell.Left);
                EXPECT_GE(h.Left, grid->Bounds().Left);
                EXPECT_EQ(grid->RowHeader(row)->IndexInParent(), 49 + row);
            }
            // A new month renames the week numbers that were read.
            TEventLog log;
            Ui::PressKey(fw::VK_NEXT);
            EXPECT_TRUE(log.Has(TAccEventKind::NameChanged, grid->RowHeader(0)->Name()));
            EXPECT_NE(grid->RowHeader(0)->Name(), m.Weeks[0]);
            Ui::PressKey(fw::VK_ESCAPE);
        });
        Ui::DoAction(Form->edtDayFirst->Accessible(), "open calendar");
    }
    // Without the column the grid has no row headers.
    Form->edtDayFirst->SetCalendarOptions({});
    Ui::OnNextModal([](fw::TForm* popup) {
        TAccessible* grid = Ui::FindIn(popup->Accessible(), TAccRole::Table);
        EXPECT_EQ(grid->RowHeader(0), nullptr);
        EXPECT_EQ(grid->ChildCount(), 7 + 42);
        Ui::PressKey(fw::VK_ESCAPE);
    });
    Ui::DoAction(Form->edtDayFirst->Accessible(), "open calendar");
}

TEST_F(DemoAccessibility, PickerOptionsAreNamedAndOperable) {
    qz::TQzDateEdit* edit = Form->edtDayFirst;
    edit->SetCalendarOptions({qz::coTodayButton, qz::coClearButton, qz::coZoomViews});
    edit->OnDayStyle = [](fw::TObject*, fw::TDateTime D, qz::TDayStyle& Style) {
        if (D == fw::EncodeDate(2026, 3, 17)) Style = {true, fw::clRed, "Founders' Day"};
        if (D == fw::EncodeDate(2026, 3, 10)) Style = {false, fw::clNone, "Payday"};
    };
    edit->OnDayDisabled = [](fw::TObject*, fw::TDateTime D, bool& Disabled) {
        Disabled = D == fw::EncodeDate(2026, 3, 18);
    };
    edit->SetText("14/03/2026");
    TEventLog log;
    bool checked = false;
    Ui::OnNextModal([&](fw::TForm* popup) {
        TAccessible* dialog = popup->Accessible();
        TAccessible* grid = Ui::FindIn(dialog, TAccRole::Table);
        ASSERT_NE(grid, nullptr);
        // A marked day is described by its hint; a refused day is disabled.
        const struct {
            int Row, Column;
            const char* Description;
            bool Enabled;
        } days[] = {{3, 1, "Founders' Day", true}, {3, 2, "", false}, {2, 1, "Today, Payday", true}, {2, 5, "", true}};
        for (const auto& d : days) {
            TAccessible* cell = grid->CellAt(d.Row, d.Column);
            SCOPED_TRACE(cell->Name());
            EXPECT_EQ(cell->Description(), d.Description);
            EXPECT_EQ(cell->States().Contains(fw::asEnabled), d.Enabled);
            EXPECT_EQ(cell->States().Contains(fw::asSelectable), d.Enabled);
        }

        // The foot's buttons are named and pressed through their action.
        TAccessible* today = Ui::FindIn(dialog, TAccRole::PushButton, "Today");
        TAccessible* clear = Ui::FindIn(dialog, TAccRole::PushButton, "Clear");
        ASSERT_TRUE(today && clear);
        EXPECT_EQ(today->FindAction("press"), 0);
        log.Events.clear();
        Ui::DoAction(today, "press");
        EXPECT_EQ(log.Names(TAccEventKind::Focus), std::vector<fw::String>{"Tuesday, March 10, 2026"});

        // The month and year views are grids of named cells; every move speaks.
        log.Events.clear();
        Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
        TAccessible* months = Ui::FindIn(dialog, TAccRole::Table);
        ASSERT_NE(months, nullptr);
        EXPECT_NE(months, grid);
        EXPECT_EQ(months->Name(), "2026");
        EXPECT_EQ(months->RowCount() * months->ColumnCount(), 12);
        for (int m = 0; m < 12; ++m)
            EXPECT_EQ(months->CellAt(m / 4, m % 4)->Name(),
                      fw::FormatSettings.LongMonthNames[static_cast<std::size_t>(m)] + " 2026");
        EXPECT_TRUE(months->CellAt(0, 2)->States().Contains(fw::asSelected));
        EXPECT_TRUE(log.Has(TAccEventKind::NameChanged, "2026"));
        Ui::PressKey(fw::VK_RIGHT);
        Ui::PressKey(fw::VK_NEXT);
        EXPECT_EQ(months->Name(), "2027");
        Ui::PressKey(fw::VK_UP, {fw::ssCtrl});
        TAccessible* years = Ui::FindIn(dialog, TAccRole::Table);
        EXPECT_EQ(years->Name(), "2020-2029");
        EXPECT_EQ(years->CellAt(0, 0)->Name(), "2019");
        EXPECT_EQ(log.Names(TAccEventKind::Focus),
                  (std::vector<fw::String>{"March 2026", "April 2026", "April 2027", "2027"}));
        EXPECT_TRUE(Ui::FindIn(dialog, TAccRole::PushButton, "Next decade"));

        // Choosing a year, then a month, through their actions leads back to the days.
        log.Events.clear();
        Ui::DoAction(Ui::FindIn(years, TAccRole::TableCell, "2026"), "click");
        Ui::DoAction(Ui::FindIn(dialog, TAccRole::TableCell, "March 2026"), "click");
        EXPECT_EQ(Ui::FindIn(dialog, TAccRole::Table), grid);
        EXPECT_EQ(grid->Name(), "March 2026");
        EXPECT_EQ(log.Names(TAccEventKind::Focus).back(), "Tuesday, March 10, 2026");

        checked = true;
        Ui::DoAction(clear, "press");
    });
    Ui::DoAction(edit->Accessible(), "open calendar");
    EXPECT_TRUE(checked);
    EXPECT_EQ(edit->Text(), "");
}

// ---------------------------------------------------------------- the lamp, message boxes, no listener

TEST_F(Accessibility, LampNamesSayStateAndHueInWords) {
    struct TRow {
        bool Enabled;
        qz::TLEDColor Color;
        qz::TLEDState State;
        const char* Name;
    };
    const TRow rows[] = {
        {true, qz::lcGreen, qz::lsOn, "On, green"},     {true, qz::lcLBlue, qz::lsBright, "Bright, light blue"},
        {true, qz::lcRed, qz::lsOff, "Off, red"},       {false, qz::lcAmber, qz::lsBright, "Off, grey"},
        {true, qz::lcTeal, qz::lsOn, "On, teal"},
    };
    for (const TRow& r : rows) EXPECT_EQ(qz::LEDSpokenName(r.Enabled, r.Color, r.State), r.Name);

    fw::TForm form(nullptr);
    auto* led = new qz::TQzLED(&form);
    led->SetParent(&form);
    TAccessible* lamp = led->Accessible();
    EXPECT_EQ(lamp->Role(), TAccRole::StatusIndicator);
    TEventLog log;
    led->SetLEDState(qz::lsOn);
    led->SetLEDColor(qz::lcPurple);
    EXPECT_EQ(log.Names(TAccEventKind::NameChanged), (std::vector<fw::String>{"On, red", "On, purple"}));
    EXPECT_EQ(lamp->ValueText(), "On, purple");
}

TEST_F(Accessibility, MessageBoxIsADialogDescribedByItsText) {
    bool checked = false;
    Ui::OnNextModal([&](fw::TForm* box) {
        TAccessible* dialog = box->Accessible();
        EXPECT_EQ(dialog->Role(), TAccRole::Dialog);
        EXPECT_EQ(dialog->Name(), "Confirm");
        EXPECT_EQ(dialog->Description(), "Delete it?");
        EXPECT_TRUE(dialog->States().Contains(fw::asModal));
        EXPECT_EQ(Ui::Find(TAccRole::Dialog), dialog);
        checked = true;
        Ui::DoAction(Ui::FindIn(dialog, TAccRole::PushButton, "No"), "click");
    });
    EXPECT_EQ(fw::Application->MessageBox("Delete it?", "Confirm", fw::MB_YESNO), fw::IDNO);
    EXPECT_TRUE(checked);
}

TEST_F(DemoAccessibility, NothingIsMadeWhileNobodyListens) {
    Ui::Click(Form->edtDayFirst);
    Ui::TypeText("14/3/26");
    Ui::OnNextModal([](fw::TForm*) {
        Ui::PressKey(fw::VK_RIGHT);
        Ui::PressKey(fw::VK_ESCAPE);
    });
    Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    EXPECT_FALSE(Form->HasAccessible());
    EXPECT_FALSE(Form->edtDayFirst->HasAccessible());
    EXPECT_FALSE(Form->ledDayFirst->HasAccessible());
}

// ---------------------------------------------------------------- the designer's inspector

TEST_F(Accessibility, InspectorRowsAreATableOfPropertiesReadMovedAndEdited) {
    qzdesign::TFormDesigner designer;
    qzdesign::TInspectorForm inspector(&designer);
    designer.OnSelectionChanged = [&] { inspector.SelectionChanged(); };
    designer.OnModified = [&] { inspector.ValuesChanged(); };
    inspector.Show();
    inspector.SelectionChanged();
    qzdesign::TInspectorGrid* grid = inspector.Grid();
    TEventLog log;

    TAccessible* table = grid->Accessible();
    EXPECT_EQ(table->Role(), TAccRole::Table);
    EXPECT_EQ(table->Name(), "Properties of Form1: TForm");
    ASSERT_GT(grid->RowCount(), 10);
    EXPECT_EQ(table->RowCount(), grid->RowCount());
    EXPECT_EQ(table->ColumnCount(), 1);
    EXPECT_EQ(table->ColumnHeader(0)->Name(), "Value");
    EXPECT_EQ(OfRole(table, TAccRole::TableCell).size(), static_cast<std::size_t>(grid->RowCount()));

    // Each row: its header and cell named by the property, the value as the cell's text.
    const struct {
        const char* Property;
        const char* Value;
        bool List; // chosen from a drop-down
    } rows[] = {{"Caption", "Form1", false}, {"BorderStyle", "bsSizeable", true}, {"Name", "Form1", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Property);
        const int row = grid->RowOf(r.Property);
        ASSERT_GE(row, 0);
        TAccessible* cell = table->CellAt(row, 0);
        EXPECT_EQ(table->RowHeader(row)->Name(), r.Property);
        EXPECT_EQ(cell->Name(), r.Property);
        EXPECT_EQ(cell->Text(), r.Value);
        EXPECT_EQ(cell->States().Contains(fw::asHasPopup), r.List);
        EXPECT_TRUE(cell->States().Contains(fw::asEditable));
        int at = -1, column = -1;
        EXPECT_TRUE(cell->CellPosition(at, column));
        EXPECT_EQ(at, row);
    }

    // The keyboard moves the selected row; each move speaks the property.
    grid->SetFocus();
    Ui::PressKey(fw::VK_HOME);
    Ui::PressKey(fw::VK_DOWN);
    const std::vector<fw::String> moved = log.Names(TAccEventKind::Focus);
    ASSERT_GE(moved.size(), 2u);
    EXPECT_EQ(moved.back(), grid->Editor(1)->GetName());
    EXPECT_TRUE(table->CellAt(1, 0)->States().Contains(fw::asFocused));
    EXPECT_FALSE(table->CellAt(0, 0)->States().Contains(fw::asSelected));
    // A screen reader selects a row by giving its cell the focus.
    const int captionRow = grid->RowOf("Caption");
    EXPECT_TRUE(table->CellAt(captionRow, 0)->GrabFocus());
    EXPECT_EQ(grid->SelectedRow(), captionRow);
    EXPECT_EQ(log.Names(TAccEventKind::Focus).back(), "Caption");

    // Values are set through the cell's text; a refused value changes nothing and shows no message.
    TAccessible* caption = table->CellAt(captionRow, 0);
    log.Events.clear();
    EXPECT_TRUE(caption->SetTextContents("Main window"));
    EXPECT_EQ(designer.Surface()->Caption(), "Main window");
    EXPECT_EQ(caption->Text(), "Main window");
    EXPECT_TRUE(log.Has(TAccEventKind::TextChanged, "Caption"));
    TAccessible* width = table->CellAt(grid->RowOf("Width"), 0);
    const fw::String before = width->Text();
    EXPECT_FALSE(width->SetTextContents("wide"));
    EXPECT_EQ(width->Text(), before);

    // The action "edit" opens the value's edit field, named by the property.
    Ui::DoAction(caption, "edit");
    TAccessible* field = Ui::FindIn(table, TAccRole::Text, "Caption");
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->States().Contains(fw::asFocused));
    Ui::PressKey(fw::VK_ESCAPE);

    // A new selection rebuilds the rows: those that were read take their new names.
    log.Events.clear();
    fw::TComponent* button = designer.Drop(fw::TButton::StaticClass(), {20, 20});
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(table->Name(), "Properties of " + button->Name() + ": TButton");
    EXPECT_EQ(table->RowCount(), grid->RowCount());
    for (int row = 0; row < grid->RowCount(); ++row)
        EXPECT_EQ(table->CellAt(row, 0)->Name(), grid->Editor(row)->GetName());
    EXPECT_TRUE(log.Has(TAccEventKind::NameChanged, grid->Editor(1)->GetName()));
}

// ---------------------------------------------------------------- the records form

TEST_F(Accessibility, RecordsFormNamesItsDataControlsAndNavigatorButtons) {
    const fs::path dir = fs::path(QZ_BINARY_DIR) / "access-records";
    fs::create_directories(dir);
    qzdemo::PrepareRecordsDatabase(dir / "events.db", true);
    qzdemo::TDemoResources resources(FormFile, *qzdemo::FindRecordsFormFile(FormFile));
    qzdemo::TfrmQzRecords form(nullptr, dir / "events.db");
    form.Show();

    TAccessible* navigator = Ui::Find(TAccRole::ToolBar);
    ASSERT_NE(navigator, nullptr);
    EXPECT_EQ(OfRole(navigator, TAccRole::PushButton).size(), static_cast<std::size_t>(navigator->ChildCount()));
    TAccessible* prior = Ui::FindIn(navigator, TAccRole::PushButton, "Prior record");
    TAccessible* next = Ui::FindIn(navigator, TAccRole::PushButton, "Next record");
    ASSERT_TRUE(prior && next);
    EXPECT_FALSE(prior->States().Contains(fw::asEnabled));
    EXPECT_TRUE(next->States().Contains(fw::asEnabled));

    TAccessible* list = Ui::Find(TAccRole::List);
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->ChildCount(), 2);
    EXPECT_EQ(list->Child(0)->Name(), "Record 1 of 6");
    EXPECT_TRUE(list->Child(0)->States().Contains(fw::asSelected));
    Ui::DoAction(next, "click");
    EXPECT_EQ(form.srcEvents->DataSet()->RecNo(), 2);
    EXPECT_EQ(list->Child(1)->Name(), "Record 2 of 6");
    EXPECT_TRUE(list->Child(1)->States().Contains(fw::asSelected));
    EXPECT_TRUE(prior->States().Contains(fw::asEnabled));

    // The data-aware edits are named by their labels and editable through the link.
    TAccessible* happened = form.edtHappened->Accessible();
    EXPECT_EQ(happened->Name(), "Happened: a date, right-aligned");
    EXPECT_TRUE(happened->States().Contains(fw::asEditable));
    EXPECT_FALSE(happened->States().Contains(fw::asReadOnly));
    // Without a label the field's display label names it.
    dynamic_cast<fw::TLabel*>(form.FindComponent("lblHappened"))->SetFocusControl(nullptr);
    EXPECT_EQ(happened->Name(), "happened");
}

} // namespace

namespace {

// ---------------------------------------------------------------- text in characters, listeners

TEST_F(Accessibility, TextOffsetsCountCharactersNotBytes) {
    fw::TForm form(nullptr);
    auto* edit = new fw::TEdit(&form);
    edit->SetParent(&form);
    edit->SetText("Zürich 日本");
    TAccessible* a = edit->Accessible();
    struct TRow {
        int Start, End;     // characters, as a screen reader asks
        int SelStart, SelLength; // bytes, as the edit keeps them
        const char* Selected;
    };
    const TRow rows[] = {
        {0, 2, 0, 3, "Zü"},
        {1, 7, 1, 7, "ürich "},
        {7, 9, 8, 6, "日本"},
        {9, 3, 4, 10, "ich 日本"}, // the ends in either order
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Selected);
        ASSERT_TRUE(a->SetSelection(r.Start, r.End));
        EXPECT_EQ(edit->SelStart(), r.SelStart);
        EXPECT_EQ(edit->SelLength(), r.SelLength);
        EXPECT_EQ(edit->SelText(), r.Selected);
        int start = -1, end = -1;
        a->Selection(start, end);
        EXPECT_EQ(start, std::min(r.Start, r.End));
        EXPECT_EQ(end, std::max(r.Start, r.End));
    }
    ASSERT_TRUE(a->SetCaretOffset(8));
    EXPECT_EQ(a->CaretOffset(), 8);
    EXPECT_EQ(edit->SelStart(), 11);

    // A password shows one mark per character; a read-only edit refuses new text.
    edit->SetPasswordChar(U'•');
    EXPECT_EQ(a->Text(), "•••••••••");
    edit->SetReadOnly(true);
    EXPECT_FALSE(a->SetTextContents("x"));
    EXPECT_TRUE(a->States().Contains(fw::asReadOnly));
    EXPECT_FALSE(a->States().Contains(fw::asEditable));
}

TEST_F(Accessibility, ListenersMayComeAndGoWhileAnEventIsSentAndObjectsSayWhenTheyGo) {
    fw::TForm form(nullptr);
    auto* button = new fw::TButton(&form);
    button->SetParent(&form);
    button->SetCaption("&Save && close");
    TAccessible* a = button->Accessible();
    EXPECT_EQ(a->Name(), "Save & close");

    std::vector<std::string> heard;
    int second = 0;
    int first = 0;
    first = fw::AddAccListener([&](const fw::TAccEvent& e) {
        heard.push_back("first");
        fw::RemoveAccListener(first);
        second = fw::AddAccListener([&](const fw::TAccEvent& e2) {
            heard.push_back(e2.Kind == TAccEventKind::Destroyed ? "gone" : "second");
        });
    });
    button->SetCaption("Close");
    button->SetCaption("Quit");
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "second"}));
    delete button;
    EXPECT_EQ(heard.back(), "gone");
    fw::RemoveAccListener(second);
    EXPECT_FALSE(fw::AccListening());
}

TEST_F(Accessibility, AQuietListenerHearsOnlyWhatKeepsItsKnowledgeTrue) {
    std::vector<TAccEventKind> quiet, loud;
    const int q = fw::AddAccListener([&](const fw::TAccEvent& e) { quiet.push_back(e.Kind); });
    fw::SetAccListenerQuiet(q, true);
    EXPECT_FALSE(fw::AccListening()) << "nobody hears everything";
    for (bool withLoud : {false, true}) {
        fw::TForm form(nullptr);
        auto* edit = new fw::TEdit(&form);
        edit->SetParent(&form);
        auto* other = new fw::TEdit(&form);
        other->SetParent(&form);
        edit->Accessible();
        form.Accessible();
        const struct {
            const char* What;
            std::function<void()> Do;
            TAccEventKind Kind;
            bool Quiet; // heard by the quiet listener too
        } rows[] = {
            {"text", [&] { edit->SetText("typed"); }, TAccEventKind::TextChanged, true},
            {"window", [&] { form.Show(); }, TAccEventKind::WindowShown, true},
            {"focus", [&] { other->SetFocus(); }, TAccEventKind::Focus, false},
            {"state", [&] { edit->SetEnabled(false); }, TAccEventKind::StateChanged, false},
            {"name", [&] { form.SetCaption("Renamed"); }, TAccEventKind::NameChanged, false},
            {"hidden", [&] { form.Hide(); }, TAccEventKind::WindowHidden, true},
        };
        const int l = withLoud ? fw::AddAccListener([&](const fw::TAccEvent& e) { loud.push_back(e.Kind); }) : 0;
        EXPECT_EQ(fw::AccListening(), withLoud);
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(r.What) + (withLoud ? " with a loud listener" : ""));
            quiet.clear(), loud.clear();
            r.Do();
            EXPECT_EQ(std::count(quiet.begin(), quiet.end(), r.Kind) > 0, r.Quiet);
            EXPECT_EQ(std::count(loud.begin(), loud.end(), r.Kind) > 0, withLoud);
        }
        if (withLoud) fw::RemoveAccListener(l);
    }
    fw::SetAccListenerQuiet(q, false);
    EXPECT_TRUE(fw::AccListening());
    fw::RemoveAccListener(q);
    EXPECT_FALSE(fw::AccListening());
}

} // namespace
