#pragma once
// TCollection and TCollectionItem: a list of persistent items owned by a
// component property (grid columns, status-bar panels). A published
// collection property is written in form files as
//
//     Columns = <
//       item
//         Width = 64
//       end>
//
// each item's published properties in declaration order, defaults left out.

#include <framework/classes/Object.h>
#include <memory>
#include <vector>

namespace fw {

class TCollection;

class TCollectionItem : public TPersistent {
    FW_CLASS(TCollectionItem, TPersistent)

public:
    TCollectionItem() = default;
    TCollection* Collection() const { return FCollection; }
    // The position in the collection, or -1 outside one.
    int Index() const;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

class TCollection : public TPersistent {
    FW_CLASS(TCollection, TPersistent)

public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;
    // A collection of T items (T derives from TCollectionItem).
    template <typename T>
    static std::unique_ptr<TCollection> Of() {
        return std::make_unique<TCollection>(T::StaticClass(), [] { return std::make_unique<T>(); });
    }
    TCollection(const TClassInfo* itemClass, TItemFactory makeItem);
    ~TCollection() override;

    TCollectionItem* Add();
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count - 1.
    TCollectionItem* Items(int index) const;
    void Delete(int index);
    void Clear();
    // The class of the items Add makes.
    const TClassInfo* ItemClass() const { return FItemClass; }

    void Assign(const TPersistent* Source) override;

private:
    TItemFactory FMakeItem;
    const TClassInfo* FItemClass = nullptr;
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
};

} // namespace fw
