#pragma once
// Component editors: the verbs a component adds to its context menu in the designer, and what a
// double-click on it does.
//
//     fw::RegisterComponentEditor<TQzComponentEditor>(TQzLED::StaticClass());
//
// The editor registered for the nearest class of a component serves it (the later registration
// wins for the same class); without one the default editor has no verbs.

#include <framework/designer/Designer.h>
#include <memory>

namespace fw {

class TComponentEditor {
public:
    TComponentEditor(TComponent* AComponent, IDesigner* ADesigner)
        : FComponent(AComponent), FDesigner(ADesigner) {}
    TComponentEditor(const TComponentEditor&) = delete;
    TComponentEditor& operator=(const TComponentEditor&) = delete;
    virtual ~TComponentEditor() = default;

    // The double-click action: runs verb 0 when there is one.
    virtual void Edit();
    virtual void ExecuteVerb(int Index);
    virtual String GetVerb(int Index);
    virtual int GetVerbCount();

    TComponent* Component() const { return FComponent; }
    IDesigner* Designer() const { return FDesigner; }

private:
    TComponent* FComponent;
    IDesigner* FDesigner;
};

using TComponentEditorClass = std::unique_ptr<TComponentEditor> (*)(TComponent*, IDesigner*);

template <typename E>
std::unique_ptr<TComponentEditor> MakeComponentEditor(TComponent* AComponent, IDesigner* ADesigner) {
    return std::make_unique<E>(AComponent, ADesigner);
}

void RegisterComponentEditor(const TClassInfo* ComponentClass, TComponentEditorClass EditorClass);
template <typename E>
void RegisterComponentEditor(const TClassInfo* ComponentClass) {
    RegisterComponentEditor(ComponentClass, &MakeComponentEditor<E>);
}
// Forgets every registration (tests).
void ClearComponentEditors();

// The editor for the component (the default one when none is registered for its classes).
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer = nullptr);

} // namespace fw
