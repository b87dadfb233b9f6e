// The ATK side of the AT-SPI bridge, without a bus: what atk-bridge would read
// from the wrappers and the signals it would turn into AT-SPI events.

#include "../support/UiFixture.h"
#include <QzComponents5/QzRegister.h>
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <Qzled/Qzled.h>
#include <framework/backends/AccessibilityBridge.h>
#include <framework/backends/atspi/AtspiBridge.h>
#include <framework/backends/headless/Automation.h>
#include <framework/forms/Form.h>
#include <framework/forms/Registration.h>
#include <framework/platform/Keys.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <string>
#include <vector>

namespace {

namespace Bridge = fw::AccessibilityBridge;
namespace Ui = fw::Ui;

class AtspiWrappers : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        fw::RegisterControlClasses();
        qz::RegisterPackageClasses();
        Bridge::StartWithoutBus(2);
        Form.SetBounds(100, 50, 300, 200);
        Edit = new qz::TQzDateEdit(&Form);
        Edit->SetParent(&Form);
        Edit->SetBounds(10, 20, 121, 21);
        Led = new qz::TQzLED(&Form);
        Led->SetParent(&Form);
        Led->SetBounds(150, 20, 11, 11);
        Form.Show();
    }
    void TearDown() override {
        Bridge::Stop();
        UiFixture::TearDown();
    }
    AtkObject* Of(fw::TControl* Control) { return Bridge::WrapperOf(Control->Accessible()); }

    fw::TScopedClock Clock{fw::EncodeDate(2026, 3, 10)};
    fw::TForm Form{nullptr};
    qz::TQzDateEdit* Edit = nullptr;
    qz::TQzLED* Led = nullptr;
};

// Signals caught on one wrapper: their names and integer arguments.
struct TCaught {
    std::vector<std::string> Signals;
    static void Text(AtkObject*, gint position, gint length, gchar* text, TCaught* self) {
        self->Signals.push_back(std::to_string(position) + "+" + std::to_string(length) + " " + text);
    }
};

TEST_F(AtspiWrappers, RolesStatesAndExtentsAsTheDesktopReadsThem) {
    struct TRow {
        fw::TControl* Control;
        AtkRole Role;
        const char* Name;
        std::vector<AtkStateType> States;
    };
    const TRow rows[] = {
        {&Form, ATK_ROLE_FRAME, "", {ATK_STATE_ACTIVE, ATK_STATE_SHOWING, ATK_STATE_ENABLED}},
        {Edit, ATK_ROLE_TEXT, "Date", {ATK_STATE_EDITABLE, ATK_STATE_FOCUSED, ATK_STATE_SINGLE_LINE, ATK_STATE_HAS_POPUP}},
        {Edit->CalendarButton(), ATK_ROLE_PUSH_BUTTON, "Choose date", {ATK_STATE_EXPANDABLE, ATK_STATE_SENSITIVE}},
        {Led, ATK_ROLE_STATUSBAR, "Off, red", {ATK_STATE_VISIBLE, ATK_STATE_SHOWING}},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        AtkObject* o = Of(r.Control);
        EXPECT_EQ(atk_object_get_role(o), r.Role);
        EXPECT_STREQ(atk_object_get_name(o), r.Name);
        AtkStateSet* set = atk_object_ref_state_set(o);
        for (AtkStateType s : r.States) EXPECT_TRUE(atk_state_set_contains_state(set, s)) << atk_state_type_get_name(s);
        g_object_unref(set);
    }
    // The form's parent is the application, whose child it is.
    AtkObject* root = atk_object_get_parent(Of(&Form));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(atk_object_get_role(root), ATK_ROLE_APPLICATION);
    AtkObject* child = atk_object_ref_accessible_child(root, atk_object_get_index_in_parent(Of(&Form)));
    EXPECT_EQ(child, Of(&Form));
    g_object_unref(child);

    // Desktop pixels are framework pixels times the scale; a window is its client area.
    gint x = 0, y = 0, w = 0, h = 0;
    atk_component_get_extents(ATK_COMPONENT(Of(Edit)), &x, &y, &w, &h, ATK_XY_SCREEN);
    const fw::TPoint edit = Edit->ClientToScreen({0, 0});
    const fw::TRect insets = Edit->BorderInsets();
    EXPECT_EQ(x, (edit.X - insets.Left) * 2);
    EXPECT_EQ(y, (edit.Y - insets.Top) * 2);
    EXPECT_EQ(w, 121 * 2);
    gint wx = 0, wy = 0;
    atk_component_get_extents(ATK_COMPONENT(Of(Edit)), &wx, &wy, nullptr, nullptr, ATK_XY_WINDOW);
    EXPECT_EQ(wx, 10 * 2);
    EXPECT_EQ(wy, 20 * 2);

    // The lamp's value and its words.
    gdouble value = -1;
    gchar* text = nullptr;
    atk_value_get_value_and_text(ATK_VALUE(Of(Led)), &value, &text);
    EXPECT_EQ(value, 0);
    EXPECT_STREQ(text, "Off, red");
    g_free(text);
}

TEST_F(AtspiWrappers, TextChangesBecomeRemoveAndInsertInCharacters) {
    AtkObject* o = Of(Edit);
    TCaught caught;
    g_signal_connect(o, "text-insert", G_CALLBACK(TCaught::Text), &caught);
    g_signal_connect(o, "text-remove", G_CALLBACK(TCaught::Text), &caught);
    Edit->SetText("1/2/2026");
    Edit->SetText("1/12/2026");   // a character in the middle
    Edit->SetText("ü1/12/2026");  // a character of two bytes in front
    Edit->SetText("ü1/12/2027");  // the last one replaced
    EXPECT_EQ(caught.Signals, (std::vector<std::string>{"0+8 1/2/2026", "2+1 1", "0+1 ü", "9+1 6", "9+1 7"}));
    gchar* all = atk_text_get_text(ATK_TEXT(o), 0, -1);
    EXPECT_STREQ(all, "ü1/12/2027");
    g_free(all);
    gint start = 0, end = 0;
    gchar* word = atk_text_get_string_at_offset(ATK_TEXT(o), 3, ATK_TEXT_GRANULARITY_WORD, &start, &end);
    EXPECT_STREQ(word, "12/");
    EXPECT_EQ(start, 3);
    g_free(word);
    EXPECT_EQ(atk_text_get_character_count(ATK_TEXT(o)), 10);
}

TEST_F(AtspiWrappers, ThePopupGridIsATableAndItsActionsRunFromTheLoop) {
    Edit->SetCalendarOptions({qz::coWeekNumbers});
    bool checked = false;
    Ui::OnNextModal([&](fw::TForm* popup) {
        AtkObject* dialog = Bridge::WrapperOf(popup->Accessible());
        EXPECT_EQ(atk_object_get_role(dialog), ATK_ROLE_DIALOG);
        EXPECT_TRUE(ATK_IS_WINDOW(dialog));
        AtkObject* table = nullptr;
        for (int i = 0; i < atk_object_get_n_accessible_children(dialog) && !table; ++i) {
            AtkObject* c = atk_object_ref_accessible_child(dialog, i);
            if (atk_object_get_role(c) == ATK_ROLE_TABLE) table = c;
            g_object_unref(c);
        }
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(atk_table_get_n_rows(ATK_TABLE(table)), 6);
        EXPECT_STREQ(atk_object_get_name(atk_table_get_column_header(ATK_TABLE(table), 0)), "Sunday");
        // Today, selected: where the popup's own model has it.
        const int index = dynamic_cast<qz::TfrmQzCal*>(popup)->SelIndex();
        AtkObject* cell = atk_table_ref_at(ATK_TABLE(table), (index - 1) / 7, (index - 1) % 7);
        EXPECT_STREQ(atk_object_get_name(cell), "Tuesday, March 10, 2026");
        gint row = -1, column = -1;
        EXPECT_TRUE(atk_table_cell_get_position(ATK_TABLE_CELL(cell), &row, &column));
        EXPECT_EQ(row * 7 + column + 1, index);
        EXPECT_EQ(column, 2);
        // The week number is the row's header, for the table and for the cell.
        AtkObject* week = atk_table_get_row_header(ATK_TABLE(table), row);
        EXPECT_EQ(atk_object_get_role(week), ATK_ROLE_ROW_HEADER);
        EXPECT_STREQ(atk_object_get_name(week), "Week 11");
        GPtrArray* headers = atk_table_cell_get_row_header_cells(ATK_TABLE_CELL(cell));
        ASSERT_EQ(headers->len, 1u);
        EXPECT_EQ(g_ptr_array_index(headers, 0), week);
        g_ptr_array_unref(headers);
        // The selected (and focused) day is the table's selection.
        AtkObject* selected = atk_selection_ref_selection(ATK_SELECTION(table), 0);
        EXPECT_EQ(selected, cell);
        g_object_unref(selected);
        // Picking a day through its action returns at once; the loop runs it.
        ASSERT_EQ(atk_action_get_n_actions(ATK_ACTION(cell)), 1);
        EXPECT_TRUE(atk_action_do_action(ATK_ACTION(cell), 0));
        g_object_unref(cell);
        checked = true;
    });
    AtkObject* edit = Of(Edit);
    ASSERT_EQ(atk_action_get_n_actions(ATK_ACTION(edit)), 1);
    EXPECT_STREQ(atk_action_get_name(ATK_ACTION(edit), 0), "open calendar");
    EXPECT_TRUE(atk_action_do_action(ATK_ACTION(edit), 0));
    Ui::Pump();
    EXPECT_TRUE(checked);
    EXPECT_EQ(Edit->Text(), "10/03/2026");
}

} // namespace
