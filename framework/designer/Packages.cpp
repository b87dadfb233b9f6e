#include <dlfcn.h>
#include <filesystem>
#include <framework/designer/Packages.h>
#include <memory>

namespace fw {

namespace {

std::vector<TLoadedPackage>& Loaded() {
    static std::vector<TLoadedPackage> list;
    return list;
}

String Canonical(const String& path) {
    std::error_code error;
    const auto p = std::filesystem::weakly_canonical(std::filesystem::path(path), error);
    return error ? path : p.string();
}

} // namespace

const TLoadedPackage& LoadPackage(const String& Path) {
    const String key = Canonical(Path);
    for (const TLoadedPackage& p : Loaded())
        if (p.Path == key) return p;

    std::error_code error;
    if (!std::filesystem::exists(key, error))
        throw EPackageError("Cannot load package '" + Path + "': the file does not exist");
    dlerror();
    void* handle = dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        throw EPackageError("Cannot load package '" + Path +
                            "': " + (reason != nullptr ? reason : "unknown error"));
    }
    // Closes the module again unless the load succeeds.
    std::unique_ptr<void, int (*)(void*)> guard(handle, &dlclose);

    const auto* info = static_cast<const TPackageInfo*>(dlsym(handle, PackageInfoSymbol));
    if (info == nullptr)
        throw EPackageError("'" + Path + "' is not a package: it has no package information record");
    auto* registerProc = reinterpret_cast<void (*)()>(dlsym(handle, RegisterSymbol));
    if (registerProc == nullptr) throw EPackageError("Package '" + Path + "' has no Register procedure");

    // From here on the registries may point into the module: it stays mapped whatever happens.
    guard.release();
    if (info->Initialize != nullptr) info->Initialize();
    registerProc();
    Loaded().push_back({key, handle, info});
    return Loaded().back();
}

const std::vector<TLoadedPackage>& LoadedPackages() {
    return Loaded();
}

} // namespace fw
