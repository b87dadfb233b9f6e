#pragma once
// A private X server (Xvfb) for the window tests, the programs started on it,
// and what a person sees there: its top-level windows and their pixels.

#include <framework/graphics/Surface.h>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qztest {

struct TXWindow {
    unsigned long Id = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    std::string Title;
};

class TXServer {
public:
    TXServer() = default;
    TXServer(const TXServer&) = delete;
    TXServer& operator=(const TXServer&) = delete;
    ~TXServer();

    // Starts Xvfb with one screen of this size; false with the reason when it
    // cannot start (not installed, no free display...).
    bool Start(int Width, int Height, std::string& Why, int Dpi = 0);
    // ":N", for DISPLAY.
    const std::string& Name() const { return FName; }

    // The shown top-level windows, bottom to top.
    std::vector<TXWindow> Windows() const;
    // The pixels of a window as the server has them, as framework colours.
    fw::TSurface Capture(const TXWindow& Window) const;
    // Asks a window to close, as a desktop's close button does.
    void RequestClose(const TXWindow& Window) const;
    // Presses and releases the key of a key symbol (such as XK_a) through the
    // server's test extension, from this program's connection.
    void TapKey(unsigned long KeySym) const;
    // Runs xdotool on this display; false when it failed.
    bool XDoTool(const std::string& Arguments) const;
    // Runs a shell command with DISPLAY set to this server; its output.
    std::string Run(const std::string& Command, int* ExitCode = nullptr) const;

    // Starts openbox and waits until it manages windows (a probe window gets
    // its WM_STATE); false with the reason when it cannot.
    bool StartWindowManager(std::string& Why);
    // From now on, counts the bells rung on the server (XKB bell events).
    void CountBells();
    int Bells() const;
    // The window WM_TRANSIENT_FOR names (0: none).
    unsigned long TransientFor(unsigned long Window) const;
    // Whether the top-level window holding A (its frame, with a window
    // manager) is stacked above the one holding B.
    bool StackedAbove(unsigned long A, unsigned long B) const;
    // The window that has the keyboard focus (0: none, 1: the pointer's).
    unsigned long Focus() const;
    // A window's place on the screen and size.
    TXWindow Geometry(unsigned long Window) const;
    // Maps a window of another program (this test's own connection) with a
    // title, and brings it to the front; its id.
    unsigned long OpenOtherWindow(int X, int Y, int Width, int Height);

private:
    pid_t FPid = -1;
    pid_t FWmPid = -1;
    std::string FName;
    void* FDisplay = nullptr;
    mutable int FBells = 0;
    int FXkbEvent = -1;
};

// A program started with extra environment variables; killed when it goes.
class TChildProgram {
public:
    TChildProgram(const std::string& Path, const std::vector<std::string>& Arguments,
                  const std::vector<std::string>& Environment);
    TChildProgram(const TChildProgram&) = delete;
    TChildProgram& operator=(const TChildProgram&) = delete;
    ~TChildProgram();

    bool Running();
    // Waits up to Seconds for the end; the exit code, or -1.
    int Wait(double Seconds);
    // Processor time used so far (user and system), in seconds.
    double CpuSeconds() const;
    // Resident memory now, in kilobytes (-1 when unknown).
    long ResidentKilobytes() const;

private:
    pid_t FPid = -1;
    int FExitCode = -1;
};

} // namespace qztest
