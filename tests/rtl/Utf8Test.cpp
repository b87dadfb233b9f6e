#include <framework/rtl/Utf8.h>
#include <gtest/gtest.h>

using namespace fw;
using namespace std::string_literals;

TEST(Utf8, CodePageTextRoundTripsThroughUtf8) {
    const std::pair<std::string, std::string> Rows[] = {
        {"14/03/2026", "14/03/2026"},
        {"caf\xE9", "caf\xC3\xA9"},   // Latin-1 range: two bytes
        {"\x80 5", "\xE2\x82\xAC 5"}, // the euro sign of byte 0x80
        {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
        {"\x81", "\xC2\x81"}, // undefined in the code page: its own number
        {""s, ""s},
    };
    for (const auto& [Ansi, Utf8] : Rows) {
        EXPECT_EQ(AnsiToUtf8(Ansi), Utf8);
        EXPECT_EQ(Utf8ToAnsi(Utf8), Ansi);
    }
}

TEST(Utf8, CharactersOutsideTheCodePageAndMalformedInputBecomeQuestionMarks) {
    const std::pair<std::string, std::string> Rows[] = {
        {"\xE6\x97\xA5", "?"},       // a character the code page lacks
        {"\xF0\x9F\x98\x80!", "?!"}, // four bytes
        {"a\xC3", "a?"},             // cut short at the end
        {"\xC3(", "?("},             // continuation missing
        {"\xC0\xAF", "?"},           // overlong '/'
        {"\xFF", "?"},               // never a lead byte
        {"\x80x", "?x"},             // continuation without a lead
    };
    for (const auto& [Utf8, Ansi] : Rows)
        EXPECT_EQ(Utf8ToAnsi(Utf8), Ansi) << Utf8;
}
