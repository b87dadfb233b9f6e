#pragma once
// TComponentRef<T>: a pointer to a component that turns null as soon as the
// component's destruction begins. Event handlers may free anything, their own
// sender included; code that goes on after calling one holds a reference to
// what it works with and checks it before touching it again:
//
//     TComponentRef<TQzDateEdit> Self(this);
//     if (OnOpenCalendar) OnOpenCalendar(this);
//     if (!Self) return false;        // the handler freed the edit
//
// A component keeps the list of references to it; they live on the stack (or,
// for one kept between events, in a long-lived object re-aimed with Reset), so
// nothing is allocated.

#include <framework/classes/Component.h>

namespace fw {

class TComponentRefBase {
public:
    explicit TComponentRefBase(TComponent* component);
    ~TComponentRefBase();
    TComponentRefBase(const TComponentRefBase&) = delete;
    TComponentRefBase& operator=(const TComponentRefBase&) = delete;

protected:
    // Leaves the component referred to so far and refers to Component instead.
    void Reset(TComponent* component);

    TComponent* FComponent = nullptr;

private:
    friend class TComponent;
    void Link(TComponent* component);
    void Unlink();

    TComponentRefBase* FNext = nullptr;
};

template <class T>
class TComponentRef : public TComponentRefBase {
public:
    explicit TComponentRef(T* component) : TComponentRefBase(component) {}
    void Reset(T* component) { TComponentRefBase::Reset(component); }
    T* Get() const { return static_cast<T*>(FComponent); }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return FComponent != nullptr; }
};

} // namespace fw
