#pragma once
// The class registry: component classes by name, for the form reader and the
// designer.
//
// Registration is explicit, so it works from static libraries (where the
// linker may drop object files whose only purpose is a static initialiser):
// each library offers one function that registers its classes, e.g.
//
//     void RegisterControlClasses() { fw::RegisterClasses({TEdit::StaticClass(), TTimer::StaticClass()}); }
//
// and programs or form constructors call it before reading form files. The
// form reader also finds, without registration, the class of every component
// field that the root publishes (`cls.Field("tmr", &TfrmQzCal::tmr)`).

#include <framework/classes/Published.h>
#include <initializer_list>

namespace fw {

// A class name that is neither registered nor reachable.
class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

// Registering the same class again does nothing; another class under a
// registered name raises EComponentError.
void RegisterClass(const TClassInfo* cls);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
template <typename T>
void RegisterClass() {
    RegisterClass(T::StaticClass());
}
void UnRegisterClass(const TClassInfo* cls);

// The registered class of that name (ignoring case), or nullptr.
const TClassInfo* GetClass(const String& name);
// As GetClass, but raises EClassNotFound ("Class TFoo not found").
const TClassInfo* FindClass(const String& name);

} // namespace fw
