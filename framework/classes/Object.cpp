#include <framework/classes/Object.h>
#include <framework/classes/Published.h>

namespace fw {

const TClassInfo* TObject::StaticClass() {
    static const TClassInfo info = [] {
        TClassInfo i;
        i.Name = "TObject";
        return i;
    }();
    return &info;
}

const String& TObject::ClassName() const {
    return ClassInfo()->Name;
}

bool TObject::InheritsFrom(const TClassInfo* cls) const {
    return ClassInfo()->InheritsFrom(cls);
}

FW_PUBLISH(TPersistent) {}

void TPersistent::Assign(const TPersistent* Source) {
    if (Source == nullptr) throw EConvertError("cannot assign nil to a " + ClassName());
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    throw EConvertError("cannot assign a " + ClassName() + " to a " + Dest->ClassName());
}

} // namespace fw
