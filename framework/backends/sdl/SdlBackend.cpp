// The window backend over SDL2: windows for forms, changed pixels to the
// windows, desktop events to raw input.

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <framework/backends/AccessibilityBridge.h>
#include <framework/backends/WindowBackend.h>
#include <framework/backends/sdl/SdlBackend.h>
#include <framework/backends/sdl/SdlKeys.h>
#include <framework/controls/Clipboard.h>
#include <framework/controls/Edit.h>
#include <framework/controls/MessageQueue.h>
#include <framework/controls/WinControl.h>
#include <framework/forms/Application.h>
#include <framework/forms/Form.h>
#include <framework/forms/Screen.h>
#include <framework/platform/Keys.h>
#include <framework/platform/Windows.h>
#include <framework/rtl/Utf8.h>
#include <vector>

// Last: the X headers define names such as KeyPress and None as macros.
#include <SDL_syswm.h>

namespace fw {

namespace {

// How long the caret stays shown, then hidden: the desktop default of one
// blink a little over a second. QZ_CARET_BLINK_TIME (milliseconds, 0 for a
// steady caret) sets another.
constexpr UINT DefaultCaretBlinkTime = 600;

UINT CaretBlinkTimeFromEnvironment() {
    const char* text = std::getenv("QZ_CARET_BLINK_TIME");
    if (!text || !*text) return DefaultCaretBlinkTime;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == 0 && value >= 0 && value <= 10000 ? static_cast<UINT>(value) : DefaultCaretBlinkTime;
}

bool IsLiveForm(const TForm* form) {
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i) == form) return true;
    return false;
}

// The part of a form's pixels its window shows: the client area (the desktop
// draws the frame of a form that has one).
TRect ShownRect(TForm* form) {
    const TRect b = form->BorderInsets();
    return {b.Left, b.Top, form->Width() - b.Right, form->Height() - b.Bottom};
}

SDL_SystemCursor SystemCursorFor(TCursor cursor) {
    switch (cursor) {
    case crIBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
    case crCross:
        return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case crSizeNS:
        return SDL_SYSTEM_CURSOR_SIZENS;
    case crSizeNESW:
        return SDL_SYSTEM_CURSOR_SIZENESW;
    case crSizeNWSE:
        return SDL_SYSTEM_CURSOR_SIZENWSE;
    case crSize:
        return SDL_SYSTEM_CURSOR_SIZEALL;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// SDL's connection to the X server and a window's X id (null and 0 on
// another kind of desktop).
Display* XDisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    return info.info.x11.display;
}

unsigned long XWindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.window;
}

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The display's density in dots per inch: the desktop's setting (the X
// resource Xft.dpi), else the screen's size in pixels over its size in
// millimetres, else what SDL finds; 0 when nothing tells.
double DisplayDensity() {
    if (::Display* d = XOpenDisplay(nullptr)) {
        double dpi = 0;
        if (const char* resources = XResourceManagerString(d)) {
            const std::string_view text(resources);
            const std::size_t at = text.find("Xft.dpi:");
            if (at != std::string_view::npos && (at == 0 || text[at - 1] == '\n'))
                dpi = std::strtod(resources + at + 8, nullptr);
        }
        const int screen = DefaultScreen(d);
        if (dpi <= 0 && DisplayWidthMM(d, screen) > 0)
            dpi = DisplayWidth(d, screen) * 25.4 / DisplayWidthMM(d, screen);
        XCloseDisplay(d);
        if (dpi > 0) return dpi;
    }
    float dpi = 0;
    return SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) == 0 ? dpi : 0;
}

// Whole scales only (a framework pixel is a square block): 2 from about 168
// dots per inch (1.75 times the classic 96), 3 from 264, and so on.
int ScaleForDensity(double dpi) {
    return std::max(1, static_cast<int>((dpi + 24) / 96));
}

// The byte offset of the n-th character of a UTF-8 text (its length when
// there are fewer).
int Utf8Offset(const char* text, int n) {
    int i = 0;
    for (; text[i] && n > 0; --n) {
        ++i;
        while ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

} // namespace

// One form's window and what it shows now.
struct TFormWindow {
    TForm* Form = nullptr;
    SDL_Window* Window = nullptr;
    Uint32 Id = 0;
    TPoint Origin;             // framework screen point of the shown area's top-left
    int Width = 0, Height = 0; // shown area, framework pixels
    String Title;
    std::vector<TPixel> Shown; // the pixels the window has, row by row
    bool Exposed = false;      // the desktop lost the window's contents
    TForm* Owner = nullptr;    // the form it was opened over (modal forms), which it belongs to
    unsigned long XId = 0;
    // Where the window sits beyond Origin x Scale, in device pixels (a window
    // manager may put a window at any device pixel); windows it owns keep the
    // same, so a popup lines up with its edit to the device pixel.
    int DX = 0, DY = 0;
};

struct TSdlBackend::TImpl {
    int Scale = 1;
    SDL_Rect Display{};
    std::vector<std::unique_ptr<TFormWindow>> Windows;
    SDL_Surface* Icon = nullptr;
    TForm* Top = nullptr;
    std::vector<SDL_Cursor*> Cursors = std::vector<SDL_Cursor*>(SDL_NUM_SYSTEM_CURSORS, nullptr);
    SDL_SystemCursor Cursor = SDL_SYSTEM_CURSOR_ARROW;
    TPoint MousePos;
    bool MouseInside = false;
    int ButtonsDown = 0;
    TShiftState PostedShift; // the modifiers as the queued input leaves them
    long long PixelsCopied = 0;
    ::Display* X = nullptr;  // SDL's connection, once a window exists (X11 only)
    bool TextInput = false;  // SDL's text input is on (an edit has the focus)
    SDL_Rect TextRect{};     // where the input method's candidates go
    Uint16 KeyMod = 0;       // the modifiers after the latest key event
    bool Composing = false;  // an input method's text is shown
    bool FocusMoved = false; // the X focus changed: is the program still active?
    int RaiseCount = 0;      // Screen's, when the topmost window was last raised

    ~TImpl() {
        for (auto& w : Windows)
            SDL_DestroyWindow(w->Window);
        for (SDL_Cursor* c : Cursors)
            if (c) SDL_FreeCursor(c);
        if (Icon) SDL_FreeSurface(Icon);
    }

    TFormWindow* ById(Uint32 id) {
        for (auto& w : Windows)
            if (w->Id == id && IsLiveForm(w->Form)) return w.get();
        return nullptr;
    }
    TFormWindow* ByForm(const TForm* form) {
        for (auto& w : Windows)
            if (w->Form == form) return w.get();
        return nullptr;
    }

    TPoint ScreenPoint(const TFormWindow& w, int x, int y) const {
        return {w.Origin.X + x / Scale, w.Origin.Y + y / Scale};
    }

    // ---- windows

    // A form about to get its window is put on the screen, shrunk where it is
    // larger (at a high scale a form made for a small desktop can be).
    static void FitOnScreen(TForm* form) {
        const int width = std::min(form->Width(), Screen->Width());
        const int height = std::min(form->Height(), Screen->Height());
        const int left = std::clamp(form->Left(), 0, std::max(0, Screen->Width() - width));
        const int top = std::clamp(form->Top(), 0, std::max(0, Screen->Height() - height));
        if (left != form->Left() || top != form->Top() || width != form->Width() || height != form->Height())
            form->SetBounds(left, top, width, height);
    }

    int DeviceX(const TFormWindow& w, int x) const { return Display.x + x * Scale + w.DX; }
    int DeviceY(const TFormWindow& w, int y) const { return Display.y + y * Scale + w.DY; }

    void Create(TForm* form) {
        FitOnScreen(form);
        const TRect shown = ShownRect(form);
        const TPoint origin{form->Left() + shown.Left, form->Top() + shown.Top};
        auto w = std::make_unique<TFormWindow>();
        w->Form = form;
        w->Origin = origin;
        w->Width = shown.Width();
        w->Height = shown.Height();
        w->Title = form->Caption();
        // A modal form (a dialog, the calendar popup) belongs to the form that
        // was active before it: the desktop keeps it above that one, never
        // above other programs, and shows, hides and stacks them together.
        TFormWindow* owner = form->Modal() && Top ? ByForm(Top) : nullptr;
        if (owner) {
            w->Owner = Top;
            w->DX = owner->DX;
            w->DY = owner->DY;
        }
        Uint32 flags = SDL_WINDOW_HIDDEN;
        // A window the desktop manages (not one that floats above everything,
        // as a menu's): it belongs to its owner through the transient hint.
        if (form->BorderStyle() == bsNone)
            flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
        else if (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin)
            flags |= SDL_WINDOW_RESIZABLE;
        w->Window = SDL_CreateWindow(ToUtf8(w->Title).c_str(), DeviceX(*w, origin.X), DeviceY(*w, origin.Y),
                                     std::max(1, w->Width * Scale), std::max(1, w->Height * Scale), flags);
        if (!w->Window) return;
        w->Id = SDL_GetWindowID(w->Window);
        w->XId = XWindowOf(w->Window);
        if (!X) X = XDisplayOf(w->Window);
        if (Icon) SDL_SetWindowIcon(w->Window, Icon);
        if (owner) SDL_SetWindowModalFor(w->Window, owner->Window);
        SDL_ShowWindow(w->Window);
        Windows.push_back(std::move(w));
    }

    // Windows for the shown forms, at the framework's places and sizes.
    void Arrange() {
        const std::size_t before = Windows.size();
        std::erase_if(Windows, [](const std::unique_ptr<TFormWindow>& w) {
            const bool keep = IsLiveForm(w->Form) && w->Form->Visible() && w->Form->WindowSurface();
            if (!keep) SDL_DestroyWindow(w->Window);
            return !keep;
        });
        for (auto& w : Windows)
            if (w->Owner && !IsLiveForm(w->Owner)) w->Owner = nullptr;
        const bool closed = Windows.size() != before;
        TForm* top = nullptr;
        for (TForm* form : Screen->ZOrder()) {
            if (!form->Visible() || !form->WindowSurface()) continue;
            top = form;
            const TRect shown = ShownRect(form);
            const TPoint origin{form->Left() + shown.Left, form->Top() + shown.Top};
            TFormWindow* w = ByForm(form);
            if (!w) {
                Create(form);
                continue;
            }
            if (shown.Width() != w->Width || shown.Height() != w->Height) {
                w->Width = shown.Width();
                w->Height = shown.Height();
                w->Shown.clear();
                SDL_SetWindowSize(w->Window, std::max(1, w->Width * Scale), std::max(1, w->Height * Scale));
            }
            if (origin.X != w->Origin.X || origin.Y != w->Origin.Y) {
                w->Origin = origin;
                SDL_SetWindowPosition(w->Window, DeviceX(*w, origin.X), DeviceY(*w, origin.Y));
            }
            if (form->Caption() != w->Title) {
                w->Title = form->Caption();
                SDL_SetWindowTitle(w->Window, ToUtf8(w->Title).c_str());
            }
        }
        if (top != Top || Screen->RaiseCount() != RaiseCount) {
            Top = top;
            RaiseCount = Screen->RaiseCount();
            if (TFormWindow* w = ByForm(top)) SDL_RaiseWindow(w->Window);
        }
        if (closed) RestoreFocus();
    }

    // A window that had the keyboard focus closed. A window manager gives it
    // to another window; without one the focus would be nobody's, so the
    // active form's window takes it.
    void RestoreFocus() {
        if (!X || Windows.empty()) return;
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(X, &focus, &revert);
        if (focus != 0) return;
        TFormWindow* w = ByForm(Screen->ActiveForm());
        if (!w) w = ByForm(Top);
        if (w) SDL_SetWindowInputFocus(w->Window);
        FocusMoved = true;
    }

    // Whether the X focus is in one of the program's windows (a focus that
    // follows the pointer counts as in). A change repaints the focused
    // control (its caret stops or starts blinking) and tells the topmost
    // modal form, which may close on it.
    void UpdateActivation() {
        if (!FocusMoved || !X) return;
        FocusMoved = false;
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(X, &focus, &revert);
        bool active = focus == PointerRoot;
        for (auto& w : Windows)
            if (w->XId == focus) active = true;
        if (active == GetApplicationActive()) return;
        SetApplicationActive(active);
        if (TWinControl* focused = FocusedWindow()) focused->Invalidate();
        if (!Screen->ModalForms().empty())
            PostMessage(Screen->ModalForms().back(), active ? CM_ACTIVATE : CM_DEACTIVATE);
    }

    // Text input (the layout's characters, dead keys, compose, input methods)
    // is on while an edit that takes typing has the focus, with the input
    // method's candidates at its caret.
    void UpdateTextInput() {
        TForm* form = Screen->ActiveForm();
        auto* edit = dynamic_cast<TCustomEdit*>(FocusedWindow());
        TFormWindow* w = form ? ByForm(form) : nullptr;
        const bool want = edit && w && edit->TopLevel() == form && edit->CanFocus() && !edit->ReadOnly();
        if (!want) {
            if (TextInput) SDL_StopTextInput();
            TextInput = false;
            return;
        }
        const TRect caret = edit->CaretRect();
        const TPoint p = edit->ClientToScreen({caret.Left, caret.Top});
        const SDL_Rect r{(p.X - w->Origin.X) * Scale, (p.Y - w->Origin.Y) * Scale, caret.Width() * Scale,
                         caret.Height() * Scale};
        if (!TextInput) SDL_StartTextInput();
        TextInput = true;
        if (r.x != TextRect.x || r.y != TextRect.y || r.w != TextRect.w || r.h != TextRect.h) {
            TextRect = r;
            SDL_SetTextInputRect(&TextRect);
        }
    }

    // ---- pixels

    // Copies the rows top..bottom-1, columns left..right-1 of the shown
    // pixels to the window, each pixel a Scale x Scale block.
    void Copy(TFormWindow& w, SDL_Surface* target, int left, int top, int right, int bottom) {
        if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
        const bool xrgb = target->format->format == SDL_PIXELFORMAT_XRGB8888;
        for (int y = top; y < bottom; ++y) {
            const TPixel* src = w.Shown.data() + std::size_t(y) * std::size_t(w.Width);
            for (int dy = 0; dy < Scale; ++dy) {
                const int ty = y * Scale + dy;
                if (ty >= target->h) break;
                auto* row =
                    reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) + ty * target->pitch);
                for (int x = left; x < right; ++x) {
                    const TPixel c = src[x];
                    const Uint8 r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
                    const Uint32 v =
                        xrgb ? (Uint32(r) << 16) | (Uint32(g) << 8) | b : SDL_MapRGB(target->format, r, g, b);
                    for (int dx = 0; dx < Scale; ++dx) {
                        const int tx = x * Scale + dx;
                        if (tx < target->w) row[tx] = v;
                    }
                }
            }
        }
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
        PixelsCopied += static_cast<long long>(right - left) * (bottom - top);
    }

    // Finds what changed since the window was last drawn and copies only that.
    void Draw(TFormWindow& w) {
        const TSurface* surface = w.Form->WindowSurface();
        SDL_Surface* target = SDL_GetWindowSurface(w.Window);
        if (!surface || !target || target->format->BytesPerPixel != 4) return;
        const TRect shown = IntersectRects(ShownRect(w.Form), surface->Bounds());
        if (shown.Width() != w.Width || shown.Height() != w.Height) return; // resized: next pass
        const std::size_t area = std::size_t(w.Width) * std::size_t(w.Height);
        const bool full = w.Shown.size() != area;
        if (full) w.Shown.assign(area, 0);
        int left = w.Width, right = 0, top = w.Height, bottom = 0;
        for (int y = 0; y < w.Height; ++y) {
            const TPixel* src = surface->Row(shown.Top + y) + shown.Left;
            TPixel* have = w.Shown.data() + std::size_t(y) * std::size_t(w.Width);
            if (!full && std::memcmp(src, have, std::size_t(w.Width) * sizeof(TPixel)) == 0) continue;
            int a = 0, b = w.Width;
            if (!full) {
                while (src[a] == have[a])
                    ++a;
                while (src[b - 1] == have[b - 1])
                    --b;
            }
            std::memcpy(have, src, std::size_t(w.Width) * sizeof(TPixel));
            left = std::min(left, a);
            right = std::max(right, b);
            top = std::min(top, y);
            bottom = y + 1;
        }
        if (full) {
            left = top = 0;
            right = w.Width;
            bottom = w.Height;
        }
        if (left < right && top < bottom) {
            Copy(w, target, left, top, right, bottom);
            const SDL_Rect r{left * Scale, top * Scale, (right - left) * Scale, (bottom - top) * Scale};
            SDL_UpdateWindowSurfaceRects(w.Window, &r, 1);
            w.Exposed = false;
        } else if (w.Exposed) {
            SDL_UpdateWindowSurface(w.Window);
            w.Exposed = false;
        }
    }

    void UpdateCursor() {
        SDL_SystemCursor shape = SDL_SYSTEM_CURSOR_ARROW;
        TControl* control = CaptureControl();
        if (!control && MouseInside) {
            if (TForm* form = Screen->FormAtPoint(MousePos)) {
                const TPoint c = form->ScreenToClient(MousePos);
                if (c.X >= 0 && c.Y >= 0 && c.X < form->ClientWidth() && c.Y < form->ClientHeight())
                    control = form->DeepestControlAtPos(c);
            }
        }
        if (control)
            shape =
                SystemCursorFor(control->Cursor() != crDefault ? control->Cursor() : control->ClassCursor());
        if (shape == Cursor) return;
        Cursor = shape;
        if (!Cursors[shape]) Cursors[shape] = SDL_CreateSystemCursor(shape);
        if (Cursors[shape]) SDL_SetCursor(Cursors[shape]);
    }

    // ---- input

    void PostKey(TInputKind kind, Word key) {
        TInputEvent e;
        e.Kind = kind;
        e.Key = key;
        e.TextApart = kind == TInputKind::KeyDown && TextInput;
        MessageQueue().PostInput(e);
        TShiftStateItem item;
        if (key == VK_SHIFT)
            item = ssShift;
        else if (key == VK_CONTROL)
            item = ssCtrl;
        else if (key == VK_MENU)
            item = ssAlt;
        else
            return;
        if (kind == TInputKind::KeyDown)
            PostedShift << item;
        else
            PostedShift >> item;
    }

    // A modifier pressed or released while no window of ours had the
    // keyboard: the framework hears of it before the next key.
    void SyncModifiers(Uint16 mod) {
        const struct {
            Uint16 Mask;
            TShiftStateItem Item;
            Word Key;
        } mods[] = {
            {KMOD_SHIFT, ssShift, VK_SHIFT}, {KMOD_CTRL, ssCtrl, VK_CONTROL}, {KMOD_ALT, ssAlt, VK_MENU}};
        for (const auto& m : mods) {
            const bool down = (mod & m.Mask) != 0;
            if (down != PostedShift.Contains(m.Item))
                PostKey(down ? TInputKind::KeyDown : TInputKind::KeyUp, m.Key);
        }
    }

    void PostComposition(const String& text, int cursor) {
        Composing = !text.empty();
        TInputEvent e;
        e.Kind = TInputKind::Composition;
        e.Text = text;
        e.Cursor = cursor;
        MessageQueue().PostInput(e);
    }

    void PostMouse(TInputKind kind, const TPoint& p, TMouseButton button = mbLeft, int wheel = 0) {
        TInputEvent e;
        e.Kind = kind;
        e.Pos = p;
        e.Button = button;
        e.WheelDelta = wheel;
        MessageQueue().PostInput(e);
    }

    void WindowEvent(const SDL_WindowEvent& e) {
        TFormWindow* w = ById(e.windowID);
        if (!w) return;
        switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            PostMessage(w->Form, WM_CLOSE);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            w->Exposed = true;
            break;
        case SDL_WINDOWEVENT_MOVED: {
            // The user moved the window: the form follows, so popups open
            // beside its controls where they are now, and a borderless
            // window that belongs to it (the open calendar) moves with it,
            // to the same device pixel.
            const int x = e.data1 - Display.x, y = e.data2 - Display.y;
            const TPoint origin{FloorDiv(x, Scale), FloorDiv(y, Scale)};
            const int dx = origin.X - w->Origin.X, dy = origin.Y - w->Origin.Y;
            const bool remainder = x - origin.X * Scale != w->DX || y - origin.Y * Scale != w->DY;
            w->DX = x - origin.X * Scale;
            w->DY = y - origin.Y * Scale;
            if (dx == 0 && dy == 0 && !remainder) break;
            const TRect shown = ShownRect(w->Form);
            w->Origin = origin;
            w->Form->SetBounds(origin.X - shown.Left, origin.Y - shown.Top, w->Form->Width(),
                               w->Form->Height());
            for (auto& other : Windows) {
                if (other->Owner != w->Form || other->Form->BorderStyle() != bsNone) continue;
                other->DX = w->DX;
                other->DY = w->DY;
                other->Form->SetBounds(other->Form->Left() + dx, other->Form->Top() + dy,
                                       other->Form->Width(), other->Form->Height());
                if (dx == 0 && dy == 0)
                    SDL_SetWindowPosition(other->Window, DeviceX(*other, other->Origin.X),
                                          DeviceY(*other, other->Origin.Y));
            }
            break;
        }
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            const int width = e.data1 / Scale, height = e.data2 / Scale;
            if (width == w->Width && height == w->Height) break;
            w->Width = width;
            w->Height = height;
            w->Shown.clear();
            w->Form->SetClientWidth(width);
            w->Form->SetClientHeight(height);
            break;
        }
        case SDL_WINDOWEVENT_LEAVE:
            MouseInside = false;
            break;
        default:
            break;
        }
    }

    void Handle(const SDL_Event& e) {
        switch (e.type) {
        case SDL_QUIT:
            Application->Terminate();
            break;
        case SDL_WINDOWEVENT:
            WindowEvent(e.window);
            break;
        case SDL_SYSWMEVENT:
            if (e.syswm.msg && e.syswm.msg->subsystem == SDL_SYSWM_X11) {
                const int type = e.syswm.msg->msg.x11.event.type;
                if (type == FocusIn || type == FocusOut) FocusMoved = true;
            }
            break;
        case SDL_TEXTINPUT: {
            // Text typed with Ctrl or the left Alt is a shortcut's, which the
            // key itself delivers.
            if (KeyMod & (KMOD_CTRL | KMOD_LALT)) break;
            if (Composing) PostComposition("", 0);
            const std::string_view text(e.text.text);
            for (std::size_t i = 0; i < text.size();) {
                TInputEvent c;
                c.Kind = TInputKind::Character;
                c.Character = NextCodePoint(text, i);
                MessageQueue().PostInput(c);
            }
            break;
        }
        case SDL_TEXTEDITING:
            PostComposition(e.edit.text, Utf8Offset(e.edit.text, e.edit.start));
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            KeyMod = e.key.keysym.mod;
            // By the layout's symbol; a key whose symbol names no virtual key
            // by where it sits, so Ctrl+C is Ctrl+C on any layout.
            Word key = VirtualKeyFor(e.key.keysym.sym);
            if (!key) key = VirtualKeyForScancode(e.key.keysym.scancode);
            if (!key) break;
            if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU) SyncModifiers(e.key.keysym.mod);
            PostKey(e.type == SDL_KEYDOWN ? TInputKind::KeyDown : TInputKind::KeyUp, key);
            break;
        }
        case SDL_MOUSEMOTION:
            if (TFormWindow* w = ById(e.motion.windowID)) {
                MousePos = ScreenPoint(*w, e.motion.x, e.motion.y);
                MouseInside = true;
                PostMouse(TInputKind::MouseMove, MousePos);
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            TFormWindow* w = ById(e.button.windowID);
            if (!w) break;
            const TMouseButton button = e.button.button == SDL_BUTTON_RIGHT    ? mbRight
                                        : e.button.button == SDL_BUTTON_MIDDLE ? mbMiddle
                                                                               : mbLeft;
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT &&
                e.button.button != SDL_BUTTON_MIDDLE)
                break;
            SyncModifiers(static_cast<Uint16>(SDL_GetModState()));
            MousePos = ScreenPoint(*w, e.button.x, e.button.y);
            MouseInside = true;
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            ButtonsDown = std::max(0, ButtonsDown + (down ? 1 : -1));
            // The pointer belongs to the program from a press to the last
            // release, also outside its windows.
            SDL_CaptureMouse(ButtonsDown > 0 ? SDL_TRUE : SDL_FALSE);
            PostMouse(down ? TInputKind::MouseDown : TInputKind::MouseUp, MousePos, button);
            break;
        }
        case SDL_MOUSEWHEEL:
            if (ById(e.wheel.windowID)) {
                const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                if (notches) PostMouse(TInputKind::MouseWheel, MousePos, mbLeft, notches * 120);
            }
            break;
        default:
            break;
        }
    }
};

// ---------------------------------------------------------------- the backend

TSdlBackend::TSdlBackend() : F(std::make_unique<TImpl>()) {}

std::unique_ptr<TSdlBackend> TSdlBackend::Open(int scale, String& reason) {
    // The framework draws with its own fonts: the compositor bypass is not
    // wanted, nor an OpenGL stack behind the window surface (tens of
    // megabytes to show pixels the framework paints itself).
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reason = SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<TSdlBackend> backend(new TSdlBackend());
    TImpl& f = *backend->F;
    SDL_StopTextInput();
    // The raw X events tell when the keyboard focus moves (SDL reports it late).
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    if (SDL_GetDisplayBounds(0, &f.Display) != 0) f.Display = {0, 0, 1024, 768};
    if (scale <= 0) scale = ScaleForDensity(DisplayDensity());
    f.Scale = std::clamp(scale, 1, 8);
    Screen->SetSize(f.Display.w / f.Scale, f.Display.h / f.Scale);
    MessageQueue().SetRealTime(true);
    SetCaretBlinkTime(CaretBlinkTimeFromEnvironment());
    Clipboard().Connect(
        [] {
            String text;
            if (char* utf8 = SDL_GetClipboardText()) {
                text = ToUtf8(utf8);
                SDL_free(utf8);
            }
            return text;
        },
        [](const String& text) { SDL_SetClipboardText(ToUtf8(text).c_str()); });
    PrimarySelection().Connect(
        [] {
            String text;
            if (char* utf8 = SDL_GetPrimarySelectionText()) {
                text = ToUtf8(utf8);
                SDL_free(utf8);
            }
            return text;
        },
        [](const String& text) { SDL_SetPrimarySelectionText(ToUtf8(text).c_str()); });
    SetBeepSound([impl = backend->F.get()](UINT) {
        if (!impl->X) return;
        XBell(impl->X, 0);
        XFlush(impl->X);
    });
    // Assistive technologies reach the windows through the accessibility bridge,
    // which wakes the loop with an event of no meaning when a request comes.
    AccessibilityBridge::Start(f.Scale, [] {
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;
        SDL_PushEvent(&wake);
    });
    return backend;
}

TSdlBackend::~TSdlBackend() {
    AccessibilityBridge::Stop();
    SetBeepSound({});
    SetApplicationActive(true);
    PrimarySelection().Connect({}, {});
    Clipboard().Connect({}, {});
    SetCaretBlinkTime(0);
    MessageQueue().SetRealTime(false);
    F.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

bool TSdlBackend::Idle(bool hasTimer, Cardinal due) {
    Present();
    // The accessibility bridge answers what waits and bounds the sleep (-1: none).
    int wait = AccessibilityBridge::Pump();
    if (hasTimer) {
        const Cardinal now = MessageQueue().TickCount();
        const int untilDue = due > now ? static_cast<int>(due - now) : 0;
        wait = wait < 0 ? untilDue : std::min(wait, untilDue);
    }
    SDL_Event e;
    const int got = wait < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, wait);
    if (got) {
        F->Handle(e);
        PollEvents();
    }
    return true;
}

int TSdlBackend::PollEvents() {
    int count = 0;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        F->Handle(e);
        ++count;
    }
    return count;
}

void TSdlBackend::Present() {
    F->Arrange();
    F->UpdateActivation();
    F->UpdateTextInput();
    for (auto& w : F->Windows)
        F->Draw(*w);
    F->UpdateCursor();
}

void TSdlBackend::SetIcon(const TSurface& image) {
    if (F->Icon) SDL_FreeSurface(F->Icon);
    F->Icon = nullptr;
    if (image.Empty()) return;
    F->Icon = SDL_CreateRGBSurfaceWithFormat(0, image.Width(), image.Height(), 32, SDL_PIXELFORMAT_ABGR8888);
    if (!F->Icon) return;
    for (int y = 0; y < image.Height(); ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(F->Icon->pixels) + y * F->Icon->pitch);
        for (int x = 0; x < image.Width(); ++x)
            row[x] = 0xFF000000u | image.Pixel(x, y);
    }
    for (auto& w : F->Windows)
        SDL_SetWindowIcon(w->Window, F->Icon);
}

int TSdlBackend::Scale() const {
    return F->Scale;
}

int TSdlBackend::WindowCount() const {
    return static_cast<int>(F->Windows.size());
}

long long TSdlBackend::PixelsCopied() const {
    return F->PixelsCopied;
}

unsigned long TSdlBackend::NativeWindow(const TForm* form) const {
    const TFormWindow* w = F->ByForm(form);
    return w ? w->XId : 0;
}

std::unique_ptr<TBackend> CreateWindowBackend(int scale, String& reason) {
    return TSdlBackend::Open(scale, reason);
}

} // namespace fw
