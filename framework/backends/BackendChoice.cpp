// Choosing the backend: a window where a display is there, the headless
// screen otherwise, unless the command line or the environment says which.

#include <cstdlib>
#include <cstring>
#include <framework/backends/WindowBackend.h>
#include <framework/backends/headless/HeadlessBackend.h>
#include <framework/forms/Form.h>
#include <framework/rtl/SysUtils.h>

namespace fw {

namespace {

String Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? String(value) : String();
}

int ReadScale(const String& text, const char* where) {
    int scale = 0;
    if (!TryStrToInt(text, scale) || scale < 1 || scale > 8)
        throw EConvertError(String(where) + ": the scale must be a whole number from 1 to 8, not '" + text +
                            "'");
    return scale;
}

// Whether a desktop is there to open windows on (or the caller named the
// video driver to use).
bool DisplayAvailable() {
    return !Environment("DISPLAY").empty() || !Environment("WAYLAND_DISPLAY").empty() ||
           !Environment("SDL_VIDEODRIVER").empty();
}

} // namespace

TBackendRequest ReadBackendRequest(int& argc, char** argv) {
    TBackendRequest request;
    const String kind = LowerCase(Environment("QZ_BACKEND"));
    if (kind == "headless")
        request.Kind = TBackendKind::Headless;
    else if (kind == "window")
        request.Kind = TBackendKind::Window;
    else if (!kind.empty() && kind != "auto")
        throw EConvertError("QZ_BACKEND: 'headless', 'window' or 'auto', not '" + kind + "'");
    if (const String scale = Environment("QZ_SCALE"); !scale.empty())
        request.Scale = ReadScale(scale, "QZ_SCALE");

    // The options win over the environment; they are taken out of argv so
    // that the program sees only its own.
    int kept = argc > 0 ? 1 : 0;
    for (int i = kept; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--headless") == 0) {
            request.Kind = TBackendKind::Headless;
        } else if (std::strcmp(arg, "--window") == 0) {
            request.Kind = TBackendKind::Window;
        } else if (std::strcmp(arg, "--scale") == 0) {
            if (i + 1 >= argc) throw EConvertError("--scale: a number from 1 to 8 must follow");
            request.Scale = ReadScale(argv[++i], "--scale");
        } else if (std::strncmp(arg, "--scale=", 8) == 0) {
            request.Scale = ReadScale(arg + 8, "--scale");
        } else {
            argv[kept++] = argv[i];
        }
    }
    if (argc > 0) {
        argc = kept;
        argv[argc] = nullptr;
    }
    return request;
}

std::unique_ptr<TBackend> CreateBackend(const TBackendRequest& request) {
    if (request.Kind == TBackendKind::Headless || (request.Kind == TBackendKind::Auto && !DisplayAvailable()))
        return std::make_unique<THeadlessBackend>();
    String reason;
    if (std::unique_ptr<TBackend> window = CreateWindowBackend(request.Scale, reason)) return window;
    if (request.Kind == TBackendKind::Window) throw EInvalidOperation("No window can be opened: " + reason);
    return std::make_unique<THeadlessBackend>();
}

} // namespace fw
