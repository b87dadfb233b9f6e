#include <cstring>
#include <framework/rtl/Utf8.h>

namespace fw {

namespace {

// Windows-1252 bytes 0x80-0x9F; the unassigned ones keep their C1 code.
const std::uint16_t Win1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t Win1252(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? Win1252High[c - 0x80] : c;
}

// The length of the well-formed sequence at pos, or 0.
std::size_t SequenceLength(std::string_view s, std::size_t pos, std::uint32_t& cp) {
    const auto c = static_cast<unsigned char>(s[pos]);
    std::size_t n = 0;
    std::uint32_t min = 0;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        n = 2, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        const auto d = static_cast<unsigned char>(s[pos + i]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

} // namespace

void AppendUtf8(String& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsValidUtf8(std::string_view s) {
    std::uint32_t cp = 0;
    for (std::size_t pos = 0; pos < s.size();) {
        // Eight ASCII bytes at a time: most of a form file or a caption.
        while (pos + 8 <= s.size()) {
            std::uint64_t word;
            std::memcpy(&word, s.data() + pos, 8);
            if ((word & 0x8080808080808080u) != 0) break;
            pos += 8;
        }
        if (pos >= s.size()) break;
        const auto c = static_cast<unsigned char>(s[pos]);
        if (c < 0x80) {
            ++pos;
            continue;
        }
        // Two bytes (Latin, Greek, Cyrillic, Hebrew, Arabic) are well formed
        // with any continuation byte.
        if (c >= 0xC2 && c <= 0xDF && pos + 1 < s.size() &&
            (static_cast<unsigned char>(s[pos + 1]) & 0xC0) == 0x80) {
            pos += 2;
            continue;
        }
        const std::size_t n = SequenceLength(s, pos, cp);
        if (n == 0) return false;
        pos += n;
    }
    return true;
}

std::uint32_t NextCodePoint(std::string_view s, std::size_t& pos) {
    std::uint32_t cp = 0;
    const std::size_t n = SequenceLength(s, pos, cp);
    if (n == 0) return Win1252(static_cast<unsigned char>(s[pos++]));
    pos += n;
    return cp;
}

std::size_t NextCharStart(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    NextCodePoint(s, pos);
    return pos;
}

std::size_t PrevCharStart(std::string_view s, std::size_t pos) {
    if (pos == 0) return 0;
    if (pos > s.size()) pos = s.size();
    // Back over at most three continuation bytes to a start that spans pos.
    for (std::size_t back = 1; back <= 4 && back <= pos; ++back) {
        const std::size_t start = pos - back;
        const auto c = static_cast<unsigned char>(s[start]);
        if ((c & 0xC0) == 0x80 && back < 4) continue;
        std::uint32_t cp = 0;
        if (SequenceLength(s, start, cp) == back) return start;
        break;
    }
    return pos - 1;
}

String CharToUtf8(std::uint32_t c) {
    String out;
    AppendUtf8(out, c);
    return out;
}

std::size_t CharCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < s.size(); ++n)
        NextCodePoint(s, pos);
    return n;
}

std::size_t CharOffset(std::string_view s, std::size_t n) {
    std::size_t pos = 0;
    for (; n > 0 && pos < s.size(); --n)
        NextCodePoint(s, pos);
    return pos;
}

std::size_t CharStartAt(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    for (std::size_t start = 0;;) {
        std::size_t next = start;
        NextCodePoint(s, next);
        if (next > pos) return start;
        start = next;
    }
}

String Win1252ToUtf8(const String& s) {
    String out;
    out.reserve(s.size() + s.size() / 4);
    for (char ch : s)
        AppendUtf8(out, Win1252(static_cast<unsigned char>(ch)));
    return out;
}

String ToUtf8(const String& s) {
    return IsValidUtf8(s) ? s : Win1252ToUtf8(s);
}

} // namespace fw
