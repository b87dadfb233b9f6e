#include <algorithm>
#include <framework/classes/ClassRegistry.h>
#include <framework/designer/Palette.h>
#include <framework/resources/Resources.h>
#include <framework/rtl/SysUtils.h>

namespace fw {

namespace {

std::vector<TPalettePage>& Pages() {
    static std::vector<TPalettePage> pages;
    return pages;
}

bool SameName(const String& a, const String& b) {
    return LowerCase(a) == LowerCase(b);
}

} // namespace

void RegisterComponents(const String& Page, std::initializer_list<const TClassInfo*> Classes) {
    auto& pages = Pages();
    auto page = std::find_if(pages.begin(), pages.end(),
                             [&](const TPalettePage& p) { return SameName(p.Name, Page); });
    if (page == pages.end()) {
        pages.push_back({Page, {}});
        page = pages.end() - 1;
    }
    for (const TClassInfo* cls : Classes) {
        RegisterClass(cls);
        if (std::find(page->Classes.begin(), page->Classes.end(), cls) == page->Classes.end())
            page->Classes.push_back(cls);
    }
}

const std::vector<TPalettePage>& PalettePages() {
    return Pages();
}

const TPalettePage* FindPalettePage(const String& Page) {
    for (const TPalettePage& p : Pages())
        if (SameName(p.Name, Page)) return &p;
    return nullptr;
}

void ClearPalette() {
    Pages().clear();
}

HBITMAP LoadPaletteBitmap(const TClassInfo* cls) {
    const String name = UpperCase(cls->Name);
    for (TResourceModule* module : ResourceModules())
        if (module->FindBitmap(name)) return LoadBitmapA(module, name.c_str());
    return nullptr;
}

} // namespace fw
