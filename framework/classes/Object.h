#pragma once
// TObject, the root of every framework class, and TPersistent, the base of
// everything that has published properties.
//
// Each class names itself with FW_CLASS inside its declaration and describes
// its published part with FW_PUBLISH in its .cpp (see Published.h):
//
//     class TQzLED : public TGraphicControl {
//         FW_CLASS(TQzLED, TGraphicControl)
//     public:
//         ...
//     };
//
// FW_CLASS declares `inherited`, the static `StaticClass()` and the
// `ClassInfo()` override, and leaves the access at `private:` (the default
// of a class). A class without FW_CLASS reports its nearest ancestor's class.

#include <framework/rtl/Types.h>
#include <functional>

namespace fw {

struct TClassInfo;
class TObject;
template <typename T>
class TClassBuilder;

// The event type of most notifications: the object that sends it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

#define FW_CLASS(Class, Base)                                                                                \
public:                                                                                                      \
    using inherited = Base;                                                                                  \
    static const ::fw::TClassInfo* StaticClass();                                                            \
    const ::fw::TClassInfo* ClassInfo() const override {                                                     \
        return StaticClass();                                                                                \
    }                                                                                                        \
    static void PublishClass(::fw::TClassBuilder<Class>& cls);                                               \
    friend class ::fw::TClassBuilder<Class>;                                                                 \
                                                                                                             \
private:

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo* StaticClass();
    virtual const TClassInfo* ClassInfo() const { return StaticClass(); }

    // The class name as registered ("TQzLED").
    const String& ClassName() const;
    // True when this object's class is `cls` or derives from it.
    bool InheritsFrom(const TClassInfo* cls) const;
    // `opener->is<TQzDateEdit>()`: this object is a T or a descendant of T.
    template <typename T>
    bool is() const {
        return InheritsFrom(T::StaticClass());
    }
};

class TPersistent : public TObject {
    FW_CLASS(TPersistent, TObject)

public:
    // Copies Source's state into this object. The base asks Source to
    // AssignTo this object; unsupported pairs raise EConvertError.
    virtual void Assign(const TPersistent* Source);

protected:
    // Copies this object's state into Dest; the base raises EConvertError.
    virtual void AssignTo(TPersistent* Dest) const;
};

} // namespace fw
