#pragma once
// The syntax of text form files: a parse tree, the parser, and the spelling
// of strings and numbers. The reader and writer give it meaning.

#include <cstdint>
#include <framework/rtl/Types.h>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace fw {

enum class TFormValueKind { Integer, Float, String, Ident, Set, Binary, List, Collection };

struct TFormObject;

// The parse tree's nodes are plain values: their text views the file, and
// their lists are runs of nodes, all kept by the TFormParsed the parser
// returns. A node (or a copy of it) is valid while that is alive.
struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Integer;
    bool Hex = false; // an integer written with '$'
    std::int64_t Int = 0;
    double Float = 0;
    std::string_view Text; // String: the text; Ident: the (possibly dotted) name; Binary: the bytes
    std::span<const std::string_view> Items; // Set: the identifiers
    std::span<const TFormValue> List;        // List: ( 'a' 'b' ), ( 1 2 ), nested lists
    std::span<const TFormObject> Entries;    // Collection: < item ... end >, each with Props only
};

struct TFormProp {
    std::string_view Path; // "Font.Height"
    int Line = 0;
    TFormValue Value;
};

// `object` makes a component; `inherited` changes one an ancestor's file
// made; `inline` makes a frame, which reads its own resource first.
enum class TFormObjectKind { Object, Inherited, Inline };

struct TFormObject {
    TFormObjectKind Kind = TFormObjectKind::Object;
    int Index = -1; // the creation-order index `[n]` of the header, if any
    int Line = 0;
    std::string_view Name; // may be empty
    std::string_view ClassName;
    std::span<const TFormProp> Props;
    std::span<const TFormObject> Children;
};

// What the parser returns: the top node, with the text and the storage its
// nodes view. Copies share them; the last one to go frees them.
template <typename TNode>
class TFormParsed {
public:
    TFormParsed(std::shared_ptr<const void> store, const TNode* node)
        : FStore(std::move(store)), FNode(node) {}

    const TNode& operator*() const { return *FNode; }
    const TNode* operator->() const { return FNode; }

private:
    std::shared_ptr<const void> FStore;
    const TNode* FNode;
};

// Parses a whole form file. Raises EReadError "line N: ..." on bad syntax,
// including a file that ends inside an object. The text is UTF-8; a file
// that is not valid UTF-8 is converted from the code page FormTextCodePage
// gives. `#nnn` is the character of code point nnn, in UTF-8, whatever the
// code page; a high and a low UTF-16 half in a row (#55357#56832) make one.
// The tree keeps its own copy of the text.
TFormParsed<TFormObject> ParseFormText(const String& text);

// The code page a form file's text is in: 65001 for UTF-8; otherwise the one
// its `Font.Charset` lines name (the first that names another than Western;
// Western when that is all they name), or FormFileCodePage when they name
// none.
int FormTextCodePage(const String& text);
// The code page of files that are not UTF-8 and declare none; Windows-1252
// unless a program names another. Raises EConvertError for a code page
// that cannot be converted here.
int FormFileCodePage();
void SetFormFileCodePage(int codePage);
// Parses one value as it appears right of '=' (for setting properties by text).
TFormParsed<TFormValue> ParseFormValue(const String& text);

// 'It''s'#13#10'ok': control characters as # and their code, other characters as they
// are in UTF-8; bytes that are not UTF-8 are taken as Windows-1252.
String QuoteFormString(const String& s);
// A ( 'a' 'b' ) list, one string a line after the head, at the indent.
String FormatFormStrings(const std::vector<String>& items, const String& indent);

// The shortest text that reads back as the same double, always with a
// decimal point or an exponent, so it reads back as a float ("1.0").
String FormatFormFloat(double value);

} // namespace fw
