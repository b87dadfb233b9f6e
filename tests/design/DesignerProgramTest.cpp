// The designer program, run in a child process: the scripted tour (module loading, dropping,
// the DateFormat drop-down over two date edits, the verb, the double-click, save and reopen, a
// broken file), its close-ups against the golden pictures, and a module that does not load.

#include <filesystem>
#include <framework/graphics/Png.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <tests/support/Golden.h>
#include <tests/support/Process.h>

namespace {

namespace fs = std::filesystem;

const fs::path Program = fs::path(QZ_BINARY_DIR) / "qzdesign";

qztest::TCommandResult RunDesigner(const std::string& Arguments) {
    return qztest::RunCommand(qztest::ShellQuote(Program.string()) + " " + Arguments);
}

fs::path OutDir(const std::string& name) {
    const fs::path dir = fs::path(QZ_BINARY_DIR) / "test-design" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DesignerProgram : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(Program)) << "build the target qzdesign first"; }
};

TEST_F(DesignerProgram, TourSucceedsWithItsPicturesTranscriptAndCloseUps) {
    const fs::path dir = OutDir("tour");
    const qztest::TCommandResult run = RunDesigner("--tour --out '" + dir.string() + "'");
    ASSERT_EQ(run.ExitCode, 0) << run.Output;

    const std::string transcript = ReadFile(dir / "transcript.txt");
    for (const char* seen : {"seen: the palette page \"QzComponents\"", "seen: AllEqual is false",
                             "seen: the DateFormat value is blank", "seen: one verb, &Version 5.0",
                             "seen: the About box \"About Qz Components\"",
                             "seen: writing it again gives the same text", "seen: the form is unchanged"})
        EXPECT_NE(transcript.find(seen), std::string::npos) << seen;
    EXPECT_EQ(transcript.find("FAILED"), std::string::npos);

    // The saved form file names only framework and package classes and reads back the same.
    const std::string form = ReadFile(dir / "Form1.dfm");
    EXPECT_EQ(form.rfind("object Form1: TForm\n", 0), 0u) << form;
    EXPECT_NE(form.find("object QzDateEdit2: TQzDateEdit"), std::string::npos);
    EXPECT_NE(form.find("DateFormat = 'd/m/yyyy'"), std::string::npos);

    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".png" && std::isdigit(entry.path().filename().string()[0]))
            ++pictures;
    EXPECT_GE(pictures, 12);

    for (const char* closeUp : {"palette", "inspector-dateformat", "about"}) {
        SCOPED_TRACE(closeUp);
        const fw::TSurface image = fw::LoadPng((dir / (std::string(closeUp) + ".png")).string());
        EXPECT_GOLDEN(image, "design", closeUp);
    }
}

TEST_F(DesignerProgram, AModuleThatDoesNotLoadIsNamedWithTheReason) {
    const fs::path dir = OutDir("bad-module");
    const fs::path missing = dir / "Missing.so";
    const qztest::TCommandResult run =
        RunDesigner("--tour --module '" + missing.string() + "' --out '" + dir.string() + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Output.find(missing.string()), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("does not exist"), std::string::npos) << run.Output;
}

} // namespace
