#pragma once
// TComponent: named objects that own other components, tell each other when
// they go away, and are read from and written to form files.
//
// Ownership. `new TTimer(owner)` puts the timer in owner's list; the owner
// deletes what it owns when it is destroyed, last inserted first. Deleting an
// owned component with `delete` takes it out of its owner's list first.
//
// Notifications. Inserting a component calls Notification(c, opInsert) on the
// owner, and removing it Notification(c, opRemove); the base Notification
// passes both on to every owned component, so an override must call the base.
// (When every other owned component is one the form reader made of a class
// that does not override Notification, and owns nothing, an insert would do
// nothing in them; they are not called for it.)
// FreeNotification links two components (of any owners) so that each hears
// opRemove when the other is destroyed.
//
// Destruction. C++ destroys the derived parts of an object before
// ~TComponent runs. A class whose owned components or listeners need the
// derived parts alive while they go (controls whose children point at their
// parent) calls PrepareDestroy() first thing in its own destructor; the
// base destructor then finds the work done.

#include <cstddef>
#include <framework/classes/Object.h>
#include <framework/classes/Set.h>
#include <framework/rtl/Exceptions.h>
#include <map>
#include <memory>
#include <vector>

namespace fw {

class TComponentRefBase;

enum TComponentState {
    csLoading,    // being read from a form file; Loaded() clears it
    csReading,    // its properties are being read right now
    csWriting,    // being written to a form file
    csDestroying, // its destruction has begun
    csDesigning,  // lives in the designer
    csAncestor,   // read from an ancestor's form file
    csUpdating,   // inside a designer update
    csFixups,     // has references waiting to be resolved
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using TComponentStates = Set<TComponentState>;

enum TOperation { opInsert, opRemove };

// Misuse of components: a bad or duplicate name, a bad owner.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

class TComponent : public TPersistent {
    FW_CLASS(TComponent, TPersistent)

public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<std::size_t>(index)); }
    // Position in the owner's list, or -1 without an owner.
    int ComponentIndex() const;
    // The owned component of that name (case-insensitive), or nullptr.
    TComponent* FindComponent(const String& name) const;

    // Moves ownership. A component belongs to at most one owner; inserting it
    // elsewhere removes it from its old owner first.
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Deletes every owned component, last first.
    void DestroyComponents();

    // An identifier (letter or '_' then letters, digits, '_'), unique among
    // the owner's components regardless of case; empty is allowed. Anything
    // else raises EComponentError.
    const String& Name() const { return FName; }
    virtual void SetName(const String& NewName);

    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

    // Where the designer shows a non-visual component on its form. Classes that
    // publish DesignPosition() store it in form files as Left and Top.
    int DesignLeft() const { return FDesignLeft; }
    void SetDesignLeft(int value) { FDesignLeft = value; }
    int DesignTop() const { return FDesignTop; }
    void SetDesignTop(int value) { FDesignTop = value; }

    TComponentStates ComponentState() const { return FComponentState; }
    // Sets or clears csDesigning on this component and everything it owns.
    void SetDesigning(bool value, bool setChildren = true);

    // AComponent will hear Notification(this, opRemove) when this component
    // is destroyed, and this one when AComponent is.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Form-file hooks, overridden by the controls layer.
    // The object that encloses this one in a form file (its parent control).
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // Called by the reader with the enclosing object right after creation.
    virtual void SetParentComponent(TComponent* Value) {}
    // Calls proc for each component the writer nests inside this object when
    // writing `root`. The base lists, for the root only, the owned components
    // that have no parent.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);

    // Name of the published method bound to an event property by a form file
    // or the designer ("" when none). The writer writes it back.
    String EventBinding(const String& eventName) const;
    void SetEventBinding(const String& eventName, const String& methodName);

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Called once the whole form file has been read and references resolved;
    // the base clears csLoading. Overrides call the base.
    virtual void Loaded();
    // Marks the component destroying, notifies its free-notification
    // partners, deletes what it owns and leaves its owner. Idempotent.
    void PrepareDestroy();
    // Calls ValidateRename on the owner; raises on a clash.
    virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);

private:
    friend class TFormReader;
    friend class TComponentRefBase;

    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    // The name index of an owner of many components (below).
    void IndexName(TComponent* AComponent);
    void UnindexName(TComponent* AComponent);
    void SetReference(bool enable);
    void SetState(TComponentState state, bool on);
    void SetDeafToInserts(bool deaf);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    String FName;
    // Owned components by name in lower case, made once an owner holds many:
    // a name search per component read made a large form's reading quadratic.
    struct TNameIndex;
    std::unique_ptr<TNameIndex> FNameIndex;
    int FTag = 0;
    int FDesignLeft = 0;
    int FDesignTop = 0;
    TComponentStates FComponentState;
    std::map<String, String> FEventBindings;
    bool FDestroyPrepared = false;
    // Set by the form reader on a finished component whose class does not
    // override Notification, while it owns nothing: an insert into its owner
    // would reach only the base Notification and do nothing. Each owner counts
    // the owned components that are not so, and broadcasts an insert only when
    // one of them besides the new one is there (a form of many plain components
    // made a call per pair).
    bool FDeafToInserts = false;
    std::size_t FInsertListeners = 0;
    // The live TComponentRefs to this component (cleared when it goes).
    TComponentRefBase* FRefs = nullptr;
};

// True when `name` is a valid component name (empty counts as valid).
bool IsValidIdent(const String& name);

// How many components exist (made and not yet destroyed); tests look for leaks with it.
std::size_t LiveComponentCount();

} // namespace fw
