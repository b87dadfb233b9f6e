// The committed bitmaps are exactly what the resource generator writes, and the popup's form file
// has the shape the form reader expects.

#include "ArtPaths.h"
#include "BmpReader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace arttest {
namespace {

namespace fs = std::filesystem;

TEST(ResourceGenerator, RegeneratesTheCommittedBitmapsByteForByte) {
    const fs::path tool = fs::path(QZ_BINARY_DIR) / "mkresources";
    if (!fs::exists(tool)) GTEST_SKIP() << "build the mkresources target to run this check";

    std::string pattern = (fs::temp_directory_path() / "qz-art-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path out = pattern;
    // Appended piece by piece: g++ 12 at -O3 warns (falsely) about "literal" + string.
    std::string command = "\"";
    command += tool.string();
    command += "\" \"";
    command += out.string();
    command += "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), out);
        const fs::path committed = fs::path(QZ_SOURCE_DIR) / "resources" / relative;
        ASSERT_TRUE(fs::exists(committed)) << relative << " is generated but not committed";
        EXPECT_TRUE(ReadBytes(entry.path().string()) == ReadBytes(committed.string()))
            << relative << " differs";
        ++count;
    }
    fs::remove_all(out);
    EXPECT_EQ(count, 6 + 8 + 56 + 5 + 1); // glyphs, popup buttons, lamps, palette images, icon
}

TEST(PopupFormFile, NestsTheTimerAndHoldsTheLayoutProperties) {
    std::ifstream file(std::string(QZ_SOURCE_DIR) + "/resources/forms/TFRMQZCAL.dfm");
    ASSERT_TRUE(file);
    std::vector<std::string> objects;
    std::map<std::string, std::string> props; // "object.property" -> value
    std::string line;
    int depth = 0;
    while (std::getline(file, line)) {
        const auto start = line.find_first_not_of(' ');
        ASSERT_NE(start, std::string::npos) << "no blank lines";
        const std::string text = line.substr(start);
        const int indent = text == "end" ? depth - 1 : depth;
        EXPECT_EQ(start, static_cast<std::size_t>(2 * indent)) << line;
        if (text.rfind("object ", 0) == 0) {
            objects.push_back(text.substr(7, text.find(':') - 7));
            ++depth;
        } else if (text == "end") {
            ASSERT_GT(depth, 0);
            --depth;
        } else {
            const auto eq = text.find(" = ");
            ASSERT_NE(eq, std::string::npos) << text;
            props[objects.back() + "." + text.substr(0, eq)] = text.substr(eq + 3);
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(objects, (std::vector<std::string>{"frmQzCal", "tmr"}));
    EXPECT_EQ(props["frmQzCal.BorderStyle"], "bsNone");
    EXPECT_EQ(props["frmQzCal.ClientWidth"], "175");
    EXPECT_EQ(props["frmQzCal.ClientHeight"], "117");
    EXPECT_EQ(props["frmQzCal.Font.Height"], "-8");
    EXPECT_EQ(props["frmQzCal.OnPaint"], "FormPaint");
    for (const auto& [name, value] : props)
        EXPECT_NE(value, "FormCancel") << name << ": FormCancel is bound to no event";
    EXPECT_EQ(props["tmr.Enabled"], "False");
    EXPECT_EQ(props["tmr.Interval"], "100");
    EXPECT_EQ(props["tmr.OnTimer"], "tmrTimer");
}

} // namespace
} // namespace arttest
