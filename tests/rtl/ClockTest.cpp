#include <cmath>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <gtest/gtest.h>

using namespace fw;

TEST(Clock, ScopedClockFixesTodayAndRestoresThePreviousClock) {
    const TDateTime Christmas = EncodeDate(2003, 12, 25);
    {
        TScopedClock Outer(Christmas + 0.75);
        EXPECT_EQ(Now(), Christmas + 0.75);
        EXPECT_EQ(Date(), Christmas); // no time part
        {
            TScopedClock Inner(-1.25);
            EXPECT_EQ(Date(), -2); // the floor, also before day 0
        }
        EXPECT_EQ(Date(), Christmas);
    }
    // The system clock again: some day after this code was written.
    EXPECT_GT(Date(), EncodeDate(2020, 1, 1));
    EXPECT_EQ(Date(), std::floor(Date()));
}

TEST(Clock, SetClockReturnsThePreviousClock) {
    int Calls = 0;
    TClockFunction Previous = SetClock([&Calls] {
        ++Calls;
        return 100.5;
    });
    EXPECT_FALSE(Previous); // the system clock
    EXPECT_EQ(Date(), 100);
    EXPECT_EQ(Calls, 1);
    TClockFunction Mine = SetClock(std::move(Previous));
    ASSERT_TRUE(Mine);
    EXPECT_EQ(Mine(), 100.5);
}
