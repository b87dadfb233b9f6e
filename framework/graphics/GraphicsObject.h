#pragma once
// TGraphicsObject: the common part of TPen, TBrush and TFont. Each keeps a drawing-object
// handle made on first use and freed when a property changes, and tells OnChange.
// The handles given up at the last two changes are kept aside (dead to the
// outside, see TGdiObject::Retire) and taken back when the properties return to
// what one of them draws: painting that switches between two fonts or two pen
// colours, as the popup does for each cell, then makes no new handle.

#include <framework/classes/Object.h>
#include <framework/graphics/GdiObjects.h>
#include <memory>

namespace fw {

class TGraphicsObject : public TPersistent {
    FW_CLASS(TGraphicsObject, TPersistent)

public:
    TGraphicsObject();
    ~TGraphicsObject() override;

    // Fired after every effective change, with this object as Sender.
    TNotifyEvent OnChange;

protected:
    // Frees the handle and fires OnChange.
    void Changed();
    // The handle, made by CreateHandleObject when none is held.
    TGdiObject* HandleObject();
    virtual std::unique_ptr<TGdiObject> CreateHandleObject() const = 0;
    // Whether handle, one CreateHandleObject made, draws what the properties say now.
    virtual bool Describes(const TGdiObject& handle) const = 0;

private:
    std::unique_ptr<TGdiObject> FHandle;
    std::unique_ptr<TGdiObject> FRetired[2]; // given up at the last changes, the latest first
    void ReleaseHandle();
};

// Registers the colour and charset identifiers with the form files (once; later calls do
// nothing). Making any pen, brush or font calls it.
void RegisterGraphicsIdents();

} // namespace fw
