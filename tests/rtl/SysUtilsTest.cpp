#include <framework/rtl/Exceptions.h>
#include <framework/rtl/SysUtils.h>
#include <gtest/gtest.h>
#include <limits>

using namespace fw;
using namespace std::string_literals;

TEST(StrToInt, AcceptsLeadingSpacesAndOneSign) {
    const std::pair<const char*, int> Rows[] = {
        {"0", 0},
        {"7", 7},
        {"0042", 42},
        {"+12", 12},
        {"-12", -12},
        {"-0", 0},
        {"   25", 25},
        {"  -3", -3},
        {"2147483647", std::numeric_limits<int>::max()},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"000000000000000000002147483647", std::numeric_limits<int>::max()},
    };
    for (const auto& [Text, Value] : Rows) {
        SCOPED_TRACE(Text);
        EXPECT_EQ(StrToInt(Text), Value);
    }
}

TEST(StrToInt, RejectsEverythingElseWithTheTextInTheMessage) {
    const std::string Rows[] = {
        "",
        " ",
        "+",
        "-",
        "--1",
        "+-1",
        "- 1",
        "12 ",
        "\t12",
        "1 2",
        "12a",
        "a12",
        "1.0",
        "$FF",
        "0x10",
        "1e3",
        "2147483648",
        "-2147483649",
        "4294967296",
        "99999999999999999999",
        "1\0"s
        "2",
        "\0"s,
    };
    for (const auto& Text : Rows) {
        SCOPED_TRACE(testing::PrintToString(Text));
        int Untouched = 99;
        EXPECT_FALSE(TryStrToInt(Text, Untouched));
        EXPECT_EQ(Untouched, 99);
        try {
            StrToInt(Text);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), "'" + Text + "' is not a valid integer value");
        }
    }
}

TEST(StrToInt, LongTextsAreRejectedQuickly) {
    const std::string Digits(1 << 20, '9');
    EXPECT_THROW(StrToInt(Digits), EConvertError);
    const std::string Zeros = std::string(1 << 20, '0') + "5";
    EXPECT_EQ(StrToInt(Zeros), 5);
}

TEST(IntToStr, WritesDecimal) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-45), "-45");
    EXPECT_EQ(IntToStr(std::numeric_limits<int>::min()), "-2147483648");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(StrToInt(IntToStr(123456789)), 123456789);
}

TEST(CaseMapping, TouchesOnlyAsciiLetters) {
    const std::string Mixed = "Abc/XYZ 09 \xC4\xE4\0@["s;
    EXPECT_EQ(LowerCase(Mixed), "abc/xyz 09 \xC4\xE4\0@["s);
    EXPECT_EQ(UpperCase(Mixed), "ABC/XYZ 09 \xC4\xE4\0@["s);
    EXPECT_EQ(LowerCase(""), "");
}
