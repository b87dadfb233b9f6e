// The Debian packages as a user gets them: made by cpack from this build, unpacked with
// dpkg-deb into an empty root, the example program built against that root with CMake and with
// pkg-config and run on the headless screen, and the tools run from there. (make package also
// has lintian check them; it takes longer than the rest of this test together.)

#include "../support/Process.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <stdlib.h>

namespace {

namespace fs = std::filesystem;
using qztest::RunCommand;
using qztest::ShellQuote;

const fs::path Build = QZ_BINARY_DIR;
const fs::path Example = fs::path(QZ_SOURCE_DIR) / "examples" / "hello-date";
// A temporary folder outside the source tree, so that the tools cannot find the sources' form
// files by looking upwards from where they lie.
fs::path Work, Packages, Root, Usr;
const std::string Version = QZ_PACKAGE_VERSION; // 5.0-1
const std::regex ExampleOutput(R"(hello-date: \d\d/\d\d/\d{4}\n)");

std::string Field(const fs::path& Deb, const std::string& Name) {
    auto Result = RunCommand("dpkg-deb -f " + ShellQuote(Deb) + " " + Name);
    while (!Result.Output.empty() && Result.Output.back() == '\n')
        Result.Output.pop_back();
    return Result.Output;
}

class DebianPackages : public ::testing::Test {
protected:
    // cpack runs once for all the checks; each check reads what it left.
    static void SetUpTestSuite() {
        std::string Template = (fs::temp_directory_path() / "qz-debian-XXXXXX").string();
        if (!mkdtemp(Template.data())) return;
        Work = Template;
        Packages = Work / "packages";
        Root = Work / "root";
        Usr = Root / "usr";
        fs::create_directories(Root);
        const auto Made = RunCommand(ShellQuote(QZ_CPACK_COMMAND) + " --config " +
                                     ShellQuote(Build / "CPackConfig.cmake") + " -B " + ShellQuote(Packages));
        CPackOutput = new std::string(Made.Output);
        if (Made.ExitCode != 0) return;
        Debs = new std::map<std::string, fs::path>;
        for (const auto& Entry : fs::directory_iterator(Packages))
            if (Entry.path().extension() == ".deb") {
                (*Debs)[Field(Entry.path(), "Package")] = Entry.path();
                RunCommand("dpkg-deb -x " + ShellQuote(Entry.path()) + " " + ShellQuote(Root));
            }
    }
    static void TearDownTestSuite() {
        if (!Work.empty()) fs::remove_all(Work);
        delete Debs;
        delete CPackOutput;
        Debs = nullptr;
        CPackOutput = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(CPackOutput, nullptr) << "no temporary folder";
        ASSERT_NE(Debs, nullptr) << "cpack failed:\n" << *CPackOutput;
    }

    static inline std::map<std::string, fs::path>* Debs = nullptr;
    static inline std::string* CPackOutput = nullptr;
};

TEST_F(DebianPackages, ThreePackagesWithTheirFilesVersionsAndDependencies) {
    ASSERT_EQ(Debs->size(), 3u) << *CPackOutput;
    struct TExpected {
        const char* Package;
        const char* Section;
        std::vector<const char*> Depends; // each a part of the Depends line
        std::vector<std::string> Files;   // under usr/
    };
    const std::string Lib = std::string(QZ_PACKAGE_LIBDIR) + "/";
    const TExpected Expected[] = {
        {"libqzcomponents5-5",
         "libs",
         {"libc6", "libstdc++6", "libfreetype6", "libfontconfig1", "libpng16-16", "libsqlite3-0"},
         {Lib + "libqzframework.so.5", Lib + "libQzComponents5.so.5", Lib + "QzComponents5/QzComponents5.so",
          "share/QzComponents5/resources/bitmaps/203.bmp", "share/doc/libqzcomponents5-5/copyright"}},
        {"libqzcomponents5-dev",
         "libdevel",
         {"libqzcomponents5-5 (= 5.0-1)", "libfreetype-dev", "libsqlite3-dev"},
         {Lib + "libqzframework.a", Lib + "libQzComponents5.a", Lib + "libqzframework.so",
          Lib + "libQzComponents5.so", Lib + "cmake/QzComponents5/QzComponents5Config.cmake",
          Lib + "pkgconfig/qzcomponents5.pc", "include/QzComponents5/Qzde/QzDateControls.h",
          "share/doc/libqzcomponents5-dev/changelog.Debian.gz"}},
        {"qzcomponents5-tools",
         "devel",
         {"libqzcomponents5-5 (= 5.0-1)", "libc6"},
         {"bin/qzdemo", "bin/qzdesign", "share/qzdemo/MainForm.dfm", "share/qzdemo/RecordsForm.dfm",
          "share/man/man1/qzdesign.1.gz"}},
    };
    for (const TExpected& Package : Expected) {
        SCOPED_TRACE(Package.Package);
        ASSERT_TRUE(Debs->count(Package.Package));
        const fs::path& Deb = Debs->at(Package.Package);
        EXPECT_EQ(Deb.filename().string(),
                  std::string(Package.Package) + "_" + Version + "_" + Field(Deb, "Architecture") + ".deb");
        EXPECT_EQ(Field(Deb, "Version"), Version);
        EXPECT_EQ(Field(Deb, "Section"), Package.Section);
        const std::string Depends = Field(Deb, "Depends");
        for (const char* Part : Package.Depends)
            EXPECT_NE(Depends.find(Part), std::string::npos) << Part << " missing from: " << Depends;
        for (const std::string& File : Package.Files)
            EXPECT_TRUE(fs::exists(Usr / File)) << File;
    }
    // The shared libraries carry their version in their names; only the run time holds them.
    EXPECT_NE(RunCommand("objdump -p " + ShellQuote(Usr / (Lib + "libQzComponents5.so.5")))
                  .Output.find("SONAME               libQzComponents5.so.5"),
              std::string::npos);
}

TEST_F(DebianPackages, TheExampleBuildsAgainstTheUnpackedRootAndRuns) {
    const std::string CMake = ShellQuote(QZ_CMAKE_COMMAND);
    const std::string Headless = "QZ_BACKEND=headless ";
    const std::string LibDir = (Usr / QZ_PACKAGE_LIBDIR).string();

    // CMake: find_package(QzComponents5) links the static libraries.
    const fs::path ExampleBuild = Work / "hello-date";
    auto Step = RunCommand(CMake + " -S " + ShellQuote(Example) + " -B " + ShellQuote(ExampleBuild) +
                           " -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=" + ShellQuote(Usr) +
                           " -DCMAKE_CXX_COMPILER=" + ShellQuote(QZ_CXX_COMPILER));
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    Step = RunCommand(CMake + " --build " + ShellQuote(ExampleBuild));
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    Step = RunCommand(Headless + ShellQuote(ExampleBuild / "hello-date"));
    EXPECT_EQ(Step.ExitCode, 0) << Step.Output;
    EXPECT_TRUE(std::regex_match(Step.Output, ExampleOutput)) << Step.Output;

    // pkg-config: the shared libraries of the run-time package, found through the library path
    // as the dynamic loader would find them in /usr/lib.
    const std::string PkgConfig = "PKG_CONFIG_PATH=" + ShellQuote(LibDir + "/pkgconfig") + " pkg-config";
    EXPECT_EQ(RunCommand(PkgConfig + " --modversion qzcomponents5").Output, "5.0\n");
    const fs::path Direct = Work / "hello-date-pkg-config";
    Step = RunCommand(ShellQuote(QZ_CXX_COMPILER) + " -O1 " + ShellQuote(Example / "main.cpp") + " -o " +
                      ShellQuote(Direct) + " $(" + PkgConfig + " --cflags --libs qzcomponents5)");
    ASSERT_EQ(Step.ExitCode, 0) << Step.Output;
    EXPECT_NE(RunCommand("objdump -p " + ShellQuote(Direct))
                  .Output.find("NEEDED               libQzComponents5.so.5"),
              std::string::npos);
    Step = RunCommand(Headless + "LD_LIBRARY_PATH=" + ShellQuote(LibDir) + " " + ShellQuote(Direct));
    EXPECT_EQ(Step.ExitCode, 0) << Step.Output;
    EXPECT_TRUE(std::regex_match(Step.Output, ExampleOutput)) << Step.Output;
}

TEST_F(DebianPackages, TheInstalledToolsFindTheirFormsAndTheModule) {
    // Run where the source tree is not above them: the demo reads its forms from share/qzdemo,
    // the designer loads the module from the run-time package.
    const fs::path Out = Work / "tours";
    auto Run = RunCommand("cd / && " + ShellQuote(Usr / "bin" / "qzdemo") + " --headless --out " +
                          ShellQuote(Out / "demo"));
    EXPECT_EQ(Run.ExitCode, 0) << Run.Output;
    EXPECT_TRUE(fs::exists(Out / "demo" / "transcript.txt"));
    Run = RunCommand("cd / && " + ShellQuote(Usr / "bin" / "qzdesign") + " --tour --out " +
                     ShellQuote(Out / "design"));
    EXPECT_EQ(Run.ExitCode, 0) << Run.Output;
    EXPECT_NE(
        Run.Output.find(
            (Usr / QZ_PACKAGE_LIBDIR / "QzComponents5" / "QzComponents5.so").lexically_normal().string()),
        std::string::npos)
        << Run.Output;
}

} // namespace
