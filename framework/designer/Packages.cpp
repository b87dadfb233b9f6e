#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <filesystem>
#include <framework/designer/Packages.h>
#include <fstream>
#include <memory>
#include <vector>

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

#if UINTPTR_MAX > 0xFFFFFFFFu
using TElfHeader = Elf64_Ehdr;
using TElfSegment = Elf64_Phdr;
constexpr unsigned char ElfClass = ELFCLASS64;
#else
using TElfHeader = Elf32_Ehdr;
using TElfSegment = Elf32_Phdr;
constexpr unsigned char ElfClass = ELFCLASS32;
#endif

// The machine this program runs on, from its own ELF header.
unsigned OwnMachine() {
    static const unsigned machine = [] {
        TElfHeader own{};
        std::ifstream in("/proc/self/exe", std::ios::binary);
        in.read(reinterpret_cast<char*>(&own), sizeof own);
        return in ? unsigned(own.e_machine) : 0u;
    }();
    return machine;
}

// Start + Count * Size ends within Length (without overflowing).
bool Within(std::uint64_t Start, std::uint64_t Count, std::uint64_t Size, std::uint64_t Length) {
    if (Start > Length || (Size != 0 && Count > (Length - Start) / Size)) return false;
    return Start + Count * Size <= Length;
}

// Why the file at Path cannot be a module of this machine, or "" when its ELF header,
// its segments and its section table all lie within it. The dynamic loader maps a
// cut-off file's segments past its end and faults on touching them (SIGBUS), so a
// truncated copy must be caught before it reaches the loader.
String ModuleFileProblem(const String& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::error_code error;
    const std::uint64_t length = std::filesystem::file_size(Path, error);
    if (!in || error) return "the file cannot be read";
    unsigned char ident[EI_NIDENT] = {};
    in.read(reinterpret_cast<char*>(ident), EI_NIDENT);
    if (in.gcount() < SELFMAG || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        return "the file is not a shared library (no ELF header)";
    if (!in) return "the file is cut off inside its ELF header";
    if (ident[EI_CLASS] != ElfClass)
        return ident[EI_CLASS] == ELFCLASS32 ? "the module is built for 32-bit programs"
                                             : "the module is built for 64-bit programs";
    TElfHeader header{};
    in.seekg(0);
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    if (!in) return "the file is cut off inside its ELF header";
    const unsigned char ownData = [] {
        const std::uint16_t probe = 1;
        return *reinterpret_cast<const unsigned char*>(&probe) == 1 ? ELFDATA2LSB : ELFDATA2MSB;
    }();
    if (ident[EI_DATA] != ownData || (OwnMachine() != 0 && header.e_machine != OwnMachine()))
        return "the module is built for another kind of machine";
    if (header.e_type != ET_DYN) return "the file is not a shared library";
    if (header.e_phentsize != sizeof(TElfSegment) || header.e_phnum == 0 ||
        !Within(header.e_phoff, header.e_phnum, sizeof(TElfSegment), length))
        return "the file is cut off (its segment table ends past the end of the file)";
    std::vector<TElfSegment> segments(header.e_phnum);
    in.seekg(static_cast<std::streamoff>(header.e_phoff));
    in.read(reinterpret_cast<char*>(segments.data()),
            static_cast<std::streamsize>(segments.size() * sizeof(TElfSegment)));
    if (!in) return "the file cannot be read";
    for (const TElfSegment& segment : segments)
        if (segment.p_filesz != 0 && !Within(segment.p_offset, 1, segment.p_filesz, length))
            return "the file is cut off (a segment ends past the end of the file)";
    if (header.e_shoff != 0 && !Within(header.e_shoff, header.e_shnum, header.e_shentsize, length))
        return "the file is cut off (its section table ends past the end of the file)";
    return "";
}

} // namespace

const TLoadedPackage& LoadPackage(const String& Path) {
    const String key = Canonical(Path);
    for (const TLoadedPackage& p : Loaded())
        if (p.Path == key) return p;

    std::error_code error;
    if (!std::filesystem::exists(key, error))
        throw EPackageError("Cannot load package '" + Path + "': the file does not exist");
    if (const String problem = ModuleFileProblem(key); !problem.empty())
        throw EPackageError("Cannot load package '" + Path + "': " + problem);
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
