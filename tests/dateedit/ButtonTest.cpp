// The drop button: its place, its enabled state and visibility, the glyph
// properties, and opening the calendar from the button and from Alt+Down.

#include "DateEditFixture.h"

#include <framework/platform/Keys.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qztest {
namespace {

using qz::TQzCalendarButton;

class DropButton : public DateEditFixture {
protected:
    TQzCalendarButton* button() const { return edit->CalendarButton(); }
};

// ---------------------------------------------------------------- layout

TEST_F(DropButton, IsASquareFillingTheClientHeightAtTheRightEnd) {
    EXPECT_EQ(button()->BoundsRect(), fw::Rect(101, 0, 117, 16));
    EXPECT_FALSE(button()->TabStop());
    edit->SetHeight(30);
    EXPECT_EQ(button()->BoundsRect(), fw::Rect(91, 0, 117, 26));
    edit->SetWidth(200);
    EXPECT_EQ(button()->Left(), 200 - 30);
    // The client area is what the sunken border leaves: the button touches its right edge.
    EXPECT_EQ(button()->Left() + button()->Width(), edit->ClientWidth());
    EXPECT_EQ(button()->Height(), edit->ClientHeight());
}

TEST_F(DropButton, AHiddenButtonKeepsItsBoundsUntilTheNextResize) {
    edit->SetCalendarEnabled(false);
    EXPECT_FALSE(button()->Visible());
    edit->SetBounds(8, 8, 200, 30);
    EXPECT_EQ(button()->BoundsRect(), fw::Rect(101, 0, 117, 16));
    edit->SetCalendarEnabled(true);
    EXPECT_TRUE(button()->Visible());
    EXPECT_EQ(button()->BoundsRect(), fw::Rect(101, 0, 117, 16));
    edit->SetWidth(201);
    EXPECT_EQ(button()->BoundsRect(), fw::Rect(171, 0, 197, 26));
}

TEST_F(DropButton, TheEditsWindowClipsItsChildren) {
    EXPECT_TRUE(edit->HandleAllocated());
    EXPECT_NE(edit->WindowStyle() & fw::WS_CLIPCHILDREN, 0u);
}

// ---------------------------------------------------------------- enabled state

TEST_F(DropButton, FollowsTheEditsEnabledState) {
    edit->SetEnabled(false);
    EXPECT_FALSE(button()->Enabled());
    edit->SetEnabled(true);
    EXPECT_TRUE(button()->Enabled());
}

TEST_F(DropButton, IsMadeDisabledWithTheWindowOfADisabledEdit) {
    // An edit disabled before its window exists: CreateParams passes the state on.
    auto* Late = new qz::TQzDateEdit(form.get());
    Late->SetEnabled(false);
    Late->CalendarButton()->SetEnabled(true);
    Late->SetParent(form.get());
    Late->HandleNeeded();
    EXPECT_FALSE(Late->CalendarButton()->Enabled());
}

// ---------------------------------------------------------------- glyphs

TEST_F(DropButton, BuiltInGlyphsLoadTheirTwoFrameBitmaps) {
    struct Row {
        qz::TGlyphTypes Type;
        int Width, Height;
    };
    for (const Row& R :
         {Row{qz::gtEllipsis, 20, 10}, Row{qz::gtDropArrow, 18, 10}, Row{qz::gtDropArrowSml, 14, 10},
          Row{qz::gtCalendar1, 30, 15}, Row{qz::gtCalendar2, 36, 20}, Row{qz::gtCalendar3, 32, 16}}) {
        edit->SetGlyphNum(1);
        edit->SetGlyphType(R.Type);
        EXPECT_EQ(edit->GlyphType(), R.Type);
        EXPECT_EQ(edit->GetGlyph()->Width(), R.Width) << int(R.Type);
        EXPECT_EQ(edit->GetGlyph()->Height(), R.Height) << int(R.Type);
        EXPECT_EQ(edit->GetGlyphNum(), 2);
    }
}

TEST_F(DropButton, CustomAndNoneClearThePicture) {
    edit->SetGlyphType(qz::gtEllipsis);
    edit->SetGlyphType(qz::gtCustom);
    EXPECT_TRUE(edit->GetGlyph()->Empty());
    edit->SetGlyphType(qz::gtDropArrow);
    edit->SetGlyphType(qz::gtNone);
    EXPECT_TRUE(edit->GetGlyph()->Empty());
    EXPECT_EQ(edit->GlyphType(), qz::gtNone);
}

TEST_F(DropButton, GlyphTypeCannotChangeWhileTheCalendarIsOff) {
    edit->SetGlyphType(qz::gtEllipsis);
    edit->SetCalendarEnabled(false);
    edit->SetGlyphType(qz::gtCalendar1);
    EXPECT_EQ(edit->GlyphType(), qz::gtEllipsis);
    EXPECT_EQ(edit->GetGlyph()->Width(), 20);
}

TEST_F(DropButton, AnAssignedGlyphIsCopiedAndMakesTheTypeCustom) {
    edit->SetGlyphType(qz::gtDropArrow);
    fw::TBitmap Picture;
    Picture.SetSize(12, 6);
    edit->SetGlyph(&Picture);
    EXPECT_EQ(edit->GlyphType(), qz::gtCustom);
    EXPECT_EQ(edit->GetGlyph()->Width(), 12);
    EXPECT_NE(edit->GetGlyph(), &Picture);
    Picture.SetSize(1, 1);
    EXPECT_EQ(edit->GetGlyph()->Width(), 12);
}

TEST_F(DropButton, GlyphNumIsClampedForCustomAndTwoOtherwise) {
    for (const auto& [Value, Expected] : {std::pair{0, 1}, {-3, 1}, {1, 1}, {3, 3}, {4, 3}, {5, 3}}) {
        edit->SetGlyphNum(Value);
        EXPECT_EQ(edit->GetGlyphNum(), Expected) << Value;
    }
    for (const auto Type : {qz::gtNone, qz::gtEllipsis, qz::gtCalendar3}) {
        edit->SetGlyphType(Type);
        for (const int Value : {0, 1, 3, 5}) {
            edit->SetGlyphNum(Value);
            EXPECT_EQ(edit->GetGlyphNum(), 2) << int(Type) << " " << Value;
        }
    }
}

// ---------------------------------------------------------------- opening the calendar

// A date edit whose calendar "picks" a fixed date, to see that the button and
// Alt+Down reach a descendant's OpenCalendar.
class TPickingDateEdit : public TProbeDateEdit {
public:
    using TProbeDateEdit::TProbeDateEdit;
    int Opened = 0;
    bool OpenCalendar() override {
        ++Opened;
        SetDate(fw::EncodeDate(2003, 12, 25));
        return true;
    }
};

TEST_F(DropButton, TheEventsFireAroundTheOpeningAndTheFocusComesBack) {
    std::vector<std::string> Log;
    edit->OnOpenCalendar = [&](fw::TObject* Sender) {
        EXPECT_EQ(Sender, edit);
        Log.push_back("open");
    };
    edit->OnCloseCalendar = [&](fw::TObject* Sender) {
        EXPECT_EQ(Sender, edit);
        EXPECT_TRUE(edit->Focused());
        Log.push_back("close");
    };
    button()->OnClick = [&](fw::TObject*) { Log.push_back("click"); };
    other->SetFocus();
    // The popup opens; Escape cancels it, so nothing is picked.
    fw::Ui::OnNextModal([](fw::TForm*) { fw::Ui::PressKey(fw::VK_ESCAPE); });
    fw::Ui::Click(button());
    EXPECT_EQ(Log, (std::vector<std::string>{"open", "close", "click"}));
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->GetDate(), 0);
}

TEST_F(DropButton, TheButtonAndAltDownCallTheVirtualOpenCalendar) {
    auto* Picking = new TPickingDateEdit(form.get());
    Picking->SetParent(form.get());
    Picking->SetBounds(8, 70, 121, 20);
    fw::Ui::Click(Picking->CalendarButton());
    EXPECT_EQ(Picking->Opened, 1);
    EXPECT_EQ(Picking->Text(), "25/12/2003");
    EXPECT_TRUE(Picking->Modified());
    Picking->SetFocus();
    fw::Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    EXPECT_EQ(Picking->Opened, 2);
    fw::Ui::PressKey(fw::VK_DOWN, {fw::ssAlt, fw::ssCtrl, fw::ssShift});
    EXPECT_EQ(Picking->Opened, 3);
    fw::Ui::PressKey(fw::VK_DOWN);
    EXPECT_EQ(Picking->Opened, 3);
}

// Keys and clicks that must not arrive: at a disabled or hidden edit, and at
// another edit's button while this one refuses to let the focus go.
TEST_F(DropButton, ADisabledOrHiddenEditTakesNoKeysAndOpensNothing) {
    int Opened = 0;
    edit->OnOpenCalendar = [&](fw::TObject*) { ++Opened; };
    edit->SetEnabled(false);
    EXPECT_TRUE(other->Focused());
    fw::Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    EXPECT_EQ(Opened, 0);
    edit->SetEnabled(true);
    edit->SetFocus();
    edit->SetVisible(false);
    EXPECT_TRUE(other->Focused());
    fw::Ui::TypeText("12");
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(other->Text(), "12");
}

TEST_F(DropButton, AClickRefusedByAnotherEditsExitCheckClicksNothing) {
    auto* Second = new TProbeDateEdit(form.get());
    Second->SetParent(form.get());
    Second->SetBounds(8, 70, 121, 20);
    int Opened = 0;
    Second->OnOpenCalendar = [&](fw::TObject*) { ++Opened; };
    int Invalid = 0;
    edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
    edit->SetErrorMessageType(qz::mtBeep);
    fw::Ui::TypeText("31/02/2003");
    fw::Ui::Click(Second->CalendarButton());
    EXPECT_EQ(Invalid, 1);
    EXPECT_EQ(fw::Ui::BeepCount(), 1);
    EXPECT_EQ(Opened, 0);
    EXPECT_TRUE(edit->Focused());
    // Once the text is valid, the same click opens the other calendar.
    edit->SelectAll();
    fw::Ui::TypeText("28/02/2003");
    fw::Ui::OnNextModal([](fw::TForm*) { fw::Ui::PressKey(fw::VK_ESCAPE); });
    fw::Ui::Click(Second->CalendarButton());
    EXPECT_EQ(Opened, 1);
    EXPECT_EQ(Invalid, 1);
    EXPECT_TRUE(Second->Focused());
}

TEST_F(DropButton, AltDownDoesNothingWhileTheCalendarIsOff) {
    int Opened = 0;
    edit->OnOpenCalendar = [&](fw::TObject*) { ++Opened; };
    int KeyDowns = 0;
    edit->OnKeyDown = [&](fw::TObject*, fw::Word&, fw::TShiftState) { ++KeyDowns; };
    edit->SetCalendarEnabled(false);
    fw::Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    EXPECT_EQ(Opened, 0);
    EXPECT_EQ(KeyDowns, 2); // Alt, then Down: the inherited handling still runs
    edit->SetCalendarEnabled(true);
    fw::Ui::OnNextModal([](fw::TForm*) { fw::Ui::PressKey(fw::VK_ESCAPE); });
    fw::Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    EXPECT_EQ(Opened, 1);
}

TEST_F(DropButton, AReadOnlyEditDoesNotOpenItsCalendar) {
    int Opened = 0, Closed = 0;
    edit->OnOpenCalendar = [&](fw::TObject*) { ++Opened; };
    edit->OnCloseCalendar = [&](fw::TObject*) { ++Closed; };
    edit->SetReadOnly(true);
    fw::Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    fw::Ui::Click(button());
    EXPECT_FALSE(edit->OpenCalendar());
    EXPECT_EQ(Opened, 0);
    EXPECT_EQ(Closed, 0);
    // A descendant's own OpenCalendar decides for itself.
    auto* Picking = new TPickingDateEdit(form.get());
    Picking->SetParent(form.get());
    Picking->SetBounds(8, 70, 121, 20);
    Picking->SetReadOnly(true);
    fw::Ui::Click(Picking->CalendarButton());
    EXPECT_EQ(Picking->Opened, 1);
}

TEST_F(DropButton, AButtonFreedByOthersIsForgotten) {
    delete edit->CalendarButton();
    EXPECT_EQ(edit->CalendarButton(), nullptr);
    edit->SetHeight(30);
    edit->SetGlyphType(qz::gtEllipsis);
    edit->SetCalendarEnabled(false);
    edit->SetEnabled(false);
    EXPECT_EQ(edit->GetGlyph(), nullptr);
}

} // namespace
} // namespace qztest
