// The package module loaded through the dynamic loader into a program that links only the
// framework: everything the package offers must arrive with the module.

#include <elf.h>
#include <filesystem>
#include <framework/classes/ClassRegistry.h>
#include <framework/classes/TypInfo.h>
#include <framework/designer/ComponentEditors.h>
#include <framework/designer/Packages.h>
#include <framework/designer/Palette.h>
#include <framework/designer/PropertyEditors.h>
#include <framework/graphics/Bitmap.h>
#include <framework/resources/Resources.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace {

using namespace fw;

const String ModulePath = String(QZ_BINARY_DIR) + "/QzComponents5.so";

std::vector<String> Strings(const char* const* list, std::size_t count) {
    return {list, list + count};
}

TEST(PackageModule, LoadsRegistersAndCarriesItsResources) {
    ASSERT_EQ(GetClass("TQzDateEdit"), nullptr) << "the test program must not contain the package";
    const TLoadedPackage& package = LoadPackage(ModulePath);
    EXPECT_EQ(&LoadPackage(ModulePath), &package) << "a second load returns the first";
    EXPECT_EQ(LoadedPackages().size(), 1u);

    const TPackageInfo& info = *package.Info;
    EXPECT_STREQ(info.Name, "QzComponents5");
    EXPECT_STREQ(info.Description, "Qz Components");
    EXPECT_EQ(info.Flags, unsigned(pfDesignOnly));
    EXPECT_EQ(Strings(info.Requires, info.RequiresCount),
              (std::vector<String>{"Vcldb50", "Vclbde50", "vcl50"}));
    EXPECT_EQ(Strings(info.Contains, info.ContainsCount),
              (std::vector<String>{"QzComponents5", "Qzde", "SysInit", "Qzled", "RegQz"}));

    // Register ran once: one page, the classes registered for form files, the editors attached.
    ASSERT_EQ(PalettePages().size(), 1u);
    EXPECT_EQ(PalettePages()[0].Name, "QzComponents");
    for (const TClassInfo* cls : PalettePages()[0].Classes) {
        SCOPED_TRACE(cls->Name);
        EXPECT_EQ(GetClass(cls->Name), cls);
        TBitmap image;
        image.SetHandle(LoadPaletteBitmap(cls));
        EXPECT_EQ(image.Width(), 24);
        std::unique_ptr<TComponent> component(cls->Create(nullptr));
        EXPECT_EQ(GetComponentEditor(component.get())->GetVerb(0), "&Version 5.0");
    }
    std::unique_ptr<TComponent> edit(FindClass("TQzDateEdit")->Create(nullptr));
    auto editor = GetPropertyEditor({edit.get()}, "DateFormat");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetAttributes().Bits(), 0x0059u);

    // The version record and the icon come from the module's own resources.
    TResourceModule* module = nullptr;
    for (TResourceModule* m : ResourceModules())
        if (m->Name() == "QzComponents5") module = m;
    ASSERT_NE(module, nullptr);
    ASSERT_TRUE(module->Version().has_value());
    const TVersionInfo& v = *module->Version();
    EXPECT_EQ((std::vector<int>{v.Major, v.Minor, v.Release, v.Build}), (std::vector<int>{5, 0, 0, 0}));
    EXPECT_EQ(v.Translation, "0C0904E4");
    const std::pair<const char*, const char*> fields[] = {
        {"FileDescription", "Qz Components"},
        {"FileVersion", "5.0.0.0"},
        {"InternalName", "QzComponents"},
        {"OriginalFilename", "QzComponents5.bpl"},
        {"ProductName", "QzComponents5"},
        {"ProductVersion", "5.0.0.0"},
        {"Comments", ""},
        {"LegalTrademarks", ""},
    };
    for (auto [key, value] : fields)
        EXPECT_EQ(v.Value(key), value) << key;
    EXPECT_NE(module->FindIcon("MAINICON"), nullptr);
}

TEST(PackageModule, BadModulesGiveAClearErrorAndLoadNothing) {
    struct Row {
        String path, reason;
    };
    const Row rows[] = {
        {String(QZ_BINARY_DIR) + "/no-such-module.so", "does not exist"},
        {String(QZ_BINARY_DIR) + "/CMakeCache.txt", "Cannot load package"},
        {String(QZ_BINARY_DIR) + "/NotAPackage.so", "is not a package"},
        {String(QZ_BINARY_DIR) + "/NoRegister.so", "has no Register procedure"},
    };
    const std::size_t before = LoadedPackages().size();
    for (const Row& row : rows) {
        try {
            LoadPackage(row.path);
            ADD_FAILURE() << row.path << " loaded";
        } catch (const EPackageError& e) {
            const String message = e.what();
            EXPECT_NE(message.find(row.path), String::npos) << message;
            EXPECT_NE(message.find(row.reason), String::npos) << message;
        }
    }
    EXPECT_EQ(LoadedPackages().size(), before);
}

TEST(PackageModule, CutOffAndForeignModulesAreRefusedBeforeTheLoaderMapsThem) {
    // Copies of the real module, cut off or marked for another machine: the loader
    // would fault (SIGBUS) on the missing pages of a cut-off copy.
    std::ifstream in(ModulePath, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 4096u);
    const auto dir = std::filesystem::temp_directory_path() / ("qz-modules-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    auto with = [&](std::size_t length, std::size_t at = 0, char byte = 0) {
        std::string bytes = whole.substr(0, length);
        if (at) bytes[at] = byte;
        return bytes;
    };
    struct Row {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Row rows[] = {
        {"empty", "", "not a shared library"},
        {"magic only", with(4), "cut off"},
        {"header only", with(64), "cut off"},
        {"a third", with(whole.size() / 3), "cut off"},
        {"half", with(whole.size() / 2), "cut off"},
        {"all but the last byte", with(whole.size() - 1), "cut off"},
        {"32-bit", with(whole.size(), EI_CLASS, ELFCLASS32), "built for 32-bit programs"},
        {"another machine", with(whole.size(), 18 /* e_machine */, 0x7f), "another kind of machine"},
    };
    const std::size_t before = LoadedPackages().size();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const String path = (dir / (std::string(row.name) + ".so")).string();
        std::ofstream(path, std::ios::binary) << row.bytes;
        try {
            LoadPackage(path);
            ADD_FAILURE() << "loaded";
        } catch (const EPackageError& e) {
            const String message = e.what();
            EXPECT_NE(message.find(path), String::npos) << message;
            EXPECT_NE(message.find(row.reason), String::npos) << message;
        }
    }
    EXPECT_EQ(LoadedPackages().size(), before);
    std::filesystem::remove_all(dir);
}

} // namespace
