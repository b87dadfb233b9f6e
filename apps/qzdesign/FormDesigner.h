#pragma once
// The form designer: the form being designed (the design surface), the selection, dropping
// components from the palette, the context menu with the component editor's verbs, and reading
// and writing the form file.

#include <framework/designer/Designer.h>
#include <framework/forms/Form.h>
#include <functional>
#include <memory>
#include <vector>

namespace qzdesign {

class TFormDesigner;

// The form being designed. It declares no class of its own, so it reports itself as a TForm: the
// form file names TForm as the root class and any program can read it. Its controls are marked
// csDesigning, so the mouse comes to the surface, which selects, drops and opens menus.
class TDesignSurface : public fw::TForm {
public:
    explicit TDesignSurface(TFormDesigner* Designer);

protected:
    void MouseDown(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void Paint() override;

private:
    TFormDesigner* FDesigner;
    fw::TPoint FLastDown;
};

class TFormDesigner : public fw::IDesigner {
public:
    TFormDesigner();
    ~TFormDesigner() override;

    fw::TComponent* Root() const override;
    void Modified() override;

    TDesignSurface* Surface() const { return FSurface.get(); }
    // A new empty form "Form1".
    void NewForm();

    // The class the next click on the surface drops (null: the click selects).
    const fw::TClassInfo* PendingClass() const { return FPendingClass; }
    void SetPendingClass(const fw::TClassInfo* Class) { FPendingClass = Class; }

    const std::vector<fw::TComponent*>& Selection() const { return FSelection; }
    // Selects the component alone, or adds it to (removes it from) the selection.
    void Select(fw::TComponent* Component, bool Toggle = false);

    // The component under a client point of the surface: a non-visual component's icon, else the
    // outermost control there; the root when nothing else is hit.
    fw::TComponent* ComponentAt(const fw::TPoint& Pos) const;
    // Where a non-visual component's icon lies on the surface.
    static fw::TRect IconRect(const fw::TComponent* Component);

    // Makes a component of the class at the point, names it after its class and selects it.
    fw::TComponent* Drop(const fw::TClassInfo* Class, const fw::TPoint& Pos);
    // The context menu of the component at a screen point: its editor's verbs.
    void ContextMenu(fw::TComponent* Component, const fw::TPoint& Screen);
    // The double-click: the component editor's Edit.
    void EditComponent(fw::TComponent* Component);

    // The form as form-file text.
    fw::String FormText() const;
    // Reads the file into a new form; the old form stays when the file does not read (the
    // reader's EReadError, with its line, goes to the caller).
    void Open(const fw::String& Path);
    // Writes the form text to a temporary file beside Path, then renames it over Path, so a
    // failure leaves an existing file whole. Raises EDesignerError when it fails.
    void Save(const fw::String& Path);
    // Whether the form changed since it was made, opened or saved.
    bool IsModified() const { return FModified; }

    std::function<void()> OnSelectionChanged;
    std::function<void()> OnModified;
    // Where new forms appear on the screen.
    fw::TPoint SurfaceOrigin{8, 104};

private:
    void Adopt(std::unique_ptr<TDesignSurface> Surface);
    fw::String UniqueName(const fw::TClassInfo* Class) const;
    void SelectionChanged();

    std::unique_ptr<TDesignSurface> FSurface;
    const fw::TClassInfo* FPendingClass = nullptr;
    std::vector<fw::TComponent*> FSelection;
    bool FModified = false;
};

class EDesignerError : public fw::Exception {
public:
    using Exception::Exception;
};

} // namespace qzdesign
