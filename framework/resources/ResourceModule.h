#pragma once
// A resource module: the bitmaps (by number or by case-insensitive name), string table, form
// resources (text, by name), icons and version record of one module: the package, the framework
// or a language module.

#include <cstddef>
#include <cstdint>
#include <framework/rtl/Types.h>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace fw {

using TResourceBytes = std::vector<std::uint8_t>;

// A module's version record.
struct TVersionInfo {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
    String Translation;                             // language and code page, "0C0904E4"
    std::vector<std::pair<String, String>> Strings; // FileDescription, ProductName, ...
    // The string of that key, or an empty text.
    String Value(const String& key) const;
};

// A file embedded at build time: its path under the resources folder and its bytes.
struct TEmbeddedFile {
    const char* Path;
    const unsigned char* Data;
    std::size_t Size;
};

class TResourceModule {
public:
    explicit TResourceModule(String name) : FName(std::move(name)) {}

    const String& Name() const { return FName; }

    void AddBitmap(int id, TResourceBytes bmp) { FNumberedBitmaps[id] = std::move(bmp); }
    void AddBitmap(const String& name, TResourceBytes bmp) { FNamedBitmaps[Key(name)] = std::move(bmp); }
    void AddString(int id, String text) { FStrings[id] = std::move(text); }
    void AddForm(const String& name, String text) { FForms[Key(name)] = std::move(text); }
    void AddIcon(const String& name, TResourceBytes ico) { FIcons[Key(name)] = std::move(ico); }
    void SetVersion(TVersionInfo version) { FVersion = std::move(version); }

    // Adds a file by where it lies: `bitmaps/<n or NAME>.bmp`, `forms/<NAME>.dfm`, `icons/<NAME>.ico`,
    // "strings" (the string table) and "version" (the version record). A file's name without its
    // extension is its resource name; an all-digit name is a resource number. Other files are
    // ignored. A malformed string table or version record raises EResourceError.
    void AddFile(const String& path, std::span<const std::uint8_t> bytes);
    void AddFiles(std::span<const TEmbeddedFile> files);

    const TResourceBytes* FindBitmap(int id) const;
    const TResourceBytes* FindBitmap(const String& name) const;
    const String* FindString(int id) const;
    const String* FindForm(const String& name) const;
    const TResourceBytes* FindIcon(const String& name) const;
    const std::optional<TVersionInfo>& Version() const { return FVersion; }

    std::size_t BitmapCount() const { return FNumberedBitmaps.size() + FNamedBitmaps.size(); }

private:
    static String Key(const String& name);

    String FName;
    std::map<int, TResourceBytes> FNumberedBitmaps;
    std::map<String, TResourceBytes> FNamedBitmaps;
    std::map<int, String> FStrings;
    std::map<String, String> FForms;
    std::map<String, TResourceBytes> FIcons;
    std::optional<TVersionInfo> FVersion;
};

// Parses a string table: one entry a line, the number, blanks, then the text in double quotes
// ("" stands for one quote). Blank lines and lines starting with '#' are skipped.
std::map<int, String> ParseStringTable(std::string_view text);

// Parses a version record: one "Key value" a line; Version a.b.c.d, Translation hex text,
// every other key a quoted string.
TVersionInfo ParseVersionRecord(std::string_view text);

} // namespace fw
