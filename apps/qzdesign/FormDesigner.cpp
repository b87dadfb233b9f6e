#include "FormDesigner.h"

#include "PopupList.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <framework/classes/FormFile.h>
#include <framework/controls/Control.h>
#include <framework/designer/ComponentEditors.h>
#include <framework/designer/Palette.h>
#include <framework/graphics/Bitmap.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qzdesign {

namespace {

constexpr int IconSize = 28; // a non-visual component's icon on the surface
constexpr int HandleSize = 5;

bool IsControl(const fw::TComponent* c) {
    return dynamic_cast<const fw::TControl*>(c) != nullptr;
}

} // namespace

// ---------------------------------------------------------------- the surface

TDesignSurface::TDesignSurface(TFormDesigner* Designer) : fw::TForm(nullptr), FDesigner(Designer) {
    SetDesigning(true);
}

void TDesignSurface::MouseDown(fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y) {
    fw::TForm::MouseDown(Button, Shift, X, Y);
    FLastDown = {X, Y};
    if (Button == fw::mbLeft && FDesigner->PendingClass() != nullptr) {
        const fw::TClassInfo* cls = FDesigner->PendingClass();
        FDesigner->SetPendingClass(nullptr);
        FDesigner->Drop(cls, {X, Y});
        return;
    }
    fw::TComponent* hit = FDesigner->ComponentAt({X, Y});
    if (Button == fw::mbRight) {
        const auto& sel = FDesigner->Selection();
        if (std::find(sel.begin(), sel.end(), hit) == sel.end()) FDesigner->Select(hit);
        if (hit != this) FDesigner->ContextMenu(hit, ClientToScreen({X, Y}));
        return;
    }
    FDesigner->Select(hit, Shift.Contains(fw::ssShift) && hit != this);
}

void TDesignSurface::DblClick() {
    fw::TForm::DblClick();
    fw::TComponent* hit = FDesigner->ComponentAt(FLastDown);
    if (hit != this) FDesigner->EditComponent(hit);
}

void TDesignSurface::Paint() {
    fw::TForm::Paint();
    fw::TCanvas* canvas = Canvas();
    // Non-visual components: a raised button-face square holding the palette image.
    for (int i = 0; i < ComponentCount(); ++i) {
        fw::TComponent* c = Components(i);
        if (IsControl(c)) continue;
        const fw::TRect r = TFormDesigner::IconRect(c);
        canvas->Brush()->SetColor(fw::clBtnFace);
        canvas->FillRect(r);
        canvas->Pen()->SetColor(fw::clBtnHighlight);
        canvas->MoveTo(r.Left, r.Bottom - 1);
        canvas->LineTo(r.Left, r.Top);
        canvas->LineTo(r.Right - 1, r.Top);
        canvas->Pen()->SetColor(fw::clBtnShadow);
        canvas->LineTo(r.Right - 1, r.Bottom - 1);
        canvas->LineTo(r.Left - 1, r.Bottom - 1);
        fw::TBitmap image;
        image.SetHandle(fw::LoadPaletteBitmap(c->ClassInfo()));
        if (!image.Empty()) canvas->Draw(r.Left + 2, r.Top + 2, &image);
    }
    // The selection: handles at the corners and edge middles, black for one component, grey for
    // several.
    const auto& sel = FDesigner->Selection();
    canvas->Brush()->SetColor(sel.size() > 1 ? fw::clGray : fw::clBlack);
    for (fw::TComponent* c : sel) {
        if (c == this) continue;
        fw::TRect r = TFormDesigner::IconRect(c);
        if (auto* control = dynamic_cast<fw::TControl*>(c))
            r = {control->Left(), control->Top(), control->Left() + control->Width(),
                 control->Top() + control->Height()};
        const int xs[] = {r.Left - HandleSize / 2 - 1, (r.Left + r.Right) / 2 - HandleSize / 2,
                          r.Right - HandleSize / 2};
        const int ys[] = {r.Top - HandleSize / 2 - 1, (r.Top + r.Bottom) / 2 - HandleSize / 2,
                          r.Bottom - HandleSize / 2};
        for (int x : xs)
            for (int y : ys)
                if (x != xs[1] || y != ys[1]) canvas->FillRect({x, y, x + HandleSize, y + HandleSize});
    }
}

// ---------------------------------------------------------------- the designer

TFormDesigner::TFormDesigner() {
    NewForm();
}

TFormDesigner::~TFormDesigner() = default;

fw::TComponent* TFormDesigner::Root() const {
    return FSurface.get();
}

void TFormDesigner::Modified() {
    FModified = true;
    if (FSurface) FSurface->Invalidate();
    if (OnModified) OnModified();
}

void TFormDesigner::NewForm() {
    auto surface = std::make_unique<TDesignSurface>(this);
    surface->SetName("Form1");
    surface->SetCaption("Form1");
    surface->SetBorderStyle(fw::bsSizeable);
    surface->SetClientWidth(480);
    surface->SetClientHeight(240);
    Adopt(std::move(surface));
}

void TFormDesigner::Adopt(std::unique_ptr<TDesignSurface> Surface) {
    FSelection.clear();
    if (FSurface) FSurface->Hide();
    FSurface = std::move(Surface);
    FSurface->SetBounds(SurfaceOrigin.X, SurfaceOrigin.Y, FSurface->Width(), FSurface->Height());
    FSurface->Show();
    FModified = false;
    FSelection.push_back(FSurface.get());
    SelectionChanged();
}

void TFormDesigner::Select(fw::TComponent* Component, bool Toggle) {
    if (Toggle) {
        // The form itself leaves the selection when a component joins it.
        std::erase(FSelection, static_cast<fw::TComponent*>(FSurface.get()));
        auto it = std::find(FSelection.begin(), FSelection.end(), Component);
        if (it != FSelection.end() && FSelection.size() > 1)
            FSelection.erase(it);
        else if (it == FSelection.end())
            FSelection.push_back(Component);
    } else {
        FSelection = {Component};
    }
    SelectionChanged();
}

void TFormDesigner::SelectionChanged() {
    FSurface->Invalidate();
    if (OnSelectionChanged) OnSelectionChanged();
}

fw::TRect TFormDesigner::IconRect(const fw::TComponent* Component) {
    return {Component->DesignLeft(), Component->DesignTop(), Component->DesignLeft() + IconSize,
            Component->DesignTop() + IconSize};
}

fw::TComponent* TFormDesigner::ComponentAt(const fw::TPoint& Pos) const {
    for (int i = FSurface->ComponentCount() - 1; i >= 0; --i) {
        fw::TComponent* c = FSurface->Components(i);
        const fw::TRect r = IconRect(c);
        if (!IsControl(c) && Pos.X >= r.Left && Pos.X < r.Right && Pos.Y >= r.Top && Pos.Y < r.Bottom)
            return c;
    }
    fw::TControl* hit = FSurface->ControlAtPos(Pos, true);
    return hit != nullptr ? static_cast<fw::TComponent*>(hit) : FSurface.get();
}

fw::String TFormDesigner::UniqueName(const fw::TClassInfo* Class) const {
    const fw::String base =
        Class->Name.size() > 1 && Class->Name[0] == 'T' ? Class->Name.substr(1) : Class->Name;
    for (int n = 1;; ++n) {
        const fw::String name = base + std::to_string(n);
        if (FSurface->FindComponent(name) == nullptr) return name;
    }
}

fw::TComponent* TFormDesigner::Drop(const fw::TClassInfo* Class, const fw::TPoint& Pos) {
    fw::TComponent* c = Class->Create(FSurface.get());
    c->SetName(UniqueName(Class));
    if (auto* control = dynamic_cast<fw::TControl*>(c)) {
        control->SetBounds(Pos.X, Pos.Y, control->Width(), control->Height());
        control->SetParent(FSurface.get());
    } else {
        c->SetDesignLeft(Pos.X);
        c->SetDesignTop(Pos.Y);
    }
    Select(c);
    Modified();
    return c;
}

void TFormDesigner::ContextMenu(fw::TComponent* Component, const fw::TPoint& Screen) {
    auto editor = fw::GetComponentEditor(Component, this);
    std::vector<fw::String> verbs;
    for (int i = 0; i < editor->GetVerbCount(); ++i)
        verbs.push_back(editor->GetVerb(i));
    if (verbs.empty()) return;
    TPopupList menu(verbs, TPopupStyle::Menu, 140);
    const int chosen = menu.Choose(Screen);
    if (chosen >= 0) editor->ExecuteVerb(chosen);
}

void TFormDesigner::EditComponent(fw::TComponent* Component) {
    fw::GetComponentEditor(Component, this)->Edit();
}

fw::String TFormDesigner::FormText() const {
    return fw::WriteComponentToText(FSurface.get());
}

void TFormDesigner::Open(const fw::String& Path) {
    std::ifstream file(Path, std::ios::binary);
    if (!file) throw EDesignerError("Cannot open '" + Path + "'");
    std::ostringstream text;
    text << file.rdbuf();
    auto surface = std::make_unique<TDesignSurface>(this);
    // On failure the reader frees what it made and the new surface goes: the old form stays.
    fw::ReadRootFromText(surface.get(), text.str());
    Adopt(std::move(surface));
}

void TFormDesigner::Save(const fw::String& Path) {
    const fw::String text = FormText();
    const std::filesystem::path target(Path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string temp = (folder / (target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw EDesignerError("Cannot save '" + Path + "': cannot make a temporary file in " +
                             folder.string());
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) break;
        written += std::size_t(n);
    }
    const bool ok = written == text.size() && ::fsync(fd) == 0;
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 || !ok || std::rename(temp.c_str(), Path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw EDesignerError("Cannot save '" + Path + "': writing failed; the old file is unchanged");
    }
    FModified = false;
}

} // namespace qzdesign
