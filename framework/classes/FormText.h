#pragma once
// The syntax of text form files: a parse tree, the parser, and the spelling
// of strings and numbers. The reader and writer give it meaning.

#include <cstdint>
#include <framework/rtl/Types.h>
#include <vector>

namespace fw {

enum class TFormValueKind { Integer, Float, String, Ident, Set, Binary };

struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Integer;
    std::int64_t Int = 0;
    bool Hex = false; // an integer written with '$'
    double Float = 0;
    String Text;               // String: the text; Ident: the (possibly dotted) name; Binary: the bytes
    std::vector<String> Items; // Set: the identifiers
};

struct TFormProp {
    String Path; // "Font.Height"
    TFormValue Value;
    int Line = 0;
};

struct TFormObject {
    String Name; // may be empty
    String ClassName;
    int Line = 0;
    std::vector<TFormProp> Props;
    std::vector<TFormObject> Children;
};

// Parses a whole form file. Raises EReadError "line N: ..." on bad syntax,
// including a file that ends inside an object.
TFormObject ParseFormText(const String& text);
// Parses one value as it appears right of '=' (for setting properties by text).
TFormValue ParseFormValue(const String& text);

// 'It''s'#13#10'ok'
String QuoteFormString(const String& s);
// The shortest text that reads back as the same double.
String FormatFormFloat(double value);

} // namespace fw
