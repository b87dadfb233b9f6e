// Conversions between the Western code page and UTF-8.

#include <array>
#include <framework/rtl/Utf8.h>

namespace fw {

namespace {

// The characters of bytes 0x80-0x9F; the rest of the code page is Latin-1.
// Undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own number.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePoint(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? HighControls[b - 0x80] : b;
}

void AppendUtf8(String& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char ByteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

String AnsiToUtf8(const String& Text) {
    String out;
    out.reserve(Text.size());
    for (char b : Text)
        AppendUtf8(out, CodePoint(static_cast<unsigned char>(b)));
    return out;
}

String Utf8ToAnsi(const String& Text) {
    String out;
    out.reserve(Text.size());
    std::size_t i = 0;
    while (i < Text.size()) {
        const auto lead = static_cast<unsigned char>(Text[i]);
        int extra = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else {
            out += '?';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        for (; j < Text.size() && j <= i + static_cast<std::size_t>(extra); ++j) {
            const auto b = static_cast<unsigned char>(Text[j]);
            if ((b & 0xC0) != 0x80) break;
            c = (c << 6) | (b & 0x3F);
        }
        const bool complete = j == i + 1 + static_cast<std::size_t>(extra);
        // Overlong forms are malformed too: the shortest form is the only one.
        const bool overlong =
            (extra == 1 && c < 0x80) || (extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000);
        out += complete && !overlong ? ByteFor(c) : '?';
        i = j;
    }
    return out;
}

} // namespace fw
