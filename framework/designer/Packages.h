#pragma once
// Design-time packages: shared-library modules that carry component classes, their palette
// registration and their editors. A package module exports two symbols with C linkage:
//
//     extern "C" const fw::TPackageInfo PackageInfo;   // who it is and what it holds
//     extern "C" void Register();                      // puts its components on the palette
//
// The module leaves the framework's symbols to the program that loads it, which therefore links
// the framework whole and exports it (CMake: ENABLE_EXPORTS), so the package's classes and the
// program's registries are one.

#include <cstddef>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/Types.h>
#include <vector>

namespace fw {

enum TPackageFlag : unsigned {
    pfDesignOnly = 1, // installed into the designer; applications compile its units in
    pfRunOnly = 2,
};

struct TPackageInfo {
    const char* Name;        // the module's name, "QzComponents5"
    const char* Description; // shown by the designer
    unsigned Flags;          // TPackageFlag bits
    const char* const* Requires;
    std::size_t RequiresCount;
    const char* const* Contains; // the units, in the package's order
    std::size_t ContainsCount;
    void (*Initialize)(); // module entry: registers its resources and classes
};

inline constexpr const char* PackageInfoSymbol = "PackageInfo";
inline constexpr const char* RegisterSymbol = "Register";

// A module that cannot be loaded, is no package, or lacks Register. The message names the path
// and the reason.
class EPackageError : public Exception {
public:
    using Exception::Exception;
};

struct TLoadedPackage {
    String Path;
    void* Handle = nullptr;
    const TPackageInfo* Info = nullptr;
};

// Loads the module with the platform's dynamic loader, checks that it is a package, runs its
// entry and calls its Register once. Loading a path already loaded returns that package.
// A failure raises EPackageError and leaves nothing loaded. Packages stay loaded for the life of
// the process: the registries point into them.
const TLoadedPackage& LoadPackage(const String& Path);
const std::vector<TLoadedPackage>& LoadedPackages();

} // namespace fw
