#include <framework/rtl/Exceptions.h>
#include <framework/rtl/Format.h>
#include <framework/rtl/FormatSettings.h>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace fw;

TEST(Format, Texts) {
    const String Text = "31/02/2003";
    EXPECT_EQ(Format("'%s' is not a valid date!", {Text}), "'31/02/2003' is not a valid date!");
    EXPECT_EQ(Format("%s|%s|%s|%s", {"a", 'b', std::string_view("cd"), static_cast<const char*>(nullptr)}),
              "a|b|cd|");
    EXPECT_EQ(Format("[%5s][%-5s][%.2s][%1s]", {"ab", "ab", "abcdef", "abc"}), "[   ab][ab   ][ab][abc]");
    EXPECT_EQ(Format("100%% sure", {}), "100% sure");
    EXPECT_EQ(Format("no specifiers", {}), "no specifiers");
}

TEST(Format, Integers) {
    EXPECT_EQ(Format("%d %d %D", {0, -42, 7L}), "0 -42 7");
    EXPECT_EQ(Format("%d", {std::numeric_limits<long long>::min()}), "-9223372036854775808");
    EXPECT_EQ(Format("[%4d][%-4d][%.3d][%.3d]", {7, 7, 7, -7}), "[   7][7   ][007][-007]");
    EXPECT_EQ(Format("%u %x %X %.4x", {-1, 255, -1, 10}), "4294967295 FF FFFFFFFF 000A");
    EXPECT_EQ(Format("[%*d][%-*d]", {3, 1, 3, 2}), "[  1][2  ]");
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
    std::vector<TVarRec> Args{1, "x"};
    EXPECT_EQ(Format("%d%s", Args), "1x");
}

TEST(Format, FloatingValues) {
    TFormatSettingsGuard Guard;
    EXPECT_EQ(Format("%f %.1f %.0f", {3.14159, 2.25, 2.5}), "3.14 2.2 2");
    EXPECT_EQ(Format("%n", {-1234567.891}), "-1,234,567.89");
    EXPECT_EQ(Format("%.0n", {999.0}), "999");
    EXPECT_EQ(Format("%e", {1500.0}), "1.50000000000000E+003");
    EXPECT_EQ(Format("%.3e", {-0.00125}), "-1.25E-003");
    EXPECT_EQ(Format("%g %g", {0.1, 1e20}), "0.1 1E+20");
    EXPECT_EQ(
        Format("%f %f %f", {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()}),
        "NAN INF -INF");
    FormatSettings.DecimalSeparator = ',';
    FormatSettings.ThousandSeparator = '.';
    EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
}

// Every misuse raises EConvertError naming the layout; none reads past the arguments.
TEST(Format, MisuseRaises) {
    const struct {
        const char* Layout;
        std::vector<TVarRec> Args;
    } Rows[] = {
        {"%d", {}},    {"%s %s", {"one"}}, {"%d", {"text"}},    {"%s", {5}},           {"%f", {5}},
        {"%d", {5.0}}, {"%x", {'c'}},      {"%", {1}},          {"50%", {}},           {"%5", {1}},
        {"%.", {1}},   {"%q", {1}},        {"%c", {'c'}},       {"%2:d", {1, 2}},      {"%*d", {"wide", 1}},
        {"%*d", {1}},  {"%99999d", {1}},   {"%.99999f", {1.0}}, {"%*d", {1000000, 1}}, {"%-:d", {1}},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Layout);
        try {
            Format(Row.Layout, Row.Args);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(),
                      String("Format '") + Row.Layout + "' invalid or incompatible with argument");
        }
    }
}
