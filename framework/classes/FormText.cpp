#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <framework/classes/FormText.h>
#include <framework/rtl/CodePages.h>
#include <framework/rtl/Exceptions.h>
#include <framework/rtl/SysUtils.h>
#include <framework/rtl/Utf8.h>
#include <limits>
#include <memory>
#include <type_traits>

namespace fw {

namespace {

// Objects nest at most this deep; deeper files are refused, not recursed into.
constexpr int MaxNesting = 200;

enum class TTok { End, Ident, Integer, Float, String, Symbol, Binary };

// Text views the file for identifiers, symbols and strings written as one
// quoted run, and the lexer's buffer for other strings and binary values:
// valid until the next token. Nothing is allocated per token.
struct TToken {
    TTok Kind = TTok::End;
    bool Buffered = false; // Text is the lexer's buffer, not the file's
    bool Hex = false;
    int Line = 1;
    std::string_view Text; // identifier, string contents, symbol, binary bytes
    std::int64_t Int = 0;
    double Float = 0;
};

[[noreturn]] void Fail(int line, const String& message) {
    throw EReadError("line " + std::to_string(line) + ": " + message);
}

// Letters beyond ASCII arrive as UTF-8 bytes (the text was made valid UTF-8
// before lexing); every non-ASCII character counts as a letter. One table
// lookup per byte: the lexer's loops run over every byte of a file. The NUL
// after the text is in no class, so the loops stop there without a bounds
// check.
enum : unsigned char { ccIdentStart = 1, ccIdentPart = 2, ccBlank = 4, ccQuoteStop = 8 };
constexpr auto CharClasses = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
        if (letter) table[c] |= ccIdentStart | ccIdentPart;
        if (c >= '0' && c <= '9') table[c] |= ccIdentPart;
        if (c == ' ' || c == '\t' || c == '\r') table[c] |= ccBlank;
        if (c == '\'' || c == '\n' || c == '\r' || c == '\0') table[c] |= ccQuoteStop;
    }
    return table;
}();
unsigned char CharClass(char c) {
    return CharClasses[static_cast<unsigned char>(c)];
}
bool IsIdentStart(char c) {
    return (CharClass(c) & ccIdentStart) != 0;
}
bool IsIdentPart(char c) {
    return (CharClass(c) & ccIdentPart) != 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Each byte's value as a hexadecimal digit; 255 for other bytes.
constexpr auto HexValues = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : 255;
    return table;
}();

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The NULs after the text the lexer reads.
constexpr std::size_t TextPadding = 8;

class TLexer {
public:
    // text must be followed by TextPadding NULs: the loops over it stop
    // there. A NUL inside the text is only a character.
    explicit TLexer(std::string_view text) : FPos(text.data()), FEnd(text.data() + text.size()) {}

    // The common tokens (names, symbols, quoted runs, plain integers) are
    // read here; the rest out of line, which keeps this small.
    void Next(TToken& t) {
        SkipSpace();
        t.Line = FLine;
        t.Buffered = false;
        const char c = *FPos;
        if (IsIdentStart(c)) {
            t.Kind = TTok::Ident;
            const char* start = FPos;
            const char* p = FPos + 1;
            while (IsIdentPart(*p))
                ++p;
            FPos = p;
            t.Text = {start, static_cast<std::size_t>(p - start)};
            return;
        }
        if (c == '\'') {
            const char* start = FPos + 1;
            const char* end = QuotedRunEnd(start);
            if (*end == '\'' && end[1] != '\'' && end[1] != '#') {
                t.Kind = TTok::String;
                t.Text = {start, static_cast<std::size_t>(end - start)};
                FPos = end + 1;
                return;
            }
        } else if (IsDigit(c) || (c == '-' && IsDigit(FPos[1]))) {
            if (ReadPlainInteger(t)) return;
        } else if (c != '#' && c != '{' && c != '$' && c != '+' && c != '-' && c != '\0') {
            t.Kind = TTok::Symbol;
            t.Text = {FPos, 1};
            ++FPos;
            return;
        }
        NextOther(t);
    }

private:
    bool AtEnd(const char* p) const { return p >= FEnd; }

    [[gnu::noinline]] void NextOther(TToken& t) {
        const char c = *FPos;
        if (AtEnd(FPos)) {
            t.Kind = TTok::End;
            t.Text = {};
        } else if (IsDigit(c) || c == '$' ||
                   ((c == '-' || c == '+') && (IsDigit(FPos[1]) || FPos[1] == '$'))) {
            ReadNumber(t);
        } else if (c == '\'' || c == '#') {
            t.Kind = TTok::String;
            t.Text = ReadStringPart(t);
        } else if (c == '{') {
            ReadBinary(t);
        } else {
            t.Kind = TTok::Symbol;
            t.Text = {FPos, 1};
            ++FPos;
        }
    }

    // [-]digits not followed by a letter, digit or '.', short enough not to
    // overflow: most numbers. False, reading nothing, for the rest.
    bool ReadPlainInteger(TToken& t) {
        const bool negative = *FPos == '-';
        const char* first = FPos + (negative ? 1 : 0);
        const char* p = first;
        std::uint64_t v = 0;
        while (IsDigit(*p))
            v = v * 10 + static_cast<std::uint64_t>(*p++ - '0');
        if (p - first > 18 || *p == '.' || IsIdentPart(*p)) return false;
        FPos = p;
        t.Kind = TTok::Integer;
        t.Hex = false;
        t.Int = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
        return true;
    }

    void SkipSpace() {
        const char* p = FPos;
        for (;;) {
            if constexpr (std::endian::native == std::endian::little) {
                // Runs of spaces (indentation) eight at a time: the text is
                // followed by eight NULs, so a word read never leaves it.
                std::uint64_t word = 0;
                std::memcpy(&word, p, sizeof word);
                const std::uint64_t other = word ^ 0x2020202020202020u;
                if (other == 0) {
                    p += 8;
                    continue;
                }
                p += std::countr_zero(other) / 8;
            }
            const char c = *p;
            if (c == '\n')
                ++FLine;
            else if ((CharClass(c) & ccBlank) == 0)
                break;
            ++p;
        }
        FPos = p;
    }

    // The end of a quoted run: the next quote or line end, or the text's end.
    const char* QuotedRunEnd(const char* p) const {
        for (;;) {
            while ((CharClass(*p) & ccQuoteStop) == 0)
                ++p;
            if (*p != '\0' || AtEnd(p)) return p;
            ++p; // a NUL inside the text
        }
    }

    void ReadNumber(TToken& t) {
        bool negative = false;
        if (*FPos == '-' || *FPos == '+') negative = *FPos++ == '-';
        t.Hex = false;
        if (*FPos == '$') {
            ++FPos;
            std::uint64_t v = 0;
            int digits = 0;
            while (!AtEnd(FPos) && HexDigit(*FPos) >= 0) {
                if (++digits > 16) Fail(FLine, "hexadecimal number too long");
                v = v * 16 + static_cast<std::uint64_t>(HexDigit(*FPos++));
            }
            if (digits == 0) Fail(FLine, "'$' without hexadecimal digits");
            t.Kind = TTok::Integer;
            t.Hex = true;
            t.Int = static_cast<std::int64_t>(negative ? (~v + 1) : v);
        } else {
            const char* first = FPos;
            const char* p = FPos;
            while (IsDigit(*p))
                ++p;
            bool isFloat = false;
            if (p[0] == '.' && IsDigit(p[1])) {
                isFloat = true;
                ++p;
                while (IsDigit(*p))
                    ++p;
            }
            if (*p == 'e' || *p == 'E') {
                const char* e = p + 1;
                if (*e == '+' || *e == '-') ++e;
                if (IsDigit(*e)) {
                    isFloat = true;
                    p = e;
                    while (IsDigit(*p))
                        ++p;
                }
            }
            const char* last = p;
            // A currency, single or date-time value: 0c, 1.5s, 45000d.
            if (IsFloatSuffix(*p) && !IsIdentPart(p[1])) {
                isFloat = true;
                ++p;
            }
            FPos = p;
            if (isFloat) {
                double f = 0;
                auto [ptr, ec] = std::from_chars(first, last, f);
                if (ec != std::errc() || ptr != last || !std::isfinite(f))
                    Fail(FLine, "bad number '" + String(first, last) + "'");
                t.Kind = TTok::Float;
                t.Float = negative ? -f : f;
            } else {
                std::uint64_t u = 0;
                auto [ptr, ec] = std::from_chars(first, last, u);
                const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
                if (ec != std::errc() || ptr != last || u > limit)
                    Fail(FLine, "number out of range '" + String(first, last) + "'");
                t.Kind = TTok::Integer;
                t.Int = negative ? static_cast<std::int64_t>(~u + 1) : static_cast<std::int64_t>(u);
            }
        }
        if (IsIdentPart(*FPos)) Fail(FLine, "bad number");
    }

    static bool IsFloatSuffix(char c) {
        return c == 'c' || c == 's' || c == 'd' || c == 'C' || c == 'S' || c == 'D';
    }

    // The code after '#': decimal digits, or '$' and hexadecimal ones.
    std::uint32_t ReadCharCode() {
        ++FPos; // '#'
        std::uint32_t v = 0;
        int digits = 0;
        if (*FPos == '$') {
            ++FPos;
            while (HexDigit(*FPos) >= 0 && digits < 7) {
                v = v * 16 + static_cast<std::uint32_t>(HexDigit(*FPos++));
                ++digits;
            }
        } else {
            while (IsDigit(*FPos) && digits < 8) {
                v = v * 10 + static_cast<std::uint32_t>(*FPos++ - '0');
                ++digits;
            }
        }
        if (digits == 0 || v > 0x10FFFF) Fail(FLine, "bad character code after '#'");
        return v;
    }

    // One run of quoted pieces and #nn characters, e.g. 'a'#13#10'b'. A
    // single quoted piece without '' is the file's own text; anything else is
    // put together in FBuffer.
    std::string_view ReadStringPart(TToken& t) {
        if (*FPos == '\'') {
            const char* start = FPos + 1;
            const char* end = QuotedRunEnd(start);
            if (*end == '\'' && end[1] != '\'' && end[1] != '#') {
                FPos = end + 1;
                return {start, static_cast<std::size_t>(end - start)};
            }
        }
        String& s = FBuffer;
        s.clear();
        t.Buffered = true;
        for (;;) {
            if (*FPos == '\'') {
                ++FPos;
                for (;;) {
                    const char* start = FPos;
                    FPos = QuotedRunEnd(FPos);
                    s.append(start, FPos);
                    if (*FPos != '\'') Fail(FLine, "unterminated string");
                    ++FPos;
                    if (*FPos != '\'') break;
                    s += '\''; // '' inside the quotes
                    ++FPos;
                }
            } else if (*FPos == '#') {
                std::uint32_t v = ReadCharCode();
                if (v >= 0xDC00 && v <= 0xDFFF) Fail(FLine, "a low UTF-16 half without a high one before it");
                if (v >= 0xD800 && v <= 0xDBFF) {
                    // Characters beyond U+FFFF, as UTF-16 writes them: two halves.
                    const std::uint32_t low = *FPos == '#' ? ReadCharCode() : 0;
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail(FLine, "a high UTF-16 half without a low one after it");
                    v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(s, v);
            } else {
                break;
            }
        }
        return s;
    }

    [[gnu::noinline]] void ReadBinary(TToken& t) {
        const int startLine = FLine;
        ++FPos;
        t.Kind = TTok::Binary;
        t.Buffered = true;
        String& bytes = FBuffer;
        bytes.clear();
        int high = -1;
        for (;;) {
            // Pairs of digits, as the lines are written, a byte at a time (the
            // NUL after the text is no digit).
            if (high < 0) {
                for (;;) {
                    const unsigned h = HexValues[static_cast<unsigned char>(FPos[0])];
                    if (h > 15) break;
                    const unsigned l = HexValues[static_cast<unsigned char>(FPos[1])];
                    if (l > 15) break;
                    bytes += static_cast<char>(h * 16 + l);
                    FPos += 2;
                }
            }
            if (AtEnd(FPos)) Fail(startLine, "unterminated binary value");
            const char c = *FPos++;
            if (c == '}') break;
            if (c == '\n') {
                ++FLine;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r') continue;
            const int d = HexDigit(c);
            if (d < 0) Fail(FLine, "bad character in binary value");
            if (high < 0) {
                high = d;
            } else {
                bytes += static_cast<char>(high * 16 + d);
                high = -1;
            }
        }
        if (high >= 0) Fail(FLine, "odd number of hexadecimal digits in binary value");
        t.Text = bytes;
    }

    const char* FPos;
    const char* FEnd;
    int FLine = 1;
    String FBuffer; // the text of the current token when it is not the file's
};

// The text a tree views and the blocks its nodes and made-up strings are
// kept in. Nodes are copied in once, at their final size, and never freed one
// by one: the whole store goes with the tree.
class TFormStore {
public:
    // text is best made with room for TextPadding more bytes.
    explicit TFormStore(String text) : FText(std::move(text)), FSize(FText.size()) {
        FText.append(TextPadding, '\0');
    }
    TFormStore(const TFormStore&) = delete;
    TFormStore& operator=(const TFormStore&) = delete;

    // The text, followed by TextPadding NULs.
    std::string_view Text() const { return {FText.data(), FSize}; }

    // Moves items [from, end) of a scratch stack into the store, leaving the
    // stack as it was before them.
    template <typename T>
    std::span<const T> KeepRun(std::vector<T>& stack, std::size_t from) {
        static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
        const std::size_t n = stack.size() - from;
        if (n == 0) return {};
        T* kept = static_cast<T*>(Allocate(n * sizeof(T), alignof(T)));
        std::memcpy(static_cast<void*>(kept), stack.data() + from, n * sizeof(T));
        stack.resize(from);
        return {kept, n};
    }

    template <typename T>
    const T* KeepNode(const T& node) {
        static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
        T* kept = static_cast<T*>(Allocate(sizeof(T), alignof(T)));
        std::memcpy(static_cast<void*>(kept), &node, sizeof(T));
        return kept;
    }

    std::string_view KeepText(std::string_view s) {
        if (s.empty()) return {};
        char* kept = static_cast<char*>(Allocate(s.size(), 1));
        std::memcpy(kept, s.data(), s.size());
        return {kept, s.size()};
    }

private:
    // Blocks stay below the allocator's threshold for mapping memory afresh
    // from the system (and giving it back) on every allocation.
    static constexpr std::size_t BlockSize = 60 * 1024;

    void* Allocate(std::size_t bytes, std::size_t align) {
        std::size_t pad = (align - reinterpret_cast<std::uintptr_t>(FFree) % align) % align;
        if (FFree == nullptr || pad + bytes > FLeft) {
            // The first block fits a small file's tree; a run larger than a
            // quarter block gets a block of its own.
            const std::size_t size = bytes > BlockSize / 4 ? bytes
                                     : FBlocks.empty() ? std::clamp<std::size_t>(FSize * 2, 1024, BlockSize)
                                                       : BlockSize;
            FBlocks.push_back(std::make_unique_for_overwrite<std::byte[]>(std::max(size, bytes)));
            std::byte* block = FBlocks.back().get(); // aligned for any node
            if (bytes > BlockSize / 4) return block;
            FFree = block;
            FLeft = std::max(size, bytes);
            pad = 0;
        }
        void* at = FFree + pad;
        FFree += pad + bytes;
        FLeft -= pad + bytes;
        return at;
    }

    String FText;
    std::size_t FSize;
    std::vector<std::unique_ptr<std::byte[]>> FBlocks;
    std::byte* FFree = nullptr;
    std::size_t FLeft = 0;
};

// Whether s is the keyword, in any case; keywords are lower-case ASCII.
bool IsKeyword(std::string_view s, std::string_view keyword) {
    if (s.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((s[i] | 0x20) != keyword[i]) return false;
    return true;
}

class TParser {
public:
    explicit TParser(TFormStore& store) : FStore(store), FLexer(store.Text()) { Advance(); }

    TFormObject ParseFile() {
        if (FTok.Kind == TTok::End) Fail(FTok.Line, "empty form file");
        if (!IsObjectStart()) Fail(FTok.Line, "expected 'object', 'inherited' or 'inline'");
        TFormObject root = ParseObject(0);
        if (FTok.Kind != TTok::End) Fail(FTok.Line, "text after the end of the form");
        return root;
    }

    TFormValue ParseLoneValue() {
        TFormValue v;
        ParseValue(v, 0);
        if (FTok.Kind != TTok::End) Fail(FTok.Line, "text after the value");
        return v;
    }

private:
    void Advance() { FLexer.Next(FTok); }

    bool IsSymbol(char c) const { return FTok.Kind == TTok::Symbol && FTok.Text[0] == c; }

    bool IsObjectStart() const {
        return FTok.Kind == TTok::Ident &&
               (IsKeyword(FTok.Text, "object") || IsKeyword(FTok.Text, "inherited") ||
                IsKeyword(FTok.Text, "inline"));
    }

    bool IsEnd() const { return FTok.Kind == TTok::Ident && IsKeyword(FTok.Text, "end"); }

    std::string_view ExpectIdent(const char* what) {
        if (FTok.Kind != TTok::Ident) Fail(FTok.Line, String("expected ") + what);
        const std::string_view s = FTok.Text;
        Advance();
        return s;
    }

    // The current token's text, kept: the file's own text is viewed, text
    // the lexer put together is copied into the store.
    std::string_view TokenText() const { return FTok.Buffered ? FStore.KeepText(FTok.Text) : FTok.Text; }

    // name(.name)*: a view of the file when written without blanks, as it
    // nearly always is.
    std::string_view ExpectDottedName(std::string_view first, const char* what) {
        std::string_view name = first;
        bool joined = false;
        while (IsSymbol('.')) {
            Advance();
            const std::string_view next = ExpectIdent(what);
            if (!joined && next.data() == name.data() + name.size() + 1) {
                name = {name.data(), name.size() + 1 + next.size()};
                continue;
            }
            if (!joined) FJoined.assign(name);
            joined = true;
            FJoined += '.';
            FJoined += next;
        }
        return joined ? FStore.KeepText(FJoined) : name;
    }

    TFormObject ParseObject(int depth) {
        if (depth > MaxNesting) Fail(FTok.Line, "objects nested too deeply");
        TFormObject obj;
        obj.Line = FTok.Line;
        if (IsKeyword(FTok.Text, "inherited"))
            obj.Kind = TFormObjectKind::Inherited;
        else if (IsKeyword(FTok.Text, "inline"))
            obj.Kind = TFormObjectKind::Inline;
        Advance(); // 'object', 'inherited' or 'inline'
        const std::string_view first = ExpectIdent("an object name or class");
        if (IsSymbol(':')) {
            Advance();
            obj.Name = first;
            obj.ClassName = ExpectIdent("a class name after ':'");
        } else {
            obj.ClassName = first;
        }
        if (IsSymbol('[')) {
            Advance();
            if (FTok.Kind != TTok::Integer || FTok.Int < 0 || FTok.Int > 0x7FFFFFFF)
                Fail(FTok.Line, "expected a creation index in '[ ]'");
            obj.Index = static_cast<int>(FTok.Int);
            Advance();
            if (!IsSymbol(']')) Fail(FTok.Line, "expected ']' after the creation index");
            Advance();
        }
        // Props and children gather on the scratch stacks above what the
        // enclosing objects have there so far.
        const std::size_t props = FProps.size();
        const std::size_t children = FObjects.size();
        for (;;) {
            if (FTok.Kind == TTok::End)
                Fail(FTok.Line, "end of file inside object '" +
                                    String(obj.Name.empty() ? obj.ClassName : obj.Name) + "' begun on line " +
                                    std::to_string(obj.Line));
            if (FTok.Kind != TTok::Ident) Fail(FTok.Line, "expected a property name, 'object' or 'end'");
            if (IsKeyword(FTok.Text, "end")) {
                Advance();
                break;
            }
            if (IsObjectStart()) {
                const TFormObject child = ParseObject(depth + 1);
                FObjects.push_back(child);
                continue;
            }
            ParseProp(depth);
        }
        obj.Props = FStore.KeepRun(FProps, props);
        obj.Children = FStore.KeepRun(FObjects, children);
        return obj;
    }

    // One prop, onto the props' stack.
    void ParseProp(int depth) {
        const int line = FTok.Line;
        const std::string_view path =
            ExpectDottedName(ExpectIdent("a property name"), "a property name after '.'");
        if (!IsSymbol('=')) Fail(FTok.Line, "expected '=' after '" + String(path) + "'");
        Advance();
        if (OpensNodes()) {
            TFormValue value;
            ParseValue(value, depth);
            FProps.push_back({path, line, value});
            return;
        }
        TFormProp& prop = FProps.emplace_back();
        prop.Path = path;
        prop.Line = line;
        ParseValue(prop.Value, depth);
    }

    // A list or collection: the values or props it holds go on the stacks first.
    bool OpensNodes() const { return IsSymbol('(') || IsSymbol('<'); }

    // One collection item: its properties up to 'end'.
    TFormObject ParseItem(int depth) {
        if (depth > MaxNesting) Fail(FTok.Line, "values nested too deeply");
        TFormObject item;
        item.Line = FTok.Line;
        Advance(); // 'item'
        const std::size_t props = FProps.size();
        for (;;) {
            if (FTok.Kind == TTok::End)
                Fail(FTok.Line, "end of file inside the item begun on line " + std::to_string(item.Line));
            if (FTok.Kind != TTok::Ident) Fail(FTok.Line, "expected a property name or 'end'");
            if (IsKeyword(FTok.Text, "end")) {
                Advance();
                break;
            }
            ParseProp(depth);
        }
        item.Props = FStore.KeepRun(FProps, props);
        return item;
    }

    // Into v, made empty by its caller, in place: a value is large, and
    // copying it about was a good part of parsing. A list or a collection
    // pushes values or props of its own on the scratch stacks, so v must not
    // be one of theirs then.
    void ParseValue(TFormValue& v, int depth) {
        if (depth > MaxNesting) Fail(FTok.Line, "values nested too deeply");
        const int line = FTok.Line;
        switch (FTok.Kind) {
        case TTok::Integer:
            v.Kind = TFormValueKind::Integer;
            v.Int = FTok.Int;
            v.Hex = FTok.Hex;
            Advance();
            return;
        case TTok::Float:
            v.Kind = TFormValueKind::Float;
            v.Float = FTok.Float;
            Advance();
            return;
        case TTok::String:
            v.Kind = TFormValueKind::String;
            v.Text = TokenText();
            Advance();
            // 'long text ' + 'continued'
            if (IsSymbol('+')) {
                FJoined.assign(v.Text);
                while (IsSymbol('+')) {
                    Advance();
                    if (FTok.Kind != TTok::String) Fail(FTok.Line, "expected a string after '+'");
                    FJoined += FTok.Text;
                    Advance();
                }
                v.Text = FStore.KeepText(FJoined);
            }
            return;
        case TTok::Binary:
            v.Kind = TFormValueKind::Binary;
            v.Text = TokenText();
            Advance();
            return;
        case TTok::Ident: {
            v.Kind = TFormValueKind::Ident;
            const std::string_view first = FTok.Text;
            Advance();
            v.Text = ExpectDottedName(first, "a name after '.'");
            return;
        }
        case TTok::Symbol:
            if (IsSymbol('-')) {
                // -Inf: the one float that is not spelt as a number.
                Advance();
                if (FTok.Kind != TTok::Ident || !SameText(FTok.Text, "inf"))
                    Fail(line, "expected a number after '-'");
                Advance();
                v.Kind = TFormValueKind::Float;
                v.Float = -std::numeric_limits<double>::infinity();
                return;
            }
            if (IsSymbol('(')) {
                // ( 'a' 'b' ), ( 1 2 ), ( ), nested lists
                v.Kind = TFormValueKind::List;
                Advance();
                const std::size_t items = FValues.size();
                while (!IsSymbol(')')) {
                    if (FTok.Kind == TTok::End) Fail(line, "end of file inside a list");
                    if (OpensNodes()) {
                        TFormValue item;
                        ParseValue(item, depth + 1);
                        FValues.push_back(item);
                    } else {
                        ParseValue(FValues.emplace_back(), depth + 1);
                    }
                }
                Advance();
                v.List = FStore.KeepRun(FValues, items);
                return;
            }
            if (IsSymbol('<')) {
                // < item Name = value ... end ... >
                v.Kind = TFormValueKind::Collection;
                Advance();
                const std::size_t entries = FObjects.size();
                while (!IsSymbol('>')) {
                    if (FTok.Kind != TTok::Ident || !IsKeyword(FTok.Text, "item"))
                        Fail(FTok.Line, "expected 'item' or '>' in the collection");
                    const TFormObject item = ParseItem(depth + 1);
                    FObjects.push_back(item);
                }
                Advance();
                v.Entries = FStore.KeepRun(FObjects, entries);
                return;
            }
            if (IsSymbol('[')) {
                v.Kind = TFormValueKind::Set;
                Advance();
                const std::size_t items = FIdents.size();
                if (!IsSymbol(']')) {
                    for (;;) {
                        FIdents.push_back(ExpectIdent("an identifier in the set"));
                        if (IsSymbol(']')) break;
                        if (!IsSymbol(',')) Fail(FTok.Line, "expected ',' or ']' in the set");
                        Advance();
                    }
                }
                Advance();
                v.Items = FStore.KeepRun(FIdents, items);
                return;
            }
            Fail(line, "unexpected '" + String(FTok.Text) + "' where a value belongs");
        case TTok::End:
            break;
        }
        Fail(line, "missing value");
    }

    TFormStore& FStore;
    TLexer FLexer;
    TToken FTok;
    // Scratch stacks: the nodes of the objects, items and values being
    // parsed, innermost last, until each is complete and kept at its size.
    std::vector<TFormProp> FProps;
    std::vector<TFormObject> FObjects; // children and collection items
    std::vector<TFormValue> FValues;
    std::vector<std::string_view> FIdents;
    String FJoined; // a dotted name or string put together from pieces
};

} // namespace

namespace {

// The code page of each font charset that names one (the Windows numbers);
// the default, symbol, OEM and Macintosh charsets name none.
struct TCharsetCodePage {
    const char* Name;
    int Charset;
    int CodePage;
};
const TCharsetCodePage CharsetCodePages[] = {
    {"ANSI_CHARSET", 0, 1252},         {"SHIFTJIS_CHARSET", 128, 932}, {"HANGEUL_CHARSET", 129, 949},
    {"HANGUL_CHARSET", 129, 949},      {"JOHAB_CHARSET", 130, 1361},   {"GB2312_CHARSET", 134, 936},
    {"CHINESEBIG5_CHARSET", 136, 950}, {"GREEK_CHARSET", 161, 1253},   {"TURKISH_CHARSET", 162, 1254},
    {"VIETNAMESE_CHARSET", 163, 1258}, {"HEBREW_CHARSET", 177, 1255},  {"ARABIC_CHARSET", 178, 1256},
    {"BALTIC_CHARSET", 186, 1257},     {"RUSSIAN_CHARSET", 204, 1251}, {"THAI_CHARSET", 222, 874},
    {"EASTEUROPE_CHARSET", 238, 1250},
};

int CharsetCodePage(std::string_view value) {
    const bool number = !value.empty() && std::all_of(value.begin(), value.end(), IsDigit);
    for (const TCharsetCodePage& c : CharsetCodePages) {
        if (number ? value == std::to_string(c.Charset) : SameText(value, c.Name))
            return c.CodePage;
    }
    return 0;
}

bool EndsWithKeyword(std::string_view s, const char* keyword) {
    const std::size_t n = std::strlen(keyword);
    return s.size() >= n && SameText(s.substr(s.size() - n), keyword);
}

// The code page the file's `...Font.Charset = X` lines name, 0 for none.
// Looked for line by line in the raw bytes: the names and values are ASCII
// in every code page, and the decision must come before the text is decoded.
int DeclaredCodePage(std::string_view text) {
    int western = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        std::size_t i = line.find_first_not_of(" \t");
        if (i == std::string_view::npos) continue;
        const std::size_t pathStart = i;
        while (i < line.size() && (IsIdentPart(line[i]) || line[i] == '.'))
            ++i;
        const std::string_view path = line.substr(pathStart, i - pathStart);
        if (!EndsWithKeyword(path, "font.charset")) continue;
        i = line.find_first_not_of(" \t", i);
        if (i == std::string_view::npos || line[i] != '=') continue;
        i = line.find_first_not_of(" \t", i + 1);
        if (i == std::string_view::npos) continue;
        std::size_t valueEnd = i;
        while (valueEnd < line.size() && IsIdentPart(line[valueEnd]))
            ++valueEnd;
        const int codePage = CharsetCodePage(line.substr(i, valueEnd - i));
        if (codePage == 1252)
            western = codePage;
        else if (codePage != 0 && IsKnownCodePage(codePage))
            return codePage;
    }
    return western;
}

int& DefaultCodePage() {
    static int codePage = 1252; // a deliberate process-wide setting, like the locale
    return codePage;
}

std::string_view WithoutBom(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

} // namespace

int FormTextCodePage(const String& text) {
    if (IsValidUtf8(WithoutBom(text))) return 65001;
    const int declared = DeclaredCodePage(text);
    return declared != 0 ? declared : DefaultCodePage();
}

int FormFileCodePage() {
    return DefaultCodePage();
}

void SetFormFileCodePage(int codePage) {
    if (!IsKnownCodePage(codePage))
        throw EConvertError("code page " + std::to_string(codePage) + " cannot be converted here");
    DefaultCodePage() = codePage;
}

TFormParsed<TFormObject> ParseFormText(const String& text) {
    // A byte-order mark is dropped; UTF-8 is never decoded again.
    const std::string_view body = WithoutBom(text);
    String bytes;
    bytes.reserve(body.size() + TextPadding);
    bytes.assign(body);
    if (!IsValidUtf8(bytes)) bytes = CodePageToUtf8(bytes, FormTextCodePage(bytes));
    auto store = std::make_shared<TFormStore>(std::move(bytes));
    const auto* root = store->KeepNode(TParser(*store).ParseFile());
    return {std::move(store), root};
}

TFormParsed<TFormValue> ParseFormValue(const String& text) {
    auto store = std::make_shared<TFormStore>(text);
    const auto* value = store->KeepNode(TParser(*store).ParseLoneValue());
    return {std::move(store), value};
}

String QuoteFormString(const String& text) {
    const String s = ToUtf8(text);
    String out;
    bool inQuotes = false;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c == 127) {
            if (inQuotes) {
                out += '\'';
                inQuotes = false;
            }
            out += '#';
            out += std::to_string(c);
        } else {
            if (!inQuotes) {
                out += '\'';
                inQuotes = true;
            }
            if (ch == '\'') out += '\'';
            out += ch;
        }
    }
    if (inQuotes) out += '\'';
    if (out.empty()) out = "''";
    return out;
}

String FormatFormStrings(const std::vector<String>& items, const String& indent) {
    String out = "(";
    for (const String& item : items)
        out += "\n" + indent + "  " + QuoteFormString(item);
    return out + ")";
}

String FormatFormFloat(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    if (value == 0 && std::signbit(value)) return "-0.0"; // "-0" would read as the integer 0
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "0.0";
    String out(buf, ptr);
    // 1.0 and 2^64 are written as floats, not as integers.
    if (out.find_first_of(".e") == String::npos) out += ".0";
    return out;
}

} // namespace fw
