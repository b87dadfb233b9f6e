// Many edits made and freed, and many invalid exits: nothing leaks (the live
// component and handle counts return) or outlives its owner (the sanitizer
// build checks the memory itself).

#include "DateEditFixture.h"

#include <framework/graphics/GdiObjects.h>
#include <gtest/gtest.h>
#include <memory>

namespace qztest {
namespace {

constexpr int Rounds = 10000;

class Stress : public DateEditFixture {};

// Makes a shown form and Count edits on it, each painted now and then and
// freed by hand, then 100 more left to the form, and frees the form.
void MakeAndFreeEdits(int Count) {
    auto Host = std::make_unique<fw::TForm>(nullptr);
    Host->Show();
    const std::size_t WithHost = fw::LiveComponentCount();
    for (int I = 0; I < Count; ++I) {
        auto* Edit = new qz::TQzDateEdit(Host.get());
        Edit->SetParent(Host.get());
        Edit->SetBounds(8, 70, 121, 20);
        Edit->SetGlyphType(I % 2 ? qz::gtCalendar2 : qz::gtEllipsis);
        Edit->SetDate(fw::EncodeDate(2003, 12, 25) + I);
        if (I % 1000 == 0) fw::Ui::Pump(); // painted now and then
        delete Edit;
    }
    EXPECT_EQ(fw::LiveComponentCount(), WithHost);
    EXPECT_EQ(Host->ComponentCount(), 0);
    EXPECT_EQ(Host->ControlCount(), 0);
    // Owned edits that were never freed by hand go with their owner.
    for (int I = 0; I < 100; ++I)
        (new qz::TQzDateEdit(Host.get()))->SetParent(Host.get());
    EXPECT_EQ(fw::LiveComponentCount(), WithHost + 200); // each edit and its button
    fw::Ui::Pump();
    Host.reset();
    fw::Ui::Pump();
}

TEST_F(Stress, TenThousandEditsMadeAndFreed) {
    // Everything an edit makes (its button, glyph bitmaps, fonts, brushes,
    // contexts) goes with it: the live counts come back to where they started,
    // once a first round has made what lives for the whole process.
    MakeAndFreeEdits(1);
    const std::size_t Components = fw::LiveComponentCount();
    const std::size_t Handles = fw::LiveGdiObjectCount();
    MakeAndFreeEdits(Rounds);
    EXPECT_EQ(fw::LiveComponentCount(), Components);
    EXPECT_EQ(fw::LiveGdiObjectCount(), Handles);
}

TEST_F(Stress, AnExitStormOfInvalidTextsInSilence) {
    edit->SetErrorMessageType(qz::mtSilent);
    int Invalid = 0;
    edit->OnInvalidDate = [&](fw::TObject*) { ++Invalid; };
    const char* Texts[] = {"31/02/2003", "1//2", "99999/1/1", "1/1/10000", "0/0/0", "x"};
    for (int I = 0; I < Rounds; ++I) {
        edit->SetText(Texts[I % 6]);
        fw::Ui::Tab();
    }
    EXPECT_EQ(Invalid, Rounds);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(fw::Ui::BeepCount(), 0);
    EXPECT_EQ(fw::Application->HandledExceptionCount(), 0);
}

} // namespace
} // namespace qztest
