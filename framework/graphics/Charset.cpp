#include <framework/graphics/Charset.h>
#include <strings.h>

namespace fw {

namespace {

struct NamedCharset {
    int Charset;
    const char* Name;
};

constexpr NamedCharset CharsetNames[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

} // namespace

std::optional<String> CharsetToIdent(int charset) {
    for (const auto& entry : CharsetNames)
        if (entry.Charset == charset) return String(entry.Name);
    return std::nullopt;
}

std::optional<int> IdentToCharset(const String& ident) {
    for (const auto& entry : CharsetNames)
        if (strcasecmp(entry.Name, ident.c_str()) == 0) return entry.Charset;
    return std::nullopt;
}

} // namespace fw
