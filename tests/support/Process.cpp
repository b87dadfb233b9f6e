#include "Process.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace qztest {

TCommandResult RunCommand(const std::string& Command) {
    TCommandResult Result;
    FILE* Pipe = popen((Command + " 2>&1").c_str(), "r");
    if (Pipe == nullptr) return Result;
    std::array<char, 4096> Buffer{};
    while (std::fgets(Buffer.data(), static_cast<int>(Buffer.size()), Pipe) != nullptr)
        Result.Output += Buffer.data();
    const int Status = pclose(Pipe);
    Result.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    return Result;
}

std::string ShellQuote(const std::string& Text) {
    std::string Quoted = "'";
    for (char C : Text)
        Quoted += C == '\'' ? std::string("'\\''") : std::string(1, C);
    return Quoted + "'";
}

} // namespace qztest
