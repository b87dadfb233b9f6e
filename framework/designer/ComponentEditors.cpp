#include <framework/classes/Published.h>
#include <framework/designer/ComponentEditors.h>
#include <vector>

namespace fw {

void TComponentEditor::Edit() {
    if (GetVerbCount() > 0) ExecuteVerb(0);
}

void TComponentEditor::ExecuteVerb(int) {}

String TComponentEditor::GetVerb(int) {
    return {};
}

int TComponentEditor::GetVerbCount() {
    return 0;
}

namespace {

struct TRegistration {
    const TClassInfo* ComponentClass;
    TComponentEditorClass Editor;
};

std::vector<TRegistration>& Registrations() {
    static std::vector<TRegistration> list;
    return list;
}

} // namespace

void RegisterComponentEditor(const TClassInfo* ComponentClass, TComponentEditorClass EditorClass) {
    Registrations().push_back({ComponentClass, EditorClass});
}

void ClearComponentEditors() {
    Registrations().clear();
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer) {
    // The nearest class with a registration; among registrations for it, the latest.
    for (const TClassInfo* cls = Component->ClassInfo(); cls != nullptr; cls = cls->Parent)
        for (auto r = Registrations().rbegin(); r != Registrations().rend(); ++r)
            if (r->ComponentClass == cls) return r->Editor(Component, Designer);
    return std::make_unique<TComponentEditor>(Component, Designer);
}

} // namespace fw
