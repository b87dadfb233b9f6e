#pragma once
// Conversions between integers and text, and ASCII case mapping.

#include <cstdint>
#include <framework/rtl/Types.h>
#include <string_view>

namespace fw {

// The decimal integer in S: optional leading spaces, an optional '+' or '-',
// then one or more digits and nothing else. Values outside the 32-bit signed
// range, an empty text and any other character (trailing blanks included) raise
// EConvertError with the message "'S' is not a valid integer value".
int StrToInt(std::string_view S);

// As StrToInt, but reports bad text by returning false and leaves Value untouched.
bool TryStrToInt(std::string_view S, int& Value);

// The decimal text of Value, with a '-' for negative values.
String IntToStr(int Value);
String IntToStr(std::int64_t Value);

// Maps 'A'-'Z' to 'a'-'z' (LowerCase) or back (UpperCase); other bytes unchanged.
String LowerCase(std::string_view S);
String UpperCase(std::string_view S);

// Whether A and B are the same text but for the case of 'A'-'Z' (names,
// identifiers, captions); other bytes must match exactly.
bool SameText(std::string_view A, std::string_view B);

} // namespace fw
