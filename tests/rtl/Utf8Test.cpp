#include <framework/rtl/Utf8.h>
#include <gtest/gtest.h>

using namespace fw;
using namespace std::string_literals;

// Text from older single-byte files and from the desktop meets here: the
// code page's characters must come out as the same characters in UTF-8, and
// text that is already UTF-8 must pass through untouched.
TEST(Utf8, CodePageTextBecomesTheSameCharactersAndUtf8StaysAsItIs) {
    const std::pair<std::string, std::string> Rows[] = {
        {"14/03/2026", "14/03/2026"},
        {"caf\xE9", "caf\xC3\xA9"},   // Latin-1 range: two bytes
        {"\x80 5", "\xE2\x82\xAC 5"}, // the euro sign of byte 0x80
        {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
        {"\x81", "\xC2\x81"}, // unassigned in the code page: its own number
        {""s, ""s},
    };
    for (const auto& [Ansi, Utf8] : Rows) {
        EXPECT_EQ(Win1252ToUtf8(Ansi), Utf8) << Ansi;
        EXPECT_EQ(ToUtf8(Ansi), Utf8) << Ansi;
        EXPECT_EQ(ToUtf8(Utf8), Utf8) << Utf8;
    }
}

TEST(Utf8, MalformedSequencesAreNotValidAndStepOneByteAtATime) {
    const std::string Malformed[] = {
        "a\xC3",            // cut short at the end
        "\xC3(",            // continuation missing
        "\xC0\xAF",         // overlong '/'
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xFF",             // never a lead byte
        "\x80x",            // continuation without a lead
    };
    for (const auto& s : Malformed) {
        EXPECT_FALSE(IsValidUtf8(s)) << s;
        // Every position is reachable forwards and backwards: the edit's caret
        // never lands inside a character nor skips bytes it cannot decode.
        std::size_t steps = 0;
        for (std::size_t pos = 0; pos < s.size(); pos = NextCharStart(s, pos))
            ++steps;
        std::size_t back = 0;
        for (std::size_t pos = s.size(); pos > 0; pos = PrevCharStart(s, pos))
            ++back;
        EXPECT_EQ(steps, back) << s;
    }
    const std::string Good = "\xF0\x9F\x98\x80\xE6\x97\xA5\xC3\xA9!";
    EXPECT_TRUE(IsValidUtf8(Good));
    std::size_t pos = 0;
    EXPECT_EQ(NextCodePoint(Good, pos), 0x1F600u);
    EXPECT_EQ(NextCodePoint(Good, pos), 0x65E5u);
    EXPECT_EQ(NextCodePoint(Good, pos), 0xE9u);
    EXPECT_EQ(PrevCharStart(Good, Good.size() - 1), 7u);
    String out;
    for (std::uint32_t cp : {0x1F600u, 0x65E5u, 0xE9u, 0x21u})
        AppendUtf8(out, cp);
    EXPECT_EQ(out, Good);
}
