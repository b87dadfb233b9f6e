// The demo program run as a user runs it: the scripted tour must succeed, write
// a readable transcript naming every step's events and a picture per step, and
// report a failed step as a failure.

#include <filesystem>
#include <framework/graphics/Png.h>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <tests/support/Process.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path Program = fs::path(QZ_BINARY_DIR) / "qzdemo";
const fs::path FormFile = fs::path(QZ_SOURCE_DIR) / "apps" / "qzdemo" / "MainForm.dfm";

qztest::TCommandResult RunDemo(const std::string& Arguments) {
    // The tour on the headless screen, also where a display is there.
    return qztest::RunCommand(qztest::ShellQuote(Program.string()) + " --headless " + Arguments);
}

std::string ReadFile(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

// A fresh output folder under the build folder, per test.
fs::path OutDir(const std::string& Name) {
    const fs::path Dir = fs::path(QZ_BINARY_DIR) / "test-demo" / Name;
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    return Dir;
}

// One step of the transcript: its text from "NN. " up to the next step.
std::string StepText(const std::string& Transcript, const std::string& Number) {
    const std::size_t Start = Transcript.find("\n" + Number + ". ");
    if (Start == std::string::npos) return {};
    const std::size_t End = Transcript.find("\n\n", Start + 1);
    return Transcript.substr(Start + 1, End == std::string::npos ? std::string::npos : End - Start - 1);
}

bool SamePixels(const fw::TSurface& A, const fw::TSurface& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            if (A.Pixel(X, Y) != B.Pixel(X, Y)) return false;
    return true;
}

class DemoProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(Program)) << Program << " is missing: build the target qzdemo first";
    }
};

TEST_F(DemoProgram, TheTourSucceedsAndRecordsEveryStepWithItsPicture) {
    const fs::path Dir = OutDir("tour");
    const qztest::TCommandResult Run = RunDemo("--out '" + Dir.string() + "'");
    ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
    EXPECT_NE(Run.Output.find("every step had its expected effect"), std::string::npos) << Run.Output;

    const std::string Transcript = ReadFile(Dir / "transcript.txt");
    EXPECT_NE(Transcript.find("All 44 steps had their expected effect."), std::string::npos);
    EXPECT_EQ(Transcript.find("FAILED"), std::string::npos);

    // Every picture the transcript names exists, is a full screen, and shows
    // something different from the picture before it (each step changes the screen).
    const std::regex Screen(R"(screen: (\d\d-[a-z-]+\.png))");
    std::vector<std::string> Pictures;
    for (std::sregex_iterator I(Transcript.begin(), Transcript.end(), Screen), End; I != End; ++I)
        Pictures.push_back((*I)[1]);
    ASSERT_EQ(Pictures.size(), 44u);
    fw::TSurface Previous(1, 1);
    for (std::size_t I = 0; I < Pictures.size(); ++I) {
        char Number[24];
        std::snprintf(Number, sizeof Number, "%02zu", I + 1);
        EXPECT_EQ(Pictures[I].substr(0, 3), std::string(Number) + "-");
        const fs::path Path = Dir / Pictures[I];
        ASSERT_TRUE(fs::exists(Path)) << Path;
        const fw::TSurface Picture = fw::LoadPng(Path.string());
        EXPECT_EQ(Picture.Width(), 800);
        EXPECT_EQ(Picture.Height(), 440);
        EXPECT_FALSE(SamePixels(Picture, Previous)) << Pictures[I] << " shows the same as the picture before";
        Previous = Picture;
    }
    // Nothing but this run's files: the pictures, the transcript and the records database.
    int Files = 0;
    for ([[maybe_unused]] const auto& Entry : fs::directory_iterator(Dir))
        ++Files;
    EXPECT_EQ(Files, 46);
    EXPECT_TRUE(fs::exists(Dir / "events.db"));
}

TEST_F(DemoProgram, TheTranscriptNamesTheEventsOfEachStep) {
    const fs::path Dir = OutDir("events");
    ASSERT_EQ(RunDemo("--out '" + Dir.string() + "'").ExitCode, 0);
    const std::string T = ReadFile(Dir / "transcript.txt");

    // Typing fires OnChange per key; leaving expands the year.
    EXPECT_NE(StepText(T, "02").find("edtDayFirst.OnChange x7: text \"14/3/26\""), std::string::npos) << T;
    const std::string Left = StepText(T, "03");
    EXPECT_NE(Left.find("edtDayFirst.OnExit: text \"14/3/26\""), std::string::npos) << Left;
    EXPECT_NE(Left.find("edtDayFirst.OnChange: text \"14/03/2026\""), std::string::npos) << Left;
    // The popup's opening and closing, and the mirroring in between.
    EXPECT_NE(StepText(T, "05").find("edtDayFirst.OnOpenCalendar"), std::string::npos);
    EXPECT_NE(StepText(T, "09").find("text \"05/06/2026\""), std::string::npos);
    EXPECT_NE(StepText(T, "10").find("edtDayFirst.OnCloseCalendar: text \"05/06/2026\""), std::string::npos);
    // Escape puts the text back before OnCloseCalendar.
    const std::string Cancelled = StepText(T, "12");
    const std::size_t Restored = Cancelled.find("edtDayFirst.OnChange: text \"05/06/2026\"");
    const std::size_t Closed = Cancelled.find("edtDayFirst.OnCloseCalendar");
    ASSERT_NE(Restored, std::string::npos) << Cancelled;
    ASSERT_NE(Closed, std::string::npos) << Cancelled;
    EXPECT_LT(Restored, Closed);
    // The calendar component and the message box, read back.
    EXPECT_NE(StepText(T, "14").find("calPicker.OnCloseCalendar: date Tue 24 Mar 2026"), std::string::npos);
    const std::string Invalid = StepText(T, "15");
    EXPECT_NE(Invalid.find("captioned \"Date check\""), std::string::npos) << Invalid;
    EXPECT_NE(Invalid.find("\"'2026/02/30' is not a valid date!\""), std::string::npos) << Invalid;
    EXPECT_NE(Invalid.find("edtYearFirst.OnInvalidDate"), std::string::npos) << Invalid;
    // The records form: typing enters edit mode, the file holds ISO text, a refused date is reported.
    EXPECT_NE(StepText(T, "20").find("srcEvents.OnStateChange: editing"), std::string::npos) << T;
    EXPECT_NE(StepText(T, "22").find("the file holds the ISO text 2026-12-07"), std::string::npos) << T;
    EXPECT_NE(StepText(T, "25").find("edtReview.OnInvalidDate: text \"01/03/2026\""), std::string::npos) << T;
    // The newer features: a marked day's hint, refused days skipped, Clear, the century window.
    EXPECT_NE(StepText(T, "34").find("the hint \"Good Friday\""), std::string::npos) << T;
    EXPECT_NE(StepText(T, "40").find("calDelivery.OnCloseCalendar: date Mon 16 Mar 2026"), std::string::npos) << T;
    EXPECT_NE(StepText(T, "41").find("calDelivery.OnCloseCalendar: no date"), std::string::npos) << T;
    EXPECT_NE(StepText(T, "42").find("edtWindow.OnChange: text \"01/01/2040\""), std::string::npos) << T;
}

// Runs the tour on the demo's form file with one line changed.
qztest::TCommandResult RunWithChangedForm(const fs::path& Dir, const std::string& From,
                                          const std::string& To) {
    std::string Form = ReadFile(FormFile);
    const std::size_t At = Form.find(From);
    if (At == std::string::npos) return {};
    Form.replace(At, From.size(), To);
    std::ofstream(Dir / "Form.dfm") << Form;
    return RunDemo("--out '" + Dir.string() + "' --form '" + (Dir / "Form.dfm").string() + "'");
}

TEST_F(DemoProgram, AStepWithoutItsEffectFailsTheRunAndSaysWhichAndWhy) {
    // The first edit in another layout: leaving it no longer gives 14/03/2026.
    const fs::path Dir = OutDir("failing");
    const qztest::TCommandResult Run =
        RunWithChangedForm(Dir, "DateFormat = 'dd/mm/yyyy'", "DateFormat = 'yyyy/mm/dd'");
    EXPECT_EQ(Run.ExitCode, 1) << Run.Output;
    EXPECT_NE(Run.Output.find("FAILED: Step 3 (Leave with Tab"), std::string::npos) << Run.Output;
    const std::string Transcript = ReadFile(Dir / "transcript.txt");
    EXPECT_NE(Transcript.find("    FAILED: expected edtDayFirst shows \"14/03/2026\", but edtDayFirst shows "
                              "\"2014/03/26\""),
              std::string::npos)
        << Transcript;
    EXPECT_TRUE(fs::exists(Dir / "03-left-FAILED.png"));
    EXPECT_FALSE(fs::exists(Dir / "03-left.png"));
    EXPECT_EQ(Transcript.find("steps had their expected effect"), std::string::npos);
}

TEST_F(DemoProgram, AFailureInsideThePopupEndsItsModalLoopAndTheRun) {
    // The popup of the first edit starting its weeks on another day.
    const fs::path Dir = OutDir("failing-popup");
    const qztest::TCommandResult Run =
        RunWithChangedForm(Dir, "CalendarWeekStart = wsMonday\n    DateFormat = 'dd/mm/yyyy'",
                           "CalendarWeekStart = wsFriday\n    DateFormat = 'dd/mm/yyyy'");
    EXPECT_EQ(Run.ExitCode, 1) << Run.Output;
    EXPECT_NE(Run.Output.find(
                  "FAILED: Step 5 (Open the popup with the drop button): expected weeks start on Monday"),
              std::string::npos)
        << Run.Output;
    EXPECT_TRUE(fs::exists(Dir / "05-popup-open-FAILED.png"));
}

TEST_F(DemoProgram, AnExceptionFromAnEventHandlerFailsTheStepInsteadOfShowingABox) {
    // A date-edit handler bound to the calendar component raises when it fires.
    const fs::path Dir = OutDir("failing-handler");
    const qztest::TCommandResult Run = RunWithChangedForm(Dir, "OnOpenCalendar = calPickerOpenCalendar",
                                                          "OnOpenCalendar = DateEditOpenCalendar");
    EXPECT_EQ(Run.ExitCode, 1) << Run.Output;
    EXPECT_NE(
        Run.Output.find("FAILED: Step 13 (Open the calendar component with \"Pick a date...\"): an exception "
                        "escaped an event handler: DateEditOpenCalendar is bound to calPicker, which is not "
                        "a date edit"),
        std::string::npos)
        << Run.Output;
    EXPECT_TRUE(fs::exists(Dir / "13-calendar-open-FAILED.png"));
}

TEST_F(DemoProgram, ABrokenOrIncompleteFormFileIsReportedNotRun) {
    const fs::path Dir = OutDir("broken");
    std::ofstream(Dir / "Broken.dfm") << "object frmQzDemo: TfrmQzDemo\n  Caption = 'unterminated\n";
    qztest::TCommandResult Run =
        RunDemo("--out '" + Dir.string() + "' --form '" + (Dir / "Broken.dfm").string() + "'");
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_NE(Run.Output.find("line "), std::string::npos) << Run.Output;

    std::ofstream(Dir / "Empty.dfm") << "object frmQzDemo: TfrmQzDemo\nend\n";
    Run = RunDemo("--out '" + Dir.string() + "' --form '" + (Dir / "Empty.dfm").string() + "'");
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_NE(Run.Output.find("lacks a date edit"), std::string::npos) << Run.Output;

    Run = RunDemo("--out '" + Dir.string() + "' --form '" + (Dir / "Missing.dfm").string() + "'");
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_NE(Run.Output.find("Cannot read the form file"), std::string::npos) << Run.Output;
}

TEST_F(DemoProgram, AnEarlierRunsPicturesAreRemovedAndOtherFilesKept) {
    const fs::path Dir = OutDir("rerun");
    std::ofstream(Dir / "99-stale.png") << "old";
    std::ofstream(Dir / "notes.txt") << "mine";
    ASSERT_EQ(RunDemo("--out '" + Dir.string() + "'").ExitCode, 0);
    EXPECT_FALSE(fs::exists(Dir / "99-stale.png"));
    EXPECT_TRUE(fs::exists(Dir / "notes.txt"));
}

TEST_F(DemoProgram, AnUnknownArgumentShowsTheUsage) {
    const qztest::TCommandResult Run = RunDemo("--colour");
    EXPECT_EQ(Run.ExitCode, 2);
    EXPECT_NE(Run.Output.find("usage: qzdemo"), std::string::npos);
}

} // namespace
