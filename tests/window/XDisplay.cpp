#include "XDisplay.h"

#include "../support/Process.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qztest {

namespace {

Display* Dpy(void* D) {
    return static_cast<Display*>(D);
}

// X errors (a window that went away while it was looked at) are expected
// here: they must not end the test program.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

TXServer::~TXServer() {
    if (FWmPid > 0) {
        kill(FWmPid, SIGTERM);
        waitpid(FWmPid, nullptr, 0);
    }
    if (FDisplay) XCloseDisplay(Dpy(FDisplay));
    if (FPid > 0) {
        kill(FPid, SIGTERM);
        waitpid(FPid, nullptr, 0);
    }
}

bool TXServer::Start(int Width, int Height, std::string& Why, int Dpi) {
    int Fds[2];
    if (pipe(Fds) != 0) {
        Why = "no pipe";
        return false;
    }
    const std::string Fd = std::to_string(Fds[1]);
    const std::string Size = std::to_string(Width) + "x" + std::to_string(Height) + "x24";
    const std::string Density = std::to_string(Dpi > 0 ? Dpi : 96);
    FPid = fork();
    if (FPid == 0) {
        close(Fds[0]);
        const int Null = open("/dev/null", O_WRONLY);
        dup2(Null, 1);
        dup2(Null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", Fd.c_str(), "-screen", "0", Size.c_str(), "-dpi",
               Density.c_str(), "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(Fds[1]);
    if (FPid < 0) {
        close(Fds[0]);
        Why = "fork failed";
        return false;
    }
    // Xvfb writes its display number to the pipe once it accepts clients.
    std::string Number;
    pollfd P{Fds[0], POLLIN, 0};
    while (poll(&P, 1, 15000) > 0) {
        char C = 0;
        if (read(Fds[0], &C, 1) != 1 || C == '\n') break;
        Number += C;
    }
    close(Fds[0]);
    if (Number.empty()) {
        Why = "Xvfb did not start (is the Debian package xvfb installed?)";
        return false;
    }
    FName = ":" + Number;
    XSetErrorHandler(IgnoreXError);
    FDisplay = XOpenDisplay(FName.c_str());
    if (!FDisplay) {
        Why = "cannot connect to Xvfb on " + FName;
        return false;
    }
    return true;
}

std::vector<TXWindow> TXServer::Windows() const {
    std::vector<TXWindow> List;
    Display* D = Dpy(FDisplay);
    Window Root = 0, Parent = 0;
    Window* Children = nullptr;
    unsigned Count = 0;
    if (!XQueryTree(D, DefaultRootWindow(D), &Root, &Parent, &Children, &Count)) return List;
    for (unsigned I = 0; I < Count; ++I) {
        XWindowAttributes A;
        if (!XGetWindowAttributes(D, Children[I], &A) || A.map_state != IsViewable) continue;
        TXWindow W;
        W.Id = Children[I];
        W.X = A.x;
        W.Y = A.y;
        W.Width = A.width;
        W.Height = A.height;
        char* Name = nullptr;
        if (XFetchName(D, Children[I], &Name) && Name) {
            W.Title = Name;
            XFree(Name);
        }
        List.push_back(W);
    }
    if (Children) XFree(Children);
    return List;
}

fw::TSurface TXServer::Capture(const TXWindow& Window) const {
    Display* D = Dpy(FDisplay);
    XImage* Image = XGetImage(D, Window.Id, 0, 0, static_cast<unsigned>(Window.Width),
                              static_cast<unsigned>(Window.Height), AllPlanes, ZPixmap);
    if (!Image) return {};
    fw::TSurface S(Window.Width, Window.Height);
    for (int Y = 0; Y < Window.Height; ++Y)
        for (int X = 0; X < Window.Width; ++X) {
            const unsigned long P = XGetPixel(Image, X, Y);
            S.SetPixel(X, Y, static_cast<fw::TPixel>(((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16)));
        }
    XDestroyImage(Image);
    return S;
}

void TXServer::RequestClose(const TXWindow& Window) const {
    Display* D = Dpy(FDisplay);
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = Window.Id;
    E.xclient.message_type = XInternAtom(D, "WM_PROTOCOLS", False);
    E.xclient.format = 32;
    E.xclient.data.l[0] = static_cast<long>(XInternAtom(D, "WM_DELETE_WINDOW", False));
    E.xclient.data.l[1] = CurrentTime;
    XSendEvent(D, Window.Id, False, NoEventMask, &E);
    XFlush(D);
}

bool TXServer::XDoTool(const std::string& Arguments) const {
    return RunCommand("DISPLAY=" + FName + " xdotool " + Arguments).ExitCode == 0;
}

void TXServer::TapKey(unsigned long KeySym) const {
    Display* D = Dpy(FDisplay);
    const KeyCode Code = XKeysymToKeycode(D, KeySym);
    XTestFakeKeyEvent(D, Code, True, CurrentTime);
    XTestFakeKeyEvent(D, Code, False, CurrentTime);
    XFlush(D);
}

std::string TXServer::Run(const std::string& Command, int* ExitCode) const {
    const TCommandResult R = RunCommand("DISPLAY=" + FName + " " + Command);
    if (ExitCode) *ExitCode = R.ExitCode;
    return R.Output;
}

namespace {

bool HasWmState(Display* D, Window W) {
    Atom Type = 0;
    int Format = 0;
    unsigned long Items = 0, After = 0;
    unsigned char* Data = nullptr;
    const Atom WmState = XInternAtom(D, "WM_STATE", False);
    const bool Has = XGetWindowProperty(D, W, WmState, 0, 2, False, AnyPropertyType, &Type, &Format, &Items,
                                        &After, &Data) == Success &&
                     Type != None;
    if (Data) XFree(Data);
    return Has;
}

// The child of the root that holds W (W itself without a window manager).
Window TopLevelOf(Display* D, Window W) {
    for (;;) {
        Window Root = 0, Parent = 0;
        Window* Children = nullptr;
        unsigned Count = 0;
        if (!XQueryTree(D, W, &Root, &Parent, &Children, &Count)) return 0;
        if (Children) XFree(Children);
        if (Parent == Root || Parent == 0) return W;
        W = Parent;
    }
}

} // namespace

bool TXServer::StartWindowManager(std::string& Why) {
    FWmPid = fork();
    if (FWmPid == 0) {
        const int Null = open("/dev/null", O_WRONLY);
        dup2(Null, 1);
        dup2(Null, 2);
        setenv("DISPLAY", FName.c_str(), 1);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (FWmPid < 0) {
        Why = "fork failed";
        return false;
    }
    // openbox can miss a window mapped just as it starts: probe windows are
    // mapped until one is managed.
    Display* D = Dpy(FDisplay);
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < End) {
        const Window Probe = XCreateSimpleWindow(D, DefaultRootWindow(D), 0, 0, 10, 10, 0, 0, 0);
        XMapWindow(D, Probe);
        XSync(D, False);
        const auto ProbeEnd = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        bool Managed = false;
        while (!Managed && std::chrono::steady_clock::now() < ProbeEnd) {
            Managed = HasWmState(D, Probe);
            if (!Managed) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XDestroyWindow(D, Probe);
        XSync(D, False);
        if (Managed) return true;
        int ExitStatus = 0;
        if (waitpid(FWmPid, &ExitStatus, WNOHANG) == FWmPid) {
            FWmPid = -1;
            Why = "openbox did not start (is the Debian package openbox installed?)";
            return false;
        }
    }
    Why = "openbox manages no window";
    return false;
}

void TXServer::CountBells() {
    Display* D = Dpy(FDisplay);
    int Opcode = 0, Error = 0, Major = XkbMajorVersion, Minor = XkbMinorVersion;
    if (!XkbQueryExtension(D, &Opcode, &FXkbEvent, &Error, &Major, &Minor)) return;
    XkbSelectEvents(D, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(D, False);
    FBells = 0;
}

int TXServer::Bells() const {
    Display* D = Dpy(FDisplay);
    XSync(D, False);
    while (XPending(D) > 0) {
        XEvent E;
        XNextEvent(D, &E);
        if (E.type == FXkbEvent && reinterpret_cast<XkbAnyEvent*>(&E)->xkb_type == XkbBellNotify) ++FBells;
    }
    return FBells;
}

unsigned long TXServer::TransientFor(unsigned long Window) const {
    ::Window Owner = 0;
    if (!XGetTransientForHint(Dpy(FDisplay), Window, &Owner)) return 0;
    return Owner;
}

bool TXServer::StackedAbove(unsigned long A, unsigned long B) const {
    Display* D = Dpy(FDisplay);
    const Window TopA = TopLevelOf(D, A), TopB = TopLevelOf(D, B);
    Window Root = 0, Parent = 0;
    Window* Children = nullptr;
    unsigned Count = 0;
    if (!XQueryTree(D, DefaultRootWindow(D), &Root, &Parent, &Children, &Count)) return false;
    int IndexA = -1, IndexB = -1;
    for (unsigned I = 0; I < Count; ++I) {
        if (Children[I] == TopA) IndexA = static_cast<int>(I);
        if (Children[I] == TopB) IndexB = static_cast<int>(I);
    }
    if (Children) XFree(Children);
    return IndexA >= 0 && IndexB >= 0 && IndexA > IndexB;
}

TXWindow TXServer::Geometry(unsigned long Id) const {
    Display* D = Dpy(FDisplay);
    TXWindow W;
    W.Id = Id;
    XWindowAttributes A;
    if (!XGetWindowAttributes(D, Id, &A)) return W;
    Window Child = 0;
    XTranslateCoordinates(D, Id, DefaultRootWindow(D), 0, 0, &W.X, &W.Y, &Child);
    W.Width = A.width;
    W.Height = A.height;
    return W;
}

unsigned long TXServer::Focus() const {
    Window W = 0;
    int Revert = 0;
    XGetInputFocus(Dpy(FDisplay), &W, &Revert);
    return W;
}

unsigned long TXServer::OpenOtherWindow(int X, int Y, int Width, int Height) {
    Display* D = Dpy(FDisplay);
    const Window W = XCreateSimpleWindow(D, DefaultRootWindow(D), X, Y, static_cast<unsigned>(Width),
                                         static_cast<unsigned>(Height), 0, 0, 0xFFFFFF);
    XStoreName(D, W, "Another program");
    XSizeHints Hints{};
    Hints.flags = USPosition | USSize;
    Hints.x = X;
    Hints.y = Y;
    Hints.width = Width;
    Hints.height = Height;
    XSetWMNormalHints(D, W, &Hints);
    XMapWindow(D, W);
    XSync(D, False);
    return W;
}

// ---------------------------------------------------------------- programs

TChildProgram::TChildProgram(const std::string& Path, const std::vector<std::string>& Arguments,
                             const std::vector<std::string>& Environment) {
    FPid = fork();
    if (FPid != 0) return;
    for (const std::string& E : Environment)
        putenv(const_cast<char*>(E.c_str()));
    std::vector<char*> Argv{const_cast<char*>(Path.c_str())};
    for (const std::string& A : Arguments)
        Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);
    execv(Path.c_str(), Argv.data());
    _exit(127);
}

TChildProgram::~TChildProgram() {
    if (Running()) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
}

bool TChildProgram::Running() {
    if (FPid <= 0) return false;
    int WaitStatus = 0;
    const pid_t R = waitpid(FPid, &WaitStatus, WNOHANG);
    if (R == 0) return true;
    FExitCode = R == FPid && WIFEXITED(WaitStatus) ? WEXITSTATUS(WaitStatus) : -1;
    FPid = -1;
    return false;
}

int TChildProgram::Wait(double Seconds) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::duration<double>(Seconds);
    while (Running() && std::chrono::steady_clock::now() < End)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Running() ? -1 : FExitCode;
}

long TChildProgram::ResidentKilobytes() const {
    std::ifstream ProcStatus("/proc/" + std::to_string(FPid) + "/status");
    std::string Line;
    while (std::getline(ProcStatus, Line))
        if (Line.rfind("VmRSS:", 0) == 0) return std::stol(Line.substr(6));
    return -1;
}

double TChildProgram::CpuSeconds() const {
    std::ifstream Stat("/proc/" + std::to_string(FPid) + "/stat");
    std::string Text((std::istreambuf_iterator<char>(Stat)), std::istreambuf_iterator<char>());
    // Fields after the program name in parentheses; utime and stime are the
    // 14th and 15th fields of the line.
    const std::size_t Close = Text.rfind(')');
    if (Close == std::string::npos) return -1;
    std::istringstream In(Text.substr(Close + 2));
    std::string Field;
    long long UserTicks = 0, SystemTicks = 0;
    for (int I = 3; I <= 15 && In >> Field; ++I) {
        if (I == 14) UserTicks = std::stoll(Field);
        if (I == 15) SystemTicks = std::stoll(Field);
    }
    return static_cast<double>(UserTicks + SystemTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace qztest
