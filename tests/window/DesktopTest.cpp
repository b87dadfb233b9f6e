// A person at a real desktop: the window backend inside this program on a
// private X server, driven by real X input (xdotool) on other keyboard
// layouts, with and without a window manager. What arrives is read from the
// framework's controls; what the desktop shows (focus, stacking, owners,
// bells, selections) from the server.

#include "../support/UiFixture.h"
#include "XDisplay.h"

#include <QzComponents5/QzRegister.h>
#include <Qzde/QzCalendarPopup.h>
#include <Qzde/QzDateControls.h>
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <framework/backends/headless/Automation.h>
#include <framework/backends/sdl/SdlBackend.h>
#include <framework/controls/Buttons.h>
#include <framework/controls/Edit.h>
#include <framework/forms/Form.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/Utf8.h>
#include <fstream>

namespace {

namespace Ui = fw::Ui;
using qztest::TXServer;

constexpr int ServerWidth = 1280;
constexpr int ServerHeight = 1024;

class Desktop : public fw::test::UiFixture {
protected:
    // A server with the keyboard layout, optionally a window manager, and the
    // window backend on it.
    void Open(const std::string& Layout, bool WindowManager = false, int Dpi = 0) {
        if (!Server.Start(ServerWidth, ServerHeight, Why, Dpi))
            GTEST_SKIP() << "Xvfb cannot start here: " << Why;
        if (WindowManager && !Server.StartWindowManager(Why)) GTEST_SKIP() << "no window manager: " << Why;
        int Code = 0;
        const std::string Out = Server.Run("setxkbmap " + Layout + " 2>&1", &Code);
        ASSERT_EQ(Code, 0) << "setxkbmap " << Layout << ": " << Out;
        setenv("DISPLAY", Server.Name().c_str(), 1);
        // No session bus: SDL would start one for the display otherwise.
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
        setenv("QZ_CARET_BLINK_TIME", "0", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        auto Opened = fw::TSdlBackend::Open(Dpi ? 0 : 1, Why);
        ASSERT_TRUE(Opened) << Why;
        Backend = Opened.get();
        fw::Application->SetBackend(std::move(Opened));
        qz::RegisterPackageClasses();
        Server.CountBells();
    }
    void TearDown() override {
        Form.reset();
        if (Backend) fw::Application->SetBackend(nullptr);
        unsetenv("DISPLAY");
        fw::test::UiFixture::TearDown();
    }

    // Runs the loop (taking the desktop's events) until Done holds; false
    // after Seconds.
    template <class Pred>
    bool WaitUntil(Pred Done, double Seconds = 20) {
        const auto End = std::chrono::steady_clock::now() + std::chrono::duration<double>(Seconds);
        for (;;) {
            Ui::Pump();
            Backend->Present();
            if (Done()) return true;
            if (std::chrono::steady_clock::now() > End) return false;
            Backend->Idle(true, fw::MessageQueue().TickCount() + 20);
        }
    }

    // A main window with a plain edit, a date edit (dd/mm/yyyy) and a button,
    // shown, with the keyboard focus on the plain edit.
    void ShowForm(int Left = 100, int Width = 360) {
        Form = std::make_unique<fw::TForm>(nullptr);
        Form->SetCaption("Desktop");
        Form->SetBounds(Left, 100, Width, 160);
        Plain = new fw::TEdit(Form.get());
        Plain->SetParent(Form.get());
        Plain->SetBounds(8, 8, 200, 21);
        DateEdit = new qz::TQzDateEdit(Form.get());
        DateEdit->SetParent(Form.get());
        DateEdit->SetBounds(8, 40, 200, 21);
        DateEdit->SetDateFormat("dd/mm/yyyy");
        Button = new fw::TButton(Form.get());
        Button->SetParent(Form.get());
        Button->SetBounds(250, 8, 75, 25);
        Form->Show();
        ASSERT_TRUE(WaitUntil([&] { return Backend->NativeWindow(Form.get()) != 0; }));
        const unsigned long Id = Backend->NativeWindow(Form.get());
        ASSERT_TRUE(WaitUntil([&] { return Server.Focus() == Id; })) << "the window never had the focus";
        Plain->SetFocus();
    }

    // Runs xdotool while the loop goes on taking events, as a person's
    // keyboard would (xdotool maps characters the layout lacks onto a spare
    // key for a moment: a program that is not listening then misses them).
    bool Send(const std::string& Arguments) {
        qztest::TChildProgram Tool("/bin/sh", {"-c", "exec xdotool " + Arguments},
                                   {"DISPLAY=" + Server.Name()});
        if (!WaitUntil([&] { return !Tool.Running(); })) return false;
        return Tool.Wait(0) == 0;
    }

    void Click(fw::TControl* Control, int Button = 1) {
        const fw::TPoint P =
            Control->ClientToScreen({Control->ClientWidth() / 2, Control->ClientHeight() / 2});
        ASSERT_TRUE(Send("mousemove " + std::to_string(P.X) + " " + std::to_string(P.Y) + " click " +
                         std::to_string(Button)));
    }

    // What the desktop's clipboard or primary selection holds, read by
    // another program while this one answers for the selection it owns.
    std::string Selection(const std::string& Which) {
        const std::string File = testing::TempDir() + "qz-selection.txt";
        qztest::TChildProgram Tool("/bin/sh", {"-c", "exec xclip -selection " + Which + " -o >" + File},
                                   {"DISPLAY=" + Server.Name()});
        if (!WaitUntil([&] { return !Tool.Running(); }, 10)) return "(xclip did not end)";
        std::ifstream In(File);
        return std::string((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    }

    TXServer Server;
    std::string Why;
    fw::TSdlBackend* Backend = nullptr;
    std::unique_ptr<fw::TForm> Form;
    fw::TEdit* Plain = nullptr;
    qz::TQzDateEdit* DateEdit = nullptr;
    fw::TButton* Button = nullptr;
};

// ---------------------------------------------------------------- typing

struct TTyping {
    const char* Layout;
    const char* Keys; // xdotool arguments
    bool IntoDate;
    const char* Expected;
};

// Characters come from the layout: a date typed on German and French
// keyboards (where "/" and the digits sit elsewhere than on a US one), text
// beyond ASCII, a dead key and a compose sequence.
class DesktopTyping : public Desktop, public ::testing::WithParamInterface<TTyping> {};

TEST_P(DesktopTyping, CharactersFollowTheLayout) {
    const TTyping& T = GetParam();
    Open(T.Layout);
    if (HasFatalFailure() || IsSkipped()) return;
    ShowForm();
    fw::TCustomEdit* Target = T.IntoDate ? static_cast<fw::TCustomEdit*>(DateEdit) : Plain;
    Target->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return SDL_IsTextInputActive(); })) << "text input is off in an edit";
    ASSERT_TRUE(Send(T.Keys));
    EXPECT_TRUE(WaitUntil([&] { return Target->Text() == T.Expected; }, 10))
        << T.Layout << " '" << T.Keys << "' gave '" << Target->Text() << "'";
    EXPECT_EQ(fw::BeepCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DesktopTyping,
    ::testing::Values(TTyping{"de", "type --delay 20 14/03/2026", true, "14/03/2026"},
                      TTyping{"fr", "type --delay 20 14/03/2026", true, "14/03/2026"},
                      TTyping{"de", "type --delay 20 \xC3\xA9\xC3\xBC\xE2\x82\xAC\xC3\x9F", false,
                              "\xC3\xA9\xC3\xBC\xE2\x82\xAC\xC3\x9F"},
                      TTyping{"de", "key --delay 20 dead_acute e", false, "\xC3\xA9"},
                      TTyping{"fr", "key --delay 20 dead_circumflex o", false, "\xC3\xB4"}));

// ---------------------------------------------------------------- shortcuts, selections, bell

struct TShortcuts {
    const char* Layout;
    const char* SelectAll;
    const char* Copy;
    const char* Undo;
};

// Ctrl+A, Ctrl+C, Ctrl+Z by the key the layout names (French) and by the key's
// place where the layout names no Latin letter (Russian); the selection is the
// desktop's primary selection, which the middle button pastes elsewhere.
class DesktopShortcuts : public Desktop, public ::testing::WithParamInterface<TShortcuts> {};

TEST_P(DesktopShortcuts, WorkOnAnyLayoutAndTheSelectionIsTheDesktops) {
    const TShortcuts& L = GetParam();
    Open(L.Layout);
    if (HasFatalFailure() || IsSkipped()) return;
    ShowForm();
    Plain->SetText("14/03/2026 meeting");
    Plain->SetSelStart(static_cast<int>(Plain->Text().size()));
    ASSERT_TRUE(Send(std::string("key --delay 20 ") + L.SelectAll + " " + L.Copy));
    EXPECT_TRUE(WaitUntil([&] { return Selection("clipboard") == "14/03/2026 meeting"; }))
        << "the clipboard has '" << Selection("clipboard") << "'";
    EXPECT_EQ(Plain->SelLength(), static_cast<int>(Plain->Text().size()));
    EXPECT_EQ(Selection("primary"), "14/03/2026 meeting");

    // Typing replaces the selection; Ctrl+Z brings the text back.
    ASSERT_TRUE(Send("key --delay 20 BackSpace"));
    ASSERT_TRUE(WaitUntil([&] { return Plain->Text().empty(); }));
    ASSERT_TRUE(Send(std::string("key --delay 20 ") + L.Undo));
    EXPECT_TRUE(WaitUntil([&] { return Plain->Text() == "14/03/2026 meeting"; }))
        << "undo left '" << Plain->Text() << "'";

    // A selection made with the keyboard becomes the primary selection, and
    // the middle button pastes it into another edit.
    Plain->SetSelStart(0);
    ASSERT_TRUE(Send("key --delay 20 shift+End"));
    ASSERT_TRUE(WaitUntil([&] { return Selection("primary") == "14/03/2026 meeting"; }));
    Plain->SetText("");
    Click(DateEdit, 2);
    EXPECT_TRUE(WaitUntil([&] { return DateEdit->Text() == "14/03/2026 meeting"; }))
        << "the middle button pasted '" << DateEdit->Text() << "'";
    EXPECT_EQ(fw::BeepCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, DesktopShortcuts,
                         ::testing::Values(TShortcuts{"fr", "ctrl+a", "ctrl+c", "ctrl+z"},
                                           TShortcuts{"ru", "ctrl+Cyrillic_ef", "ctrl+Cyrillic_es",
                                                      "ctrl+Cyrillic_ya"}));

// A refused key rings the desktop's bell, once per key.
TEST_F(Desktop, EachRefusedKeyRingsTheBellOnce) {
    Open("us");
    if (HasFatalFailure() || IsSkipped()) return;
    ShowForm();
    DateEdit->SetFocus();
    ASSERT_TRUE(Send("type --delay 20 1x2yz"));
    ASSERT_TRUE(WaitUntil([&] { return DateEdit->Text() == "12" && fw::BeepCount() == 3; }))
        << DateEdit->Text() << ", " << fw::BeepCount() << " beeps";
    EXPECT_TRUE(WaitUntil([&] { return Server.Bells() >= 3; }, 5));
    EXPECT_EQ(Server.Bells(), 3);
}

// An input method's composition (delivered as the desktop's events) shows in
// the edit, underlined at the caret; only the committed text is typed.
TEST_F(Desktop, AnInputMethodsCompositionShowsUnderlinedAndOnlyTheCommitIsTyped) {
    Open("us");
    if (HasFatalFailure() || IsSkipped()) return;
    ShowForm();
    Plain->SetText("ab");
    Plain->SetSelStart(1);
    std::vector<fw::Char> Pressed;
    int Changes = 0;
    Plain->OnKeyPress = [&](fw::TObject*, fw::Char& Key) { Pressed.push_back(Key); };
    Plain->OnChange = [&](fw::TObject*) { ++Changes; };
    ASSERT_TRUE(WaitUntil([&] { return SDL_IsTextInputActive(); }));
    const fw::TSurface Before = fw::Ui::FormImage(Form.get());

    SDL_Event Edit{};
    Edit.type = SDL_TEXTEDITING;
    std::snprintf(Edit.edit.text, sizeof Edit.edit.text, "%s", "ni\xE5\xA5\xBD");
    Edit.edit.start = 2; // the input method's caret after "ni"
    Edit.edit.length = 3;
    SDL_PushEvent(&Edit);
    ASSERT_TRUE(WaitUntil([&] { return Plain->CompositionText() == "ni\xE5\xA5\xBD"; }));
    EXPECT_EQ(Plain->Text(), "ab");
    EXPECT_TRUE(Pressed.empty());
    EXPECT_EQ(Changes, 0);
    // The composition is drawn between "a" and "b" with a line under it, and
    // the candidate window goes to the caret inside it.
    const fw::TSurface During = fw::Ui::FormImage(Form.get());
    const fw::TRect Caret = Plain->CaretRect();
    const fw::TPoint Origin = Plain->ClientOrigin();
    const fw::TRect Frame = Form->BoundsRect();
    int Underline = 0;
    for (int X = 0; X < Plain->ClientWidth(); ++X) {
        const int Y = Origin.Y - Frame.Top + Caret.Bottom - 3;
        for (int Dy = 0; Dy < 3; ++Dy)
            if (During.Pixel(Origin.X - Frame.Left + X, Y + Dy) !=
                    Before.Pixel(Origin.X - Frame.Left + X, Y + Dy) &&
                During.Pixel(Origin.X - Frame.Left + X, Y + Dy) == fw::ColorToRGB(fw::clWindowText)) {
                ++Underline;
                break;
            }
    }
    EXPECT_GT(Underline, 10) << "no underline under the composition";
    EXPECT_GT(Caret.Left, 3);

    SDL_Event Commit{};
    Commit.type = SDL_TEXTINPUT;
    std::snprintf(Commit.text.text, sizeof Commit.text.text, "%s", "\xE4\xBD\xA0\xE5\xA5\xBD");
    SDL_PushEvent(&Commit);
    ASSERT_TRUE(WaitUntil([&] {
        return Plain->Text() == "a\xE4\xBD\xA0\xE5\xA5\xBD"
                                "b";
    })) << Plain->Text();
    EXPECT_TRUE(Plain->CompositionText().empty());
    EXPECT_EQ(Pressed, (std::vector<fw::Char>{0x4F60, 0x597D}));
    EXPECT_EQ(Changes, 2);

    // Text input is on only while an edit has the focus.
    Button->SetFocus();
    EXPECT_TRUE(WaitUntil([&] { return !SDL_IsTextInputActive(); }));
    Plain->SetFocus();
    EXPECT_TRUE(WaitUntil([&] { return SDL_IsTextInputActive(); }));
}

// ---------------------------------------------------------------- popups and dialogs

// The popup's window belongs to the main window (transient for it) and never
// stays above another program's window; a press on the main window rings the
// bell once and keeps the popup, with coCloseOnClickOutside it ends the popup
// as Escape does; a message box belongs to its owner and stays above it when
// the owner is clicked. Under openbox.
TEST_F(Desktop, PopupAndDialogsBelongToTheirOwnerUnderAWindowManager) {
    Open("us", true);
    if (HasFatalFailure() || IsSkipped()) return;
    ShowForm();
    const unsigned long Main = Backend->NativeWindow(Form.get());
    DateEdit->SetDate(fw::EncodeDate(2026, 3, 10));
    std::vector<std::string> Log;
    DateEdit->OnCloseCalendar = [&](fw::TObject*) { Log.push_back("close " + DateEdit->Text()); };
    // Modal; closing on a press on the main window; closing when another program is activated.
    enum TMode { Modal, PressOwner, OtherProgram };
    unsigned long Other = 0;
    for (const TMode Mode : {Modal, PressOwner, OtherProgram}) {
        SCOPED_TRACE(Mode == Modal ? "modal" : Mode == PressOwner ? "press on the owner" : "another program");
        Log.clear();
        DateEdit->SetCalendarOptions(Mode != Modal ? qz::TCalendarOptions{qz::coCloseOnClickOutside}
                                                   : qz::TCalendarOptions{});
        DateEdit->SetFocus();
        int BellsBefore = Server.Bells();
        fw::Ui::OnNextModal([&](fw::TForm* Popup) {
            unsigned long Id = 0;
            ASSERT_TRUE(WaitUntil([&] {
                Id = Backend->NativeWindow(Popup);
                return Id != 0 && Server.Focus() == Id;
            })) << "the popup never had the focus";
            EXPECT_EQ(Server.TransientFor(Id), Main);
            ASSERT_TRUE(Send("key Right"));
            ASSERT_TRUE(WaitUntil([&] { return DateEdit->Text() == "11/03/2026"; }));
            if (Mode == OtherProgram) {
                ASSERT_TRUE(Send("windowactivate --sync " + std::to_string(Other)));
                EXPECT_TRUE(WaitUntil([&] { return Popup->ModalResult() == fw::mrCancel; }, 10));
                return;
            }
            // Another program's window, activated: above the popup.
            if (Mode == Modal) {
                Other = Server.OpenOtherWindow(700, 100, 200, 200);
                ASSERT_TRUE(Send("windowactivate --sync " + std::to_string(Other)));
                EXPECT_TRUE(WaitUntil([&] { return Server.StackedAbove(Other, Id); }, 10))
                    << "the popup stays above another program";
                ASSERT_TRUE(Send("windowactivate --sync " + std::to_string(Main)));
            }
            // A press on the main window (the button, outside the popup).
            Click(Button);
            if (Mode == PressOwner) {
                EXPECT_TRUE(WaitUntil([&] { return Popup->ModalResult() == fw::mrCancel; }, 10));
                return;
            }
            EXPECT_TRUE(WaitUntil([&] { return Server.Bells() == BellsBefore + 1; }, 10));
            EXPECT_TRUE(WaitUntil([&] { return Server.StackedAbove(Id, Main) && Server.Focus() == Id; }, 10));
            EXPECT_EQ(Popup->ModalResult(), fw::mrNone);
            ASSERT_TRUE(Send("key Return"));
            EXPECT_TRUE(WaitUntil([&] { return Popup->ModalResult() == fw::mrOk; }, 10));
        });
        Send("key alt+Down");
        EXPECT_EQ(Log, (std::vector<std::string>{Mode != Modal ? "close 10/03/2026" : "close 11/03/2026"}));
        DateEdit->SetDate(fw::EncodeDate(2026, 3, 10));
        if (Mode == OtherProgram) {
            ASSERT_TRUE(Send("windowactivate --sync " + std::to_string(Main)));
        }
    }

    // A message box: transient for the main window, kept above it when the
    // main window is clicked (with the bell).
    const int BellsBefore = Server.Bells();
    fw::Ui::OnNextModal([&](fw::TForm* Box) {
        unsigned long Id = 0;
        ASSERT_TRUE(
            WaitUntil([&] { return (Id = Backend->NativeWindow(Box)) != 0 && Server.Focus() == Id; }));
        EXPECT_EQ(Server.TransientFor(Id), Main);
        Click(Button);
        EXPECT_TRUE(WaitUntil([&] { return Server.Bells() == BellsBefore + 1; }, 10));
        EXPECT_TRUE(WaitUntil([&] { return Server.StackedAbove(Id, Main) && Server.Focus() == Id; }, 10));
        ASSERT_TRUE(Send("key Return"));
        EXPECT_TRUE(WaitUntil([&] { return Box->ModalResult() != fw::mrNone; }, 10));
    });
    fw::Application->MessageBox("Owned", "Box");
}

// Without a window manager nobody moves the keyboard focus: after the popup
// closes the main window has it again, and typing reaches the edit.
TEST_F(Desktop, WithoutAWindowManagerTheFocusComesBackAfterThePopup) {
    Open("us");
    if (HasFatalFailure() || IsSkipped()) return;
    ShowForm();
    const unsigned long Main = Backend->NativeWindow(Form.get());
    DateEdit->SetFocus();
    fw::Ui::OnNextModal([&](fw::TForm* Popup) {
        ASSERT_TRUE(WaitUntil([&] { return Server.Focus() == Backend->NativeWindow(Popup); }));
        ASSERT_TRUE(Send("key Escape"));
        EXPECT_TRUE(WaitUntil([&] { return Popup->ModalResult() == fw::mrCancel; }, 10));
    });
    Send("key alt+Down");
    EXPECT_TRUE(WaitUntil([&] { return Server.Focus() == Main; }, 10)) << "the focus is " << Server.Focus();
    ASSERT_TRUE(Send("type --delay 20 1/2/3"));
    EXPECT_TRUE(WaitUntil([&] { return DateEdit->Text() == "1/2/3"; }, 10)) << DateEdit->Text();
}

// ---------------------------------------------------------------- high density

// At 192 dots per inch the scale is 2 by itself; a form wider than the screen
// at that scale is shrunk onto it; the popup lines up with its edit to the
// device pixel wherever the window sits, and follows the window when it moves.
TEST_F(Desktop, HighDensityScalesFitsTheScreenAndLinesUpToTheDevicePixel) {
    Open("us", false, 192);
    if (HasFatalFailure() || IsSkipped()) return;
    EXPECT_EQ(Backend->Scale(), 2);
    ShowForm(-40, 760); // 1520 device pixels: wider than the screen
    const unsigned long Main = Backend->NativeWindow(Form.get());
    ASSERT_TRUE(WaitUntil([&] {
        const qztest::TXWindow G = Server.Geometry(Main);
        return G.X >= 0 && G.X + G.Width <= ServerWidth && G.Width > 0;
    })) << "the window does not fit the screen";

    // An odd device pixel for the main window (no window manager: the test moves it).
    ASSERT_TRUE(Send("windowmove " + std::to_string(Main) + " 201 151"));
    ASSERT_TRUE(WaitUntil([&] { return Server.Geometry(Main).X == 201; }));
    DateEdit->SetFocus();
    const auto Offset = [&](unsigned long Popup) {
        const qztest::TXWindow A = Server.Geometry(Popup), B = Server.Geometry(Main);
        return fw::TPoint{A.X - B.X, A.Y - B.Y};
    };
    fw::Ui::OnNextModal([&](fw::TForm* Popup) {
        unsigned long Id = 0;
        ASSERT_TRUE(WaitUntil([&] { return (Id = Backend->NativeWindow(Popup)) != 0; }));
        // Right under the edit's client area, scaled: exactly twice the
        // framework's distance from the main window's client area.
        const fw::TPoint Want{2 * (Popup->Left() - Form->ClientOrigin().X),
                              2 * (Popup->Top() - Form->ClientOrigin().Y)};
        EXPECT_TRUE(WaitUntil([&] { return Offset(Id).X == Want.X && Offset(Id).Y == Want.Y; }))
            << Offset(Id).X << ", " << Offset(Id).Y << " instead of " << Want.X << ", " << Want.Y;
        EXPECT_EQ(Popup->Top(), DateEdit->ClientToScreen({0, DateEdit->ClientHeight()}).Y + 1);
        // The main window moves: the popup goes with it.
        ASSERT_TRUE(Send("windowmove " + std::to_string(Main) + " 240 171"));
        EXPECT_TRUE(WaitUntil([&] {
            return Server.Geometry(Main).X == 240 && Offset(Id).X == Want.X && Offset(Id).Y == Want.Y;
        })) << Offset(Id).X
            << ", " << Offset(Id).Y;
        ASSERT_TRUE(Send("key Escape"));
        EXPECT_TRUE(WaitUntil([&] { return Popup->ModalResult() == fw::mrCancel; }));
    });
    Send("key alt+Down");
}

// A figure: the time from a key pressed on the server to the edit's new pixels
// in the window (the server, SDL, the framework's input, paint and copy). A
// letter and Backspace in turn keep the text short: a long run of one letter
// scrolled by one letter's width shows the same pixels.
TEST_F(Desktop, KeyToPixelsThroughTheServer) {
    Open("us");
    if (HasFatalFailure() || IsSkipped()) return;
    ShowForm();
    ASSERT_TRUE(WaitUntil([&] { return SDL_IsTextInputActive(); }));
    constexpr int Keys = 60;
    std::vector<double> Micro;
    for (int I = 0; I < Keys; ++I) {
        const std::size_t Length = Plain->Text().size();
        const long long Copied = Backend->PixelsCopied();
        const auto T0 = std::chrono::steady_clock::now();
        Server.TapKey(I % 2 == 1 ? 0xff08 /* BackSpace */ : 0x61 /* a */);
        ASSERT_TRUE(
            WaitUntil([&] { return Plain->Text().size() != Length && Backend->PixelsCopied() > Copied; }, 10))
            << "key " << I << ": the edit has '" << Plain->Text() << "'";
        Micro.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - T0).count());
    }
    std::sort(Micro.begin(), Micro.end());
    std::cout << "[ figure ] key on the server to window pixels over " << Keys << " keys: median "
              << Micro[Keys / 2] << " us, 95th percentile " << Micro[Keys * 95 / 100] << " us\n";
    RecordProperty("ServerKeyToPixelsMedianMicroseconds", std::to_string(Micro[Keys / 2]));
}

} // namespace
