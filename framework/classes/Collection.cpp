#include <algorithm>
#include <framework/classes/Collection.h>
#include <framework/classes/Published.h>
#include <framework/classes/TypInfo.h>
#include <framework/rtl/ListError.h>

namespace fw {

FW_PUBLISH(TCollectionItem) {}
FW_PUBLISH(TCollection) {}

int TCollectionItem::Index() const {
    if (FCollection == nullptr) return -1;
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this) return i;
    return -1;
}

TCollection::TCollection(const TClassInfo* itemClass, TItemFactory makeItem)
    : FMakeItem(std::move(makeItem)), FItemClass(itemClass) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Add() {
    // Most collections hold a few items: room for four at once.
    if (FItems.capacity() == 0) FItems.reserve(4);
    FItems.push_back(FMakeItem());
    FItems.back()->FCollection = this;
    return FItems.back().get();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("list index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<std::size_t>(index)].get();
}

void TCollection::Delete(int index) {
    Items(index); // checks the index
    FItems.erase(FItems.begin() + index);
}

void TCollection::Clear() {
    FItems.clear();
}

// Copies the items' published properties; both collections must hold the
// same item class.
void TCollection::Assign(const TPersistent* Source) {
    const auto* other = dynamic_cast<const TCollection*>(Source);
    if (other == nullptr || other->FItemClass != FItemClass) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this) return;
    Clear();
    for (int i = 0; i < other->Count(); ++i) {
        TCollectionItem* item = Add();
        for (const TPropInfo* p : GetPropList(item))
            if (p->Kind != TTypeKind::Class && p->Kind != TTypeKind::Event && p->Writable())
                SetPropText(item, p->Name, GetPropText(other->Items(i), p->Name));
    }
}

} // namespace fw
