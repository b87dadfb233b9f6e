// Built instead of the window backend when SDL2 was not found.

#include <framework/backends/WindowBackend.h>

namespace fw {

std::unique_ptr<TBackend> CreateWindowBackend(int, String& reason) {
    reason = "the framework was built without SDL2";
    return nullptr;
}

} // namespace fw
