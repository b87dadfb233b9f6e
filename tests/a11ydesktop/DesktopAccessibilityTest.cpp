// The accessibility bridge on a real desktop: the demo runs in a window on a
// private X server inside its own session bus with the accessibility bus
// enabled, and Debian's AT-SPI client library (pyatspi, an implementation
// independent of ours) reads and drives it as a screen reader would
// (client.py). Skipped, with the reason, only where the accessibility bus (or
// the X server) cannot start, or where the bridge was not built.

#include "../support/Process.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using qztest::RunCommand;
using qztest::ShellQuote;

const fs::path Here = fs::path(QZ_SOURCE_DIR) / "tests" / "a11ydesktop";
const fs::path Demo = fs::path(QZ_BINARY_DIR) / "qzdemo";

// Runs session.sh with the client in a session bus of its own; Mode "late"
// enables the accessibility bus only after the demo's window is up.
void RunSession(const std::string& Mode) {
#ifndef QZ_HAVE_ATSPI
    GTEST_SKIP() << "built without the AT-SPI libraries (atk, atk-bridge): no bridge to test";
#endif
    if (RunCommand("command -v Xvfb").ExitCode != 0) GTEST_SKIP() << "Xvfb is not installed: no display to test on";
    ASSERT_EQ(RunCommand("command -v dbus-run-session xdotool").ExitCode, 0) << "dbus and xdotool are needed";
    ASSERT_EQ(RunCommand("/usr/bin/python3 -c 'import pyatspi'").ExitCode, 0) << "python3-pyatspi is needed";

    const auto Result = RunCommand("timeout 180 dbus-run-session -- " + ShellQuote((Here / "session.sh").string()) + " " +
                                   ShellQuote(Demo.string()) + " " + ShellQuote((Here / "client.py").string()) + " " +
                                   Mode);
    if (Result.ExitCode == 77) GTEST_SKIP() << Result.Output;
    EXPECT_EQ(Result.ExitCode, 0) << Result.Output;
    std::cout << Result.Output;
}

TEST(DesktopAccessibility, AnIndependentClientReadsAndDrivesTheDemo) {
    RunSession("");
}

// A screen reader started after the program: the bridge starts when the bus is enabled.
TEST(DesktopAccessibility, TheBridgeStartsWhenTheBusIsEnabledLater) {
    RunSession("late");
}

} // namespace
