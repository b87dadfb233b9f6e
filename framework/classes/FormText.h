#pragma once
// The syntax of text form files: a parse tree, the parser, and the spelling
// of strings and numbers. The reader and writer give it meaning.

#include <cstdint>
#include <framework/rtl/Types.h>
#include <vector>

namespace fw {

enum class TFormValueKind { Integer, Float, String, Ident, Set, Binary, List, Collection };

struct TFormObject;

struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Integer;
    std::int64_t Int = 0;
    bool Hex = false; // an integer written with '$'
    double Float = 0;
    String Text;                  // String: the text; Ident: the (possibly dotted) name; Binary: the bytes
    std::vector<String> Items;    // Set: the identifiers
    std::vector<TFormValue> List; // List: ( 'a' 'b' ), ( 1 2 ), nested lists
    std::vector<TFormObject> Entries; // Collection: < item ... end >, each with Props only
};

struct TFormProp {
    String Path; // "Font.Height"
    TFormValue Value;
    int Line = 0;
};

// `object` makes a component; `inherited` changes one an ancestor's file
// made; `inline` makes a frame, which reads its own resource first.
enum class TFormObjectKind { Object, Inherited, Inline };

struct TFormObject {
    TFormObjectKind Kind = TFormObjectKind::Object;
    String Name; // may be empty
    String ClassName;
    int Index = -1; // the creation-order index `[n]` of the header, if any
    int Line = 0;
    std::vector<TFormProp> Props;
    std::vector<TFormObject> Children;
};

// Parses a whole form file. Raises EReadError "line N: ..." on bad syntax,
// including a file that ends inside an object. The text is UTF-8; a file
// that is not valid UTF-8 is converted from the code page FormTextCodePage
// gives. `#nnn` is the character of code point nnn, in UTF-8, whatever the
// code page; a high and a low UTF-16 half in a row (#55357#56832) make one.
TFormObject ParseFormText(const String& text);

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
TFormValue ParseFormValue(const String& text);

// 'It''s'#13#10'ok': control characters as # and their code, other characters as they
// are in UTF-8; bytes that are not UTF-8 are taken as Windows-1252.
String QuoteFormString(const String& s);
// A ( 'a' 'b' ) list, one string a line after the head, at the indent.
String FormatFormStrings(const std::vector<String>& items, const String& indent);

// The shortest text that reads back as the same double, always with a
// decimal point or an exponent, so it reads back as a float ("1.0").
String FormatFormFloat(double value);

} // namespace fw
