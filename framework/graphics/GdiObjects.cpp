#include <framework/graphics/FontEngine.h>
#include <framework/graphics/GdiObjects.h>
#include <unordered_set>

namespace fw {

namespace {

// Every live drawing object: the table that makes handles checkable.
std::unordered_set<const void*>& LiveObjects() {
    static std::unordered_set<const void*> objects;
    return objects;
}

std::size_t& StockCount() {
    static std::size_t count = 0;
    return count;
}

} // namespace

TGdiObject::TGdiObject(TGdiKind kind) : FKind(kind) {
    LiveObjects().insert(this);
}

TGdiObject::~TGdiObject() {
    LiveObjects().erase(this);
    if (FStock) --StockCount();
}

void TGdiObject::MarkStock() {
    if (!FStock) ++StockCount();
    FStock = true;
}

bool IsLiveGdiObject(const void* p) {
    return p && LiveObjects().count(p) != 0;
}

std::size_t LiveGdiObjectCount() {
    return LiveObjects().size() - StockCount();
}

TFontInstance& TGdiFont::Instance() {
    if (!FInstance) FInstance = &GetFontInstance(TFontRequest{Log.Name, Log.Height, Log.Bold, Log.Italic});
    return *FInstance;
}

} // namespace fw
