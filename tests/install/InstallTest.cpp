// The package as another program uses it: installed into a folder, found by
// CMake and by pkg-config, and the example program built against it out of
// tree and run on the headless screen.

#include "../support/Process.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace {

namespace fs = std::filesystem;
using qztest::RunCommand;
using qztest::ShellQuote;

const fs::path Build = QZ_BINARY_DIR;
const fs::path Example = fs::path(QZ_SOURCE_DIR) / "examples" / "hello-date";
const fs::path Work = Build / "test-install";
const fs::path Prefix = Work / "prefix";

// The example prints the date its edit shows when the loop ends: today.
const std::regex ExampleOutput(R"(hello-date: \d\d/\d\d/\d{4}\n)");

// The example is built with this build's compiler, and a sanitizer build's
// library needs its sanitizers in the programs that link it.
const std::string Sanitizers = QZ_SANITIZER_FLAGS;

std::string CompilerOptions() {
    std::string Options = " -DCMAKE_CXX_COMPILER=" + ShellQuote(QZ_CXX_COMPILER);
    if (!Sanitizers.empty())
        Options += " -DCMAKE_CXX_FLAGS=" + Sanitizers + " -DCMAKE_EXE_LINKER_FLAGS=" + Sanitizers;
    if (RunCommand("command -v ccache").ExitCode == 0) Options += " -DCMAKE_CXX_COMPILER_LAUNCHER=ccache";
    return Options;
}

TEST(InstalledPackage, InstallsFindsBuildsAndRunsTheExample) {
    fs::remove_all(Work);
    const std::string CMake = ShellQuote(QZ_CMAKE_COMMAND);

    auto Step = RunCommand(CMake + " --install " + ShellQuote(Build) + " --prefix " + ShellQuote(Prefix));
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    for (const char* File :
         {"include/QzComponents5/Qzde/QzDateControls.h",
          "include/QzComponents5/framework/forms/Application.h", "include/QzComponents5/Qzled/Qzled.h",
          "lib/cmake/QzComponents5/QzComponents5Config.cmake", "lib/pkgconfig/qzcomponents5.pc",
          "share/QzComponents5/resources/bitmaps/203.bmp"})
        EXPECT_TRUE(fs::exists(Prefix / File)) << File << " was not installed";

    // CMake: find_package(QzComponents5) in a build of its own.
    const fs::path ExampleBuild = Work / "hello-date";
    Step = RunCommand(CMake + " -S " + ShellQuote(Example) + " -B " + ShellQuote(ExampleBuild) +
                      " -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=" + ShellQuote(Prefix) +
                      CompilerOptions());
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    Step = RunCommand(CMake + " --build " + ShellQuote(ExampleBuild));
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    Step = RunCommand(ShellQuote(ExampleBuild / "hello-date") + " --headless");
    EXPECT_EQ(Step.ExitCode, 0) << Step.Output;
    EXPECT_TRUE(std::regex_match(Step.Output, ExampleOutput)) << Step.Output;

    // pkg-config: the same program compiled with the flags the .pc file gives, which name the
    // shared libraries; the dynamic loader finds them through the library path.
    const std::string PkgConfig =
        "PKG_CONFIG_PATH=" + ShellQuote(Prefix / "lib" / "pkgconfig") + " pkg-config";
    Step = RunCommand(PkgConfig + " --modversion qzcomponents5");
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    EXPECT_EQ(Step.Output, "5.0\n");
    const fs::path Direct = Work / "hello-date-pkg-config";
    Step = RunCommand(ShellQuote(QZ_CXX_COMPILER) + " -O1 " + Sanitizers + " " +
                      ShellQuote(Example / "main.cpp") + " -o " + ShellQuote(Direct) + " $(" + PkgConfig +
                      " --cflags --libs qzcomponents5)");
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    Step = RunCommand("QZ_BACKEND=headless LD_LIBRARY_PATH=" + ShellQuote(Prefix / "lib") + " " +
                      ShellQuote(Direct));
    EXPECT_EQ(Step.ExitCode, 0) << Step.Output;
    EXPECT_TRUE(std::regex_match(Step.Output, ExampleOutput)) << Step.Output;
}

} // namespace
