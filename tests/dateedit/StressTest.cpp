// Many edits made and freed, and many invalid exits: run under the sanitizer
// build, these show that nothing leaks or outlives its owner.

#include "DateEditFixture.h"

#include <gtest/gtest.h>

namespace qztest {
namespace {

constexpr int Rounds = 10000;

class Stress : public DateEditFixture {};

TEST_F(Stress, TenThousandEditsMadeAndFreed) {
    for (int I = 0; I < Rounds; ++I) {
        auto* Edit = new qz::TQzDateEdit(form.get());
        Edit->SetParent(form.get());
        Edit->SetBounds(8, 70, 121, 20);
        Edit->SetGlyphType(I % 2 ? qz::gtCalendar2 : qz::gtEllipsis);
        Edit->SetDate(fw::EncodeDate(2003, 12, 25) + I);
        delete Edit;
    }
    // Owned edits that were never freed by hand go with their owner.
    for (int I = 0; I < 100; ++I)
        new qz::TQzDateEdit(form.get());
    form.reset();
    SUCCEED();
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
