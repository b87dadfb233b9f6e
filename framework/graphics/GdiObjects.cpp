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

// Retired objects stay in the table (a flag and this count set them apart):
// taking one back is then no table change.
std::size_t& RetiredCount() {
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
    if (FRetired) --RetiredCount();
}

void TGdiObject::Retire() {
    if (FRetired || FStock) return;
    FRetired = true;
    ++RetiredCount();
}

void TGdiObject::Revive() {
    if (!FRetired) return;
    FRetired = false;
    --RetiredCount();
}

void TGdiObject::MarkStock() {
    if (!FStock) ++StockCount();
    FStock = true;
}

bool IsLiveGdiObject(const void* p) {
    if (!p) return false;
    const auto& objects = LiveObjects();
    const auto it = objects.find(p);
    return it != objects.end() && !static_cast<const TGdiObject*>(*it)->Retired();
}

std::size_t LiveGdiObjectCount() {
    return LiveObjects().size() - StockCount() - RetiredCount();
}

TFontInstance& TGdiFont::Instance() {
    if (!FInstance) FInstance = &GetFontInstance(TFontRequest{Log.Name, Log.Height, Log.Bold, Log.Italic});
    return *FInstance;
}

} // namespace fw
