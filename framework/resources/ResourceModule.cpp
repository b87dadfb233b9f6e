#include <algorithm>
#include <cctype>
#include <charconv>
#include <framework/resources/ResourceModule.h>
#include <framework/rtl/Exceptions.h>

namespace fw {

namespace {

String Upper(String s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool AllDigits(const String& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Splits text into lines, dropping blank lines and '#' comments; yields (line number, text).
std::vector<std::pair<int, std::string_view>> Lines(std::string_view text) {
    std::vector<std::pair<int, std::string_view>> out;
    int number = 0;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        out.emplace_back(number, line);
    }
    return out;
}

[[noreturn]] void Bad(const char* what, int line) {
    throw EResourceError(String(what) + " (line " + std::to_string(line) + ")");
}

// A double-quoted text in which "" stands for one quote; the whole of s must be that text.
String Quoted(std::string_view s, int line) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') Bad("Expected a quoted text", line);
    String out;
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        if (s[i] == '"') {
            if (i + 2 >= s.size() || s[i + 1] != '"') Bad("Unescaped quote in text", line);
            ++i;
        }
        out += s[i];
    }
    return out;
}

} // namespace

String TVersionInfo::Value(const String& key) const {
    for (const auto& [k, v] : Strings)
        if (k == key) return v;
    return {};
}

String TResourceModule::Key(const String& name) {
    return Upper(name);
}

std::map<int, String> ParseStringTable(std::string_view text) {
    std::map<int, String> table;
    for (auto [number, line] : Lines(text)) {
        int id = 0;
        auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), id);
        if (ec != std::errc() || end == line.data()) Bad("String table entry without a number", number);
        std::string_view rest = Trim(line.substr(std::size_t(end - line.data())));
        table[id] = Quoted(rest, number);
    }
    return table;
}

TVersionInfo ParseVersionRecord(std::string_view text) {
    TVersionInfo info;
    for (auto [number, line] : Lines(text)) {
        auto space = line.find_first_of(" \t");
        std::string_view key = line.substr(0, space);
        std::string_view value =
            space == std::string_view::npos ? std::string_view{} : Trim(line.substr(space));
        if (key == "Version") {
            int parts[4] = {0, 0, 0, 0};
            const char* p = value.data();
            const char* last = value.data() + value.size();
            for (int i = 0; i < 4; ++i) {
                auto [end, ec] = std::from_chars(p, last, parts[i]);
                if (ec != std::errc()) Bad("Bad version number", number);
                p = end;
                if (i < 3) {
                    if (p == last || *p != '.') Bad("Bad version number", number);
                    ++p;
                }
            }
            if (p != last) Bad("Bad version number", number);
            info.Major = parts[0];
            info.Minor = parts[1];
            info.Release = parts[2];
            info.Build = parts[3];
        } else if (key == "Translation") {
            info.Translation = String(value);
        } else {
            info.Strings.emplace_back(String(key), Quoted(value, number));
        }
    }
    return info;
}

void TResourceModule::AddFile(const String& path, std::span<const std::uint8_t> bytes) {
    auto slash = path.find_last_of('/');
    String file = slash == String::npos ? path : path.substr(slash + 1);
    String folder = slash == String::npos ? String() : path.substr(0, slash);
    auto dot = file.find_last_of('.');
    String stem = dot == String::npos ? file : file.substr(0, dot);
    String ext = dot == String::npos ? String() : Upper(file.substr(dot + 1));
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    if (folder.empty() && file == "strings") {
        for (auto& [id, s] : ParseStringTable(text))
            AddString(id, std::move(s));
    } else if (folder.empty() && file == "version") {
        SetVersion(ParseVersionRecord(text));
    } else if (ext == "BMP") {
        TResourceBytes data(bytes.begin(), bytes.end());
        if (AllDigits(stem))
            AddBitmap(std::stoi(stem), std::move(data));
        else
            AddBitmap(stem, std::move(data));
    } else if (ext == "DFM") {
        AddForm(stem, String(text));
    } else if (ext == "ICO") {
        AddIcon(stem, TResourceBytes(bytes.begin(), bytes.end()));
    }
}

void TResourceModule::AddFiles(std::span<const TEmbeddedFile> files) {
    for (const TEmbeddedFile& f : files)
        AddFile(f.Path, {f.Data, f.Size});
}

const TResourceBytes* TResourceModule::FindBitmap(int id) const {
    auto it = FNumberedBitmaps.find(id);
    return it == FNumberedBitmaps.end() ? nullptr : &it->second;
}

const TResourceBytes* TResourceModule::FindBitmap(const String& name) const {
    auto it = FNamedBitmaps.find(Key(name));
    return it == FNamedBitmaps.end() ? nullptr : &it->second;
}

const String* TResourceModule::FindString(int id) const {
    auto it = FStrings.find(id);
    return it == FStrings.end() ? nullptr : &it->second;
}

const String* TResourceModule::FindForm(const String& name) const {
    auto it = FForms.find(Key(name));
    return it == FForms.end() ? nullptr : &it->second;
}

const TResourceBytes* TResourceModule::FindIcon(const String& name) const {
    auto it = FIcons.find(Key(name));
    return it == FIcons.end() ? nullptr : &it->second;
}

} // namespace fw
