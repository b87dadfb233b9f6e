#include <framework/classes/ClassRegistry.h>
#include <framework/rtl/SysUtils.h>
#include <map>

namespace fw {

namespace {

// ASCII letters folded, as SameText compares names.
String Key(const String& name) {
    return LowerCase(name);
}

// Registered classes by lower-case name; a deliberate process-wide registry.
std::map<String, const TClassInfo*>& Registry() {
    static std::map<String, const TClassInfo*> classes;
    return classes;
}

} // namespace

void RegisterClass(const TClassInfo* cls) {
    auto [it, inserted] = Registry().emplace(Key(cls->Name), cls);
    if (!inserted && it->second != cls)
        throw EComponentError("a different class named " + cls->Name + " is already registered");
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
    for (const TClassInfo* cls : classes)
        RegisterClass(cls);
}

void UnRegisterClass(const TClassInfo* cls) {
    auto it = Registry().find(Key(cls->Name));
    if (it != Registry().end() && it->second == cls) Registry().erase(it);
}

const TClassInfo* GetClass(const String& name) {
    auto it = Registry().find(Key(name));
    return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo* FindClass(const String& name) {
    const TClassInfo* cls = GetClass(name);
    if (cls == nullptr) throw EClassNotFound("Class " + name + " not found");
    return cls;
}

} // namespace fw
