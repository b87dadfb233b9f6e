#pragma once
// The throwaway PostgreSQL server of the tests and benchmarks (scripts/pg-test-server).
// Under `scripts/pg-test-server run ...` (as .ci/run does) the program uses that
// server; otherwise it starts its own in a temporary folder, watched so that it
// stops when the program ends, however it ends. Each program works in a database
// of its own, so programs can share one server.
//
// Header-only: included by the programs that link qzpg.

#include <cstdlib>
#include <framework/db/pg/PgConnection.h>
#include <string>
#include <tests/support/Process.h>
#include <unistd.h>

namespace qztest {

class PgTestServer {
public:
    // The connection string of this program's database, or empty with Reason() telling why.
    static const std::string& ConnInfo() { return Instance().FConnInfo; }
    static const std::string& Reason() { return Instance().FReason; }

    // Stops the server (sessions end) and starts it again on the same folder and data.
    static bool Stop() { return Instance().Script("stop").has_value(); }
    static bool Start() { return Instance().Script("start").has_value(); }

private:
    static PgTestServer& Instance() {
        static PgTestServer Server;
        return Server;
    }

    PgTestServer() {
        if (const char* Unavailable = std::getenv("QZ_PG_UNAVAILABLE")) {
            FReason = Unavailable;
            return;
        }
        std::string ServerInfo;
        if (const char* Dir = std::getenv("QZ_PG_TEST_DIR"); Dir && std::getenv("QZ_PG_CONNINFO")) {
            FDir = Dir;
            ServerInfo = std::getenv("QZ_PG_CONNINFO");
        } else {
            char Template[] = "/tmp/qz-pg-own.XXXXXX";
            if (!mkdtemp(Template)) {
                FReason = "cannot make a temporary folder";
                return;
            }
            FDir = Template;
            auto Out = Script("start", " --watch " + std::to_string(getpid()));
            if (!Out) {
                FReason = "scripts/pg-test-server could not start a server: " + FOutput;
                return;
            }
            ServerInfo = *Out;
        }
        // A database of this program's own on the shared server.
        const std::string Name = "qztest_" + std::to_string(getpid());
        try {
            fw::TPgConnection Admin(ServerInfo);
            Admin.Exec("DROP DATABASE IF EXISTS " + Name);
            Admin.Exec("CREATE DATABASE " + Name);
        } catch (const fw::EDatabaseError& E) {
            FReason = std::string("the test server does not answer: ") + E.what();
            return;
        }
        FConnInfo = ServerInfo + " dbname=" + Name;
    }

    // Runs scripts/pg-test-server COMMAND FDir EXTRA; its output (last line trimmed) or nothing on failure.
    std::optional<std::string> Script(const std::string& Command, const std::string& Extra = "") {
        const auto Run = RunCommand(ShellQuote(std::string(QZ_SOURCE_DIR) + "/scripts/pg-test-server") + " " +
                                    Command + " " + ShellQuote(FDir) + Extra);
        FOutput = Run.Output;
        while (!FOutput.empty() && FOutput.back() == '\n')
            FOutput.pop_back();
        if (Run.ExitCode != 0) return std::nullopt;
        const auto LastLine = FOutput.rfind('\n');
        return LastLine == std::string::npos ? FOutput : FOutput.substr(LastLine + 1);
    }

    std::string FDir;
    std::string FConnInfo;
    std::string FReason;
    std::string FOutput;
};

} // namespace qztest

// Skips the current test, saying why, when there is no server to test against.
#define QZ_REQUIRE_PG()                                                                                      \
    do {                                                                                                     \
        if (qztest::PgTestServer::ConnInfo().empty())                                                        \
            GTEST_SKIP() << "no PostgreSQL test server: " << qztest::PgTestServer::Reason();                 \
    } while (0)
