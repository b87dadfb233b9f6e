#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <framework/classes/Component.h>
#include <framework/classes/ComponentRef.h>
#include <framework/classes/Published.h>
#include <framework/rtl/SysUtils.h>
#include <framework/rtl/Utf8.h>
#include <iterator>
#include <unordered_map>

namespace fw {

namespace {

// Components alive, for LiveComponentCount (one user-interface thread).
std::size_t LiveComponents = 0;

// Searched from the end: components go last first (an owner's destruction
// made this a pass over the whole list per component).
void EraseOne(std::vector<TComponent*>& list, TComponent* c) {
    auto it = std::find(list.rbegin(), list.rend(), c);
    if (it != list.rend()) list.erase(std::next(it).base());
}

} // namespace

bool IsValidIdent(const String& name) {
    if (name.empty()) return true;
    // Letters beyond ASCII are allowed as UTF-8; any non-ASCII character counts as one.
    if (!IsValidUtf8(name)) return false;
    auto isStart = [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
    };
    auto isPart = [isStart](unsigned char c) { return isStart(c) || (c >= '0' && c <= '9'); };
    if (!isStart(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](char c) { return isPart(static_cast<unsigned char>(c)); });
}

FW_PUBLISH(TComponent) {
    cls.Str("Name", &TComponent::Name, &TComponent::SetName).NotStored();
    cls.Int("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr) AOwner->InsertComponent(this);
    ++LiveComponents; // after the only step that may raise: the destructor then runs
}

TComponentRefBase::TComponentRefBase(TComponent* component) {
    Link(component);
}

TComponentRefBase::~TComponentRefBase() {
    Unlink();
}

void TComponentRefBase::Reset(TComponent* component) {
    if (component == FComponent) return;
    Unlink();
    Link(component);
}

void TComponentRefBase::Link(TComponent* component) {
    // A component whose destruction has begun is already gone for its references.
    FComponent = component && !component->FDestroyPrepared ? component : nullptr;
    if (FComponent) {
        FNext = FComponent->FRefs;
        FComponent->FRefs = this;
    }
}

void TComponentRefBase::Unlink() {
    if (!FComponent) return;
    for (TComponentRefBase** p = &FComponent->FRefs; *p; p = &(*p)->FNext)
        if (*p == this) {
            *p = FNext;
            break;
        }
    FComponent = nullptr;
    FNext = nullptr;
}

TComponent::~TComponent() {
    PrepareDestroy();
    --LiveComponents;
}

std::size_t LiveComponentCount() {
    return LiveComponents;
}

void TComponent::PrepareDestroy() {
    if (FDestroyPrepared) return;
    FDestroyPrepared = true;
    FComponentState.Include(csDestroying);
    // Code holding a reference learns that the component is going.
    while (FRefs) {
        TComponentRefBase* ref = FRefs;
        FRefs = ref->FNext;
        ref->FComponent = nullptr;
        ref->FNext = nullptr;
    }

    // Partners that share our owner hear of it through the owner below.
    while (!FFreeNotifies.empty()) {
        TComponent* partner = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        EraseOne(partner->FFreeNotifies, this);
        const bool reachedByOwner = FOwner != nullptr && (partner == FOwner || partner->FOwner == FOwner);
        if (!reachedByOwner) partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
    if (FOwner == nullptr) return -1;
    const auto& list = FOwner->FComponents;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

namespace {

// Names hashed and compared as SameText compares them (ASCII letters without case).
struct TFoldedHash {
    std::size_t operator()(std::string_view s) const {
        std::uint64_t h = 14695981039346656037u; // FNV-1a
        for (const char c : s) {
            h ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            h *= 1099511628211u;
        }
        return static_cast<std::size_t>(h);
    }
};
struct TFoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};

} // namespace

struct TComponent::TNameIndex {
    // The first component in FComponents of each name (names are unique unless
    // an override of ValidateRename lets a clash through). The key views the
    // component's own name, which changes only once it is out of the index.
    std::unordered_map<std::string_view, TComponent*, TFoldedHash, TFoldedEqual> ByName;
};

namespace {

// Owners with fewer components search their list.
constexpr std::size_t NameIndexThreshold = 32;

} // namespace

TComponent* TComponent::FindComponent(const String& name) const {
    if (name.empty()) return nullptr;
    if (!FNameIndex && FComponents.size() >= NameIndexThreshold) {
        auto* self = const_cast<TComponent*>(this);
        self->FNameIndex = std::make_unique<TNameIndex>();
        for (TComponent* c : FComponents)
            self->IndexName(c);
    }
    if (FNameIndex) {
        auto it = FNameIndex->ByName.find(name);
        return it == FNameIndex->ByName.end() ? nullptr : it->second;
    }
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::IndexName(TComponent* AComponent) {
    if (FNameIndex && !AComponent->FName.empty()) FNameIndex->ByName.emplace(AComponent->FName, AComponent);
}

void TComponent::UnindexName(TComponent* AComponent) {
    if (!FNameIndex || AComponent->FName.empty()) return;
    auto it = FNameIndex->ByName.find(AComponent->FName);
    if (it == FNameIndex->ByName.end() || it->second != AComponent) return;
    FNameIndex->ByName.erase(it);
    // Another component of the same name, if a clash was let through, is found next.
    for (TComponent* c : FComponents)
        if (c != AComponent && SameText(c->FName, AComponent->FName)) {
            FNameIndex->ByName.emplace(c->FName, c);
            break;
        }
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->FOwner == this) return;
    if (AComponent == this) throw EComponentError("a component cannot own itself");
    ValidateRename(AComponent, String(), AComponent->FName);
    if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
    SetDeafToInserts(false); // what it owns now may listen
    Insert(AComponent);
    AComponent->SetReference(true);
    if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    AComponent->SetReference(false);
    Remove(AComponent);
}

void TComponent::DestroyComponents() {
    FNameIndex.reset(); // everything goes: no use keeping it up to date
    for (TComponent* c : FComponents)
        c->FComponentState.Include(csDestroying);
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        c->SetReference(false);
        Remove(c);
        delete c;
    }
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    if (!AComponent->FDeafToInserts) ++FInsertListeners;
    IndexName(AComponent);
}

void TComponent::Remove(TComponent* AComponent) {
    UnindexName(AComponent);
    EraseOne(FComponents, AComponent);
    AComponent->FOwner = nullptr;
    if (!AComponent->FDeafToInserts) --FInsertListeners;
}

void TComponent::SetReference(bool enable) {
    if (FOwner == nullptr || FName.empty() || FOwner->FComponentState.Contains(csDestroying)) return;
    const TFieldInfo* field = FOwner->ClassInfo()->FindField(FName);
    if (field == nullptr) return;
    if (enable) {
        if (ClassInfo()->InheritsFrom(field->FieldClass())) field->Set(FOwner, this);
    } else if (field->Get(FOwner) == this) {
        field->Set(FOwner, nullptr);
    }
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
    if (AComponent != nullptr && !SameText(CurName, NewName) && FindComponent(NewName) != nullptr)
        throw EComponentError("a component named '" + NewName + "' already exists");
}

void TComponent::SetName(const String& NewName) {
    if (FName == NewName) return;
    if (!IsValidIdent(NewName)) throw EComponentError("'" + NewName + "' is not a valid component name");
    if (FOwner != nullptr) FOwner->ValidateRename(this, FName, NewName);
    SetReference(false);
    if (FOwner != nullptr) FOwner->UnindexName(this);
    FName = NewName;
    if (FOwner != nullptr) FOwner->IndexName(this);
    SetReference(true);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
    if (value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (setChildren)
        for (TComponent* c : FComponents)
            c->SetDesigning(value);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
        AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr) return;
    EraseOne(FFreeNotifies, AComponent);
    EraseOne(AComponent->FFreeNotifies, this);
}

void TComponent::SetDeafToInserts(bool deaf) {
    if (deaf == FDeafToInserts) return;
    FDeafToInserts = deaf;
    if (FOwner == nullptr) return;
    if (deaf)
        --FOwner->FInsertListeners;
    else
        ++FOwner->FInsertListeners;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
    if (Operation == opInsert) {
        const bool newListener = AComponent != nullptr && AComponent->FOwner == this && !AComponent->FDeafToInserts;
        if (FInsertListeners == (newListener ? 1u : 0u)) return;
    }
    // A notified component may free others; re-check the bound every step.
    for (std::size_t i = 0; i < FComponents.size(); ++i)
        if (FComponents[i] != AComponent) FComponents[i]->Notification(AComponent, Operation);
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    if (root != this) return;
    for (TComponent* c : FComponents)
        if (!c->HasParent()) proc(c);
}

String TComponent::EventBinding(const String& eventName) const {
    auto it = FEventBindings.find(eventName);
    return it == FEventBindings.end() ? String() : it->second;
}

void TComponent::SetEventBinding(const String& eventName, const String& methodName) {
    if (methodName.empty())
        FEventBindings.erase(eventName);
    else
        FEventBindings[eventName] = methodName;
}

void TComponent::SetState(TComponentState state, bool on) {
    if (on)
        FComponentState.Include(state);
    else
        FComponentState.Exclude(state);
}

} // namespace fw
