#include <framework/classes/Set.h>
#include <gtest/gtest.h>

namespace {

enum TIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TIcons = fw::Set<TIcon>;

TEST(Set, IncludeExcludeContainsAndOperators) {
    TIcons s{biSystemMenu, biHelp};
    EXPECT_TRUE(s.Contains(biSystemMenu));
    EXPECT_FALSE(s.Contains(biMinimize));
    s << biMinimize;
    s >> biSystemMenu;
    EXPECT_EQ(s, (TIcons{biMinimize, biHelp}));
    EXPECT_EQ(s + biMaximize - biHelp, (TIcons{biMinimize, biMaximize}));
    EXPECT_EQ((TIcons{biSystemMenu, biHelp} * TIcons{biHelp, biMaximize}), TIcons{biHelp});
    EXPECT_EQ((TIcons{biSystemMenu, biHelp} - TIcons{biHelp}), TIcons{biSystemMenu});
    EXPECT_TRUE(TIcons{}.Empty());
    EXPECT_NE(TIcons{}, TIcons{biSystemMenu});
    EXPECT_EQ(TIcons::FromBits(0b1010).Bits(), 0b1010u);
    EXPECT_EQ(TIcons::FromBits(0b1010), (TIcons{biMinimize, biHelp}));
}

} // namespace
