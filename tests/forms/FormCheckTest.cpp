// formcheck, the program that tells a user what of their form files the
// framework reads: what it kept, what it left out at which line, and whether
// the kept form reads back; its exit status tells a script the same.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tests/support/Process.h>

namespace {

namespace fs = std::filesystem;

const fs::path Program = fs::path(QZ_BINARY_DIR) / "formcheck";

class FormCheckProgram : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::path(QZ_BINARY_DIR) / "test-formcheck";
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }

    // Writes a form file for the test and returns its path.
    std::string File(const std::string& name, const std::string& text) const {
        const fs::path path = FDir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    static qztest::TCommandResult Run(const std::string& arguments) {
        return qztest::RunCommand(qztest::ShellQuote(Program.string()) + " " + arguments);
    }

    fs::path FDir;
};

TEST_F(FormCheckProgram, TellsWhatWasKeptAndWhatWasLeftOutAtWhichLine) {
    // Cyrillic in Windows-1251, named by the form's font.
    const std::string form = File("login.dfm", "object frmLogin: TfrmLogin\n"
                                               "  Caption = '\xC2\xF5\xEE\xE4'\n"
                                               "  Font.Charset = RUSSIAN_CHARSET\n"
                                               "  OnCreate = FormCreate\n"
                                               "  object edtPassword: TEdit\n"
                                               "    PasswordChar = #8226\n"
                                               "  end\n"
                                               "  object pnlTop: TPanel\n"
                                               "  end\n"
                                               "end\n");
    const qztest::TCommandResult r = Run(qztest::ShellQuote(form) + " --write");
    EXPECT_EQ(r.ExitCode, 0) << r.Output;
    for (const char* expected : {"(code page 1251)", "kept: 2 of 3 objects", "    frmLogin: TForm\n",
                                 "      edtPassword: TEdit\n", "line 1: unknown class 'TfrmLogin'; read as TForm",
                                 "line 4: unknown method 'FormCreate'", "line 8: unknown class 'TPanel'",
                                 "round trip: what was kept writes and reads back unchanged",
                                 "  Caption = '\xD0\x92\xD1\x85\xD0\xBE\xD0\xB4'\n", "PasswordChar = '\xE2\x80\xA2'"})
        EXPECT_NE(r.Output.find(expected), std::string::npos) << expected << "\n" << r.Output;

    // One line per file; a file that does not parse fails the run and says where.
    const std::string broken = File("broken.dfm", "object Form1: TForm\n  Caption = 'open\nend\n");
    const qztest::TCommandResult both = Run("--summary " + qztest::ShellQuote(form) + " " + qztest::ShellQuote(broken));
    EXPECT_EQ(both.ExitCode, 1) << both.Output;
    EXPECT_NE(both.Output.find("login.dfm: read (code page 1251), 2 of 3 objects kept, 3 things skipped, round trip "
                               "unchanged\n"),
              std::string::npos)
        << both.Output;
    EXPECT_NE(both.Output.find("broken.dfm: does not parse (UTF-8): line 2: unterminated string"), std::string::npos)
        << both.Output;

    // The code page of files that name none; a bad command line.
    const std::string undeclared = File("undeclared.dfm", "object Form1: TForm\n  Caption = '\xC4\xE0'\nend\n");
    const qztest::TCommandResult named = Run("--codepage 1251 --write " + qztest::ShellQuote(undeclared));
    EXPECT_NE(named.Output.find("Caption = '\xD0\x94\xD0\xB0'"), std::string::npos) << named.Output;
    EXPECT_EQ(Run("--codepage 99999 " + qztest::ShellQuote(undeclared)).ExitCode, 2);
    EXPECT_EQ(Run("").ExitCode, 2);
}

} // namespace
