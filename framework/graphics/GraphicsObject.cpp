#include <framework/classes/Published.h>
#include <framework/graphics/Charset.h>
#include <framework/graphics/Color.h>
#include <framework/graphics/DeviceContext.h>
#include <framework/graphics/GraphicsObject.h>

namespace fw {

FW_PUBLISH(TGraphicsObject) {}

namespace {

bool GraphicsIdentsRegistered = false;

} // namespace

void RegisterGraphicsIdents() {
    if (GraphicsIdentsRegistered) return;
    GraphicsIdentsRegistered = true;
    RegisterIntegerIdents(
        ColorIdentKind,
        [](std::int64_t value, String& ident) {
            auto name = ColorToIdent(TColor(value));
            if (name) ident = *name;
            return name.has_value();
        },
        [](const String& ident, std::int64_t& value) {
            auto color = IdentToColor(ident);
            if (color) value = std::int64_t(*color);
            return color.has_value();
        });
    RegisterIntegerIdents(
        "TFontCharset",
        [](std::int64_t value, String& ident) {
            auto name = CharsetToIdent(int(value));
            if (name) ident = *name;
            return name.has_value();
        },
        [](const String& ident, std::int64_t& value) {
            auto charset = IdentToCharset(ident);
            if (charset) value = *charset;
            return charset.has_value();
        });
}

TGraphicsObject::TGraphicsObject() {
    RegisterGraphicsIdents();
}

TGraphicsObject::~TGraphicsObject() {
    ReleaseHandle();
}

void TGraphicsObject::ReleaseHandle() {
    if (!FHandle) return;
    // No device context may keep drawing with an object that is going away.
    TDeviceContext::DeselectEverywhere(FHandle.get());
    FHandle.reset();
}

void TGraphicsObject::Changed() {
    if (FHandle) {
        TDeviceContext::DeselectEverywhere(FHandle.get());
        FHandle->Retire();
        // The latest first; the oldest goes only when both places are taken (a handle
        // taken back leaves its place empty, and what is behind it stays).
        if (FRetired[0]) FRetired[1] = std::move(FRetired[0]);
        FRetired[0] = std::move(FHandle);
    }
    if (OnChange) OnChange(this);
}
TGdiObject* TGraphicsObject::HandleObject() {
    if (FHandle) return FHandle.get();
    for (std::unique_ptr<TGdiObject>& retired : FRetired)
        if (retired && Describes(*retired)) {
            FHandle = std::move(retired);
            FHandle->Revive();
            return FHandle.get();
        }
    FHandle = CreateHandleObject();
    return FHandle.get();
}

} // namespace fw
