// The demo's event log stays bounded however long the demo runs: it keeps the
// latest entries and merged lines, counts everything, and merges runs of one
// sender's event into one line.

#include "EventLog.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

qzdemo::TEventEntry Event(const std::string& Sender, const std::string& Name, const std::string& Detail) {
    return {Sender, Name, Detail};
}

TEST(EventLog, KeepsTheLatestEntriesAndLinesAndCountsEverything) {
    qzdemo::TEventLog Log(8, 3);
    // A million events in runs of three (edit0.OnChange x3, edit1.OnChange x3, ...).
    constexpr std::size_t Total = 1000000;
    for (std::size_t I = 0; I < Total; ++I)
        Log.Add(Event("edit" + std::to_string(I / 3 % 5), "OnChange", std::to_string(I)));
    EXPECT_EQ(Log.Count(), Total);
    // Exactly the last eight entries are kept, numbered from the first ever added.
    EXPECT_EQ(Log.Entry(Total - 9), nullptr);
    ASSERT_NE(Log.Entry(Total - 8), nullptr);
    EXPECT_EQ(Log.Entry(Total - 8)->Detail, std::to_string(Total - 8));
    EXPECT_EQ(Log.Entry(Total - 1)->Detail, std::to_string(Total - 1));
    EXPECT_EQ(Log.Entry(Total), nullptr);
    // Three merged lines at most, the last one still growing (999999 = 3 * 333333).
    EXPECT_EQ(Log.LastLines(100),
              (std::vector<fw::String>{"edit1.OnChange x3: 999995", "edit2.OnChange x3: 999998",
                                       "edit3.OnChange: 999999"}));
    // Lines over a range merge only what is still kept; the range is clipped.
    EXPECT_EQ(Log.Lines(0, Total),
              (std::vector<fw::String>{"edit0.OnChange: 999992", "edit1.OnChange x3: 999995",
                                       "edit2.OnChange x3: 999998", "edit3.OnChange: 999999"}));
}

TEST(EventLog, MergesOnlyTheSameEventOfTheSameSender) {
    qzdemo::TEventLog Log;
    Log.Add(Event("a", "OnChange", "1"));
    Log.Add(Event("a", "OnChange", "12"));
    Log.Add(Event("a", "OnExit", ""));
    Log.Add(Event("b", "OnExit", ""));
    Log.Add(Event("a", "OnChange", "123"));
    const std::vector<fw::String> Expected = {"a.OnChange x2: 12", "a.OnExit", "b.OnExit", "a.OnChange: 123"};
    EXPECT_EQ(Log.LastLines(10), Expected);
    EXPECT_EQ(Log.Lines(0, Log.Count()), Expected);
    EXPECT_EQ(Log.Lines(1, 3), (std::vector<fw::String>{"a.OnChange: 12", "a.OnExit"}));
    EXPECT_EQ(Log.LastLines(2), (std::vector<fw::String>{"b.OnExit", "a.OnChange: 123"}));
}

} // namespace
