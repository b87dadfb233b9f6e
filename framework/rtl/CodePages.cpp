#include <cerrno>
#include <framework/rtl/CodePages.h>
#include <framework/rtl/Utf8.h>
#include <iconv.h>

namespace fw {

namespace {

// iconv's name of a Windows code page.
String IconvName(int codePage) {
    if (codePage == 1361) return "JOHAB";
    return "CP" + std::to_string(codePage);
}

// An open conversion from one code page to UTF-8, closed when it goes.
class TConversion {
public:
    explicit TConversion(int codePage)
        : FHandle(codePage > 0 ? iconv_open("UTF-8", IconvName(codePage).c_str()) : Invalid()) {}
    ~TConversion() {
        if (Open()) iconv_close(FHandle);
    }
    TConversion(const TConversion&) = delete;
    TConversion& operator=(const TConversion&) = delete;

    bool Open() const { return FHandle != Invalid(); }
    iconv_t Handle() const { return FHandle; }

private:
    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t FHandle;
};

} // namespace

bool IsKnownCodePage(int codePage) {
    return codePage == 1252 || TConversion(codePage).Open();
}

String CodePageToUtf8(const String& s, int codePage) {
    if (codePage == 1252) return Win1252ToUtf8(s);
    TConversion conversion(codePage);
    if (!conversion.Open()) return Win1252ToUtf8(s);
    String out(s.size() * 2 + 16, '\0');
    std::size_t used = 0;
    char* in = const_cast<char*>(s.data());
    std::size_t inLeft = s.size();
    // Converts what is left of the input (or, with done, flushes the
    // characters a code page holds back to combine), growing out as needed.
    auto step = [&](bool done) {
        for (;;) {
            char* to = out.data() + used;
            std::size_t outLeft = out.size() - used;
            const std::size_t r = done ? iconv(conversion.Handle(), nullptr, nullptr, &to, &outLeft)
                                       : iconv(conversion.Handle(), &in, &inLeft, &to, &outLeft);
            const int error = r == static_cast<std::size_t>(-1) ? errno : 0;
            used = out.size() - outLeft;
            if (error == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            return error;
        }
    };
    while (inLeft > 0 && step(false) != 0) {
        if (inLeft == 0) break;
        // A byte this code page does not define: its Windows-1252 character.
        step(true);
        const String one = Win1252ToUtf8(String(1, *in));
        if (out.size() - used < one.size()) out.resize(out.size() * 2 + one.size());
        out.replace(used, one.size(), one);
        used += one.size();
        ++in;
        --inLeft;
    }
    step(true);
    out.resize(used);
    return out;
}

} // namespace fw
