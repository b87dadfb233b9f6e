// The window backend end to end. The demo runs in real windows on a private X
// server (Xvfb) and is driven with real X input (xdotool): mouse and keyboard
// events go through the server and SDL into the framework. After every step
// the windows must show exactly the pixels the headless screen shows after the
// same steps. Also measured here: the processor time of an idle demo window,
// and the time from an injected key press to the window's updated pixels.

#include "../../apps/qzdemo/DemoForm.h"
#include "../../apps/qzdemo/DemoResources.h"
#include "../support/UiFixture.h"
#include "XDisplay.h"

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzCalendarPopup.h>
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <framework/backends/headless/Automation.h>
#include <framework/backends/headless/HeadlessBackend.h>
#include <framework/backends/sdl/SdlBackend.h>
#include <framework/controls/Edit.h>
#include <framework/forms/Registration.h>
#include <framework/graphics/Png.h>
#include <framework/platform/Keys.h>
#include <set>
#include <thread>

namespace {

namespace fs = std::filesystem;
namespace Ui = fw::Ui;
using qztest::TChildProgram;
using qztest::TXServer;
using qztest::TXWindow;

const fs::path Demo = fs::path(QZ_BINARY_DIR) / "qzdemo";
const fs::path FormFile = fs::path(QZ_SOURCE_DIR) / "apps" / "qzdemo" / "MainForm.dfm";
const char* const DemoTitle = "Qz Components demo";
constexpr int ServerWidth = 1600;
constexpr int ServerHeight = 1200;

// ---------------------------------------------------------------- the headless reference

// What the headless screen shows after each step, and where the steps click.
// A window shows its form's client area (a borderless popup's is all of it).
struct TCheckpoint {
    std::string Name;
    fw::TSurface Image;
};

struct TReference {
    std::vector<TCheckpoint> Checks;
    fw::TPoint EditPoint, ButtonPoint, DayPoint, RecordsPoint; // screen points, 1 : 1
    fw::TPoint EditInClient;                                   // the edit's middle in the form's client area
};

fw::TSurface ClientImage(fw::TForm* Form) {
    const fw::TSurface Whole = fw::CaptureForm(Form);
    const fw::TRect B = Form->BorderInsets();
    fw::TSurface Client(Form->ClientWidth(), Form->ClientHeight());
    for (int Y = 0; Y < Client.Height(); ++Y)
        for (int X = 0; X < Client.Width(); ++X)
            Client.SetPixel(X, Y, Whole.Pixel(B.Left + X, B.Top + Y));
    return Client;
}

fw::TPoint Middle(fw::TControl* Control) {
    return Control->ClientToScreen({Control->ClientWidth() / 2, Control->ClientHeight() / 2});
}

// The steps on the headless screen, as the X run below repeats them: click
// into the first edit and type a date, Tab; drop the calendar of the next
// edit with Alt+Down and cancel it with Escape; pick a day from the calendar
// component.
TReference RunHeadless() {
    fw::Application->Reset();
    fw::Screen->SetSize(ServerWidth, ServerHeight);
    qzdemo::TDemoResources Resources(FormFile, *qzdemo::FindRecordsFormFile(FormFile));
    fw::RegisterControlClasses();
    qz::RegisterPackageClasses();
    auto Form = std::make_unique<qzdemo::TfrmQzDemo>(nullptr);
    Form->Show();
    TReference R;
    R.Checks.push_back({"start", ClientImage(Form.get())});

    R.EditPoint = Middle(Form->edtDayFirst);
    R.EditInClient = Form->ScreenToClient(R.EditPoint);
    Ui::MouseMoveAt(R.EditPoint);
    Ui::ClickAt(R.EditPoint);
    Ui::TypeText("14/3/26");
    Ui::Tab();
    R.Checks.push_back({"typed", ClientImage(Form.get())});

    Ui::OnNextModal([&](fw::TForm* Popup) {
        R.Checks.push_back({"dropped", ClientImage(Popup)});
        Ui::PressKey(fw::VK_ESCAPE);
    });
    Ui::PressKey(fw::VK_DOWN, {fw::ssAlt});
    R.Checks.push_back({"cancelled", ClientImage(Form.get())});

    R.ButtonPoint = Middle(Form->btnPickDate);
    R.RecordsPoint = Middle(Form->btnRecords);
    Ui::OnNextModal([&](fw::TForm* Form) {
        auto* Popup = dynamic_cast<qz::TfrmQzCal*>(Form);
        if (!Popup) return;
        R.Checks.push_back({"calendar", ClientImage(Popup)});
        const fw::TRect Cell = Popup->FindArrayRect(17);
        R.DayPoint = Popup->ClientToScreen({(Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2});
        Ui::MouseMoveAt(R.DayPoint);
        Ui::ClickAt(R.DayPoint);
    });
    Ui::MouseMoveAt(R.ButtonPoint);
    Ui::ClickAt(R.ButtonPoint);
    R.Checks.push_back({"picked", ClientImage(Form.get())});
    Form.reset();
    fw::Application->Reset();
    return R;
}

const TReference& Reference() {
    static const TReference R = RunHeadless();
    return R;
}

// ---------------------------------------------------------------- the X side

fw::TSurface Scaled(const fw::TSurface& S, int Scale) {
    fw::TSurface Big(S.Width() * Scale, S.Height() * Scale);
    for (int Y = 0; Y < Big.Height(); ++Y)
        for (int X = 0; X < Big.Width(); ++X)
            Big.SetPixel(X, Y, S.Pixel(X / Scale, Y / Scale));
    return Big;
}

int DifferentPixels(const fw::TSurface& A, const fw::TSurface& B) {
    if (A.Width() != B.Width() || A.Height() != B.Height()) return -1;
    int Count = 0;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            Count += A.Pixel(X, Y) != B.Pixel(X, Y);
    return Count;
}

class DemoWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Server = std::make_unique<TXServer>();
        if (!Server->Start(ServerWidth, ServerHeight, SkipReason)) Server.reset();
    }
    static void TearDownTestSuite() { Server.reset(); }

    void SetUp() override {
        if (!Server)
            GTEST_SKIP() << "Xvfb cannot start here, so no real window can be tested: " << SkipReason;
        ASSERT_TRUE(fs::exists(Demo)) << Demo << " is missing: build the target qzdemo first";
    }

    std::unique_ptr<TChildProgram> StartDemo(int Scale, bool SteadyCaret = true) {
        // The windows of an earlier test's program may still be listed while the server
        // tears them down (seconds on a busy machine): only windows that appear from now
        // on can be this program's.
        Earlier.clear();
        for (const TXWindow& W : Server->Windows())
            Earlier.insert(W.Id);
        std::vector<std::string> Env{"DISPLAY=" + Server->Name(), "SDL_VIDEODRIVER=x11",
                                     "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent"};
        if (SteadyCaret) Env.push_back("QZ_CARET_BLINK_TIME=0");
        return std::make_unique<TChildProgram>(
            Demo.string(),
            std::vector<std::string>{"--window", "--scale", std::to_string(Scale), "--form",
                                     FormFile.string(), "--out",
                                     (fs::path(QZ_BINARY_DIR) / "window-demo").string()},
            Env);
    }

    // Waits for a shown window of the program started last that the test
    // accepts; fails after 30 s (a sanitizer build on a busy machine starts slowly).
    template <class Pred>
    std::optional<TXWindow> WaitForWindow(Pred Accept) {
        const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < End) {
            for (const TXWindow& W : Server->Windows())
                if (!Earlier.count(W.Id) && Accept(W)) return W;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }
    std::optional<TXWindow> MainWindow() {
        return WaitForWindow([](const TXWindow& W) { return W.Title == DemoTitle; });
    }

    // The window shows Expected (each pixel a Scale block) within 10 s; on a
    // failure both pictures are written beside the build for a person to see.
    void ExpectShows(const TXWindow& Window, const fw::TSurface& Expected, int Scale,
                     const std::string& Name) {
        const fw::TSurface Want = Scale == 1 ? Expected : Scaled(Expected, Scale);
        fw::TSurface Have;
        const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        do {
            // Capture the window as it is now: a busy machine can list it before
            // its last move or resize, or before the program made it again.
            Have = Server->Capture(Current(Window));
            if (DifferentPixels(Have, Want) == 0) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < End);
        const fs::path Dir = fs::path(QZ_BINARY_DIR) / "window-failures";
        fs::create_directories(Dir);
        if (Have.Width() > 0) fw::SavePng(Have, (Dir / (Name + ".window.png")).string());
        fw::SavePng(Want, (Dir / (Name + ".headless.png")).string());
        std::string Listed;
        for (const TXWindow& W : Server->Windows())
            Listed += " [" + std::to_string(W.Id) + " '" + W.Title + "' " + std::to_string(W.Width) + " x " +
                      std::to_string(W.Height) + " at " + std::to_string(W.X) + ", " + std::to_string(W.Y) +
                      "]";
        ADD_FAILURE() << "step '" << Name << "': the window (" << Have.Width() << " x " << Have.Height()
                      << ") differs from the headless screen (" << Want.Width() << " x " << Want.Height()
                      << ") in " << DifferentPixels(Have, Want) << " pixels; see " << Dir.string()
                      << "; window " << Window.Id << " was awaited, listed:" << Listed;
    }

    // The window as listed now: by its id, or, when the program made it again under
    // the same title, the program's window of that title.
    TXWindow Current(const TXWindow& Window) const {
        const std::vector<TXWindow> Listed = Server->Windows();
        for (const TXWindow& W : Listed)
            if (W.Id == Window.Id) return W;
        for (const TXWindow& W : Listed)
            if (!Earlier.count(W.Id) && W.Title == Window.Title) return W;
        return Window;
    }

    const TCheckpoint& Check(const std::string& Name) {
        for (const TCheckpoint& C : Reference().Checks)
            if (C.Name == Name) return C;
        throw std::runtime_error("no checkpoint " + Name);
    }

    void Click(const fw::TPoint& P) {
        ASSERT_TRUE(
            Server->XDoTool("mousemove " + std::to_string(P.X) + " " + std::to_string(P.Y) + " click 1"));
    }

    static inline std::unique_ptr<TXServer> Server;
    static inline std::string SkipReason;
    std::set<unsigned long> Earlier; // windows listed before the program started
};

TEST_F(DemoWindow, ShowsTheHeadlessPixelsAfterRealKeysAndClicks) {
    const TReference& R = Reference();
    ASSERT_EQ(R.Checks.size(), 6u) << "the headless steps did not all run";
    auto Program = StartDemo(1);
    const std::optional<TXWindow> Main = MainWindow();
    ASSERT_TRUE(Main) << "the demo's window did not appear";
    // The window is where the framework put the form's client area.
    EXPECT_EQ(Main->X + R.EditInClient.X, R.EditPoint.X);
    EXPECT_EQ(Main->Y + R.EditInClient.Y, R.EditPoint.Y);
    ExpectShows(*Main, Check("start").Image, 1, "start");

    Click(R.EditPoint);
    ASSERT_TRUE(Server->XDoTool("type --delay 20 14/3/26"));
    ASSERT_TRUE(Server->XDoTool("key Tab"));
    ExpectShows(*Main, Check("typed").Image, 1, "typed");

    // The popup is a window of its own, borderless, at the framework's place.
    const auto IsPopup = [&](const TXWindow& W) { return W.Id != Main->Id && W.Title != DemoTitle; };
    ASSERT_TRUE(Server->XDoTool("key alt+Down"));
    std::optional<TXWindow> Popup = WaitForWindow(IsPopup);
    ASSERT_TRUE(Popup) << "Alt+Down opened no popup window";
    ExpectShows(*Popup, Check("dropped").Image, 1, "dropped");
    ASSERT_TRUE(Server->XDoTool("key Escape"));
    ExpectShows(*Main, Check("cancelled").Image, 1, "cancelled");

    Click(R.ButtonPoint);
    Popup = WaitForWindow(IsPopup);
    ASSERT_TRUE(Popup) << "the button opened no calendar window";
    ExpectShows(*Popup, Check("calendar").Image, 1, "calendar");
    Click(R.DayPoint);
    ExpectShows(*Main, Check("picked").Image, 1, "picked");

    // The Records button opens the second form in a window of its own.
    Click(R.RecordsPoint);
    EXPECT_TRUE(WaitForWindow([](const TXWindow& W) { return W.Title == "Records"; }))
        << "the Records button opened no window";

    // Closing the main window ends the program cleanly.
    Server->RequestClose(*Main);
    EXPECT_EQ(Program->Wait(10), 0) << "the demo did not end with 0 after its window was closed";
}

TEST_F(DemoWindow, ScalesEveryPixelToABlockAndThePointerBack) {
    const TReference& R = Reference();
    auto Program = StartDemo(2);
    const std::optional<TXWindow> Main = MainWindow();
    ASSERT_TRUE(Main) << "the demo's window did not appear";
    ExpectShows(*Main, Check("start").Image, 2, "start-scale-2");
    Click({Main->X + 2 * R.EditInClient.X, Main->Y + 2 * R.EditInClient.Y});
    ASSERT_TRUE(Server->XDoTool("type --delay 20 14/3/26"));
    ASSERT_TRUE(Server->XDoTool("key Tab"));
    ExpectShows(*Main, Check("typed").Image, 2, "typed-scale-2");
}

// A figure rather than a limit: an idle window sleeps until the next event or
// timer (the caret's blink), so over ten seconds it should use next to nothing.
// Only a window that polls (a whole second or more) fails.
TEST_F(DemoWindow, IdleWindowTakesNoMeasurableProcessorTime) {
    auto Program = StartDemo(1, false);
    ASSERT_TRUE(MainWindow()) << "the demo's window did not appear";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // Also a figure: the resident memory of the demo once its window shows
    // (no OpenGL stack behind the window surface).
    const double Megabytes = Program->ResidentKilobytes() / 1024.0;
    std::cout << "[ figure ] resident memory of the demo after start: " << Megabytes << " MB\n";
    RecordProperty("ResidentMegabytesAfterStart", std::to_string(Megabytes));
    const double Before = Program->CpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double Used = Program->CpuSeconds() - Before;
    std::cout << "[ figure ] processor time of the idle demo window over 10 s (caret blinking): " << Used
              << " s\n";
    RecordProperty("IdleCpuSecondsPer10s", std::to_string(Used));
    EXPECT_LT(Used, 1.0);
}

// ---------------------------------------------------------------- in process

// The backend inside this program on the same server: each key press pushed
// into the desktop's event queue is translated, dispatched, painted and copied
// to the window; the time until the window has the new pixels is the figure.
class WindowBackend : public fw::test::UiFixture {
protected:
    void SetUp() override {
        fw::test::UiFixture::SetUp();
        if (!Server.Start(ServerWidth, ServerHeight, Why)) GTEST_SKIP() << "Xvfb cannot start here: " << Why;
        setenv("DISPLAY", Server.Name().c_str(), 1);
        setenv("QZ_CARET_BLINK_TIME", "0", 1);
        auto Opened = fw::TSdlBackend::Open(1, Why);
        ASSERT_TRUE(Opened) << Why;
        Backend = Opened.get();
        fw::Application->SetBackend(std::move(Opened));
    }
    void TearDown() override {
        fw::Application->SetBackend(nullptr);
        unsetenv("DISPLAY");
        fw::test::UiFixture::TearDown();
    }

    TXServer Server;
    std::string Why;
    fw::TSdlBackend* Backend = nullptr;
};

TEST_F(WindowBackend, KeysReachThePixelsChangingOnlyTheirAreaAndTheClipboardIsTheDesktops) {
    EXPECT_EQ(fw::Screen->Width(), ServerWidth);
    fw::TForm Form(nullptr);
    Form.SetCaption("Latency");
    Form.SetBounds(40, 40, 320, 120);
    auto* Edit = new fw::TEdit(&Form);
    Edit->SetParent(&Form);
    Edit->SetBounds(8, 8, 300, 21);
    Form.Show();
    Edit->SetFocus();
    Ui::Pump();
    Backend->Present();
    ASSERT_EQ(Backend->WindowCount(), 1);

    constexpr int Keys = 200;
    std::vector<double> Micro;
    long long Copied = 0;
    for (int I = 0; I < Keys; ++I) {
        // A letter comes as the desktop sends it: the key, then its text.
        const bool Back = I % 40 == 39;
        SDL_Event Down{};
        Down.type = SDL_KEYDOWN;
        Down.key.keysym.sym = Back ? SDLK_BACKSPACE : SDLK_a + I % 26;
        SDL_Event Text{};
        Text.type = SDL_TEXTINPUT;
        Text.text.text[0] = static_cast<char>('a' + I % 26);
        SDL_Event Up = Down;
        Up.type = SDL_KEYUP;
        const long long Before = Backend->PixelsCopied();
        const auto T0 = std::chrono::steady_clock::now();
        SDL_PushEvent(&Down);
        if (!Back) SDL_PushEvent(&Text);
        SDL_PushEvent(&Up);
        Backend->PollEvents();
        Ui::Pump();
        Backend->Present();
        const auto T1 = std::chrono::steady_clock::now();
        Micro.push_back(std::chrono::duration<double, std::micro>(T1 - T0).count());
        Copied = std::max(Copied, Backend->PixelsCopied() - Before);
    }
    std::sort(Micro.begin(), Micro.end());
    std::cout << "[ figure ] key press to window pixels over " << Keys << " keys: median " << Micro[Keys / 2]
              << " us, 95th percentile " << Micro[Keys * 95 / 100] << " us, max " << Micro.back() << " us\n";
    RecordProperty("KeyToPixelsMedianMicroseconds", std::to_string(Micro[Keys / 2]));
    EXPECT_FALSE(Edit->Text().empty());
    // Only the edit's changed part travels, never the whole window.
    EXPECT_GT(Copied, 0);
    EXPECT_LT(Copied, static_cast<long long>(Form.ClientWidth()) * Form.ClientHeight() / 4);

    // The clipboard is the desktop's and both hold UTF-8: what the edit
    // copies, the desktop has, and what the desktop holds, the edit pastes. A
    // stray code-page byte (text from an older file) never reaches the
    // desktop as malformed UTF-8.
    const std::pair<std::string, std::string> Copies[] = {
        {"caf\xC3\xA9 \xE6\x97\xA5", "caf\xC3\xA9 \xE6\x97\xA5"},
        {"caf\xE9", "caf\xC3\xA9"},
    };
    for (const auto& [Text, OnDesktop] : Copies) {
        Edit->SetText(Text);
        Edit->SelectAll();
        Edit->CopyToClipboard();
        char* Desktop = SDL_GetClipboardText();
        EXPECT_STREQ(Desktop, OnDesktop.c_str());
        SDL_free(Desktop);
    }
    SDL_SetClipboardText("\xE2\x82\xAC 5");
    Edit->SelectAll();
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), "\xE2\x82\xAC 5");
    Ui::Pump();
    Backend->Present();

    // And the window has the form's client pixels.
    const auto Windows = Server.Windows();
    ASSERT_EQ(Windows.size(), 1u);
    EXPECT_EQ(DifferentPixels(Server.Capture(Windows[0]), ClientImage(&Form)), 0);
    EXPECT_EQ(Windows[0].Title, "Latency");
}

} // namespace
