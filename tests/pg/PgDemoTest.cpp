// qzdemo --database: the demo's whole tour with its Records form on the test
// server, run as a child process like a person would start it.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <tests/support/PgTestServer.h>
#include <tests/support/Process.h>

namespace {

namespace fs = std::filesystem;

TEST(PgDemoTest, TheToursRecordsFormWorksOnTheServer) {
    QZ_REQUIRE_PG();
    const fs::path Dir = fs::path(QZ_BINARY_DIR) / "test-pg-demo";
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    const auto Run = qztest::RunCommand(qztest::ShellQuote((fs::path(QZ_BINARY_DIR) / "qzdemo").string()) +
                                        " --out " + qztest::ShellQuote(Dir.string()) + " --database " +
                                        qztest::ShellQuote(qztest::PgTestServer::ConnInfo()));
    ASSERT_EQ(Run.ExitCode, 0) << Run.Output;

    std::ifstream In(Dir / "transcript.txt");
    std::stringstream Transcript;
    Transcript << In.rdbuf();
    for (const char* Line : {"The Records form over the table \"events\" of a PostgreSQL server",
                             "the server holds the date 2026-12-07", "A server date column holds dates only"})
        EXPECT_NE(Transcript.str().find(Line), std::string::npos) << Line;
    EXPECT_TRUE(fs::exists(Dir / "22-db-stored.png"));
    EXPECT_FALSE(fs::exists(Dir / "events.db")) << "the records went to the server, not to a file";
}

} // namespace
