#include <algorithm>
#include <framework/graphics/BmpCodec.h>
#include <framework/resources/Resources.h>
#include <framework/rtl/Exceptions.h>

namespace fw {

namespace {

std::uint64_t LoadBitmapCalls = 0;

std::vector<TResourceModule*>& Modules() {
    static std::vector<TResourceModule*> modules;
    return modules;
}

HBITMAP Decode(const TResourceBytes* bytes) {
    if (!bytes) return nullptr;
    try {
        return CreateBitmapFromSurface(DecodeBmp(*bytes).Pixels);
    } catch (const EInvalidGraphic&) {
        return nullptr; // an unreadable resource loads like a missing one
    }
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
