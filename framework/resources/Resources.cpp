#include <algorithm>
#include <framework/graphics/BmpCodec.h>
#include <framework/resources/Resources.h>
#include <framework/rtl/Exceptions.h>
#include <optional>
#include <unordered_map>

namespace fw {

namespace {

std::uint64_t LoadBitmapCalls = 0;

std::vector<TResourceModule*>& Modules() {
    static std::vector<TResourceModule*> modules;
    return modules;
}

// Decoded pictures by the resource bytes they came from. A popup loads the same
// eight bitmaps every time it opens; decoding them was a tenth of its opening.
// An entry counts only while the bytes at that address are still the ones it
// was decoded from (a module freed and another loaded may reuse the address).
struct TDecoded {
    TResourceBytes Bytes;
    std::optional<TSurface> Pixels; // none: the bytes are not a readable bitmap
};
constexpr std::size_t MaxDecoded = 256;

const std::optional<TSurface>& DecodeCached(const TResourceBytes& bytes) {
    static std::unordered_map<const TResourceBytes*, TDecoded> cache;
    auto it = cache.find(&bytes);
    if (it != cache.end() && it->second.Bytes == bytes) return it->second.Pixels;
    if (it == cache.end() && cache.size() >= MaxDecoded) cache.clear();
    TDecoded& entry = cache[&bytes];
    entry.Bytes = bytes;
    try {
        entry.Pixels = DecodeBmp(bytes).Pixels;
    } catch (const EInvalidGraphic&) {
        entry.Pixels.reset(); // an unreadable resource loads like a missing one
    }
    return entry.Pixels;
}

HBITMAP Decode(const TResourceBytes* bytes) {
    if (!bytes) return nullptr;
    const std::optional<TSurface>& pixels = DecodeCached(*bytes);
    return pixels ? CreateBitmapFromSurface(*pixels) : nullptr;
}

} // namespace

void RegisterResourceModule(TResourceModule* module) {
    auto& m = Modules();
    if (module && std::find(m.begin(), m.end(), module) == m.end()) m.push_back(module);
}

void UnregisterResourceModule(TResourceModule* module) {
    auto& m = Modules();
    m.erase(std::remove(m.begin(), m.end(), module), m.end());
}

const std::vector<TResourceModule*>& ResourceModules() {
    return Modules();
}

HINSTANCE FrameworkInstance() {
    static TResourceModule module("qzframework");
    RegisterResourceModule(&module);
    return &module;
}

HBITMAP LoadBitmapA(HINSTANCE instance, int id) {
    ++LoadBitmapCalls;
    return instance ? Decode(instance->FindBitmap(id)) : nullptr;
}

HBITMAP LoadBitmapA(HINSTANCE instance, const char* name) {
    ++LoadBitmapCalls;
    return instance && name ? Decode(instance->FindBitmap(String(name))) : nullptr;
}

std::uint64_t LoadBitmapCallCount() {
    return LoadBitmapCalls;
}

String LoadStr(HINSTANCE instance, int id) {
    const String* s = instance ? instance->FindString(id) : nullptr;
    return s ? *s : String();
}

const String* FindFormResource(const String& name) {
    const auto& m = Modules();
    for (auto it = m.rbegin(); it != m.rend(); ++it)
        if (const String* text = (*it)->FindForm(name)) return text;
    return nullptr;
}

} // namespace fw
