#pragma once
// Running programs from tests: a shell command's exit code and its output.

#include <string>

namespace qztest {

struct TCommandResult {
    int ExitCode = -1;  // -1 when the command did not end normally
    std::string Output; // stdout and stderr
};

// Runs a shell command (stderr joined to stdout) and waits for it.
TCommandResult RunCommand(const std::string& Command);

// A path quoted for the shell.
std::string ShellQuote(const std::string& Text);

} // namespace qztest
